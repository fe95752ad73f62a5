#include "tests/app/reminder_files.h"

#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"

#include <QtGlobal>
#include <map>

namespace tessaly {

namespace {

std::unique_ptr<TReminders> MakeEvent(const TTestEvent& e) {
    auto r = std::make_unique<TReminders>();
    r->When = r->AlarmTime = e.When;
    r->Until = e.Until != 0 ? e.Until : e.When;
    r->Frequency = static_cast<std::int16_t>(e.Frequency);
    r->Interval = static_cast<std::int16_t>(e.Interval);
    r->AlarmSet = e.Alarm ? 1 : 0;
    r->NoTime = TimeOf(e.When) == 0 ? 1 : 0;
    r->Completed = e.Completed ? 1 : 0;
    r->SetDescription(e.Description);
    return r;
}

} // namespace

QString MakeReminderBook(const QString& path, const std::vector<TTestEvent>& events) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    std::map<std::string, TRecord*> entries;
    for (const TTestEvent& e : events) {
        TRecord*& entry = entries[e.Surname];
        if (!entry) {
            auto r = std::make_unique<TRecord>();
            r->SetNameField(kFieldSurname, e.Surname);
            entry = book->Entries.Add(std::move(r));
        }
        entry->Reminders.Add(MakeEvent(e));
    }
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

QString MakeEventDiary(const QString& path, const std::vector<TTestEvent>& events) {
    auto diary = NewDiary(PathToCore(path));
    for (const TTestEvent& e : events)
        diary->Events.Add(MakeEvent(e));
    if (!SaveDiary(*diary, false, TStoreSettings()).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

} // namespace tessaly
