#include "cli/book_json.h"

#include "core/common/codepage.h"

#include <algorithm>
#include <array>
#include <concepts>
#include <cstdint>
#include <set>
#include <string_view>
#include <type_traits>
#include <vector>

namespace tessaly {

namespace {

// C is T, const or not: one field list serves both directions.
template <class C, class T>
concept Of = std::same_as<std::remove_const_t<C>, T>;

// The items of a list with header fields, seen as the plain list they are.
template <class T> TMyList<T>& ItemsOf(TMyList<T>& list) {
    return list;
}
template <class T> const TMyList<T>& ItemsOf(const TMyList<T>& list) {
    return list;
}

// The stored fields of every class, in declaration order. Runtime-only fields
// (Deleted, Modified, ChangeCount, FileName, WorkRecord, UndoList) are not listed.

template <class V, Of<TCategoryInUse> C> void VisitFields(V& v, C& c) {
    v("CategoryId", c.CategoryId);
}

template <class V, Of<TIndex> C> void VisitFields(V& v, C& k) {
    v("Code", k.Code);
    v("SortBy", k.SortBy);
}

template <class V, Of<TCategory> C> void VisitFields(V& v, C& c) {
    v("Name", c.Name);
    v("Id", c.Id);
    v("Default", c.Default);
}

template <class V, Of<TCategoryList> C> void VisitFields(V& v, C& list) {
    v("NextId", list.NextId);
    v("Items", ItemsOf(list));
}

template <class V, Of<TTemplate> C> void VisitFields(V& v, C& t) {
    v("Name", t.Name);
    v("Captions", t.Captions);
    v("Shown", t.Shown);
    v("ButtonKinds", t.ButtonKinds);
    v("Id", t.Id);
    v("IncludeForNew", t.IncludeForNew);
    v("TemplateFlag", t.TemplateFlag);
    v("AddressFormat", t.AddressFormat);
}

template <class V, Of<TTemplateList> C> void VisitFields(V& v, C& list) {
    v("NextId", list.NextId);
    v("BaseIndex", list.BaseIndex);
    v("Items", ItemsOf(list));
}

template <class V, Of<TRule> C> void VisitFields(V& v, C& rule) {
    v("FieldNo", rule.FieldNo);
    v("TemplateNo", rule.TemplateNo);
    v("IsText", rule.IsText);
    v("Text", rule.Text);
    v("MatchCase", rule.MatchCase);
    v("WholeWords", rule.WholeWords);
    v("FromDate", rule.FromDate);
    v("ToDate", rule.ToDate);
}

template <class V, Of<TFilter> C> void VisitFields(V& v, C& f) {
    v("Name", f.Name);
    v("StartsWithOn", f.StartsWithOn);
    v("StartsWith", f.StartsWith);
    v("CategoriesOn", f.CategoriesOn);
    v("AnyCategory", f.AnyCategory);
    v("CategoriesInUse", f.CategoriesInUse);
    v("ExcludeTagged", f.ExcludeTagged);
    v("ExcludeUntagged", f.ExcludeUntagged);
    v("ExcludeNoDueReminders", f.ExcludeNoDueReminders);
    v("ExcludeNoAttachments", f.ExcludeNoAttachments);
    v("Rules", f.Rules);
}

template <class V, Of<TFilterList> C> void VisitFields(V& v, C& list) {
    v("ActiveName", list.ActiveName);
    v("HeaderWidths", list.HeaderWidths);
    v("Items", ItemsOf(list));
}

template <class V, Of<TAddress> C> void VisitFields(V& v, C& a) {
    v("TemplateId", a.TemplateId);
    v("AddressFlag", a.AddressFlag);
    v("Fields", a.Fields);
    v("UseDefaultDialling", a.UseDefaultDialling);
    v("PrefixOn", a.PrefixOn);
    v("ChargeCard", a.ChargeCard);
    v("LogCall", a.LogCall);
    v("Prefix", a.Prefix);
}

template <class V, Of<TReminders> C> void VisitFields(V& v, C& e) {
    v("AlarmTime", e.AlarmTime);
    v("When", e.When);
    v("Until", e.Until);
    v("Completed", e.Completed);
    v("AlarmSet", e.AlarmSet);
    v("NoTime", e.NoTime);
    v("Frequency", e.Frequency);
    v("Interval", e.Interval);
    v("AdvanceDays", e.AdvanceDays);
    v("Priority", e.Priority);
    v("Description", e.Description);
    v("Notes", e.Notes);
}

template <class V, Of<TDocument> C> void VisitFields(V& v, C& d) {
    v("Description", d.Description);
    v("FileName", d.FileName);
    v("IsDocument", d.IsDocument);
}

template <class V, Of<TLog> C> void VisitFields(V& v, C& log) {
    v("Start", log.Start);
    v("End", log.End);
    v("Number", log.Number);
    v("Comment", log.Comment);
}

template <class V, Of<TRecord> C> void VisitFields(V& v, C& e) {
    v("Stamp", e.Stamp);
    v("UseDefaultKeys", e.UseDefaultKeys);
    v("NameFields", e.NameFields);
    v("Created", e.Created);
    v("Updated", e.Updated);
    v("LastCalled", e.LastCalled);
    v("Tagged", e.Tagged);
    v("CategoriesInUse", e.CategoriesInUse);
    v("Keys", e.Keys);
    v("Addresses", e.Addresses);
    v("Reminders", e.Reminders);
    v("Attachments", e.Attachments);
    v("CallLogs", e.CallLogs);
}

template <class V, Of<TBookData> C> void VisitFields(V& v, C& b) {
    v("Version", b.Version);
    v("AttachmentView", b.AttachmentView);
    v("AttachmentsByDescription", b.AttachmentsByDescription);
    v("ListWidth", b.ListWidth);
    v("TitleWidth", b.TitleWidth);
    v("NamePanelWidth", b.NamePanelWidth);
    v("ActivePage", b.ActivePage);
    v("Created", b.Created);
    v("LastUpdated", b.LastUpdated);
    v("WindowState", b.WindowState);
    v("ShowCompleted", b.ShowCompleted);
    v("ShowNotes", b.ShowNotes);
    v("SortOrder", b.SortOrder);
    v("WindowBounds", b.WindowBounds);
    v("ListItemIndex", b.ListItemIndex);
    v("ListTopIndex", b.ListTopIndex);
    v("ColumnWidths", b.ColumnWidths);
    v("Searches", b.Searches);
    v("PageCaptions", b.PageCaptions);
    v("Entries", b.Entries);
    v("Categories", b.Categories);
    v("IndexKeys", b.IndexKeys);
    v("InsertFields", b.InsertFields);
    v("InsertBlankFields", b.InsertBlankFields);
    v("LabelPhoneFields", b.LabelPhoneFields);
    v("Templates", b.Templates);
}

// The diary's stored fields in the order of its file.
template <class V, Of<TDiaryData> C> void VisitFields(V& v, C& d) {
    v("Version", d.Version);
    v("WindowState", d.WindowState);
    v("WindowBounds", d.WindowBounds);
    v("ShowCompleted", d.ShowCompleted);
    v("ShowRecurring", d.ShowRecurring);
    v("ShowNotes", d.ShowNotes);
    v("SortOrder", d.SortOrder);
    v("Created", d.Created);
    v("LastUpdated", d.LastUpdated);
    v("ColumnWidths", d.ColumnWidths);
    v("Events", d.Events);
}

// ---- book to JSON ---------------------------------------------------------------

class TJsonWriter {
public:
    template <class T> void operator()(const char* key, const T& value) {
        object_[key] = Put(value);
    }

