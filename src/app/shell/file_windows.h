#pragma once
// The factories the frame opens files through. Each returns the new child window, or
// nullptr when the file could not be loaded or created (the window has reported why).

#include <QString>

namespace tessaly {

class TChildWindow;
class TMainForm;

TChildWindow* CreateBookWindow(TMainForm& frame, const QString& path, bool mustExist,
                               bool readOnly);
TChildWindow* CreateDiaryWindow(TMainForm& frame, const QString& path, bool mustExist,
                                bool readOnly);

} // namespace tessaly
