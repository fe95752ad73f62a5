#pragma once
// What a round of a book and a round of a diary with a server do alike: the state read
// and made ready (a damaged one set aside, another server started afresh, the
// collection found or made), the server's changes listed and fetched in batches, the
// file locked against other writers while it changes, the state written, and the
// first failure kept as the round's.

#include "core/store/book_file.h"
#include "core/sync/book_sync.h"
#include "core/sync/carddav_client.h"
#include "core/sync/dav_changes.h"
#include "core/sync/state_file.h"
#include "core/system/file_lock.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tessaly {

// Marks the round failed; the first reason given is the one kept. Always false.
inline bool FailSync(TSyncResult& result, std::string why) {
    result.Ok = false;
    if (result.Failure.empty())
        result.Failure = std::move(why);
    return false;
}

// How a kind of file keeps its state and finds its collection.
template <class TState> struct TSyncRoundKind {
    TStateFileRead (*Read)(const std::string&, TState&, std::string&, IFileSystem&);
    bool (*Write)(const std::string&, const TState&, std::string&, IFileSystem&);
    TDiscovery (*Discover)(IHttpClient&, const std::string& server, const std::string& name);
    const char* Owner;      // "the book"
    const char* ComparedBy; // how a round without a state compares: "card by card"
};

template <class TState> class TSyncRoundBase {
protected:
    TSyncRoundBase(const std::string& path, std::string statePath, const TSyncOptions& options,
                   IHttpClient& http, TSyncResult& result, const TSyncRoundKind<TState>& kind)
        : path_(path), statePath_(std::move(statePath)), options_(options), http_(http),
          result_(result), fs_(options.FileSystem ? *options.FileSystem : RealFileSystem()),
          clock_(options.Clock ? *options.Clock : SystemClock::Instance()), kind_(kind) {}

    bool Fail(std::string why) { return FailSync(result_, std::move(why)); }

    // The state as the round starts from it, with the collection to sync with.
    bool Prepare(bool first) {
        std::string why;
        switch (kind_.Read(statePath_, state_, why, fs_)) {
        case TStateFileRead::Read:
            break;
        case TStateFileRead::Missing:
            state_ = TState();
            break;
        case TStateFileRead::Damaged:
            if (first)
                result_.Notes.push_back(std::filesystem::path(statePath_).filename().string() +
                                        " was set aside (" + why + "): " + kind_.Owner +
                                        " and the server are compared " + kind_.ComparedBy);
            state_ = TState();
            break;
        }
        if (!options_.Server.empty() && options_.Server != state_.Server) {
            state_ = TState();
            state_.Server = options_.Server;
        }
        if constexpr (requires { state_.User; })
            if (!options_.User.empty())
                state_.User = options_.User;
        if (state_.Server.empty())
            return Fail(
                BookErrorMessage(path_, "has not been synced yet: give the server's address"));
        if (state_.Collection.empty()) {
            const TDiscovery found =
                kind_.Discover(http_, state_.Server, std::filesystem::path(path_).stem().string());
            if (!found.Ok)
                return Fail(found.Failure);
            state_.Collection = found.Collection;
            result_.CreatedCollection = result_.CreatedCollection || found.Created;
        }
        result_.Collection = state_.Collection;
        return true;
    }

    // The server's changes since the state's token, compared with `known` (URL ->
    // ETag); `take` gets each object fetched. fetchedAll_ says whether every object
    // listed could be fetched.
    template <class F>
    bool FetchChanges(TCardDavClient& dav, const std::map<std::string, std::string>& known,
                      std::vector<std::string>& removed, std::string& token, F take) {
        const TDavListing listing = ListChanges(dav, state_.Token, known);
        if (!listing.Ok)
            return Fail(listing.Failure);
        removed = listing.Removed;
        token = listing.Token;
        fetchedAll_ = true;
        const std::size_t batch = std::max<std::size_t>(1, options_.FetchBatch);
        for (std::size_t from = 0; from < listing.Wanted.size(); from += batch) {
            std::vector<std::string> urls;
            for (std::size_t i = from; i < std::min(listing.Wanted.size(), from + batch); ++i)
                urls.push_back(listing.Wanted[i].Url);
            std::vector<TDavCard> got;
            std::vector<std::string> missing;
            TDavFailure failure;
            if (!dav.FetchCards(urls, got, missing, failure))
                return Fail(failure.Text);
            // Gone between the listing and the fetch: the next round hears of it.
            if (!missing.empty())
                fetchedAll_ = false;
            for (auto& object : got)
                take(std::move(object));
        }
        return true;
    }

    // The file's writers' lock, waited for as the options say.
    bool Lock(TFileLock& lock) {
        if (lock.Acquire(path_, std::chrono::seconds(options_.LockWaitSeconds)))
            return true;
        return Fail(BookErrorMessage(
            path_, "is being changed by another program; it was not synced. Try again later."));
    }

    bool SaveState() {
        std::string why;
        if (kind_.Write(statePath_, state_, why, fs_))
            return true;
        return Fail(BookErrorMessage(statePath_, "could not be written: " + why));
    }

    const std::string& path_;
    const std::string statePath_;
    const TSyncOptions& options_;
    IHttpClient& http_;
    TSyncResult& result_;
    IFileSystem& fs_;
    const IClock& clock_;
    TState state_;
    bool fetchedAll_ = false;

private:
    const TSyncRoundKind<TState>& kind_;
};

} // namespace tessaly
