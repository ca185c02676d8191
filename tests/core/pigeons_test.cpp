#include <gtest/gtest.h>

#include <tuple>

#include "core/registers/pigeons.h"
#include "testfolder.h"

namespace plumet {
namespace {

const SexCharacters kSexes = SexCharactersFromTexts("M", "W", "0");

std::string ReadGolden(const std::string& name) { return TestData("pigeons/" + name); }

std::string Pigeon(std::string_view year, std::string_view number, std::string_view sex = "M",
                   std::string_view chip = kNoChipCode, std::string_view format = "00") {
    return CompletePigeonRecord(BuildPigeonRecord("NL", year, "", number, sex), chip, "BLUE", format);
}

std::vector<std::string> RingNumbers(const PigeonTable& table) {
    std::vector<std::string> numbers;
    for (const auto& record : table.Records()) numbers.push_back(TrimBlanks(PigeonRingNumber(record)));
    return numbers;
}

// The pigeon file of club 007, fancier 012 holding `records`, saved and loaded.
struct Loft {
    TestFolder folder;
    Path file;
    PigeonTable table;
    explicit Loft(const std::vector<std::string>& records = {}) {
        std::filesystem::create_directories(folder.path() / "pigeon");
        file = PigeonFilePath(folder.path(), "007", "012");
        for (const auto& r : records) InsertPigeon(table, r, kSexes);
        EXPECT_TRUE(SavePigeons(table, file));
        LoadPigeons(table, file);
    }
    std::string Bytes() const { return folder.Read("pigeon/p007012.dat"); }
    AddPigeonsOutcome Add(const char* nation, const char* year, const char* number, const char* count,
                          int format = 0, const char* organisation = "") {
        const PigeonFields f = {nation, year, organisation, number, "m", "red", format, count};
        return AddPigeons(table, file, f, kSexes, 2024);
    }
};

TEST(PigeonOrder, NineBeforeTenMaleBeforeFemaleAnd05SameAs2005) {
    // The stored year decides first: 05 before 2005.
    for (const auto& [a, b] : {std::pair{Pigeon("05", "0098"), Pigeon("05", "99")},
                               {Pigeon("05", "9", "W"), Pigeon("05", "9", "0")}, {Pigeon("05", "99"), Pigeon("2005", "1")}})
        EXPECT_TRUE(ComparePigeons(a, b, kSexes) && !ComparePigeons(b, a, kSexes)) << a << b;
    PigeonTable table;
    for (const auto& r : {Pigeon("05", "10"), Pigeon("05", "9", "W"), Pigeon("05", "9"),
                          Pigeon("05", "9", "M", "ABCDEF0100")})
        InsertPigeon(table, r, kSexes);
    EXPECT_EQ(RingNumbers(table), (std::vector<std::string>{"9", "9", "9", "10"}));
    EXPECT_EQ(PigeonSex(table.Record(1)) + PigeonSex(table.Record(3)), "MW");
    EXPECT_EQ(PigeonChipCode(table.Record(2)), "ABCDEF0100"); // equal pigeons keep their order

    // 98 is the 1998 that the ring rule accepts.
    EXPECT_TRUE(SameRing(Pigeon("05", "12"), Pigeon("2005", "0012", "W")) && SameRing(Pigeon("98", "12"), Pigeon("1998", "12")) &&
                SameRing("GB      24ABC   234567 ", "GB      24 ABC  234567M"));
    EXPECT_FALSE(SameRing(Pigeon("98", "12"), Pigeon("2098", "12")) || SameRing(Pigeon("05", "12"), Pigeon("1905", "12")));
    PigeonTable found;
    for (const auto& r : {Pigeon("2005", "12", "W"), Pigeon("05", "12"), Pigeon("05", "13")})
        InsertPigeon(found, r, kSexes);
    // The last match: 2005 sorts after 05.
    EXPECT_TRUE(FindPigeon(found, Pigeon("05", "12", "0")) == 3U && FindPigeon(found, Pigeon("05", "14")) == 0U);
}

TEST(PigeonFile, ReadAndWrittenBackByteForByteFromCrLfOrLf) {
    TestFolder folder;
    const Path file = folder.path() / "Pigeon" / "P007012.DAT";
    for (const char* input : {"p007012.dat", "p007012_lf.dat"}) {
        folder.Write("Pigeon/P007012.DAT", ReadGolden(input));
        EXPECT_EQ(PigeonFilePath(folder.path(), 7, 12), file);
        PigeonTable table;
        ASSERT_EQ(LoadPigeons(table, file), 7U);
        ASSERT_TRUE(SavePigeons(table, file));
        EXPECT_EQ(folder.Read("Pigeon/P007012.DAT"), ReadGolden("p007012.dat")) << input;
    }
}

TEST(PigeonFields, TheListLineKeepsTheColumnsAndSexKeysAreTheCatalogueBytes) {
    EXPECT_EQ(PigeonListLine(12, CompletePigeonRecord("B       05     1234567W", "0012345678", "RED", "00")),
              "0012:     B       05   1234567W      RED                 "); // a code for no chip
    UseSexCharacters(kSexes);
    EXPECT_EQ(SexKey(U'w'), 'W');
    EXPECT_FALSE(SexKey(U'\u014D')); // cut to a byte it would read 'M'
    UseSexCharacters(SexCharactersFromTexts("\xC4", "\x80", "0")); // catalogue bytes: Ä and the euro sign
    EXPECT_EQ(SexKey(U'\u20AC'), '\x80');
    UseSexCharacters({});
}

TEST(PigeonsAdd, ARunAddsConsecutiveRingsSavesOnceAndMatchesTheGoldenFile) {
    Loft loft;
    int saves = 0;
    SetSaveFaultForTests([&saves](const Path&) { return ++saves < 0; });
    const auto outcome = loft.Add("NL", "05", "0098", "3");
    SetSaveFaultForTests(nullptr);
    EXPECT_TRUE(outcome.message == kPigeonDone && saves == 1);
    EXPECT_EQ(outcome.count + "|" + outcome.ringNumber, "1|0101");
    EXPECT_EQ(RingNumbers(loft.table), (std::vector<std::string>{"0098", "0099", "0100"}));

    loft.folder.Write("pigeon/p007012.dat", ReadGolden("p007012.dat"));
    LoadPigeons(loft.table, loft.file);
    // Fields as typed and never left: the add applies the leaving rules itself; DV overrides format 5.
    EXPECT_EQ(loft.Add("dv ", "23", "0007", "2", 5, "815").message, kPigeonDone);
    EXPECT_EQ(loft.Bytes(), ReadGolden("p007012_added.dat"));
}

TEST(PigeonsAdd, RefusesUnrecordableRingsAWholeRunBeyond1000AndStopsMidRunKeepingTheAdded) {
    Loft loft;
    using Ring = std::tuple<const char*, const char*, const char*, int>;
    const std::vector<Ring> unrecordable = {{"NL", "1997", "12", 0}, {"NL", "30", "12", 0}, {"NL", "05", "  ", 0},
                                            {"NL1", "05", "12", 0}, {"XYZ", "05", "12", 11}};
    for (const auto& [nation, year, number, format] : unrecordable)
        EXPECT_EQ(loft.Add(nation, year, number, "1", format).message, kPigeonNotBuilt) << nation << year << number;
    EXPECT_EQ(loft.Bytes(), " 0 \r\n");

    std::vector<std::string> many;
    for (int i = 1; i <= 999; ++i) many.push_back(Pigeon("05", std::to_string(i)));
    Loft full(many);
    const std::string before = full.Bytes();
    EXPECT_TRUE(full.Add("B", "05", "1", "2").message == kPigeonTableFull && full.Bytes() == before);
    EXPECT_EQ(full.Add("B", "05", "1", "1").message, kPigeonDone);
    EXPECT_EQ(full.Add("B", "05", "2", "0").message, kPigeonTableFull); // a count of 0 adds one too

    Loft present({Pigeon("2005", "100", "W")});
    const auto stopped = present.Add("NL", "05", "0098", "4");
    EXPECT_EQ(stopped.message, kPigeonRingPresent);
    EXPECT_EQ(stopped.count + "|" + stopped.ringNumber, "2|0100");
    PigeonTable back;
    EXPECT_EQ(LoadPigeons(back, present.file), 3U);
    Loft old({Pigeon("98", "12")});
    EXPECT_EQ(old.Add("NL", "1998", "12", "1").message, kPigeonRingPresent);
    Loft d; // a four-digit series must not wrap from 9999 to 0000
    EXPECT_EQ(d.Add("D", "05", "9998", "3", 0, "0815").message, kPigeonNotBuilt);
    EXPECT_EQ(RingNumbers(d.table), (std::vector<std::string>{"9998", "9999"}));
}

// A file that cannot be read is never saved over: the register table's own test.
TEST(PigeonsAdd, AFailedSaveKeepsTableFileAndFields) {
    Loft loft({Pigeon("05", "1")});
    const std::string before = loft.Bytes();
    const auto outcome = WithFailingSaves([&] { return loft.Add("NL", "05", "0005", "2"); });
    EXPECT_EQ(outcome.count + "|" + outcome.ringNumber, "2|0005");
    EXPECT_TRUE(!outcome.saved.ok && loft.table.Count() == 1U && loft.Bytes() == before);
}

TEST(PigeonsAlter, KeepsChipAndFormatAndRefusesARingAlreadyThere) {
    Loft loft({Pigeon("05", "9", "M", "ABCDEF0100", "02"), Pigeon("05", "10")});
    PigeonFields fields = PigeonFieldsOf(loft.table.Record(1));
    fields.colour = "grz";
    fields.sex = "w";
    EXPECT_EQ(AlterPigeon(loft.table, loft.file, 1, fields, kSexes).message, kPigeonDone);
    EXPECT_EQ(loft.Bytes(), " 2 \r\nNL      05           9WABCDEF0100GRZ 02\r\n" + loft.table.Record(2) + "\r\n");
    fields = PigeonFieldsOf(loft.table.Record(2)); // no sex texts in the catalogue: the pigeon keeps its own
    EXPECT_EQ(AlterPigeon(loft.table, loft.file, 2, fields, SexCharactersFromTexts("", "", "")).message, 0);

    Loft twice({Pigeon("05", "9"), Pigeon("2005", "9", "W")}); // one ring twice: altering either finds the other
    const std::string before = twice.Bytes();
    PigeonFields first = PigeonFieldsOf(twice.table.Record(1));
    EXPECT_EQ(AlterPigeon(twice.table, twice.file, 1, first, kSexes).message, kPigeonRingPresent);
    EXPECT_EQ(BuildPigeonRecord("NL", "05", "", "12345678", "M"), kPigeonBuildFailed); // no column may shift
    first.sex = "Q";
    EXPECT_EQ(AlterPigeon(twice.table, twice.file, 1, first, kSexes).message, kPigeonNotBuilt);
    EXPECT_EQ(twice.Bytes(), before);
}

TEST(PigeonsDelete, RemovesExactlyLinesTwoAndFiveOrNothingWhenTheSaveFails) {
    std::vector<std::string> six;
    for (int i = 1; i <= 6; ++i) six.push_back(Pigeon("05", std::to_string(i)));
    Loft loft(six);
    EXPECT_TRUE(DeletePigeons(loft.table, loft.file, {2, 5}).saved.ok);
    EXPECT_EQ(RingNumbers(loft.table), (std::vector<std::string>{"1", "3", "4", "6"}));
    EXPECT_FALSE(WithFailingSaves([&] { return DeletePigeons(loft.table, loft.file, {1, 1, 9}); }).saved.ok ||
                 loft.table.Count() != 4U);
}

} // namespace
} // namespace plumet
