#pragma once
// The text an entry is sent to a word processor or the clipboard as: the book's
// insertion fields in their order, name parts that follow one another on one line,
// every other field on a line of its own, the address laid out by its template's
// format, telephone fields optionally labelled, empty fields dropped unless the book
// keeps them. Windows-1252 bytes, lines ending in CR LF.

#include "core/store/address.h"
#include "core/store/book.h"
#include "core/store/record.h"
#include "core/store/template.h"

#include <string>

namespace tessaly {

// Every append is cut at this length.
constexpr std::size_t kInsertionCapacity = 32000;
// The address block alone.
constexpr std::size_t kAddressBlockCapacity = 16000;

// The insertion text of `entry`, whose address `address` (laid out by `tmpl`) is
// the one shown; either may be null, when the address fields read as empty. Ends in
// CR LF; empty when no field was taken ("No Entry Data was Specified for Insertion").
// With blank fields kept every listed field is taken, so an entry whose fields are
// all empty still gives one (empty) line per field.
std::string InsertionText(const TRecord& entry, const TAddress* address, const TTemplate* tmpl,
                          const TIndexList& fields, bool blankFields, bool labelPhoneFields);
// The same with the book's insertion fields and flags.
std::string InsertionText(const TBookData& book, const TRecord& entry, const TAddress* address,
                          const TTemplate* tmpl);

} // namespace tessaly
