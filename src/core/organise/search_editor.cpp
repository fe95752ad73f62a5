#include "core/organise/search_editor.h"

#include "core/common/fill_text.h"
#include "core/common/same_text.h"
#include "core/common/text.h"
#include "core/common/upper_case.h"
#include "core/organise/rule_description.h"
#include "core/organise/validation.h"
#include "core/store/address.h"

#include <cstdio>

namespace tessaly {

namespace {

constexpr int kGeneralFields = 10;

std::string Label(const std::string& caption, int field) {
    if (!caption.empty())
        return caption;
    char buf[40];
    std::snprintf(buf, sizeof buf, "Field: %.2d - Unlabled", field + 1);
    return buf;
}

bool IsDateField(int templateNo, int fieldNo) {
    return templateNo == -1 && (fieldNo == kRuleReminders || fieldNo == kRuleCreated ||
                                fieldNo == kRuleLastModified || fieldNo == kRuleLastCalled);
}

TSearchFieldChoice Choice(int templateNo, int fieldNo, const std::string& text) {
    return {std::to_string(templateNo) + " " + std::to_string(fieldNo) + " " + text, templateNo,
            fieldNo, IsDateField(templateNo, fieldNo)};
}

} // namespace

std::string ChoiceCaption(const TSearchFieldChoice& choice) {
    // Two numbers, each followed by one blank.
    const std::size_t first = choice.Text.find(' ');
    const std::size_t second =
        first == std::string::npos ? std::string::npos : choice.Text.find(' ', first + 1);
    return second == std::string::npos ? choice.Text : choice.Text.substr(second + 1);
}

std::vector<TSearchFieldChoice> SearchFieldChoices(const TTemplateList& templates) {
    std::vector<TSearchFieldChoice> out;
    out.push_back(Choice(-1, kRuleAllFields, RuleFieldName(kRuleAllFields)));
    for (int n = 0; n < kGeneralFields; ++n)
        out.push_back(Choice(-1, n, Label(templates.TemplateCaption(0, n), n)));
    for (int n = kRuleReminders; n <= kRuleAttachmentDescriptions; ++n)
        out.push_back(Choice(-1, n, RuleFieldName(n)));
    for (int t = 1; t < templates.Count(); ++t) {
        if (templates.TemplateDeleted(t))
            continue;
        const int id = templates.TemplateId(t);
        for (int j = 0; j < kAddressFields; ++j) {
            char buf[600];
            std::snprintf(buf, sizeof buf, "%d %d [%s]  %s", id, j,
                          templates.TemplateName(t).c_str(),
                          Label(templates.TemplateCaption(t, j), j).c_str());
            out.push_back({buf, id, j, false});
        }
    }
    return out;
}

int FindFieldChoice(const std::vector<TSearchFieldChoice>& choices, int templateNo, int fieldNo) {
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].TemplateNo == templateNo && choices[i].FieldNo == fieldNo)
            return static_cast<int>(i);
    return -1;
}

TSearchEditor::TSearchEditor(TFilterList& searches, const TTemplateList& templates,
                             const TCategoryList& categories, const TFormatSettings& fs,
                             const IClock& clock)
    : searches_(searches), saved_(searches), templates_(templates), categories_(categories),
      fs_(fs), clock_(clock), choices_(SearchFieldChoices(templates)) {
    Load();
}

std::vector<std::string> TSearchEditor::Names() const {
    std::vector<std::string> out;
    for (int i = 0; i < searches_.Count(); ++i)
        out.push_back(searches_.At(i)->Name.str());
    return out;
}

int TSearchEditor::Current() const {
    const TFilter* active = searches_.ActiveSearch();
    for (int i = 0; i < searches_.Count(); ++i)
        if (searches_.At(i) == active)
            return i;
    return -1;
}

std::vector<std::string> TSearchEditor::CategoryNames() const {
    std::vector<std::string> out;
    for (int i = 0; i < categories_.Count(); ++i)
        if (!categories_.CategoryDeleted(i))
            out.push_back(categories_.CategoryName(i));
    return out;
}

