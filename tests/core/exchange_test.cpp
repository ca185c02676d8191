// The fancier exchange file (clubs and fanciers) and the loft exchange file (pigeons): built
// from the registers of the test installation and read back into them.
#include <gtest/gtest.h>

#include "core/exchange/exchangefile.h"
#include "core/exchange/loftexchange.h"
#include "exchangetestdata.h"

namespace plumet {
namespace {

using namespace exchangetest;

constexpr const char* kFancierFile = "exchange/S007003.d00";
constexpr const char* kLoftFile = "exchange/T007003.d00";

ExchangeOutcome ReadLofts(const TestFolder& folder) { return ReadLoftExchange(folder.path(), TestSettings(), TestSexes()); }
ExchangeOutcome ReadFanciers(const TestFolder& folder) { return ReadFancierExchange(folder.path(), TestSettings()); }

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

TEST(Exchange, BuildsTheGoldenFileAndAReadIntoAnEmptyFolderBuildsItAgain) {
    for (const ExchangeKind kind : {ExchangeKind::Fancier, ExchangeKind::Loft}) {
        const bool fanciers = kind == ExchangeKind::Fancier;
        const std::string file = fanciers ? kFancierFile : kLoftFile, golden = Golden(file.substr(9));
        TestInstallation source;
        const ExchangeOutcome built = BuildExchange(kind, source.path(), TestSettings());
        ASSERT_TRUE(built.Ok()) << built.error;
        EXPECT_EQ(source.Read(file), golden);
        EmptyInstallation target;
        target.Write(file, golden);
        const ExchangeOutcome read = fanciers ? ReadFanciers(target) : ReadLofts(target);
        ASSERT_TRUE(read.Ok()) << read.error;
        // The club register and two fancier files: none for a club without fanciers.
        EXPECT_EQ(read.filesWritten, fanciers ? 3U : read.filesWritten);
        // Building the loft file again needs the clubs and fanciers that name the pigeon files.
        for (const char* names : {"club/club.dat", "fancier/f002.DAT", "fancier/f010.DAT"})
            if (!fanciers) target.Write(names, source.Read(names));
        EXPECT_TRUE(fanciers || target.Files() == source.Files());
        std::filesystem::remove(target.path() / file);
        ASSERT_TRUE(BuildExchange(kind, target.path(), TestSettings()).Ok());
        EXPECT_EQ(target.Read(file), golden);
    }
    EXPECT_EQ(ClubLine("004Kurz").size(), kClubLineLength); // a short record keeps the columns
    EXPECT_EQ(FancierLine("004", "001Kurz").size(), kFancierLineLength);
}

// Club 005 without fanciers in the file, club 002 with new ones, club 010 gone, club 003 new.
TEST(FancierExchange, ReadReplacesTheClubsInTheFileAndLeavesTheFancierFilesOfMissingClubs) {
    TestInstallation folder;
    folder.CopyData("exchange/replaced/before");
    ASSERT_TRUE(ReadFanciers(folder).Ok());
    EXPECT_EQ(folder.Files(), GoldenFiles("exchange/replaced/after"));
}

// The golden file holds 1000 lines and two empty ones.
TEST(FancierExchange, TheLineLimitCountsOnlyLinesThatAreNotEmpty) {
    EmptyInstallation folder;
    folder.Write(kFancierFile, Golden("S 1000 lines.d00"));
    EXPECT_TRUE(ReadFanciers(folder).Ok());
    folder.Write(kFancierFile, Golden("S 1000 lines.d00") + Fancier("003", "249", "F"));
    const auto before = folder.Files();
    EXPECT_EQ(ReadFanciers(folder).problem, ExchangeProblem::TooManyLines);
    EXPECT_EQ(folder.Files(), before);
}

TEST(LoftExchange, AThirtyCharacterLineOfAnOlderFileGetsNoChipABlankColourAndFormatZero) {
    const std::string ring = "NL      05     1234567M";
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring + "ABCDEF0100BLUE"), ring + "ABCDEF0100BLUE00");
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring + "ABCDE").size(), kPigeonRecordLength);
    EmptyInstallation folder;
    folder.Write(kLoftFile, JoinLinesCrLf({"0002001" + ring}));
    ASSERT_TRUE(ReadLofts(folder).Ok());
    EXPECT_EQ(folder.Read("pigeon/p002001.dat"), JoinLinesCrLf({" 1 ", ring + "1300000000    00"}));
}

// Lofts 002/001 (split in the file), 010/007 (unsorted, stored as P010007.DAT) and 003/004 (new).
TEST(LoftExchange, ASplitLoftKeepsItsLaterGroupEachLoftIsSortedAndLoftsNotInTheFileStay) {
    TestInstallation folder;
    std::filesystem::remove(folder.path() / "pigeon/p010007.dat");
    folder.CopyData("exchange/split/before"); // the loft in another letter case
    ASSERT_TRUE(ReadLofts(folder).Ok());
    EXPECT_EQ(folder.Files(), GoldenFiles("exchange/split/after"));
}

