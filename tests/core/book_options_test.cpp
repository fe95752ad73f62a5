// The book options' working copy: nothing reaches the book before Apply; categories
// added, edited, marked and restored, inherited from another book file (or refused
// from a file that is not a book); templates the first of which cannot be deleted;
// labels and page names written on Apply.

#include "core/access/book_header.h"
#include "core/book_options/book_options.h"
#include "core/store/book_file.h"
#include "tests/support/scratch_dir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

std::unique_ptr<TBookData> Book(const std::string& path) {
    TStoreSettings settings;
    auto book = NewBook(path, settings);
    TTemplateValues v;
    v.Name = "Work";
    book->Templates.AddTemplate(v);
    return book;
}

TEST(BookOptions, CategoriesAreCheckedMarkedAndRestoredOnTheCopyOnly) {
    auto book = Book("/nowhere/A.ADR");
    const TCategoryList before = book->Categories;
    TBookOptions o(*book);
    ASSERT_EQ(o.Categories().Count(), 2); // "Business", "Personal"
    auto m = o.AddCategory("  personal ", false);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Title, kMsgTitleValidationFailed);
    EXPECT_TRUE(o.AddCategory(" ", false));
    EXPECT_FALSE(o.AddCategory(" Clients ", true));
    EXPECT_EQ(o.Categories().CategoryName(2), "Clients");
    EXPECT_EQ(o.Categories().CategoryDefault(2), 1);
    EXPECT_FALSE(o.EditCategory(2, "CLIENTS", false)); // its own name in another case
    EXPECT_TRUE(o.EditCategory(2, "business", false));
    EXPECT_EQ(o.Categories().CategoryName(2), "CLIENTS");

    const auto q = o.CategoryDeleteQuestion(0);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->Text, "Please Confirm the Deletion of Category: Business \n\nWarning: Any "
                       "Entries associated with this Category will lose that association");
    o.MarkCategory(0, true);
    EXPECT_FALSE(o.CategoryDeleteQuestion(0)); // a marked one is restored, not asked
    EXPECT_FALSE(o.ToggleCategoryDefault(0));
    EXPECT_TRUE(o.ToggleCategoryDefault(1));
    EXPECT_EQ(book->Categories, before);

    EXPECT_TRUE(o.Apply(*book));
    ASSERT_EQ(book->Categories.Count(), 2);
    EXPECT_EQ(book->Categories.CategoryName(0), "Personal");
    EXPECT_EQ(book->Categories.CategoryDefault(0), 1);
    EXPECT_EQ(book->Categories.NextId, 3); // numbers are never reused
}

TEST(BookOptions, InheritTakesMissingCategoriesAndRefusesWhatIsNotABook) {
    testing::TScratchDir dir;
    TStoreSettings settings;
    auto other = Book(dir.File("Other.ADR"));
    other->Categories.AddCategory("Golf", true);
    ASSERT_TRUE(SaveBook(*other, false, settings).Ok);
    {
        std::ofstream junk(dir.File("Junk.ADR"), std::ios::binary);
        junk << "not a book at all";
    }

    auto book = Book(dir.File("Mine.ADR"));
    TBookOptions o(*book);
    const auto refused = o.InheritCategories(dir.File("Junk.ADR"), settings);
    ASSERT_TRUE(refused);
    EXPECT_FALSE(refused->Text.empty());
    EXPECT_TRUE(o.InheritCategories(dir.File("Missing.ADR"), settings));
    EXPECT_EQ(o.Categories().Count(), 2);
    EXPECT_FALSE(o.InheritCategories(dir.File("Other.ADR"), settings));
    ASSERT_EQ(o.Categories().Count(), 3);
    EXPECT_EQ(o.Categories().CategoryName(2), "Golf");
    EXPECT_EQ(book->Categories.Count(), 2); // the book waits for OK
}

TEST(BookOptions, TemplatesLabelsAndPagesReachTheBookOnApplyOnly) {
    auto book = Book("/nowhere/B.ADR");
    TBookOptions o(*book);
    EXPECT_TRUE(o.TemplateDeleteRefusalFor(0));
    EXPECT_TRUE(o.TemplateDeleteRefusalFor(1));
    EXPECT_FALSE(o.TemplateDeleteRefusalFor(2));
    o.MarkTemplate(1, true); // refused: stays
    EXPECT_EQ(o.Templates().TemplateDeleted(1), 0);
    const auto q = o.TemplateDeleteQuestion(2);
    ASSERT_TRUE(q);
    EXPECT_NE(q->Text.find("Address Template: Work"), std::string::npos);
    o.MarkTemplate(2, true);
    EXPECT_TRUE(o.ToggleTemplateInclude(1));
    EXPECT_EQ(o.Templates().TemplateIncludeForNew(1), 1); // the last one keeps it

    EXPECT_EQ(TBookOptions::FieldGroupCaption("Address"), "Address Page");
    o.FieldLabels[3] = " Nickname ";
    o.FieldShown[4] = false;
    o.PageLabels[1] = "Jottings";
    o.LabelPhoneFields = true;
    EXPECT_EQ(book->Templates.Count(), 3);
    EXPECT_TRUE(o.Apply(*book));
    EXPECT_EQ(book->Templates.Count(), 2);
    EXPECT_EQ(book->Templates.TemplateCaption(0, 3), "Nickname");
    EXPECT_EQ(book->Templates.TemplateShown(0, 4), 0);
    EXPECT_EQ(PageCaption(*book, 1), "Jottings");
    EXPECT_EQ(book->LabelPhoneFields, 1);

    // Nothing changed: Apply says so and the book's bytes stay.
    const auto image = WriteBookImage(*book);
    EXPECT_FALSE(TBookOptions(*book).Apply(*book));
    EXPECT_EQ(WriteBookImage(*book), image);
}

