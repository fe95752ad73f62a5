#pragma once
// The "Save As" file dialog of the book and diary windows: the caption, folder and
// filter of the file kind, a default suffix, and the current file preselected.

#include <QString>

class QWidget;

namespace tessaly {

// The chosen path, empty when the user cancels.
QString ChooseSaveAsFile(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter, const QString& suffix, const QString& current);

} // namespace tessaly
