#include "core/store/record.h"

#include "core/store/stamp.h"

#include <algorithm>

namespace tessaly {

TRecord::TRecord() : Stamp(NewStamp()) {
    NameFields.fill(std::string());
}

std::string TRecord::NameField(int i) const {
    if (i < 0 || i >= kNameFields)
        return std::string();
    return NameFields[static_cast<std::size_t>(i)].str();
}

void TRecord::SetNameField(int i, std::string_view value) {
    if (i < 0 || i >= kNameFields)
        return;
    if (i == kFieldNotes) {
        std::string_view notes = TrimmedRightView(value);
        // The file holds at most this many characters in one text.
        if (notes.size() > kMaxTextLength)
            notes = TrimmedRightView(notes.substr(0, kMaxTextLength));
        NameFields[kFieldNotes] = notes;
    } else {
        NameFields[static_cast<std::size_t>(i)] = CleanShortView(value);
    }
}

int TRecord::LowestReminderStatus(const std::function<int(const TReminders&)>& statusOf) const {
    int lowest = kReminderNone;
    for (const auto& reminder : Reminders)
        lowest = std::min(lowest, statusOf(*reminder));
    return lowest;
}

void TListedTexts::AddKeys(const TIndexList& keys) {
    for (const TIndex& key : keys) {
        if (key.Code >= 0 && key.Code < kNameFields)
            NameFields |= static_cast<std::uint16_t>(1u << key.Code);
        else if (key.Code >= kAddressKeyBase && key.Code < kAddressKeyBase + kAddressFields)
            FirstAddressFields |= 1u << (key.Code - kAddressKeyBase);
    }
}

namespace {

std::unique_ptr<TRecord> ReadRecord(TStreamReader& r, int version, const TListedTexts* listed,
                                    std::unique_ptr<TRecord> e) {
    e->Keys.Read(r, version);
    e->UseDefaultKeys = r.ReadByte();
    e->Tagged = r.ReadByte();
    TListedTexts kept;
    if (listed) {
        kept = *listed;
        if (!e->UseDefaultKeys)
            kept.AddKeys(e->Keys);
    }
    // Only a listing's reader steps over texts here: any other reads them all.
    const TTextSkipping skipping(r, listed != nullptr || r.SkipsTexts());
    for (std::size_t i = 0; i < e->NameFields.size(); ++i) {
        if ((kept.NameFields >> i & 1) != 0) {
            const TKeepTexts keep(r);
            r.ReadTextInto(e->NameFields[i]);
        } else {
            r.ReadTextInto(e->NameFields[i]);
        }
    }
    e->Created = r.ReadDateTime();
    e->Updated = r.ReadDateTime();
    e->LastCalled = r.ReadDateTime();
    e->Stamp = r.ReadDouble(); // the raw in-memory value, no date offset
    e->CategoriesInUse.Read(r, version);
    if (listed)
        e->Addresses.ReadListed(r, version, kept.FirstAddressFields);
    else
        e->Addresses.Read(r, version);
    e->Reminders.ReadItems(r, version);
    e->Attachments.Read(r, version);
    e->CallLogs.Read(r, version);
    return e;
}

} // namespace

std::unique_ptr<TRecord> TRecord::Read(TStreamReader& r, int version) {
    // A record read from a file keeps its stored stamp; it takes none from the
    // generator.
    return ReadRecord(r, version, nullptr, std::unique_ptr<TRecord>(new TRecord(NoStampTag{})));
}

std::unique_ptr<TRecord> TRecord::Read(TStreamReader& r, int version, const TListedTexts& listed) {
    return ReadRecord(r, version, &listed, std::unique_ptr<TRecord>(new TRecord(NoStampTag{})));
}

void TRecord::Write(TStreamWriter& w, int version) const {
    Keys.Write(w, version);
    w.WriteByte(UseDefaultKeys);
    w.WriteByte(Tagged);
    for (const auto& field : NameFields)
        w.WriteText(field);
    w.WriteDateTime(Created);
    w.WriteDateTime(Updated);
    w.WriteDateTime(LastCalled);
    w.WriteDouble(Stamp);
    CategoriesInUse.Write(w, version);
    Addresses.Write(w, version);
    Reminders.WriteItems(w, version);
    Attachments.Write(w, version);
    CallLogs.Write(w, version);
}

void AssignEntry(TRecord& target, const TRecord& source, bool touch, const IClock& clock) {
    if (&target != &source)
        target = source;
    if (touch)
        target.Updated = clock.Now();
}

int TRecordList::AddEntryCopy(const TRecord& entry, const IClock& clock) {
    auto copy = std::make_unique<TRecord>(entry);
    copy->Created = clock.Now();
    Add(std::move(copy));
    return Count() - 1;
}

int TRecordList::TaggedAt(int i) const {
    const TRecord* e = At(i);
    return e ? e->Tagged : 0;
}

TDateTime TRecordList::StampAt(int i) const {
    const TRecord* e = At(i);
    return e ? e->Stamp : 0;
}

int TRecordList::EntryReminderStatus(int i,
                                     const std::function<int(const TReminders&)>& statusOf) const {
    const TRecord* e = At(i);
    return e ? e->LowestReminderStatus(statusOf) : kReminderNone;
}

int TRecordList::EntryReminderStatus(int i, TDateTime today) const {
    return EntryReminderStatus(
        i, [today](const TReminders& reminder) { return ReminderStatus(reminder, today); });
}

void TRecordList::SetTags(bool value, const std::vector<const TRecord*>* selection) {
    const std::uint8_t tag = value ? 1 : 0;
    for (const auto& e : *this) {
        if (!selection ||
            std::find(selection->begin(), selection->end(), e.get()) != selection->end())
            e->Tagged = tag;
    }
}

int TRecordList::CountTagged() const {
    return static_cast<int>(
        std::count_if(begin(), end(), [](const auto& e) { return e->Tagged != 0; }));
}

int TRecordList::FindStamp(TDateTime stamp) const {
    for (int i = 0; i < Count(); ++i)
        if (At(i)->Stamp == stamp)
            return i;
    return -1;
}

bool TRecordList::StampTakenByOther(int i) const {
    const TDateTime stamp = StampAt(i);
    for (int j = 0; j < Count(); ++j)
        if (j != i && At(j)->Stamp == stamp)
            return true;
    return false;
}

} // namespace tessaly