TEST(LoftExchange, ALoftWhoseFileHoldsItsPigeonsAlreadyIsNotWrittenAgain) {
    TestInstallation folder;
    ASSERT_TRUE(BuildLoftExchange(folder.path(), TestSettings()).Ok());
    const auto before = folder.Files();
    const ExchangeOutcome same = WithFailingSaves([&] { return ReadLofts(folder); });
    EXPECT_TRUE(same.Ok()) << same.error;
    EXPECT_EQ(same.filesWritten, 0U);
    EXPECT_EQ(folder.Files(), before);
    folder.Write(kLoftFile, folder.Read(kLoftFile) + LoftLine("010", "007", Pigeon("NL", 99)) + "\r\n");
    EXPECT_EQ(ReadLofts(folder).filesWritten, 1U);
    EXPECT_NE(folder.Read("pigeon/p010007.dat").find(Pigeon("NL", 99)), std::string::npos);
}

// Each file of tests/data/exchange/bad: S for the fancier file, T for the loft file. The
// pigeon file of loft 010/007 and the club register are the ones whose writes fail.
TEST(Exchange, ABadLineAnOverfullFileOrAFailedWriteChangesNoRegisterFile) {
    // Each row of the table: the file | the problem (3 region, 4 federation, 5 line, 7 full, 9 write) | its line.
    for (const auto& c : TableCells("exchange/bad.txt")) {
        SCOPED_TRACE(c[0]);
        const bool fanciers = c[0][0] == 'S';
        const std::string failing = fanciers ? "club.dat" : "p010007.dat";
        TestInstallation folder;
        folder.Write(fanciers ? kFancierFile : kLoftFile, Golden("bad/" + c[0] + ".d00"));
        const auto before = folder.Files();
        const ExchangeOutcome read = WithFailingSaves([&] { return fanciers ? ReadFanciers(folder) : ReadLofts(folder); },
                                                      SavesOf(failing));
        EXPECT_EQ(std::to_string(static_cast<int>(read.problem)) + "|" + std::to_string(read.line), c[1] + "|" + c[2]);
        const std::string named = read.problem == ExchangeProblem::WriteFailed ? failing : fanciers ? "S007003.d00" : "T007003.d00";
        EXPECT_NE(read.error.find(named), std::string::npos) << read.error;
        EXPECT_EQ(folder.Files(), before);
    }
}

// A register that cannot be read, or too many pigeons, and the old exchange file stays.
TEST(Exchange, ABuildThatCannotReadARegisterOrHasTooManyLinesKeepsTheOldFile) {
    TestInstallation folder;
    folder.Write(kLoftFile, "old");
    folder.Write(kFancierFile, "old");
    std::filesystem::remove(folder.path() / "pigeon" / "p002255.dat");
    std::filesystem::create_directories(folder.path() / "pigeon" / "P002255.DAT"); // cannot be read as a file
    ExchangeOutcome built = BuildLoftExchange(folder.path(), TestSettings());
    EXPECT_EQ(built.problem, ExchangeProblem::RegisterUnreadable);
    EXPECT_NE(built.error.find("P002255.DAT"), std::string::npos);
    EXPECT_EQ(folder.Read(kLoftFile), "old");

    std::filesystem::remove(folder.path() / "pigeon" / "P002255.DAT");
    std::string fanciers = " 101 \r\n", pigeons = " 1000 \r\n"; // 101 fanciers of 1000 pigeons each
    for (int fancier = 0; fancier <= 100; ++fancier) fanciers += ZeroPadded(fancier, 3) + PadRight("F", 70) + "\r\n";
    for (int number = 1; number <= 1000; ++number) pigeons += Pigeon("NL", number) + "\r\n";
    folder.Write("fancier/f002.DAT", fanciers);
    for (int fancier = 0; fancier <= 100; ++fancier) folder.Write("pigeon/p002" + ZeroPadded(fancier, 3) + ".dat", pigeons);
    EXPECT_EQ(BuildLoftExchange(folder.path(), TestSettings()).problem, ExchangeProblem::TooManyLines);
    EXPECT_EQ(folder.Read(kLoftFile), "old");

    folder.Write("fancier/f010.DAT", " 5 \r\nshort\r\n"); // claims more records than it holds
    built = BuildFancierExchange(folder.path(), TestSettings());
    EXPECT_EQ(built.problem, ExchangeProblem::RegisterUnreadable);
    EXPECT_NE(built.error.find("f010.DAT"), std::string::npos);
    EXPECT_EQ(folder.Read(kFancierFile), "old");
}

} // namespace
} // namespace plumet
