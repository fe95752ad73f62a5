// An entry's setters clean what they are given as they store it, straight from the
// caller's characters: the cleaning must be the same whatever the value's length, and
// a value taken from the field itself must come back cleaned, not garbled.

#include "core/store/address.h"
#include "core/store/record.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(FieldCleaning, NamesAreTrimmedAndCutNotesTrimmedAtTheEndOnly) {
    TRecord entry;
    entry.SetNameField(kFieldSurname, "  \tSmith \r\n");
    EXPECT_EQ(entry.NameFields[kFieldSurname], "Smith");
    entry.SetNameField(kFieldSurname, "   ");
    EXPECT_EQ(entry.NameFields[kFieldSurname], ""); // present, empty
    entry.SetNameField(kFieldSurname, " " + std::string(400, 'w') + " ");
    EXPECT_EQ(entry.NameFields[kFieldSurname], std::string(255, 'w'));

    entry.SetNotes("  first line\r\nsecond\r\n\r\n  ");
    EXPECT_EQ(entry.Notes(), "  first line\r\nsecond");
    // Cut to what the file holds, then trimmed again where the cut fell.
    std::string longNotes(kMaxTextLength - 2, 'n');
    longNotes += "   tail";
    entry.SetNotes(longNotes);
    EXPECT_EQ(entry.Notes(), std::string(kMaxTextLength - 2, 'n'));
}

TEST(FieldCleaning, AValueTakenFromTheFieldItself) {
    TRecord entry;
    entry.NameFields[kFieldSurname] = "   " + std::string(30, 's') + "   ";
    entry.SetNameField(kFieldSurname, entry.NameFields[kFieldSurname].view());
    EXPECT_EQ(entry.NameFields[kFieldSurname], std::string(30, 's'));
    entry.NameFields[kFieldSurname] = " short ";
    entry.SetNameField(kFieldSurname, entry.NameFields[kFieldSurname].view());
    EXPECT_EQ(entry.NameFields[kFieldSurname], "short");
    entry.NameFields[kFieldNotes] = std::string(50, 'x') + "\r\n";
    entry.SetNotes(entry.Notes());
    EXPECT_EQ(entry.Notes(), std::string(50, 'x'));
}

TEST(FieldCleaning, AddressFieldsAreCutTheAddressTextCapped) {
    TAddress address(0);
    address.SetField(0, std::string(300, 'p'));
    EXPECT_EQ(address.Fields[0], std::string(255, 'p'));
    address.SetField(0, " kept as given ");
    EXPECT_EQ(address.Fields[0], " kept as given ");
    address.SetField(kFieldAddress, std::string(kMaxTextLength + 10, 'a'));
    EXPECT_EQ(address.Fields[kFieldAddress].size(), kMaxTextLength);
    address.SetField(kFieldAddress, address.Fields[kFieldAddress].view().substr(4, 20));
    EXPECT_EQ(address.Fields[kFieldAddress], std::string(20, 'a'));
}

} // namespace
} // namespace tessaly
