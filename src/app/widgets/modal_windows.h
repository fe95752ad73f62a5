#pragma once
// Ending what a user has open on top of the windows when the program must stop: the
// modal dialogs and the menus, each left as its Cancel (or Escape) would leave it.

namespace tessaly {

// Closes the open menus and rejects the modal dialog in front, as Cancel would. A
// dialog's own nested loop only ends once control is back in it, so a caller repeats
// this until it returns false. Returns whether there was anything to close.
bool CancelModalWindows();

// Whether the program is inside a nested event loop (a dialog's, a menu's) deeper
// than `mainLevel`, the level of its main loop: windows must not be deleted then, for
// the code that opened the dialog still runs on them once the loop returns.
bool InNestedEventLoop(int mainLevel);

} // namespace tessaly
