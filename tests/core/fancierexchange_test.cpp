#include <gtest/gtest.h>

#include "core/app/fixedwidth.h"
#include "core/exchange/fancierexchange.h"
#include "exchangetestdata.h"

namespace plumet {
namespace {

using namespace exchangetest;

constexpr const char* kFile = "exchange/S007003.d00";
const std::string kRegion = RegionLine(TestSettings());
const std::string kFederation = FederationLine(TestSettings());

std::string Club(const std::string& number, const std::string& name) {
    return "3" + number + "   " + PadRight(name, 60);
}
std::string Fancier(const std::string& club, const std::string& number, const std::string& name) {
    return "4" + club + number + PadRight(name, 20) + "N51000000E0070000000" + std::string(30, ' ');
}

TEST(FancierExchange, BuildsTheGoldenFileAndAReadIntoAnEmptyFolderBuildsItAgain) {
    TestInstallation source;
    const ExchangeOutcome built = BuildFancierExchange(source.path(), TestSettings());
    ASSERT_TRUE(built.Ok()) << built.error;
    EXPECT_EQ(source.Read(kFile), Golden("S007003.d00"));

    EmptyInstallation target;
    target.Write(kFile, source.Read(kFile));
    const ExchangeOutcome read = ReadFancierExchange(target.path(), TestSettings());
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.filesWritten, 3U); // the club register and two fancier files: none for a club without fanciers
    std::filesystem::remove(target.path() / kFile);
    ASSERT_TRUE(BuildFancierExchange(target.path(), TestSettings()).Ok());
    EXPECT_EQ(target.Read(kFile), Golden("S007003.d00"));
    EXPECT_EQ(ClubLine("004Kurz").size(), kClubLineLength); // a short record keeps the columns
    EXPECT_EQ(FancierLine("004", "001Kurz").size(), kFancierLineLength);
}

TEST(FancierExchange, ReadReplacesTheClubsInTheFileAndLeavesTheFancierFilesOfMissingClubs) {
    TestInstallation folder;
    folder.Write("fancier/f005.DAT", " 1 \r\n" + Fancier("005", "001", "Alt").substr(4) + "\r\n");
    const std::string f010 = folder.Read("fancier/f010.DAT");
    // Club 005 without fanciers, club 002 with new ones, club 010 gone, club 003 new.
    folder.Write(kFile, JoinLinesCrLf({kRegion, kFederation, Club("005", "Heimatliebe"), Club("002", "Neu"),
                                       Fancier("002", "009", "Neun"), Fancier("002", "004", "Vier"),
                                       Club("003", "Dritte"), Fancier("003", "001", "Eins")}));
    ASSERT_TRUE(ReadFancierExchange(folder.path(), TestSettings()).Ok());
    EXPECT_EQ(folder.Read("club/club.dat"), JoinLinesCrLf({" 3 ", "002" + PadRight("Neu", 60),
                                                           "003" + PadRight("Dritte", 60),
                                                           "005" + PadRight("Heimatliebe", 60)}));
    EXPECT_EQ(folder.Read("fancier/f002.DAT"), JoinLinesCrLf({" 2 ", Fancier("002", "004", "Vier").substr(4),
                                                              Fancier("002", "009", "Neun").substr(4)}));
    EXPECT_EQ(folder.Read("fancier/f010.DAT"), f010);
    EXPECT_NE(folder.Read("fancier/f005.DAT").find("Alt"), std::string::npos); // no fancier lines: untouched
}

TEST(FancierExchange, ABadOrOverfullFileChangesNothing) {
    const std::string club = Club("002", "Neu");
    const std::string fancier = Fancier("002", "001", "Eins");
    std::vector<std::string> tooMany = {kRegion, kFederation, Club("001", "C")};
    for (int n = 0; n <= 250; ++n) tooMany.push_back(Fancier("001", ZeroPadded(n, 3), "F"));
    const struct {
        std::vector<std::string> lines;
        ExchangeProblem problem;
        std::size_t line;
    } cases[] = {
        {{"1008" + kRegion.substr(4), kFederation, club}, ExchangeProblem::WrongRegion, 1},
        {{kRegion, "2004" + kFederation.substr(4), club}, ExchangeProblem::WrongFederation, 2},
        {{kRegion}, ExchangeProblem::WrongFederation, 0},
        {{kRegion, kFederation, club, fancier, "5002"}, ExchangeProblem::BadLine, 5},
        {{kRegion, kFederation, fancier, club}, ExchangeProblem::BadLine, 3}, // a fancier before any club
        {{kRegion, kFederation, club, Fancier("003", "001", "X")}, ExchangeProblem::BadLine, 4}, // another club's
        {{kRegion, kFederation, club, fancier + "x"}, ExchangeProblem::BadLine, 4},
        {{kRegion, kFederation, club, fancier, Fancier("002", "001", "Zwei")}, ExchangeProblem::BadLine, 5}, // twice
        {{kRegion, kFederation, club, fancier, Club("002", "Wieder")}, ExchangeProblem::BadLine, 5}, // a club twice
        {{kRegion, kFederation, "3..\\   Pfad"}, ExchangeProblem::BadLine, 3}, // numbers name files
        {tooMany, ExchangeProblem::RegisterFull, 254},
    };
    for (const auto& c : cases) {
        TestInstallation folder;
        const auto before = folder.Registers();
        folder.Write(kFile, JoinLinesCrLf(c.lines));
        const ExchangeOutcome read = ReadFancierExchange(folder.path(), TestSettings());
        EXPECT_EQ(read.problem, c.problem) << c.lines.back();
        EXPECT_EQ(read.line, c.line) << c.lines.back();
        EXPECT_NE(read.error.find("S007003.d00"), std::string::npos);
        EXPECT_EQ(folder.Registers(), before) << c.lines.back();
    }
}

TEST(FancierExchange, TheLineLimitCountsOnlyLinesThatAreNotEmpty) {
    std::vector<std::string> lines = {kRegion, kFederation};
    for (int club = 0; lines.size() < kFancierExchangeLineLimit; ++club) {
        lines.push_back(Club(ZeroPadded(club, 3), "C"));
        for (int fancier = 0; fancier < 249 && lines.size() < kFancierExchangeLineLimit; ++fancier)
            lines.push_back(Fancier(ZeroPadded(club, 3), ZeroPadded(fancier, 3), "F"));
    }
    EmptyInstallation folder;
    folder.Write(kFile, JoinLinesCrLf(lines) + "\r\n\r\n");
    EXPECT_TRUE(ReadFancierExchange(folder.path(), TestSettings()).Ok());
    lines.push_back(Fancier("003", "249", "F"));
    folder.Write(kFile, JoinLinesCrLf(lines));
    const auto before = folder.Registers();
    EXPECT_EQ(ReadFancierExchange(folder.path(), TestSettings()).problem, ExchangeProblem::TooManyLines);
    EXPECT_EQ(folder.Registers(), before);
}

TEST(FancierExchange, AFailedWriteOrAnUnreadableRegisterChangesNoFileAndNamesIt) {
    TestInstallation folder;
    const auto before = folder.Registers();
    folder.Write(kFile, JoinLinesCrLf({kRegion, kFederation, Club("002", "Neu"), Fancier("002", "001", "Eins")}));
    const ExchangeOutcome read =
        WithFailingSaves([&] { return ReadFancierExchange(folder.path(), TestSettings()); }, SavesOf("club.dat"));
    EXPECT_EQ(read.problem, ExchangeProblem::WriteFailed);
    EXPECT_NE(read.error.find("club.dat"), std::string::npos);
    EXPECT_EQ(folder.Registers(), before);

    folder.Write(kFile, "old");
    folder.Write("fancier/f010.DAT", " 5 \r\nshort\r\n"); // claims more records than it holds
    const ExchangeOutcome built = BuildFancierExchange(folder.path(), TestSettings());
    EXPECT_EQ(built.problem, ExchangeProblem::RegisterUnreadable);
    EXPECT_NE(built.error.find("f010.DAT"), std::string::npos);
    EXPECT_EQ(folder.Read(kFile), "old");
}

} // namespace
} // namespace plumet
