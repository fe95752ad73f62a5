#include "app/widgets/save_as_file.h"

#include <QFileDialog>

namespace tessaly {

QString ChooseSaveAsFile(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter, const QString& suffix, const QString& current) {
    QFileDialog dialog(parent, caption, directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(current);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace tessaly
