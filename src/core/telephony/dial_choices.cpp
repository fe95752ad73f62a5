#include "core/telephony/dial_choices.h"

#include "core/telephony/dialler.h"
#include "core/telephony/number.h"

namespace tessaly {

TDialOptions StoredDialOptions(const TAddress& a, int phone) {
    const int field = kFirstPhoneField + phone;
    TDialOptions o;
    o.UseDefaults = a.DialSetting(TDialSetting::UseDefaultDialling, field) != 0;
    o.Prefix = a.DialSetting(TDialSetting::PrefixOn, field) != 0;
    o.Charge = a.DialSetting(TDialSetting::ChargeCard, field) != 0;
    o.Log = a.DialSetting(TDialSetting::LogCall, field) != 0;
    o.PrefixText = a.PrefixOf(field);
    return o;
}

TDialOptions EffectiveDialOptions(const TDialOptions& field, const TDialSettings& s) {
    if (!field.UseDefaults)
        return field;
    TDialOptions o;
    o.UseDefaults = true;
    o.Prefix = s.UsePrefix;
    o.PrefixText = s.DefaultPrefix;
    o.Charge = s.ChargeDialling;
    o.Log = s.LogCalls;
    return o;
}

std::vector<TDialTab> DialTabs(const TAddress& address, const TTemplate& tmpl,
                               const TDialSettings& s) {
    std::vector<TDialTab> tabs;
    for (int i = 0; i < kPhoneFields; ++i) {
        const std::string number = address.Field(kFirstPhoneField + i);
        if (CleanNumber(number).empty() || tmpl.ButtonKind(i) != kButtonDial)
            continue;
        TDialTab t;
        t.Phone = i;
        t.Caption = tmpl.Caption(kFirstPhoneField + i);
        t.Number = number;
        if (s.UseTapi)
            t.Options.Log = s.LogCalls;
        else
            t.Options = StoredDialOptions(address, i);
        tabs.push_back(std::move(t));
    }
    return tabs;
}

bool StoreDialTabs(TAddress& address, const std::vector<TDialTab>& tabs, const TDialSettings& s,
                   bool bookLocked) {
    if (bookLocked)
        return false;
    for (const TDialTab& t : tabs) {
        if (t.Phone < 0 || t.Phone >= kPhoneFields)
            continue;
        const int field = kFirstPhoneField + t.Phone;
        address.SetField(field, t.Number);
        if (!s.UseTapi) {
            address.SetDialSetting(TDialSetting::UseDefaultDialling, field, t.Options.UseDefaults);
            address.SetDialSetting(TDialSetting::PrefixOn, field, t.Options.Prefix);
            address.SetDialSetting(TDialSetting::ChargeCard, field, t.Options.Charge);
            address.SetPrefix(field, t.Options.PrefixText);
        }
        address.SetDialSetting(TDialSetting::LogCall, field, t.Options.Log);
    }
    return true;
}

TAfterCall AfterCall(int dialResult, bool logOption, bool bookLocked) {
    TAfterCall a;
    a.SetLastCalled = dialResult == kDialConfirmed && !bookLocked;
    a.StartCallLog = a.SetLastCalled && logOption && !bookLocked;
    return a;
}

} // namespace tessaly
