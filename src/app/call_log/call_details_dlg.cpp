#include "app/call_log/call_details_dlg.h"

#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

TCallDetailsDlg::TCallDetailsDlg(const QString& entryName, const TLogDetails& details,
                                 bool deleting, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(deleting ? "Delete Call Log Record" : "Call Log Details");
    auto* form = new QFormLayout;
    const auto add = [this, form](const QString& caption, const QString& name,
                                  const QString& text) {
        auto* value = new QLabel(text);
        value->setObjectName(name);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(true);
        value->setFrameShape(QFrame::StyledPanel);
        form->addRow(caption, value);
        Q_UNUSED(this);
    };
    add("Call to", "CallTo", entryName);
    add("Number", "Number", ToQString(details.Number));
    add("Comment", "Comment", ToQString(details.Comment));
    add("Started", "Started", ToQString(details.Started));
    add("Finished", "Finished", ToQString(details.Finished));
    add("Duration of Call (hh:mm:ss)", "Duration", ToQString(details.Duration));

    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    if (deleting) {
        auto* question = new QLabel("Please confirm you wish to Delete the above Call Log Record");
        question->setObjectName("Confirmation");
        v->addWidget(question);
        buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);
    setMinimumWidth(460);
}

QLabel* TCallDetailsDlg::Field(const QString& name) const {
    return findChild<QLabel*>(name);
}

} // namespace tessaly
