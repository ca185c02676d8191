#include <gtest/gtest.h>

#include "core/app/fixedwidth.h"
#include "core/exchange/loftexchange.h"
#include "exchangetestdata.h"

namespace plumet {
namespace {

using namespace exchangetest;

constexpr const char* kFile = "exchange/T007003.d00";

std::string Pigeon(const std::string& nation, int number, char sex = 'M') {
    return PadRight(nation, 6) + "  23" + "     " + PadLeft(std::to_string(number), 7, ' ') + sex + "1300000000BLUE00";
}

ExchangeOutcome Read(const TestFolder& folder) { return ReadLoftExchange(folder.path(), TestSettings(), TestSexes()); }

TEST(LoftExchange, BuildsTheGoldenFileAndAReadIntoAnEmptyFolderBuildsItAgain) {
    TestInstallation source;
    const ExchangeOutcome built = BuildLoftExchange(source.path(), TestSettings());
    ASSERT_TRUE(built.Ok()) << built.error;
    EXPECT_EQ(source.Read(kFile), Golden("T007003.d00"));

    EmptyInstallation target;
    target.Write(kFile, source.Read(kFile));
    ASSERT_TRUE(Read(target).Ok());
    // Building again needs the clubs and fanciers that name the pigeon files.
    for (const char* file : {"club/club.dat", "fancier/f002.DAT", "fancier/f010.DAT"})
        target.Write(file, source.Read(file));
    EXPECT_EQ(target.Registers(), source.Registers());
    std::filesystem::remove(target.path() / kFile);
    ASSERT_TRUE(BuildLoftExchange(target.path(), TestSettings()).Ok());
    EXPECT_EQ(target.Read(kFile), Golden("T007003.d00"));
}

TEST(LoftExchange, AThirtyCharacterLineOfAnOlderFileGetsNoChipABlankColourAndFormatZero) {
    const std::string ring = "NL      05     1234567M";
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring + "ABCDEF0100BLUE"), ring + "ABCDEF0100BLUE00");
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring + "ABCDE").size(), kPigeonRecordLength);
    EmptyInstallation folder;
    folder.Write(kFile, JoinLinesCrLf({"0002001" + ring}));
    ASSERT_TRUE(Read(folder).Ok());
    EXPECT_EQ(folder.Read("pigeon/p002001.dat"), JoinLinesCrLf({" 1 ", ring + "1300000000    00"}));
}

TEST(LoftExchange, ASplitLoftKeepsItsLaterGroupEachLoftIsSortedAndLoftsNotInTheFileStay) {
    TestInstallation folder;
    const std::string untouched = folder.Read("pigeon/p002255.dat");
    const std::string loft = folder.Read("pigeon/p010007.dat");
    std::filesystem::remove(folder.path() / "pigeon/p010007.dat");
    folder.Write("pigeon/P010007.DAT", loft); // another letter case
    folder.Write(kFile, JoinLinesCrLf({LoftLine("002", "001", Pigeon("NL", 1)), LoftLine("002", "001", Pigeon("NL", 2)),
                                       LoftLine("010", "007", Pigeon("NL", 10)),
                                       LoftLine("010", "007", Pigeon("NL", 9, 'F')),
                                       LoftLine("010", "007", Pigeon("NL", 9, 'M')),
                                       LoftLine("010", "007", Pigeon("B", 700)),
                                       LoftLine("002", "001", Pigeon("NL", 3)),
                                       LoftLine("003", "004", Pigeon("NL", 4))}));
    ASSERT_TRUE(Read(folder).Ok());
    EXPECT_EQ(folder.Read("pigeon/p002001.dat"), JoinLinesCrLf({" 1 ", Pigeon("NL", 3)}));
    EXPECT_EQ(folder.Read("pigeon/P010007.DAT"), JoinLinesCrLf({" 4 ", Pigeon("B", 700), Pigeon("NL", 9, 'M'),
                                                                Pigeon("NL", 9, 'F'), Pigeon("NL", 10)}));
    EXPECT_FALSE(folder.HasEntryNamed("pigeon/p010007.dat"));
    EXPECT_EQ(folder.Read("pigeon/p003004.dat"), JoinLinesCrLf({" 1 ", Pigeon("NL", 4)}));
    EXPECT_EQ(folder.Read("pigeon/p002255.dat"), untouched);
}

