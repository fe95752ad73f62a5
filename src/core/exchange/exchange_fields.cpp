#include "core/exchange/exchange_fields.h"

#include "core/exchange/export_template.h"
#include "core/store/book.h"

#include <array>

namespace tessaly {

namespace {

constexpr std::array<std::string_view, 10> kDiaryImportCaptions = {"Date",      "Time",
                                                                   "Priority",  "Description",
                                                                   "Frequency", "Frequency Period",
                                                                   "Until",     "Days in Advance",
                                                                   "State",     "Notes"};

constexpr std::array<std::string_view, 11> kReminderCaptions = {"Entry Name",
                                                                "Date",
                                                                "Time",
                                                                "Priority",
                                                                "Description",
                                                                "Frequency",
                                                                "Frequency Period",
                                                                "Until",
                                                                "Days in Advance",
                                                                "State",
                                                                "Notes"};

constexpr std::array<std::string_view, 8> kCallLogCaptions = {
    "Person Called", "Telephone Number", "Call Start Date", "Call Start Time",
    "Call End Date", "Call End Time",    "Call Duration",   "Comments"};

// The template index and caption index behind a data field, or {-1, -1}.
std::pair<int, int> CaptionPlace(int dataField) {
    if (dataField >= 0 && dataField <= 2)
        return {0, dataField};
    if (dataField >= 3 && dataField <= 9)
        return {1, dataField - 3};
    if (dataField >= 10 && dataField <= 16)
        return {0, dataField - 7};
    return {-1, -1};
}

} // namespace

std::string EntryFieldCaption(const TBookData& book, int dataField) {
    const auto [tpl, caption] = CaptionPlace(dataField);
    return tpl < 0 ? std::string() : book.Templates.TemplateCaption(tpl, caption);
}

void SetEntryFieldCaption(TBookData& book, int dataField, std::string_view caption) {
    const auto [tpl, index] = CaptionPlace(dataField);
    if (TTemplate* t = tpl < 0 ? nullptr : book.Templates.At(tpl))
        t->SetCaption(index, caption);
}

std::string_view DiaryImportCaption(int slot) {
    if (slot < 0 || slot >= static_cast<int>(kDiaryImportCaptions.size()))
        return {};
    return kDiaryImportCaptions[static_cast<std::size_t>(slot)];
}

std::string ImportSlotCaption(const TBookData* book, bool diary, int slot) {
    if (diary)
        return std::string(DiaryImportCaption(slot));
    if (slot == kImportReminderSlot)
        return std::string(kReminderSlotCaption);
    return book ? EntryFieldCaption(*book, slot) : std::string();
}

int ExportFieldCount(int exportType) {
    switch (exportType) {
    case kExportEntries:
        return 17;
    case kExportReminders:
        return static_cast<int>(kReminderCaptions.size());
    case kExportCallLogs:
        return static_cast<int>(kCallLogCaptions.size());
    case kExportDiaryEvents:
        return static_cast<int>(kReminderCaptions.size()) - 1;
    default:
        return 0;
    }
}

std::string ExportFieldCaption(const TBookData* book, int exportType, int field) {
    if (field < 0 || field >= ExportFieldCount(exportType))
        return std::string();
    const auto i = static_cast<std::size_t>(field);
    switch (exportType) {
    case kExportEntries:
        return book ? EntryFieldCaption(*book, field) : std::string();
    case kExportReminders:
        return std::string(kReminderCaptions[i]);
    case kExportCallLogs:
        return std::string(kCallLogCaptions[i]);
    case kExportDiaryEvents:
        return std::string(kReminderCaptions[i + 1]);
    default:
        return std::string();
    }
}

} // namespace tessaly
