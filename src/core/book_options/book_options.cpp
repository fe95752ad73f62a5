#include "core/book_options/book_options.h"

#include "core/access/book_header.h"
#include "core/common/file_paths.h"
#include "core/common/same_text.h"
#include "core/common/text.h"
#include "core/organise/validation.h"
#include "core/store/book_file.h"

namespace tessaly {

TBookOptions::TBookOptions(const TBookData& book)
    : ownPath_(book.FileName), categories_(book.Categories.Copy()),
      templates_(book.Templates.Copy()) {
    for (int f = 0; f < kFields; ++f) {
        FieldLabels[f] = book.Templates.TemplateCaption(0, f);
        FieldShown[f] = book.Templates.TemplateShown(0, f) != 0;
    }
    for (int p = 0; p < kPageCaptions; ++p)
        PageLabels[p] = PageCaption(book, p);
    InsertBlankFields = book.InsertBlankFields != 0;
    LabelPhoneFields = book.LabelPhoneFields != 0;
    AssignKeys(indexKeys_, book.IndexKeys);
    AssignKeys(insertFields_, book.InsertFields);
    RefreshKeyCaptions();
}

void TBookOptions::RefreshKeyCaptions() {
    TKeyListEditor::TCaptions c = KeyCaptions(templates_, templates_.TemplateId(1));
    for (int f = 0; f < kFields; ++f)
        c.Names[static_cast<std::size_t>(f)] = Trim(FieldLabels[f]);
    indexKeyLists_.SetCaptions(c);
    insertLists_.SetCaptions(c);
}

std::string TBookOptions::FieldGroupCaption(const std::string& pageLabel) {
    return pageLabel + " Page";
}

std::optional<TDialogMessage> TBookOptions::AddCategory(const std::string& name, bool isDefault) {
    if (auto m = CheckCategoryName(categories_, name, -1))
        return m;
    categories_.AddCategory(CleanShort(name), isDefault);
    return std::nullopt;
}

std::optional<TDialogMessage> TBookOptions::EditCategory(int i, const std::string& name,
                                                         bool isDefault) {
    if (!categories_.InRange(i))
        return std::nullopt;
    if (auto m = CheckCategoryName(categories_, name, i))
        return m;
    categories_.UpdateCategory(i, CleanShort(name), isDefault);
    return std::nullopt;
}

std::optional<TDialogMessage> TBookOptions::CategoryDeleteQuestion(int i) const {
    if (!categories_.InRange(i) || categories_.CategoryDeleted(i))
        return std::nullopt;
    return CategoryDeletionQuestion(categories_.CategoryName(i));
}

void TBookOptions::MarkCategory(int i, bool deleted) {
    categories_.SetDeleted(i, deleted);
}

bool TBookOptions::ToggleCategoryDefault(int i) {
    if (!categories_.InRange(i) || categories_.CategoryDeleted(i))
        return false;
    return categories_.UpdateCategory(i, categories_.CategoryName(i),
                                      !categories_.CategoryDefault(i));
}

std::optional<TDialogMessage> TBookOptions::InheritWarning(const std::string& path,
                                                           bool unsavedElsewhere) const {
    if (!unsavedElsewhere || SameText(path, ownPath_))
        return std::nullopt;
    return TDialogMessage{kMsgTitleDataLossPossible,
                          "The Address Book " + FileNameOf(path) +
                              " is open in another window and has changes that have not "
                              "been saved.\n\nOnly the Categories saved in its file can be "
                              "inherited. Do you wish to continue ?",
                          kMsgKindWarning, kMsgButtonsOkCancel};
}

std::optional<TDialogMessage> TBookOptions::InheritCategories(const std::string& path,
                                                              const TStoreSettings& settings) {
    // Merged into a scratch book holding this list, so that a failure changes nothing.
    TBookData scratch;
    scratch.FileName = ownPath_;
    scratch.Categories = categories_;
    const TMergeResult result = MergeCategoriesFromBook(scratch, path, settings);
    if (!result.Ok)
        return TDialogMessage{kMsgTitleAccessError,
                              result.Message.empty() ? BookErrorMessage(path, "is not readable")
                                                     : result.Message,
                              kMsgKindError, kMsgButtonsOk};
    categories_ = scratch.Categories;
    return std::nullopt;
}

std::optional<TDialogMessage> TBookOptions::TemplateDeleteRefusalFor(int i) const {
    return TemplateDeleteRefusal(templates_, i);
}

std::optional<TDialogMessage> TBookOptions::TemplateDeleteQuestion(int i) const {
    if (!templates_.InRange(i) || templates_.TemplateDeleted(i))
        return std::nullopt;
    return TemplateDeletionQuestion(templates_.TemplateName(i));
}

void TBookOptions::MarkTemplate(int i, bool deleted) {
    if (deleted && TemplateDeleteRefusal(templates_, i))
        return;
    templates_.SetDeleted(i, deleted);
}

std::optional<TDialogMessage> TBookOptions::StoreTemplate(int i, const TTemplateValues& values,
                                                          bool base, int* stored) {
    if (auto m = CheckTemplateName(templates_, values.Name, i))
        return m;
    TTemplateValues clean = values;
    clean.Name = CleanShort(values.Name);
    int at = i;
    if (i < 0) {
        at = templates_.AddTemplate(clean);
        if (at < 0)
            return TDialogMessage{kMsgTitleRequestDenied,
                                  "No more Address Templates can be added to this Address Book.",
                                  kMsgKindError, kMsgButtonsOk};
        // AddTemplate leaves the include flag as given; the rule keeps one.
        templates_.SetIncludeForNew(at, clean.IncludeForNew);
    } else if (!templates_.UpdateTemplate(i, clean, templates_.TemplateDeleted(i) != 0)) {
        return std::nullopt;
    }
    if (base)
        templates_.SetBaseIndex(at);
    if (stored)
        *stored = at;
    return std::nullopt;
}

bool TBookOptions::ToggleTemplateInclude(int i) {
    if (i < 1 || !templates_.InRange(i) || templates_.TemplateDeleted(i))
        return false;
    templates_.SetIncludeForNew(i, !templates_.TemplateIncludeForNew(i));
    return true;
}

bool TBookOptions::Apply(TBookData& book) const {
    TTemplateList templates = templates_;
    templates.PurgeTemplates();
    if (TTemplate* names = templates.At(0)) {
        // Only what was changed is set, so that an unchanged label stays as stored.
        for (int f = 0; f < kFields; ++f) {
            if (names->Caption(f) != Trim(FieldLabels[f]))
                names->SetCaption(f, FieldLabels[f]);
            names->Shown[static_cast<std::size_t>(f)] = FieldShown[f] ? 1 : 0;
        }
    }
    TCategoryList categories = categories_;
    categories.PurgeCategories();
    bool changed = !(templates == book.Templates) || !(categories == book.Categories);
    book.Templates = std::move(templates);
    book.Categories = std::move(categories);
    for (int p = 0; p < kPageCaptions; ++p) {
        if (PageCaption(book, p) != Trim(PageLabels[p])) {
            SetPageCaption(book, p, Trim(PageLabels[p]));
            changed = true;
        }
    }
    changed = changed || !(indexKeys_ == book.IndexKeys) || !(insertFields_ == book.InsertFields);
    AssignKeys(book.IndexKeys, indexKeys_);
    AssignKeys(book.InsertFields, insertFields_);
    const std::uint8_t blank = InsertBlankFields ? 1 : 0;
    const std::uint8_t label = LabelPhoneFields ? 1 : 0;
    changed = changed || blank != book.InsertBlankFields || label != book.LabelPhoneFields;
    book.InsertBlankFields = blank;
    book.LabelPhoneFields = label;
    return changed;
}

} // namespace tessaly
