#pragma once
// The first step of "Export vCards...": which vCard version the file is written in.

#include <QDialog>

class QRadioButton;

namespace tessaly {

class TVCardVersionDlg : public QDialog {
    Q_OBJECT
public:
    // `version` 3 or 4 is chosen at first.
    TVCardVersionDlg(int version, QWidget* parent = nullptr);
    // 3 or 4.
    int Version() const;

private:
    QRadioButton* v3_ = nullptr;
    QRadioButton* v4_ = nullptr;
};

} // namespace tessaly
