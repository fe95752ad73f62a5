#pragma once
// "Add a New Address Template" (also to edit one): the name, the seven field captions
// with their shown boxes, the address format, the four telephone buttons (each click
// cycles none, dial, mail), "Include for New Entries", "Base New Templates on this
// Template" and "&Default" (back to the values new templates start with). OK asks the
// caller's check; leaving the freeform format of an existing template asks first.

#include "core/common/dialog_message.h"
#include "core/store/template.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tessaly {

class TTemplateDlg : public QDialog {
    Q_OBJECT
public:
    using TStore = std::function<std::optional<TDialogMessage>(const TTemplateValues&, bool base)>;
    // `existing` with the values of the template edited; `defaults` for "&Default".
    TTemplateDlg(bool existing, const TTemplateValues& values, const TTemplateValues& defaults,
                 TStore store, QWidget* parent = nullptr);

    void accept() override;

private:
    void Show(const TTemplateValues& v);
    TTemplateValues Values() const;
    void ShowButton(int b);

    bool existing_;
    int oldFormat_;
    TTemplateValues defaults_;
    TStore store_;
    std::array<int, kTemplateButtons> kinds_{};
    QLineEdit* name_ = nullptr;
    std::array<QLineEdit*, 7> captions_{};
    std::array<QCheckBox*, 7> shown_{};
    std::array<QPushButton*, kTemplateButtons> buttons_{};
    QComboBox* format_ = nullptr;
    QCheckBox* include_ = nullptr;
    QCheckBox* base_ = nullptr;
};

} // namespace tessaly
