#include <gtest/gtest.h>

#include "core/app/files.h"
#include "core/app/fixedwidth.h"
#include "core/race/readoutfile.h"
#include "testfolder.h"

namespace plumet {
namespace {

const PigeonsConvert kConvert(SexTexts{"M", "F", "U"});
const std::string kName = PadRight("Meier Hans", 20);
// Basketing 31 May 07:30:00 (flags in the day byte), read out 2 June 18:30:00, clock 18:29:18.
const TimerBlock kTimer = {31 | 64, 5, 7, 30, 0, 2, 6, 18, 30, 0, 64, 0, 18, 29, 18};

ArrivalRecord Arrival(int point, int dayByte, int flags = 0, std::array<std::uint8_t, 6> digits = {}) {
    ArrivalRecord a{};
    const RingRecord ring = *kConvert.EncodeRing("DV    20050815 1234567M1300000000BLAU01");
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = static_cast<std::uint8_t>(point);
    a[17] = static_cast<std::uint8_t>(dayByte);
    a[18] = 14, a[19] = 3, a[20] = 27, a[21] = static_cast<std::uint8_t>(flags);
    std::copy(digits.begin(), digits.end(), a.begin() + 22);
    return a;
}

// Columns 33-37 of an arrival line: valid flag, day, month.
std::string DayColumns(const ArrivalRecord& arrival, const TimerBlock& timer = kTimer) {
    return ReadoutArrivalLine(1, 2, arrival, timer, kConvert).substr(32, 5);
}

TEST(ReadoutFields, StartValuesAndLeavingRules) {
    const DateTime today = MakeDateTime(2024, 6, 2, 18, 30, 0);
    EXPECT_EQ(ReadoutFieldsFor(today), (ReadoutFields{"00", "23", "02", "06", "24"}));
    EXPECT_EQ(ReadoutFieldsOnLeave({"7", "5", "31", "12", "99"}, today), (ReadoutFields{"07", "05", "31", "12", "99"}));
    EXPECT_EQ(ReadoutFieldsOnLeave({"", "0", "32", "13", "00"}, today), ReadoutFieldsFor(today));
    // The weeks of the read-out date's year: 53 in 2026, 54 in 2000; a higher one is the last.
    EXPECT_EQ(ReadoutWeekOnLeave("53", today, 2026) + ReadoutWeekOnLeave("54", today, 2026) +
                  ReadoutWeekOnLeave("54", today, 2000) + ReadoutWeekOnLeave("99", today, 2000),
              "53535454");
    EXPECT_EQ(ReadoutFieldsFor(MakeDateTime(2023, 12, 31)).week, "53");
    EXPECT_EQ(ReadoutFieldsOnLeave({"00", "54", "31", "12", "26"}, today).week, "53");
}

TEST(ReadoutFields, ClockDatesTakeTheYearNearestTheReference) {
    const struct { int day, month, referenceDay, referenceMonth, year; } cases[] = {
        {1, 1, 31, 12, 2027},  {31, 12, 2, 1, 2025}, {15, 5, 1, 5, 2026}, {30, 10, 1, 5, 2026},
        {29, 2, 1, 3, 2026},   // no 29 February near: the reference year, as before
        {0, 0, 31, 12, 2026},  {1, 1, 0, 0, 2026}, // no date
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClockDateYear(c.day, c.month, c.referenceDay, c.referenceMonth, 2026), c.year) << c.day << "." << c.month;
}

// The read-out tests make the golden file of every line kind; here what must never shift a column.
TEST(ReadoutFile, ShortRecordsBytesAbove99AndHalfBytesAbove9KeepTheColumns) {
    EXPECT_EQ(ReadoutLoftLine(5, 255, 0, "255Short").size(), kLoftLineLength);
    TimerBlock wide = kTimer;
    wide.fill(255);
    EXPECT_EQ(ReadoutTimerLine(1, 2, wide), "2001002131555555553155555555555555" "1");
    const std::string line = ReadoutArrivalLine(255, 255, Arrival(207, 0xFF, 0xFF, {255, 255, 255, 255, 255, 255}),
                                                kTimer, kConvert);
    EXPECT_EQ(line.substr(30, 3) + line.substr(51), "070FFFFFFFFFFFF00000000BLAU01");
}

TEST(ReadoutFile, ArrivalMonthAndValidity) {
    EXPECT_EQ(DayColumns(Arrival(7, 31)), "13105"); // read out on 2 June: the 31st was in May
    EXPECT_EQ(DayColumns(Arrival(7, 2)), "10206");
    EXPECT_EQ(DayColumns(Arrival(7, 0)), "00000");        // no day: invalid, month "00"
    EXPECT_EQ(DayColumns(Arrival(7, 128 | 2)), "00206");  // the flag of value 128 makes it invalid
    TimerBlock january = kTimer;
    january[5] = 3, january[6] = 1;
    EXPECT_EQ(DayColumns(Arrival(7, 30), january), "13012");
    EXPECT_EQ(DayColumns(Arrival(7, 3), january), "10301");
    EXPECT_TRUE(ArrivalKept(Arrival(3, 1), "00"));
    EXPECT_FALSE(ArrivalKept(Arrival(3, 1), "07"));
    EXPECT_FALSE(ArrivalKept(Arrival(107, 1), "07"));
}

TEST(ReadoutFile, GoldenFileListAndCopy) {
    const Path golden = Path(PLUMET_TEST_DATA) / "readout" / "W0120523.d00";
    const ReadoutFile file = LoadReadoutFile(golden);
    ASSERT_EQ(file.status, ReadStatus::Ok);
    EXPECT_EQ(ReadoutListLines(file.lines), (std::vector<std::string>{"001:    123 007 " + kName,
                                                                      "002:    123 008 " + PadRight("M\xFCller & S\xF6hne", 20)}));
    TestFolder folder;
    ASSERT_TRUE(StoreReadoutCopy(file.lines, folder.path(), "copy.d00"));
    EXPECT_EQ(folder.Read("copy.d00"), ReadWholeFile(golden).bytes);
    EXPECT_FALSE(StoreReadoutCopy(file.lines, folder.path() / "nowhere", "copy.d00"));
}

} // namespace
} // namespace plumet
