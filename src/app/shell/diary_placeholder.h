#pragma once
// A placeholder for the diary window, which is not part of this program yet: it shows
// the diary's file name, so that opening, reopening and recording the diaries of a run
// work as they will with the real window. It neither reads nor writes the file.

#include "app/shell/child_window.h"

namespace tessaly {

class TDiaryPlaceholder : public TChildWindow {
    Q_OBJECT
public:
    TDiaryPlaceholder(TMainForm& frame, const QString& path);

protected:
    void CloseFile() override;
};

} // namespace tessaly
