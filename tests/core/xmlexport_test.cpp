#include <gtest/gtest.h>

#include "app/fixedwidth.h"
#include "race/xmlexport.h"
#include "testfolder.h"

namespace plumet {
namespace {

const Path kData = Path(PLUMET_TEST_DATA) / "xmlexport";

std::vector<std::string> GoldenLines(const char* name) { return SplitLines(ReadWholeFile(kData / name).bytes); }

TEST(XmlExport, GoldenDocuments) {
    struct Case {
        const char* source;
        const char* document;
        const char* zone;
    };
    // The first has every field kind, escaped and accented names and a clock past midnight;
    // the second has no date line, LF line ends, a pigeon before any loft, a control
    // character in a name and lines of no known kind.
    for (const Case& c : {Case{"W0120523.d07", "W0120523_07.xml", "+02:00"},
                          Case{"W0070324.d05", "W0070324_05.xml", "-03:30"}}) {
        TestFolder folder;
        const XmlExportOutcome outcome = ExportReadoutToXml(kData / c.source, folder.path(), c.zone);
        ASSERT_TRUE(outcome.saved) << outcome.saved.error;
        EXPECT_EQ(outcome.output, folder.path() / c.document);
        EXPECT_EQ(folder.Read(c.document), ReadWholeFile(kData / c.document).bytes) << c.source;
    }
}

TEST(XmlExport, EdgeCasesOfTheRecords) {
    const ReadOutDataSet first = BuildReadOutDataSet(GoldenLines("W0120523.d07"), "07", "+02:00");
    ASSERT_EQ(first.fanciers.size(), 2u);
    ASSERT_EQ(first.pigeons.size(), 3u);
    ASSERT_EQ(first.timers.size(), 2u);
    EXPECT_EQ(first.pigeons[0].time, "2024-06-01T14:03:27+02:00");
    EXPECT_EQ(first.pigeons[1].time, ""); // arrival day 00
    EXPECT_EQ(first.pigeons[2].fancierId, "2");
    EXPECT_EQ(first.timers[1].fancierId, "2");
    // Clock 23:59:50 while the master shows 00:00:05.
    EXPECT_EQ(first.timers[0].readOutDiff, "+015");
    EXPECT_EQ(first.timers[0].diff, "-015");
    EXPECT_EQ(first.fanciers[0].license, "01230007");

    const ReadOutDataSet second = BuildReadOutDataSet(GoldenLines("W0070324.d05"), "05", "-03:30");
    EXPECT_EQ(second.pigeons[0].fancierId, "0");
    EXPECT_EQ(second.pigeons[0].time.substr(0, 5), "2008-"); // no date line
    EXPECT_EQ(second.pigeons[0].fedBand, "");                // a ring format that does not exist
    // The master shows 23:59:58 and the clock is already at 00:00:01.
    EXPECT_EQ(second.timers[0].readOutDiff, "-003");
    EXPECT_EQ(second.timers[0].diff, "+003");
}

TEST(XmlExport, ZoneSuffixKeepsHalfHours) {
    EXPECT_EQ(ZoneSuffix(120), "+02:00");
    EXPECT_EQ(ZoneSuffix(0), "+00:00");
    EXPECT_EQ(ZoneSuffix(-300), "-05:00");
    EXPECT_EQ(ZoneSuffix(330), "+05:30");
    EXPECT_EQ(ZoneSuffix(345), "+05:45");
    EXPECT_EQ(ZoneSuffix(-210), "-03:30");
}

TEST(XmlExport, ValuesAreEscapedUtf8) {
    EXPECT_EQ(XmlText("A&B <C> D"), "A&amp;B &lt;C&gt; D");
    EXPECT_EQ(XmlText("Jos\xE9"), "Jos\xC3\xA9");
    EXPECT_EQ(XmlText("a\x01" "b\tc"), "a b\tc");
    EXPECT_EQ(XmlText("\x80"), "\xE2\x82\xAC"); // the euro sign
    EXPECT_EQ(XmlText(""), "");
}

TEST(XmlExport, ReadingStopsAtTheLimits) {
    const std::string loft = "1123007000" + PadRight("Meier", 20) + "N51301525E007050000";
    const std::string pigeon = GoldenLines("W0120523.d07")[3];
    std::vector<std::string> lines = {"0020624", loft};
    lines.insert(lines.end(), kXmlPigeonLimit + 1, pigeon);
    lines.push_back(loft);
    ReadOutDataSet data = BuildReadOutDataSet(lines, "07", "+00:00");
    EXPECT_EQ(data.pigeons.size(), kXmlPigeonLimit);
    EXPECT_EQ(data.pigeons.back().nr, std::to_string(kXmlPigeonLimit));
    EXPECT_EQ(data.fanciers.size(), 1u); // the loft after the limit is not read

    std::vector<std::string> lofts(kXmlFancierLimit + 1, loft);
    lofts.push_back(pigeon);
    data = BuildReadOutDataSet(lofts, "07", "+00:00");
    EXPECT_EQ(data.fanciers.size(), kXmlFancierLimit);
    EXPECT_TRUE(data.pigeons.empty());

    std::vector<std::string> many(kXmlSourceLineLimit, "9");
    many.push_back(loft);
    EXPECT_TRUE(BuildReadOutDataSet(many, "07", "+00:00").fanciers.empty());
}

TEST(XmlExport, FailuresWriteNothing) {
    TestFolder folder;
    const SaveResult missing = WExportXML(folder.path() / "W0120523.d07", folder.path() / "out.xml", "+00:00");
    EXPECT_FALSE(missing);
    EXPECT_FALSE(folder.Exists("out.xml"));

    folder.Write("out.xml", "old");
    SetSaveFaultForTests([](const Path&) { return true; });
    const SaveResult failed = WExportXML(kData / "W0120523.d07", folder.path() / "out.xml", "+00:00");
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(failed);
    EXPECT_EQ(folder.Read("out.xml"), "old");
}

TEST(XmlExport, SourceAndOutputNames) {
    EXPECT_EQ(XmlOutputName("W0070324.d05"), "W0070324_05.xml");
    EXPECT_EQ(XmlOutputName("w0070324.D05"), "w0070324_05.xml");

    TestFolder folder;
    Settings settings;
    settings.region = "007" + PadRight("Region", 30);
    settings.federation = "003" + PadRight("Federation", 30);
    EXPECT_FALSE(XmlExportSource(folder.path(), settings, "24", "05"));
    folder.Write("race/w0070324.D05", "0020624\r\n");
    const auto source = XmlExportSource(folder.path(), settings, "24", "05");
    ASSERT_TRUE(source);
    EXPECT_EQ(*source, folder.path() / "race" / "w0070324.D05");
}

} // namespace
} // namespace plumet
