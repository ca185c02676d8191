#include <gtest/gtest.h>

#include "registers/rings.h"

namespace plumet {
namespace {

TEST(RingForms, DisplayFormOfEveryFormatKeepsItsColumns) {
    const RingParts p{"XX", "2005", "ABCD", "123456", "F"};
    const std::vector<std::string> expected = {
        std::string("XX    ") + "2005" + "   " + " 123456" + "F",
        std::string("XX    ") + "ABCD " + "2005" + " " + "3456" + "F",
        std::string("XX    ") + "ABCD" + "2005" + "123456" + "F",
        std::string("XX    ") + "ABCD" + "2005" + "123456" + "F",
        std::string("XX    ") + "2005" + "ABCD" + "123456" + "F",
        std::string("XX    ") + "2005" + "ABC" + " 123456" + "F",
        std::string("XX    ") + " 123456" + "/" + "2005" + "  " + "F",
        std::string("XX    ") + "ABC" + " 123456" + "2005" + "F",
        std::string("XX    ") + "  " + " 123456" + " " + "2005" + "F",
        std::string("XX    ") + "2005" + "AB" + "23456" + " " + "CD" + "F",
        std::string("XX    ") + "AB" + "2005" + " " + " 123456" + "F",
    };
    for (int format = 0; format < kRingFormatCount; ++format) {
        SCOPED_TRACE(format);
        const std::string text = FormatRingText(format, p);
        EXPECT_EQ(text, expected[static_cast<std::size_t>(format)]);
        EXPECT_EQ(text.size(), kRingTextLength);
    }
    EXPECT_EQ(FormatRingText(-1, p), "");
    EXPECT_EQ(FormatRingText(11, p), "");
}

TEST(RingForms, DisplayFormTrimsNationAndYearAndReadsStoredRings) {
    // NL, two-digit year, seven digits: the organisation plays no part in format 0.
    EXPECT_EQ(FormatRingText(0, "NL", "05", "", "1234567", "M"), std::string("NL    ") + "  05" + "   1234567M");
    EXPECT_EQ(FormatRingText(0, " NL   ", "  05", "", "1234567", "M"), FormatRingText(0, "NL", "05", "", "1234567", "M"));
    const std::string stored = "DV      230815       9M";
    EXPECT_EQ(FormatRingText(stored, "01"), std::string("DV    ") + "0815 " + "  23" + " " + "   9" + "M");
    EXPECT_EQ(FormatRingText(stored, "15"), "");
    EXPECT_EQ(FormatRingText(stored, "  "), FormatRingText(0, RingPartsOfRecord(stored)));
    // Format 9 with a short organisation: the second part stays blank rather than repeating the first.
    EXPECT_EQ(FormatRingText(9, "JP", "21", "AB", "12345", "M"), std::string("JP    ") + "  21" + "AB" + "12345" + "   M");
    EXPECT_EQ(FormatRingText(9, "JP", "21", "ABC", "12345", "M"), std::string("JP    ") + "  21" + "AB" + "12345" + " C M");
    EXPECT_EQ(FormatRingText(9, "JP", "21", "AB   ", "12345", "M"), FormatRingText(9, "JP", "21", "AB", "12345", "M"));
}

TEST(RingForms, TemplateFormFollowsTheTemplateLetterByLetter) {
    const RingParts p{"XXYYZ", "2005", "ABCDE", "1234567", "F"};
    const std::vector<std::string> expected = {
        "XXYYZ05 1234567F", "XXABCDE 05 4567F", "XXYABCD05234567F", "XXYYABC05234567F",
        "XXY05ABCD234567F", "XXYY05ABC234567F", "XXYYZ1234567/05F", "XXYYAB123456705F",
        "XXYYZ1234567 05F", "XXYY05AB34567CDF", "XXYYAB051234567F",
    };
    for (int format = 0; format < kRingFormatCount; ++format) {
        SCOPED_TRACE(format);
        EXPECT_EQ(FormatRingPreview(format, p), expected[static_cast<std::size_t>(format)]);
        EXPECT_EQ(RingFormatTemplate(format).size(), kRingPreviewLength);
    }
    EXPECT_EQ(FormatRingPreview(0, "NL", "5", "", "123", "M"), "NL    5     123M");
    EXPECT_EQ(FormatRingPreview(9, "JP", "21", "AB", "12345", "M"), "JP  21AB12345  M");
    EXPECT_EQ(FormatRingPreview(12, p), "");
    EXPECT_EQ(RingFormatTemplate(6), "NNNNNLLLLLLL/JJG");
}

TEST(RingText, FitLeftAndAlignRight) {
    EXPECT_EQ(FitLeft("ABCDEF", 4), "ABCD");
    EXPECT_EQ(FitLeft("AB", 4), "AB  ");
    EXPECT_EQ(FitLeft("AB", 0), "");
    EXPECT_EQ(AlignRight("123", 7), "    123");
    EXPECT_EQ(AlignRight("12345678", 7), "2345678");
    EXPECT_EQ(AlignRight("123 ", 7), "123    ");  // ends with a blank: stays left
    EXPECT_EQ(AlignRight(" 12 ", 7), "    12 "); // begins with one too: goes right
    EXPECT_EQ(AlignRight("", 3), "   ");
    EXPECT_EQ(RingNumberValue(" 00 98"), 98);
    EXPECT_EQ(RingNumberValue("12x3"), 12);
    EXPECT_EQ(RingNumberValue(""), 0);
    EXPECT_EQ(RingFormatOfText("05"), 5);
    EXPECT_EQ(RingFormatOfText("10"), 10);
    EXPECT_EQ(RingFormatOfText("11"), -1);
    EXPECT_EQ(RingFormatText(3), "03");
}

TEST(RingFormats, NationTableSelectsFormatsAndUnlistedKeepsTheChoice) {
    EXPECT_EQ(TestKnownCountry("dv"), 1);
    EXPECT_EQ(TestKnownCountry(" nl "), 0);
    EXPECT_EQ(TestKnownCountry(""), 0);
    EXPECT_EQ(TestKnownCountry("MALTA"), 3);
    EXPECT_EQ(TestKnownCountry("ZIM"), 4);
    EXPECT_EQ(TestKnownCountry("CHN"), 10);
    EXPECT_EQ(TestKnownCountry("GR"), 7);
    EXPECT_EQ(TestKnownCountry("DVX"), -1); // the whole code counts, not a prefix
    EXPECT_EQ(TestKnownCountry("XYZ"), -1);
    EXPECT_EQ(CurrentRingFormat("XYZ", 7), 7);
    EXPECT_EQ(CurrentRingFormat("B", 7), 0);
    EXPECT_EQ(CurrentRingFormat("", 5), 0);
    EXPECT_EQ(CurrentRingFormat("GB", 8), 2); // a listed nation brings back its own format

    const RingPreviews unlisted = RefreshRingPreviews({"XYZ", "05", "", "1234567", "M"}, 8);
    EXPECT_EQ(unlisted.format, 8);
    EXPECT_EQ(unlisted.displayForm, FormatRingText(8, "XYZ", "05", "", "1234567", "M"));
    EXPECT_EQ(unlisted.templateForm, "XYZ  1234567 05M");
    EXPECT_EQ(RefreshRingPreviews({"B", "05", "", "1234567", "M"}, 8).format, 0);
}

TEST(RingEntry, YearIsCompletedAndCheckedOnLeaving) {
    EXPECT_EQ(NormaliseYear("5", 2024), "05");
    EXPECT_EQ(NormaliseYear("005", 2024), "2005");
    EXPECT_EQ(NormaliseYear("  ", 2024), "24");
    EXPECT_EQ(NormaliseYear("", 2007), "07");
    EXPECT_EQ(NormaliseYear(" 2005 ", 2024), "2005");
    EXPECT_EQ(DefaultYearText(2030), "30");
    for (const char* year : {"98", "99", "00", "29", "1998", "2029", "2005"}) EXPECT_TRUE(IsAcceptedYear(year)) << year;
    for (const char* year : {"97", "1997", "30", "2030", "0005", "5", "", "2x05"}) EXPECT_FALSE(IsAcceptedYear(year)) << year;
}

TEST(RingEntry, OrganisationAndRingNumberCutEachOther) {
    EXPECT_EQ(LeaveOrganisationField("dv", "815", "").organisation, "0815");
    EXPECT_EQ(LeaveOrganisationField("D", "", "").organisation, "0");
    EXPECT_EQ(LeaveOrganisationField("DV", "0815", "").organisation, "0815");
    EXPECT_EQ(LeaveOrganisationField("NL", "abc", "").organisation, "ABC");
    EXPECT_EQ(LeaveOrganisationField("GB", "ABC", "12345678").ringNumber, "345678");
    EXPECT_EQ(LeaveOrganisationField("GB", "ABCD", "1234567").ringNumber, "234567");
    EXPECT_EQ(LeaveOrganisationField("A", "ABCDE", "12345").ringNumber, "2345");
    EXPECT_EQ(LeaveOrganisationField("A", "ABCDE", "1234").ringNumber, "1234");
    EXPECT_EQ(LeaveOrganisationField("B", "AB", "1234567").ringNumber, "1234567");

    EXPECT_EQ(OrganisationAfterRingNumber("ABCDE", "1234"), "ABCDE");
    EXPECT_EQ(OrganisationAfterRingNumber("ABCDE", "12345"), "ABCD");
    EXPECT_EQ(OrganisationAfterRingNumber("ABCDE", "1234567"), "AB");
    EXPECT_EQ(OrganisationAfterRingNumber("ABCDE", ""), "ABCDE");
}

TEST(RingEntry, AddFitsOrganisationAndNumberToTheFormat) {
    const RingParts nl = NormaliseRingForAdd({"NL", "05", "XY", "1234567", "M"}, 0);
    EXPECT_EQ(nl.organisation, "");
    EXPECT_EQ(nl.ringNumber, "1234567");
    const RingParts d = NormaliseRingForAdd({"D", "05", "815", "12", "M"}, 1);
    EXPECT_EQ(d.organisation, "0815 ");
    EXPECT_EQ(d.ringNumber, "  12");
    const RingParts gb = NormaliseRingForAdd({"GB", "05", "ABC", "1234567", ""}, 2);
    EXPECT_EQ(gb.organisation, "ABC ");
    EXPECT_EQ(gb.ringNumber, "234567");
    EXPECT_EQ(NormaliseRingForAdd({"CHN", "05", "ABCDE", "1", ""}, 10).organisation, "AB");
}

TEST(RingEntry, KeyFiltersPerPart) {
    EXPECT_EQ(FilterRingKey(RingPart::Nation, 'a'), 'A');
    EXPECT_FALSE(FilterRingKey(RingPart::Nation, '1'));
    EXPECT_FALSE(FilterRingKey(RingPart::Nation, ' '));
    EXPECT_FALSE(FilterRingKey(RingPart::Nation, static_cast<char>(0xE4)));
    EXPECT_EQ(FilterRingKey(RingPart::Year, '7'), '7');
    EXPECT_FALSE(FilterRingKey(RingPart::Year, 'a'));
    EXPECT_EQ(FilterRingKey(RingPart::Organisation, 'z'), 'Z');
    EXPECT_EQ(FilterRingKey(RingPart::Organisation, ' '), ' ');
    EXPECT_FALSE(FilterRingKey(RingPart::Organisation, '-'));
    EXPECT_EQ(FilterRingKey(RingPart::RingNumber, ' '), ' ');
    EXPECT_FALSE(FilterRingKey(RingPart::RingNumber, 'A'));
    for (const RingPart part : {RingPart::Nation, RingPart::Year, RingPart::Organisation, RingPart::RingNumber})
        EXPECT_EQ(FilterRingKey(part, kBackspaceKey), kBackspaceKey);

    EXPECT_EQ(FilterRingText(RingPart::Nation, "nl-b\be"), "NLBE");
    EXPECT_EQ(FilterRingText(RingPart::Nation, "abcdefgh"), "ABCDEF");
    EXPECT_EQ(FilterRingText(RingPart::RingNumber, "12a3 456789"), "123 456");
    EXPECT_TRUE(IsValidRingPartText(RingPart::Nation, "NL"));
    EXPECT_FALSE(IsValidRingPartText(RingPart::Nation, "nl"));
    EXPECT_FALSE(IsValidRingPartText(RingPart::Nation, "NLNLNLN"));
    EXPECT_EQ(RingPartMaxLength(RingPart::Organisation), 5U);
}

} // namespace
} // namespace plumet
