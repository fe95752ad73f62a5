#include "core/sync/sync_state.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace tessaly {

namespace {

constexpr const char* kFormat = "tessaly-sync";

} // namespace

std::string SyncStatePath(const std::string& bookPath) {
    return bookPath + ".sync";
}

namespace {

// A text as a JSON string. Texts from a server may hold bytes that are not UTF-8; they
// are replaced rather than make the state unwritable. URLs, ETags and hashes are
// plain ASCII nearly always, and go as they are.
void AppendString(std::string& out, const std::string& text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
    });
    if (plain) {
        out += '"';
        out += text;
        out += '"';
        return;
    }
    out += nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// A stamp in the shortest form that reads back to the same bits.
void AppendNumber(std::string& out, double value) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, written.ptr);
}

} // namespace

// Written by hand, a record a line: a book of thousands of entries writes its state
// several times a round.
std::string SyncStateText(const TSyncState& state) {
    std::string out;
    out.reserve(256 + state.Entries.size() * 160);
    out += "{\n \"format\": ";
    AppendString(out, kFormat);
    out += ",\n \"version\": " + std::to_string(kSyncStateVersion);
    out += ",\n \"server\": ";
    AppendString(out, state.Server);
    out += ",\n \"user\": ";
    AppendString(out, state.User);
    out += ",\n \"collection\": ";
    AppendString(out, state.Collection);
    out += ",\n \"token\": ";
    AppendString(out, state.Token);
    out += ",\n \"entries\": [";
    const char* separator = "\n  ";
    for (const auto& [stamp, r] : state.Entries) {
        out += separator;
        separator = ",\n  ";
        out += "{\"stamp\": ";
        AppendNumber(out, stamp);
        out += ", \"href\": ";
        AppendString(out, r.Url);
        out += ", \"etag\": ";
        AppendString(out, r.ETag);
        out += ", \"hash\": ";
        AppendString(out, r.Hash);
        if (!r.Stored.empty()) {
            out += ", \"stored\": ";
            AppendString(out, r.Stored);
        }
        out += '}';
    }
    out += state.Entries.empty() ? "]\n}\n" : "\n ]\n}\n";
    return out;
}

bool ParseSyncState(const std::string& text, TSyncState& state, std::string& why) {
    const auto j = nlohmann::json::parse(text, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        why = "it is not JSON";
        return false;
    }
    const auto text_of = [&](const nlohmann::json& o, const char* key, std::string& out) {
        const auto it = o.find(key);
        if (it == o.end() || !it->is_string())
            return false;
        out = it->get<std::string>();
        return true;
    };
    std::string format;
    if (!text_of(j, "format", format) || format != kFormat) {
        why = "it is not a sync state";
        return false;
    }
    const auto version = j.find("version");
    if (version == j.end() || !version->is_number_integer()) {
        why = "it has no version";
        return false;
    }
    if (version->get<long long>() != kSyncStateVersion) {
        why = "it is of version " + version->dump() + ", which this program does not know";
        return false;
    }
    TSyncState read;
    // States written before the user name was kept have none: the run then asks for it.
    if (j.contains("user") && !text_of(j, "user", read.User)) {
        why = "its user name is not a text";
        return false;
    }
    const auto entries = j.find("entries");
    if (!text_of(j, "server", read.Server) || !text_of(j, "collection", read.Collection) ||
        !text_of(j, "token", read.Token) || entries == j.end() || !entries->is_array()) {
        why = "a field is missing or of the wrong kind";
        return false;
    }
    for (const auto& e : *entries) {
        TSyncRecord r;
        const auto stamp = e.is_object() ? e.find("stamp") : e.end();
        if (!e.is_object() || stamp == e.end() || !stamp->is_number() ||
            !std::isfinite(stamp->get<double>()) || !text_of(e, "href", r.Url) ||
            !text_of(e, "etag", r.ETag) || !text_of(e, "hash", r.Hash) || r.Url.empty()) {
            why = "an entry's record is damaged";
            return false;
        }
        if (e.contains("stored") && !text_of(e, "stored", r.Stored)) {
            why = "an entry's record is damaged";
            return false;
        }
        if (!read.Entries.emplace(stamp->get<double>(), r).second) {
            why = "two records name one entry";
            return false;
        }
    }
    state = std::move(read);
    return true;
}

TSyncStateRead ReadSyncState(const std::string& path, TSyncState& state, std::string& why,
                             IFileSystem& fs) {
    return ReadStateFile(
        path,
        [&](const std::string& text, std::string& w) { return ParseSyncState(text, state, w); },
        why, fs);
}

bool WriteSyncState(const std::string& path, const TSyncState& state, std::string& why,
                    IFileSystem& fs) {
    return WriteStateFile(path, SyncStateText(state), why, fs);
}

} // namespace tessaly
