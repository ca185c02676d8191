#include <gtest/gtest.h>

#include <map>

#include "app/fixedwidth.h"
#include "exchange/loftexchange.h"
#include "exchangetestdata.h"

namespace plumet {
namespace {

using namespace exchangetest;

constexpr const char* kFile = "exchange/T007003.d00";

std::string Crlf(const std::vector<std::string>& lines) { return JoinLinesCrLf(lines); }

std::string Pigeon(const std::string& nation, int number, char sex = 'M') {
    return PadRight(nation, 6) + "  23" + "     " + PadLeft(std::to_string(number), 7, ' ') + sex + "1300000000BLUE00";
}

std::map<std::string, std::string> PigeonFiles(const TestFolder& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "pigeon"))
        files[entry.path().filename().string()] = folder.Read("pigeon/" + entry.path().filename().string());
    return files;
}

TEST(LoftExchange, BuildsTheGoldenFileAndReadsItBackIntoAnEmptyFolder) {
    TestInstallation source;
    const ExchangeOutcome built = BuildLoftExchange(source.path(), TestSettings());
    ASSERT_TRUE(built.Ok()) << built.error;
    EXPECT_EQ(built.lines, 13U);
    EXPECT_EQ(source.Read(kFile), Golden("T007003.d00"));

    EmptyInstallation target;
    target.Write(kFile, source.Read(kFile));
    const ExchangeOutcome read = ReadLoftExchange(target.path(), TestSettings(), TestSexes());
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.filesWritten, 3U);
    EXPECT_EQ(PigeonFiles(target), PigeonFiles(source));

    // Building again needs the clubs and fanciers that name the pigeon files.
    for (const char* file : {"club/club.dat", "fancier/f002.DAT", "fancier/f010.DAT"}) target.Write(file, source.Read(file));
    std::filesystem::remove(target.path() / kFile);
    ASSERT_TRUE(BuildLoftExchange(target.path(), TestSettings()).Ok());
    EXPECT_EQ(target.Read(kFile), Golden("T007003.d00"));
}

TEST(LoftExchange, ShortLinesOfOlderFilesGetNoChipABlankColourAndFormatZero) {
    const std::string ring = "NL      05     1234567M";
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring), ring + "1300000000" + "    " + "00");
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring + "ABCDEF0100"), ring + "ABCDEF0100" + "    " + "00");
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring + "ABCDEF0100BLUE"), ring + "ABCDEF0100BLUE00");
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring + "ABCDEF0100BLUE03"), ring + "ABCDEF0100BLUE03");
    // A line cut inside a field keeps the record's columns.
    EXPECT_EQ(PigeonRecordOfLoftLine("0002001" + ring + "ABCDE").size(), kPigeonRecordLength);

    EmptyInstallation folder;
    folder.Write(kFile, Crlf({"0002001" + ring}));
    ASSERT_EQ(("0002001" + ring).size(), 30U);
    ASSERT_TRUE(ReadLoftExchange(folder.path(), TestSettings(), TestSexes()).Ok());
    EXPECT_EQ(folder.Read("pigeon/p002001.dat"), Crlf({" 1 ", ring + "1300000000    00"}));
}

TEST(LoftExchange, ReadReplacesTheLoftsInTheFileInRegisterOrderAndLeavesOthers) {
    TestInstallation folder;
    const std::string untouched = folder.Read("pigeon/p002255.dat");
    folder.Write("pigeon/P010007.DAT", folder.Read("pigeon/p010007.dat")); // another letter case
    std::filesystem::remove(folder.path() / "pigeon/p010007.dat");
    // Loft 002/001 split by loft 010/007: its later group is what it keeps.
    folder.Write(kFile, Crlf({LoftLine("002", "001", Pigeon("NL", 1)), LoftLine("002", "001", Pigeon("NL", 2)),
                              LoftLine("010", "007", Pigeon("NL", 10)), LoftLine("010", "007", Pigeon("NL", 9, 'F')),
                              LoftLine("010", "007", Pigeon("NL", 9, 'M')), LoftLine("010", "007", Pigeon("B", 700)),
                              LoftLine("002", "001", Pigeon("NL", 3)), LoftLine("003", "004", Pigeon("NL", 4))}));
    const ExchangeOutcome read = ReadLoftExchange(folder.path(), TestSettings(), TestSexes());
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.lines, 8U);
    EXPECT_EQ(read.filesWritten, 3U);

    EXPECT_EQ(folder.Read("pigeon/p002001.dat"), Crlf({" 1 ", Pigeon("NL", 3)}));
    EXPECT_EQ(folder.Read("pigeon/P010007.DAT"),
              Crlf({" 4 ", Pigeon("B", 700), Pigeon("NL", 9, 'M'), Pigeon("NL", 9, 'F'), Pigeon("NL", 10)}));
    EXPECT_FALSE(folder.Exists("pigeon/p010007.dat"));
    EXPECT_EQ(folder.Read("pigeon/p003004.dat"), Crlf({" 1 ", Pigeon("NL", 4)}));
    EXPECT_EQ(folder.Read("pigeon/p002255.dat"), untouched);
}

