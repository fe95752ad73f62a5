#include "cli/sample_book.h"

#include "core/common/date_time.h"
#include "core/diary/recurrence.h"
#include "core/store/book_file.h"

#include <initializer_list>

namespace tessaly {

namespace {

// Category numbers of the sample: the two built-in ones and three more.
constexpr int kBusiness = 0;
constexpr int kPersonal = 1;
constexpr int kFamily = 2;
constexpr int kSuppliers = 3;
constexpr int kClubs = 4;
// The work-address template added to the built-in "Address 1".
constexpr int kHomeTemplate = 1;
constexpr int kWorkTemplate = 2;

struct TSamplePerson {
    const char* Title;
    const char* FirstName;
    const char* Surname;
    const char* Salutation;
    const char* Notes;
    const char* Address; // home address lines, CR LF between them
    const char* Home;
    const char* Work;
    const char* EMail;
    std::initializer_list<int> Categories;
    // Work address; empty company means none.
    const char* Position;
    const char* Company;
    const char* WorkAddress;
    const char* WorkPhone;
};

// Made-up names, addresses in made-up towns, telephone numbers from the ranges kept
// for fiction, and e-mail at the reserved example domains.
const TSamplePerson kPeople[] = {
    {"Mr",
     "Arthur",
     "Penhallow",
     "Arthur",
     "Prefers a call in the evening.",
     "12 Quarry Lane\r\nLower Wetherby\r\nNorthshire\r\nNW4 7QT",
     "01632 960118",
     "07700 900461",
     "arthur.penhallow@example.com",
     {kPersonal},
     "",
     "",
     "",
     ""},
    {"Mrs",
     "Beatrice",
     "Okonkwo-Hale",
     "Mrs Okonkwo-Hale",
     "",
     "3 Tanner's Row\r\nEastmere\r\nSouthdown\r\nSD2 9LB",
     "01632 960207",
     "",
     "",
     {kBusiness, kSuppliers},
     "Sales Manager",
     "Hale & Daughters Printers",
     "Unit 4, Riverside Works\r\nEastmere\r\nSouthdown\r\nSD2 4RW",
     "01632 960554"},
    {"Dr",
     "Cedric",
     "Vantongeren",
     "Dr Vantongeren",
     "Met at the spring trade fair.",
     "Flat 2, 41 Abbey Road\r\nKingsholm\r\nWestvale\r\nWV1 3AA",
     "01632 960310",
     "",
     "c.vantongeren@example.org",
     {kBusiness},
     "Consultant",
     "Vantongeren Associates",
     "41 Abbey Road\r\nKingsholm\r\nWestvale\r\nWV1 3AA",
     "01632 960311"},
    {"Ms",
     "Delphine",
     "Marchetti",
     "Delphine",
     "Cousin on the Italian side.",
     "The Old Forge\r\nMill End\r\nCresswold\r\nCR7 1FE",
     "01632 960422",
     "07700 900118",
     "delphine@example.net",
     {kFamily, kPersonal},
     "",
     "",
     "",
     ""},
    {"Mr",
     "Edmund",
     "Farraday",
     "Edmund",
     "Secretary of the chess club.",
     "88 Station Street\r\nHollinbridge\r\nNorthshire\r\nNW9 2ES",
     "01632 960533",
     "",
     "",
     {kClubs},
     "",
     "",
     "",
     ""},
    {"",
     "",
     "Fenwick Plumbing Supplies",
     "Sir or Madam",
     "Trade account number 44817.",
     "",
     "",
     "",
     "orders@example.com",
     {kSuppliers},
     "Trade Counter",
     "Fenwick Plumbing Supplies",
     "Yard 7, Canal Wharf\r\nLower Wetherby\r\nNorthshire\r\nNW4 8CW",
     "01632 960640"},
    {"Miss",
     "Georgina",
     "Tallis",
     "Georgie",
     "",
     "5 Orchard Close\r\nPennington Magna\r\nSouthdown\r\nSD5 6OC",
     "01632 960751",
     "07700 900733",
     "georgie.tallis@example.com",
     {kPersonal},
     "",
     "",
     "",
     ""},
    {"Mr",
     "Hamish",
     "Drummond",
     "Hamish",
     "",
     "Glenview Cottage\r\nBraemuir\r\nHighcraig\r\nHC3 7GV",
     "01632 960862",
     "",
     "hamish@example.org",
     {kBusiness, kPersonal},
     "Head of Accounts",
     "Craigmuir Distillers",
     "Distillery Lane\r\nBraemuir\r\nHighcraig\r\nHC3 7DL",
     "01632 960863"},
    {"Mrs",
     "Ingrid",
     "Solvang",
     "Ingrid",
     "Sister-in-law. Allergic to lilies.",
     "27 Fjord View\r\nSeacombe\r\nWestvale\r\nWV8 5FV",
     "01632 960974",
     "07700 900902",
     "ingrid.solvang@example.net",
     {kFamily},
     "",
     "",
     "",
     ""},
    {"Prof.",
     "Jasper",
     "Wilde-Corrigan",
     "Professor",
     "Reads Portuguese and Ren\xE9"
     "e's poetry.",
     "The Lodge, College Green\r\nOxwell\r\nMidshire\r\nMS1 1CG",
     "01632 960185",
     "",
     "j.wilde-corrigan@example.edu",
     {kBusiness},
     "Professor of History",
     "Oxwell College",
     "College Green\r\nOxwell\r\nMidshire\r\nMS1 1CG",
     "01632 960186"},
    {"Ms",
     "Keziah",
     "Abernethy",
     "Kez",
     "Treasurer of the walking group.",
     "14 Heather Bank\r\nFellthwaite\r\nFellshire\r\nCV6 2HB",
     "01632 960296",
     "",
     "",
     {kClubs, kPersonal},
     "",
     "",
     "",
     ""},
    {"Mr",
     "Lorcan",
     "Mulqueen",
     "Lorcan",
     "",
     "9 Harbour Terrace\r\nPortkennet\r\nWestvale\r\nWV3 4HT",
     "01632 960307",
     "07700 900377",
     "lorcan.mulqueen@example.com",
     {kPersonal},
     "",
     "",
     "",
     ""},
};

constexpr int kPhoneHome = 3;
constexpr int kPhoneWork = 4;
constexpr int kPhoneFax = 5;
constexpr int kPhoneEMail = 6;

std::unique_ptr<TReminders> Reminder(TDateTime when, int frequency, int interval,
                                     const char* description, const char* notes, int priority,
                                     int advanceDays, bool alarm) {
    auto r = std::make_unique<TReminders>();
    r->When = when;
    r->Until = frequency >= kDaily ? EncodeDate(DecodeDate(when).Year + 20, 12, 31) : when;
    r->Frequency = static_cast<std::int16_t>(frequency);
    r->Interval = static_cast<std::int16_t>(interval);
    r->AdvanceDays = static_cast<std::int16_t>(advanceDays);
    r->Priority = static_cast<std::int16_t>(priority);
    r->AlarmSet = alarm ? 1 : 0;
    r->NoTime = TimeOf(when) == 0 ? 1 : 0;
    r->AlarmTime = when;
    r->SetDescription(description);
    r->SetNotes(notes);
    return r;
}

void AddWorkTemplate(TBookData& book) {
    auto work = std::make_unique<TTemplate>(book.Templates.NextId++);
    work->SetName("Work Address");
    const char* captions[] = {"Position", "Company", "Address", "Direct Line",
                              "Mobile",   "Fax",     "E-Mail"};
    for (int i = 0; i < 7; ++i)
        work->SetCaption(i, captions[i]);
    for (int i = 7; i < kTemplateCaptions; ++i)
        work->Shown[static_cast<std::size_t>(i)] = 0;
    work->ButtonKinds = {kButtonDial, kButtonDial, kButtonNone, kButtonMail};
    work->AddressFormat = kFormatUK;
    work->IncludeForNew = 0;
    book.Templates.Add(std::move(work));
}

} // namespace

std::unique_ptr<TBookData> MakeSampleBook(const std::string& path, const IClock& clock) {
    TStoreSettings builtIn;
    auto book = NewBook(path, builtIn, clock);
    book->SetBuiltInDefaults();
    book->Categories.AddCategory("Family", false);
    book->Categories.AddCategory("Suppliers", false);
    book->Categories.AddCategory("Clubs", false);
    AddWorkTemplate(*book);

    const TDateTime now = clock.Now();
    const TDateTime today = DateOf(now);
    const TDateParts date = DecodeDate(today);

    int n = 0;
    for (const TSamplePerson& p : kPeople) {
        NewWorkRecord(*book);
        TRecord& e = *book->WorkRecord;
        e.SetNameField(kFieldTitle, p.Title);
        e.SetNameField(kFieldFirstName, p.FirstName);
        e.SetNameField(kFieldSurname, p.Surname);
        e.SetNameField(kFieldSalutation, p.Salutation);
        e.SetNotes(p.Notes);
        for (int category : p.Categories)
            e.CategoriesInUse.AddMembership(category);

        const int home = e.Addresses.FindAddress(kHomeTemplate);
        if (*p.Address) {
            e.Addresses.SetFieldOf(home, kFieldAddress, p.Address);
            e.Addresses.SetFieldOf(home, kPhoneHome, p.Home);
            e.Addresses.SetFieldOf(home, kPhoneWork, p.Work);
            e.Addresses.SetFieldOf(home, kPhoneEMail, p.EMail);
        } else {
            e.Addresses.Delete(home);
        }
        if (*p.Company) {
            const int work = e.Addresses.AddAddress(kWorkTemplate);
            e.Addresses.SetFieldOf(work, kFieldPosition, p.Position);
            e.Addresses.SetFieldOf(work, kFieldCompany, p.Company);
            e.Addresses.SetFieldOf(work, kFieldAddress, p.WorkAddress);
            e.Addresses.SetFieldOf(work, kPhoneHome, p.WorkPhone);
            if (!*p.Address) {
                e.Addresses.SetFieldOf(work, kPhoneFax, "01632 960641");
                e.Addresses.SetFieldOf(work, kPhoneEMail, p.EMail);
            }
            // Work numbers are dialled with a prefix of their own.
            e.Addresses.SetDialSettingOf(work, TDialSetting::UseDefaultDialling, kPhoneHome, false);
            e.Addresses.SetDialSettingOf(work, TDialSetting::PrefixOn, kPhoneHome, true);
            e.Addresses.SetDialSettingOf(work, TDialSetting::LogCall, kPhoneHome, true);
            e.Addresses.SetPrefixOf(work, kPhoneHome, "1470");
        }

        // A birthday for every third person, yearly, with a week's warning.
        if (n % 3 == 0) {
            const int month = 1 + (date.Month + n / 3) % 12;
            const TDateTime birthday = EncodeDate(date.Year, month, 1 + (n * 7) % 28);
            e.Reminders.Add(Reminder(birthday, kYearly, 1, "Birthday", "Send a card", 3, 7, false));
        }
        e.Tagged = n == 11 ? 1 : 0;
        e.Updated = n % 2 ? now - 3 - n : 0;
        book->Entries.AddEntryCopy(e, clock);
        ++n;
    }

    // The business side: a follow-up, an attachment or two and a few logged calls.
    TRecord* beatrice = book->Entries.At(1);
    beatrice->Reminders.Add(Reminder(today + 2 + EncodeTime(10, 30, 0), kOnceOnly, 1,
                                     "Confirm the spring print order", "Quote ref. HD-2291", 2, 1,
                                     true));
    beatrice->CallLogs.AddLog("1470 01632 960554", "Discussed the spring order",
                              today - 2 + EncodeTime(14, 5, 0), today - 2 + EncodeTime(14, 12, 40));
    beatrice->CallLogs.AddLog("1470 01632 960554", "Left a message",
                              today - 9 + EncodeTime(9, 40, 0), today - 9 + EncodeTime(9, 41, 15));
    beatrice->LastCalled = today - 2 + EncodeTime(14, 5, 0);
    beatrice->Attachments.AppendAttachment("Price list", "/home/shared/Documents/hale-prices.txt",
                                           true);

    TRecord* cedric = book->Entries.At(2);
    cedric->Reminders.Add(Reminder(today - 1 + EncodeTime(16, 0, 0), kOnceOnly, 1,
                                   "Send the proposal", "", 1, 0, true));
    cedric->Reminders.Add(
        Reminder(today + 7, kMonthly, 1, "Monthly progress call", "", 5, 2, false));

    TRecord* fenwick = book->Entries.At(5);
    fenwick->Attachments.AppendAttachment("Online catalogue", "https://www.example.com/catalogue",
                                          false);
    fenwick->CallLogs.AddLog("1470 01632 960640", "Ordered copper fittings",
                             today - 5 + EncodeTime(11, 20, 0), today - 5 + EncodeTime(11, 26, 5));
    fenwick->LastCalled = today - 5 + EncodeTime(11, 20, 0);

    TRecord* hamish = book->Entries.At(7);
    hamish->Reminders.Add(Reminder(today, kWeekly, 2, "Fortnightly accounts review",
                                   "Bring the ledgers", 4, 0, false));
    hamish->CallLogs.AddLog("1470 01632 960863", "", today - 1 + EncodeTime(10, 0, 0),
                            today - 1 + EncodeTime(10, 31, 0));

    auto search = std::make_unique<TFilter>("Business Contacts");
    search->CategoriesOn = 1;
    search->AnyCategory = 1;
    search->CategoriesInUse.AddMembership(kBusiness);
    search->CategoriesInUse.AddMembership(kSuppliers);
    book->Searches.Add(std::move(search));

    book->WorkRecord.reset();
    book->LastUpdated = now;
    return book;
}

} // namespace tessaly