void TSearchEditor::Load() {
    const TFilter* f = searches_.ActiveSearch();
    rules_ = f ? f->Rules : TRulesList();
}

TSearchOptions TSearchEditor::Options() const {
    TSearchOptions o;
    const TFilter* f = searches_.ActiveSearch();
    if (!f)
        return o;
    o.StartsWithOn = f->StartsWithOn != 0;
    o.StartsWith = o.StartsWithOn ? UpperCase1252(TextValue(f->StartsWith)) : std::string();
    o.CategoriesOn = f->CategoriesOn != 0;
    o.AnyCategory = f->AnyCategory != 0;
    for (int i = 0; i < f->CategoriesInUse.Count(); ++i) {
        const std::string name = categories_.NameOfId(f->CategoriesInUse.At(i)->CategoryId);
        if (!name.empty())
            o.Categories.push_back(name);
    }
    o.ExcludeTagged = f->ExcludeTagged != 0;
    o.ExcludeUntagged = f->ExcludeUntagged != 0;
    o.ExcludeNoDueReminders = f->ExcludeNoDueReminders != 0;
    o.ExcludeNoAttachments = f->ExcludeNoAttachments != 0;
    return o;
}

std::vector<std::string> TSearchEditor::RuleTexts(int i) const {
    const TRule* r = rules_.At(i);
    if (!r)
        return {};
    const TRuleDescription d = RuleDescription(*r, templates_, fs_);
    return {d.Field, d.Condition, d.Value};
}

bool TSearchEditor::BasicActive() const {
    const TFilter* f = searches_.ActiveSearch();
    return f && f->IsActive(true);
}

std::optional<TSearchFault> TSearchEditor::Store(const TSearchOptions& o) {
    if (auto m =
            CheckSearchOptions(o.StartsWithOn, o.StartsWith, o.ExcludeTagged, o.ExcludeUntagged))
        return TSearchFault{*m, o.StartsWithOn && Trim(o.StartsWith).empty()
                                    ? TSearchFocus::StartsWith
                                    : TSearchFocus::NotTagged};
    TFilter* f = searches_.ActiveSearch();
    if (!f)
        return std::nullopt;
    f->StartsWithOn = o.StartsWithOn;
    f->SetStartsWith(Trim(o.StartsWith));
    f->CategoriesOn = o.CategoriesOn;
    f->AnyCategory = o.AnyCategory;
    f->CategoriesInUse.Clear();
    for (const std::string& name : o.Categories) {
        const int c = categories_.FindCategoryByName(name);
        if (c >= 0)
            f->CategoriesInUse.AddMembership(categories_.CategoryId(c));
    }
    f->ExcludeTagged = o.ExcludeTagged;
    f->ExcludeUntagged = o.ExcludeUntagged;
    f->ExcludeNoDueReminders = o.ExcludeNoDueReminders;
    f->ExcludeNoAttachments = o.ExcludeNoAttachments;
    f->Rules = rules_;
    return std::nullopt;
}

std::optional<TSearchFault> TSearchEditor::ChooseActive(int i, const TSearchOptions& options) {
    if (!searches_.InRange(i))
        return std::nullopt;
    if (auto fault = Store(options))
        return fault;
    searches_.ActiveName = searches_.At(i)->Name;
    Load();
    return std::nullopt;
}

