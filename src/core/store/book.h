#pragma once
// TBookData: one address book in memory, its header fields, its lists, and the
// runtime state of the book window that owns it.

#include "core/common/date_time.h"
#include "core/store/category.h"
#include "core/store/entry_read_watch.h"
#include "core/store/filter.h"
#include "core/store/index_key.h"
#include "core/store/record.h"
#include "core/store/store_settings.h"
#include "core/store/template.h"
#include "core/store/undo.h"
#include "core/system/clock.h"
#include "core/system/file_system.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tessaly {

constexpr int kPageCaptions = 6;
// Built-in captions of the six entry pages.
extern const std::array<const char*, kPageCaptions> kDefaultPageCaptions;

// Window states of the book window.
constexpr int kWindowNormal = 0;
constexpr int kWindowMinimised = 1;
constexpr int kWindowMaximised = 2;

class TBookData {
public:
    std::unique_ptr<TRecord> WorkRecord; // runtime: the entry the book window edits
    std::int16_t Version = 13;
    std::int16_t AttachmentView = 0;
    std::uint8_t AttachmentsByDescription = 1;
    std::int16_t ListWidth = 170;
    std::int16_t TitleWidth = 60;
    std::int16_t NamePanelWidth = 122;
    std::int16_t ActivePage = 0;
    TDateTime Created = 0;
    TDateTime LastUpdated = 0;
    std::uint8_t WindowState = kWindowNormal;
    std::uint8_t ShowCompleted = 1;
    std::uint8_t ShowNotes = 1;
    std::int16_t SortOrder = 1;
    std::array<std::int32_t, 4> WindowBounds{5, 5, 500, 450}; // left, top, right, bottom
    std::int16_t ListItemIndex = 0;
    std::int16_t ListTopIndex = 0;
    std::array<std::int16_t, 4> ColumnWidths{22, 39, 120, 40};
    TFilterList Searches = TFilterList::Defaults();
    std::uint8_t Modified = 0;    // runtime
    std::int16_t ChangeCount = 0; // runtime
    std::string FileName;         // runtime
    // runtime: the file as this book last read or wrote it; a save refuses a file
    // that has changed since (SaveBook).
    TFileIdentity DiskIdentity;
    // runtime: read by LoadBookEvents, its other texts absent; never saved.
    bool EventsOnly = false;
    // runtime: read for a listing, with only the texts it shows (IEntryReadWatch::
    // TextsNeeded) or without its entries; never saved.
    bool ListingOnly = false;
    std::array<Text, kPageCaptions> PageCaptions;
    TUndoList UndoList; // runtime
    TRecordList Entries;
    TCategoryList Categories;
    TIndexList IndexKeys;
    TIndexList InsertFields;
    std::uint8_t InsertBlankFields = 0;
    std::uint8_t LabelPhoneFields = 0;
    TTemplateList Templates;

    // The header defaults of a new book with empty lists; NewBook (book_file.h) adds
    // the defaults file, the creation date and the file name.
    TBookData() = default;
    TBookData(const TBookData&) = delete;
    TBookData& operator=(const TBookData&) = delete;

    // The built-in contents of the defaults file: templates, index keys, categories,
    // insert fields and their two flags, page captions.
    void SetBuiltInDefaults();

    // Reads the stored body (the version word up to SortOrder). Throws StreamError on
    // a short or damaged body; the caller treats that as a damaged file. Out-of-range
    // header values are brought into range; "Lock Tab" off sets ActivePage to 0.
    // A watch is told of the entries as they are read.
    void ReadBody(TStreamReader& r, const TStoreSettings& settings,
                  IEntryReadWatch* watch = nullptr);
    // Brings the header values the windows index with into range, as a read does; a
    // book built another way (from JSON) goes through it too, so that what it writes
    // reads back unchanged.
    void KeepHeaderInRange();
    // Sets Version to 13 and writes the body. Throws StreamError for a list or text
    // too long for the file.
    void WriteBody(TStreamWriter& w);
    // The body in its three stretches, for a writer that takes the entries one at a
    // time: the header up to the entries (setting Version), then the count and the
    // entries, then what follows them.
    void WriteBeforeEntries(TStreamWriter& w);
    void WriteAfterEntries(TStreamWriter& w) const;

    // Stored fields only; the runtime fields are not compared.
    bool operator==(const TBookData& o) const;
};

} // namespace tessaly
