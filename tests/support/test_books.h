#pragma once
// Books for the store tests: one holding every kind of item, and images of the older
// layouts composed field by field.

#include "core/store/book_file.h"
#include "tests/support/fake_clock.h"
#include "tests/support/test_bytes.h"

#include <memory>
#include <string>

namespace tessaly::testing {

inline TStoreSettings BuiltInSettings() {
    TStoreSettings s;
    s.ConfigDirectory = "/nonexistent-tessaly-config";
    return s;
}

// A book with at least one of every stored item and no default header values.
inline std::unique_ptr<TBookData> MakeFullBook() {
    FakeClock clock(44000.25);
    auto book = NewBook("/tmp/full.ADR", BuiltInSettings(), clock);
    book->AttachmentView = 3;
    book->AttachmentsByDescription = 0;
    book->ListWidth = 201;
    book->TitleWidth = 61;
    book->NamePanelWidth = 133;
    book->ActivePage = 4;
    book->LastUpdated = 44001.75;
    book->WindowState = 2;
    book->ShowCompleted = 0;
    book->ShowNotes = 0;
    book->SortOrder = 3;
    book->WindowBounds = {-20, -4, 640, 480};
    book->ListItemIndex = 7;
    book->ListTopIndex = 2;
    book->ColumnWidths = {1, 2, 3, 4};
    book->PageCaptions[1] = std::string("&Memo");
    book->PageCaptions[5] = std::nullopt;
    book->InsertBlankFields = 1;
    book->LabelPhoneFields = 1;
    book->Categories.AddCategory("Golf", true);
    book->IndexKeys.AddKey(20 + 1, false);
    book->InsertFields.AddKey(9, false);

    auto tpl = std::make_unique<TTemplate>(book->Templates.NextId++);
    tpl->SetName("Holiday");
    tpl->SetCaption(2, "Villa");
    tpl->AddressFormat = kFormatUK;
    tpl->ButtonKinds = {0, 2, 1, 0};
    tpl->Shown[10] = 1;
    tpl->TemplateFlag = 3;
    book->Templates.Add(std::move(tpl));
    book->Templates.BaseIndex = 2;

    TRecord entry;
    entry.UseDefaultKeys = 0;
    entry.Keys.AddKey(2, true);
    entry.Keys.AddKey(1, false);
    entry.SetNameField(0, "Dr");
    entry.SetNameField(1, "Ann");
    entry.SetNameField(2, "Smith");
    entry.SetNotes("Line one\r\nLine two");
    entry.NameFields[5] = std::nullopt;
    entry.Created = 43000;
    entry.Updated = 43100.5;
    entry.LastCalled = 43200.25;
    entry.Tagged = 1;
    entry.CategoriesInUse.AddMembership(0);
    entry.CategoriesInUse.AddMembership(2);
    const int a = entry.Addresses.AddAddress(1);
    entry.Addresses.SetFieldOf(a, 1, "Acme");
    entry.Addresses.SetFieldOf(a, 2, "1 Road\r\nTown");
    entry.Addresses.SetFieldOf(a, 3, "0123 456");
    entry.Addresses.SetDialSettingOf(a, TDialSetting::UseDefaultDialling, 3, false);
    entry.Addresses.SetDialSettingOf(a, TDialSetting::ChargeCard, 3, true);
    entry.Addresses.SetPrefixOf(a, 3, "141");
    entry.Addresses.At(a)->AddressFlag = 1;
    entry.Addresses.AddAddress(2);
    auto reminder = std::make_unique<TReminders>();
    reminder->When = 43500.5;
    reminder->Until = 43600.5;
    reminder->Frequency = 3;
    reminder->AlarmSet = 1;
    reminder->AlarmTime =
        43500.4375; // dates with few fraction bits survive the file offset exactly
    reminder->SetDescription("Call back");
    reminder->SetNotes("About the order");
    reminder->Priority = 2;
    entry.Reminders.Add(std::move(reminder));
    entry.Attachments.AppendAttachment("Letter", "/home/ann/letter.txt", true);
    entry.Attachments.AppendAttachment("Web", "http://example.invalid/", false);
    entry.CallLogs.AddLog("0123 456", "No answer", 43300.5, 43300.515625);
    book->Entries.AddEntryCopy(entry, clock);

    TRecord plain;
    plain.NameFields[0] = std::nullopt;
    plain.SetNameField(2, "Jones");
    book->Entries.AddEntryCopy(plain, clock);

    TFilter* untitled = book->Searches.At(0);
    untitled->ExcludeTagged = 1;
    auto search = std::make_unique<TFilter>("Golfers");
    search->CategoriesOn = 1;
    search->CategoriesInUse.AddMembership(2);
    auto textRule = std::make_unique<TRule>();
    textRule->FieldNo = 2;
    textRule->IsText = 1;
    textRule->SetText("Smi");
    textRule->WholeWords = 1;
    search->Rules.Add(std::move(textRule));
    auto dateRule = std::make_unique<TRule>();
    dateRule->FieldNo = kRuleCreated;
    dateRule->FromDate = 43000;
    dateRule->ToDate = 43100;
    search->Rules.Add(std::move(dateRule));
    book->Searches.Add(std::move(search));
    book->Searches.ActiveName = std::string("Golfers");
    book->Searches.HeaderWidths = {120, 80};
    return book;
}

// An image of a small book in the layout of an older version (1 to 13), composed
// field by field. Address templates carry button kinds 1, 1, 0, 2 in shown flags
// 7-10, as the older layouts kept them; version 13 also writes them as kinds.
inline std::vector<std::uint8_t> OldBookImage(int v) {
    Bytes e;
    e.Sig().I16(v);
    e.I16(1).I16(1).Str("Old").I16(0).U8(1);
    e.I16(2).I16(1).I16(2);
    for (int t = 0; t < 2; ++t) {
        e.Str(t == 0 ? "" : "Home").I16(t).U8(1).U8(0);
        for (int i = 0; i < 10; ++i) {
            const unsigned shown = (t == 1 && i >= 7) ? (i == 9 ? 0u : 1u) : 1u;
            e.Str(t == 0 && i == 0 ? "Title" : "").U8(shown);
        }
        e.U8(t == 1 ? 2 : 0); // shown flag 10
        if (v >= 9)
            e.I16(t == 1 ? 2 : 0);
        if (v >= 13)
            e.I16(1).I16(1).I16(0).I16(2);
    }
    e.I16(2).U8(0).I16(150);
    if (v >= 3)
        e.I16(70).I16(130);
    e.I16(3).Date(35000.5).Date(35100.25).U8(2).U8(0);
    e.I16(10).I16(11).I16(300).I16(400).I16(4).I16(1);
    e.I16(10).I16(20).I16(30);
    if (v >= 2)
        e.I16(40);
    for (int i = 0; i < (v >= 10 ? 6 : 5); ++i)
        e.Str("Page " + std::to_string(i));
    e.I16(1).I16(2).U8(1);
    if (v >= 2)
        e.Str("Mine");
    else
        e.I16(77);
    e.I16(90).I16(91).I16(1);
    e.U8(0).Str("").Str("Mine").U8s({0, 0, 0, 0}).U8(0).U8(1).I16(0).I16(0);
    e.I16(1); // one entry
    e.I16(0).U8(1).U8(0);
    e.Str("").Str("Old").Str("Timer");
    for (int i = 3; i < 10; ++i)
        e.Str("");
    e.Date(35001).Date(35002).Date(0).F64(35001.0001);
    e.I16(1).I16(0);
    e.I16(1).I16(1).U8(0);
    for (int i = 0; i < 7; ++i)
        e.Str(i == 2 ? "Street" : "");
    for (int k = 0; k < 4; ++k)
        e.U8s({1, 1, 1, 1}).U8s({0, 0, 0, 0}).U8s({0, 0, 0, 0}).U8s({0, 0, 0, 0}).Str("");
    e.I16(0);                        // reminders
    e.I16(1).Str("Site").Str("www"); // attachment
    if (v >= 12)
        e.U8(0);
    e.I16(0);      // call logs
    e.I16(0);      // insert fields
    e.U8(1).U8(1); // insert blank fields, label phone fields
    if (v >= 2)
        e.U8(0).I16(3);
    e.Sig();
    return e.b;
}

} // namespace tessaly::testing
