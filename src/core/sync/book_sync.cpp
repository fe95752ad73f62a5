#include "core/sync/book_sync.h"

#include "core/access/entries.h"
#include "core/common/hash.h"
#include "core/exchange/vcard_entry.h"
#include "core/exchange/vcard_kept.h"
#include "core/store/book_file.h"
#include "core/store/format.h"
#include "core/store/record.h"
#include "core/store/stamp.h"
#include "core/store/stream.h"
#include "core/sync/carddav_client.h"
#include "core/sync/contact_card.h"
#include "core/sync/dav_changes.h"
#include "core/sync/dav_url.h"
#include "core/sync/reminder_sync.h"
#include "core/sync/sync_round.h"
#include "core/sync/sync_state.h"
#include "core/system/file_lock.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

namespace tessaly {

namespace {

// A card of the server as the round has it.
struct TServerCard {
    std::string Url;
    std::string ETag;
    TVCard Card;
};

// What goes up after the book is written.
struct TUpload {
    TDateTime Stamp = 0;
    std::string Url;
    std::string IfMatch; // empty: a new card
    std::string Text;
    std::string Hash;
    std::string Stored; // StoredFingerprint of the entry sent
};

// A request refused because the card there is not the one it expected (412).
struct TRefused {
    TDateTime Stamp = 0;
    std::string Url;
    std::string Hash; // of the card sent; empty for a deletion
};

struct TDeletion {
    TDateTime Stamp = 0;
    std::string Url;
    std::string ETag;
};

bool HasProperty(const TVCard& card, std::string_view name) {
    return std::any_of(card.Properties.begin(), card.Properties.end(),
                       [&](const TVCardProperty& p) { return p.Is(name); });
}

// The round's work on one loaded book: the server's cards brought in, entries
// indexed by stamp and their hashes worked out once.
class TBookReconciler {
public:
    TBookReconciler(TBookData& book, TSyncState& state, TSyncResult& result, const IClock& clock)
        : book_(book), state_(state), result_(result), clock_(clock), context_(CardContext(book)) {
        std::vector<TRecord*> twins;
        for (int i = 0; i < book_.Entries.Count(); ++i)
            if (!byStamp_.emplace(book_.Entries.At(i)->Stamp, book_.Entries.At(i)).second)
                twins.push_back(book_.Entries.At(i));
        for (const auto& [stamp, record] : state_.Entries)
            byUrl_[record.Url] = stamp;
        // Two entries with one stamp would be one card on the server, each overwriting
        // the other: the later one becomes an entry of its own.
        for (TRecord* twin : twins) {
            twin->Stamp = FreshStamp();
            byStamp_.emplace(twin->Stamp, twin);
            changed_ = true;
        }
    }

    bool Changed() const { return changed_; }
    // False when a card could not be brought in (the book is full): the round then
    // keeps its old token, so that the server tells of the card again.
    bool Complete() const { return complete_; }

    // A card that is new or changed on the server.
    void ServerChanged(const TServerCard& sc) {
        const auto known = byUrl_.find(sc.Url);
        if (known != byUrl_.end()) {
            const TDateTime stamp = known->second;
            TRecord* entry = Entry(stamp);
            auto incoming = Import(sc.Card, stamp);
            const std::string serverHash = Hash(*incoming);
            if (!entry) {
                // Deleted here, changed there: the change wins.
                if (!AddEntry(std::move(incoming)))
                    return;
                ++result_.Downloaded;
            } else {
                const std::string localHash = HashOf(*entry);
                if (localHash != serverHash) {
                    if (localHash != state_.Entries[stamp].Hash)
                        KeepConflictCopy(*entry);
                    Replace(*entry, *incoming, sc.Card);
                    ++result_.Downloaded;
                }
            }
            Record(stamp, {sc.Url, sc.ETag, serverHash, std::string()});
            return;
        }
        // A card this book has not synced: one of its entries already (the state was
        // lost, or the round that sent or brought it was cut short), else a new one.
        if (TRecord* entry = Unsynced(sc.Card)) {
            const TDateTime stamp = entry->Stamp;
            auto incoming = Import(sc.Card, stamp);
            const std::string serverHash = Hash(*incoming);
            if (HashOf(*entry) != serverHash) {
                KeepConflictCopy(*entry);
                Replace(*entry, *incoming, sc.Card);
                ++result_.Downloaded;
            }
            Record(stamp, {sc.Url, sc.ETag, serverHash, std::string()});
            return;
        }
        auto incoming = Import(sc.Card, 0);
        if (incoming->Stamp == 0 || byStamp_.count(incoming->Stamp) ||
            state_.Entries.count(incoming->Stamp))
            incoming->Stamp = FreshStamp();
        if (!HasProperty(sc.Card, "X-TESSALY-DATES"))
            incoming->Created = incoming->Updated = clock_.Now();
        const TDateTime stamp = incoming->Stamp;
        const std::string serverHash = Hash(*incoming);
        if (!AddEntry(std::move(incoming)))
            return;
        ++result_.Downloaded;
        Record(stamp, {sc.Url, sc.ETag, serverHash, std::string()});
    }

