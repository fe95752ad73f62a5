#pragma once
// What the dial dialog and the dial buttons decide: the options a telephone field is
// dialled with, the tabs the dialog offers, what OK writes back into the address, and
// what follows a call.

#include "core/store/address.h"
#include "core/store/template.h"
#include "core/telephony/dial_settings.h"

#include <string>
#include <vector>

namespace tessaly {

struct TDialOptions {
    bool UseDefaults = true;
    bool Prefix = false;
    std::string PrefixText;
    bool Charge = false;
    bool Log = false;
    bool operator==(const TDialOptions&) const = default;
};

// The options stored with telephone field `phone` (0-3) of an address.
TDialOptions StoredDialOptions(const TAddress& address, int phone);
// The options a call is made with: the "Dial" defaults when the field uses them.
TDialOptions EffectiveDialOptions(const TDialOptions& field, const TDialSettings& s);

struct TDialTab {
    int Phone = 0;        // 0-3
    std::string Caption;  // the field's caption in the template
    std::string Number;   // as stored, edited in the dialog
    TDialOptions Options; // the field's own options
};

// A tab for each telephone field with a number (after CleanNumber) whose button in
// the template is a dial button. With the telephony layer the log option starts
// from "Log Calls".
std::vector<TDialTab> DialTabs(const TAddress& address, const TTemplate& tmpl,
                               const TDialSettings& s);
// OK of the dialog: each tab's number (an edited one replaces the stored number) and,
// without the telephony layer, its options and prefix text; the log option in every
// method. Fields without a tab are left alone. Nothing is written into a locked book;
// false then.
bool StoreDialTabs(TAddress& address, const std::vector<TDialTab>& tabs, const TDialSettings& s,
                   bool bookLocked);

// What follows the dialler: a confirmed call (result 1) in a writable book sets the
// entry's last-called date and, when the call is to be logged, starts call logging
// with the number called. A locked book is never changed.
struct TAfterCall {
    bool SetLastCalled = false;
    bool StartCallLog = false;
};
TAfterCall AfterCall(int dialResult, bool logOption, bool bookLocked);

} // namespace tessaly