    template <class C> static TJson PutObject(const C& c) {
        TJsonWriter w;
        VisitFields(w, c);
        return std::move(w.object_);
    }

private:
    static TJson Put(const Text& t) { return t ? TJson(Cp1252ToUtf8(*t)) : TJson(nullptr); }
    // The 256-byte short string of a rule: its characters, whatever they are.
    static TJson Put(const std::string& s) { return TJson(Cp1252ToUtf8(s)); }
    static TJson Put(std::uint8_t v) { return TJson(static_cast<int>(v)); }
    static TJson Put(std::int16_t v) { return TJson(static_cast<int>(v)); }
    static TJson Put(std::int32_t v) { return TJson(v); }
    // Date-times and stamps. The JSON library prints the shortest text that reads back
    // to the identical double.
    static TJson Put(double v) { return TJson(v); }
    template <class T, std::size_t N> static TJson Put(const std::array<T, N>& values) {
        TJson array = TJson::array();
        for (const auto& value : values)
            array.push_back(Put(value));
        return array;
    }
    template <class T> static TJson Put(const TMyList<T>& list) {
        TJson array = TJson::array();
        for (const auto& item : list)
            if (item)
                array.push_back(PutObject(*item));
        return array;
    }
    static TJson Put(const TIndexList& keys) {
        TJson array = TJson::array();
        for (const TIndex& key : keys)
            array.push_back(PutObject(key));
        return array;
    }
    static TJson Put(const TCategoryList& list) { return PutObject(list); }
    static TJson Put(const TTemplateList& list) { return PutObject(list); }
    static TJson Put(const TFilterList& list) { return PutObject(list); }

