#include <gtest/gtest.h>

#include "core/app/fieldrules.h"
#include "core/app/fixedwidth.h"

namespace plumet {
namespace {

TEST(FieldRules, DigitFieldsTakeAsciiDigitsAndBackspaceLeavingPadsAndCutsEnteringTrims) {
    EXPECT_EQ(FilteredText(U"1a2\b-3 \u00FC\u0663+", DigitKey), "123");
    EXPECT_EQ(DigitKey(kBackspaceKey), '\b');
    EXPECT_EQ(NumberOnLeave("7", 3), "007");
    EXPECT_EQ(NumberOnLeave("   ", 3), "");
    EXPECT_EQ(TextOnLeave("  Meier ", 6) + TextOnLeave("abcdef", 4), "Meier abcd");
    EXPECT_EQ(PaddedIfNotEmpty(" SPA", 5) + PaddedIfNotEmpty("", 5), " SPA ");
    EXPECT_EQ(TextOnEnter("  Zur Post  "), "Zur Post");
}

TEST(FixedWidthField, ReadsAndWritesOnlyItsOwnColumns) {
    constexpr Column name{4, 8};
    EXPECT_EQ(Field("001Smith  X", name), "Smith");
    EXPECT_EQ(Field("001Sm", name), "Sm");
    EXPECT_EQ(Field("001", name), "");

    std::string record = "001Smith  X";
    SetField(record, name, "Jo");
    EXPECT_EQ(record, "001Jo     X");
    SetField(record, name, "Andersen");
    EXPECT_EQ(record, "001Ander  X");
    std::string shortRecord = "01";
    SetField(shortRecord, name, "Li");
    EXPECT_EQ(shortRecord, "01 Li   ");
}

} // namespace
} // namespace plumet
