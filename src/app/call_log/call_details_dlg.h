#pragma once
// TCallDetailsDlg: one call log record shown whole, captioned "Call Log Details", or
// "Delete Call Log Record" with the question whether to delete it.

#include "core/call_log/call_log_form.h"

#include <QDialog>

class QLabel;

namespace tessaly {

class TCallDetailsDlg : public QDialog {
    Q_OBJECT
public:
    TCallDetailsDlg(const QString& entryName, const TLogDetails& details, bool deleting,
                    QWidget* parent = nullptr);

    QLabel* Field(const QString& name) const;
};

} // namespace tessaly
