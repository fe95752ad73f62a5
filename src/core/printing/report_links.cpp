#include "core/printing/report_links.h"

#include "core/common/same_text.h"
#include "core/settings/settings.h"

namespace tessaly {

bool IsLinked(const std::string& link) {
    return link != kNoLinkedReport;
}

std::string ReportLinkHint(int link, const std::string& name) {
    static const char* const kHints[] = {"Print First Linked Quick Report|Quick Report:  ",
                                         "Print Second Linked Quick Report|Quick Report:  ",
                                         "Print Linked Quick Report|Quick Report:  "};
    if (link < 0 || link > 2)
        return std::string();
    return kHints[link] + name;
}

void LinkReport(TReportLinks& links, int link, const std::string& name) {
    if (link < 0 || link > 2)
        return;
    if (link != kDiaryLink) {
        const int other = link == kFirstBookLink ? kSecondBookLink : kFirstBookLink;
        if (IsLinked(name) && SameText(links[static_cast<std::size_t>(other)], name))
            links[static_cast<std::size_t>(other)] = links[static_cast<std::size_t>(link)];
    }
    links[static_cast<std::size_t>(link)] = name;
}

} // namespace tessaly
