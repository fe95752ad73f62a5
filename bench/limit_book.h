#pragma once
// The book the benchmarks work on: the file format's limit of 32,767 entries, each
// with names, two addresses, a category, a reminder, an attachment and a call log,
// written to an image and a file once and parsed back as a loaded book would be.

#include "core/store/book_file.h"
#include "tests/support/fake_clock.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace tessaly::bench {

inline TStoreSettings BenchSettings() {
    TStoreSettings s;
    s.ConfigDirectory = "/nonexistent-tessaly-bench-config";
    s.Backup = false;
    return s;
}

inline const char* const kFirstNames[] = {"Arthur", "Beatrice", "Cedric",   "Delphine", "Edmund",
                                          "Fiona",  "Georgina", "Hamish",   "Ingrid",   "Jasper",
                                          "Keziah", "Lorcan",   "Marigold", "Nathaniel"};
inline const char* const kSurnames[] = {"Penhallow", "Okonkwo-Hale", "Vantongeren", "Marchetti",
                                        "Farraday",  "Tallis",       "Drummond",    "Solvang",
                                        "Abernethy", "Mulqueen",     "Wilde",       "Carrow"};
inline const char* const kTowns[] = {"Lower Wetherby", "Eastmere", "Kingsholm", "Hollinbridge",
                                     "Braemuir",       "Seacombe", "Oxwell",    "Portkennet"};

inline std::unique_ptr<TRecord> MakeEntry(const TBookData& book, int i) {
    auto e = std::make_unique<TRecord>();
    AssignKeys(e->Keys, book.IndexKeys);
    const std::string n = std::to_string(i);
    e->SetNameField(kFieldTitle, i % 3 ? "Mr" : "Mrs");
    e->SetNameField(kFieldFirstName, kFirstNames[i % std::size(kFirstNames)]);
    e->SetNameField(kFieldSurname, std::string(kSurnames[i % std::size(kSurnames)]) + " " + n);
    e->SetNameField(kFieldSalutation, kFirstNames[i % std::size(kFirstNames)]);
    e->SetNotes("Met at the trade fair; prefers calls in the morning. Account " + n + ".");
    e->Created = 44000 + i % 900 + 0.25;
    e->Updated = 44900 + i % 300 + 0.5;
    e->LastCalled = 45000 + i % 100 + 0.75;
    e->CategoriesInUse.AddMembership(i % 2);

    const std::string town = kTowns[i % std::size(kTowns)];
    const int home = e->Addresses.AddAddress(1);
    e->Addresses.SetFieldOf(home, kFieldAddress,
                            n + " Quarry Lane\r\n" + town + "\r\nNorthshire\r\nNW4 7QT");
    e->Addresses.SetFieldOf(home, 3, "01632 96" + std::to_string(1000 + i % 9000));
    e->Addresses.SetFieldOf(home, 6, "person" + n + "@example.com");
    const int work = e->Addresses.AddAddress(2);
    e->Addresses.SetFieldOf(work, kFieldPosition, "Sales Manager");
    e->Addresses.SetFieldOf(work, kFieldCompany, "Hale & Daughters Printers");
    e->Addresses.SetFieldOf(work, kFieldAddress,
                            "Unit " + n + ", Riverside Works\r\n" + town + "\r\nSD2 4RW");
    e->Addresses.SetFieldOf(work, 4, "01632 960554");
    e->Addresses.SetPrefixOf(work, 4, "1470");

    auto reminder = std::make_unique<TReminders>();
    reminder->When = 45100 + i % 365 + 0.4375;
    reminder->Until = reminder->When + 3650;
    reminder->Frequency = 5;
    reminder->AdvanceDays = 7;
    reminder->AlarmSet = 1;
    reminder->AlarmTime = reminder->When;
    reminder->SetDescription("Birthday");
    reminder->SetNotes("Send a card");
    e->Reminders.Add(std::move(reminder));
    e->Attachments.AppendAttachment("Price list", "/home/shared/Documents/prices-" + n + ".txt",
                                    true);
    e->CallLogs.AddLog("1470 01632 960554", "Discussed the spring order", 45000.5 + i % 50,
                       45000.51 + i % 50);
    return e;
}

