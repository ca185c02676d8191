#include <gtest/gtest.h>

#include <tuple>

#include "registers/pigeons.h"
#include "testfolder.h"

namespace plumet {
namespace {

const SexCharacters kSexes = SexCharactersFromTexts("M", "W", "0");

std::string ReadGolden(const std::string& name) {
    return ReadWholeFile(Path(PLUMET_TEST_DATA) / "pigeons" / name).bytes;
}

std::string Pigeon(std::string_view nation, std::string_view year, std::string_view number, std::string_view sex,
                   std::string_view chip = kNoChipCode, std::string_view format = "00") {
    return CompletePigeonRecord(BuildPigeonRecord(nation, year, "", number, sex), chip, "BLUE", format);
}

std::vector<std::string> RingNumbers(const PigeonTable& table) {
    std::vector<std::string> numbers;
    for (const auto& record : table.Records()) numbers.push_back(TrimBlanks(PigeonRingNumber(record)));
    return numbers;
}

// A program folder whose pigeon file for club 007, fancier 012 holds `records`, loaded.
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
    AddPigeonsOutcome Add(std::string nation, std::string year, std::string organisation, std::string number,
                          std::string count, int format = 0) {
        PigeonFields f = NewPigeonFields(2024);
        f.nation = std::move(nation);
        f.year = std::move(year);
        f.organisation = std::move(organisation);
        f.ringNumber = std::move(number);
        f.count = std::move(count);
        f.sex = "m";
        f.colour = "red";
        f.ringFormat = format;
        return AddPigeons(table, file, f, kSexes, 2024);
    }
};

TEST(PigeonRecord, BuildPadsEachPartAndRefusesWhatWouldShiftColumns) {
    EXPECT_EQ(BuildPigeonRecord("D", "05", "0815", "12", ""), std::string("D     ") + "  05" + "0815 " + "     12 ");
    EXPECT_EQ(BuildPigeonRecord("NLNLNLN", "05", "", "1", "M"), kPigeonBuildFailed);
    EXPECT_EQ(BuildPigeonRecord("NL", "05", "", "12345678", "M"), kPigeonBuildFailed);
    // What the alter dialog shows rebuilds the very same ring.
    const std::string record = CompletePigeonRecord("D     20190815      12W", "0012345678", "GRI", "01");
    ASSERT_EQ(record.size(), kPigeonRecordLength);
    const PigeonFields shown = PigeonFieldsOf(record);
    EXPECT_EQ(shown.year + shown.colour + std::to_string(shown.ringFormat), "2019GRI 1");
    EXPECT_EQ(BuildPigeonRecord(shown.nation, shown.year, shown.organisation, shown.ringNumber, shown.sex),
              PigeonRing(record));
}

TEST(PigeonOrder, NumbersNumericallyThenSexThenInsertionOrder) {
    EXPECT_TRUE(ComparePigeons(Pigeon("NL", "05", "9", "M"), Pigeon("NL", "05", "10", "M"), kSexes));
    EXPECT_TRUE(ComparePigeons(Pigeon("NL", "05", "0098", "M"), Pigeon("NL", "05", "99", "M"), kSexes));
    EXPECT_TRUE(ComparePigeons(Pigeon("NL", "05", "9", "W"), Pigeon("NL", "05", "9", "0"), kSexes));
    EXPECT_FALSE(ComparePigeons(Pigeon("NL", "05", "9", "X"), Pigeon("NL", "05", "9", "M"), kSexes));
    // Positions 1-15 go by character code, so the year as stored decides before the number.
    EXPECT_TRUE(ComparePigeons(Pigeon("NL", "05", "99", "M"), Pigeon("NL", "2005", "1", "M"), kSexes));

    PigeonTable table;
    InsertPigeon(table, Pigeon("NL", "05", "10", "M"), kSexes);
    InsertPigeon(table, Pigeon("NL", "05", "9", "W"), kSexes);
    InsertPigeon(table, Pigeon("NL", "05", "9", "M"), kSexes);
    InsertPigeon(table, Pigeon("NL", "05", "9", "M", "ABCDEF0100"), kSexes);
    EXPECT_EQ(RingNumbers(table), (std::vector<std::string>{"9", "9", "9", "10"}));
    EXPECT_EQ(PigeonSex(table.Record(1)) + PigeonSex(table.Record(3)), "MW");
    EXPECT_EQ(PigeonChipCode(table.Record(2)), "ABCDEF0100"); // equal pigeons keep their order
}

TEST(PigeonOrder, SameRingMatchesYearsAcrossTwoAndFourDigits) {
    EXPECT_TRUE(SameRing(Pigeon("NL", "05", "12", "M"), Pigeon("NL", "2005", "0012", "W")));
    EXPECT_FALSE(SameRing(Pigeon("NL", "98", "12", "M"), Pigeon("NL", "1998", "12", "M")));
    EXPECT_TRUE(SameRing("GB      24ABC   234567 ", "GB      24 ABC  234567M")); // trimmed organisations
    EXPECT_FALSE(SameRing("GB      24ABC   234567 ", "GB      24ABD   234567 "));

    PigeonTable table;
    InsertPigeon(table, Pigeon("NL", "2005", "12", "W"), kSexes);
    InsertPigeon(table, Pigeon("NL", "05", "12", "M"), kSexes);
    InsertPigeon(table, Pigeon("NL", "05", "13", "M"), kSexes);
    EXPECT_EQ(FindPigeon(table, Pigeon("NL", "05", "12", "0")), 3U); // the last match: 2005 sorts after 05
    EXPECT_EQ(FindPigeon(table, Pigeon("NL", "05", "14", "M")), 0U);
}

TEST(PigeonFile, ReadAndWrittenBackByteForByte) {
    TestFolder folder;
    const std::string golden = ReadGolden("p007012.dat");
    ASSERT_FALSE(golden.empty());
    const Path file = folder.path() / "Pigeon" / "P007012.DAT";
    for (const char* input : {"p007012.dat", "p007012_lf.dat"}) {
        folder.Write("Pigeon/P007012.DAT", ReadGolden(input));
        EXPECT_EQ(PigeonFilePath(folder.path(), 7, 12), file);
        PigeonTable table;
        ASSERT_EQ(LoadPigeons(table, file), 7U);
        ASSERT_TRUE(SavePigeons(table, file));
        EXPECT_EQ(folder.Read("Pigeon/P007012.DAT"), golden) << input;
    }
    EXPECT_EQ(PigeonFilePath(folder.path(), "001", "002"), folder.path() / "Pigeon" / "p001002.dat");
    EXPECT_TRUE(DeletePigeonFile(file));
    EXPECT_FALSE(folder.Exists("Pigeon/P007012.DAT"));
    EXPECT_TRUE(DeletePigeonFile(file)); // a missing file is no failure
}

TEST(PigeonList, LineShowsDisplayFormColourAndChipUnlessNone) {
    const std::string ring = "B       05     1234567W";
    EXPECT_EQ(PigeonListLine(1, CompletePigeonRecord(ring, "ABCDEF0100", "RED", "00")),
              "0001:     B       05   1234567W      RED       ABCDEF0100");
    for (const char* none : {"1300000000", "0012345678"})
        EXPECT_EQ(PigeonListLine(12, CompletePigeonRecord(ring, none, "RED", "00")),
                  "0012:     B       05   1234567W      RED                 ");
    EXPECT_EQ(PigeonSlotOfListLine("0004:     B"), 4U);
    EXPECT_EQ(PigeonSlotOfListLine("No pigeons"), 0U);
    EXPECT_FALSE(IsChipCode("abcdef0100"));
}

TEST(PigeonFields, SexFollowsTheCatalogueAndSeriesKeepLeadingZeros) {
    EXPECT_EQ(FilterSexKey('m', kSexes), 'M');
    EXPECT_FALSE(FilterSexKey('x', kSexes));
    EXPECT_FALSE(FilterSexKey('m', SexCharactersFromTexts("", "", ""))); // no catalogue text, no sex
    EXPECT_EQ(FilterSexKey('H', SexCharactersFromTexts("h", "p", "n")), 'h');
    EXPECT_EQ(NormaliseSex(" w ", kSexes), "W");
    EXPECT_EQ(FilterColourKey('b'), 'B');
    EXPECT_FALSE(FilterCountKey('-'));
    EXPECT_EQ(NormaliseColour(" bl "), "BL  ");
    EXPECT_EQ(NextRingNumberText("0099"), "0100");
    EXPECT_EQ(NextRingNumberText("99"), "100");
    EXPECT_EQ(NextRingNumberText("0999999"), "1000000");
}

TEST(PigeonFields, FieldKeyFiltersUseTheSexCharactersInUse) {
    UseSexCharacters(kSexes);
    EXPECT_EQ(SexKey(U'w'), 'W');
    EXPECT_FALSE(SexKey(U'\u014D')); // cut to a byte it would read 'M'
    UseSexCharacters(SexCharactersFromTexts("\xC4", "\x80", "0")); // catalogue bytes: Ä and the euro sign
    EXPECT_EQ(SexKey(U'\u20AC'), '\x80');
    EXPECT_FALSE(SexKey(U'M'));
    UseSexCharacters({});
    EXPECT_FALSE(SexKey(U'0'));
    EXPECT_EQ(ColourKey(U'r'), 'R');
    EXPECT_FALSE(ColourKey(U'\u0152'));
    EXPECT_FALSE(CountKey(U'\u0134'));
}

TEST(PigeonFields, LeavingAFieldNormalisesItAndWhatItCuts) {
    PigeonFields f = NewPigeonFields(2024);
    f.nation = " dv ";
    f.organisation = "815";
    f.ringNumber = "1234567";
    for (auto field : {PigeonField::Nation, PigeonField::Organisation}) LeavePigeonField(f, field, kSexes, 2024);
    EXPECT_EQ(f.nation + "|" + f.organisation + "|" + f.ringNumber, "DV|0815|234567");
    f.organisation = "ABCDE";
    f.ringNumber = "12345";
    f.year = "";
    f.sex = " w";
    for (auto field : {PigeonField::RingNumber, PigeonField::Year, PigeonField::Sex})
        EXPECT_TRUE(LeavePigeonField(f, field, kSexes, 2024));
    EXPECT_EQ(f.organisation + "|" + f.year + "|" + f.sex, "ABCD|24|W");
    f.year = "97";
    EXPECT_FALSE(LeavePigeonField(f, PigeonField::Year, kSexes, 2024));
}

TEST(PigeonsAdd, RunOfSeveralAddsConsecutiveRingsAndSavesOnce) {
    Loft loft;
    int saves = 0;
    SetSaveFaultForTests([&saves](const Path&) { return ++saves < 0; });
    const auto outcome = loft.Add("NL", "05", "", "0098", "3");
    SetSaveFaultForTests(nullptr);
    EXPECT_EQ(outcome.message, kPigeonDone);
    EXPECT_EQ(outcome.added, 3U);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(outcome.count + "|" + outcome.ringNumber, "1|0101");
    EXPECT_EQ(RingNumbers(loft.table), (std::vector<std::string>{"0098", "0099", "0100"}));
    EXPECT_EQ(loft.table.Record(1), "NL      05        0098M1300000000RED 00");
}

TEST(PigeonsAdd, NormalisesTypedPartsAndMatchesTheGoldenFile) {
    Loft loft;
    loft.folder.Write("pigeon/p007012.dat", ReadGolden("p007012.dat"));
    LoadPigeons(loft.table, loft.file);
    // Fields as typed and never left: the add applies the leaving rules itself; DV overrides format 5.
    EXPECT_EQ(loft.Add("dv ", "23", "815", "0007", "2", 5).message, kPigeonDone);
    EXPECT_EQ(loft.Bytes(), ReadGolden("p007012_added.dat"));

    Loft nl; // format 0 has no organisation
    EXPECT_EQ(nl.Add("NL", "5", "XY", "1234567", "1").message, kPigeonDone);
    EXPECT_EQ(PigeonRing(nl.table.Record(1)), "NL      05     1234567M");
}

TEST(PigeonsAdd, CapacityRefusesAWholeRun) {
    std::vector<std::string> many;
    for (int i = 1; i <= 999; ++i) many.push_back(Pigeon("NL", "05", std::to_string(i), "M"));
    Loft loft(many);
    const std::string before = loft.Bytes();
    const auto refused = loft.Add("B", "05", "", "1", "2");
    EXPECT_EQ(refused.message, kPigeonTableFull);
    EXPECT_EQ(refused.count, "2");
    EXPECT_EQ(loft.Bytes(), before);
    EXPECT_EQ(loft.Add("B", "05", "", "1", "1").message, kPigeonDone);
    // A count of 0 adds one pigeon, so a full table refuses it too.
    EXPECT_EQ(loft.Add("B", "05", "", "2", "0").message, kPigeonTableFull);
    EXPECT_EQ(loft.table.Count(), 1000U);
}

TEST(PigeonsAdd, RefusalMidRunKeepsAndSavesThePigeonsBeforeIt) {
    Loft loft({Pigeon("NL", "2005", "100", "W")});
    const auto present = loft.Add("NL", "05", "", "0098", "4");
    EXPECT_EQ(present.message, kPigeonRingPresent); // 05 and 2005 are the same year
    EXPECT_EQ(present.added, 2U);
    EXPECT_EQ(present.count + "|" + present.ringNumber, "2|0100");
    PigeonTable back;
    EXPECT_EQ(LoadPigeons(back, loft.file), 3U);

    Loft d; // a four-digit series must not wrap from 9999 to 0000
    const auto wrapped = d.Add("D", "05", "0815", "9998", "3");
    EXPECT_EQ(wrapped.message, kPigeonNotBuilt);
    EXPECT_EQ(RingNumbers(d.table), (std::vector<std::string>{"9998", "9999"}));
    EXPECT_EQ(wrapped.count + "|" + wrapped.ringNumber, "1|10000");
}

TEST(PigeonsAdd, RefusesRingsThatCannotBeRecorded) {
    Loft loft;
    for (const auto& [nation, year, number, format] : std::vector<std::tuple<const char*, const char*, const char*, int>>{
             {"NL", "1997", "12", 0}, {"NL", "30", "12", 0}, {"NL", "05", "  ", 0}, {"NL1", "05", "12", 0},
             {"XYZ", "05", "12", 11}}) {
        const auto outcome = loft.Add(nation, year, "", number, "1", format);
        EXPECT_EQ(outcome.message, kPigeonNotBuilt) << nation << " " << year << " '" << number << "'";
    }
    EXPECT_EQ(loft.table.Count(), 0U);
    EXPECT_EQ(loft.Bytes(), " 0 \r\n");
}

TEST(PigeonsAdd, FailedSaveLeavesTableFileAndFieldsAsTheyWere) {
    Loft loft({Pigeon("NL", "05", "1", "M")});
    const std::string before = loft.Bytes();
    SetSaveFaultForTests([](const Path&) { return true; });
    const auto outcome = loft.Add("NL", "05", "", "0005", "2");
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(outcome.saved.ok);
    EXPECT_EQ(outcome.added, 0U);
    EXPECT_EQ(outcome.count + "|" + outcome.ringNumber, "2|0005");
    EXPECT_EQ(loft.table.Count(), 1U);
    EXPECT_EQ(loft.Bytes(), before);

    // An unreadable file is not replaced by the pigeons added to the empty table it gave.
    const std::string broken = " 5 \r\nNL      05           1M1300000000BLUE00\r\n";
    loft.folder.Write("pigeon/p007012.dat", broken);
    EXPECT_EQ(LoadPigeons(loft.table, loft.file), 0U);
    EXPECT_FALSE(loft.Add("NL", "05", "", "7", "1").saved.ok);
    EXPECT_EQ(loft.Bytes(), broken);
}

TEST(PigeonsAlter, ChangesSexAndColourKeepsChipAndFormatRefusesDuplicates) {
    Loft loft({Pigeon("NL", "05", "9", "M", "ABCDEF0100", "02"), Pigeon("NL", "05", "10", "M")});
    PigeonFields fields = PigeonFieldsOf(loft.table.Record(1));
    fields.colour = "grz";
    fields.sex = "w";
    EXPECT_EQ(AlterPigeon(loft.table, loft.file, 1, fields, kSexes).message, kPigeonDone);
    EXPECT_EQ(loft.table.Record(1), "NL      05           9WABCDEF0100GRZ 02");
    PigeonTable back;
    LoadPigeons(back, loft.file);
    EXPECT_EQ(back.Records(), loft.table.Records());
    // Without sex texts in the catalogue a pigeon keeps the sex it has.
    fields = PigeonFieldsOf(loft.table.Record(2));
    fields.colour = "RED";
    EXPECT_EQ(AlterPigeon(loft.table, loft.file, 2, fields, SexCharactersFromTexts("", "", "")).message, kPigeonDone);

    // A file that already holds one ring twice (05 and 2005): altering either finds the other.
    Loft twice({Pigeon("NL", "05", "9", "M"), Pigeon("NL", "2005", "9", "W")});
    const std::string before = twice.Bytes();
    PigeonFields first = PigeonFieldsOf(twice.table.Record(1));
    EXPECT_EQ(AlterPigeon(twice.table, twice.file, 1, first, kSexes).message, kPigeonRingPresent);
    first.sex = "Q";
    EXPECT_EQ(AlterPigeon(twice.table, twice.file, 1, first, kSexes).message, kPigeonNotBuilt);
    EXPECT_EQ(AlterPigeon(twice.table, twice.file, 3, first, kSexes).message, kPigeonNotBuilt);
    EXPECT_EQ(twice.Bytes(), before);
    EXPECT_EQ(PigeonSex(twice.table.Record(1)), "M");
}

TEST(PigeonsDelete, RemovesExactlyTheSelectedSlots) {
    std::vector<std::string> six;
    for (int i = 1; i <= 6; ++i) six.push_back(Pigeon("NL", "05", std::to_string(i), "M"));
    Loft loft(six);
    EXPECT_EQ(PigeonsDeleteQuestion(1), 0);
    EXPECT_EQ(PigeonsDeleteQuestion(2), kPigeonsDeleteConfirm);
    EXPECT_TRUE(DeletePigeons(loft.table, loft.file, {2, 5}).saved.ok);
    EXPECT_EQ(RingNumbers(loft.table), (std::vector<std::string>{"1", "3", "4", "6"}));
    SetSaveFaultForTests([](const Path&) { return true; });
    EXPECT_FALSE(DeletePigeons(loft.table, loft.file, {1, 1, 9}).saved.ok);
    SetSaveFaultForTests(nullptr);
    EXPECT_EQ(loft.table.Count(), 4U);
    PigeonTable back;
    EXPECT_EQ(LoadPigeons(back, loft.file), 4U);
}

} // namespace
} // namespace plumet
