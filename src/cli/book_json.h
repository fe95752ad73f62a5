#pragma once
// A whole address book as JSON and back. Object keys are the stored field names;
// lists without header fields are arrays of their items, lists with header fields
// are objects holding those fields and "Items"; fixed arrays are arrays; integers
// are as stored; date-times (and the entry stamp) are the in-memory numbers; Texts
// are UTF-8 strings (converted from Windows-1252) or null when absent. Runtime-only
// fields are left out. A book read back from its own JSON writes the same bytes.

#include "core/diary/diary.h"
#include "core/store/book.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace tessaly {

// Keys keep the order of the stored fields.
using TJson = nlohmann::ordered_json;

// A fault in the JSON of a book. The message names the place first, e.g.
// "Entries[2].NameFields[0]: expected a string or null".
class BookJsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

TJson BookToJson(const TBookData& book);

// Builds a book from its JSON. Every stored field must be present with its type and
// range (bytes 0-255, 16-bit integers, texts Windows-1252 can hold); unknown keys are
// refused so that a misspelt field is never silently dropped. Throws BookJsonError.
std::unique_ptr<TBookData> BookFromJson(const TJson& json);

// A diary: its stored header fields in file order and "Events", an array of event
// objects as they stand in an entry's "Reminders". Same rules as a book; the messages
// of DiaryFromJson name the place from the diary's top level.
TJson DiaryToJson(const TDiaryData& diary);
std::unique_ptr<TDiaryData> DiaryFromJson(const TJson& json);

// One entry, in the shape it has inside "Entries".
TJson EntryToJson(const TRecord& entry);
// Builds an entry from its JSON with the same rules as BookFromJson; messages name
// the place from "entry". Throws BookJsonError.
std::unique_ptr<TRecord> EntryFromJson(const TJson& json);

// How deep objects and arrays may nest in the JSON of a book or an entry; a book
// needs 7 levels.
constexpr int kMaxJsonDepth = 64;

// Parses JSON text, refusing duplicate keys, numbers beyond the range of a double and
// nesting deeper than kMaxJsonDepth. Throws BookJsonError.
TJson ParseJsonText(const std::string& text);

} // namespace tessaly
