#include <gtest/gtest.h>

#include "core/registers/fanciers.h"
#include "testfolder.h"

namespace plumet {
namespace {

const std::string kGolden = TestData("fanciers/f007.DAT");
const PositionFields kMeierLoft = {{"N", "51", "30", "15", "25"}, {"e", "7", "5", "", "0"}};
const PositionFields kSomewhere = {{"N", "50", "0", "0", "0"}, {"E", "6", "0", "0", "0"}};

struct FancierFolder : TestFolder {
    FancierTable table;
    explicit FancierFolder(const std::string& bytes = kGolden) {
        Write("fancier/f007.DAT", bytes);
        std::filesystem::create_directories(path() / "pigeon");
        LoadFanciers(table, FancierFilePath(path(), "007"));
    }
    std::string File() const { return Read("fancier/f007.DAT"); }
    ActionResult Add(const FancierFields& fields) { return SaveAddedFancier(table, path(), "007", fields); }
};

TEST(Fanciers, TheGoldenFileIsBuiltByAddAndReadBackByteForByte) {
    const FancierFields meier{"1", "Meier", kMeierLoft, true, ""};
    FancierFolder added(" 0 \r\n");
    for (const auto& fields :
         {FancierFields{"255", "Zimmermann", {{"+", "45", "0", "0", "0"}, {"-", "8", "", "", ""}}, false, ""}, meier,
          FancierFields{"12", "M\xFCller Hans", {{"s", "5", "30", "15", "50"}, {"", "123", "", "", ""}}, false,
                        "Schlag am Bach"}})
        EXPECT_TRUE(added.Add(fields).Done());
    EXPECT_EQ(added.File(), kGolden);

    TestFolder folder;
    folder.Write("FANCIER/F007.dat", kGolden);
    FancierTable table;
    ASSERT_EQ(LoadFanciers(table, FancierFilePath(folder.path(), "007")), 3U);
    ASSERT_TRUE(SaveFanciers(table, FancierFilePath(folder.path(), "007")));
    EXPECT_EQ(folder.Read("FANCIER/F007.dat"), kGolden);
}

TEST(Fanciers, AddRefusesWithTheFirstFaultyFieldAndBlankHemispheresBecomeNorthAndWest) {
    FancierFolder folder;
    const std::pair<FancierFields, const char*> refused[] = {
        {{"256", "Name", kSomewhere, false, ""}, "Text1"},
        {{"6", "  ", kSomewhere, false, ""}, "Text2"},
        {{"6", "Name", {{"N", "50", "0", "0", "100"}, kSomewhere.longitude}, false, ""}, "Text9"},
        {{"6", "Name", {{"X", "50", "0", "0", "0"}, kSomewhere.longitude}, false, ""}, "Text3"},
        {{"6", "Name", {kSomewhere.latitude, {"N", "180", "0", "0", "0"}}, false, ""}, "Text10"},
    };
    for (const auto& [fields, focus] : refused) {
        const ActionResult result = folder.Add(fields);
        EXPECT_TRUE(result.message == kFancierInvalidInput && result.focusField == focus) << focus;
    }
    EXPECT_EQ(folder.Add({"012", "Other", kSomewhere, false, ""}).message, kFancierNumberExists);
    EXPECT_EQ(folder.File(), kGolden);

    FancierFields blank{"7", "Name", kSomewhere, false, ""};
    blank.loft.latitude.sign = blank.loft.longitude.sign = " ";
    ASSERT_TRUE(folder.Add(blank).Done());
    EXPECT_EQ(LoftLatitudeOf(folder.table.Record(2)).substr(0, 1) + LoftLongitudeOf(folder.table.Record(2)).substr(0, 1), "NW");
}

TEST(Fanciers, AlterShowsTheStoredLoftChecksItAndMayMoveTheNumberBeyond255) {
    FancierFolder folder;
    FancierFields meier = *CurrentFancierFields(folder.table, "001");
    EXPECT_EQ(meier, (FancierFields{"001", "Meier", {{"N", "51", "30", "15", "25"}, {"E", "007", "05", "00", "00"}},
                                    true, ""}));
    meier.number = "012";
    EXPECT_EQ(SaveAlteredFancier(folder.table, folder.path(), "007", "001", meier).message, kFancierNumberExists);
    meier.number = "001";
    meier.loft.latitude.degrees = "95";
    EXPECT_EQ(SaveAlteredFancier(folder.table, folder.path(), "007", "001", meier).focusField, "Text6");
    EXPECT_EQ(folder.File(), kGolden);
    meier.loft.latitude.degrees = "51";
    meier.number = "300";
    folder.Write("pigeon/p007001.dat", "garbled");
    EXPECT_EQ(SaveAlteredFancier(folder.table, folder.path(), "007", "001", meier).message,
              kFancierFilesUnderOldNumber);
    folder.Write("pigeon/p007001.dat", " 0 \r\n");
    EXPECT_TRUE(SaveAlteredFancier(folder.table, folder.path(), "007", "001", meier).Done());
    EXPECT_EQ(FancierNumberOf(folder.table.Record(3)), "300");
}

TEST(Fanciers, DeleteRemovesTheSelectedFanciersAndOnlyTheirPigeonFiles) {
    FancierFolder folder;
    for (const char* pigeons : {"pigeon/p007001.dat", "pigeon/P007012.DAT", "pigeon/p007255.dat", "pigeon/p008001.dat"})
        folder.Write(pigeons, " 0 \r\n");
    EXPECT_TRUE(DeleteSelectedFanciers(folder.table, folder.path(), "007", {0, 1}).Done());
    EXPECT_EQ(folder.File(), " 1 \r\n" + folder.table.Record(1) + "\r\n");
    EXPECT_FALSE(folder.Exists("pigeon/p007001.dat") || folder.Exists("pigeon/P007012.DAT"));
    EXPECT_TRUE(folder.Exists("pigeon/p007255.dat") && folder.Exists("pigeon/p008001.dat"));
}

TEST(Fanciers, DeleteKeepsPigeonsWhenTheFileIsNotWrittenOrTheNumberIsStillInUse) {
    FancierFolder folder;
    folder.Write("pigeon/p007001.dat", " 0 \r\n");
    EXPECT_FALSE(
        WithFailingSaves([&] { return DeleteSelectedFanciers(folder.table, folder.path(), "007", {0}); }).saved.ok);
    EXPECT_TRUE(folder.table.Count() == 3U && folder.Exists("pigeon/p007001.dat"));

    InsertFancier(folder.table, "001Second" + std::string(64, ' ')); // two fanciers under one number
    EXPECT_TRUE(DeleteSelectedFanciers(folder.table, folder.path(), "007", {1}).Done());
    EXPECT_TRUE(TrimBlanks(FancierNameOf(folder.table.Record(1))) == "Meier" && folder.Exists("pigeon/p007001.dat"));
}

} // namespace
} // namespace plumet
