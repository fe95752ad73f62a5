#include "core/organise/rule_description.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

namespace tessaly {

namespace {

constexpr std::array<const char*, 7> kFieldNames = {
    "Reminders",           "Reminder Descriptions", "Reminder Notes",         "Entry Created",
    "Entry Last Modified", "Entry Last Called",     "Attachment Descriptions"};

std::string WithoutAmpersands(std::string s) {
    std::erase(s, '&');
    return s;
}

std::string Joined(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const auto part : parts)
        size += part.size();
    std::string out;
    out.reserve(size);
    for (const auto part : parts)
        out.append(part);
    return out;
}

std::string Quoted(std::string_view s) {
    return Joined({"\"", s, "\""});
}

std::string QuotedDate(TDateTime d, const TFormatSettings& fs) {
    return Quoted(FormatDateTime(fs.ShortDateFormat, d, fs));
}

} // namespace

std::string RuleFieldName(int fieldNo) {
    if (fieldNo == kRuleAllFields)
        return "<All Fields>";
    if (fieldNo >= kRuleReminders && fieldNo <= kRuleAttachmentDescriptions)
        return kFieldNames[static_cast<std::size_t>(fieldNo - kRuleReminders)];
    return std::string();
}

TRuleDescription RuleDescription(const TRule& rule, const TTemplateList& templates,
                                 const TFormatSettings& fs) {
    TRuleDescription d;
    if (rule.TemplateNo == -1) {
        d.Field = rule.FieldNo == kRuleAllFields || rule.FieldNo >= kRuleReminders
                      ? RuleFieldName(rule.FieldNo)
                      : templates.TemplateCaption(0, rule.FieldNo);
    } else {
        const int t = templates.FindTemplateById(rule.TemplateNo);
        d.Field = Joined(
            {"[", templates.TemplateName(t), "] ", templates.TemplateCaption(t, rule.FieldNo)});
    }
    d.Field = WithoutAmpersands(std::move(d.Field));

    if (rule.IsText) {
        d.Condition = rule.WholeWords ? "Containing Word" : "Containing Text";
        d.Value = Quoted(rule.Text);
    } else if (DateOf(rule.FromDate) != DateOf(rule.ToDate)) {
        d.Condition = "Between Dates";
        d.Value = Joined({QuotedDate(rule.FromDate, fs), " and ", QuotedDate(rule.ToDate, fs)});
    } else {
        d.Condition = "On the Date";
        d.Value = QuotedDate(rule.FromDate, fs);
    }
    return d;
}

} // namespace tessaly
