#include "core/sync/diary_sync.h"

#include "core/diary/diary.h"
#include "core/ical/ical_events.h"
#include "core/store/book_file.h"
#include "core/store/stamp.h"
#include "core/sync/calendar_send.h"
#include "core/sync/calendar_state.h"
#include "core/sync/carddav_client.h"
#include "core/sync/dav_changes.h"
#include "core/sync/dav_url.h"
#include "core/sync/sync_round.h"
#include "core/system/file_lock.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <set>

namespace tessaly {

namespace {

// A server's event as the round has it.
struct TServerEvent {
    std::string Url;
    std::string ETag;
    TImportedEvent Imported;
};

std::string FreshUid() {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, NewStamp());
    return "tessaly-event-" + std::string(buf, r.ptr);
}

TCalendarRecord RecordOf(const std::string& url, const std::string& etag, const TReminders& e,
                         const TKeptEvent& kept) {
    TCalendarRecord r;
    r.Url = url;
    r.ETag = etag;
    r.Hash = EventHash(e);
    r.When = e.When;
    r.Title = std::string(TextValue(e.Description));
    r.Kept = kept;
    return r;
}

// The round's work on one loaded diary: its events paired with the state's records,
// the server's events brought in, and what is to go up.
class TDiaryReconciler {
public:
    TDiaryReconciler(TDiaryData& diary, TCalendarState& state, TSyncResult& result)
        : diary_(diary), state_(state), result_(result) {
        for (int i = 0; i < diary_.Events.Count(); ++i) {
            slots_.push_back({diary_.Events.At(i), EventHash(*diary_.Events.At(i)), {}, false});
        }
        for (const auto& [uid, record] : state_.Events)
            byUrl_[record.Url] = uid;
        Pair();
    }

    bool Changed() const { return changed_; }
    bool Complete() const { return complete_; }

    void ServerChanged(const TServerEvent& s) {
        const TReminders& incoming = *s.Imported.Event;
        const std::string serverHash = EventHash(incoming);
        const auto known = byUrl_.find(s.Url);
        if (known != byUrl_.end()) {
            const std::string uid = known->second;
            TCalendarRecord& record = state_.Events[uid];
            TSlot* slot = SlotOf(uid);
            if (!slot) {
                // Deleted here: a change there wins, the same event lets the deletion stand.
                if (serverHash != record.Hash && !Add(incoming, uid))
                    return;
            } else if (slot->Hash != serverHash) {
                // The copy is made last: adding it may move the slots.
                const TReminders local = *slot->Event;
                const bool both = slot->ChangedHere;
                Replace(*slot, incoming);
                if (both)
                    KeepConflictCopy(local);
            }
            record = RecordOf(s.Url, s.ETag, incoming, s.Imported.Kept);
            return;
        }
        // An event this diary has not synced: one of its own (the state was lost, or the
        // round that sent it was cut short), else a new one.
        std::string uid = s.Imported.Uid.empty() ? s.Url : s.Imported.Uid;
        if (state_.Events.count(uid))
            uid = s.Url;
        if (TSlot* slot = Unpaired(serverHash)) {
            slot->Uid = uid;
        } else if (!Add(incoming, uid)) {
            return;
        }
        state_.Events[uid] = RecordOf(s.Url, s.ETag, incoming, s.Imported.Kept);
        byUrl_[s.Url] = uid;
    }

    void ServerRemoved(const std::string& url) {
        const auto known = byUrl_.find(url);
        if (known == byUrl_.end())
            return;
        const std::string uid = known->second;
        if (TSlot* slot = SlotOf(uid)) {
            slot->Uid.clear(); // changed here: kept, and sent again as a new event
            if (!slot->ChangedHere) {
                slot->Removed = true;
                ++result_.DeletedLocally;
                changed_ = true;
            }
        }
        state_.Events.erase(uid);
        byUrl_.erase(known);
    }

    // Removes the events the server deleted; the diary is then ready to be written.
    void Finish() {
        for (int i = static_cast<int>(slots_.size()) - 1; i >= 0; --i)
            if (slots_[static_cast<std::size_t>(i)].Removed)
                diary_.Events.Delete(i);
        std::erase_if(slots_, [](const TSlot& s) { return s.Removed; });
    }

