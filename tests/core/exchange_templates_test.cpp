// The import and export template files: their exact bytes, the fields older versions
// lack, the defaults for a missing, damaged or empty file, and saving.

#include "core/exchange/export_template.h"
#include "core/exchange/import_template.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/test_bytes.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::Bytes;
using testing::ReadBytes;
using testing::TScratchDir;
using testing::WriteBytes;

Bytes ImportBytes(int version) {
    Bytes b;
    b.Sig().I16(version).I16(1).Str("Mine");
    for (int slot = 0; slot < kImportSlots; ++slot) {
        if (slot == 2)
            b.I16(2).I16(4).I16(5); // surname from columns 4 and 5
        else
            b.I16(0);
    }
    b.U8s({'\'', ';', 0, 1}).I16(kImportDiaryEvents).Sig();
    return b;
}

TEST(ImportTemplates, ExactBytesBothWays) {
    TImportList list;
    ASSERT_TRUE(ParseImportTemplates(ImportBytes(13).b, list));
    ASSERT_EQ(list.Count(), 1);
    const TImport& t = *list.At(0);
    EXPECT_EQ(t.NameText(), "Mine");
    EXPECT_EQ(t.Mappings[2].Count(), 2);
    EXPECT_EQ(t.Mappings[2].FieldAt(1), 5);
    EXPECT_EQ(t.FirstColumn(2), 4);
    EXPECT_EQ(t.FirstColumn(3), -1);
    EXPECT_EQ(t.Quote, '\'');
    EXPECT_EQ(t.Separator, ';');
    EXPECT_EQ(t.HeaderLine, 0);
    EXPECT_EQ(t.UseDescriptions, 1);
    EXPECT_EQ(t.ImportType, kImportDiaryEvents);
    EXPECT_EQ(WriteImportTemplates(list), ImportBytes(13).b);
    // Any version up to this one reads alike; a newer one is refused.
    EXPECT_TRUE(ParseImportTemplates(ImportBytes(5).b, list));
    EXPECT_FALSE(ParseImportTemplates(ImportBytes(14).b, list));
}

TEST(ImportTemplates, DefaultsForMissingDamagedOrEmptyFiles) {
    TScratchDir dir;
    const auto isDefault = [](const TImportList& l) {
        return l.Count() == 2 && l.At(0)->NameText() == kDefaultBookImport &&
               l.At(0)->ImportType == kImportEntries && l.At(0)->MappedSlots() == kImportSlots &&
               l.At(0)->FirstColumn(20) == 20 && l.At(1)->NameText() == kDefaultDiaryImport &&
               l.At(1)->ImportType == kImportDiaryEvents && l.At(1)->MappedSlots() == 10 &&
               l.At(1)->FirstColumn(9) == 9 && l.At(1)->Quote == '"' && l.At(1)->Separator == ',' &&
               l.At(1)->HeaderLine == 1 && l.At(1)->UseDescriptions == 0;
    };
    EXPECT_TRUE(isDefault(LoadImportTemplates(dir.File("none.TPI"))));

    std::vector<std::uint8_t> cut = ImportBytes(13).b;
    cut.erase(cut.end() - 9, cut.end() - 6); // the body ends early
    WriteBytes(dir.File("cut.TPI"), cut);
    EXPECT_TRUE(isDefault(LoadImportTemplates(dir.File("cut.TPI"))));

    std::vector<std::uint8_t> tail = ImportBytes(13).b;
    tail.push_back(0);
    WriteBytes(dir.File("tail.TPI"), tail);
    EXPECT_TRUE(isDefault(LoadImportTemplates(dir.File("tail.TPI"))));

    Bytes empty;
    empty.Sig().I16(13).I16(0).Sig();
    WriteBytes(dir.File("empty.TPI"), empty.b);
    EXPECT_TRUE(isDefault(LoadImportTemplates(dir.File("empty.TPI"))));

    WriteBytes(dir.File("good.TPI"), ImportBytes(13).b);
    EXPECT_EQ(LoadImportTemplates(dir.File("good.TPI")).At(0)->NameText(), "Mine");
}

Bytes ExportBytes(int version) {
    Bytes b;
    b.Sig().I16(version).I16(1).Str("Mail");
    for (int c = 0; c < kExportColumns; ++c)
        b.I16(c < 3 ? 2 - c : -1);
    if (version >= 11)
        for (int c = 0; c < kExportColumns; ++c)
            b.U8(c == 1 ? 1 : 0);
    b.U8s({0, 9, 1, 1}).I16(kExportEntries).U8(7);
    if (version >= 8)
        b.I16(4);
    b.Sig();
    return b;
}

