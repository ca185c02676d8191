#include <gtest/gtest.h>

#include "core/registers/rings.h"
#include "testfolder.h"

namespace plumet {
namespace {

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
