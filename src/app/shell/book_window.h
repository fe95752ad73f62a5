#pragma once
// The address book window in its first, simple form: it loads or creates the book,
// decides whether it runs locked, shows the book's title and entry count, saves at
// close and re-reads a locked book whose file changed. The entry list and pages come
// with the full book window.

#include "shell/child_window.h"
#include "store/book.h"

#include <QDateTime>
#include <memory>

class QLabel;

namespace tessaly {

class TBook : public TChildWindow {
    Q_OBJECT
public:
    // Loads (mustExist) or creates the book; Book() is null when that failed, after the
    // reason was shown.
    TBook(TMainForm& frame, const QString& path, bool mustExist, bool readOnly);
    ~TBook() override;

    TBookData* Book() const { return book_.get(); }
    bool ReadOnly() const { return readOnly_; }
    // Writes the book (nothing when read-only); a failed write locks the window.
    bool Save(bool closing);

    bool RunCommand(const QString& hint) override;
    void Synchronise() override;
    void Activated() override { UpdateStatus(); }

protected:
    void CloseFile() override;

private:
    void ApplyLockState(bool requestedReadOnly);
    void ShowBook();
    void UpdateStatus();

    std::unique_ptr<TBookData> book_;
    bool readOnly_ = false;
    QDateTime fileTime_;
    QLabel* title_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* path_ = nullptr;
};

} // namespace tessaly
