#include <gtest/gtest.h>

#include <fstream>

#include "registers/fanciers.h"
#include "testfolder.h"

namespace plumet {
namespace {

std::string Golden() {
    std::ifstream in(std::string(PLUMET_TEST_DATA) + "/fanciers/f007.DAT", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

FancierFields Fancier(std::string number, std::string name, PositionFields loft, bool manual = false,
                      std::string note = {}) {
    return {std::move(number), std::move(name), std::move(loft), manual, std::move(note)};
}

const PositionFields kMeierLoft = {{"N", "51", "30", "15", "25"}, {"e", "7", "5", "", "0"}};
const PositionFields kSomewhere = {{"N", "50", "0", "0", "0"}, {"E", "6", "0", "0", "0"}};

struct FancierFolder : TestFolder {
    FancierFolder() {
        std::filesystem::create_directories(path() / "fancier");
        std::filesystem::create_directories(path() / "pigeon");
    }
    std::string File() const { return Read("fancier/f007.DAT"); }
};

TEST(Fanciers, FileReadsAndWritesBackByteForByte) {
    TestFolder folder;
    folder.Write("FANCIER/F007.dat", Golden());
    FancierTable table;
    const Path file = FancierFilePath(folder.path(), "007");
    ASSERT_EQ(LoadFanciers(table, file), 3U);
    EXPECT_EQ(LoftLatitudeOf(table.Record(2)), "S05301550");
    EXPECT_EQ(LoftLongitudeOf(table.Record(2)), "W123000000");
    ASSERT_TRUE(SaveFanciers(table, file));
    EXPECT_EQ(folder.Read("FANCIER/F007.dat"), Golden());
    EXPECT_EQ(FancierFilePath(folder.path(), "008").filename(), "f008.DAT");
}

TEST(Fanciers, AddBuildsTheRecordFromTheFields) {
    FancierFolder folder;
    FancierTable table;
    const FancierFields meier = Fancier("1", "Meier", kMeierLoft, true);
    EXPECT_EQ(BuildFancierRecord(FancierFieldsOnSave(meier)),
              "001Meier" + std::string(15, ' ') + "N51301525E0070500001" + std::string(30, ' '));
    const FancierFields others[] = {
        Fancier("255", "Zimmermann", {{"+", "45", "0", "0", "0"}, {"-", "8", "", "", ""}}), meier,
        Fancier("12", "M\xFCller Hans", {{"s", "5", "30", "15", "50"}, {"", "123", "", "", ""}}, false, "Schlag am Bach")};
    for (const auto& fields : others) EXPECT_TRUE(SaveAddedFancier(table, folder.path(), "007", fields).Done());
    EXPECT_EQ(folder.File(), Golden());
}

TEST(Fanciers, AddRefusesWithTheFirstFaultyFieldAndChangesNothing) {
    FancierFolder folder;
    FancierTable table;
    ASSERT_TRUE(SaveAddedFancier(table, folder.path(), "007", Fancier("5", "First", kSomewhere)).Done());
    const std::string before = folder.File();
    auto faulty = [](auto change) {
        FancierFields f = Fancier("6", "Name", kSomewhere);
        change(f);
        return f;
    };
    const std::pair<FancierFields, const char*> refused[] = {
        {faulty([](auto& f) { f.number = "256"; }), "Text1"},
        {faulty([](auto& f) { f.number = ""; }), "Text1"},
        {faulty([](auto& f) { f.number = std::string(20, '9'); }), "Text1"},
        {faulty([](auto& f) { f.name = "  "; }), "Text2"},
        {faulty([](auto& f) { f.loft.latitude.degrees = "90"; }), "Text6"},
        {faulty([](auto& f) { f.loft.latitude.hundredths = "100"; }), "Text9"},
        {faulty([](auto& f) { f.loft.latitude.sign = "X"; }), "Text3"},
        {faulty([](auto& f) { f.loft.longitude.degrees = "180", f.loft.longitude.sign = "N"; }), "Text10"},
        {faulty([](auto& f) { f.loft.longitude.sign = "S"; }), "Text4"},
    };
    for (const auto& [fields, focus] : refused) {
        const ActionResult result = SaveAddedFancier(table, folder.path(), "007", fields);
        EXPECT_EQ(result.message, kFancierInvalidInput) << focus;
        EXPECT_EQ(result.focusField, focus);
    }
    EXPECT_EQ(SaveAddedFancier(table, folder.path(), "007", Fancier("005", "Other", kSomewhere)).message,
              kFancierNumberExists);
    EXPECT_EQ(table.Count(), 1U);
    EXPECT_EQ(folder.File(), before);

    FancierFields blankHemispheres = Fancier("7", "Name", kSomewhere);
    blankHemispheres.loft.latitude.sign = blankHemispheres.loft.longitude.sign = " ";
    ASSERT_TRUE(SaveAddedFancier(table, folder.path(), "007", blankHemispheres).Done());
    EXPECT_EQ(LoftLatitudeOf(table.Record(2)).front(), 'N');
    EXPECT_EQ(LoftLongitudeOf(table.Record(2)).front(), 'W');

    FancierTable full;
    for (int n = 0; n < 250; ++n) InsertFancier(full, ZeroPadded(n, 3) + std::string(70, 'x'));
    EXPECT_EQ(SaveAddedFancier(full, folder.path(), "007", Fancier("", "", {})).message, kFancierRegisterFull);
}

TEST(Fanciers, AlterKeepsOrChangesTheNumberButChecksThePosition) {
    FancierFolder folder;
    folder.Write("fancier/f007.DAT", Golden());
    FancierTable table;
    LoadFanciers(table, FancierFilePath(folder.path(), "007"));
    EXPECT_FALSE(CurrentFancierFields(table, "002"));
    FancierFields meier = *CurrentFancierFields(table, "001");
    EXPECT_EQ(meier, Fancier("001", "Meier", {{"N", "51", "30", "15", "25"}, {"E", "007", "05", "00", "00"}}, true));

    meier.note = "moved";
    EXPECT_TRUE(SaveAlteredFancier(table, folder.path(), "007", "001", meier).Done());
    EXPECT_EQ(TrimBlanks(FancierNoteOf(table.Record(1))), "moved");

    const std::string before = folder.File();
    meier.number = "012";
    EXPECT_EQ(SaveAlteredFancier(table, folder.path(), "007", "001", meier).message, kFancierNumberExists);
    meier.number = "001";
    meier.loft.latitude.degrees = "95";
    EXPECT_EQ(SaveAlteredFancier(table, folder.path(), "007", "001", meier).focusField, "Text6");
    EXPECT_EQ(folder.File(), before);
    EXPECT_EQ(table.Count(), 3U);

    meier.loft.latitude.degrees = "51";
    meier.number = "300"; // above what Add admits
    EXPECT_TRUE(SaveAlteredFancier(table, folder.path(), "007", "001", meier).Done());
    EXPECT_EQ(FancierNumberOf(table.Record(3)), "300");
    EXPECT_EQ(FindFancier(table, "001"), 0U);
}

TEST(Fanciers, DeleteRemovesSelectedFanciersAndTheirPigeonFiles) {
    FancierFolder folder;
    folder.Write("fancier/f007.DAT", Golden());
    for (const char* pigeons : {"pigeon/p007001.dat", "pigeon/P007012.DAT", "pigeon/p007255.dat", "pigeon/p008001.dat"})
        folder.Write(pigeons, " 0 \r\n");
    FancierTable table;
    LoadFanciers(table, FancierFilePath(folder.path(), "007"));
    InsertFancier(table, "300" + std::string(70, ' '));
    ASSERT_TRUE(SaveFanciers(table, FancierFilePath(folder.path(), "007")));

    EXPECT_TRUE(FancierDeleteAsks(3) && !FancierDeleteAsks(1));
    EXPECT_TRUE(DeleteSelectedFanciers(table, folder.path(), "007", {0, 3, 1}).Done());
    ASSERT_EQ(table.Count(), 1U);
    EXPECT_EQ(FancierNumberOf(table.Record(1)), "255");
    EXPECT_EQ(folder.File(), " 1 \r\n" + table.Record(1) + "\r\n");
    EXPECT_FALSE(folder.Exists("pigeon/p007001.dat"));
    EXPECT_FALSE(folder.Exists("pigeon/P007012.DAT"));
    EXPECT_TRUE(folder.Exists("pigeon/p007255.dat"));
    EXPECT_TRUE(folder.Exists("pigeon/p008001.dat"));

    EXPECT_TRUE(DeleteSelectedFanciers(table, folder.path(), "007", {}).Done());
    EXPECT_EQ(folder.File(), " 1 \r\n" + table.Record(1) + "\r\n");
}

TEST(Fanciers, DeleteKeepsPigeonsWhenTheFancierFileIsNotWrittenOrTheNumberIsStillInUse) {
    FancierFolder folder;
    folder.Write("fancier/f007.DAT", Golden());
    folder.Write("pigeon/p007001.dat", " 0 \r\n");
    FancierTable table;
    LoadFanciers(table, FancierFilePath(folder.path(), "007"));

    SetSaveFaultForTests([](const Path&) { return true; });
    const ActionResult failed = DeleteSelectedFanciers(table, folder.path(), "007", {0});
    SetSaveFaultForTests(nullptr);
    EXPECT_FALSE(failed.saved.ok);
    EXPECT_EQ(table.Count(), 3U);
    EXPECT_TRUE(folder.Exists("pigeon/p007001.dat"));

    // Two fanciers under one number: the selected one goes, the shared pigeon file stays.
    InsertFancier(table, "001Second" + std::string(64, ' '));
    ASSERT_EQ(table.Count(), 4U);
    EXPECT_TRUE(DeleteSelectedFanciers(table, folder.path(), "007", {1}).Done());
    EXPECT_EQ(TrimBlanks(FancierNameOf(table.Record(1))), "Meier");
    EXPECT_TRUE(folder.Exists("pigeon/p007001.dat"));
}

TEST(Fanciers, ConfirmationDisplayAndListLines) {
    TextCatalogue catalogue;
    catalogue.LoadFromBytes("frmFancierDelete.MsgBoxName3=Delete\r\nfrmFancierDelete.MsgBoxText3a=Several fanciers "
                            "are selected.\r\nfrmFancierDelete.MsgBoxText3b=Delete them all?\r\n");
    const MessageText question = FancierDeleteConfirmation(catalogue);
    EXPECT_EQ(question.title, "Delete");
    EXPECT_EQ(question.text, "Several fanciers are selected.\nDelete them all?");

    const std::string record = Mid(Golden(), 6 + 75, 5 + 75 + 73); // the second fancier
    EXPECT_FALSE(FancierFieldsForDisplay(record).manualClocking);
    EXPECT_TRUE(ClocksManually(record.substr(0, 42) + "x"));
    EXPECT_EQ(NewFancierFields().loft, (PositionFields{{"N", "00", "00", "00", "00"}, {"W", "000", "00", "00", "00"}}));

    const std::string line = FancierListLine(record);
    EXPECT_EQ(line, "012:     M\xFCller Hans" + std::string(9, ' '));
    EXPECT_EQ(FancierNumberOfListLine(line), "012");
    EXPECT_EQ(FancierNameOfListLine(line), FancierNameOf(record));
}

} // namespace
} // namespace plumet
