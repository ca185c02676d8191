#include <gtest/gtest.h>

#include "core/app/files.h"
#include "core/app/fixedwidth.h"
#include "core/clock/readoutfile.h"
#include "core/race/xmlexport.h"
#include "testfolder.h"

namespace plumet {
namespace {

const PigeonsConvert kSexTexts(SexTexts{"M", "F", "U"});
const std::string kName = PadRight("Meier Hans", 20);
// Basketing 31 May 07:30:00 (flags in the day byte), read out 2 June 18:30:00, clock 18:29:18.
const TimerBlock kTimerBlock = {31 | 64, 5, 7, 30, 0, 2, 6, 18, 30, 0, 64, 0, 18, 29, 18};

ArrivalRecord Arrival(int point, int dayByte, int flags = 0, std::array<std::uint8_t, 6> digits = {}) {
    ArrivalRecord a{};
    const RingRecord ring = *kSexTexts.EncodeRing("DV    20050815 1234567M1300000000BLAU01");
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = static_cast<std::uint8_t>(point);
    a[17] = static_cast<std::uint8_t>(dayByte);
    a[18] = 14, a[19] = 3, a[20] = 27, a[21] = static_cast<std::uint8_t>(flags);
    std::copy(digits.begin(), digits.end(), a.begin() + 22);
    return a;
}

// Columns 33-37 of an arrival line: valid flag, day, month.
std::string DayColumns(const ArrivalRecord& arrival, const TimerBlock& timer = kTimerBlock) {
    return ReadoutArrivalLine(1, 2, arrival, timer, kSexTexts).substr(32, 5);
}

TEST(ReadoutFields, StartValuesAndLeavingRules) {
    const DateTime today = MakeDateTime(2024, 6, 2, 18, 30, 0);
    EXPECT_EQ(ReadoutFieldsFor(today), (ReadoutFields{"00", "23", "02", "06", "24"}));
    EXPECT_EQ(ReadoutFieldsOnLeave({"7", "5", "31", "12", "99"}, today), (ReadoutFields{"07", "05", "31", "12", "99"}));
    EXPECT_EQ(ReadoutFieldsOnLeave({"", "0", "32", "13", "00"}, today), ReadoutFieldsFor(today));
    // The weeks of the read-out date's year: 53 in 2026, 54 in 2000; a higher one is the last.
    // In January the last week of the year before stands: week 54 of 2028 read out on 1.1.2029.
    EXPECT_EQ(ReadoutWeekOnLeave("53", today, 2026, 6) + ReadoutWeekOnLeave("54", today, 2026, 6) +
                  ReadoutWeekOnLeave("54", today, 2000, 6) + ReadoutWeekOnLeave("99", today, 2000, 6),
              "53535454");
    EXPECT_EQ(ReadoutFieldsFor(MakeDateTime(2023, 12, 31)).week, "53");
    EXPECT_EQ(ReadoutFieldsOnLeave({"00", "54", "31", "12", "26"}, today).week, "53");
    EXPECT_EQ(ReadoutFieldsOnLeave({"00", "54", "01", "01", "29"}, today).week, "54");
    EXPECT_EQ(ReadoutFieldsOnLeave({"00", "54", "01", "02", "29"}, today).week, "53");
}

// Each row: day | month of a clock date | day | month of the reference in 2026 | the year taken.
TEST(ReadoutFields, ClockDatesTakeTheYearNearestTheReference) {
    for (const auto& c : TableCells("readout/clockyears.txt"))
        EXPECT_EQ(ClockDateYear(std::stoi(c[0]), std::stoi(c[1]), std::stoi(c[2]), std::stoi(c[3]), 2026), std::stoi(c[4]))
            << c[0] << "." << c[1];
}

// The read-out tests make the golden file of every line kind; here what must never shift a column.
TEST(ReadoutFile, ShortRecordsBytesAbove99AndHalfBytesAbove9KeepTheColumns) {
    EXPECT_EQ(ReadoutLoftLine(5, 255, 0, "255Short").size(), kLoftLineLength);
    TimerBlock wide = kTimerBlock;
    wide.fill(255);
    EXPECT_EQ(ReadoutTimerLine(1, 2, wide), "2001002131555555553155555555555555" "1");
    const std::string line = ReadoutArrivalLine(255, 255, Arrival(207, 0xFF, 0xFF, {255, 255, 255, 255, 255, 255}),
                                                kTimerBlock, kSexTexts);
    EXPECT_EQ(line.substr(30, 3) + line.substr(51), "070FFFFFFFFFFFF00000000BLAU01");
}

TEST(ReadoutFile, ArrivalMonthAndValidity) {
    for (const auto& c : TableCells("readout/daycolumns.txt")) { // day byte | read-out day | month | columns 33-37
        TimerBlock timer = kTimerBlock;
        timer[5] = static_cast<std::uint8_t>(std::stoi(c[1])), timer[6] = static_cast<std::uint8_t>(std::stoi(c[2]));
        EXPECT_EQ(DayColumns(Arrival(7, std::stoi(c[0])), timer), c[3]) << c[0];
    }
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
    EXPECT_EQ(folder.Read("copy.d00"), TestData("readout/W0120523.d00"));
    EXPECT_FALSE(StoreReadoutCopy(file.lines, folder.path() / "nowhere", "copy.d00"));
}


const Path kData = Path(PLUMET_TEST_DATA) / "xmlexport";

std::vector<std::string> SourceLines(const char* name) { return SplitLines(TestData(std::string("xmlexport/") + name)); }

// The first source has every kind of line, escaped and accented names, arrival day 00 and a
// clock already past midnight (+015/-015); the second has no date line (2008), LF line ends,
// a pigeon before any loft, an unknown ring format, a control character in a name, a clock
// behind midnight (-003/+003) and lines of no known kind; without its date line the file itself
// is refused for export. The third is a race of 31 December read out on 2 January, the fourth
// one flown while summer time ends.
TEST(XmlExport, GoldenDocuments) {
    {
        const ScopedTimeZone zone("Europe/Berlin");
        for (const auto& [source, document] : {std::pair{"W0120523.d07", "W0120523_07.xml"}, {"W0210453.d00", "W0210453_00.xml"},
                                               {"W0210443.d00", "W0210443_00.xml"}}) {
            TestFolder folder;
            const XmlExportOutcome outcome = ExportReadoutToXml(kData / source, folder.path(), LocalUtcOffsetMinutes);
            ASSERT_TRUE(outcome.saved) << outcome.saved.error;
            EXPECT_EQ(outcome.output, folder.path() / document);
            EXPECT_EQ(folder.Read(document), TestData(std::string("xmlexport/") + document)) << source;
        }
    }
    {
        const ScopedTimeZone zone("XST3:30");
        TestFolder folder;
        EXPECT_EQ(ReadOutDocument(BuildReadOutDataSet(SourceLines("W0070324.d05"), "05", LocalUtcOffsetMinutes)),
                  TestData("xmlexport/W0070324_05.xml"));
        const XmlExportOutcome undated = ExportReadoutToXml(kData / "W0070324.d05", folder.path(), LocalUtcOffsetMinutes);
        EXPECT_NE(undated.saved.error.find("no readable date line"), std::string::npos) << undated.saved.error;
        EXPECT_FALSE(folder.Exists("W0070324_05.xml"));
    }
    const ReadOutDataSet data = BuildReadOutDataSet(SourceLines("W0120523.d07"), "07", FixedUtcOffset(120));
    EXPECT_EQ(data.pigeons[2].fancierId, "2");
    EXPECT_EQ(data.timers[0].readOutDiff + data.timers[0].diff, "+015-015");
}

TEST(XmlExport, ZoneSuffixAndValues) {
    EXPECT_EQ(ZoneSuffix(120) + ZoneSuffix(0) + ZoneSuffix(-300), "+02:00+00:00-05:00");
    EXPECT_EQ(ZoneSuffix(330) + ZoneSuffix(-210), "+05:30-03:30"); // half hours stay
    EXPECT_EQ(XmlText("A&B <C> D\x01" "E\tJos\xE9 \x80"), "A&amp;B &lt;C&gt; D E\tJos\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(XmlOutputName("w0070324.D05"), "w0070324_05.xml");
}

// A read-out beyond a limit of the document is refused saying how many, never cut short.
TEST(XmlExport, ASourceBeyondALimitIsRefusedSayingHowMany) {
    const std::vector<std::string> source = SourceLines("W0120523.d07");
    const struct { std::string line; std::size_t count; const char* said; } cases[] = {
        {source[3], kXmlPigeonLimit + 1, " holds 30001 pigeons"}, {source[1], kXmlFancierLimit + 1, " holds 1001 lofts"},
        {source[2], kXmlTimerLimit + 1, " holds 1001 timer lines"}, {"9", kXmlSourceLineLimit, " has 100001 lines"}};
    for (const auto& c : cases) {
        std::vector<std::string> lines(c.count, c.line);
        lines.insert(lines.begin(), source[0]);
        EXPECT_NE(XmlLimitRefusal(lines, "W0120523.d07").find(std::string("W0120523.d07") + c.said), std::string::npos)
            << XmlLimitRefusal(lines, "W0120523.d07");
        lines.pop_back();
        EXPECT_EQ(XmlLimitRefusal(lines, "W0120523.d07"), "") << c.said;
    }
}

// No source; garbage, a date line of no date, and a date line that is not a line of its own. A
// write that fails is the disk fault test's.
TEST(XmlExport, AMissingSourceOrOneWithoutAReadableDateLineWritesNothing) {
    TestFolder folder;
    Settings settings;
    settings.region = "012";
    settings.federation = "005";
    EXPECT_FALSE(XmlExportSource(folder.path(), settings, "23", "07"));
    for (const std::string& bytes : {std::string(), std::string("\x01\x02garbage\r\n", 11), std::string("0999999\r\n"),
                                    std::string("00206244\r\n")}) {
        if (!bytes.empty()) folder.Write("W0120523.d07", bytes);
        const SaveResult saved = WExportXML(folder.path() / "W0120523.d07", folder.path() / "out.xml", FixedUtcOffset(0));
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(saved.reason, bytes.empty() ? FileReason::Other : FileReason::Damaged) << bytes;
        EXPECT_FALSE(folder.Exists("out.xml"));
    }
}

} // namespace
} // namespace plumet
