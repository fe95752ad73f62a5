#pragma once
// "Address Book Options": the working copy of what the book's layout and organisation
// dialog edits (field labels and visibility, page labels, the default index keys,
// categories, address templates, the word-processor insert fields and flags), its
// rules, and OK writing it into the book.
// Nothing touches the book before Apply, so Cancel leaves it exactly as it was.

#include "core/common/dialog_message.h"
#include "core/organise/key_list_editor.h"
#include "core/store/book.h"
#include "core/store/store_settings.h"

#include <array>
#include <optional>
#include <string>

namespace tessaly {

class TBookOptions {
public:
    static constexpr int kFields = 10; // the name fields, Notes and the Others fields

    explicit TBookOptions(const TBookData& book);
    // The two key editors work on this object's own lists.
    TBookOptions(const TBookOptions&) = delete;
    TBookOptions& operator=(const TBookOptions&) = delete;

    // Fields page: the labels of template 0 and whether each field is shown.
    std::array<std::string, kFields> FieldLabels;
    std::array<bool, kFields> FieldShown{};
    // Pages page.
    std::array<std::string, kPageCaptions> PageLabels;
    // Word Processor page.
    bool InsertBlankFields = false;
    bool LabelPhoneFields = false;

    // Index Keys page: the book's default keys (with sort flags). Word Processor page:
    // the fields inserted, in order (the notes may be inserted; no sort flags).
    TKeyListEditor& IndexKeyLists() { return indexKeyLists_; }
    TKeyListEditor& InsertFieldLists() { return insertLists_; }
    const TIndexList& IndexKeys() const { return indexKeys_; }
    const TIndexList& InsertFields() const { return insertFields_; }
    // The lists name the fields by the labels as now edited and the captions of the
    // first address template.
    void RefreshKeyCaptions();

    const TCategoryList& Categories() const { return categories_; }
    const TTemplateList& Templates() const { return templates_; }

    // The group caption of the Fields page for a page label: the label and " Page".
    static std::string FieldGroupCaption(const std::string& pageLabel);

    // Categories page. New and Edit check the name first (nothing changes on a
    // refusal); `i` is the list index.
    std::optional<TDialogMessage> AddCategory(const std::string& name, bool isDefault);
    std::optional<TDialogMessage> EditCategory(int i, const std::string& name, bool isDefault);
    // Delete/Restore: for an unmarked category, the question to ask before marking
    // (then MarkCategory); a marked one is restored at once and nothing is returned.
    std::optional<TDialogMessage> CategoryDeleteQuestion(int i) const;
    void MarkCategory(int i, bool deleted);
    bool ToggleCategoryDefault(int i);
    // Before "Inherit" reads a file that is open in another window with changes not yet
    // saved (`unsavedElsewhere`): the warning to confirm, since only what was saved is
    // read. Nothing for the book's own file, which inherits nothing.
    std::optional<TDialogMessage> InheritWarning(const std::string& path,
                                                 bool unsavedElsewhere) const;
    // "Inherit": adds the categories of another book file that this list lacks. A file
    // that is not a readable book gives the reason and changes nothing.
    std::optional<TDialogMessage> InheritCategories(const std::string& path,
                                                    const TStoreSettings& settings);

    // Addresses page: the refusal for template 0, the first address template and the
    // template numbered 1; otherwise as for categories.
    std::optional<TDialogMessage> TemplateDeleteRefusalFor(int i) const;
    std::optional<TDialogMessage> TemplateDeleteQuestion(int i) const;
    void MarkTemplate(int i, bool deleted);
    // The template dialog, on OK: the name check, then the values stored (a new
    // template when `i` is -1) and, with `base`, the template becomes the base of new
    // ones. Returns the refusal, or nothing and the template's index in `stored`.
    std::optional<TDialogMessage> StoreTemplate(int i, const TTemplateValues& values, bool base,
                                                int* stored = nullptr);
    // The default toggle: whether the template's address is added to new entries.
    bool ToggleTemplateInclude(int i);

    // OK: writes everything into the book (marked items purged). Returns whether the
    // book changed.
    bool Apply(TBookData& book) const;

private:
    std::string ownPath_;
    TCategoryList categories_;
    TTemplateList templates_;
    TIndexList indexKeys_;
    TIndexList insertFields_;
    TKeyListEditor indexKeyLists_{indexKeys_, false, true};
    TKeyListEditor insertLists_{insertFields_, true, false};
};

} // namespace tessaly
