#include <gtest/gtest.h>

#include <map>

#include "app/fixedwidth.h"
#include "exchange/fancierexchange.h"
#include "exchangetestdata.h"

namespace plumet {
namespace {

using namespace exchangetest;

constexpr const char* kFile = "exchange/S007003.d00";

std::string Crlf(const std::vector<std::string>& lines) { return JoinLinesCrLf(lines); }

std::string Club(const std::string& number, const std::string& name) {
    return "3" + number + "   " + PadRight(name, 60);
}
std::string Fancier(const std::string& club, const std::string& number, const std::string& name) {
    return "4" + club + number + PadRight(name, 20) + "N51000000E0070000000" + std::string(30, ' ');
}

// Every register file of the folder, so a test can tell that a read changed nothing.
std::map<std::string, std::string> Registers(const TestFolder& folder) {
    std::map<std::string, std::string> files;
    for (const char* sub : {"club", "fancier", "pigeon"})
        for (const auto& entry : std::filesystem::directory_iterator(folder.path() / sub))
            files[std::string(sub) + "/" + entry.path().filename().string()] =
                folder.Read(std::string(sub) + "/" + entry.path().filename().string());
    return files;
}

TEST(FancierExchange, BuildsTheGoldenFileAndReadsItBackIntoAnEmptyFolder) {
    TestInstallation source;
    const ExchangeOutcome built = BuildFancierExchange(source.path(), TestSettings());
    ASSERT_TRUE(built.Ok()) << built.error;
    EXPECT_EQ(built.lines, 9U);
    EXPECT_EQ(source.Read(kFile), Golden("S007003.d00"));

    EmptyInstallation target;
    target.Write(kFile, source.Read(kFile));
    const ExchangeOutcome read = ReadFancierExchange(target.path(), TestSettings());
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.filesWritten, 3U); // two fancier files and the club register
    for (const char* file : {"club/club.dat", "fancier/f002.DAT", "fancier/f010.DAT"})
        EXPECT_EQ(target.Read(file), source.Read(file)) << file;
    EXPECT_FALSE(target.Exists("fancier/f005.DAT")); // the club without fanciers