// A text of about `length` characters made of `seed` repeated, for the long fields.
inline std::string LongText(const std::string& seed, std::size_t length) {
    std::string s;
    s.reserve(length + seed.size());
    while (s.size() < length)
        s += seed;
    s.resize(length);
    return s;
}

// The same entry with every name field filled, long notes and addresses (some
// 2,000 bytes of the file an entry) and more of every kind of item:
// a third address, a second reminder, attachment and call log. The book of these is
// what a user with well-kept records at the format's limit opens.
inline std::unique_ptr<TRecord> MakeLongEntry(const TBookData& book, int i) {
    auto e = MakeEntry(book, i);
    const std::string n = std::to_string(i);
    for (int f = 4; f < kFieldNotes; ++f)
        e->SetNameField(f, LongText("Other name detail " + n + "; ", 20 + 5 * f));
    e->SetNotes(LongText("Met at the trade fair; prefers calls in the morning. Account " + n +
                             ". Orders paper by the pallet.\r\n",
                         250));
    e->CategoriesInUse.AddMembership(2 + i % 3);

    const int other = e->Addresses.AddAddress(3);
    e->Addresses.SetFieldOf(other, kFieldPosition, LongText("Treasurer of the choir ", 40));
    e->Addresses.SetFieldOf(other, kFieldCompany,
                            LongText("The Lower Wetherby Choral Society " + n + " ", 90));
    e->Addresses.SetFieldOf(other, kFieldAddress,
                            LongText("Church Hall, " + n + " Bell Street\r\nSeacombe\r\n", 120));
    for (int f = kFirstPhoneField; f <= kLastPhoneField; ++f) {
        e->Addresses.SetFieldOf(other, f, "+44 1632 9" + std::to_string(10000 + (i + f) % 89999));
        e->Addresses.SetPrefixOf(other, f, "141");
    }

    auto reminder = std::make_unique<TReminders>();
    reminder->When = 45200 + i % 365 + 0.5;
    reminder->Until = reminder->When;
    reminder->SetDescription(LongText("Renew the membership " + n + " ", 60));
    reminder->SetNotes(LongText("Bring the forms and the cheque book. ", 120));
    e->Reminders.Add(std::move(reminder));
    e->Attachments.AppendAttachment(
        LongText("Minutes of the annual meeting ", 50),
        "/home/shared/Documents/Choir/Minutes/" + n + "/annual-meeting-minutes.odt", true);
    e->CallLogs.AddLog("+44 1632 910554", LongText("Arranged the spring concert rota. ", 100),
                       45010.5 + i % 50, 45010.52 + i % 50);
    return e;
}

// The limit book: 32,767 entries, short texts (`longFields` false) or long ones.
inline std::unique_ptr<TBookData> MakeLimitBook(const std::string& path, bool longFields = false) {
    FakeClock clock(45000.5);
    auto book = NewBook(path, BenchSettings(), clock);
    for (const char* name : {"Work Address", "Club Address"}) {
        auto t = std::make_unique<TTemplate>(book->Templates.NextId++);
        t->SetName(name);
        book->Templates.Add(std::move(t));
        if (!longFields)
            break;
    }
    if (longFields)
        for (const char* name : {"Choir", "Suppliers", "Family"})
            book->Categories.AddCategory(name, false);
    for (int i = 0; i < kMaxListCount; ++i)
        book->Entries.Add(longFields ? MakeLongEntry(*book, i) : MakeEntry(*book, i));
    return book;
}

// The book, its image and a file holding it, made once for all benchmarks.
struct TLimitBook {
    std::string Path;
    std::vector<std::uint8_t> Image;

    TLimitBook() {
        Path = (std::filesystem::temp_directory_path() /
                ("tessaly-bench-" + std::to_string(::getpid()) + ".ADR"))
                   .string();
        auto book = MakeLimitBook(Path);
        Image = WriteBookImage(*book);
        std::ofstream(Path, std::ios::binary)
            .write(reinterpret_cast<const char*>(Image.data()),
                   static_cast<std::streamsize>(Image.size()));
    }
    ~TLimitBook() {
        std::error_code ec;
        std::filesystem::remove(Path, ec);
    }
    std::unique_ptr<TBookData> Parse() const {
        return std::move(ParseBookImage(Image, BenchSettings(), Path).Book);
    }
};

inline const TLimitBook& LimitBook() {
    static const TLimitBook book;
    return book;
}

} // namespace tessaly::bench
