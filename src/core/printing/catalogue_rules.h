#pragma once
// What the paper, layout and quick report dialogs decide without a screen: the checks
// their OK buttons make, the choices they offer, the questions they ask, and the data
// palette of entry layouts.

#include "core/common/dialog_message.h"
#include "core/printing/layout.h"
#include "core/printing/layout_objects.h"
#include "core/printing/layout_record.h"
#include "core/printing/paper.h"
#include "core/printing/quick_report.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class TBookData;

// A length of the paper dialog: a number of at least 0.01, or with `zeroAllowed`
// (margins and gaps) any number of 0 or more. Nothing for any other text.
std::optional<double> ParsePaperLength(std::string_view text, bool zeroAllowed);
// Labels across or down: a whole number above 0.
std::optional<int> ParseLabelCount(std::string_view text);

// The name of a paper or a layout being edited (string 436 or 389, 358 or 359).
std::optional<TDialogMessage> CheckPaperName(const TPaperList& papers, std::string_view name,
                                             std::string_view originalName);
std::optional<TDialogMessage> CheckLayoutName(const TLayoutList& layouts, std::string_view name,
                                              std::string_view originalName);
// A layout needs a paper (string 381) and a printer (377).
std::optional<TDialogMessage> CheckLayoutChoices(const TPaperList& papers, int paperNumber,
                                                 std::string_view printer);
// The quick report dialog's OK: the name (350, 340) and a layout that exists (372).
std::optional<TDialogMessage> CheckQuickReport(const TQReportList& reports,
                                               const TLayoutList& layouts, std::string_view name,
                                               std::string_view originalName, int layoutNumber);

// The layout properties dialog confirmed: a listing layout has its header and footer
// bands switched on; an envelope or label layout has them off and page control 3; an
// envelope layout is held portrait (the envelope's own orientation is its paper's).
void ApplyPaperKind(TLayout& layout, const TPaperList& papers);
// The page controls offered per data source: entries 3, 1, 2; reminders and call logs
// 3, 1; diary events 3, 4.
std::vector<int> PageControlChoices(int source);
// The listing a new listing layout starts on: "Letter, 8½ x 11 in." for the country
// codes 1 and 2, "A4, 210 x 297 mm" for the others, else the first listing; -1 for none.
int PreselectedListing(const TPaperList& papers, int countryCode);
// Feeds 1 to 3 print portrait, 4 to 6 landscape.
bool FeedIsPortrait(int feed);
// String 386, asked when the orientation is changed away from the feed's.
extern const char kFeedOrientationQuestion[];

// The deletion questions (392, 379, 347).
TDialogMessage DeletePaperQuestion(std::string_view name);
TDialogMessage DeleteLayoutQuestion(std::string_view name);
TDialogMessage DeleteQuickReportQuestion(std::string_view name);

// A quick report's family: the diary's when its layout prints diary events (4) or the
// calendar (5), else the address book's.
bool IsDiaryReport(const TQReport& report, const TLayoutList& layouts);

// The data palette of a data source. For entries: the first template's fields 0 to 2,
// the second template's 0 to 6, the first's 3 to 9, captioned from the book (the
// built-in templates without one), "[%.2d] Unlabled" where a caption is empty;
// position 5, the formatted address, is kind 1.
std::vector<TLayoutRecord> DataPalette(int source, const TBookData* book);
// Entry objects read for the designer with a book open take their captions from it.
void RefreshEntryCaptions(TLayoutObjects& objects, const TBookData& book);

} // namespace tessaly
