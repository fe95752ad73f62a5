#pragma once
// The three quick reports linked to print commands: the first and second of the
// address book's, and the diary's. An unused link holds string 353.

#include <array>
#include <string>

namespace tessaly {

using TReportLinks = std::array<std::string, 3>;
enum TReportLink : int { kFirstBookLink = 0, kSecondBookLink = 1, kDiaryLink = 2 };

// Whether a link names a report (is not string 353).
bool IsLinked(const std::string& link);
// The command's hint: string 352, 354 or 355 followed by the linked name.
std::string ReportLinkHint(int link, const std::string& name);
// Sets a link. Setting one of the two address book links to the report the other
// holds moves its previous name to the other, so that they never name the same
// report.
void LinkReport(TReportLinks& links, int link, const std::string& name);

} // namespace tessaly
