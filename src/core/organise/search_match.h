#pragma once
// The test that decides whether an entry is listed under a saved search, and the
// text match of a rule. Nothing is allocated per entry: texts are compared where
// they lie, folded to upper case one byte at a time.

#include "core/common/date_time.h"
#include "core/store/filter.h"
#include "core/store/record.h"

#include <string_view>

namespace tessaly {

// Whether `field` contains the rule's text. Without MatchCase both are compared in
// upper case (accented letters fold too); with WholeWords the match may neither be
// preceded nor followed by a word character (ASCII letters and digits; every other
// byte, those above 127 included, is a delimiter). An empty field never matches.
bool TextMatches(std::string_view field, std::string_view text, bool matchCase, bool wholeWords);
bool TextMatches(std::string_view field, const TRule& rule);

// Whether a rule holds for an entry: an address rule looks in the entry's first
// address of its template, a date rule compares whole days.
bool RuleHolds(const TRule& rule, const TRecord& entry);

// Whether any rule of the search looks at an entry's texts; its other tests look at
// the sort text, the categories, the tag, dates and the counts of lists only.
bool SearchReadsTexts(const TFilter& search);
// Whether an entry with a given sort text is listed under a search: starts-with,
// categories, tag state, due reminders (as of `today`), attachments, then every
// rule. Stops at the first test that fails.
bool EntryMatches(const TFilter& search, const TRecord& entry, std::string_view sortText,
                  TDateTime today);

} // namespace tessaly