    void Plan(const std::string& collection, const TCalendarCodec& codec, TDateTime nowUtc,
              std::vector<TCalendarUpload>& uploads, std::vector<std::string>& deletions) {
        std::set<std::string> present;
        for (TSlot& slot : slots_) {
            if (!slot.Uid.empty())
                present.insert(slot.Uid);
            const auto known = state_.Events.find(slot.Uid);
            if (known != state_.Events.end() && known->second.Hash == slot.Hash)
                continue;
            TCalendarUpload up;
            TKeptEvent kept;
            if (known == state_.Events.end()) {
                slot.Uid = FreshUid();
                present.insert(slot.Uid);
                up.Record = RecordOf(collection + PathSegment(slot.Uid) + ".ics", std::string(),
                                     *slot.Event, kept);
            } else {
                kept = known->second.Kept;
                up.Record = RecordOf(known->second.Url, known->second.ETag, *slot.Event, kept);
            }
            up.Uid = slot.Uid;
            const TICalCalendar calendar = EventCalendar(*slot.Event, slot.Uid, kept, nowUtc);
            codec.Write(&calendar, &up.Text);
            uploads.push_back(std::move(up));
        }
        for (const auto& [uid, record] : state_.Events)
            if (!present.count(uid))
                deletions.push_back(uid);
    }

private:
    struct TSlot {
        TReminders* Event;
        std::string Hash;
        std::string Uid; // of the record it is paired with; empty when none
        bool ChangedHere;
        bool Removed = false;
    };

    // Events and records paired: by what they say, else a changed event by its time
    // or its description as last synced.
    void Pair() {
        std::multimap<std::string, std::string> byHash;
        for (const auto& [uid, record] : state_.Events)
            if (!record.Hash.empty())
                byHash.emplace(record.Hash, uid);
        std::set<std::string> taken;
        for (TSlot& slot : slots_) {
            const auto [from, to] = byHash.equal_range(slot.Hash);
            for (auto it = from; it != to; ++it)
                if (taken.insert(it->second).second) {
                    slot.Uid = it->second;
                    break;
                }
        }
        const auto pairBy = [&](auto same) {
            for (const auto& [uid, record] : state_.Events) {
                if (taken.count(uid))
                    continue;
                for (TSlot& slot : slots_)
                    if (slot.Uid.empty() && same(*slot.Event, record)) {
                        slot.Uid = uid;
                        slot.ChangedHere = true;
                        taken.insert(uid);
                        break;
                    }
            }
        };
        pairBy([](const TReminders& e, const TCalendarRecord& r) {
            return CalendarMs(e.When) == CalendarMs(r.When);
        });
        pairBy([](const TReminders& e, const TCalendarRecord& r) {
            return TextValue(e.Description) == r.Title;
        });
        for (TSlot& slot : slots_) {
            const auto known = state_.Events.find(slot.Uid);
            slot.ChangedHere = known != state_.Events.end() && known->second.Hash != slot.Hash;
        }
    }

    TSlot* SlotOf(const std::string& uid) {
        for (TSlot& slot : slots_)
            if (slot.Uid == uid && !slot.Removed)
                return &slot;
        return nullptr;
    }

    TSlot* Unpaired(const std::string& hash) {
        for (TSlot& slot : slots_)
            if (slot.Uid.empty() && slot.Hash == hash && !slot.Removed)
                return &slot;
        return nullptr;
    }

    bool Add(const TReminders& e, const std::string& uid) {
        if (!HasRoomForEvent(diary_)) {
            if (complete_)
                result_.Notes.push_back(BookErrorMessage(
                    diary_.FileName, "is full: events of the server were left for later"));
            complete_ = false;
            return false;
        }
        TReminders* added = AddEvent(diary_, std::make_unique<TReminders>(e));
        slots_.push_back({added, EventHash(*added), uid, false});
        ++result_.Downloaded;
        changed_ = true;
        return true;
    }

    void Replace(TSlot& slot, const TReminders& incoming) {
        *slot.Event = incoming;
        slot.Hash = EventHash(incoming);
        slot.ChangedHere = false;
        ++result_.Downloaded;
        changed_ = true;
    }

    // The diary's version of an event both sides changed, kept as an event of its own.
    void KeepConflictCopy(const TReminders& e) {
        auto copy = std::make_unique<TReminders>(e);
        const std::string description(TextValue(e.Description));
        if (description.rfind(kDiaryConflictMark, 0) != 0)
            copy->SetDescription(kDiaryConflictMark + description);
        if (!HasRoomForEvent(diary_)) {
            complete_ = false;
            return;
        }
        TReminders* added = AddEvent(diary_, std::move(copy));
        slots_.push_back({added, EventHash(*added), std::string(), false});
        ++result_.Conflicts;
        changed_ = true;
    }

