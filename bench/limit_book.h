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

inline std::unique_ptr<TBookData> MakeLimitBook(const std::string& path) {
    FakeClock clock(45000.5);
    auto book = NewBook(path, BenchSettings(), clock);
    auto work = std::make_unique<TTemplate>(book->Templates.NextId++);
    work->SetName("Work Address");
    book->Templates.Add(std::move(work));
    for (int i = 0; i < kMaxListCount; ++i)
        book->Entries.Add(MakeEntry(*book, i));
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
