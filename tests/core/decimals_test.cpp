#include <gtest/gtest.h>

#include "core/race/decimals.h"

namespace plumet {
namespace {

// The distance tests write and read both separators; here rounding, signs and what is refused.
TEST(Decimals, WritersRoundAndSignReadersTakeCommaOrPointAndGuessAtNothingElse) {
    EXPECT_EQ(FormatDecimal(12345.6, 4, 4, '.'), "12345.6000");
    EXPECT_EQ(FormatDecimal(0.00005001, 4, 4, '.'), "0000.0001");
    EXPECT_EQ(FormatDecimal(-1.5, 4, 1, ','), "-0001,5");
    EXPECT_EQ(FormatDecimal(-0.00001, 4, 2, '.'), "0000.00");
    EXPECT_EQ(FileDecimalSeparator(U'\u066B'), '.'); // Arabic decimal separator: readers know only two
    EXPECT_DOUBLE_EQ(*ParseDecimal(" -3,5 "), -3.5);
    EXPECT_DOUBLE_EQ(*ParseDecimal("+7."), 7.0);
    for (const char* bad : {"", ",", "1.234,5", "12a", "1 2"}) EXPECT_FALSE(ParseDecimal(bad)) << bad;
}

} // namespace
} // namespace plumet