    TDiaryData& diary_;
    TCalendarState& state_;
    TSyncResult& result_;
    std::vector<TSlot> slots_;
    std::map<std::string, std::string> byUrl_;
    bool changed_ = false;
    bool complete_ = true;
};

const TSyncRoundKind<TCalendarState> kDiaryRound = {
    &ReadCalendarState, &WriteCalendarState, &DiscoverCalendar, "the diary", "event by event"};

class TDiaryRound : private TSyncRoundBase<TCalendarState> {
public:
    TDiaryRound(const std::string& path, const TSyncOptions& options, const TCalendarCodec& codec,
                IHttpClient& http, TSyncResult& result)
        : TSyncRoundBase(path, CalendarStatePath(path), options, http, result, kDiaryRound),
          codec_(codec) {}

    // One round; true when it asks for another (the server changed an event while
    // it was being sent).
    bool Run(bool first) {
        if (!Prepare(first))
            return false;
        TCardDavClient dav(http_, state_.Collection, kCalendarKind);
        std::vector<TServerEvent> events;
        std::vector<std::string> removed;
        std::string token;
        if (!FetchChanges(dav, events, removed, token))
            return false;
        std::vector<TCalendarUpload> uploads;
        std::vector<std::string> deletions;
        bool complete = true;
        if (!ChangeDiary([&](TDiaryReconciler& r) {
                for (const auto& url : removed)
                    r.ServerRemoved(url);
                for (const auto& e : events)
                    r.ServerChanged(e);
                r.Finish();
                r.Plan(state_.Collection, codec_, UtcNow(), uploads, deletions);
                complete = r.Complete();
            }))
            return false;
        if (complete && fetchedAll_)
            state_.Token = token;
        if (!SaveState())
            return false;
        const auto sameEvent = [&](const std::string& text, const std::string& hash) {
            TICalCalendar read;
            std::string error;
            if (!codec_.Read(&text, &read, &error))
                return false;
            const TImportedEvent imported = ImportEvent(read);
            return imported.Event && EventHash(*imported.Event) == hash;
        };
        const TCalendarSend sent = SendCalendarChanges(dav, uploads, deletions, state_, result_,
                                                       sameEvent, [&] { return SaveState(); });
        return sent.Ok && sent.Refused;
    }

private:
    bool FetchChanges(TCardDavClient& dav, std::vector<TServerEvent>& events,
                      std::vector<std::string>& removed, std::string& token) {
        std::map<std::string, std::string> known;
        for (const auto& [uid, record] : state_.Events)
            known[record.Url] = record.ETag;
        return TSyncRoundBase::FetchChanges(dav, known, removed, token, [&](TDavCard object) {
            TICalCalendar calendar;
            std::string error;
            TImportedEvent imported;
            if (codec_.Read(&object.Data, &calendar, &error))
                imported = ImportEvent(calendar);
            if (!imported.Event) {
                result_.Notes.push_back(object.Url + " holds no event; it was left alone");
                return;
            }
            events.push_back({object.Url, object.ETag, std::move(imported)});
        });
    }

    template <class F> bool ChangeDiary(F change) {
        TFileLock lock;
        if (!Lock(lock))
            return false;
        TDiaryLoad loaded = LoadDiary(path_, fs_);
        if (!loaded.Diary)
            return Fail(loaded.Message.empty() ? BookErrorMessage(path_, "could not be read")
                                               : loaded.Message);
        TDiaryData& diary = *loaded.Diary;
        TDiaryReconciler reconciler(diary, state_, result_);
        change(reconciler);
        if (!reconciler.Changed())
            return true;
        MarkChanged(diary, clock_);
        const TDiarySave saved = SaveDiary(diary, false, options_.Settings, fs_);
        if (saved.Ok)
            return true;
        return Fail(BookErrorMessage(path_, "could not be written: " + saved.Error));
    }

    const TCalendarCodec& codec_;
};

} // namespace

TSyncResult SyncDiary(const std::string& diaryPath, const TSyncOptions& options,
                      const TCalendarCodec& codec, IHttpClient& http) {
    TSyncResult result;
    result.Ok = true;
    if (!codec.Write || !codec.Read) {
        result.Ok = false;
        result.Failure = "this program cannot read or write calendars";
        return result;
    }
    for (int round = 0; round < 3; ++round) {
        TDiaryRound one(diaryPath, options, codec, http, result);
        if (!one.Run(round == 0))
            break;
    }
    return result;
}

} // namespace tessaly