    TJson object_ = TJson::object();
};

// ---- JSON to book ---------------------------------------------------------------

[[noreturn]] void Fail(const std::string& at, const std::string& what) {
    throw BookJsonError((at.empty() ? std::string("the book") : at) + ": " + what);
}

std::string Join(const std::string& where, std::string_view key) {
    return where.empty() ? std::string(key) : where + "." + std::string(key);
}

std::string Indexed(const std::string& where, std::size_t i) {
    return where + "[" + std::to_string(i) + "]";
}

const char* TypeName(const TJson& j) {
    return j.type_name();
}

std::int64_t Integer(const TJson& j, const std::string& at, std::int64_t lo, std::int64_t hi) {
    const std::string range = " (" + std::to_string(lo) + " to " + std::to_string(hi) + ")";
    if (j.is_number_unsigned()) {
        const auto u = j.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(hi))
            Fail(at, std::to_string(u) + " is out of range" + range);
        return static_cast<std::int64_t>(u);
    }
    if (j.is_number_integer()) {
        const auto s = j.get<std::int64_t>();
        if (s < lo || s > hi)
            Fail(at, std::to_string(s) + " is out of range" + range);
        return s;
    }
    Fail(at, std::string("expected an integer") + range + ", found " + TypeName(j));
}

// UTF-8 to the file's Windows-1252, refusing what that code page cannot hold
// rather than storing a '?' in its place.
std::string ToCp1252(const TJson& j, const std::string& at) {
    const auto& utf8 = j.get_ref<const std::string&>();
    std::string bytes = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(bytes) != utf8)
        Fail(at, "holds a character that Windows-1252 cannot store");
    return bytes;
}

class TJsonReader {
public:
    TJsonReader(const TJson& j, const std::string& where) : json_(j), where_(where) {
        if (!j.is_object())
            Fail(where, std::string("expected an object, found ") + TypeName(j));
    }

    template <class T> void operator()(const char* key, T& value) {
        const std::string at = Join(where_, key);
        const auto it = json_.find(key);
        if (it == json_.end())
            Fail(at, "is missing");
        seen_.push_back(key);
        Get(*it, value, at);
    }

    // Refuses keys that are not fields, so that a misspelt one is not dropped silently.
    void Finish() const {
        if (seen_.size() == json_.size())
            return;
        for (const auto& item : json_.items()) {
            if (std::find(seen_.begin(), seen_.end(), item.key()) == seen_.end())
                Fail(Join(where_, item.key()), "is not a stored field");
        }
    }

    template <class C> static void GetObject(const TJson& j, C& c, const std::string& at) {
        TJsonReader reader(j, at);
        VisitFields(reader, c);
        reader.Finish();
        KeepInRange(c);
    }

private:
    // What the file's reader brings into range is brought in here too, so that what
    // is loaded reads back as it was written.
    static void KeepInRange(TReminders& e) { e.KeepUntilInRange(); }
    template <class C> static void KeepInRange(C&) {}

    static void Get(const TJson& j, Text& t, const std::string& at) {
        if (j.is_null()) {
            t = std::nullopt;
            return;
        }
        if (!j.is_string())
            Fail(at, std::string("expected a string or null, found ") + TypeName(j));
        std::string bytes = ToCp1252(j, at);
        // The file ends a text at its first NUL: one inside would cut the text short.
        if (bytes.find('\0') != std::string::npos)
            Fail(at, "holds a NUL character, which a stored text cannot");
        if (bytes.size() > kMaxTextLength)
            Fail(at, "is " + std::to_string(bytes.size()) +
                         " characters long; a stored text holds at most " +
                         std::to_string(kMaxTextLength));
        t = std::move(bytes);
    }

    // A rule's short string: at most 255 characters, any bytes.
    static void Get(const TJson& j, std::string& s, const std::string& at) {
        if (!j.is_string())
            Fail(at, std::string("expected a string, found ") + TypeName(j));
        std::string bytes = ToCp1252(j, at);
        if (bytes.size() > kShortStringMax)
            Fail(at, "is " + std::to_string(bytes.size()) +
                         " characters long; this field holds at most 255");
        s = std::move(bytes);
    }

