// Stored layouts compared byte for byte with bytes composed by hand from the tables.

#include "core/store/address.h"
#include "core/store/book_file.h"
#include "core/store/call_log.h"
#include "core/store/category.h"
#include "core/store/document.h"
#include "core/store/filter.h"
#include "core/store/record.h"
#include "core/store/template.h"
#include "tests/support/fake_clock.h"
#include "tests/support/test_bytes.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::Bytes;

template <class T> std::vector<std::uint8_t> Written(const T& item, int version = 13) {
    TStreamWriter w;
    item.Write(w, version);
    return w.TakeBytes();
}

TEST(StoreLayout, AddressRepeatsItsDiallingBlockBeforeEachPrefix) {
    TAddress a(3);
    a.AddressFlag = 9;
    a.SetField(kFieldPosition, "P");
    a.Fields[kFieldCompany] = std::nullopt; // an absent text stays absent
    a.SetField(kFieldAddress, "1 High St\r\nTown");
    a.SetField(3, "0123");
    a.SetDialSetting(TDialSetting::UseDefaultDialling, 4, false);
    a.SetDialSetting(TDialSetting::PrefixOn, 4, true);
    a.SetDialSetting(TDialSetting::ChargeCard, 5, true);
    a.SetDialSetting(TDialSetting::LogCall, 3, true);
    a.SetPrefix(3, "9");

    Bytes block;
    block.U8s({1, 0, 1, 1}).U8s({0, 1, 0, 0}).U8s({0, 0, 1, 0}).U8s({1, 0, 0, 0});
    Bytes e;
    e.I16(3).U8(9).Str("P").NullStr().Str("1 High St\r\nTown").Str("0123").Str("").Str("").Str("");
    e.Raw(block.b).Str("9").Raw(block.b).Str("").Raw(block.b).Str("").Raw(block.b).Str("");
    EXPECT_EQ(Written(a), e.b);

    TStreamReader r(e.b);
    auto back = TAddress::Read(r, 13);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(*back, a);
}

TEST(StoreLayout, AddressReaderKeepsTheLastOfDifferingDiallingBlocks) {
    Bytes e;
    e.I16(1).U8(0);
    for (int i = 0; i < 7; ++i)
        e.Str("");
    for (unsigned k = 0; k < 4; ++k)
        e.U8s({k, 0, 0, 0}).U8s({0, k, 0, 0}).U8s({0, 0, 0, 0}).U8s({0, 0, 0, k}).Str("");
    TStreamReader r(e.b);
    auto a = TAddress::Read(r, 13);
    EXPECT_EQ(a->UseDefaultDialling, (std::array<std::uint8_t, 4>{3, 0, 0, 0}));
    EXPECT_EQ(a->PrefixOn, (std::array<std::uint8_t, 4>{0, 3, 0, 0}));
    EXPECT_EQ(a->LogCall, (std::array<std::uint8_t, 4>{0, 0, 0, 3}));
}

TEST(StoreLayout, RuleIsTwoHundredSeventyNineBytesWithTheTextPadded) {
    TRule rule;
    rule.FieldNo = 2;
    rule.TemplateNo = -1;
    rule.IsText = 1;
    rule.SetText("Smith");
    rule.MatchCase = 1;
    rule.FromDate = 36526; // text rules keep their dates as given here
    rule.ToDate = 36527.25;

    Bytes e;
    e.I16(2).I16(-1).U8(1).U8(5).U8s({'S', 'm', 'i', 't', 'h'});
    for (int i = 0; i < 250; ++i)
        e.U8(0);
    e.U8(1).U8(0).Date(36526).Date(36527.25);
    const auto bytes = Written(rule);
    ASSERT_EQ(bytes.size(), kRuleSize);
    EXPECT_EQ(bytes, e.b);

    TStreamReader r(bytes);
    EXPECT_EQ(*TRule::Read(r, 13), rule);
}

TEST(StoreLayout, TemplateInterleavesCaptionsAndShownFlags) {
    TTemplate t(4);
    t.SetName("  Office ");
    t.IncludeForNew = 1;
    t.TemplateFlag = 7;
    t.SetCaption(0, "Role");
    t.SetCaption(3, "Desk");
    t.Shown[1] = 0;
    t.Shown[10] = 1;
    t.AddressFormat = kFormatUS;
    t.ButtonKinds = {1, 2, 0, 2};

    Bytes e;
    e.Str("Office").I16(4).U8(1).U8(7);
    e.Str("Role").U8(1).Str("").U8(0).Str("").U8(1).Str("Desk").U8(1);
    for (int i = 4; i < 10; ++i)
        e.Str("").U8(1);
    e.U8(1).I16(2).I16(1).I16(2).I16(0).I16(2);
    EXPECT_EQ(Written(t), e.b);
}

