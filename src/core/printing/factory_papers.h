#pragma once
// The factory paper list's source: the standard listing sheets (ISO A and B, US
// Letter, Legal and Executive), the ISO and US envelopes, a built-in set of the common
// A4 and Letter address-label sheets, and the label sheets of the system's
// label-template database when it is installed. Codes are the printing system's
// paper-size numbers (1 Letter, 9 A4, 20 envelope #10, 27 envelope DL, ...).

#include "core/printing/paper_library.h"

#include <array>
#include <string>
#include <vector>

namespace tessaly {

// The listings the layout dialog preselects (Windows-1252).
extern const char kLetterListingName[]; // "Letter, 8½ x 11 in."
extern const char kA4ListingName[];     // "A4, 210 x 297 mm"
// Letter for the locale country codes 1 and 2, A4 for every other.
std::string DefaultListingName(int countryCode);
// The locale's default paper code: 1 (Letter) for country codes 1 and 2, else 9 (A4).
int DefaultPaperCode(int countryCode);

class TFactoryPapers final : public IPaperLibrary {
public:
    // `labelTemplates`: the folder of the label-template database; empty for none.
    explicit TFactoryPapers(const std::string& labelTemplates = kDefaultFolder());

    int LastPaperIndex(int category) override;
    bool GetPaper(int category, int index, TLibraryPaper& out) override;

    const std::vector<TLibraryPaper>& Papers(int category) const {
        return papers_[static_cast<std::size_t>(category)];
    }

private:
    static std::string kDefaultFolder();
    std::array<std::vector<TLibraryPaper>, 3> papers_;
};

} // namespace tessaly
