#pragma once
// "Add Attachment to Entry" (and, editing, "Edit Attachment Details"): a document on
// the "&Document" page or a URL on the "Internet &URL" page, each with a description
// that may follow the file name or URL.

#include "core/settings/document_settings.h"
#include "core/store/document.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace tessaly {

class IDesktop;
class TSettingsAccess;

class TAttachmentDlg : public QDialog {
    Q_OBJECT
public:
    // `editing` fills the page of its kind and hides the check boxes; null adds.
    TAttachmentDlg(TSettingsAccess& settings, IDesktop& desktop, const TDocument* editing,
                   QWidget* parent = nullptr);

    // After OK: the attachment as entered, trimmed.
    TDocument Result() const;

    void accept() override;

private:
    bool IsDocumentPage() const;
    void FollowFileName();
    void FollowUrl();
    void Browse();

    TSettingsAccess& settings_;
    IDesktop& desktop_;
    TDocumentSettings remembered_;
    bool editing_ = false;
    QTabWidget* pages_ = nullptr;
    QLineEdit* docDescription_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    QCheckBox* useFileName_ = nullptr;
    QLineEdit* urlDescription_ = nullptr;
    QLineEdit* url_ = nullptr;
    QCheckBox* useUrl_ = nullptr;
};

} // namespace tessaly