TEST(LoftExchange, ABadFileChangesNothing) {
    const std::string good = LoftLine("002", "001", Pigeon("NL", 1));
    const struct {
        std::string line;
        ExchangeProblem problem;
    } cases[] = {
        {"1" + good.substr(1), ExchangeProblem::BadLine},
        {good.substr(0, 29), ExchangeProblem::BadLine},
        {good + "x", ExchangeProblem::BadLine},
        {"00a2001" + good.substr(7), ExchangeProblem::BadLine},
        {"0002/..\\" + good.substr(8), ExchangeProblem::BadLine},
    };
    for (const auto& c : cases) {
        TestInstallation folder;
        const auto before = PigeonFiles(folder);
        folder.Write(kFile, Crlf({good, c.line, good}));
        const ExchangeOutcome read = ReadLoftExchange(folder.path(), TestSettings(), TestSexes());
        EXPECT_EQ(read.problem, c.problem) << c.line;
        EXPECT_EQ(read.line, 2U) << c.line;
        EXPECT_TRUE(read.FileRefused());
        EXPECT_EQ(PigeonFiles(folder), before) << c.line;
    }

    TestInstallation folder;
    const auto before = PigeonFiles(folder);
    EXPECT_EQ(ReadLoftExchange(folder.path(), TestSettings(), TestSexes()).problem, ExchangeProblem::FileMissing);

    std::vector<std::string> lines;
    for (int number = 1; number <= 1001; ++number) lines.push_back(LoftLine("002", "001", Pigeon("NL", number)));
    folder.Write(kFile, Crlf(lines));
    const ExchangeOutcome full = ReadLoftExchange(folder.path(), TestSettings(), TestSexes());
    EXPECT_EQ(full.problem, ExchangeProblem::RegisterFull);
    EXPECT_EQ(full.line, 1001U);
    EXPECT_EQ(PigeonFiles(folder), before);

}

TEST(LoftExchange, AFailedWriteChangesNoPigeonFile) {
    TestInstallation folder;
    const auto before = PigeonFiles(folder);
    folder.Write(kFile, Crlf({LoftLine("002", "001", Pigeon("NL", 1)), LoftLine("010", "007", Pigeon("NL", 2))}));
    SetSaveFaultForTests([](const Path& target) { return target.filename() == "p010007.dat"; });
    const ExchangeOutcome read = ReadLoftExchange(folder.path(), TestSettings(), TestSexes());
    SetSaveFaultForTests(nullptr);
    EXPECT_EQ(read.problem, ExchangeProblem::WriteFailed);
    EXPECT_NE(read.error.find("p010007.dat"), std::string::npos);
    EXPECT_EQ(PigeonFiles(folder), before);
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

    // 101 fanciers of 1000 pigeons each.
    std::filesystem::remove(folder.path() / "pigeon" / "P002255.DAT");
    std::string fanciers = " 101 \r\n";
    std::string pigeons = " 1000 \r\n";
    for (int fancier = 0; fancier <= 100; ++fancier)
        fanciers += ZeroPadded(fancier, 3) + PadRight("F", 70) + "\r\n";
    for (int number = 1; number <= 1000; ++number) pigeons += Pigeon("NL", number) + "\r\n";
    folder.Write("fancier/f002.DAT", fanciers);
    for (int fancier = 0; fancier <= 100; ++fancier) folder.Write("pigeon/p002" + ZeroPadded(fancier, 3) + ".dat", pigeons);
    built = BuildLoftExchange(folder.path(), TestSettings());
    EXPECT_EQ(built.problem, ExchangeProblem::TooManyLines);
    EXPECT_NE(built.error.find("T007003.d00"), std::string::npos);
    EXPECT_EQ(folder.Read(kFile), "old");
}

} // namespace
} // namespace plumet