    // A card the server no longer has.
    void ServerRemoved(const std::string& url) {
        const auto known = byUrl_.find(url);
        if (known == byUrl_.end())
            return;
        const TDateTime stamp = known->second;
        TRecord* entry = Entry(stamp);
        // Changed here since: kept, and sent again as a new card.
        if (entry && HashOf(*entry) == state_.Entries[stamp].Hash) {
            removed_.insert(stamp);
            byStamp_.erase(stamp);
            ++result_.DeletedLocally;
            changed_ = true;
        }
        state_.Entries.erase(stamp);
        byUrl_.erase(known);
    }

    // A card whose PUT found it changed (412): recorded against the entry it was
    // sent for, then brought in as a change of the server's.
    void ServerChangedUnder(TDateTime stamp, const TServerCard& sc) {
        // Sent as new but taken there: nothing known of the server's version.
        if (!state_.Entries.count(stamp))
            Record(stamp, {sc.Url, std::string(), std::string(), std::string()});
        ServerChanged(sc);
    }

    // Removes the entries the server deleted; the book is then ready to be written.
    void Finish() {
        if (removed_.empty())
            return;
        for (int i = book_.Entries.Count() - 1; i >= 0; --i)
            if (removed_.count(book_.Entries.At(i)->Stamp))
                book_.Entries.Delete(i);
        removed_.clear();
    }

