#include "app/diary/diary_info_dlg.h"

#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaly {

TDiaryInfoDlg::TDiaryInfoDlg(const TDiaryInfo& info, QWidget* parent) : QDialog(parent) {
    setObjectName("TDiaryInfoDlg");
    setWindowTitle(ToQString(info.Caption));
    auto* grid = new QGridLayout;
    auto value = [this](const std::string& text, const char* name) {
        auto* l = new QLabel(ToQString(text), this);
        l->setObjectName(name);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    auto* name = value(info.Name, "Name");
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    grid->addWidget(new QLabel("Diary Name:"), 0, 0);
    grid->addWidget(name, 0, 1);
    grid->addWidget(value(info.Path, "Path"), 1, 1);
    grid->addWidget(new QLabel("Diary Created:"), 2, 0);
    grid->addWidget(value(info.Created, "Created"), 2, 1);
    grid->addWidget(value(info.LastUpdated, "LastUpdated"), 3, 1);
    grid->addWidget(new QLabel("Events"), 4, 0);
    grid->addWidget(value(std::to_string(info.Events), "Events"), 4, 1);
    grid->addWidget(value(info.LockState, "LockState"), 5, 1);
    grid->setColumnStretch(1, 1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(box);
    setMinimumWidth(380);
}

} // namespace tessaly
