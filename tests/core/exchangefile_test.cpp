#include <gtest/gtest.h>

#include "core/exchange/exchangefile.h"
#include "exchangetestdata.h"

namespace plumet {
namespace {

using namespace exchangetest;

TEST(ExchangeFile, NamesKeepTheirColumnsAndAreFoundInAnyLetterCase) {
    EXPECT_EQ(ExchangeFileName(ExchangeKind::Fancier, TestSettings()), "S007003.d00");
    EXPECT_EQ(ExchangeFileName(ExchangeKind::Loft, Settings{}), "T      .d00");
    EmptyInstallation folder;
    folder.Write("exchange/t007003.D00", "0");
    EXPECT_EQ(ExchangeFilePath(folder.path(), ExchangeKind::Loft, TestSettings()).filename(), "t007003.D00");
}

TEST(ExchangeFile, LinesKeepTheirNumbersInTheFileAndMissingOrUnreadableFilesAreRefused) {
    EmptyInstallation folder;
    const Path file = folder.path() / "exchange" / "x.d00";
    folder.Write("exchange/x.d00", "a\r\n\r\nb\nc");
    const ExchangeLines read = ReadExchangeLines(file, 3);
    ASSERT_EQ(read.lines.size(), 3U);
    EXPECT_EQ(read.lines[1].text + std::to_string(read.lines[1].number), "b3"); // numbered as in the file
    EXPECT_EQ(ReadExchangeLines(file.parent_path() / "none", 3).refused.problem, ExchangeProblem::FileMissing);
    EXPECT_EQ(ReadExchangeLines(file.parent_path(), 3).refused.problem, ExchangeProblem::FileUnreadable);
}

} // namespace
} // namespace plumet
