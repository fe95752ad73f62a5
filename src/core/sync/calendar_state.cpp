#include "core/sync/calendar_state.h"

#include "core/common/codepage.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace tessaly {

namespace {

constexpr const char* kFormat = "tessaly-calendar-sync";
constexpr int kVersion = 1;

using TJson = nlohmann::ordered_json;

bool TextOf(const nlohmann::json& o, const char* key, std::string& out) {
    const auto it = o.find(key);
    if (it == o.end() || !it->is_string())
        return false;
    out = it->get<std::string>();
    return true;
}

bool TextsOf(const nlohmann::json& o, const char* key, std::vector<std::string>& out) {
    const auto it = o.find(key);
    if (it == o.end())
        return true;
    if (!it->is_array())
        return false;
    for (const auto& t : *it) {
        if (!t.is_string())
            return false;
        out.push_back(t.get<std::string>());
    }
    return true;
}

} // namespace

std::string CalendarStatePath(const std::string& diaryPath) {
    return diaryPath + ".sync";
}

std::string CalendarStateText(const TCalendarState& state) {
    TJson j;
    j["format"] = kFormat;
    j["version"] = kVersion;
    j["server"] = state.Server;
    j["collection"] = state.Collection;
    j["token"] = state.Token;
    auto events = TJson::array();
    for (const auto& [uid, r] : state.Events) {
        TJson e = {{"uid", uid},     {"href", r.Url},  {"etag", r.ETag},
                   {"hash", r.Hash}, {"when", r.When}, {"title", Cp1252ToUtf8(r.Title)}};
        if (!r.Kept.Lines.empty())
            e["lines"] = r.Kept.Lines;
        if (!r.Kept.Components.empty())
            e["components"] = r.Kept.Components;
        if (!r.Kept.Outer.empty())
            e["outer"] = r.Kept.Outer;
        if (!r.Kept.Summary.empty())
            e["summary"] = r.Kept.Summary;
        if (!r.Kept.Description.empty())
            e["description"] = r.Kept.Description;
        if (!r.Kept.Series.empty())
            e["series"] = r.Kept.Series;
        events.push_back(std::move(e));
    }
    j["events"] = std::move(events);
    return j.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + '\n';
}

bool ParseCalendarState(const std::string& text, TCalendarState& state, std::string& why) {
    const auto j = nlohmann::json::parse(text, nullptr, false);
    std::string format;
    if (j.is_discarded() || !j.is_object() || !TextOf(j, "format", format) || format != kFormat) {
        why = "it is not a calendar sync state";
        return false;
    }
    const auto version = j.find("version");
    if (version == j.end() || !version->is_number_integer() ||
        version->get<long long>() != kVersion) {
        why = "it is of a version this program does not know";
        return false;
    }
    TCalendarState read;
    const auto events = j.find("events");
    if (!TextOf(j, "server", read.Server) || !TextOf(j, "collection", read.Collection) ||
        !TextOf(j, "token", read.Token) || events == j.end() || !events->is_array()) {
        why = "a field is missing or of the wrong kind";
        return false;
    }
    for (const auto& e : *events) {
        TCalendarRecord r;
        std::string uid;
        std::string title;
        const auto when = e.is_object() ? e.find("when") : e.end();
        if (!e.is_object() || when == e.end() || !when->is_number() ||
            !std::isfinite(when->get<double>()) || !TextOf(e, "uid", uid) ||
            !TextOf(e, "href", r.Url) || !TextOf(e, "etag", r.ETag) || !TextOf(e, "hash", r.Hash) ||
            !TextOf(e, "title", title) || r.Url.empty() || !TextsOf(e, "lines", r.Kept.Lines) ||
            !TextsOf(e, "components", r.Kept.Components) || !TextsOf(e, "outer", r.Kept.Outer)) {
            why = "an event's record is damaged";
            return false;
        }
        r.When = when->get<double>();
        r.Title = Utf8ToCp1252(title);
        TextOf(e, "summary", r.Kept.Summary);
        TextOf(e, "description", r.Kept.Description);
        TextOf(e, "series", r.Kept.Series);
        if (!read.Events.emplace(uid, std::move(r)).second) {
            why = "two records name one event";
            return false;
        }
    }
    state = std::move(read);
    return true;
}

TCalendarStateRead ReadCalendarState(const std::string& path, TCalendarState& state,
                                     std::string& why, IFileSystem& fs) {
    return ReadStateFile(
        path,
        [&](const std::string& text, std::string& w) { return ParseCalendarState(text, state, w); },
        why, fs);
}

bool WriteCalendarState(const std::string& path, const TCalendarState& state, std::string& why,
                        IFileSystem& fs) {
    return WriteStateFile(path, CalendarStateText(state), why, fs);
}

} // namespace tessaly
