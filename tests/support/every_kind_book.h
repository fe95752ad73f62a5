#pragma once
// The one book the suites share: every kind of stored item, no header field at its
// default, texts with Windows-1252 letters (an e acute, a euro sign, a byte the code
// page leaves undefined), null and empty texts, negative bounds, dates with long
// fractions and stamps that are not dates at all.

#include "core/store/book_file.h"
#include "tests/support/fake_clock.h"

#include <memory>
#include <string>

namespace tessaly::testing {

// Settings whose configuration folder does not exist: the built-in defaults apply.
inline TStoreSettings NoDefaultsFile() {
    TStoreSettings s;
    s.ConfigDirectory = "/nonexistent-tessaly-config";
    return s;
}

inline std::unique_ptr<TBookData> MakeEveryKindBook() {
    FakeClock clock(45000.5);
    auto book = NewBook("/tmp/every.ADR", NoDefaultsFile(), clock);
    book->AttachmentView = 2;
    book->AttachmentsByDescription = 0;
    book->ListWidth = 211;
    book->TitleWidth = 64;
    book->NamePanelWidth = 140;
    book->ActivePage = 5;
    book->Created = 45000.123456789012;
    book->LastUpdated = 45001.0 / 3.0;
    book->WindowState = 1;
    book->ShowCompleted = 0;
    book->ShowNotes = 0;
    book->SortOrder = 4;
    book->WindowBounds = {-32768, -7, 32767, 0};
    book->ListItemIndex = 11;
    book->ListTopIndex = 3;
    book->ColumnWidths = {-1, 0, 32767, 9};
    book->PageCaptions[0] = std::string("&Adresse \x80");
    book->PageCaptions[3] = std::nullopt;
    book->PageCaptions[4] = std::string();
    book->InsertBlankFields = 1;
    book->LabelPhoneFields = 255;
    book->Categories.AddCategory("Caf\xE9 Society", true);
    book->Categories.NextId = 40;
    book->IndexKeys.AddKey(26, false);
    book->InsertFields.AddKey(9, true);

    auto tpl = std::make_unique<TTemplate>(book->Templates.NextId++);
    tpl->SetName("Holiday");
    tpl->Captions[7] = std::nullopt;
    tpl->SetCaption(2, "Villa");
    tpl->Shown = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 7};
    tpl->ButtonKinds = {2, 0, 1, -3};
    tpl->IncludeForNew = 0;
    tpl->TemplateFlag = 9;
    tpl->AddressFormat = kFormatUS;
    book->Templates.Add(std::move(tpl));
    book->Templates.BaseIndex = 2;

    TRecord entry;
    entry.Stamp = 44999.999999999;
    entry.UseDefaultKeys = 0;
    entry.Keys.AddKey(2, true);
    entry.Keys.AddKey(21, false);
    entry.SetNameField(0, "Dr");
    entry.SetNameField(1, "Ren\xE9"
                          "e");
    entry.SetNameField(2, "M\xFCller \x81\x8D\x8F\x90\x9D");
    entry.NameFields[4] = std::nullopt;
    entry.NameFields[7] = std::string();
    entry.SetNotes("Line one\r\nLine two\ttabbed \"quoted\" \\ back");
    entry.Updated = 43100.5;
    entry.LastCalled = -2.75; // before 30 December 1899
    entry.Tagged = 1;
    entry.CategoriesInUse.AddMembership(0);
    entry.CategoriesInUse.AddMembership(-5);
    const int home = entry.Addresses.AddAddress(1);
    entry.Addresses.SetFieldOf(home, 1, "Acme \x93Quotes\x94");
    entry.Addresses.SetFieldOf(home, 2, "1 Road\r\nTown\nShire\rLand");
    entry.Addresses.SetFieldOf(home, 3, "0123 456");
    entry.Addresses.SetDialSettingOf(home, TDialSetting::UseDefaultDialling, 3, false);
    entry.Addresses.SetDialSettingOf(home, TDialSetting::PrefixOn, 4, true);
    entry.Addresses.SetDialSettingOf(home, TDialSetting::ChargeCard, 5, true);
    entry.Addresses.SetDialSettingOf(home, TDialSetting::LogCall, 6, true);
    entry.Addresses.SetPrefixOf(home, 3, "141");
    entry.Addresses.At(home)->Prefix[2] = std::nullopt;
    entry.Addresses.At(home)->AddressFlag = 200;
    const int holiday = entry.Addresses.AddAddress(2);
    entry.Addresses.At(holiday)->Fields[0] = std::nullopt;

    auto reminder = std::make_unique<TReminders>();
    reminder->When = 45010.5;
    reminder->Until = 45100.5;
    reminder->Frequency = 3;
    reminder->Interval = 2;
    reminder->AdvanceDays = 3;
    reminder->AlarmSet = 1;
    reminder->NoTime = 0;
    reminder->Completed = 1;
    reminder->AlarmTime = 45010.45;
    reminder->SetDescription("Call back");
    reminder->Notes = std::nullopt;
    reminder->Priority = 9;
    entry.Reminders.Add(std::move(reminder));
    entry.Attachments.AppendAttachment("Letter", "/home/ann/letter.txt", true);
    entry.Attachments.AppendAttachment("Web", "http://example.invalid/", false);
    entry.Attachments.At(1)->Description = std::nullopt;
    entry.CallLogs.AddLog("0123 456", "No answer", 43300.5, 43300.51);
    entry.CallLogs.At(0)->Comment = std::nullopt;
    book->Entries.AddEntryCopy(entry, clock);

    TRecord plain;
    plain.Stamp = 1e-300; // raw eight bytes, not a date
    plain.NameFields[0] = std::nullopt;
    plain.SetNameField(2, "Jones");
    book->Entries.AddEntryCopy(plain, clock);

    book->Searches.At(0)->ExcludeTagged = 1;
    auto search = std::make_unique<TFilter>("Caf\xE9 people");
    search->StartsWithOn = 1;
    search->SetStartsWith("M");
    search->CategoriesOn = 1;
    search->AnyCategory = 0;
    search->CategoriesInUse.AddMembership(2);
    search->ExcludeUntagged = 1;
    search->ExcludeNoDueReminders = 1;
    search->ExcludeNoAttachments = 1;
    auto textRule = std::make_unique<TRule>();
    textRule->FieldNo = 2;
    textRule->TemplateNo = 1;
    textRule->IsText = 1;
    textRule->Text = std::string("M\xFC\0x", 4); // a short string keeps any byte
    textRule->MatchCase = 1;
    textRule->WholeWords = 1;
    search->Rules.Add(std::move(textRule));
    auto dateRule = std::make_unique<TRule>();
    dateRule->FieldNo = kRuleCreated;
    dateRule->FromDate = 43000.000001;
    dateRule->ToDate = 43100;
    search->Rules.Add(std::move(dateRule));
    book->Searches.Add(std::move(search));
    book->Searches.ActiveName = std::string("Caf\xE9 people");
    book->Searches.HeaderWidths = {120, -80};
    return book;
}

} // namespace tessaly::testing