    static void Get(const TJson& j, std::uint8_t& v, const std::string& at) {
        v = static_cast<std::uint8_t>(Integer(j, at, 0, UINT8_MAX));
    }
    static void Get(const TJson& j, std::int16_t& v, const std::string& at) {
        v = static_cast<std::int16_t>(Integer(j, at, INT16_MIN, INT16_MAX));
    }
    // The window bounds are held in 32 bits but stored in 16: a wider value would not
    // come back as it was given.
    static void Get(const TJson& j, std::int32_t& v, const std::string& at) {
        v = static_cast<std::int32_t>(Integer(j, at, INT16_MIN, INT16_MAX));
    }
    static void Get(const TJson& j, double& v, const std::string& at) {
        if (!j.is_number())
            Fail(at, std::string("expected a number, found ") + TypeName(j));
        v = j.get<double>();
    }

    template <class T, std::size_t N>
    static void Get(const TJson& j, std::array<T, N>& values, const std::string& at) {
        if (!j.is_array() || j.size() != N)
            Fail(at, "expected an array of " + std::to_string(N) + " values");
        for (std::size_t i = 0; i < N; ++i)
            Get(j[i], values[i], Indexed(at, i));
    }

    template <class T> static void Get(const TJson& j, TMyList<T>& list, const std::string& at) {
        if (!j.is_array())
            Fail(at, std::string("expected an array, found ") + TypeName(j));
        if (j.size() > static_cast<std::size_t>(kMaxListCount))
            Fail(at, "has " + std::to_string(j.size()) + " items; a stored list holds at most " +
                         std::to_string(kMaxListCount));
        list.Clear();
        for (std::size_t i = 0; i < j.size(); ++i) {
            auto item = std::make_unique<T>();
            GetObject(j[i], *item, Indexed(at, i));
            list.Add(std::move(item));
        }
    }
    static void Get(const TJson& j, TIndexList& keys, const std::string& at) {
        TMyList<TIndex> list;
        Get(j, list, at);
        keys.Clear();
        for (const auto& key : list)
            keys.AddKey(*key);
    }

    static void Get(const TJson& j, TCategoryList& list, const std::string& at) {
        GetObject(j, list, at);
    }
    static void Get(const TJson& j, TTemplateList& list, const std::string& at) {
        GetObject(j, list, at);
    }
    static void Get(const TJson& j, TFilterList& list, const std::string& at) {
        GetObject(j, list, at);
    }

    const TJson& json_;
    std::string where_;
    std::vector<std::string_view> seen_;
};

} // namespace

TJson BookToJson(const TBookData& book) {
    return TJsonWriter::PutObject(book);
}

std::unique_ptr<TBookData> BookFromJson(const TJson& json) {
    auto book = std::make_unique<TBookData>();
    TJsonReader::GetObject(json, *book, std::string());
    book->KeepHeaderInRange();
    return book;
}

TJson DiaryToJson(const TDiaryData& diary) {
    return TJsonWriter::PutObject(diary);
}

std::unique_ptr<TDiaryData> DiaryFromJson(const TJson& json) {
    auto diary = std::make_unique<TDiaryData>();
    TJsonReader::GetObject(json, *diary, std::string());
    return diary;
}

TJson EntryToJson(const TRecord& entry) {
    return TJsonWriter::PutObject(entry);
}

std::unique_ptr<TRecord> EntryFromJson(const TJson& json) {
    auto entry = std::make_unique<TRecord>();
    TJsonReader::GetObject(json, *entry, "entry");
    return entry;
}

TJson ParseJsonText(const std::string& text) {
    // One set of keys per open object, to refuse a key given twice.
    std::vector<std::set<std::string>> open;
    const auto check = [&open](int depth, TJson::parse_event_t event, TJson& parsed) {
        switch (event) {
        case TJson::parse_event_t::object_start:
        case TJson::parse_event_t::array_start:
            // Refused while parsing: what is built from the JSON later recurses.
            if (depth >= kMaxJsonDepth)
                throw BookJsonError("nested deeper than " + std::to_string(kMaxJsonDepth) +
                                    " levels");
            if (event == TJson::parse_event_t::object_start)
                open.emplace_back();
            break;
        case TJson::parse_event_t::object_end:
            if (!open.empty())
                open.pop_back();
            break;
        case TJson::parse_event_t::key:
            if (!open.empty() && !open.back().insert(parsed.get<std::string>()).second)
                throw BookJsonError("the key \"" + parsed.get<std::string>() +
                                    "\" appears twice in one object");
            break;
        default:
            break;
        }
        return true;
    };
    try {
        return TJson::parse(text, check);
    } catch (const TJson::exception& e) {
        // The library's message starts with its own tag in brackets; a number too large
        // for a double (1e400) is one of its faults too.
        std::string what = e.what();
        if (const auto end = what.find("] ");
            what.starts_with("[json.") && end != std::string::npos)
            what.erase(0, end + 2);
        throw BookJsonError("not valid JSON: " + what);
    }
}

} // namespace tessaly
