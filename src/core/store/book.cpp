#include "core/store/book.h"

#include "core/store/format.h"

namespace tessaly {

const std::array<const char*, kPageCaptions> kDefaultPageCaptions = {
    "&Address", "&Notes", "&Reminders", "&Others", "Attach&ments", "&Categories"};

namespace {

constexpr std::array<std::int16_t, 4> kDefaultColumnWidths{22, 39, 120, 40};

} // namespace

void TBookData::SetBuiltInDefaults() {
    Templates = TTemplateList::Defaults();
    IndexKeys.Clear();
    for (int code = 0; code < 3; ++code)
        IndexKeys.AddKey(code, true);
    Categories = TCategoryList::Defaults();
    InsertFields.Clear();
    for (int code : {0, 1, 2, kAddressKeyBase, kAddressKeyBase + 1, kAddressKeyBase + 2})
        InsertFields.AddKey(code, false);
    InsertBlankFields = 0;
    LabelPhoneFields = 0;
    for (int i = 0; i < kPageCaptions; ++i)
        PageCaptions[static_cast<std::size_t>(i)] = std::string(kDefaultPageCaptions[i]);
}

namespace {

// Tells a watch of the entries, and always of their end, however the reading ends.
class TWatchedEntries {
public:
    TWatchedEntries(TBookData& book, IEntryReadWatch& watch) : book_(book), watch_(watch) {}
    TWatchedEntries(const TWatchedEntries&) = delete;
    TWatchedEntries& operator=(const TWatchedEntries&) = delete;
    ~TWatchedEntries() {
        if (begun_)
            watch_.EntriesEnd(complete_);
    }
    void Begin(std::size_t count) {
        begun_ = true;
        watch_.EntriesBegin(book_, count);
    }
    bool Keeps() const { return watch_.KeepsEntries(); }
    void Read(TRecord& entry) { watch_.EntryRead(entry); }
    void Complete() { complete_ = true; }

private:
    TBookData& book_;
    IEntryReadWatch& watch_;
    bool begun_ = false;
    bool complete_ = false;
};

} // namespace

void TBookData::ReadBody(TStreamReader& r, const TStoreSettings& settings, IEntryReadWatch* watch) {
    Version = r.ReadInt16();
    if (Version < kOldestBookVersion || Version > kBookVersion)
        throw StreamError("unknown book layout version");
    const int v = Version;
    Categories.Read(r, v);
    Templates.Read(r, v);
    AttachmentView = r.ReadInt16();
    AttachmentsByDescription = r.ReadByte();
    ListWidth = r.ReadInt16();
    if (v >= 3) {
        TitleWidth = r.ReadInt16();
        NamePanelWidth = r.ReadInt16();
    } else {
        TitleWidth = 60;
        NamePanelWidth = 122;
    }
    ActivePage = r.ReadInt16();
    Created = r.ReadDateTime();
    LastUpdated = r.ReadDateTime();
    WindowState = r.ReadByte();
    ShowCompleted = r.ReadByte();
    // Stored as 16 bits each; a window left of or above the screen is negative.
    for (auto& bound : WindowBounds)
        bound = r.ReadInt16();
    ListItemIndex = r.ReadInt16();
    ListTopIndex = r.ReadInt16();
    for (std::size_t i = 0; i < 3; ++i)
        ColumnWidths[i] = r.ReadInt16();
    if (v >= 2)
        ColumnWidths[3] = r.ReadInt16();
    else
        ColumnWidths = kDefaultColumnWidths;
    // Before version 10 there were five entry pages; the categories page came later.
    const std::size_t captions = v >= 10 ? kPageCaptions : kPageCaptions - 1;
    for (std::size_t i = 0; i < captions; ++i)
        r.ReadTextInto(PageCaptions[i]);
    if (captions < kPageCaptions)
        PageCaptions[kPageCaptions - 1] = std::string(kDefaultPageCaptions[kPageCaptions - 1]);
    IndexKeys.Read(r, v);
    Searches.Read(r, v);
    if (watch) {
        // The watch sees the header as the finished read will hold it; only SortOrder,
        // which follows the entries, is brought into range after them.
        KeepHeaderInRange();
        if (!settings.LockTab)
            ActivePage = 0;
        const std::optional<TListedTexts> listed = watch->TextsNeeded(*this);
        // A book read without all its texts or without its entries is never saved.
        ListingOnly = listed.has_value() || !watch->KeepsEntries();
        TWatchedEntries watched(*this, *watch);
        if (listed)
            Entries.ReadItemsWatchedWith(r, watched, [v, &listed](TStreamReader& in, int) {
                return TRecord::Read(in, v, *listed);
            });
        else
            Entries.ReadItemsWatched(r, v, watched);
        watched.Complete();
    } else {
        Entries.Read(r, v);
    }
    InsertFields.Read(r, v);
    InsertBlankFields = r.ReadByte();
    LabelPhoneFields = r.ReadByte();
    if (v >= 2) {
        ShowNotes = r.ReadByte();
        SortOrder = r.ReadInt16();
    } else {
        ShowNotes = 1;
        SortOrder = 1;
    }

    KeepHeaderInRange();
    if (!settings.LockTab)
        ActivePage = 0;

    UndoList.Clear();
    Modified = 0;
    ChangeCount = 0;
}

void TBookData::KeepHeaderInRange() {
    if (ActivePage < 0 || ActivePage >= kPageCaptions)
        ActivePage = 0;
    if (WindowState > kWindowMaximised)
        WindowState = kWindowNormal;
    if (AttachmentView < 0 || AttachmentView > 3)
        AttachmentView = 0;
    if (SortOrder < 1 || SortOrder > 4)
        SortOrder = 1;
    if (Templates.BaseIndex < 1 || Templates.BaseIndex >= Templates.Count())
        Templates.BaseIndex = Templates.Count() > 1 ? 1 : 0;
    if (ListItemIndex < 0)
        ListItemIndex = 0;
    if (ListTopIndex < 0)
        ListTopIndex = 0;
}

void TBookData::WriteBody(TStreamWriter& w) {
    WriteBeforeEntries(w);
    Entries.Write(w, kBookVersion);
    WriteAfterEntries(w);
}

void TBookData::WriteBeforeEntries(TStreamWriter& w) {
    constexpr int v = kBookVersion;
    Version = kBookVersion;
    w.WriteInt16(Version);
    Categories.Write(w, v);
    Templates.Write(w, v);
    w.WriteInt16(AttachmentView);
    w.WriteByte(AttachmentsByDescription);
    w.WriteInt16(ListWidth);
    w.WriteInt16(TitleWidth);
    w.WriteInt16(NamePanelWidth);
    w.WriteInt16(ActivePage);
    w.WriteDateTime(Created);
    w.WriteDateTime(LastUpdated);
    w.WriteByte(WindowState);
    w.WriteByte(ShowCompleted);
    for (const auto bound : WindowBounds)
        w.WriteInt16(static_cast<std::int16_t>(bound));
    w.WriteInt16(ListItemIndex);
    w.WriteInt16(ListTopIndex);
    for (const auto width : ColumnWidths)
        w.WriteInt16(width);
    for (const auto& caption : PageCaptions)
        w.WriteText(caption);
    IndexKeys.Write(w, v);
    Searches.Write(w, v);
}

void TBookData::WriteAfterEntries(TStreamWriter& w) const {
    InsertFields.Write(w, kBookVersion);
    w.WriteByte(InsertBlankFields);
    w.WriteByte(LabelPhoneFields);
    w.WriteByte(ShowNotes);
    w.WriteInt16(SortOrder);
}

bool TBookData::operator==(const TBookData& o) const {
    return Version == o.Version && AttachmentView == o.AttachmentView &&
           AttachmentsByDescription == o.AttachmentsByDescription && ListWidth == o.ListWidth &&
           TitleWidth == o.TitleWidth && NamePanelWidth == o.NamePanelWidth &&
           ActivePage == o.ActivePage && Created == o.Created && LastUpdated == o.LastUpdated &&
           WindowState == o.WindowState && ShowCompleted == o.ShowCompleted &&
           ShowNotes == o.ShowNotes && SortOrder == o.SortOrder && WindowBounds == o.WindowBounds &&
           ListItemIndex == o.ListItemIndex && ListTopIndex == o.ListTopIndex &&
           ColumnWidths == o.ColumnWidths && Searches == o.Searches &&
           PageCaptions == o.PageCaptions && Entries == o.Entries && Categories == o.Categories &&
           IndexKeys == o.IndexKeys && InsertFields == o.InsertFields &&
           InsertBlankFields == o.InsertBlankFields && LabelPhoneFields == o.LabelPhoneFields &&
           Templates == o.Templates;
}

} // namespace tessaly
