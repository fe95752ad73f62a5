#include "app/designer/design_undo.h"

#include "platform/qt_text.h"

namespace tessaly {

TDesignUndo::TDesignUndo(TDesignerPage& design, TDesignCommand command,
                         std::function<void()> changed)
    : design_(design), command_(std::move(command)), changed_(std::move(changed)) {
    setText(ToQString(EditCaption(command_.Kind)));
}

void TDesignUndo::undo() {
    design_.Undo(command_);
    changed_();
}

void TDesignUndo::redo() {
    if (applied_)
        applied_ = false;
    else
        design_.Redo(command_);
    changed_();
}

bool TDesignUndo::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const TDesignUndo*>(other);
    if (!next || !command_.MergeWith(next->command_))
        return false;
    // A drag that ended where it began leaves nothing to undo.
    setObsolete(!command_.Changes());
    return true;
}

} // namespace tessaly
