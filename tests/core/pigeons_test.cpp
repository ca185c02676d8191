#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <sstream>

#include "core/app/fixedwidth.h"
#include "core/clock/pigeonsconvert.h"
#include "core/registers/pigeons.h"
#include "core/registers/rings.h"
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
    // A chip is shown; "00…" and a hand entry's "13…" mean none.
    for (const auto& [chip, shown] : {std::pair{"0012345678", "          "}, {"1300000000", "          "}, {"53A1B2C3D4", "53A1B2C3D4"}})
        EXPECT_EQ(PigeonListLine(12, CompletePigeonRecord("B       05     1234567W", chip, "RED", "00")),
                  std::string("0012:     B       05   1234567W      RED       ") + shown) << chip;
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
    for (const auto& c : TableCells("pigeons/unrecordable.txt")) // nation | year | ring number | format
        EXPECT_EQ(loft.Add(c[0].c_str(), c[1].c_str(), c[2].c_str(), "1", std::stoi(c[3])).message, kPigeonNotBuilt) << c[0] << c[1] << c[2];
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

// A failed save keeps the table and the file, and an add its fields; a file that cannot be read
// is never saved over: the register table's own test.
TEST(PigeonsDelete, RemovesExactlyLinesTwoAndFiveAndNeitherItNorAnAddChangesAnythingWhenTheSaveFails) {
    std::vector<std::string> six;
    for (int i = 1; i <= 6; ++i) six.push_back(Pigeon("05", std::to_string(i)));
    Loft loft(six);
    EXPECT_TRUE(DeletePigeons(loft.table, loft.file, {2, 5}).saved.ok);
    EXPECT_EQ(RingNumbers(loft.table), (std::vector<std::string>{"1", "3", "4", "6"}));
    const std::string before = loft.Bytes();
    EXPECT_FALSE(WithFailingSaves([&] { return DeletePigeons(loft.table, loft.file, {1, 1, 9}); }).saved.ok);
    const auto added = WithFailingSaves([&] { return loft.Add("NL", "05", "0007", "2"); });
    EXPECT_EQ(added.count + "|" + added.ringNumber, "2|0007");
    EXPECT_TRUE(!added.saved.ok && loft.table.Count() == 4U && loft.Bytes() == before);
}

const PigeonsConvert kConvert(SexTexts{"M", "W", "-"});

// Each line: a record, what it reads back as (a blank sex comes back as no sex, the chip's last
// byte as 00) and its ring record, worked out independently as one 120-bit number.
TEST(PigeonsConvert, CodesTheWorkedExamplesAndReadsThemBack) {
    for (const std::string& line : TableRows("pigeons/convert.txt")) {
        const std::string record = line.substr(0, kPigeonRecordLength);
        std::istringstream numbers(line.substr(2 * kPigeonRecordLength + 2));
        RingRecord expected{};
        for (auto& byte : expected) byte = static_cast<std::uint8_t>(*std::istream_iterator<int>(numbers));
        const auto ring = kConvert.EncodeRing(record);
        const auto chip = PigeonsConvert::EncodeChip(record);
        ASSERT_TRUE(ring && chip) << record;
        EXPECT_EQ(*ring, expected) << record;
        EXPECT_EQ(kConvert.DecodePigeon(*ring, *chip), line.substr(kPigeonRecordLength + 1, kPigeonRecordLength));
    }
}

