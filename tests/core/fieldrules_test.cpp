#include <gtest/gtest.h>

#include "core/app/fieldrules.h"

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

} // namespace
} // namespace plumet
