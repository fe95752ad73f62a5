#pragma once
// "Attachment Properties": what a file manager shows of a document (name, folder, size,
// type, modified time, read-only and hidden marks, the application that opens it) or
// the parts of a URL with the browser that opens it.

#include "core/common/date_format.h"
#include "core/store/document.h"

#include <QDialog>
#include <string>

namespace tessaly {

class IDesktop;

class TAttachmentPropertiesDlg : public QDialog {
    Q_OBJECT
public:
    TAttachmentPropertiesDlg(const TDocument& attachment, const IDesktop& desktop,
                             const std::string& browserPath, const TFormatSettings& formats,
                             QWidget* parent = nullptr);
};

} // namespace tessaly
