#include "app/dial/dial_command.h"

#include "app/book/address_page.h"
#include "app/book/book.h"
#include "app/dial/dial_dialog.h"
#include "app/dial/dial_progress_dlg.h"
#include "app/dial/modem_form.h"
#include "app/widgets/frame.h"
#include "core/access/entries.h"
#include "core/access/work_record.h"
#include "core/telephony/number.h"
#include "platform/desktop_telephony.h"

namespace tessaly {

namespace {

TCallLogStarter& CallLogStarter() {
    static TCallLogStarter starter;
    return starter;
}

TDiallerRunner& DiallerRunner() {
    static TDiallerRunner runner;
    return runner;
}

int Run(const TSettingsAccess& access, const std::string& dial, const std::string& display,
        QWidget* parent) {
    if (DiallerRunner())
        return DiallerRunner()(dial, display, parent);
    auto line = MakeTelephony(access);
    return RunDialler(LoadDialSettings(access), dial, display, line.get(), parent);
}

// The address shown on the address page, in the working entry.
TAddress* ShownAddress(TBook& book) {
    TBookData* data = book.Book();
    if (!data || !book.CurrentEntry() || book.EditMode() != kEditViewing)
        return nullptr;
    return WorkRecordOf(*data).Addresses.At(book.AddressPage()->TemplateTab());
}

// What follows the dialler, for both commands.
void AfterDialling(TBook& book, bool addressChanged, int result, bool log,
                   const std::string& numberCalled) {
    TBookData& data = *book.Book();
    const TAfterCall after = AfterCall(result, log, book.ReadOnly());
    bool changed = addressChanged;
    if (after.SetLastCalled) {
        SetWorkRecordLastCalledNow(data);
        changed = true;
    }
    TRecord* entry = book.CurrentEntry();
    if (changed && !book.ReadOnly() && entry) {
        const int undo = book.Frame().Settings().UndoLevel;
        if (StoreEntry(data, entry, nullptr, undo, true) >= 0)
            book.RecordChange();
    }
    if (after.StartCallLog && entry) {
        if (CallLogStarter())
            CallLogStarter()(book, *entry, numberCalled);
        else
            book.Frame().StartCallLog(book, numberCalled);
    }
    book.ShowCurrentEntry();
}

} // namespace

bool EnsureModemSettings(TSettingsAccess& access, QWidget* parent) {
    if (ModemSettingsDefined(LoadDialSettings(access)))
        return true;
    auto line = MakeTelephony(access);
    TModemForm form(access, line.get(), parent);
    return form.exec() == QDialog::Accepted;
}

std::unique_ptr<ITelephony> MakeTelephony(const TSettingsAccess& access) {
    return std::make_unique<TDesktopTelephony>(access.ReadString(kDialSection, "Country-Code", ""));
}

void SetCallLogStarter(TCallLogStarter starter) {
    CallLogStarter() = std::move(starter);
}

void SetDiallerRunner(TDiallerRunner runner) {
    DiallerRunner() = std::move(runner);
}

void DialWithDialog(TBook& book) {
    TSettingsAccess& access = book.Frame().Access();
    if (!ShownAddress(book) || !EnsureModemSettings(access, &book))
        return;
    TAddress* address = ShownAddress(book);
    const TTemplate* tmpl =
        address ? book.Book()->Templates.TemplateOfId(address->TemplateId) : nullptr;
    if (!tmpl)
        return;
    const TDialSettings s = LoadDialSettings(access);
    auto line = MakeTelephony(access);
    TDialDlg dlg(s, *address, *tmpl, book.ReadOnly(), line.get(), &access, &book);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const bool changed = StoreDialTabs(*address, dlg.Tabs(), s, book.ReadOnly());
    const int result = Run(access, dlg.DialString(), dlg.DisplayString(), &book);
    AfterDialling(book, changed, result, dlg.CallOptions().Log, dlg.NumberCalled());
}

void DialField(TBook& book, int phone) {
    TSettingsAccess& access = book.Frame().Access();
    if (phone < 0 || phone >= kPhoneFields || !ShownAddress(book) ||
        !EnsureModemSettings(access, &book))
        return;
    const TAddress* address = ShownAddress(book);
    const TTemplate* tmpl =
        address ? book.Book()->Templates.TemplateOfId(address->TemplateId) : nullptr;
    // A mail button sends mail; that is not dialling.
    if (!tmpl || tmpl->ButtonKind(phone) != kButtonDial)
        return;
    const TDialSettings s = LoadDialSettings(access);
    const TDialOptions o = EffectiveDialOptions(StoredDialOptions(*address, phone), s);
    const std::string number = address->Field(kFirstPhoneField + phone);
    auto line = MakeTelephony(access);
    const std::string dial =
        PrepareNumber(number, o.PrefixText, o.Prefix, true, o.Charge, s, line.get());
    if (dial.empty())
        return;
    const std::string display =
        PrepareNumber(number, o.PrefixText, o.Prefix, false, o.Charge, s, line.get());
    const int result = Run(access, dial, display, &book);
    AfterDialling(book, false, result, s.UseTapi ? s.LogCalls : o.Log, CleanNumber(number));
}

} // namespace tessaly
