#include <gtest/gtest.h>

#include "exchange/exchangefile.h"
#include "exchangetestdata.h"

namespace plumet {
namespace {

using namespace exchangetest;

TEST(ExchangeFile, NamesCarryRegionAndFederationAndAreFoundInAnyLetterCase) {
    EXPECT_EQ(ExchangeFileName(ExchangeKind::Fancier, TestSettings()), "S007003.d00");
    EXPECT_EQ(ExchangeFileName(ExchangeKind::Loft, TestSettings()), "T007003.d00");
    Settings unset;
    EXPECT_EQ(ExchangeFileName(ExchangeKind::Loft, unset), "T      .d00"); // the columns stay fixed

    EmptyInstallation folder;
    folder.Write("exchange/t007003.D00", "0");
    EXPECT_EQ(ExchangeFilePath(folder.path(), ExchangeKind::Loft, TestSettings()).filename(), "t007003.D00");
    EXPECT_EQ(ExchangeFilePath(folder.path(), ExchangeKind::Fancier, TestSettings()).filename(), "S007003.d00");
}

TEST(ExchangeFile, LinesAreReadUpToTheLimitWithTheirNumbers) {
    EmptyInstallation folder;
    const Path file = folder.path() / "exchange" / "x.d00";
    folder.Write("exchange/x.d00", "a\r\n\r\nb\nc");
    ExchangeLines read = ReadExchangeLines(file, 3);
    ASSERT_TRUE(read.refused.Ok());
    ASSERT_EQ(read.lines.size(), 3U);
    EXPECT_EQ(read.lines[1].text, "b");
    EXPECT_EQ(read.lines[1].number, 3U);

    read = ReadExchangeLines(file, 2);
    EXPECT_EQ(read.refused.problem, ExchangeProblem::TooManyLines);
    EXPECT_EQ(read.refused.line, 4U);
    EXPECT_TRUE(read.lines.empty());

    EXPECT_EQ(ReadExchangeLines(folder.path() / "exchange" / "none.d00", 3).refused.problem, ExchangeProblem::FileMissing);
    EXPECT_EQ(ReadExchangeLines(folder.path() / "exchange", 3).refused.problem, ExchangeProblem::FileUnreadable);
}

} // namespace
} // namespace plumet
