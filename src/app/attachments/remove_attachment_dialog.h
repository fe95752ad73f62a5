#pragma once
// "Remove Attachment": the attachment's description and file name or URL, and for a
// document the choice between removing the association only and deleting the file too.

#include "core/store/document.h"

#include <QDialog>

class QLabel;
class QRadioButton;

namespace tessaly {

class TRemoveAttachmentDlg : public QDialog {
    Q_OBJECT
public:
    explicit TRemoveAttachmentDlg(const TDocument& attachment, QWidget* parent = nullptr);
    // After OK: whether the disk file is to be deleted as well.
    bool DeleteDiskFile() const;

private:
    QRadioButton* associationOnly_ = nullptr;
    QRadioButton* withFile_ = nullptr;
    QLabel* care_ = nullptr;
};

} // namespace tessaly
