#include <gtest/gtest.h>

#include "app/fieldrules.h"

namespace plumet {
namespace {

TEST(FieldRules, DigitFieldsTakeDigitsAndBackspaceOnly) {
    EXPECT_EQ(DigitKey(U'7'), '7');
    EXPECT_EQ(DigitKey(kBackspaceKey), '\b');
    for (const char32_t refused : {U'a', U'+', U' ', U'\u00FC', U'\u0663'}) EXPECT_FALSE(DigitKey(refused));
    EXPECT_EQ(FilteredText(U"1a2\b-3\u00FC", DigitKey), "123");
}

TEST(FieldRules, LeavingAFieldPadsItEnteringTrimsIt) {
    EXPECT_EQ(NumberOnLeave("7", 3), "007");
    EXPECT_EQ(NumberOnLeave("   ", 3), "");
    EXPECT_EQ(TextOnLeave("  Meier ", 20), "Meier" + std::string(15, ' '));
    EXPECT_EQ(TextOnLeave("abcdef", 4), "abcd");
    EXPECT_EQ(PaddedIfNotEmpty(" SPA", 13), " SPA" + std::string(9, ' '));
    EXPECT_EQ(TextOnEnter("  Zur Post  "), "Zur Post");
}

} // namespace
} // namespace plumet
