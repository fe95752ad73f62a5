#pragma once
// "Return Address Property Editor" of the Tools menu: the layout list's return address,
// the text every return address object prints, one line per line of the memo.

#include "core/common/text.h"

#include <QDialog>

class QPlainTextEdit;

namespace tessaly {

// A memo holding a stored return address (CR LF lines), limited to what the list keeps.
QPlainTextEdit* ReturnAddressMemo(const Text& stored);
// Puts the memo's text into `stored` in the list's form; true when it changed.
bool KeepReturnAddress(const QPlainTextEdit* memo, Text& stored);

class TReturnAddressDlg : public QDialog {
    Q_OBJECT
public:
    TReturnAddressDlg(QWidget* parent, const Text& stored);
    // Puts the text into `stored`; true when it changed.
    bool Commit(Text& stored) const;

private:
    QPlainTextEdit* memo_ = nullptr;
};

} // namespace tessaly