TEST(PigeonsConvert, RandomRecordsOfAllElevenFormatsRoundTrip) {
    std::mt19937 random(20080604);
    const auto pick = [&](std::string_view from, std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += from[random() % from.size()];
        return text;
    };
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int format = 0; format < 11; ++format)
        for (int i = 0; i < 50; ++i) {
            const int year = static_cast<int>(random() % 32);
            const std::string record =
                PadRight(pick(letters, 1 + random() % 6), 6) +
                (random() % 2 ? std::to_string(1998 + year) : "  " + ZeroPadded((98 + year) % 100, 2)) +
                PadRight(pick(letters + "0123456789", random() % 6), 5) +
                PadLeft(pick("0123456789", 1 + random() % 7), 7, ' ') + pick("MW- ", 1) +
                (random() % 2 ? "1300000000" : pick("0123456789ABCDEF", 8) + "00") +
                PadRight(pick(letters, random() % 5), 4) + ZeroPadded(format, 2);
            std::string expected = record;
            if (expected[22] == ' ') expected[22] = '-';
            EXPECT_EQ(kConvert.DecodePigeon(*kConvert.EncodeRing(record), *PigeonsConvert::EncodeChip(record)),
                      expected);
        }
}

TEST(PigeonsConvert, RefusesWhatWouldSpillIntoOtherBitsAndBlanksWhatHasNoCode) {
    for (const auto& c : TableCells("pigeons/uncodable.txt")) // ring or chip | a record whose ring or chip has no code
        EXPECT_FALSE(c[0] == "ring" ? kConvert.EncodeRing(c[1]).has_value() : PigeonsConvert::EncodeChip(c[1]).has_value()) << c[1];
    EXPECT_EQ(PigeonsConvert::DecodeChip({0xFF, 0x80, 0x7F, 0x00, 0xFF}), "FF807F0000");

    // Lower case, bytes from 128 up and punctuation all code as 0.
    const auto decoded =
        kConvert.Decode(*kConvert.EncodeRing("dv\xC4\xE9  2005\xFC" "a-1 12\xB3" "4567M1300000000bL\xC9U00"));
    EXPECT_EQ(decoded.ring + decoded.colour, "      2005   1 12 4567M L U");
}

TEST(PigeonsConvert, TheNoSexCharacterCodesLikeABlankSoItNeverComesBackFemale) {
    const auto sexOf = [](const PigeonsConvert& convert, char sex) {
        std::string record = "NL      05     1234567 1300000000    00";
        record[22] = sex;
        return convert.Decode(*convert.EncodeRing(record)).ring[22];
    };
    EXPECT_EQ(sexOf(kConvert, '-'), '-');
    EXPECT_EQ(sexOf(kConvert, 'X'), 'W'); // anything else codes as female
    EXPECT_EQ(sexOf(PigeonsConvert(SexTexts{}), 'M'), ' '); // a catalogue without sex texts leaves blanks
    RingRecord three{}; // code 3 is never produced; it reads back as a blank, keeping the length
    three[11] = 0x03;
    EXPECT_EQ(kConvert.Decode(three).ring, std::string(22, ' ').replace(6, 4, "  98") + " ");
}

// Each line of the golden file: the display form and the template form of one format.
TEST(RingForms, DisplayAndTemplateFormsOfEveryFormatKeepTheirColumns) {
    const RingParts p{"XX", "2005", "ABCD", "123456", "F"}, q{"XXYYZ", "2005", "ABCDE", "1234567", "F"};
    const auto forms = SplitLines(TestData("pigeons/ringforms.txt"));
    ASSERT_EQ(forms.size(), static_cast<std::size_t>(kRingFormatCount));
    for (int format = 0; format < kRingFormatCount; ++format) {
        const std::string text = FormatRingText(format, p);
        EXPECT_EQ(text + "|" + FormatRingPreview(format, q), forms[static_cast<std::size_t>(format)]) << format;
        EXPECT_EQ(text.size(), kRingTextLength) << format;
    }
    EXPECT_EQ(FormatRingText(11, p) + FormatRingPreview(-1, q), "");
    EXPECT_EQ(FormatRingPreview(0, "NL", "5", "", "123", "M"), "NL    5     123M");
    EXPECT_EQ(FormatRingPreview(9, "JP", "21", "AB", "12345", "M"), "JP  21AB12345  M");
}

