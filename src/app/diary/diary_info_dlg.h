#pragma once
// "Diary Information": the diary's name and path, when it was created and last
// updated, its number of events and whether it is locked.

#include "core/diary/diary_state.h"

#include <QDialog>

namespace tessaly {

class TDiaryInfoDlg : public QDialog {
    Q_OBJECT
public:
    TDiaryInfoDlg(const TDiaryInfo& info, QWidget* parent = nullptr);
};

} // namespace tessaly