TEST(LoftExchange, ALoftWhoseFileHoldsItsPigeonsAlreadyIsNotWrittenAgain) {
    TestInstallation folder;
    ASSERT_TRUE(BuildLoftExchange(folder.path(), TestSettings()).Ok());
    const auto before = folder.Registers();
    const ExchangeOutcome same = WithFailingSaves([&] { return Read(folder); });
    EXPECT_TRUE(same.Ok()) << same.error;
    EXPECT_EQ(same.filesWritten, 0U);
    EXPECT_EQ(folder.Registers(), before);
    folder.Write(kFile, folder.Read(kFile) + LoftLine("010", "007", Pigeon("NL", 99)) + "\r\n");
    const ExchangeOutcome one = Read(folder);
    EXPECT_EQ(one.filesWritten, 1U);
    EXPECT_NE(folder.Read("pigeon/p010007.dat").find(Pigeon("NL", 99)), std::string::npos);
}

TEST(LoftExchange, ABadLineALoftOfMoreThan1000OrAFailedWriteChangesNoPigeonFile) {
    const std::string good = LoftLine("002", "001", Pigeon("NL", 1));
    std::vector<std::string> full;
    for (int number = 1; number <= 1001; ++number) full.push_back(LoftLine("002", "001", Pigeon("NL", number)));
    const struct {
        std::vector<std::string> lines;
        ExchangeProblem problem;
        std::size_t line;
    } cases[] = {{{good, "1" + good.substr(1)}, ExchangeProblem::BadLine, 2},
                 {{good, good.substr(0, 29)}, ExchangeProblem::BadLine, 2},
                 {{good, good + "x"}, ExchangeProblem::BadLine, 2},
                 {{good, "0002/..\\" + good.substr(8)}, ExchangeProblem::BadLine, 2},
                 {full, ExchangeProblem::RegisterFull, 1001},
                 {{good, LoftLine("010", "007", Pigeon("NL", 2))}, ExchangeProblem::WriteFailed, 0}};
    for (const auto& c : cases) {
        TestInstallation folder;
        const auto before = folder.Registers();
        folder.Write(kFile, JoinLinesCrLf(c.lines));
        const ExchangeOutcome read = WithFailingSaves([&] { return Read(folder); }, SavesOf("p010007.dat"));
        EXPECT_EQ(read.problem, c.problem) << c.lines.back();
        EXPECT_EQ(read.line, c.line) << c.lines.back();
        EXPECT_EQ(folder.Registers(), before) << c.lines.back();
    }
}

TEST(LoftExchange, ABuildThatCannotReadAPigeonFileOrHasTooManyPigeonsKeepsTheOldFile) {
    TestInstallation folder;
    folder.Write(kFile, "old");
    std::filesystem::remove(folder.path() / "pigeon" / "p002255.dat");
    std::filesystem::create_directories(folder.path() / "pigeon" / "P002255.DAT"); // cannot be read as a file
    ExchangeOutcome built = BuildLoftExchange(folder.path(), TestSettings());
    EXPECT_EQ(built.problem, ExchangeProblem::RegisterUnreadable);
    EXPECT_NE(built.error.find("P002255.DAT"), std::string::npos);
    EXPECT_EQ(folder.Read(kFile), "old");

    std::filesystem::remove(folder.path() / "pigeon" / "P002255.DAT");
    std::string fanciers = " 101 \r\n"; // 101 fanciers of 1000 pigeons each
    std::string pigeons = " 1000 \r\n";
    for (int fancier = 0; fancier <= 100; ++fancier) fanciers += ZeroPadded(fancier, 3) + PadRight("F", 70) + "\r\n";
    for (int number = 1; number <= 1000; ++number) pigeons += Pigeon("NL", number) + "\r\n";
    folder.Write("fancier/f002.DAT", fanciers);
    for (int fancier = 0; fancier <= 100; ++fancier)
        folder.Write("pigeon/p002" + ZeroPadded(fancier, 3) + ".dat", pigeons);
    built = BuildLoftExchange(folder.path(), TestSettings());
    EXPECT_EQ(built.problem, ExchangeProblem::TooManyLines);
    EXPECT_EQ(folder.Read(kFile), "old");
}

} // namespace
} // namespace plumet
