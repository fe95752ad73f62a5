#pragma once
// "Address Book Options": the working copy of what the book's layout and organisation
// dialog edits (field labels and visibility, page labels, categories, address
// templates, the two word-processor flags), its rules, and OK writing it into the book.
// Nothing touches the book before Apply, so Cancel leaves it exactly as it was.

#include "core/common/dialog_message.h"
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

    // Fields page: the labels of template 0 and whether each field is shown.
    std::array<std::string, kFields> FieldLabels;
    std::array<bool, kFields> FieldShown{};
    // Pages page.
    std::array<std::string, kPageCaptions> PageLabels;
    // Word Processor page.
    bool InsertBlankFields = false;
    bool LabelPhoneFields = false;

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
};

} // namespace tessaly
