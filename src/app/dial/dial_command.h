#pragma once
// The dial commands of a book window: "&Dial Number..." (the dial dialog, then the
// dialler) and the numbered dial buttons beside the telephone fields (straight to the
// dialler with the field's options). A confirmed call sets the entry's last-called
// date and hands the call to call logging.

#include "core/store/record.h"

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace tessaly {

class ITelephony;
class TBook;
class TSettingsAccess;

// True when "Port" and "Baud" are set; otherwise the modem configuration dialog is
// shown and the answer is whether it was closed with OK.
bool EnsureModemSettings(TSettingsAccess& access, QWidget* parent);

// The telephony line of the desktop for the current "Country-Code".
std::unique_ptr<ITelephony> MakeTelephony(const TSettingsAccess& access);

// Where a confirmed call goes to be logged instead of the frame's log window, for
// tests: the entry called (in the book window's book) and the number called.
using TCallLogStarter = std::function<void(TBook& book, TRecord& entry, const std::string& number)>;
void SetCallLogStarter(TCallLogStarter starter);

// The runner of the dialler, which tests replace: (dial string, display string) to
// the dialler's result.
using TDiallerRunner =
    std::function<int(const std::string& dial, const std::string& display, QWidget* parent)>;
void SetDiallerRunner(TDiallerRunner runner);

// "&Dial Number...".
void DialWithDialog(TBook& book);
// Dial button `phone` (0-3) of the address page.
void DialField(TBook& book, int phone);

} // namespace tessaly
