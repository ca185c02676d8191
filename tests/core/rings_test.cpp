#include <gtest/gtest.h>

#include "core/registers/rings.h"

namespace plumet {
namespace {

TEST(RingForms, DisplayFormOfEveryFormatKeepsItsColumns) {
    const RingParts p{"XX", "2005", "ABCD", "123456", "F"};
    const std::string n = "XX    ";
    const std::vector<std::string> expected = {
        n + "2005" + "   " + " 123456F",   n + "ABCD " + "2005" + " 3456F",      n + "ABCD" + "2005" + "123456F",
        n + "ABCD" + "2005" + "123456F",   n + "2005" + "ABCD" + "123456F",      n + "2005" + "ABC" + " 123456F",
        n + " 123456" + "/2005" + "  F",   n + "ABC" + " 123456" + "2005F",      n + "  " + " 123456" + " 2005F",
        n + "2005" + "AB" + "23456 CDF",   n + "AB" + "2005" + " " + " 123456F",
    };
    for (int format = 0; format < kRingFormatCount; ++format) {
        const std::string text = FormatRingText(format, p);
        EXPECT_EQ(text, expected[static_cast<std::size_t>(format)]) << format;
        EXPECT_EQ(text.size(), kRingTextLength) << format;
    }
    EXPECT_EQ(FormatRingText(11, p), "");
}

TEST(RingForms, DisplayFormReadsStoredRingsAndFormatNineNeverRepeatsTheOrganisation) {
    const std::string stored = "DV      230815       9M";
    EXPECT_EQ(FormatRingText(stored, "01"), std::string("DV    ") + "0815 " + "  23" + " " + "   9M");
    EXPECT_EQ(FormatRingText(stored, "15"), "");
    EXPECT_EQ(FormatRingText(9, "JP", "21", "AB", "12345", "M"), std::string("JP    ") + "  21" + "AB12345" + "   M");
    EXPECT_EQ(FormatRingText(9, "JP", "21", "ABC", "12345", "M"), std::string("JP    ") + "  21" + "AB12345" + " C M");
}

TEST(RingForms, TemplateFormFollowsTheTemplateLetterByLetter) {
    const RingParts p{"XXYYZ", "2005", "ABCDE", "1234567", "F"};
    const std::vector<std::string> expected = {
        "XXYYZ05 1234567F", "XXABCDE 05 4567F", "XXYABCD05234567F", "XXYYABC05234567F",
        "XXY05ABCD234567F", "XXYY05ABC234567F", "XXYYZ1234567/05F", "XXYYAB123456705F",
        "XXYYZ1234567 05F", "XXYY05AB34567CDF", "XXYYAB051234567F",
    };
    for (int format = 0; format < kRingFormatCount; ++format)
        EXPECT_EQ(FormatRingPreview(format, p), expected[static_cast<std::size_t>(format)]) << format;
    EXPECT_EQ(FormatRingPreview(0, "NL", "5", "", "123", "M"), "NL    5     123M");
    EXPECT_EQ(FormatRingPreview(9, "JP", "21", "AB", "12345", "M"), "JP  21AB12345  M");
    EXPECT_EQ(FormatRingPreview(-1, p), "");
}

TEST(RingFormats, ListedNationsBringTheirFormatUnlistedKeepTheChoice) {
    EXPECT_EQ(TestKnownCountry("dv"), 1);
    EXPECT_EQ(TestKnownCountry(" malta "), 3);
    EXPECT_EQ(TestKnownCountry("CHN"), 10);
    EXPECT_EQ(TestKnownCountry("DVX"), -1); // the whole code counts, not a prefix
    EXPECT_EQ(CurrentRingFormat("", 5), 0);
    EXPECT_EQ(CurrentRingFormat("GB", 8), 2);
    const RingPreviews unlisted = RefreshRingPreviews({"XYZ", "05", "", "1234567", "M"}, 8);
    EXPECT_EQ(unlisted.format, 8);
    EXPECT_EQ(unlisted.templateForm, "XYZ  1234567 05M");
    EXPECT_EQ(RefreshRingPreviews({"B", "05", "", "1234567", "M"}, 8).format, 0);
}

TEST(RingEntry, YearIsCompletedAndCheckedOnLeaving) {
    EXPECT_EQ(NormaliseYear("5", 2024), "05");
    EXPECT_EQ(NormaliseYear("005", 2024), "2005");
    EXPECT_EQ(NormaliseYear("  ", 2007), "07");
    for (const char* year : {"98", "99", "00", "29", "1998", "2029"}) EXPECT_TRUE(IsAcceptedYear(year)) << year;
    for (const char* year : {"97", "1997", "30", "2030", "0005", "5", ""}) EXPECT_FALSE(IsAcceptedYear(year)) << year;
}

TEST(RingEntry, OrganisationAndRingNumberCutEachOtherAndTheAddFitsThemToTheFormat) {
    EXPECT_EQ(LeaveOrganisationField("dv", "815", "").organisation, "0815");
    EXPECT_EQ(LeaveOrganisationField("NL", "abc", "").organisation, "ABC");
    EXPECT_EQ(LeaveOrganisationField("GB", "ABC", "12345678").ringNumber, "345678");
    EXPECT_EQ(LeaveOrganisationField("A", "ABCDE", "1234").ringNumber, "1234");
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
