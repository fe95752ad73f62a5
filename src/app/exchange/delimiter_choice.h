#pragma once
// The separator and quote boxes of the import and export templates: radio buttons for
// the usual characters, "Other" with a field for one character of the user's, and for
// an export "None" (0).

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QWidget;

namespace tessaly {

class TDelimiterChoice {
public:
    struct TChoice {
        const char* Text;
        int Character; // the button's id; 0 is "None"
    };

    // The box titled `title`: `choices` in order, then `otherText` with its field, then
    // `after` (each owned by `owner`).
    QGroupBox* Build(QWidget* owner, const QString& title, const std::vector<TChoice>& choices,
                     const char* otherText, int otherId, const std::vector<TChoice>& after = {});

    // Checks the button of `character`, or "Other" with the character typed in.
    void Show(int character);
    // The character chosen: a button's, or the one typed under "Other" (0 when none).
    std::uint8_t Chosen() const;
    // "Other" is chosen and nothing is typed in its field.
    bool OtherLeftEmpty() const;

private:
    QButtonGroup* group_ = nullptr;
    QLineEdit* other_ = nullptr;
    int otherId_ = 0;
};

// Strings 202 and 203 when the separator or the quote is "Other" with no character;
// true when both are given.
bool DelimitersGiven(const TDelimiterChoice& separator, const TDelimiterChoice& quote);

} // namespace tessaly