TEST(ExportTemplates, ExactBytesAndFieldsOlderVersionsLack) {
    TExportList list;
    ASSERT_TRUE(ParseExportTemplates(ExportBytes(13).b, list));
    const TExport& t = *list.At(0);
    EXPECT_EQ(t.NameText(), "Mail");
    EXPECT_EQ(t.Columns[0], 2);
    EXPECT_EQ(t.Columns[2], 0);
    EXPECT_EQ(t.Columns[3], -1);
    EXPECT_EQ(t.Labels[1], 1);
    EXPECT_EQ(t.Quote, 0);
    EXPECT_EQ(t.Separator, 9);
    EXPECT_EQ(t.MailMerge, 1);
    EXPECT_EQ(t.Reserved, 7);
    EXPECT_EQ(t.AddressColumns, 4);
    EXPECT_EQ(WriteExportTemplates(list), ExportBytes(13).b);

    ASSERT_TRUE(ParseExportTemplates(ExportBytes(10).b, list));
    EXPECT_EQ(list.At(0)->Labels[1], 0);
    EXPECT_EQ(list.At(0)->AddressColumns, 4);
    ASSERT_TRUE(ParseExportTemplates(ExportBytes(7).b, list));
    EXPECT_EQ(list.At(0)->AddressColumns, 1);
    EXPECT_EQ(list.At(0)->Reserved, 7);
    // Saving writes the current version with every field.
    auto upgraded = WriteExportTemplates(list);
    TExportList again;
    ASSERT_TRUE(ParseExportTemplates(upgraded, again));
    EXPECT_EQ(again, list);
    EXPECT_EQ(upgraded[6], 13);
    // A newer version is refused.
    EXPECT_FALSE(ParseExportTemplates(ExportBytes(14).b, list));
}

TEST(ExportTemplates, DefaultsAndSavingThroughTheSafeWriter) {
    const TExportList d = TExportList::Defaults();
    ASSERT_EQ(d.Count(), 4);
    const int lastField[] = {16, 10, 7, 9};
    for (int i = 0; i < 4; ++i) {
        const TExport& t = *d.At(i);
        EXPECT_EQ(t.ExportType, i + 1);
        EXPECT_EQ(t.NameText(), TExportList::DefaultName(i + 1));
        EXPECT_EQ(t.Columns[static_cast<std::size_t>(lastField[i])], lastField[i]);
        EXPECT_EQ(t.Columns[static_cast<std::size_t>(lastField[i] + 1)], -1);
        EXPECT_EQ(t.Quote, '"');
        EXPECT_EQ(t.Separator, ',');
        EXPECT_EQ(t.HeaderLine, 1);
        EXPECT_EQ(t.MailMerge, 0);
        EXPECT_EQ(t.Reserved, 1);
        EXPECT_EQ(t.AddressColumns, 1);
    }
    EXPECT_EQ(d.Find("default diary EXPORT"), 3);

    TScratchDir dir;
    const std::string path = dir.File("TESSALY.TPE");
    ASSERT_TRUE(SaveExportTemplates(path, d).Ok);
    EXPECT_EQ(LoadExportTemplates(path), d);
    const auto before = ReadBytes(path);
    // A save that fails part-way leaves the file as it was.
    testing::TFaultFileSystem fs;
    fs.DiskFullAfter(10);
    TExportList changed = d;
    changed.At(0)->SetName("  Renamed  ");
    EXPECT_EQ(changed.At(0)->NameText(), "Renamed");
    EXPECT_FALSE(SaveExportTemplates(path, changed, fs).Ok);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(ExportTemplates, ColumnsPackAndKeepTheirLabels) {
    TExport t;
    t.Columns[3] = 7;
    t.Labels[3] = 1;
    t.Columns[9] = 2;
    EXPECT_EQ(t.UsedColumns(), (std::vector<TExportColumn>{{7, true}, {2, false}}));
    t.SetColumns({{2, false}, {7, true}});
    EXPECT_EQ(t.Columns[0], 2);
    EXPECT_EQ(t.Columns[1], 7);
    EXPECT_EQ(t.Labels[1], 1);
    EXPECT_EQ(t.Columns[3], -1);
    EXPECT_EQ(t.Labels[3], 0);
    t.SetColumns(std::vector<TExportColumn>(30, {1, true}));
    EXPECT_EQ(t.UsedColumns().size(), std::size_t(kExportColumns));
}

} // namespace
} // namespace tessaly
