#include <gtest/gtest.h>

#include "registers/pigeons.h"
#include "testfolder.h"

namespace plumet {
namespace {

const SexCharacters kSexes = SexCharactersFromTexts("M", "W", "0");

std::string ReadGolden(const std::string& name) {
    const FileContent content = ReadWholeFile(Path(PLUMET_TEST_DATA) / "pigeons" / name);
    EXPECT_EQ(content.status, ReadStatus::Ok) << name;
    return content.bytes;
}

std::string Pigeon(std::string_view nation, std::string_view year, std::string_view ringNumber, std::string_view sex,
                   std::string_view chip = kNoChipCode, std::string_view format = "00") {
    return CompletePigeonRecord(BuildPigeonRecord(nation, year, "", ringNumber, sex), chip, "BLUE", format);
}

std::vector<std::string> RingNumbers(const PigeonTable& table) {
    std::vector<std::string> numbers;
    for (const auto& record : table.Records()) numbers.push_back(TrimBlanks(PigeonRingNumber(record)));
    return numbers;
}

// A fancier's folder with a pigeon file already holding `records`.
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
    std::string FileBytes() const { return folder.Read("pigeon/p007012.dat"); }
};

PigeonFields AddFields(std::string nation, std::string year, std::string organisation, std::string ringNumber,
                       std::string count, int format = 0) {
    PigeonFields f = NewPigeonFields(2024);
    f.nation = std::move(nation);
    f.year = std::move(year);
    f.organisation = std::move(organisation);
    f.ringNumber = std::move(ringNumber);
    f.count = std::move(count);
    f.sex = "m";
    f.colour = "red";
    f.ringFormat = format;
    return f;
}

TEST(PigeonRecord, BuildPadsEachPartAndRefusesWhatWouldShiftColumns) {
    EXPECT_EQ(BuildPigeonRecord("NL", "05", "", "1234567", "M"), std::string("NL    ") + "  05" + "     " + "1234567M");
    EXPECT_EQ(BuildPigeonRecord("D", "2019", "0815", "12", ""), std::string("D     ") + "2019" + "0815 " + "     12 ");
    EXPECT_EQ(BuildPigeonRecord("NLNLNLN", "05", "", "1", "M"), kPigeonBuildFailed);
    EXPECT_EQ(BuildPigeonRecord("NL", "05", "", "12345678", "M"), kPigeonBuildFailed);
    EXPECT_EQ(BuildPigeonRecord("NL", "05", "ABCDEF", "1", "M"), kPigeonBuildFailed);

    const std::string record = CompletePigeonRecord("D     20190815      12W", "0012345678", "GRI", "01");
    ASSERT_EQ(record.size(), kPigeonRecordLength);
    EXPECT_EQ(PigeonNation(record), "D     ");
    EXPECT_EQ(PigeonYear(record), "2019");
    EXPECT_EQ(PigeonOrganisation(record), "0815 ");
    EXPECT_EQ(PigeonRingNumber(record), "     12");
    EXPECT_EQ(PigeonSex(record), "W");
    EXPECT_EQ(PigeonChipCode(record), "0012345678");
    EXPECT_EQ(PigeonColour(record), "GRI ");
    EXPECT_EQ(PigeonRingFormat(record), 1);

    const PigeonFields shown = PigeonFieldsOf(record);
    EXPECT_EQ(shown.year, "2019");
    EXPECT_EQ(shown.ringFormat, 1);
    EXPECT_EQ(BuildPigeonRecord(shown.nation, shown.year, shown.organisation, shown.ringNumber, shown.sex),
              PigeonRing(record));
}

TEST(PigeonOrder, NumbersNumericallyThenSexThenInsertionOrder) {
    EXPECT_TRUE(ComparePigeons(Pigeon("NL", "05", "9", "M"), Pigeon("NL", "05", "10", "M"), kSexes));
    EXPECT_FALSE(ComparePigeons(Pigeon("NL", "05", "10", "M"), Pigeon("NL", "05", "9", "M"), kSexes));
    EXPECT_TRUE(ComparePigeons(Pigeon("NL", "05", "9", "M"), Pigeon("NL", "05", "9", "W"), kSexes));
    EXPECT_TRUE(ComparePigeons(Pigeon("NL", "05", "9", "W"), Pigeon("NL", "05", "9", "0"), kSexes));
    EXPECT_FALSE(ComparePigeons(Pigeon("NL", "05", "9", "X"), Pigeon("NL", "05", "9", "M"), kSexes));
    EXPECT_FALSE(ComparePigeons(Pigeon("NL", "05", "9", "M"), Pigeon("NL", "05", "9", "M"), kSexes));
    // Positions 1-15 go by character code, so the year as stored decides before the number.
    EXPECT_TRUE(ComparePigeons(Pigeon("NL", "05", "99", "M"), Pigeon("NL", "2005", "1", "M"), kSexes));
    EXPECT_TRUE(ComparePigeons(Pigeon("D", "05", "99", "M"), Pigeon("DV", "05", "1", "M"), kSexes));

    PigeonTable table;
    InsertPigeon(table, Pigeon("NL", "05", "10", "M"), kSexes);
    InsertPigeon(table, Pigeon("NL", "05", "9", "W"), kSexes);
    InsertPigeon(table, Pigeon("NL", "05", "9", "M"), kSexes);
    InsertPigeon(table, Pigeon("NL", "05", "9", "M", "ABCDEF0100"), kSexes);
    ASSERT_EQ(table.Count(), 4U);
    EXPECT_EQ(RingNumbers(table), (std::vector<std::string>{"9", "9", "9", "10"}));
    EXPECT_EQ(PigeonSex(table.Record(1)), "M");
    EXPECT_EQ(PigeonChipCode(table.Record(2)), "ABCDEF0100"); // equal pigeons keep their order
    EXPECT_EQ(PigeonSex(table.Record(3)), "W");
}

TEST(PigeonOrder, SameRingMatchesYearsAcrossTwoAndFourDigits) {
    EXPECT_TRUE(SameRing(Pigeon("NL", "05", "12", "M"), Pigeon("NL", "2005", "0012", "W")));
    EXPECT_FALSE(SameRing(Pigeon("NL", "98", "12", "M"), Pigeon("NL", "1998", "12", "M")));
    EXPECT_FALSE(SameRing(Pigeon("NL", "05", "12", "M"), Pigeon("NL", "06", "12", "M")));
    EXPECT_FALSE(SameRing(Pigeon("NL", "05", "12", "M"), Pigeon("B", "05", "12", "M")));
    EXPECT_TRUE(SameRing("GB      24ABC   234567 ", "GB      24ABC   234567M"));
    EXPECT_TRUE(SameRing("GB      24ABC   234567 ", "GB      24 ABC  234567 ")); // trimmed organisations
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
    folder.Write("Pigeon/P007012.DAT", golden);
    const Path file = PigeonFilePath(folder.path(), 7, 12);
    EXPECT_EQ(file, folder.path() / "Pigeon" / "P007012.DAT");
    PigeonTable table;
    ASSERT_EQ(LoadPigeons(table, file), 7U);
    ASSERT_TRUE(SavePigeons(table, file));
    EXPECT_EQ(folder.Read("Pigeon/P007012.DAT"), golden);

    folder.Write("Pigeon/P007012.DAT", ReadGolden("p007012_lf.dat"));
    ASSERT_EQ(LoadPigeons(table, file), 7U);
    ASSERT_TRUE(SavePigeons(table, file));
    EXPECT_EQ(folder.Read("Pigeon/P007012.DAT"), golden);

    EXPECT_EQ(PigeonFilePath(folder.path(), "001", "002"), folder.path() / "Pigeon" / "p001002.dat");
    EXPECT_EQ(LoadPigeons(table, PigeonFilePath(folder.path(), "001", "002")), 0U);
}

TEST(PigeonFile, DeletingAFancierFileIgnoresAMissingOne) {
    TestFolder folder;
    folder.Write("pigeon/p007012.dat", " 0 \r\n");
    EXPECT_TRUE(DeletePigeonFile(PigeonFilePath(folder.path(), 7, 12)));
    EXPECT_FALSE(folder.Exists("pigeon/p007012.dat"));
    EXPECT_TRUE(DeletePigeonFile(PigeonFilePath(folder.path(), 7, 12)));
}

TEST(PigeonList, LineShowsDisplayFormColourAndChipUnlessNone) {
    const std::string record = CompletePigeonRecord("B       05     1234567W", "ABCDEF0100", "RED", "00");
    EXPECT_EQ(PigeonListLine(1, record), std::string("0001:     ") + "B       05   1234567W" + "      RED       " +
                                             "ABCDEF0100");
    for (const char* none : {"1300000000", "0012345678"})
        EXPECT_EQ(PigeonListLine(12, CompletePigeonRecord("B       05     1234567W", none, "RED", "00")),
                  std::string("0012:     ") + "B       05   1234567W" + "      RED       " + "          ");
    EXPECT_EQ(PigeonListLine(3, CompletePigeonRecord("B       05     1234567W", "1300000000", "RED", "15")).size(),
              10U + 21U + 6U + 4U + 6U + 10U);
    EXPECT_EQ(PigeonSlotOfListLine("0004:     B"), 4U);
    EXPECT_EQ(PigeonSlotOfListLine("No pigeons"), 0U);

    EXPECT_TRUE(HasChip("ABCDEF0100"));
    EXPECT_FALSE(HasChip(kNoChipCode));
    EXPECT_TRUE(IsChipCode("ABCDEF0100"));
    EXPECT_FALSE(IsChipCode("abcdef0100"));
    EXPECT_FALSE(IsChipCode("ABCDEF010"));
}

TEST(PigeonFields, KeyRulesForSexColourAndCount) {
    EXPECT_EQ(FilterSexKey('m', kSexes), 'M');
    EXPECT_EQ(FilterSexKey('0', kSexes), '0');
    EXPECT_FALSE(FilterSexKey('x', kSexes));
    EXPECT_EQ(FilterSexKey(kBackspaceKey, kSexes), kBackspaceKey);
    const SexCharacters none = SexCharactersFromTexts("", "", "");
    EXPECT_FALSE(FilterSexKey('m', none)); // a catalogue without sexes leaves only blank ones
    EXPECT_TRUE(IsSexText("", none));
    EXPECT_FALSE(IsSexText("M", none));
    EXPECT_EQ(NormaliseSex(" w ", kSexes), "W");
    // A lower-case catalogue character is stored as the catalogue has it.
    EXPECT_EQ(FilterSexKey('H', SexCharactersFromTexts("h", "p", "n")), 'h');

    EXPECT_EQ(FilterColourKey('b'), 'B');
    EXPECT_FALSE(FilterColourKey('1'));
    EXPECT_EQ(FilterCountKey('7'), '7');
    EXPECT_FALSE(FilterCountKey('-'));
    EXPECT_EQ(NormaliseColour(" bl "), "BL  ");

    EXPECT_EQ(NextRingNumberText("0099"), "0100");
    EXPECT_EQ(NextRingNumberText("99"), "100");
    EXPECT_EQ(NextRingNumberText("000"), "001");
    EXPECT_EQ(NextRingNumberText("0999999"), "1000000");

    const PigeonFields fresh = NewPigeonFields(2024);
    EXPECT_EQ(fresh.year, "24");
    EXPECT_EQ(fresh.count, "1");
    EXPECT_EQ(fresh.colour, "    ");
}

TEST(PigeonsAdd, RunOfSeveralAddsConsecutiveRingsAndSavesOnce) {
    Loft loft;
    int saves = 0;
    const auto outcome = [&] {
        SetSaveFaultForTests([&saves](const Path&) {
            ++saves;
            return false;
        });
        auto result = AddPigeons(loft.table, loft.file, AddFields("NL", "05", "", "0098", "3"), kSexes, 2024);
        SetSaveFaultForTests(nullptr);
        return result;
    }();
    EXPECT_EQ(outcome.message, kPigeonDone);
    EXPECT_EQ(outcome.added, 3U);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(outcome.count, "1");
    EXPECT_EQ(outcome.ringNumber, "0101");
    EXPECT_EQ(RingNumbers(loft.table), (std::vector<std::string>{"0098", "0099", "0100"}));
    EXPECT_EQ(loft.table.Record(1), "NL      05        0098M1300000000RED 00");
    PigeonTable back;
    EXPECT_EQ(LoadPigeons(back, loft.file), 3U);
}

TEST(PigeonsAdd, NormalisesTypedPartsAndMatchesTheGoldenFile) {
    Loft loft;
    loft.folder.Write("pigeon/p007012.dat", ReadGolden("p007012.dat"));
    LoadPigeons(loft.table, loft.file);
    // Fields as typed, never left: the add applies the leaving rules itself.
    PigeonFields fields = AddFields("dv ", "23", "815", "0007", "2", 5);
    const auto outcome = AddPigeons(loft.table, loft.file, fields, kSexes, 2024);
    EXPECT_EQ(outcome.message, kPigeonDone);
    EXPECT_EQ(loft.FileBytes(), ReadGolden("p007012_added.dat"));

    // Format 0 has no organisation: whatever was typed there is dropped.
    Loft nl;
    EXPECT_EQ(AddPigeons(nl.table, nl.file, AddFields("NL", "5", "XY", "1234567", "1"), kSexes, 2024).message,
              kPigeonDone);
    EXPECT_EQ(PigeonRing(nl.table.Record(1)), "NL      05     1234567M");
}

TEST(PigeonsAdd, CapacityRefusesAWholeRun) {
    std::vector<std::string> many;
    for (int i = 1; i <= 999; ++i) many.push_back(Pigeon("NL", "05", std::to_string(i), "M"));
    Loft loft(many);
    const std::string before = loft.FileBytes();
    auto outcome = AddPigeons(loft.table, loft.file, AddFields("B", "05", "", "1", "2"), kSexes, 2024);
    EXPECT_EQ(outcome.message, kPigeonTableFull);
    EXPECT_EQ(outcome.added, 0U);
    EXPECT_EQ(outcome.count, "2");
    EXPECT_EQ(loft.table.Count(), 999U);
    EXPECT_EQ(loft.FileBytes(), before);

    outcome = AddPigeons(loft.table, loft.file, AddFields("B", "05", "", "1", "1"), kSexes, 2024);
    EXPECT_EQ(outcome.message, kPigeonDone);
    EXPECT_EQ(loft.table.Count(), 1000U);
    // A count of 0 adds one pigeon, so a full table refuses it too.
    outcome = AddPigeons(loft.table, loft.file, AddFields("B", "05", "", "2", "0"), kSexes, 2024);
    EXPECT_EQ(outcome.message, kPigeonTableFull);
    EXPECT_EQ(loft.table.Count(), 1000U);
}

TEST(PigeonsAdd, RefusalMidRunKeepsAndSavesThePigeonsBeforeIt) {
    Loft loft({Pigeon("NL", "2005", "100", "W")});
    const auto outcome = AddPigeons(loft.table, loft.file, AddFields("NL", "05", "", "0098", "4"), kSexes, 2024);
    EXPECT_EQ(outcome.message, kPigeonRingPresent); // 05 and 2005 are the same year
    EXPECT_EQ(outcome.added, 2U);
    EXPECT_EQ(outcome.ringNumber, "0100");
    EXPECT_EQ(outcome.count, "2");
    PigeonTable back;
    EXPECT_EQ(LoadPigeons(back, loft.file), 3U);

    // A series in a four-digit format must not wrap from 9999 to 0000.
    Loft d;
    const auto wrapped = AddPigeons(d.table, d.file, AddFields("D", "05", "0815", "9998", "3"), kSexes, 2024);
    EXPECT_EQ(wrapped.message, kPigeonNotBuilt);
    EXPECT_EQ(RingNumbers(d.table), (std::vector<std::string>{"9998", "9999"}));
    EXPECT_EQ(wrapped.ringNumber, "10000");
    EXPECT_EQ(wrapped.count, "1");
}

TEST(PigeonsAdd, RefusesRingsThatCannotBeRecorded) {
    Loft loft;
    const auto refused = [&](PigeonFields fields) {
        const auto outcome = AddPigeons(loft.table, loft.file, fields, kSexes, 2024);
        return outcome.message == kPigeonNotBuilt && outcome.added == 0 && loft.table.Count() == 0;
    };
    EXPECT_TRUE(refused(AddFields("NL", "1997", "", "12", "1")));
    EXPECT_TRUE(refused(AddFields("NL", "30", "", "12", "1")));
    EXPECT_TRUE(refused(AddFields("NL", "05", "", "", "1")));
    EXPECT_TRUE(refused(AddFields("NL", "05", "", "   ", "1")));
    EXPECT_TRUE(refused(AddFields("NL1", "05", "", "12", "1")));
    EXPECT_TRUE(refused(AddFields("XYZ", "05", "", "12", "1", 11)));
    PigeonFields badSex = AddFields("NL", "05", "", "12", "1");
    badSex.sex = "X";
    EXPECT_TRUE(refused(badSex));
    PigeonFields badColour = AddFields("NL", "05", "", "12", "1");
    badColour.colour = "BLUEY";
    EXPECT_TRUE(refused(badColour));
    EXPECT_EQ(loft.FileBytes(), " 0 \r\n");
}

TEST(PigeonsAdd, FailedSaveLeavesTableFileAndFieldsAsTheyWere) {
    Loft loft({Pigeon("NL", "05", "1", "M")});
    const std::string before = loft.FileBytes();
    SetSaveFaultForTests([](const Path&) { return true; });
    const auto outcome = AddPigeons(loft.table, loft.file, AddFields("NL", "05", "", "0005", "2"), kSexes, 2024);
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(outcome.saved.ok);
    EXPECT_FALSE(outcome.saved.error.empty());
    EXPECT_EQ(outcome.added, 0U);
    EXPECT_EQ(outcome.ringNumber, "0005");
    EXPECT_EQ(outcome.count, "2");
    EXPECT_EQ(loft.table.Count(), 1U);
    EXPECT_EQ(loft.FileBytes(), before);

    // An unreadable file is not replaced by the few pigeons added to an empty table.
    loft.folder.Write("pigeon/p007012.dat", " 5 \r\nNL      05           1M1300000000BLUE00\r\n");
    EXPECT_EQ(LoadPigeons(loft.table, loft.file), 0U);
    const auto blocked = AddPigeons(loft.table, loft.file, AddFields("NL", "05", "", "7", "1"), kSexes, 2024);
    EXPECT_FALSE(blocked.saved.ok);
    EXPECT_EQ(loft.table.Count(), 0U);
    EXPECT_EQ(loft.FileBytes(), " 5 \r\nNL      05           1M1300000000BLUE00\r\n");
}

TEST(PigeonsAlter, ColourAndSexChangeKeepChipAndFormat) {
    Loft loft({Pigeon("NL", "05", "9", "M", "ABCDEF0100", "02"), Pigeon("NL", "05", "10", "M")});
    PigeonFields fields = PigeonFieldsOf(loft.table.Record(1));
    fields.colour = "grz";
    fields.sex = "w";
    fields.ringFormat = 7; // the shown format plays no part: the pigeon keeps its own
    const auto outcome = AlterPigeon(loft.table, loft.file, 1, fields, kSexes);
    EXPECT_EQ(outcome.message, kPigeonDone);
    EXPECT_TRUE(outcome.saved.ok);
    EXPECT_EQ(loft.table.Record(1), "NL      05           9WABCDEF0100GRZ 02");
    PigeonTable back;
    LoadPigeons(back, loft.file);
    EXPECT_EQ(back.Records(), loft.table.Records());
}

TEST(PigeonsAlter, RefusalsLeaveTableAndFileAlone) {
    // A file that already holds one ring twice (05 and 2005).
    Loft loft({Pigeon("NL", "05", "9", "M"), Pigeon("NL", "2005", "9", "W")});
    const std::string before = loft.FileBytes();
    const auto records = loft.table.Records();
    PigeonFields fields = PigeonFieldsOf(loft.table.Record(1));
    EXPECT_EQ(AlterPigeon(loft.table, loft.file, 1, fields, kSexes).message, kPigeonRingPresent);
    fields.sex = "Q";
    EXPECT_EQ(AlterPigeon(loft.table, loft.file, 1, fields, kSexes).message, kPigeonNotBuilt);
    EXPECT_EQ(AlterPigeon(loft.table, loft.file, 3, fields, kSexes).message, kPigeonNotBuilt);
    EXPECT_EQ(loft.table.Records(), records);
    EXPECT_EQ(loft.FileBytes(), before);

    Loft single({Pigeon("B", "05", "1", "M")});
    PigeonFields red = PigeonFieldsOf(single.table.Record(1));
    red.colour = "RED";
    SetSaveFaultForTests([](const Path&) { return true; });
    const auto failed = AlterPigeon(single.table, single.file, 1, red, kSexes);
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(failed.saved.ok);
    EXPECT_EQ(single.table.Record(1), Pigeon("B", "05", "1", "M"));
}

TEST(PigeonsDelete, RemovesExactlyTheSelectedSlots) {
    std::vector<std::string> six;
    for (int i = 1; i <= 6; ++i) six.push_back(Pigeon("NL", "05", std::to_string(i), "M"));
    Loft loft(six);
    EXPECT_EQ(PigeonsDeleteQuestion(1), 0);
    EXPECT_EQ(PigeonsDeleteQuestion(2), kPigeonsDeleteConfirm);
    const auto outcome = DeletePigeons(loft.table, loft.file, {2, 5});
    EXPECT_TRUE(outcome.saved.ok);
    EXPECT_EQ(RingNumbers(loft.table), (std::vector<std::string>{"1", "3", "4", "6"}));
    PigeonTable back;
    EXPECT_EQ(LoadPigeons(back, loft.file), 4U);

    SetSaveFaultForTests([](const Path&) { return true; });
    const auto failed = DeletePigeons(loft.table, loft.file, {1, 1, 9});
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(failed.saved.ok);
    EXPECT_EQ(loft.table.Count(), 4U);
}

} // namespace
} // namespace plumet