    // What the book has that the server lacks or holds in an older version, and the
    // deletions made here that the server has still to make.
    void Plan(const std::string& collection, std::vector<TUpload>& uploads,
              std::vector<TDeletion>& deletions) {
        for (int i = 0; i < book_.Entries.Count(); ++i) {
            const TRecord& entry = *book_.Entries.At(i);
            const auto known = state_.Entries.find(entry.Stamp);
            const std::string stored = StoredFingerprint(entry);
            if (known != state_.Entries.end() && !stored.empty() && known->second.Stored == stored)
                continue;
            const TVCard card = ContactCard(entry, book_);
            const std::string hash = ContactHash(card);
            if (known != state_.Entries.end() && known->second.Hash == hash) {
                known->second.Stored = stored;
                continue;
            }
            TUpload up;
            up.Stamp = entry.Stamp;
            up.Text = WriteVCard(card);
            up.Hash = hash;
            up.Stored = stored;
            if (known != state_.Entries.end()) {
                up.Url = known->second.Url;
                up.IfMatch = known->second.ETag;
            } else {
                up.Url = collection + PathSegment(CardUid(card)) + ".vcf";
            }
            uploads.push_back(std::move(up));
        }
        for (const auto& [stamp, record] : state_.Entries)
            if (!byStamp_.count(stamp))
                deletions.push_back({stamp, record.Url, record.ETag});
    }

private:
    // What of the book an entry's card draws on besides the entry: the templates of its
    // addresses and the names of its categories.
    static std::string CardContext(const TBookData& book) {
        try {
            TStreamWriter w;
            book.Templates.Write(w, kBookVersion);
            book.Categories.Write(w, kBookVersion);
            const auto& bytes = w.Bytes();
            return Fnv1a64(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        } catch (const StreamError&) {
            return std::string();
        }
    }

    // The entry as the book stores it, with the context: empty when it cannot be told.
    std::string StoredFingerprint(const TRecord& entry) const {
        if (context_.empty())
            return std::string();
        try {
            TStreamWriter w;
            entry.Write(w, kBookVersion);
            const auto& bytes = w.Bytes();
            return context_ + ':' +
                   Fnv1a64(
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        } catch (const StreamError&) {
            return std::string();
        }
    }

    TRecord* Entry(TDateTime stamp) const {
        const auto it = byStamp_.find(stamp);
        return it == byStamp_.end() ? nullptr : it->second;
    }

    std::unique_ptr<TRecord> Import(const TVCard& card, TDateTime stamp) {
        TVCardImportOptions options;
        options.Today = clock_.Now();
        auto entry = VCardToEntry(card, book_, options);
        if (stamp != 0)
            entry->Stamp = stamp;
        return entry;
    }

    std::string Hash(const TRecord& entry) const { return ContactHash(ContactCard(entry, book_)); }

    const std::string& HashOf(const TRecord& entry) {
        auto it = hashes_.find(entry.Stamp);
        if (it == hashes_.end())
            it = hashes_.emplace(entry.Stamp, Hash(entry)).first;
        return it->second;
    }

    TDateTime FreshStamp() {
        TDateTime stamp = NewStamp();
        while (byStamp_.count(stamp) || state_.Entries.count(stamp))
            stamp = NewStamp();
        return stamp;
    }

    void Record(TDateTime stamp, TSyncRecord record) {
        const auto old = state_.Entries.find(stamp);
        if (old != state_.Entries.end() && old->second.Url != record.Url)
            byUrl_.erase(old->second.Url);
        byUrl_[record.Url] = stamp;
        state_.Entries[stamp] = std::move(record);
    }

    bool AddEntry(std::unique_ptr<TRecord> entry) {
        if (!HasRoomForEntry(book_)) {
            if (complete_)
                result_.Notes.push_back(BookErrorMessage(
                    book_.FileName, "is full: cards of the server were left for later"));
            complete_ = false;
            return false;
        }
        TRecord* added = book_.Entries.Add(std::move(entry));
        byStamp_[added->Stamp] = added;
        hashes_.erase(added->Stamp);
        changed_ = true;
        return true;
    }

    void Replace(TRecord& entry, TRecord& incoming, const TVCard& card) {
        if (!HasProperty(card, "X-TESSALY-DATES")) {
            incoming.Created = entry.Created;
            incoming.Updated = clock_.Now();
        }
        incoming.Stamp = entry.Stamp;
        AssignEntry(entry, incoming, false, clock_);
        hashes_.erase(entry.Stamp);
        changed_ = true;
    }

    // The local version of an entry both sides changed, as a new tagged entry in
    // "Sync Conflicts". It takes a UID of its own: the card's, kept in its notes, is
    // the original's.
    void KeepConflictCopy(const TRecord& entry) {
        auto copy = std::make_unique<TRecord>(entry);
        copy->Stamp = FreshStamp();
        copy->Tagged = 1;
        std::vector<TVCardKept> kept = KeptOfNotes(copy->Notes());
        std::erase_if(kept,
                      [](const TVCardKept& k) { return ParsePropertyLine(k.Line).Is("UID"); });
        copy->SetNotes(NotesWithKept(NotesWithoutKept(copy->Notes()), kept));
        int category = book_.Categories.FindCategoryByName(kSyncConflictsCategory);
        if (category < 0)
            category = book_.Categories.AddCategory(kSyncConflictsCategory, false);
        const int id = book_.Categories.CategoryId(category);
        if (category >= 0 && copy->CategoriesInUse.FindMembership(id) < 0)
            copy->CategoriesInUse.AddMembership(id);
        if (AddEntry(std::move(copy)))
            ++result_.Conflicts;
    }

    // An entry the state does not know whose card is this one: by UID, else by content.
    TRecord* Unsynced(const TVCard& card) {
        if (!indexed_) {
            indexed_ = true;
            for (const auto& [stamp, entry] : byStamp_) {
                if (state_.Entries.count(stamp))
                    continue;
                const TVCard own = ContactCard(*entry, book_);
                byUid_.emplace(CardUid(own), stamp);
                byHash_.emplace(ContactHash(own), stamp);
            }
        }
        const auto free = [&](const std::multimap<std::string, TDateTime>& index,
                              const std::string& key) -> TRecord* {
            const auto [from, to] = index.equal_range(key);
            for (auto it = from; it != to; ++it)
                if (!state_.Entries.count(it->second))
                    if (TRecord* entry = Entry(it->second))
                        return entry;
            return nullptr;
        };
        const std::string uid = CardUid(card);
        if (!uid.empty())
            if (TRecord* entry = free(byUid_, uid))
                return entry;
        // By content: the card as this book would read it, whatever stamp it takes.
        auto probe = Import(card, 0);
        return free(byHash_, Hash(*probe));
    }

    TBookData& book_;
    TSyncState& state_;
    TSyncResult& result_;
    const IClock& clock_;
    const std::string context_;
    std::map<TDateTime, TRecord*> byStamp_;
    std::map<std::string, TDateTime> byUrl_;
    std::map<TDateTime, std::string> hashes_;
    std::set<TDateTime> removed_;
    bool indexed_ = false;
    std::multimap<std::string, TDateTime> byUid_;
    std::multimap<std::string, TDateTime> byHash_;
    bool changed_ = false;
    bool complete_ = true;
};

const TSyncRoundKind<TSyncState> kBookRound = {&ReadSyncState, &WriteSyncState,
                                               &DiscoverAddressBook, "the book", "card by card"};

class TSyncRound : private TSyncRoundBase<TSyncState> {
public:
    TSyncRound(const std::string& path, const TSyncOptions& options, IHttpClient& http,
               TSyncResult& result)
        : TSyncRoundBase(path, SyncStatePath(path), options, http, result, kBookRound) {}

    // One round; true when it asks for another (a conflict found while sending made a
    // copy that is still to go up).
    bool Run(bool first) {
        if (!Prepare(first))
            return false;
        TCardDavClient dav(http_, state_.Collection);
        std::vector<TServerCard> cards;
        std::vector<std::string> removed;
        std::string token;
        if (!FetchChanges(dav, cards, removed, token))
            return false;
        std::vector<TUpload> uploads;
        std::vector<TDeletion> deletions;
        bool complete = true;
        const bool applied = ChangeBook([&](TBookReconciler& r) {
            for (const auto& url : removed)
                r.ServerRemoved(url);
            for (const auto& card : cards)
                r.ServerChanged(card);
            r.Finish();
            r.Plan(state_.Collection, uploads, deletions);
            complete = r.Complete();
        });
        if (!applied)
            return false;
        if (complete && fetchedAll_)
            state_.Token = token;
        if (!SaveState())
            return false;
        std::vector<std::pair<TDateTime, TServerCard>> changedThere;
        if (!Send(dav, uploads, deletions, changedThere))
            return false;
        if (changedThere.empty())
            return false;
        // The server changed what was sent meanwhile: brought in as its changes are.
        const int conflicts = result_.Conflicts;
        if (!ChangeBook([&](TBookReconciler& r) {
                for (const auto& [stamp, card] : changedThere)
                    r.ServerChangedUnder(stamp, card);
                r.Finish();
            }))
            return false;
        if (!SaveState())
            return false;
        return result_.Conflicts > conflicts;
    }

private:
    bool FetchChanges(TCardDavClient& dav, std::vector<TServerCard>& cards,
                      std::vector<std::string>& removed, std::string& token) {
        std::map<std::string, std::string> known; // URL -> ETag of the state
        for (const auto& [stamp, record] : state_.Entries)
            known[record.Url] = record.ETag;
        return TSyncRoundBase::FetchChanges(dav, known, removed, token,
                                            [&](TDavCard got) { AddCard(std::move(got), cards); });
    }

    void AddCard(TDavCard got, std::vector<TServerCard>& cards) {
        TVCardReadResult read = ReadVCards(got.Data);
        if (read.Cards.empty()) {
            result_.Notes.push_back(got.Url + " holds no vCard; it was left alone");
            return;
        }
        cards.push_back({got.Url, got.ETag, std::move(read.Cards.front())});
    }

    // Reads the book under its writers' lock, lets `change` work on it and writes it
    // when it changed, as tessaly-cli "add" does.
    template <class F> bool ChangeBook(F change) {
        TFileLock lock;
        if (!Lock(lock))
            return false;
        TLoadResult loaded = LoadBook(path_, options_.Settings, fs_);
        if (!loaded.Book)
            return Fail(loaded.Message.empty() ? BookErrorMessage(path_, "could not be read")
                                               : loaded.Message);
        TBookData& book = *loaded.Book;
        TBookReconciler reconciler(book, state_, result_, clock_);
        change(reconciler);
        if (!reconciler.Changed())
            return true;
        MarkChanged(book, clock_);
        TSaveOptions save;
        save.FileSystem = &fs_;
        const TSaveResult saved = SaveBook(book, false, options_.Settings, save);
        if (saved.Ok)
            return true;
        // Nothing the state says of this round holds: it is read again next time.
        if (saved.ChangedOnDisk)
            return Fail(BookErrorMessage(path_, "was changed by another program meanwhile; it "
                                                "was not synced. Try again."));
        return Fail(BookErrorMessage(path_, "could not be written: " + saved.Error));
    }

    static bool Stops(int status) { return status == 0 || status >= 500; }

    bool Send(TCardDavClient& dav, const std::vector<TUpload>& uploads,
              const std::vector<TDeletion>& deletions,
              std::vector<std::pair<TDateTime, TServerCard>>& changedThere) {
        std::vector<std::pair<TDateTime, std::string>> unconfirmed; // written, no ETag
        std::vector<TRefused> recheck;                              // changed there
        std::size_t sinceSave = 0;
        const auto progress = [&]() {
            if (++sinceSave < std::max<std::size_t>(1, options_.StateSaveEvery))
                return true;
            sinceSave = 0;
            return SaveState();
        };
        for (const auto& up : uploads) {
            TDavPut put = dav.PutCard(up.Url, up.Text, up.IfMatch);
            if (put.Status == 404 && !up.IfMatch.empty()) // gone there, changed here
                put = dav.PutCard(up.Url, up.Text, std::string());
            if (put.Written()) {
                ++result_.Uploaded;
                state_.Entries[up.Stamp] = {up.Url, put.ETag, up.Hash, up.Stored};
                if (put.ETag.empty())
                    unconfirmed.emplace_back(up.Stamp, up.Url);
            } else if (put.Status == 412) {
                recheck.push_back({up.Stamp, up.Url, up.Hash});
            } else if (Stops(put.Status)) {
                SaveState();
                return Fail(put.Failure.Text);
            } else {
                result_.Notes.push_back("the server refused an entry's card: " + put.Failure.Text);
            }
            if (!progress())
                return false;
        }
        for (const auto& del : deletions) {
            TDavFailure failure;
            const int status = dav.DeleteCard(del.Url, del.ETag, failure);
            if ((status >= 200 && status <= 299) || status == 404) {
                if (status != 404)
                    ++result_.DeletedOnServer;
                state_.Entries.erase(del.Stamp);
            } else if (status == 412) {
                recheck.push_back({del.Stamp, del.Url, std::string()});
            } else if (Stops(status)) {
                SaveState();
                return Fail(failure.Text);
            } else {
                result_.Notes.push_back("the server refused a deletion: " + failure.Text);
            }
            if (!progress())
                return false;
        }
        if (!Confirm(dav, unconfirmed) || !Recheck(dav, recheck, changedThere))
            return false;
        return SaveState();
    }

    // The ETags of cards written without one: fetched, and taken when the card is the
    // one sent; else left unknown, so that the next round compares the cards.
    bool Confirm(TCardDavClient& dav, const std::vector<std::pair<TDateTime, std::string>>& sent) {
        std::unique_ptr<TBookData> scratch;
        const std::size_t batch = std::max<std::size_t>(1, options_.FetchBatch);
        for (std::size_t from = 0; from < sent.size(); from += batch) {
            std::map<std::string, TDateTime> stampOf;
            std::vector<std::string> urls;
            for (std::size_t i = from; i < std::min(sent.size(), from + batch); ++i) {
                stampOf[sent[i].second] = sent[i].first;
                urls.push_back(sent[i].second);
            }
            std::vector<TDavCard> got;
            std::vector<std::string> missing;
            TDavFailure failure;
            if (!dav.FetchCards(urls, got, missing, failure)) {
                SaveState();
                return Fail(failure.Text);
            }
            for (const auto& card : got) {
                const auto it = stampOf.find(card.Url);
                if (it == stampOf.end() || card.ETag.empty())
                    continue;
                TSyncRecord& record = state_.Entries[it->second];
                if (SameCard(card.Data, record.Hash, it->second, scratch))
                    record.ETag = card.ETag;
            }
        }
        return true;
    }

    // Whether a server's card says what the entry said when it was sent.
    // `book` is the book as read for the comparison, read at the first call.
    bool SameCard(const std::string& data, const std::string& hash, TDateTime stamp,
                  std::unique_ptr<TBookData>& book) {
        const TVCardReadResult read = ReadVCards(data);
        if (read.Cards.empty())
            return false;
        if (!book) {
            TLoadResult loaded = LoadBook(path_, options_.Settings, fs_);
            if (!loaded.Book)
                return false;
            book = std::move(loaded.Book);
        }
        TVCardImportOptions import;
        import.Today = clock_.Now();
        import.AddCategories = false;
        auto entry = VCardToEntry(read.Cards.front(), *book, import);
        entry->Stamp = stamp;
        return ContactHash(ContactCard(*entry, *book)) == hash;
    }

    // The cards of refused requests. One that already says what was sent (a request
    // sent again after the server had carried it out) counts as written; the others
    // are brought in as the server's changes.
    bool Recheck(TCardDavClient& dav, const std::vector<TRefused>& refused,
                 std::vector<std::pair<TDateTime, TServerCard>>& changedThere) {
        std::unique_ptr<TBookData> scratch;
        for (const auto& [stamp, url, hash] : refused) {
            TDavCard card;
            TDavFailure failure;
            const int status = dav.GetCard(url, card, failure);
            if (status == 404) {
                // Gone after all: a change here is sent as new next round.
                state_.Entries.erase(stamp);
                continue;
            }
            if (status != 200) {
                SaveState();
                return Fail(failure.Text);
            }
            if (!hash.empty() && SameCard(card.Data, hash, stamp, scratch)) {
                ++result_.Uploaded;
                state_.Entries[stamp] = {url, card.ETag, hash, std::string()};
                continue;
            }
            TVCardReadResult read = ReadVCards(card.Data);
            if (read.Cards.empty()) {
                result_.Notes.push_back(url + " holds no vCard; it was left alone");
                continue;
            }
            changedThere.push_back({stamp, {url, card.ETag, std::move(read.Cards.front())}});
        }
        return true;
    }
};

} // namespace

TSyncResult SyncBook(const std::string& bookPath, const TSyncOptions& options, IHttpClient& http) {
    TSyncResult result;
    result.Ok = true;
    // A conflict met while sending leaves a copy to send: a further round sends it.
    for (int round = 0; round < 3; ++round) {
        TSyncRound one(bookPath, options, http, result);
        if (!one.Run(round == 0))
            break;
    }
    if (result.Ok && options.ICalWriter) {
        TSyncState state;
        std::string why;
        IFileSystem& fs = options.FileSystem ? *options.FileSystem : RealFileSystem();
        if (ReadSyncState(SyncStatePath(bookPath), state, why, fs) == TSyncStateRead::Read) {
            const TSyncResult reminders =
                SyncBookReminders(bookPath, state.Server, options, options.ICalWriter, http);
            result.RemindersCalendar = reminders.Collection;
            result.RemindersUploaded = reminders.Uploaded;
            result.RemindersDeleted = reminders.DeletedOnServer;
            result.Notes.insert(result.Notes.end(), reminders.Notes.begin(), reminders.Notes.end());
            if (!reminders.Ok) {
                result.Ok = false;
                result.Failure = "the reminders' calendar: " + reminders.Failure;
            }
        }
    }
    return result;
}

std::string SyncResultText(const TSyncResult& r) {
    std::string text =
        "Uploaded " + std::to_string(r.Uploaded) + ", downloaded " + std::to_string(r.Downloaded) +
        ", deleted here " + std::to_string(r.DeletedLocally) + ", deleted on the server " +
        std::to_string(r.DeletedOnServer) + ", conflicts " + std::to_string(r.Conflicts);
    if (!r.RemindersCalendar.empty())
        text += "\nReminders in " + r.RemindersCalendar + ": uploaded " +
                std::to_string(r.RemindersUploaded) + ", deleted on the server " +
                std::to_string(r.RemindersDeleted);
    return text;
}

} // namespace tessaly