TEST(StoreLayout, SmallRecordsAndListHeaders) {
    TCategoryList cats;
    cats.AddCategory(" Golf ", true);
    cats.NextId = 7;
    EXPECT_EQ(Written(cats), Bytes().I16(7).I16(1).Str("Golf").I16(0).U8(1).b);

    TDocumentList docs;
    docs.AppendAttachment("Plan", "c:\\plan.doc", true);
    docs.AppendAttachment("Site", "http://x", false);
    EXPECT_EQ(
        Written(docs),
        Bytes().I16(2).Str("Plan").Str("c:\\plan.doc").U8(1).Str("Site").Str("http://x").U8(0).b);

    TLog log("555", "ok", 36526.5, 36526.75);
    EXPECT_EQ(Written(log), Bytes().Date(36526.5).Date(36526.75).Str("555").Str("ok").b);

    TFilterList searches = TFilterList::Defaults();
    searches.HeaderWidths = {80, 120};
    TFilter* f = searches.At(0);
    f->StartsWithOn = 1;
    f->SetStartsWith("Sm");
    f->ExcludeUntagged = 1;
    f->CategoriesOn = 1;
    f->AnyCategory = 0;
    f->CategoriesInUse.AddMembership(4);
    f->Rules.Add(std::make_unique<TRule>());
    Bytes rule;
    rule.I16(-1).I16(-1).U8(0);
    for (int i = 0; i < 256; ++i)
        rule.U8(0);
    rule.U8(0).U8(0).Date(0).Date(0);
    Bytes e;
    e.Str("<Untitled>").I16(80).I16(120).I16(1);
    e.U8(1).Str("Sm").Str("<Untitled>").U8s({0, 1, 0, 0}).U8(1).U8(0);
    e.I16(1).Raw(rule.b).I16(1).I16(4);
    EXPECT_EQ(Written(searches), e.b);
}

TEST(StoreLayout, EntryStoresItsStampRawAndItsDatesWithTheOffset) {
    TRecord entry;
    entry.Stamp = 45000.123;
    entry.UseDefaultKeys = 0;
    entry.Tagged = 1;
    entry.Keys.AddKey(2, true);
    entry.SetNameField(kFieldSurname, "Smith");
    entry.Created = 45000;
    entry.Updated = 45001.5;
    entry.CategoriesInUse.AddMembership(1);
    entry.Addresses.AddAddress(1);
    entry.Attachments.AppendAttachment("d", "f", true);
    entry.CallLogs.AddLog("1", "", 45002, 45002.01);

    Bytes e;
    e.I16(1).I16(2).U8(1).U8(0).U8(1);
    e.Str("").Str("").Str("Smith");
    for (int i = 3; i < 10; ++i)
        e.Str("");
    e.Date(45000).Date(45001.5).Date(0).F64(45000.123);
    e.I16(1).I16(1);
    e.I16(1).Raw(Written(*entry.Addresses.At(0)));
    e.I16(0);
    e.I16(1).Str("d").Str("f").U8(1);
    e.I16(1).Date(45002).Date(45002.01).Str("1").Str("");
    EXPECT_EQ(Written(entry), e.b);
}

TEST(StoreLayout, NewBookImageFromTheBuiltInDefaults) {
    TStoreSettings settings;
    settings.ConfigDirectory = "/nonexistent-tessaly-config";
    FakeClock clock(40000.5);
    auto book = NewBook("/tmp/x.ADR", settings, clock);

    Bytes e;
    e.Sig().I16(13);
    e.I16(2).I16(2).Str("Business").I16(0).U8(0).Str("Personal").I16(1).U8(0);
    e.I16(2).I16(1).I16(2);
    const char* nameCaptions[] = {"Title",     "First Name", "Surname",   "Salutation", "Undefined",
                                  "Undefined", "Undefined",  "Undefined", "Undefined",  "Notes"};
    const char* addressCaptions[] = {"Position", "Company", "Address", "Home", "Work",
                                     "Fax",      "E-Mail",  "",        "",     ""};
    for (int t = 0; t < 2; ++t) {
        e.Str(t == 0 ? "" : "Address 1").I16(t).U8(1).U8(0);
        for (int i = 0; i < 10; ++i)
            e.Str(t == 0 ? nameCaptions[i] : addressCaptions[i]).U8(1);
        e.U8(0).I16(0).I16(1).I16(1).I16(0).I16(2);
    }
    e.I16(0).U8(1).I16(170).I16(60).I16(122).I16(0);
    e.Date(40000.5).Date(0).U8(0).U8(1);
    e.I16(5).I16(5).I16(500).I16(450).I16(0).I16(0);
    e.I16(22).I16(39).I16(120).I16(40);
    for (const char* caption :
         {"&Address", "&Notes", "&Reminders", "&Others", "Attach&ments", "&Categories"})
        e.Str(caption);
    e.I16(3).I16(0).U8(1).I16(1).U8(1).I16(2).U8(1);
    e.Str("<Untitled>").I16(100).I16(100).I16(1);
    e.U8(0).Str("").Str("<Untitled>").U8s({0, 0, 0, 0}).U8(0).U8(1).I16(0).I16(0);
    e.I16(0);
    e.I16(6);
    for (int code : {0, 1, 2, 20, 21, 22})
        e.I16(code).U8(0);
    e.U8(0).U8(0).U8(1).I16(1);
    e.Sig();
    EXPECT_EQ(WriteBookImage(*book), e.b);
}

} // namespace
} // namespace tessaly