TEST(BookOptions, TemplateDialogStoresNewAndEditedTemplates) {
    auto book = Book("/nowhere/C.ADR");
    TBookOptions o(*book);
    TTemplateValues v = o.Templates().NewTemplateValues();
    v.Name = " work ";
    const auto taken = o.StoreTemplate(-1, v, false);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Title, kMsgTitleValidationFailed);
    v.Name = " Cottage ";
    v.Captions[1] = "Landlord";
    int at = -1;
    EXPECT_FALSE(o.StoreTemplate(-1, v, true, &at));
    ASSERT_EQ(at, 3);
    EXPECT_EQ(o.Templates().TemplateName(3), "Cottage");
    EXPECT_EQ(o.Templates().BaseIndex, 3);
    // Editing keeps its own name in another case; the number stays.
    const int id = o.Templates().TemplateId(3);
    v.Name = "COTTAGE";
    EXPECT_FALSE(o.StoreTemplate(3, v, false));
    EXPECT_EQ(o.Templates().TemplateId(3), id);
    EXPECT_EQ(o.Templates().TemplateName(3), "COTTAGE");
    EXPECT_EQ(book->Templates.Count(), 3); // the book waits for OK
    EXPECT_TRUE(o.Apply(*book));
    EXPECT_EQ(book->Templates.TemplateCaption(3, 1), "Landlord");
}

TEST(BookOptions, DefaultKeysAndInsertFieldsReachTheBookOnApplyOnly) {
    auto book = Book("/nowhere/D.ADR");
    const TIndexList keysBefore = book->IndexKeys;
    const TIndexList insertBefore = book->InsertFields;
    const auto image = WriteBookImage(*book);
    TBookOptions o(*book);
    // The lists name fields by the labels as edited on the Fields page.
    o.FieldLabels[1] = " Given Name ";
    o.RefreshKeyCaptions();
    EXPECT_EQ(o.IndexKeyLists().KeyText(1), "1 Given Name");
    EXPECT_EQ(o.InsertFieldLists().KeyText(1), "1 Given Name");

    // Surname first, then first name; the title taken out; the company added unsorted.
    TKeyListEditor& keys = o.IndexKeyLists();
    EXPECT_EQ(keys.MoveTo(2, 0), 0);
    EXPECT_EQ(keys.Delete(1), 1);
    EXPECT_EQ(keys.Drop(21, -1), 2);
    EXPECT_TRUE(keys.ToggleSortBy(2));
    TKeyListEditor& insert = o.InsertFieldLists();
    EXPECT_EQ(insert.Drop(kFieldNotes, 0), 0);
    EXPECT_EQ(book->IndexKeys, keysBefore); // the book waits for OK
    EXPECT_EQ(book->InsertFields, insertBefore);
    EXPECT_EQ(WriteBookImage(*book), image);

    EXPECT_TRUE(o.Apply(*book));
    ASSERT_EQ(book->IndexKeys.Count(), 3);
    EXPECT_EQ(book->IndexKeys.KeyCode(0), kFieldSurname);
    EXPECT_EQ(book->IndexKeys.KeyCode(1), 1);
    EXPECT_EQ(book->IndexKeys.KeyCode(2), 21);
    EXPECT_EQ(book->IndexKeys.KeySortBy(2), 0);
    ASSERT_EQ(book->InsertFields.Count(), insertBefore.Count() + 1);
    EXPECT_EQ(book->InsertFields.KeyCode(0), kFieldNotes);
    EXPECT_EQ(book->InsertFields.KeySortBy(0), 0);

    // Only the keys changed: Apply still says the book changed.
    TBookOptions again(*book);
    again.IndexKeyLists().Move(0, 1);
    EXPECT_TRUE(again.Apply(*book));
    EXPECT_EQ(book->IndexKeys.KeyCode(0), 1);
}

TEST(BookOptions, InheritWarnsOfUnsavedChangesAndOldFilesChangeNothing) {
    testing::TScratchDir dir;
    TStoreSettings settings;
    auto book = Book(dir.File("Mine.ADR"));
    TBookOptions o(*book);
    EXPECT_FALSE(o.InheritWarning(dir.File("Other.ADR"), false));
    const auto warning = o.InheritWarning(dir.File("Other.ADR"), true);
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->Buttons, kMsgButtonsOkCancel);
    EXPECT_NE(warning->Text.find("Other.ADR is open in another window"), std::string::npos);
    // Its own file inherits nothing, so there is nothing to warn of.
    EXPECT_FALSE(o.InheritWarning(dir.File("MINE.ADR"), true));

    // A file of an earlier version is not read: the reason is given, nothing is added.
    testing::WriteBytes(dir.File("Old.ADR"), {4, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    const auto refused = o.InheritCategories(dir.File("Old.ADR"), settings);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Title, kMsgTitleAccessError);
    EXPECT_NE(refused->Text.find("Version 2.0"), std::string::npos);
    EXPECT_EQ(o.Categories().Count(), 2);
    EXPECT_FALSE(o.InheritCategories(dir.File("Mine.ADR"), settings)); // its own: nothing
    EXPECT_EQ(o.Categories().Count(), 2);
}

} // namespace
} // namespace tessaly