    std::filesystem::remove(target.path() / kFile);
    ASSERT_TRUE(BuildFancierExchange(target.path(), TestSettings()).Ok());
    EXPECT_EQ(target.Read(kFile), Golden("S007003.d00"));
}

TEST(FancierExchange, LinesKeepTheirColumnsWhateverTheRecords) {
    Settings settings = TestSettings();
    EXPECT_EQ(RegionLine(settings), "1007   North" + std::string(25, ' '));
    EXPECT_EQ(FederationLine(settings), "2003   East" + std::string(26, ' '));
    settings.region = "007Nord"; // a hand-written options file: the name stays as short as it is
    EXPECT_EQ(RegionLine(settings), "1007   Nord");
    settings.region = "";
    EXPECT_EQ(RegionLine(settings), "1      ");
    EXPECT_EQ(ClubLine("004Kurz").size(), kClubLineLength);
    EXPECT_EQ(FancierLine("004", "001Kurz").size(), kFancierLineLength);
}

TEST(FancierExchange, ReadReplacesTheClubRegisterAndTheFancierFilesOfTheClubsInTheFile) {
    TestInstallation folder;
    folder.Write("fancier/f005.DAT", " 1 \r\n" + Fancier("005", "001", "Alt").substr(4) + "\r\n");
    const std::string f010 = folder.Read("fancier/f010.DAT");
    // Club 005 without fanciers, club 002 with new ones, club 010 gone, club 003 new.
    folder.Write(kFile, Crlf({RegionLine(TestSettings()), FederationLine(TestSettings()), Club("005", "Heimatliebe"),
                              Club("002", "Neu"), Fancier("002", "009", "Neun"), Fancier("002", "004", "Vier"),
                              Club("003", "Dritte"), Fancier("003", "001", "Eins")}));
    const ExchangeOutcome read = ReadFancierExchange(folder.path(), TestSettings());
    ASSERT_TRUE(read.Ok()) << read.error;

    EXPECT_EQ(folder.Read("club/club.dat"),
              Crlf({" 3 ", "002" + PadRight("Neu", 60), "003" + PadRight("Dritte", 60),
                    "005" + PadRight("Heimatliebe", 60)}));
    EXPECT_EQ(folder.Read("fancier/f002.DAT"),
              Crlf({" 2 ", Fancier("002", "004", "Vier").substr(4), Fancier("002", "009", "Neun").substr(4)}));
    EXPECT_EQ(folder.Read("fancier/f003.DAT"), Crlf({" 1 ", Fancier("003", "001", "Eins").substr(4)}));
    EXPECT_EQ(folder.Read("fancier/f010.DAT"), f010);          // its club left the register, the file stays
    EXPECT_NE(folder.Read("fancier/f005.DAT").find("Alt"), std::string::npos); // no fancier lines: untouched
}

TEST(FancierExchange, ABadFileChangesNothing) {
    const std::string region = RegionLine(TestSettings());
    const std::string federation = FederationLine(TestSettings());
    const std::string club = Club("002", "Neu");
    const std::string fancier = Fancier("002", "001", "Eins");
    Settings otherRegion = TestSettings();
    otherRegion.region = "008" + otherRegion.region.substr(3);
    Settings otherFederation = TestSettings();
    otherFederation.federation = "004" + otherFederation.federation.substr(3);

    const struct {
        std::vector<std::string> lines;
        ExchangeProblem problem;
        std::size_t line;
    } cases[] = {
        {{RegionLine(otherRegion), federation, club}, ExchangeProblem::WrongRegion, 1},
        {{federation, region, club}, ExchangeProblem::WrongRegion, 1},
        {{region, FederationLine(otherFederation), club}, ExchangeProblem::WrongFederation, 2},
        {{region}, ExchangeProblem::WrongFederation, 0},
        {{region + "x", federation}, ExchangeProblem::BadLine, 1},
        {{region, federation, club, fancier, "5002"}, ExchangeProblem::BadLine, 5},
        {{region, federation, fancier, club}, ExchangeProblem::BadLine, 3},          // fancier before any club
        {{region, federation, club, Fancier("003", "001", "X")}, ExchangeProblem::BadLine, 4}, // other club
        {{region, federation, club + "x"}, ExchangeProblem::BadLine, 3},
        {{region, federation, club, fancier + "x"}, ExchangeProblem::BadLine, 4},
        {{region, federation, "3..\\   Pfad"}, ExchangeProblem::BadLine, 3},        // numbers name files
        {{region, federation, club, "4002ab1"}, ExchangeProblem::BadLine, 4},
        {{region, federation, club, region}, ExchangeProblem::BadLine, 4},
    };
    for (const auto& c : cases) {
        TestInstallation folder;
        const auto before = Registers(folder);
        folder.Write(kFile, Crlf(c.lines));
        const ExchangeOutcome read = ReadFancierExchange(folder.path(), TestSettings());
        EXPECT_EQ(read.problem, c.problem) << c.lines.back();
        EXPECT_EQ(read.line, c.line) << c.lines.back();
        EXPECT_TRUE(read.FileRefused());
        EXPECT_NE(read.error.find("S007003.d00"), std::string::npos);
        EXPECT_EQ(Registers(folder), before) << c.lines.back();
    }
}

TEST(FancierExchange, MissingFileAndOverfullFilesAndRegistersAreRefused) {
    {
        TestInstallation folder;
        EXPECT_EQ(ReadFancierExchange(folder.path(), TestSettings()).problem, ExchangeProblem::FileMissing);
    }
    std::vector<std::string> lines = {RegionLine(TestSettings()), FederationLine(TestSettings())};
    for (int club = 0; club < 4; ++club) {
        lines.push_back(Club(ZeroPadded(club, 3), "C"));
        for (int fancier = 0; fancier < 249 && lines.size() < kFancierExchangeLineLimit; ++fancier)
            lines.push_back(Fancier(ZeroPadded(club, 3), ZeroPadded(fancier, 3), "F"));
    }
    ASSERT_EQ(lines.size(), kFancierExchangeLineLimit);
    {
        EmptyInstallation folder;
        folder.Write(kFile, Crlf(lines) + "\r\n\r\n"); // empty lines do not count
        EXPECT_TRUE(ReadFancierExchange(folder.path(), TestSettings()).Ok());
        EXPECT_EQ(folder.Read("club/club.dat").substr(0, 5), " 4 \r\n");
    }
    {
        TestInstallation folder;
        const auto before = Registers(folder);
        lines.push_back(Fancier("003", "249", "F"));
        folder.Write(kFile, Crlf(lines));
        EXPECT_EQ(ReadFancierExchange(folder.path(), TestSettings()).problem, ExchangeProblem::TooManyLines);
        EXPECT_EQ(Registers(folder), before);
    }
    {
        TestInstallation folder;
        const auto before = Registers(folder);
        lines.resize(2);
        lines.push_back(Club("001", "C"));
        for (int fancier = 0; fancier <= 250; ++fancier) lines.push_back(Fancier("001", ZeroPadded(fancier, 3), "F"));
        folder.Write(kFile, Crlf(lines));
        const ExchangeOutcome full = ReadFancierExchange(folder.path(), TestSettings());
        EXPECT_EQ(full.problem, ExchangeProblem::RegisterFull);
        EXPECT_EQ(full.line, 254U);
        EXPECT_EQ(Registers(folder), before);
    }
}

TEST(FancierExchange, AFailedWriteChangesNoRegisterAndNamesTheFile) {
    TestInstallation folder;
    const auto before = Registers(folder);
    folder.Write(kFile, Crlf({RegionLine(TestSettings()), FederationLine(TestSettings()), Club("002", "Neu"),
                              Fancier("002", "001", "Eins")}));
    SetSaveFaultForTests([](const Path& target) { return target.filename() == "club.dat"; });
    const ExchangeOutcome read = ReadFancierExchange(folder.path(), TestSettings());
    SetSaveFaultForTests(nullptr);
    EXPECT_EQ(read.problem, ExchangeProblem::WriteFailed);
    EXPECT_FALSE(read.FileRefused());
    EXPECT_NE(read.error.find("club.dat"), std::string::npos);
    EXPECT_EQ(Registers(folder), before);
}

TEST(FancierExchange, ABuildThatCannotReadOrWriteKeepsTheOldExchangeFile) {
    TestInstallation folder;
    folder.Write(kFile, "old");
    folder.Write("fancier/f010.DAT", " 5 \r\nshort\r\n"); // claims more records than it holds
    ExchangeOutcome built = BuildFancierExchange(folder.path(), TestSettings());
    EXPECT_EQ(built.problem, ExchangeProblem::RegisterUnreadable);
    EXPECT_NE(built.error.find("f010.DAT"), std::string::npos);
    EXPECT_EQ(folder.Read(kFile), "old");

    TestInstallation noExchangeFolder;
    std::filesystem::remove(noExchangeFolder.path() / "exchange");
    built = BuildFancierExchange(noExchangeFolder.path(), TestSettings());
    EXPECT_EQ(built.problem, ExchangeProblem::WriteFailed);
    EXPECT_NE(built.error.find("S007003.d00"), std::string::npos);
}

} // namespace
} // namespace plumet