std::optional<TSearchFault> TSearchEditor::MakeRuleFrom(const TRuleInput& in, TRule& rule) const {
    if (in.Choice < 0 || in.Choice >= static_cast<int>(choices_.size()))
        return TSearchFault{*CheckRuleText(""), TSearchFocus::RuleText};
    const TSearchFieldChoice& c = choices_[static_cast<std::size_t>(in.Choice)];
    if (!c.IsDate) {
        if (auto m = CheckRuleText(in.Text))
            return TSearchFault{*m, TSearchFocus::RuleText};
        tessaly::UpdateRule(rule, c.FieldNo, c.TemplateNo, true, 0, 0, in.WholeWords, in.MatchCase,
                            in.Text);
        return std::nullopt;
    }
    const TRuleDates dates = ReadRuleDates(in.FromText, in.ToText, fs_, clock_);
    if (dates.Message)
        return TSearchFault{*dates.Message,
                            dates.Box == 1 ? TSearchFocus::ToDate : TSearchFocus::FromDate};
    tessaly::UpdateRule(rule, c.FieldNo, c.TemplateNo, false, dates.FromDate, dates.ToDate, false,
                        false, "");
    return std::nullopt;
}

std::optional<TSearchFault> TSearchEditor::AddRule(const TRuleInput& input) {
    auto rule = std::make_unique<TRule>();
    if (auto fault = MakeRuleFrom(input, *rule))
        return fault;
    rules_.Add(std::move(rule));
    return std::nullopt;
}

std::optional<TSearchFault> TSearchEditor::UpdateRule(int i, const TRuleInput& input) {
    TRule* rule = rules_.At(i);
    if (!rule)
        return std::nullopt;
    TRule changed = *rule;
    if (auto fault = MakeRuleFrom(input, changed))
        return fault;
    *rule = changed;
    return std::nullopt;
}

bool TSearchEditor::DeleteRule(int i) {
    if (!rules_.InRange(i))
        return false;
    rules_.Delete(i);
    return true;
}

TRuleInput TSearchEditor::RuleInput(int i) const {
    TRuleInput in;
    const TRule* r = rules_.At(i);
    if (!r)
        return in;
    in.Choice = std::max(0, FindFieldChoice(choices_, r->TemplateNo, r->FieldNo));
    in.Text = r->Text;
    in.MatchCase = r->MatchCase != 0;
    in.WholeWords = r->WholeWords != 0;
    const TDateTime today = DateOf(clock_.Now());
    in.FromText = FormatDateTime(fs_.ShortDateFormat, r->IsText ? today : r->FromDate, fs_);
    in.ToText = FormatDateTime(fs_.ShortDateFormat, r->IsText ? today : r->ToDate, fs_);
    return in;
}

std::optional<TSearchFault> TSearchEditor::SaveAs(const std::string& name,
                                                  const TSearchOptions& options) {
    if (auto fault = Store(options))
        return fault;
    const TFilter* from = searches_.ActiveSearch();
    if (!from)
        return std::nullopt;
    const TFilter source = *from;
    const int i = searches_.SelectSearch(name);
    if (i < 0)
        return std::nullopt;
    TFilter* to = searches_.At(i);
    const Text keptName = to->Name;
    *to = source;
    to->Name = keptName;
    Load();
    return std::nullopt;
}

bool TSearchEditor::CanDelete(int i) const {
    return CanRename(i) && i != Current();
}

bool TSearchEditor::CanRename(int i) const {
    return searches_.InRange(i) && !SameText(TextValue(searches_.At(i)->Name), kUntitledSearch);
}

TDialogMessage TSearchEditor::DeleteQuestion(int i) const {
    const TFilter* f = searches_.At(i);
    return SearchDeletionQuestion(f ? TextValue(f->Name) : std::string());
}

int TSearchEditor::Delete(int i) {
    if (!CanDelete(i) || !searches_.DeleteSearch(i))
        return -1;
    return std::min(i, searches_.Count() - 1);
}

std::optional<TDialogMessage> TSearchEditor::CheckRename(int i, const std::string& name) const {
    const TFilter* f = searches_.At(i);
    return CheckSearchName(searches_, name, f ? TextValue(f->Name) : std::string());
}

bool TSearchEditor::Rename(int i, const std::string& name) {
    if (!CanRename(i))
        return false;
    if (Trim(name) == TextValue(searches_.At(i)->Name))
        return true;
    return searches_.RenameSearch(i, name);
}

void TSearchEditor::Cancel() {
    searches_ = saved_;
}

} // namespace tessaly
