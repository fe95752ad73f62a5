#pragma once
// The category dialog: a name and "Default" (new entries join the category). OK asks
// the caller's check and stays open with the focus in the name box on a refusal.

#include "core/common/dialog_message.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;

namespace tessaly {

class TCategoryDlg : public QDialog {
    Q_OBJECT
public:
    using TCheck =
        std::function<std::optional<TDialogMessage>(const QString& name, bool isDefault)>;
    TCategoryDlg(const QString& caption, const QString& name, bool isDefault, TCheck check,
                 QWidget* parent = nullptr);

    void accept() override;

private:
    TCheck check_;
    QLineEdit* name_ = nullptr;
    QCheckBox* default_ = nullptr;
};

} // namespace tessaly
