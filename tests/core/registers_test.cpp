// The register table under every register, the clubs and fanciers in it, a fancier's move from
// club to club, and the release points.
#include <gtest/gtest.h>

#include "core/registers/clubchange.h"
#include "core/registers/clubcolumns.h"
#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"
#include "core/records/listposition.h"
#include "core/records/registertable.h"
#include "core/releasepoints/releasepoints.h"
#include "testfolder.h"

namespace plumet {
namespace {

struct SmallTraits : NumberKeyTraits<ClubColumn::Number> {
    static constexpr std::size_t kCapacity = 3;
};
using Table = RegisterTable<SmallTraits>;

struct RegisterFile : ::testing::Test {
    TestFolder folder;
    const Path file = folder.path() / "r.dat";
    Table t;
};

TEST_F(RegisterFile, EqualKeysGoAfterFindTakesTheLastAndAnOutOfOrderFileKeepsItsOrder) {
    EXPECT_TRUE(t.Load(file) == 0U && t.LastLoad() == LoadOutcome::Missing);
    for (const char* r : {"010a", "005c", "005z"}) t.Insert(r);
    EXPECT_TRUE(t.Full());
    t.Delete(0), t.Delete(9);
    EXPECT_EQ(t.Find("005"), 2U);
    ASSERT_TRUE(t.Save(file));
    EXPECT_EQ(folder.Read("r.dat"), " 3 \r\n005c\r\n005z\r\n010a\r\n");
    folder.Write("r.dat", " 2 \n009x\n001y\n");
    EXPECT_EQ(t.Load(file), 2U);
    EXPECT_EQ(t.Find("001"), 2U);
    ASSERT_TRUE(t.Save(file));
    EXPECT_EQ(folder.Read("r.dat"), " 2 \r\n009x\r\n001y\r\n");
}

// Fewer records than counted, more than the table holds, no count line, a line end only, and a
// byte below 32 in a record: never taken in, never saved over.
TEST_F(RegisterFile, AnUnreadableFileIsNeverOverwritten) {
    for (const std::string& bytes : std::initializer_list<std::string>{
             " 5 \r\n001\r\n002\r\n", " 4 \r\n1\r\n2\r\n3\r\n4\r\n", "abc\r\n001\r\n", "\r\n", std::string(" 2 \r\n001a\r\n002") + '\0' + "b\r\n"}) {
        folder.Write("r.dat", bytes);
        EXPECT_TRUE(t.Load(file) == 0U && t.LastLoad() == LoadOutcome::Unreadable);
        t.Insert("004 new");
        const SaveResult saved = t.Save(file);
        EXPECT_FALSE(saved.ok || saved.error.empty());
        EXPECT_EQ(folder.Read("r.dat"), bytes);
    }
    EXPECT_EQ(UnreadableText(t, file), "The file " + file.string() + " cannot be read: line 3 holds a control character.");
}

// A table loaded before another task changed its file refuses to save over that change, and
// a table that saved last may save again (here one loaded from a file of no bytes).
TEST_F(RegisterFile, ASaveNeverUndoesAChangeMadeSinceTheLoadAndAFileOfNoBytesIsEmpty) {
    for (const bool existed : {true, false}) {
        if (existed) folder.Write("r.dat", " 1 \r\n001a\r\n");
        else std::filesystem::remove(file);
        Table window;
        window.Load(file);
        folder.Write("r.dat", " 1 \r\n005 by another task\r\n");
        window.Insert("002b");
        const SaveResult refused = window.Save(file);
        EXPECT_TRUE(refused.reason == FileReason::Changed && refused.error.find("open it again") != std::string::npos)
            << existed << refused.error;
        EXPECT_EQ(folder.Read("r.dat"), " 1 \r\n005 by another task\r\n");
    }
    folder.Write("r.dat", ""); // no bytes: an empty register
    EXPECT_TRUE(t.Load(file) == 0U && t.LastLoad() == LoadOutcome::Loaded && !RegisterFileHoldsRecords(file));
    for (const char* record : {"007c", "008d"}) {
        t.Insert(record);
        ASSERT_TRUE(t.Save(file)) << record;
    }
    EXPECT_EQ(folder.Read("r.dat"), " 2 \r\n007c\r\n008d\r\n");
}

TEST(ListPosition, RestoresTheSameLineOrTheNewLastOne) {
    EXPECT_EQ(std::to_string(RestoredListLine({3, 10}, 10, false)) + std::to_string(RestoredListLine({9, 10}, 9, false)) +
                  std::to_string(RestoredListLine({0, 1}, 1, true)) + std::to_string(RestoredListLine({2, 3}, 0, false)),
              "38-1-1");
}

const std::string kClubs = TestData("clubs/club.dat");

struct ClubFolder : TestFolder {
    ClubTable table;
    explicit ClubFolder(const std::string& bytes = kClubs) {
        Write("club/club.dat", bytes);
        LoadClubs(table, ClubFilePath(path()));
    }
    std::string File() const { return Read("club/club.dat"); }
};

TEST(Clubs, LfFileReadsAndWritesBackAsTheGoldenFileWhichAddBuildsInNumberOrder) {
    std::string lfOnly = kClubs;
    std::erase(lfOnly, '\r');
    TestFolder folder;
    folder.Write("CLUB/Club.DAT", lfOnly);
    ClubTable table;
    ASSERT_EQ(LoadClubs(table, ClubFilePath(folder.path())), 3U);
    ASSERT_TRUE(SaveClubs(table, ClubFilePath(folder.path())));
    EXPECT_EQ(folder.Read("CLUB/Club.DAT"), kClubs);

    ClubFolder added(" 0 \r\n");
    for (const auto& c : TableCells("clubs/added.txt")) // number | name | note, as typed
        EXPECT_TRUE(SaveAddedClub(added.table, added.path(), {c[0], c[1], c[2]}).Done()) << c[1];
    EXPECT_EQ(added.File(), kClubs);
}

TEST(Clubs, AddRefusesBadInputDuplicatesAndAFullRegisterWithTheFocusOnTheFault) {
    ClubFolder folder;
    for (const auto& c : TableCells("clubs/refused.txt")) { // number | name | note | message | focus
        const ActionResult result = SaveAddedClub(folder.table, folder.path(), {c[0], c[1], c[2]});
        EXPECT_EQ(std::to_string(result.message) + "|" + result.focusField, c[3] + "|" + c[4]) << c[0] << "/" << c[1];
    }
    EXPECT_EQ(folder.File(), kClubs);
    ClubTable full;
    for (int n = 0; n < 250; ++n) InsertClub(full, ZeroPadded(n, 3) + std::string(60, 'x'));
    EXPECT_EQ(SaveAddedClub(full, folder.path(), {"", "", ""}).message, kClubRegisterFull);
}

TEST(Clubs, AlterKeepsOrMovesTheNumberAndRefusesAClash) {
    ClubFolder folder;
    EXPECT_EQ(CurrentClubFields(folder.table, "005"), (ClubFields{"005", "Heimatliebe", ""}));
    EXPECT_TRUE(SaveAlteredClub(folder.table, folder.path(), "005", {"005", "Heimatliebe e.V.", ""}).Done());
    const std::string before = folder.File();
    EXPECT_EQ(SaveAlteredClub(folder.table, folder.path(), "005", {"010", "X", ""}).message, kClubNumberExists);
    EXPECT_EQ(folder.File(), before);
    // Fanciers filed under the old number keep the club on it; an empty fancier file does not.
    folder.Write("fancier/F005.dat", " 1 \r\n001Meier\r\n");
    EXPECT_EQ(SaveAlteredClub(folder.table, folder.path(), "005", {"500", "Heimatliebe", ""}).message,
              kClubFilesUnderOldNumber);
    EXPECT_EQ(folder.File(), before);
    folder.Write("fancier/F005.dat", " 0 \r\n");
    EXPECT_TRUE(SaveAlteredClub(folder.table, folder.path(), "005", {"500", "Heimatliebe", ""}).Done());
    EXPECT_TRUE(folder.table.Count() == 3U && ClubNumberOf(folder.table.Record(3)) == "500"); // once, new number, last
}

TEST(Clubs, DeletingTheLastClubLeavesACountOfZeroAndItsFancierFile) {
    ClubFolder folder(" 1 \r\n007" + std::string(60, ' ') + "\r\n");
    folder.Write("fancier/f007.DAT", " 0 \r\n");
    EXPECT_TRUE(DeleteCurrentClub(folder.table, folder.path(), "007").Done());
    EXPECT_TRUE(folder.File() == " 0 \r\n" && folder.Exists("fancier/f007.DAT"));
}

TEST(Clubs, AFailedSaveKeepsTableAndFile) {
    ClubFolder folder;
    const SaveFault fault;
    for (const ActionResult& r : {SaveAddedClub(folder.table, folder.path(), {"20", "New", ""}),
                                  SaveAlteredClub(folder.table, folder.path(), "002", {"003", "Renamed", ""}),
                                  DeleteCurrentClub(folder.table, folder.path(), "010")})
        EXPECT_TRUE(!r.Done() && !r.saved.error.empty());
    EXPECT_TRUE(FindClub(folder.table, "002") == 1U && folder.table.Count() == 3U);
    EXPECT_EQ(folder.File(), kClubs);
}

const std::string kFanciers = TestData("fanciers/f007.DAT");
const PositionFields kSomewhere = {{"N", "50", "0", "0", "0"}, {"E", "6", "0", "0", "0"}};

// A latitude and a longitude from the ten cells of a table row that start at `first`.
PositionFields PositionCells(const std::vector<std::string>& c, std::size_t first) {
    return {{c[first], c[first + 1], c[first + 2], c[first + 3], c[first + 4]},
            {c[first + 5], c[first + 6], c[first + 7], c[first + 8], c[first + 9]}};
}

struct FancierFolder : TestFolder {
    FancierTable table;
    explicit FancierFolder(const std::string& bytes = kFanciers) {
        Write("fancier/f007.DAT", bytes);
        std::filesystem::create_directories(path() / "pigeon");
        LoadFanciers(table, FancierFilePath(path(), "007"));
    }
    std::string File() const { return Read("fancier/f007.DAT"); }
    ActionResult Add(const FancierFields& fields) { return SaveAddedFancier(table, path(), "007", fields); }
};

TEST(Fanciers, TheGoldenFileIsBuiltByAddAndReadBackByteForByte) {
    FancierFolder added(" 0 \r\n");
    for (const auto& c : TableCells("fanciers/added.txt")) // number | name | loft | manual clocking | note
        EXPECT_TRUE(added.Add({c[0], c[1], PositionCells(c, 2), c[12] == "manual", c[13]}).Done()) << c[1];
    EXPECT_EQ(added.File(), kFanciers);

    TestFolder folder;
    folder.Write("FANCIER/F007.dat", kFanciers);
    FancierTable table;
    ASSERT_EQ(LoadFanciers(table, FancierFilePath(folder.path(), "007")), 3U);
    ASSERT_TRUE(SaveFanciers(table, FancierFilePath(folder.path(), "007")));
    EXPECT_EQ(folder.Read("FANCIER/F007.dat"), kFanciers);
}

TEST(Fanciers, AddRefusesWithTheFirstFaultyFieldAndBlankHemispheresBecomeNorthAndWest) {
    FancierFolder folder;
    for (const auto& c : TableCells("fanciers/refused.txt")) { // number | name | loft | the field that takes the focus
        const ActionResult result = folder.Add({c[0], c[1], PositionCells(c, 2), false, ""});
        EXPECT_TRUE(result.message == kFancierInvalidInput && result.focusField == c[12]) << c[12];
    }
    EXPECT_EQ(folder.Add({"012", "Other", kSomewhere, false, ""}).message, kFancierNumberExists);
    EXPECT_EQ(folder.File(), kFanciers);

    FancierFields blank{"7", "Name", kSomewhere, false, ""};
    blank.loft.latitude.sign = blank.loft.longitude.sign = " ";
    ASSERT_TRUE(folder.Add(blank).Done());
    EXPECT_EQ(LoftLatitudeOf(folder.table.Record(2)).substr(0, 1) + LoftLongitudeOf(folder.table.Record(2)).substr(0, 1), "NW");
}

TEST(Fanciers, AlterShowsTheStoredLoftChecksItAndMayMoveTheNumberBeyond255) {
    FancierFolder folder;
    FancierFields meier = *CurrentFancierFields(folder.table, "001");
    EXPECT_EQ(meier, (FancierFields{"001", "Meier", {{"N", "51", "30", "15", "25"}, {"E", "007", "05", "00", "00"}},
                                    true, ""}));
    meier.number = "012";
    EXPECT_EQ(SaveAlteredFancier(folder.table, folder.path(), "007", "001", meier).message, kFancierNumberExists);
    meier.number = "001";
    meier.loft.latitude.degrees = "95";
    EXPECT_EQ(SaveAlteredFancier(folder.table, folder.path(), "007", "001", meier).focusField, "Text6");
    EXPECT_EQ(folder.File(), kFanciers);
    meier.loft.latitude.degrees = "51";
    meier.number = "300";
    folder.Write("pigeon/p007001.dat", "garbled");
    EXPECT_EQ(SaveAlteredFancier(folder.table, folder.path(), "007", "001", meier).message,
              kFancierFilesUnderOldNumber);
    folder.Write("pigeon/p007001.dat", " 0 \r\n");
    EXPECT_TRUE(SaveAlteredFancier(folder.table, folder.path(), "007", "001", meier).Done());
    EXPECT_EQ(FancierNumberOf(folder.table.Record(3)), "300");
}

TEST(Fanciers, DeleteRemovesTheSelectedFanciersAndOnlyTheirPigeonFiles) {
    FancierFolder folder;
    folder.CopyData("fanciers/delete/before");
    EXPECT_TRUE(DeleteSelectedFanciers(folder.table, folder.path(), "007", {0, 1}).Done());
    EXPECT_EQ(folder.Files(), GoldenFiles("fanciers/delete/after"));
}

TEST(Fanciers, DeleteKeepsPigeonsWhenTheFileIsNotWrittenOrTheNumberIsStillInUse) {
    FancierFolder folder;
    folder.Write("pigeon/p007001.dat", " 0 \r\n");
    EXPECT_FALSE(
        WithFailingSaves([&] { return DeleteSelectedFanciers(folder.table, folder.path(), "007", {0}); }).saved.ok);
    EXPECT_TRUE(folder.table.Count() == 3U && folder.Exists("pigeon/p007001.dat"));

    InsertFancier(folder.table, "001Second" + std::string(64, ' ')); // two fanciers under one number
    EXPECT_TRUE(DeleteSelectedFanciers(folder.table, folder.path(), "007", {1}).Done());
    EXPECT_TRUE(TrimBlanks(FancierNameOf(folder.table.Record(1))) == "Meier" && folder.Exists("pigeon/p007001.dat"));
}

const std::string kPigeons = TestData("clubchange/registers/pigeon/p001012.dat");

// Clubs 001, 002 and 003 (full); club 001 has fanciers 003 and 012 (with pigeons), 002 has 001.
struct Registers : TestFolder {
    Registers() { CopyData("clubchange/registers"); }
    ClubChangeResult Move(std::string club, std::string fancier) const {
        return ChangeClub(path(), "001", "012", {std::move(club), std::move(fancier)});
    }
};

TEST(ClubChange, MovesTheFancierWithHisPigeonsOrRenumbersHimInHisClub) {
    Registers folder;
    ASSERT_TRUE(folder.Move("2", "5").moved);
    EXPECT_EQ(folder.Files(), GoldenFiles("clubchange/moved"));

    Registers same; // beyond 255, over a pigeon file nobody owns
    same.Write("pigeon/p001300.dat", " 0 \r\n");
    ASSERT_TRUE(same.Move("001", "300").moved);
    EXPECT_EQ(same.Files(), GoldenFiles("clubchange/renumbered"));
}

TEST(ClubChange, RefusalsComeInOrderAndChangeNothing) {
    Registers folder;
    const auto before = folder.Snapshot();
    for (const auto& c : TableCells("clubchange/refused.txt")) { // club | fancier | message | focus
        const ClubChangeResult result = folder.Move(c[0], c[1]);
        EXPECT_EQ(std::to_string(result.message) + "|" + result.focusField, c[2] + "|" + c[3]) << c[0] << "/" << c[1];
        EXPECT_TRUE(result.saved.ok && !result.moved);
    }
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST(ClubChange, PigeonFilesAreNeverLostAndAnUnreadableFileStopsTheMoveBeforeAnythingChanges) {
    Registers missing; // no file: an empty one under the new name
    std::filesystem::remove(missing.path() / "pigeon/p001012.dat");
    ASSERT_TRUE(missing.Move("002", "005").moved);
    EXPECT_EQ(missing.Read("pigeon/p002005.dat"), " 0 \r\n");
    Registers odd; // a count the lines do not bear out: copied as it is
    odd.Write("pigeon/p001012.dat", " 5 \r\n" + kPigeons.substr(5));
    ASSERT_TRUE(odd.Move("002", "005").moved);
    EXPECT_EQ(odd.Read("pigeon/p002005.dat"), " 5 \r\n" + kPigeons.substr(5));

    for (const std::string blocked : {"fancier/f002.DAT", "pigeon/p001012.dat", "pigeon/p002005.dat"}) {
        Registers folder;
        std::filesystem::remove(folder.path() / blocked);
        std::filesystem::create_directories(folder.path() / blocked);
        const auto before = folder.Snapshot();
        const ClubChangeResult result = folder.Move("002", "005");
        EXPECT_FALSE(result.saved.ok || result.moved) << blocked;
        EXPECT_EQ(folder.Snapshot(), before) << blocked;
    }
}

TEST(ClubChange, AFailedWriteIsReportedAndTheEarlierStepsArePutBack) {
    // The pigeon copy, the target club's file, the source club's file, and one file for both.
    const std::pair<std::string, std::string> cases[] = {
        {"p002005.dat", "002"}, {"f002.DAT", "002"}, {"f001.DAT", "002"}, {"f001.DAT", "001"}};
    for (const auto& [failing, club] : cases) {
        Registers folder;
        folder.Write("pigeon/p" + club + "005.dat", "replaced only by a finished move");
        const auto before = folder.Snapshot();
        const auto result = WithFailingSaves([&, c = club] { return folder.Move(c, "005"); }, SavesOf(failing));
        EXPECT_FALSE(result.saved.ok || result.moved) << failing;
        EXPECT_NE(result.saved.error.find(failing), std::string::npos) << result.saved.error;
        EXPECT_EQ(folder.Snapshot(), before) << failing;
    }
}

const std::string kRacePoints = TestData("releasepoints/racepo.dat");
const PositionFields kSpa = {{"N", "50", "29", "30", "00"}, {"E", "005", "52", "00", "00"}};

const std::string kEmpty = TestData("releasepoints/empty.dat");

struct RacePointFolder : TestFolder {
    RacePointTable table;
    RacePointsLoad loaded;
    explicit RacePointFolder(const std::string& bytes = "") {
        std::filesystem::create_directories(path() / "racepo");
        if (!bytes.empty()) Write("racepo/racepo.dat", bytes);
        loaded = LoadRacePoints(table, RacePointFilePath(path()));
    }
    std::string File() const { return Read("racepo/racepo.dat"); }
};

// Loading never writes, not even a missing file: only a writer creates it.
TEST(RacePoints, AMissingOrEmptyFileLoadsAsNinetyEightEmptySlotsAndIsCreatedOnlyOnRequest) {
    RacePointFolder folder;
    const Path file = RacePointFilePath(folder.path());
    EXPECT_TRUE(folder.loaded.count == 98U && !folder.Exists("racepo/racepo.dat"));
    for (const std::string& before : {std::string(), kRacePoints}) {
        folder.Write("racepo/racepo.dat", before); // no bytes: nothing to keep
        EXPECT_EQ(LoadRacePoints(folder.table, file).count, 98U);
        ASSERT_TRUE(CreateMissingRacePoints(file));
        EXPECT_EQ(folder.File(), before.empty() ? kEmpty : kRacePoints);
    }
    TestFolder noFolder;
    EXPECT_FALSE(CreateMissingRacePoints(RacePointFilePath(noFolder.path())));
}

TEST(RacePoints, TheGoldenFileIsBuiltByAddAndReadsAndWritesBackByteForByte) {
    RacePointFolder fresh;
    for (const auto& c : TableCells("releasepoints/added.txt")) // number | name | place | position, as typed
        EXPECT_TRUE(SaveAddedRacePoint(fresh.table, fresh.path(), {c[0], c[1], c[2], PositionCells(c, 3)}).Done()) << c[1];
    EXPECT_EQ(fresh.File(), kRacePoints);
    RacePointFolder folder(kRacePoints);
    ASSERT_EQ(folder.loaded.count, 98U);
    ASSERT_TRUE(SaveRacePoints(folder.table, RacePointFilePath(folder.path())));
    EXPECT_EQ(folder.File(), kRacePoints);
}

TEST(RacePoints, AddAndAlterRefuseWithMessageOneAndFocusOnTheFault) {
    RacePointFolder folder;
    for (const auto& c : TableCells("releasepoints/refused.txt")) { // number | name | place | position | focus
        const RacePointFields fields{c[0], c[1], c[2], PositionCells(c, 3)};
        const ActionResult result = SaveAddedRacePoint(folder.table, folder.path(), fields);
        EXPECT_TRUE(result.message == kRacePointInvalidInput && result.focusField == c[13]) << c[13];
        EXPECT_EQ(SaveAlteredRacePoint(folder.table, folder.path(), fields).focusField, c[13]);
    }
    EXPECT_FALSE(folder.Exists("racepo/racepo.dat"));
}

TEST(RacePoints, ATypedNumberFillsTheFieldsAddOverwritesAndDeleteEmptiesTheSlot) {
    RacePointFolder folder(kRacePoints);
    const auto found = RacePointForTypedNumber(folder.table, "05");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position.latitude, (CoordinateFields{"+", "47", "54", "50", "12"}));
    for (const char* ignored : {"5", "00", "99", "x5"}) EXPECT_FALSE(RacePointForTypedNumber(folder.table, ignored));
    RacePointFields changed = *found;
    changed.place = "Saran";
    ASSERT_TRUE(SaveAddedRacePoint(folder.table, folder.path(), changed).Done());
    EXPECT_EQ(RacePointPlaceOf(folder.table.Record(5)), "Saran" + std::string(25, ' '));

    EXPECT_FALSE(WithFailingSaves([&] { return DeleteCurrentRacePoint(folder.table, folder.path(), "05"); }).saved.ok);
    EXPECT_EQ(folder.table.Record(5), BuildRacePointRecord(RacePointFieldsOnSave(changed)));
    ASSERT_TRUE(DeleteCurrentRacePoint(folder.table, folder.path(), "05").Done());
    EXPECT_EQ(folder.File(), TestData("releasepoints/racepo_deleted.dat"));
}

TEST(RacePoints, MalformedFilesAreRefusedAndNeverReplaced) {
    const std::string slot = EmptyRacePointRecord(1) + "\r\n";
    for (const std::string& bytes : {" 2 \r\n" + slot + "02\r\n", "two\r\n" + slot, " 3 \r\n" + slot + slot,
                                     " 100 \r\n" + slot}) {
        RacePointFolder folder(bytes);
        EXPECT_TRUE(folder.loaded.outcome == LoadOutcome::Unreadable && !folder.loaded.problem.empty());
        EXPECT_FALSE(SaveAddedRacePoint(folder.table, folder.path(), {"1", "SPA", "Spa", kSpa}).saved.ok ||
                     DeleteCurrentRacePoint(folder.table, folder.path(), "01").saved.ok);
        EXPECT_EQ(folder.File(), bytes);
    }
}

TEST(RacePoints, ASlotBeyondAShortRegisterIsWrittenWithTheEmptySlotsBeforeIt) {
    RacePointFolder folder(" 1 \n" + EmptyRacePointRecord(1) + "\n");
    ASSERT_EQ(folder.loaded.count, 1U);
    ASSERT_TRUE(SaveAddedRacePoint(folder.table, folder.path(), {"4", "SPA", "Spa", kSpa}).Done());
    RacePointFolder back(folder.File());
    ASSERT_EQ(back.loaded.count, 4U);
    EXPECT_EQ(back.table.Record(3), EmptyRacePointRecord(3));
    EXPECT_FALSE(PutRacePoint(back.table, "00" + std::string(62, ' ')));
}

TEST(RacePoints, NamesTakeOnlyWhatTheClockCanShowAndTheListScrollsToTheSlot) {
    EXPECT_EQ(FilteredText(U"Sp\u00E4 +,-./x", RacePointTextKey), "Sp +,-.x");
    EXPECT_TRUE(RacePointListTopIndex(25) == 15 && !RacePointListTopIndex(9));
}

} // namespace
} // namespace plumet
