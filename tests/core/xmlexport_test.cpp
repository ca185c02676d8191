#include <gtest/gtest.h>

#include "core/app/fixedwidth.h"
#include "core/race/xmlexport.h"
#include "testfolder.h"

namespace plumet {
namespace {

const Path kData = Path(PLUMET_TEST_DATA) / "xmlexport";

std::vector<std::string> SourceLines(const char* name) { return SplitLines(ReadWholeFile(kData / name).bytes); }

// The first source has every kind of line, escaped and accented names, arrival day 00 and a
// clock already past midnight (+015/-015); the second has no date line (2008), LF line ends,
// a pigeon before any loft, an unknown ring format, a control character in a name, a clock
// behind midnight (-003/+003) and lines of no known kind; without its date line the file itself
// is refused for export. The third is a race of 31 December read out on 2 January, the fourth
// one flown while summer time ends.
TEST(XmlExport, GoldenDocuments) {
    struct Case {
        const char *source, *document, *zone;
    };
    for (const Case c : {Case{"W0120523.d07", "W0120523_07.xml", "Europe/Berlin"},
                         Case{"W0210453.d00", "W0210453_00.xml", "Europe/Berlin"},
                         Case{"W0210443.d00", "W0210443_00.xml", "Europe/Berlin"}}) {
        const ScopedTimeZone zone(c.zone);
        TestFolder folder;
        const XmlExportOutcome outcome = ExportReadoutToXml(kData / c.source, folder.path(), LocalUtcOffsetMinutes);
        ASSERT_TRUE(outcome.saved) << outcome.saved.error;
        EXPECT_EQ(outcome.output, folder.path() / c.document);
        EXPECT_EQ(folder.Read(c.document), ReadWholeFile(kData / c.document).bytes) << c.source;
    }
    {
        const ScopedTimeZone zone("XST3:30");
        TestFolder folder;
        EXPECT_EQ(ReadOutDocument(BuildReadOutDataSet(SourceLines("W0070324.d05"), "05", LocalUtcOffsetMinutes)),
                  ReadWholeFile(kData / "W0070324_05.xml").bytes);
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

TEST(XmlExport, ReadingStopsAtTheLimits) {
    const std::string loft = "1123007000" + PadRight("Meier", 20) + "N51301525E007050000";
    const std::string pigeon = SourceLines("W0120523.d07")[3];
    std::vector<std::string> lines(kXmlPigeonLimit + 1, pigeon);
    lines.insert(lines.begin(), loft);
    lines.push_back(loft);
    ReadOutDataSet data = BuildReadOutDataSet(lines, "07", FixedUtcOffset(0));
    EXPECT_EQ(std::pair(data.pigeons.size(), data.fanciers.size()), std::pair(kXmlPigeonLimit, std::size_t{1}));
    lines.assign(kXmlFancierLimit + 1, loft);
    lines.push_back(pigeon);
    data = BuildReadOutDataSet(lines, "07", FixedUtcOffset(0));
    EXPECT_EQ(std::pair(data.pigeons.size(), data.fanciers.size()), std::pair(std::size_t{0}, kXmlFancierLimit));
    lines.assign(kXmlSourceLineLimit, "9");
    lines.push_back(loft);
    EXPECT_TRUE(BuildReadOutDataSet(lines, "07", FixedUtcOffset(0)).fanciers.empty());
}

// A write that fails is the disk fault test's.
TEST(XmlExport, AMissingSourceWritesNothing) {
    TestFolder folder;
    Settings settings;
    settings.region = "012";
    settings.federation = "005";
    EXPECT_FALSE(XmlExportSource(folder.path(), settings, "23", "07"));
    EXPECT_FALSE(WExportXML(folder.path() / "W0120523.d07", folder.path() / "out.xml", FixedUtcOffset(0)));
    EXPECT_FALSE(folder.Exists("out.xml"));
}

// Garbage, a date line of no date, and a date line that is not a line of its own.
TEST(XmlExport, ASourceWithoutAReadableDateLineIsRefused) {
    TestFolder folder;
    for (const std::string& bytes : {std::string("\x01\x02garbage\r\n", 11), std::string("0999999\r\n"),
                                    std::string("00206244\r\n")}) {
        folder.Write("W0120523.d07", bytes);
        const SaveResult saved = WExportXML(folder.path() / "W0120523.d07", folder.path() / "out.xml", FixedUtcOffset(0));
        EXPECT_EQ(saved.reason, FileReason::Damaged) << bytes;
        EXPECT_FALSE(folder.Exists("out.xml"));
    }
}

} // namespace
} // namespace plumet
