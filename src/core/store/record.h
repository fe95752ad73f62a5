#pragma once
// TRecord: one entry of an address book (a person or organisation) and TRecordList,
// the book's entries in the order they were added.

#include "core/common/date_time.h"
#include "core/diary/reminders.h"
#include "core/store/address.h"
#include "core/store/call_log.h"
#include "core/store/category.h"
#include "core/store/document.h"
#include "core/store/index_key.h"
#include "core/store/my_list.h"
#include "core/system/clock.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

constexpr int kNameFields = 10;
// Name field numbers.
constexpr int kFieldTitle = 0;
constexpr int kFieldFirstName = 1;
constexpr int kFieldSurname = 2;
constexpr int kFieldSalutation = 3;
constexpr int kFieldNotes = 9; // unbounded; trailing blanks and line breaks removed

// Reminder statuses, lowest first: overdue, due today, pending, otherwise.
constexpr int kReminderOverdue = -1;
constexpr int kReminderDueToday = 0;
constexpr int kReminderPending = 1;
constexpr int kReminderNone = 2;

// The texts of each entry a listing shows, when it steps over all others: the name
// fields (bit i for field i) and the fields of the first address (bit n for field n)
// that the index keys name.
struct TListedTexts {
    std::uint16_t NameFields = 0;
    std::uint32_t FirstAddressFields = 0;

    // Adds the fields the keys name.
    void AddKeys(const TIndexList& keys);
    bool operator==(const TListedTexts&) const = default;
};

class TRecord {
public:
    // What a listing reads of every entry comes first, in as few cache lines as can be.
    TDateTime Stamp = 0;
    std::uint8_t UseDefaultKeys = 1;
    std::uint8_t Tagged = 0;
    TIndexList Keys;
    std::array<Text, kNameFields> NameFields;
    TDateTime Created = 0;
    TDateTime Updated = 0;
    TDateTime LastCalled = 0;
    TCategoryInUseList CategoriesInUse;
    TAddressList Addresses;
    TRemindersList Reminders;
    TDocumentList Attachments;
    TLogList CallLogs;

    // A new entry: empty name fields, empty lists, a fresh stamp (stamp.h).
    TRecord();
    // The clone: an independent deep copy, stamp and dates included.
    TRecord(const TRecord&) = default;
    TRecord& operator=(const TRecord&) = default;

    // Name field i (empty out of 0-9). Fields 0-8 are trimmed and cut to 255
    // characters; the notes (9) lose trailing blanks and line breaks and are capped
    // only by the file's text limit.
    std::string NameField(int i) const;
    void SetNameField(int i, std::string_view value);
    std::string_view Notes() const { return TextValue(NameFields[kFieldNotes]); }
    void SetNotes(std::string_view value) { SetNameField(kFieldNotes, value); }

    // The lowest status among the reminders, kReminderNone when there are none.
    int LowestReminderStatus(const std::function<int(const TReminders&)>& statusOf) const;

    static std::unique_ptr<TRecord> Read(TStreamReader& r, int version);
    // The same with every text stepped over but the `listed` ones, and those that
    // the entry's own index keys name when it does not follow the book's; its other
    // texts read as absent. Of its addresses only the first is kept, and only when
    // some of its fields are listed.
    static std::unique_ptr<TRecord> Read(TStreamReader& r, int version, const TListedTexts& listed);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TRecord&) const = default;

private:
    struct NoStampTag {};
    explicit TRecord(NoStampTag) {}
};

// Replaces the target's fields and lists by copies of the source's. Updated becomes
// now with `touch`, else the source's; Created, LastCalled and Stamp are copied.
void AssignEntry(TRecord& target, const TRecord& source, bool touch,
                 const IClock& clock = SystemClock::Instance());

class TRecordList : public TMyList<TRecord> {
public:
    // Appends a clone of the entry whose Created is now; returns its index.
    int AddEntryCopy(const TRecord& entry, const IClock& clock = SystemClock::Instance());
    // Tagged of entry i, 0 when out of range.
    int TaggedAt(int i) const;
    // Stamp of entry i, 0 when out of range.
    TDateTime StampAt(int i) const;
    // The lowest reminder status of entry i; kReminderNone when it has no reminders
    // or i is out of range. `statusOf` gives the status of one reminder.
    int EntryReminderStatus(int i, const std::function<int(const TReminders&)>& statusOf) const;
    // The same with the diary's status of a reminder on a given day.
    int EntryReminderStatus(int i, TDateTime today) const;
    // Sets Tagged of every entry, or with a selection only of the entries that appear
    // (as objects) in it.
    void SetTags(bool value, const std::vector<const TRecord*>* selection = nullptr);
    int CountTagged() const;
    // Index of the first entry with a stamp, -1 if none.
    int FindStamp(TDateTime stamp) const;
    // Whether an entry other than entry i has entry i's stamp.
    bool StampTakenByOther(int i) const;

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

} // namespace tessaly
