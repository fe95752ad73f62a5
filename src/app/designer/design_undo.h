#pragma once
// A designer edit on the undo stack. The edit is already on the page when it is
// pushed, so the first redo only tells the window; later redos and undos set the
// objects' states by identity. The steps of one mouse drag merge into one entry.

#include "core/designer/designer_page.h"

#include <QUndoCommand>
#include <functional>

namespace tessaly {

class TDesignUndo : public QUndoCommand {
public:
    TDesignUndo(TDesignerPage& design, TDesignCommand command, std::function<void()> changed);

    void undo() override;
    void redo() override;
    // Drag steps share one id so that the stack offers them for merging.
    int id() const override { return command_.DragId ? kDragId : -1; }
    bool mergeWith(const QUndoCommand* other) override;

    const TDesignCommand& Command() const { return command_; }

private:
    static constexpr int kDragId = 1;
    TDesignerPage& design_;
    TDesignCommand command_;
    std::function<void()> changed_;
    bool applied_ = true;
};

} // namespace tessaly