TEST(RingForms, DisplayFormReadsStoredRingsAndFormatNineNeverRepeatsTheOrganisation) {
    const std::string stored = "DV      230815       9M";
    EXPECT_EQ(FormatRingText(stored, "01"), std::string("DV    ") + "0815 " + "  23" + " " + "   9M");
    EXPECT_EQ(FormatRingText(stored, "15"), "");
    EXPECT_EQ(FormatRingText(9, "JP", "21", "AB", "12345", "M"), std::string("JP    ") + "  21" + "AB12345" + "   M");
    EXPECT_EQ(FormatRingText(9, "JP", "21", "ABC", "12345", "M"), std::string("JP    ") + "  21" + "AB12345" + " C M");
}

TEST(RingFormats, ListedNationsBringTheirFormatUnlistedKeepTheChoice) {
    // The whole code counts, not a prefix: DVX is unlisted.
    for (const auto& [nation, format] : {std::pair{"dv", 1}, {" malta ", 3}, {"CHN", 10}, {"DVX", -1}})
        EXPECT_EQ(TestKnownCountry(nation), format) << nation;
    EXPECT_EQ(std::to_string(CurrentRingFormat("", 5)) + std::to_string(CurrentRingFormat("GB", 8)), "02");
    const RingPreviews unlisted = RefreshRingPreviews({"XYZ", "05", "", "1234567", "M"}, 8);
    EXPECT_EQ(std::to_string(unlisted.format) + unlisted.templateForm, "8XYZ  1234567 05M");
    EXPECT_EQ(RefreshRingPreviews({"B", "05", "", "1234567", "M"}, 8).format, 0);
}

TEST(RingEntry, YearIsCompletedAndCheckedOnLeaving) {
    EXPECT_EQ(NormaliseYear("5", 2024) + "|" + NormaliseYear("005", 2024) + "|" + NormaliseYear("  ", 2007), "05|2005|07");
    for (const char* year : {"98", "99", "00", "29", "1998", "2029"}) EXPECT_TRUE(IsAcceptedYear(year)) << year;
    for (const char* year : {"97", "1997", "30", "2030", "0005", "5", ""}) EXPECT_FALSE(IsAcceptedYear(year)) << year;
}

TEST(RingEntry, OrganisationAndRingNumberCutEachOtherAndTheAddFitsThemToTheFormat) {
    EXPECT_EQ(LeaveOrganisationField("dv", "815", "").organisation + "|" + LeaveOrganisationField("NL", "abc", "").organisation,
              "0815|ABC");
    EXPECT_EQ(LeaveOrganisationField("GB", "ABC", "12345678").ringNumber + "|" +
                  LeaveOrganisationField("A", "ABCDE", "1234").ringNumber, "345678|1234");
    EXPECT_EQ(OrganisationAfterRingNumber("ABCDE", "12345"), "ABCD");
    EXPECT_EQ(AlignRight("123 ", 7), "123    "); // ends with a blank: stays left
    const RingParts nl = NormaliseRingForAdd({"NL", "05", "XY", "1234567", "M"}, 0);
    EXPECT_EQ(nl.organisation + "|" + nl.ringNumber, "|1234567");
    const RingParts d = NormaliseRingForAdd({"D", "05", "815", "12", "M"}, 1);
    EXPECT_EQ(d.organisation + "|" + d.ringNumber, "0815 |  12");
}

TEST(RingEntry, KeyFiltersRefuseWhatOnlyLooksLikeAByte) {
    EXPECT_EQ(FilterRingText(RingPart::Nation, "nl-b\be"), "NLBE");
    EXPECT_EQ(FilterRingText(RingPart::RingNumber, "12a3 456789"), "123 456");
    EXPECT_FALSE(FilterRingKey(RingPart::Organisation, '-'));
    // Cut to a byte these would pass as 'a', '1', 'A' and '0'.
    EXPECT_FALSE(NationKey(U'\u0161') || YearKey(U'\u0131') || OrganisationKey(U'\U00010041') ||
                 RingNumberKey(U'\u2030'));
}

} // namespace
} // namespace plumet
