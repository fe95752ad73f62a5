#pragma once
// The About box, also shown borderless as the splash while the program starts.

#include <QDialog>

namespace tessaly {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const QString& versionText, bool splash, QWidget* parent = nullptr);
    // The program's picture, drawn rather than loaded.
    static QPixmap Picture(int size);
};

} // namespace tessaly
