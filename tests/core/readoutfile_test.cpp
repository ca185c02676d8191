#include <gtest/gtest.h>

#include "app/files.h"
#include "app/fixedwidth.h"
#include "race/readoutfile.h"
#include "testfolder.h"

namespace plumet {
namespace {

const PigeonsConvert kConvert(SexTexts{"M", "F", "U"});
const std::string kPigeon = "DV    20050815 1234567M1300000000BLAU01";
const std::string kName = PadRight("Meier Hans", 20);
const std::string kFancier = "007" + kName + "N51301525E0070500001" + PadRight("Schlag am Bach", 30);
const std::string kLoftLine = "1123007002" + kName + "N51301525E007050000";

ArrivalRecord Arrival(int point, int dayByte, int hour, int minute, int second, int flags = 0,
                      std::array<std::uint8_t, 6> digits = {}) {
    ArrivalRecord a{};
    const RingRecord ring = *kConvert.EncodeRing(kPigeon);
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = static_cast<std::uint8_t>(point);
    a[17] = static_cast<std::uint8_t>(dayByte);
    a[18] = static_cast<std::uint8_t>(hour);
    a[19] = static_cast<std::uint8_t>(minute);
    a[20] = static_cast<std::uint8_t>(second);
    a[21] = static_cast<std::uint8_t>(flags);
    std::copy(digits.begin(), digits.end(), a.begin() + 22);
    return a;
}

// Basketing 31 May 07:30:00 (flags in the day byte), read out 2 June 18:30:00, clock 18:29:18.
const TimerBlock kTimer = {31 | 64, 5, 7, 30, 0, 2, 6, 18, 30, 0, 64, 0, 18, 29, 18};

Settings SettingsOf(std::string region, std::string federation) {
    Settings settings;
    settings.region = std::move(region);
    settings.federation = std::move(federation);
    return settings;
}

TEST(ReadoutFields, StartValuesAndLeavingRules) {
    const DateTime today = MakeDateTime(2024, 6, 2, 18, 30, 0);
    EXPECT_EQ(ReadoutFieldsFor(today), (ReadoutFields{"00", "23", "02", "06", "24"}));

    EXPECT_EQ(ReadoutPointOnLeave("7"), "07");
    EXPECT_EQ(ReadoutPointOnLeave(""), "00");
    EXPECT_EQ(ReadoutWeekOnLeave("5", today), "05");
    EXPECT_EQ(ReadoutWeekOnLeave("00", today), "23");
    EXPECT_EQ(ReadoutWeekOnLeave("", today), "23");
    EXPECT_EQ(ReadoutWeekOnLeave("52", today), "52");
    EXPECT_EQ(ReadoutWeekOnLeave("53", today), "52");
    EXPECT_EQ(ReadoutWeekOnLeave("99", today), "52");
    EXPECT_EQ(ReadoutDayOnLeave("31", today), "31");
    EXPECT_EQ(ReadoutDayOnLeave("32", today), "02");
    EXPECT_EQ(ReadoutDayOnLeave("0", today), "02");
    EXPECT_EQ(ReadoutMonthOnLeave("12", today), "12");
    EXPECT_EQ(ReadoutMonthOnLeave("13", today), "06");
    EXPECT_EQ(ReadoutMonthOnLeave("00", today), "06");
    EXPECT_EQ(ReadoutYearOnLeave("99", today), "99");
    EXPECT_EQ(ReadoutYearOnLeave("00", today), "24");

    // On the last day of the year the week is 53, which shares the file of week 52.
    EXPECT_EQ(ReadoutFieldsFor(MakeDateTime(2023, 12, 31)).week, "52");
    EXPECT_EQ(ReadoutFieldsOnLeave({"", "", "", "", ""}, today), ReadoutFieldsFor(today));
}

TEST(ReadoutFile, NameFromSettingsWeekAndPointMatchedInAnyCase) {
    const Settings settings = SettingsOf("012North", "005Federation");
    EXPECT_EQ(ReadoutFileName(settings, "23", "07"), "W0120523.d07");
    TestFolder folder;
    EXPECT_EQ(ReadoutFilePath(folder.path(), settings, "23", "07"), folder.path() / "race" / "W0120523.d07");
    folder.Write("race/w0120523.D07", "0020624\r\n");
    EXPECT_EQ(ReadoutFilePath(folder.path(), settings, "23", "07"), folder.path() / "race" / "w0120523.D07");
    EXPECT_EQ(LoadReadoutFile(ReadoutFilePath(folder.path(), settings, "23", "07")).lines,
              std::vector<std::string>{"0020624"});
}

TEST(ReadoutFile, LinesHaveTheirColumns) {
    EXPECT_EQ(ReadoutDateLine({"00", "23", "02", "06", "24"}), "0020624");
    EXPECT_EQ(ReadoutLoftLine(123, 7, 1002, kFancier), kLoftLine);
    EXPECT_EQ(ReadoutLoftLine(5, 255, 0, "255Short").size(), kLoftLineLength);
    EXPECT_EQ(ReadoutTimerLine(123, 7, kTimer), "2123007131050730000206183000182918" "1");
    TimerBlock noFlag = kTimer;
    noFlag[10] = 128 | 63;
    EXPECT_EQ(ReadoutTimerLine(123, 7, noFlag).back(), '0');

    const ArrivalRecord arrival = Arrival(7, 1, 14, 3, 27, 0b10100000, {0x12, 0x3A, 0xBC, 0xDE, 0xF0, 0x09});
    EXPECT_EQ(ReadoutArrivalLine(123, 7, arrival, kTimer, kConvert),
              "3123007DV    20050815 1234567M071010614032710100000123ABCDEF00900000000BLAU01");
}

TEST(ReadoutFile, ArrivalColumnsNeverShift) {
    // Half-bytes above 9 are single hex digits; bytes above 99 keep their two columns.
    const ArrivalRecord wide = Arrival(207, 0xFF, 255, 199, 100, 0xFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    const std::string line = ReadoutArrivalLine(255, 255, wide, kTimer, kConvert);
    ASSERT_EQ(line.size(), kArrivalLineLength);
    EXPECT_EQ(line.substr(30, 2), "07");
    EXPECT_EQ(line.substr(32, 1), "0"); // the flag of value 128 marks it invalid
    EXPECT_EQ(line.substr(51, 20), "FFFFFFFFFFFF00000000");
    EXPECT_EQ(line.substr(71), "BLAU01");
}

TEST(ReadoutFile, ArrivalMonthAndValidity) {
    EXPECT_EQ(ArrivalMonth(31, 2, 6), "05"); // read out on 2 June: the 31st was in May
    EXPECT_EQ(ArrivalMonth(2, 2, 6), "06");
    EXPECT_EQ(ArrivalMonth(1, 2, 6), "06");
    EXPECT_EQ(ArrivalMonth(30, 3, 1), "12"); // read out in January
    EXPECT_EQ(ArrivalMonth(0, 3, 6), "00");

    TimerBlock january = kTimer;
    january[5] = 3;
    january[6] = 1;
    const std::string late = ReadoutArrivalLine(1, 2, Arrival(7, 30, 9, 0, 0), january, kConvert);
    EXPECT_EQ(late.substr(32, 5), "13012");
    // Day 0: not valid, day and month "00".
    const std::string noDay = ReadoutArrivalLine(1, 2, Arrival(7, 0, 9, 0, 0), kTimer, kConvert);
    EXPECT_EQ(noDay.substr(32, 5), "00000");
    // The flag of value 128 makes an arrival with a day invalid.
    const std::string flagged = ReadoutArrivalLine(1, 2, Arrival(7, 128 | 2, 9, 0, 0), kTimer, kConvert);
    EXPECT_EQ(flagged.substr(32, 5), "00206");
    const std::string flagsAbove = ReadoutArrivalLine(1, 2, Arrival(7, 64 | 32 | 2, 9, 0, 0), kTimer, kConvert);
    EXPECT_EQ(flagsAbove.substr(32, 5), "10206");
}

TEST(ReadoutFile, KeptArrivalsByReleasePoint) {
    EXPECT_TRUE(ArrivalKept(Arrival(3, 1, 0, 0, 0), "00"));
    EXPECT_TRUE(ArrivalKept(Arrival(7, 1, 0, 0, 0), "07"));
    EXPECT_FALSE(ArrivalKept(Arrival(3, 1, 0, 0, 0), "07"));
    EXPECT_FALSE(ArrivalKept(Arrival(107, 1, 0, 0, 0), "07"));
    EXPECT_FALSE(ArrivalKept(Arrival(0, 1, 0, 0, 0), "07"));
}

TEST(ReadoutFile, ListAndDuplicateCheckReadTheLoftLines) {
    const std::vector<std::string> lines = {
        "0020624",
        kLoftLine,
        "2123007131050730000206183000182918" "1",
        "1005255000" + PadRight("Zimmermann", 20) + "+45000000-008000000",
    };
    EXPECT_EQ(ReadoutListLines(lines), (std::vector<std::string>{"001:    123 007 " + kName,
                                                                 "002:    005 255 " + PadRight("Zimmermann", 20)}));
    EXPECT_TRUE(HoldsLoft(lines, 123, 7));
    EXPECT_TRUE(HoldsLoft(lines, 5, 255));
    EXPECT_FALSE(HoldsLoft(lines, 7, 123));
    EXPECT_FALSE(HoldsLoft(lines, 123, 8));
    EXPECT_TRUE(ReadoutListLines({}).empty());
}

TEST(ReadoutFile, GoldenFileReadsAndWritesBackByteForByte) {
    const Path golden = Path(PLUMET_TEST_DATA) / "readout" / "W0120523.d00";
    const ReadoutFile file = LoadReadoutFile(golden);
    ASSERT_EQ(file.status, ReadStatus::Ok);
    ASSERT_GT(file.lines.size(), 3u);
    TestFolder folder;
    ASSERT_TRUE(SaveReadoutFile(folder.path() / "copy.d00", file.lines));
    EXPECT_EQ(folder.Read("copy.d00"), ReadWholeFile(golden).bytes);

    // LF-only lines read the same.
    std::string lf = ReadWholeFile(golden).bytes;
    std::erase(lf, '\r');
    folder.Write("lf.d00", lf);
    EXPECT_EQ(LoadReadoutFile(folder.path() / "lf.d00").lines, file.lines);
    EXPECT_EQ(LoadReadoutFile(folder.path() / "missing.d00").status, ReadStatus::Missing);
}

TEST(ReadoutFile, CopyGoesIntoAnExistingFolderOnly) {
    TestFolder folder;
    const std::vector<std::string> lines = {"0020624", kLoftLine};
    ASSERT_TRUE(StoreReadoutCopy(lines, folder.path(), "W0120523.d07"));
    EXPECT_EQ(folder.Read("W0120523.d07"), "0020624\r\n" + kLoftLine + "\r\n");
    const SaveResult refused = StoreReadoutCopy(lines, folder.path() / "nowhere", "W0120523.d07");
    EXPECT_FALSE(refused);
    EXPECT_FALSE(refused.error.empty());
}

} // namespace
} // namespace plumet
