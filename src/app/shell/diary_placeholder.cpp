#include "app/shell/diary_placeholder.h"

#include "app/shell/file_windows.h"
#include "app/shell/main_form.h"
#include "app/shell/message_dialog.h"

#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaly {

TDiaryPlaceholder::TDiaryPlaceholder(TMainForm& frame, const QString& path)
    : TChildWindow(frame, TChildKind::Diary, path) {
    setWindowTitle(QFileInfo(path).completeBaseName().toUpper());
    auto* v = new QVBoxLayout(this);
    auto* name = new QLabel(QFileInfo(path).fileName());
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    name->setFont(big);
    v->addWidget(name);
    v->addWidget(new QLabel(path));
    auto* note = new QLabel("Diary placeholder: the diary window is not available yet; the "
                            "file is neither read nor changed.");
    note->setWordWrap(true);
    v->addWidget(note);
    v->addStretch();
    resize(380, 200);
}

void TDiaryPlaceholder::CloseFile() {
    Frame().UpdateReopenList(true, FilePath(), "TDY");
}

TChildWindow* CreateDiaryWindow(TMainForm& frame, const QString& path, bool mustExist,
                                bool readOnly) {
    Q_UNUSED(readOnly);
    if (!mustExist) {
        // Without the diary file format a new diary cannot be written.
        ShowMessage(mtFunctionNotSetUp,
                    QString("Diary %1 can not be created: diaries are not available yet")
                        .arg(QFileInfo(path).fileName()),
                    mkInformation, mbOk);
        return nullptr;
    }
    return new TDiaryPlaceholder(frame, path);
}

} // namespace tessaly
