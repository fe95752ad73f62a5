#include "core/printing/object_text.h"

#include "core/diary/recurrence.h"
#include "core/diary/reminders.h"
#include "core/organise/entry_text.h"
#include "core/printing/layout.h"
#include "core/store/book.h"

#include <algorithm>
#include <cstdio>

namespace tessaly {

namespace {

std::string Number(int n) {
    return std::to_string(n);
}

std::string AdvanceText(int days) {
    return days == 0 ? "N/A" : Number(days);
}

std::string FirstCharacter(const std::string& s) {
    return s.empty() ? std::string() : s.substr(0, 1);
}

std::string EntryName(const TPrintRecord& r) {
    return r.Entry && r.Book ? DisplayText(*r.Entry, r.Book->IndexKeys) : std::string();
}

// The value of a reminder or diary event's field; fields are those of the reminder
// palette (`reminder` true) or the diary palette.
std::string EventField(const TReminders& e, int field, bool reminder, const TPrintRecord& r) {
    // The diary palette lacks the reminder's first field: its numbers are one lower.
    const int f = reminder ? field : field + 1;
    switch (f) {
    case 0:
        return reminder ? EntryName(r) : std::string();
    case 3:
        return e.Description.str();
    case 4:
        return Number(e.Priority);
    case 5:
        return FrequencyName(e.Frequency);
    case 6:
        return IntervalText(e);
    case 8:
        return AdvanceText(e.AdvanceDays);
    case 9:
        return e.Notes.str();
    case 10:
        return reminder ? r.SortValue.substr(0, kShortStringMax) : std::string();
    case 11:
        return reminder ? FirstCharacter(r.SortValue) : std::string();
    default:
        return std::string();
    }
}

std::string FieldText(int source, int field, const TPrintRecord& r) {
    switch (source) {
    case kSourceEntries:
        if (!r.Entry || !r.Book)
            return std::string();
        if (field == 17)
            return r.SortValue.substr(0, kShortStringMax);
        if (field == 18)
            return FirstCharacter(r.SortValue);
        return FieldValue(*r.Entry, field, r.AddressIndex, *r.Book).str();
    case kSourceReminders:
        return r.Reminder ? EventField(*r.Reminder, field, true, r) : std::string();
    case kSourceCallLogs:
        if (!r.Call)
            return std::string();
        switch (field) {
        case 0:
            return EntryName(r);
        case 1:
            return r.Call->Number.str();
        case 6:
            return DurationText(r.Call->End - r.Call->Start);
        case 7:
            return r.Call->Comment.str();
        case 8:
            return r.SortValue.substr(0, kShortStringMax);
        default:
            return std::string();
        }
    case kSourceDiary:
        return r.Reminder ? EventField(*r.Reminder, field, false, r) : std::string();
    default:
        return std::string();
    }
}

void Append(std::string& text, std::string_view more) {
    const std::size_t room = kObjectTextMax - std::min(text.size(), kObjectTextMax);
    text.append(more.substr(0, room));
}

std::string MergedText(const TLayoutBox& box, const TPrintRecord& r, int source) {
    std::string text;
    if (box.Items.Empty())
        return text;
    const bool singleLine = box.Items.At(0)->SingleLine;
    const char separator = singleLine ? ' ' : '\n';
    bool first = true;
    for (const auto& item : box.Items) {
        std::string value = FieldText(source, item->FieldNumber, r);
        if (singleLine)
            std::replace_if(
                value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        else
            std::erase(value, '\r'); // line feeds alone end the lines
        if (!first && (text.empty() || text.back() != separator))
            Append(text, std::string_view(&separator, 1));
        first = false;
        Append(text, value);
    }
    return text;
}

// The moment a date or time box shows; 0 for none.
TDateTime BoxMoment(const TLayoutBox& box, const TPrintRecord& r, const TTextContext& c) {
    const int kind = box.Behaviour();
    switch (kind) {
    case kBoxDatePrinted:
    case kBoxTimePrinted:
        return c.Now;
    case kBoxCreated:
        return r.Entry ? r.Entry->Created : 0;
    case kBoxUpdated:
        return r.Entry ? r.Entry->Updated : 0;
    case kBoxLastCalled:
        return r.Entry ? r.Entry->LastCalled : 0;
    default:
        break;
    }
    const int field = box.Items.Empty() ? -1 : box.Items.At(0)->FieldNumber;
    if (c.Source == kSourceCallLogs && r.Call) {
        if (field == 2 || field == 3)
            return r.Call->Start;
        if (field == 4 || field == 5)
            return r.Call->End;
        return 0;
    }
    if ((c.Source == kSourceReminders || c.Source == kSourceDiary) && r.Reminder) {
        const bool reminder = c.Source == kSourceReminders;
        const int dateField = reminder ? 1 : 0, untilField = reminder ? 7 : 6;
        if (kind == kBoxDate && field == dateField)
            return r.Reminder->When;
        if (kind == kBoxDate && field == untilField)
            return r.Reminder->Until;
        if (kind == kBoxTime)
            return r.Reminder->NoTime ? 0 : r.Reminder->When;
    }
    return 0;
}

} // namespace

int PageNumberDigits(std::string_view pattern) {
    if (pattern.size() == 4 && pattern[0] == '%' && pattern[1] == '.' && pattern[2] >= '1' &&
        pattern[2] <= '9' && pattern[3] == 'd')
        return pattern[2] - '0';
    return 1;
}

std::string PageNumberText(std::string_view pattern, int page) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*d", PageNumberDigits(pattern), page);
    return text;
}

std::string ObjectText(const TLayoutBox& box, const TPrintRecord& r, const TTextContext& c) {
    switch (box.Behaviour()) {
    case kBoxStaticText:
        return box.Items.Empty() ? std::string() : box.Items.At(0)->Caption.str();
    case kBoxGraphic:
    case kBoxVerticalLine:
    case kBoxHorizontalLine:
    case kBoxRectangle:
        return std::string();
    case kBoxDate:
    case kBoxDatePrinted:
    case kBoxTime:
    case kBoxTimePrinted:
    case kBoxCreated:
    case kBoxUpdated:
    case kBoxLastCalled: {
        const TDateTime t = BoxMoment(box, r, c);
        if (t == 0)
            return std::string();
        const std::string pattern =
            box.Format.empty() ? DefaultBoxFormat(box.Behaviour()) : box.Format.str();
        std::string text = FormatDateTime(pattern, t, *c.Formats);
        if (text.size() > kObjectTextMax)
            text.resize(kObjectTextMax);
        return text;
    }
    case kBoxReturnAddress: {
        std::string text = c.ReturnAddress.substr(0, kObjectTextMax);
        std::erase(text, '\r');
        return text;
    }
    case kBoxPageNumber:
        return PageNumberText(box.Format.view(), c.Page);
    default:
        return MergedText(box, r, c.Source);
    }
}

} // namespace tessaly
