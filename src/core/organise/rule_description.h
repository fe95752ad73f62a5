#pragma once
// The three texts that describe a search rule in the search dialog's rule list: the
// field searched, the condition and the value.

#include "core/common/date_format.h"
#include "core/store/filter.h"
#include "core/store/template.h"

#include <string>

namespace tessaly {

struct TRuleDescription {
    std::string Field;     // "Surname", "Entry Created", "[Address 1] Company"
    std::string Condition; // "Containing Word", "Containing Text", "Between Dates", "On the Date"
    std::string Value;     // "\"smith\"", "\"01/03/2024\" and \"05/03/2024\""
};

// The name of an entry-level rule field 10-16 ("Reminders" ... "Attachment
// Descriptions"), "<All Fields>" for -1; empty for any other number.
std::string RuleFieldName(int fieldNo);

// Captions come from the book's templates (template 0 for the name fields); dates are
// written in the short date format.
TRuleDescription RuleDescription(const TRule& rule, const TTemplateList& templates,
                                 const TFormatSettings& fs = DefaultFormatSettings());

} // namespace tessaly
