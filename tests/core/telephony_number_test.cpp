// Number preparation: what is kept of a typed number, the own codes taken off, the
// prefix, and charge dialling before and after the number, for display and dialling.

#include "core/telephony/number.h"
#include "core/telephony/telephony.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(TelephonyNumber, CleanNumberKeepsDialableCharactersAndTrimsBlanks) {
    EXPECT_EQ(CleanNumber("(01234) 567-890 ext. 12"), "01234 567890 . 12");
    EXPECT_EQ(CleanNumber("  *31#,,123  "), "*31#,,123");
    EXPECT_EQ(CleanNumber("+44 (0)20 7946\t0000"), "44 020 79460000");
    EXPECT_EQ(CleanNumber("Ring reception"), "");
    EXPECT_EQ(CleanNumber("\xA0"
                          "12\xB9"
                          "3"),
              "123");
    EXPECT_EQ(CleanNumber(""), "");
}

TDialSettings ChargeSettings() {
    TDialSettings s;
    s.CountryCode = "44";
    s.LocalCode = "123";
    s.Pin = " 4444 ";
    s.Provider = " 131 ";
    return s;
}

// Every combination of the prefix, charge and "Dial Pin Before" flags, for dialling
// and for display, on a modem.
TEST(TelephonyNumber, PrefixChargeAndPinPlacementInEveryCombination) {
    struct Case {
        bool prefix, charge, pinBefore;
        const char* dial;
        const char* display;
    };
    const Case cases[] = {
        {false, false, false, "456 789 ", "456 789 "},
        {false, false, true, "456 789 ", "456 789 "},
        {true, false, false, "9 456 789 ", "9 456 789 "},
        {true, false, true, "9 456 789 ", "9 456 789 "},
        {false, true, true, "131 4444 456 789", "131 {pin} 456 789"},
        {true, true, true, "9 131 4444 456 789", "9 131 {pin} 456 789"},
        {false, true, false, "131 456 789 4444", "131 456 789 {pin}"},
        {true, true, false, "9 131 456 789 4444", "9 131 456 789 {pin}"},
    };
    for (const Case& c : cases) {
        TDialSettings s = ChargeSettings();
        s.DialPinBefore = c.pinBefore;
        SCOPED_TRACE(testing::Message() << "prefix " << c.prefix << " charge " << c.charge
                                        << " pin before " << c.pinBefore);
        EXPECT_EQ(PrepareNumber("44 123 456-789", "9", c.prefix, true, c.charge, s), c.dial);
        EXPECT_EQ(PrepareNumber("44 123 456-789", "9", c.prefix, false, c.charge, s), c.display);
    }
}

TEST(TelephonyNumber, ChargeDiallingNeedsTheModemAndAnAccountNumberForTheAccountPart) {
    TDialSettings s = ChargeSettings();
    s.UseModem = false; // manual dialling: no charge dialling
    EXPECT_EQ(PrepareNumber("456", "9", true, true, true, s), "9 456 ");
    EXPECT_EQ(PrepareNumber("456", "9", false, false, true, s), "456 ");
    s.UseModem = true;
    s.Pin = "  ";
    s.DialPinBefore = true;
    EXPECT_EQ(PrepareNumber("456", "9", false, true, true, s), "131  456");
    EXPECT_EQ(PrepareNumber("456", "9", false, false, true, s), "131  456");
    s.DialPinBefore = false;
    EXPECT_EQ(PrepareNumber("456", "9", false, false, true, s), "131 456 ");
}

TEST(TelephonyNumber, OwnCodesComeOffOnlyWhenFollowedByABlankOrDash) {
    TDialSettings s;
    EXPECT_EQ(PrepareNumber("012-34 56", "", false, true, false, s), "012 34 56 ");
    s.CountryCode = "+44";
    s.LocalCode = "(123)";
    EXPECT_EQ(PrepareNumber("44 123 456", "", false, true, false, s), "456 ");
    EXPECT_EQ(PrepareNumber("44-123-456", "", false, false, false, s), "456 ");
    EXPECT_EQ(PrepareNumber("441 234 56", "", false, true, false, s), "441 234 56 ");
    EXPECT_EQ(PrepareNumber("123 456", "", false, true, false, s), "456 ");
    // A number that is only the code keeps it.
    EXPECT_EQ(PrepareNumber("44", "", false, true, false, s), "44 ");
}

TEST(TelephonyNumber, NothingDialableGivesNothingAndLongResultsAreCut) {
    TDialSettings s;
    EXPECT_EQ(PrepareNumber("Ask at reception", "9", true, true, false, s), "");
    EXPECT_EQ(PrepareNumber("- - -", "9", true, false, true, s), "");
    const std::string longNumber(300, '7');
    EXPECT_EQ(PrepareNumber(longNumber, "", false, true, false, s).size(), 255u);
}

TEST(TelephonyNumber, TypedTextsLoseWhatWouldBreakTheModemCommand) {
    TDialSettings s;
    s.Provider = "13;1\r";
    s.Pin = "44\n44;";
    EXPECT_EQ(PrepareNumber("456", "9;\rATH", true, true, true, s), "9ATH 131 4444 456");
    EXPECT_EQ(PrepareNumber("456", "9;\rATH", true, false, true, s), "9ATH 131 {pin} 456");
}

class FakeTelephony final : public ITelephony {
public:
    bool Available() const override { return true; }
    std::string Unavailable() const override { return {}; }
    std::optional<TTranslatedNumber> Translate(const std::string& number, int device) override {
        Asked = number;
        Device = device;
        if (number.empty())
            return std::nullopt;
        return TTranslatedNumber{"+44123456789", "+44 123 456789"};
    }
    std::vector<TTelephonyDevice> DeviceNames() override { return {}; }
    std::string LocationName(int) override { return "N/A"; }
    bool MakeCall(const std::string&, int) override { return true; }
    std::string Asked;
    int Device = -1;
};

TEST(TelephonyNumber, TelephonyLayerTranslatesAndPrefixAndChargeHaveNoEffect) {
    TDialSettings s = ChargeSettings();
    s.UseTapi = true;
    s.TapiId = 2;
    FakeTelephony line;
    for (bool prefix : {false, true}) {
        for (bool charge : {false, true}) {
            EXPECT_EQ(PrepareNumber("0123 456789", "9", prefix, true, charge, s, &line),
                      "+44123456789");
            EXPECT_EQ(PrepareNumber("0123 456789", "9", prefix, false, charge, s, &line),
                      "+44 123 456789");
        }
    }
    EXPECT_EQ(line.Asked, "0123 456789");
    EXPECT_EQ(line.Device, 2);
    EXPECT_EQ(PrepareNumber("", "9", true, true, true, s, &line), "");
    // Without a line nothing can be translated.
    EXPECT_EQ(PrepareNumber("0123 456789", "", false, true, false, s, nullptr), "");
}

} // namespace
} // namespace tessaly
