#include "core/sync/reminder_sync.h"

#include "core/ical/ical_events.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/sync/calendar_send.h"
#include "core/sync/calendar_state.h"
#include "core/sync/contact_card.h"
#include "core/sync/dav_changes.h"
#include "core/sync/dav_url.h"
#include "core/sync/sync_round.h"

#include <filesystem>
#include <map>
#include <set>

namespace tessaly {

namespace {

// One round; true when it asks for another (the server changed an event while it
// was being sent).
bool RemindersRound(const std::string& bookPath, const std::string& server,
                    const TSyncOptions& options, TICalWriter writer, IHttpClient& http,
                    TSyncResult& result, bool first) {
    IFileSystem& fs = options.FileSystem ? *options.FileSystem : RealFileSystem();
    const std::string statePath = ReminderStatePath(bookPath);
    TCalendarState state;
    std::string why;
    if (ReadCalendarState(statePath, state, why, fs) == TCalendarStateRead::Damaged) {
        if (first)
            result.Notes.push_back(std::filesystem::path(statePath).filename().string() +
                                   " was set aside (" + why + "): every reminder is sent again");
        state = TCalendarState();
    }
    if (state.Server != server) {
        state = TCalendarState();
        state.Server = server;
    }
    const auto save = [&]() {
        std::string error;
        if (WriteCalendarState(statePath, state, error, fs))
            return true;
        return FailSync(result, BookErrorMessage(statePath, "could not be written: " + error));
    };
    if (state.Collection.empty()) {
        const TDiscovery found = DiscoverCalendar(http, server,
                                                  std::filesystem::path(bookPath).stem().string() +
                                                      kRemindersCalendarSuffix);
        if (!found.Ok)
            return FailSync(result, found.Failure);
        state.Collection = found.Collection;
        result.CreatedCollection = result.CreatedCollection || found.Created;
    }
    result.Collection = state.Collection;
    TCardDavClient dav(http, state.Collection, kCalendarKind);

    std::map<std::string, std::string> known;
    std::map<std::string, std::string> uidOf;
    for (const auto& [uid, record] : state.Events) {
        known[record.Url] = record.ETag;
        uidOf[record.Url] = uid;
    }
    const TDavListing listing = ListChanges(dav, state.Token, known);
    if (!listing.Ok)
        return FailSync(result, listing.Failure);
    std::set<std::string> putBack;
    int strangers = 0;
    for (const auto& m : listing.Wanted) {
        const auto it = uidOf.find(m.Url);
        if (it == uidOf.end()) {
            ++strangers;
            continue;
        }
        TCalendarRecord& record = state.Events[it->second];
        if (!record.ETag.empty())
            result.Notes.push_back("the server's copy of the reminder " + m.Url +
                                   " was changed there; the book's was put back");
        record.ETag = m.ETag;
        record.Hash.clear(); // sent again, even should this round be cut short
        putBack.insert(it->second);
    }
    for (const auto& url : listing.Removed) {
        const auto it = uidOf.find(url);
        if (it == uidOf.end())
            continue;
        state.Events.erase(it->second);
        putBack.insert(it->second);
    }
    if (strangers > 0 && first)
        result.Notes.push_back(std::to_string(strangers) +
                               " events of the reminders' calendar that the book did not make "
                               "were left alone");
    state.Token = listing.Token;

    TLoadResult loaded = LoadBook(bookPath, options.Settings, fs);
    if (!loaded.Book)
        return FailSync(result, loaded.Message.empty()
                                    ? BookErrorMessage(bookPath, "could not be read")
                                    : loaded.Message);
    const TBookData& book = *loaded.Book;
    std::vector<TCalendarUpload> uploads;
    std::set<std::string> present;
    for (int i = 0; i < book.Entries.Count(); ++i) {
        const TRecord& entry = *book.Entries.At(i);
        for (int r = 0; r < entry.Reminders.Count(); ++r) {
            const TReminders& reminder = *entry.Reminders.At(r);
            const std::string uid = ReminderUid(entry, r + 1);
            present.insert(uid);
            const std::string hash = EventHash(reminder);
            const auto record = state.Events.find(uid);
            if (record != state.Events.end() && record->second.Hash == hash && !putBack.count(uid))
                continue;
            if (record == state.Events.end() && putBack.count(uid))
                result.Notes.push_back("the reminder " + uid +
                                       " was deleted on the server; the book's was put back");
            TCalendarUpload up;
            up.Uid = uid;
            up.Record.Url = record != state.Events.end()
                                ? record->second.Url
                                : state.Collection + PathSegment(uid) + ".ics";
            up.Record.ETag = record != state.Events.end() ? record->second.ETag : std::string();
            up.Record.Hash = hash;
            up.Record.When = reminder.When;
            up.Record.Title = std::string(TextValue(reminder.Description));
            const TICalCalendar calendar = EventCalendar(reminder, uid, {}, UtcNow());
            writer(&calendar, &up.Text);
            uploads.push_back(std::move(up));
        }
    }
    std::vector<std::string> deletions;
    for (const auto& [uid, record] : state.Events)
        if (!present.count(uid))
            deletions.push_back(uid);
    if (!save())
        return false;
    const TCalendarSend sent = SendCalendarChanges(
        dav, uploads, deletions, state, result,
        [](const std::string&, const std::string&) { return true; }, save);
    return sent.Ok && sent.Refused;
}

} // namespace

std::string ReminderStatePath(const std::string& bookPath) {
    return bookPath + ".reminders.sync";
}

std::string ReminderUid(const TRecord& entry, int reminder) {
    return StampUid(entry) + "-reminder-" + std::to_string(reminder);
}

TSyncResult SyncBookReminders(const std::string& bookPath, const std::string& server,
                              const TSyncOptions& options, TICalWriter writer, IHttpClient& http) {
    TSyncResult result;
    result.Ok = true;
    if (!writer)
        return (FailSync(result, "this program cannot write calendars"), result);
    for (int round = 0; round < 3; ++round)
        if (!RemindersRound(bookPath, server, options, writer, http, result, round == 0))
            break;
    return result;
}

} // namespace tessaly
