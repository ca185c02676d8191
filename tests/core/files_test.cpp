// Reading and saving files, the folder lock, Windows-1252 names and the program folder's settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>
#include <thread>

#include <unistd.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#endif

#include "core/app/cp1252.h"
#include "core/app/files.h"
#include "core/app/folderlock.h"
#include "core/app/options.h"
#include "testfolder.h"

namespace plumet {
namespace {

TEST(Files, LinesEndAnyWayAndNamesResolveInAnyCaseKeepingANewSpelling) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n\r\n"), (std::vector<std::string>{"a", "b", "c", "d", ""}));
    TestFolder folder;
    folder.Write("Club/CLUB.DAT", "x");
    folder.Write("Club/club.dat.bak", "x");
    // Each row: a name as a register or exchange file gives it | where it resolves.
    for (const auto& row : TableCells("files/resolve.txt"))
        EXPECT_EQ(ResolvePath(folder.path(), row[0]), folder.path() / Path(row[1])) << row[0];
}

// Only a file that does not exist is missing; whatever else keeps it from being read says why.
TEST(ReadWholeFile, TellsAMissingFileFromOneThatCannotBeRead) {
    TestFolder folder;
    folder.Write("plain", "x");
    std::filesystem::create_directory(folder.path() / "folder");
    struct Case { const char* name; ReadStatus status; FileReason reason; };
    std::vector<Case> cases = {{"plain", ReadStatus::Ok, FileReason::None},
                               {"none", ReadStatus::Missing, FileReason::None},
                               {"folder", ReadStatus::Unreadable, FileReason::Folder}};
#ifndef _WIN32 // links and pipes need rights or do not exist there
    std::filesystem::create_symlink(folder.path() / "loop", folder.path() / "loop");
    ::mkfifo((folder.path() / "pipe").c_str(), 0600);
    cases.insert(cases.end(), {{"loop", ReadStatus::Unreadable, FileReason::LinkLoop},
                               {"pipe", ReadStatus::Unreadable, FileReason::NotAFile},
                               {"plain/x", ReadStatus::Unreadable, FileReason::Other}});
#endif
    for (const auto& c : cases) {
        const FileContent content = ReadWholeFile(folder.path() / c.name);
        EXPECT_EQ(content.status, c.status) << c.name;
        EXPECT_EQ(content.problem.reason, c.reason) << c.name;
    }
#ifndef _WIN32
    EXPECT_EQ(ReasonText(ReadWholeFile(folder.path() / "loop").problem), "it is a link that leads round in a circle");
    if (::geteuid() == 0) return; // root reads anything
    ::chmod((folder.path() / "plain").c_str(), 0);
    EXPECT_EQ(ReadWholeFile(folder.path() / "plain").problem.reason, FileReason::NoPermission);
#endif
}

// A missing golden file, or a golden table without rows, fails the test, naming the file.
TEST(GoldenData, AMissingFileOrATableWithoutRowsFailsNamingTheFile) {
    EXPECT_THROW(TableRows("race/flighttimes.txt", 1000), std::runtime_error);
    std::string said = "a missing file passed";
    try { TestData("race/none.txt"); } catch (const std::runtime_error& e) { said = e.what(); }
    EXPECT_EQ(said, "missing golden file " + (Path(PLUMET_TEST_DATA) / "race/none.txt").string());
}

TEST(SaveFileAtomically, ReplacesWholeOrKeepsTheOldFileAndSaysWhyLeavingNoTemporary) {
    TestFolder folder;
    const Path target = folder.path() / "f.dat";
    ASSERT_TRUE(SaveLines(target, {" 1 ", "abc"}));
    EXPECT_EQ(folder.Read("f.dat"), " 1 \r\nabc\r\n");
    const SaveResult result = WithFailingSaves([&] { return SaveFileAtomically(target, "new"); });
    EXPECT_TRUE(!result.ok && result.error.find("f.dat") != std::string::npos) << result.error;
    EXPECT_EQ(folder.Read("f.dat"), " 1 \r\nabc\r\n");
    EXPECT_EQ(folder.EntryCount(), 1U);
    EXPECT_FALSE(SaveFileAtomically(folder.path() / "missing" / "x.dat", "x").ok);
    // The system's reason reaches the user, at every step; a content that did not reach the
    // disk (its flush failed) never replaces the old file either.
    for (const SaveStage stage : {SaveStage::Write, SaveStage::Flush, SaveStage::Replace}) {
        const SaveFault full([](const Path&) { return true; }, stage, FileReason::DiskFull);
        const SaveResult failed = SaveFileAtomically(target, "new");
        EXPECT_TRUE(failed.reason == FileReason::DiskFull && failed.error.find("the disk is full") != std::string::npos)
            << failed.error;
        EXPECT_EQ(folder.Read("f.dat") + std::to_string(folder.EntryCount()), " 1 \r\nabc\r\n1");
    }
    // Replacing through another spelling keeps the file's own.
    ASSERT_TRUE(SaveFileAtomically(ResolvePath(folder.path(), "F.DAT"), "replaced"));
    EXPECT_TRUE(folder.HasEntryNamed("f.dat"));
    EXPECT_EQ(folder.Read("f.dat") + std::to_string(folder.EntryCount()), "replaced1");
}

// Two writers of one file each write a temporary file of their own, so the file is always one
// writer's whole content, never a mix of both.
TEST(SaveFileAtomically, TwoWritersAtOnceNeverMixTheirContent) {
    TestFolder folder;
    const Path target = folder.path() / "p.dat";
    const std::string contents[] = {std::string(70000, 'a'), std::string(50000, 'b')};
    std::vector<std::thread> writers;
    for (const std::string& content : contents)
        writers.emplace_back([&target, &content] {
            for (int i = 0; i < 150; ++i) ASSERT_TRUE(SaveFileAtomically(target, content));
        });
    for (int i = 0; i < 300; ++i) {
        const std::string now = ReadWholeFile(target).bytes;
        EXPECT_TRUE(now.empty() || now == contents[0] || now == contents[1]) << now.size();
    }
    for (auto& writer : writers) writer.join();
    EXPECT_EQ(folder.EntryCount(), 1U);
}

TEST(Files, Windows1252NamesAreSavedFoundAndListedAsTheirOwnCharacters) {
    TestFolder folder;
    std::filesystem::create_directory(folder.path() / NamePath("J\xFCrgen"));
    const std::string name = "M\xFCnster \x80.flt"; // u umlaut, euro sign
    const Path target = ResolvePath(folder.path(), "j\xFCrgen\\" + name);
    ASSERT_TRUE(SaveFileAtomically(target, "x"));
    EXPECT_EQ(ResolvePath(folder.path(), "J\xFCRGEN\\m\xFCNSTER \x80.FLT"), target);
    const Path listed = std::filesystem::directory_iterator(target.parent_path())->path();
    EXPECT_EQ(NameOf(listed.parent_path()) + "/" + NameOf(listed), "J\xFCrgen/" + name);
#ifdef _WIN32
    EXPECT_EQ(listed.filename().u8string(), u8"M\u00FCnster \u20AC.flt");
#endif
}

TEST(SaveFilesTogether, AFolderWhereAFileShouldGoIsFoundBeforeAnythingIsReplaced) {
    TestFolder folder;
    folder.Write("a/one.dat", "old one");
    std::filesystem::create_directories(folder.path() / "b" / "two.dat");
    const std::vector<FileToSave> files = {{folder.path() / "a" / "one.dat", "new one"},
                                           {folder.path() / "b" / "two.dat", "new two"}};
    EXPECT_FALSE(SaveFilesTogether(folder.path(), files).ok);
    EXPECT_EQ(folder.Read("a/one.dat"), "old one");
    std::filesystem::remove(folder.path() / "b" / "two.dat");
    ASSERT_TRUE(SaveFilesTogether(folder.path(), files).ok);
    EXPECT_EQ(folder.Read("a/one.dat") + folder.Read("b/two.dat"), "new onenew two");
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(folder.path()), {}), 4); // no temporary
}

// 500 files: whatever step fails part-way, every file is as it was and nothing is left over;
// a crash part-way is completed by the next writer.
class FiveHundredFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("gone.dat", "to be removed");
        files = {{folder.path() / "pigeon" / "added.dat", "added"}, {folder.path() / "gone.dat", {}, true}};
        for (int i = 0; i < 500; ++i) {
            folder.Write(Name(i), "old " + std::to_string(i));
            files.push_back({folder.path() / Name(i), "new " + std::to_string(i)});
        }
        before = after = Files();
        for (int i = 0; i < 500; ++i) after[Name(i)] = "new " + std::to_string(i);
        after.erase("gone.dat"), after["pigeon/added.dat"] = "added";
    }
    void Crash() {
        const SaveFault crash(SavesOf(Name(250).substr(7)), SaveStage::Crash);
        EXPECT_FALSE(SaveFilesTogether(folder.path(), files));
        EXPECT_TRUE(Files() != before && Files() != after);
    }
    static std::string Name(int i) { return "pigeon/p" + std::to_string(100000 + i) + ".dat"; }
    // Windows keeps the emptied lock file rather than remove a file another may hold open.
    std::map<std::string, std::string> Files() const {
        auto now = folder.Snapshot();
        now.erase(kWriteLockFileName);
        return now;
    }
    TestFolder folder;
    std::vector<FileToSave> files;
    std::map<std::string, std::string> before, after;
};

TEST_F(FiveHundredFiles, AFailurePartWayPutsBackEveryFileAlreadyReplaced) {
    const std::string failing = Name(250).substr(7);
    for (const SaveStage stage : {SaveStage::Write, SaveStage::Replace}) {
        const SaveFault fault(SavesOf(failing), stage, FileReason::NoPermission);
        const SaveResult saved = SaveFilesTogether(folder.path(), files);
        EXPECT_FALSE(saved.ok || saved.error.find(failing) == std::string::npos ||
                     saved.error.find("permission denied") == std::string::npos) << saved.error;
        EXPECT_EQ(Files(), before);
    }
    ASSERT_TRUE(SaveFilesTogether(folder.path(), files));
    EXPECT_EQ(Files(), after);
}

// A recovery blocked both ways (folders where a replaced and a pending file belong) keeps its
// journal and every copy, however old, refuses writers until they are gone, then undoes all.
TEST_F(FiveHundredFiles, ARecoveryThatCannotPutBackKeepsItsCopiesUntilTheObstacleIsGone) {
    const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (int i = 0; i < 500; ++i) std::filesystem::last_write_time(folder.path() / Name(i), anHourAgo);
    Crash();
    const Path replaced = folder.path() / Name(100), pending = folder.path() / Name(400), aside = folder.path() / "aside";
    std::filesystem::remove(replaced);
    std::filesystem::rename(pending, aside);
    for (const Path& obstacle : {replaced, pending}) std::filesystem::create_directories(obstacle / "x");
    for (int start = 0; start < 2; ++start) {
        const FolderWriteLock lock(folder.path(), "next writer", std::chrono::milliseconds(0));
        EXPECT_FALSE(lock.Held());
        EXPECT_NE(lock.Refusal().find(NameOf(replaced) + " could not be put back"), std::string::npos) << lock.Refusal();
        const std::filesystem::directory_iterator pigeons(folder.path() / "pigeon");
        EXPECT_EQ(std::count_if(begin(pigeons), end(pigeons), [](auto& e) { return e.path().extension() == ".bak"; }), 500);
    }
    for (const Path& obstacle : {replaced, pending}) std::filesystem::remove_all(obstacle);
    std::filesystem::rename(aside, pending);
    ASSERT_TRUE(FolderWriteLock(folder.path(), "next writer", std::chrono::milliseconds(0)).Held());
    EXPECT_TRUE(Files() == before && UnfinishedSaveFiles(folder.path()).empty());
}

#ifndef _WIN32
// How `task` ended in a child process: its exit status, or minus the signal that ended it.
int InChild(const std::function<int()>& task) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(task());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

// A save killed at each step, then the next writer: one version, and no leftover anywhere.
TEST(SaveFilesTogether, AKillAtAnyStepLeavesOneVersionAndNoLeftoverOnceTheNextWriterHasRun) {
    int step = 1;
    for (int ended = -SIGKILL; ended == -SIGKILL; ++step) {
        TestFolder folder, outside;
        folder.Write("a.dat", "old a"), folder.Write("pigeon/gone.dat", "old"), outside.Write("export.csv", "old");
        using Files = std::map<std::string, std::string>;
        const std::pair<Files, Files> before(folder.Files(), outside.Files()),
            after({{"a.dat", "new a"}, {"pigeon/new.dat", "new"}}, {{"export.csv", "new"}});
        ended = InChild([&] {
            ::setenv("PLUMET_TEST_KILL_AT_STEP", std::to_string(step).c_str(), 1);
            const Path& in = folder.path();
            return SaveFilesTogether(in, {{in / "a.dat", "new a"}, {in / "pigeon" / "new.dat", "new"},
                                          {in / "pigeon" / "gone.dat", {}, true}, {outside.path() / "export.csv", "new"}})
                       ? 0 : 1;
        });
        ASSERT_TRUE(ended == 0 || ended == -SIGKILL) << step;
        ASSERT_TRUE(FolderWriteLock(folder.path(), "next writer", std::chrono::milliseconds(0)).Held()) << step;
        const std::pair<Files, Files> now(folder.Files(), outside.Files());
        EXPECT_TRUE(now == before || now == after) << "killed at step " << step;
    }
    EXPECT_GT(step, 12); // every temporary, copy, rename and removal was a step
}

// A file nobody may read is never replaced unseen; a replacement keeps the file's permissions.
TEST(Files, AFileThatCannotBeReadIsNeverReplacedAndAReplacementKeepsItsPermissions) {
    using std::filesystem::perms;
    TestFolder folder;
    const Path kept = folder.path() / "kept.dat", locked = folder.path() / "locked.dat";
    folder.Write("kept.dat", "old"), folder.Write("locked.dat", "old");
    std::filesystem::permissions(kept, perms::owner_read | perms::owner_write | perms::group_read);
    ASSERT_TRUE(SaveFileAtomically(kept, "new") && SaveFilesTogether(folder.path(), {{kept, "newer"}, {locked, "old"}}));
    EXPECT_EQ(std::filesystem::status(kept).permissions(), perms::owner_read | perms::owner_write | perms::group_read);
    std::filesystem::permissions(locked, perms::none);
    std::filesystem::permissions(folder.path(), perms::all);
    const int ended = InChild([&] { // as a user whom permissions bind: root reads anything
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 2;
        const auto refused = [](const SaveResult& r) { return !r && r.error.find("cannot be read") != std::string::npos; };
        return refused(SaveFileAtomically(locked, "new")) && refused(SaveFilesTogether(folder.path(), {{kept, "x"}, {locked, "new"}})) ? 0 : 1;
    });
    if (ended == 2) GTEST_SKIP() << "no user without root's rights to run as";
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(folder.Read("locked.dat") + folder.Read("kept.dat") + std::to_string(folder.EntryCount()), "oldnewer2");
    EXPECT_EQ(std::filesystem::status(locked).permissions(), perms::none);
}
#endif

TEST(FolderWriteLock, OneWriterAtATimeTheSecondIsToldWhoAndACrashedHoldersFileIsTakenOver) {
    TestFolder folder;
    FolderWriteLock first(folder.path(), "plumet-cli readout", std::chrono::milliseconds(0));
    ASSERT_TRUE(first.Held()) << first.Refusal();
    const FolderWriteLock second(folder.path(), "plumet-cli calculate", std::chrono::milliseconds(0));
    EXPECT_FALSE(second.Held());
    EXPECT_NE(second.Refusal().find("plumet-cli readout (process " + std::to_string(::getpid())), std::string::npos)
        << second.Refusal();
    first.Release();
    EXPECT_TRUE(FolderWriteLock(folder.path(), "plumet-cli calculate", std::chrono::milliseconds(0)).Held());
    // What a crashed holder left in the lock file holds nobody up: its lock died with it.
    folder.Write(kWriteLockFileName, "plumet-cli readout\n999999\nelsewhere\n2020-01-01 00:00:00\n");
    const FolderWriteLock taken(folder.path(), "plumet", std::chrono::milliseconds(0));
    EXPECT_TRUE(taken.Held());
    EXPECT_EQ(folder.Read(kWriteLockFileName).rfind("plumet\n" + std::to_string(::getpid()) + "\n", 0), 0U);
}

// A writer that waits gets the folder as soon as the holder lets it go.
TEST(FolderWriteLock, AWaitingWriterTakesTheFolderWhenItIsFree) {
    TestFolder folder;
    auto first = std::make_unique<FolderWriteLock>(folder.path(), "first", std::chrono::milliseconds(0));
    ASSERT_TRUE(first->Held());
    std::thread release([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        first.reset();
    });
    const FolderWriteLock second(folder.path(), "second", kWriteLockWait);
    release.join();
    EXPECT_TRUE(second.Held()) << second.Refusal();
}

TEST(Cp1252, RoundTripsEveryDefinedByteAndRefusesOthers) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC"); // euro sign
    EXPECT_FALSE(Utf8ToCp1252("\xE2\x88\x9A"));       // square root sign
    EXPECT_FALSE(Utf8ToCp1252("\xC3"));               // cut sequence
}

const std::string kRegion = "007North" + std::string(25, ' ');
const std::string kFederation = "003East" + std::string(26, ' ');
const std::string kLines = kRegion + "\r\n" + kFederation + "\r\n";

Settings Example() {
    Settings settings;
    settings.region = kRegion, settings.federation = kFederation, settings.comPort = "2";
    return settings;
}

TEST(EnsureDataFolders, CreatesTheSixLeavesAFileOfTheSameNameAloneAndReportsWhatItCannotCreate) {
    TestFolder folder;
    folder.Write("club", "not a folder");
    folder.Write("RACE/keep.txt", "kept");
    EXPECT_TRUE(EnsureDataFolders(folder.path()).empty() && std::filesystem::is_directory(folder.path() / "pigeon"));
    EXPECT_TRUE(folder.Read("club") == "not a folder" && !folder.HasEntryNamed("race"));
    TestFolder locked;
    using std::filesystem::perms;
    std::filesystem::permissions(locked.path(), perms::owner_read | perms::owner_exec);
    if (!locked.RefusesNewEntries()) return; // root, and Windows, ignore folder permissions
    EXPECT_EQ(EnsureDataFolders(locked.path()).size(), 6U);
}

TEST(Options, WritesTheExampleFileByteForByteAndReadsItAndALongerFileBack) {
    TestFolder folder;
    EXPECT_EQ(ReadOptions(folder.path()).region, "");
    EXPECT_FALSE(folder.Exists("OPTIONS.PAR"));
    Settings settings = Example();
    settings.sizeChoice = "2";
    ASSERT_TRUE(WriteOptions(folder.path(), settings));
    EXPECT_EQ(folder.Read("OPTIONS.PAR"), kLines + "2\r\n2\r\n");
    const Settings back = ReadOptions(folder.path());
    EXPECT_EQ(back.RegionNumber() + back.FederationNumber() + back.comPort, "007032");
    EXPECT_FLOAT_EQ(back.scaleFactor, 1.3F);
    settings.comPort = "0";
    EXPECT_TRUE(back.HasPort() && !settings.HasPort());
    // A longer file gives its first lines, and a size of 7 size 1.
    folder.Write("OPTIONS.PAR", kRegion + "\n" + kFederation + "\n5\n7\nextra\n");
    const Settings seven = ReadOptions(folder.path());
    EXPECT_EQ(seven.comPort + seven.sizeChoice, "57");
    EXPECT_FLOAT_EQ(seven.scaleFactor, 1.0F);
}

// Each damage gives the defaults and says why; nothing of the garbage is used. A folder, a link
// loop or a line of 10 MB in the file's place; the other damages are the files of tests/data/e2e/options.
TEST(Options, ADamagedFileIsReportedAndGivesTheDefaults) {
    for (const auto& c : TableCells("options/damages.txt")) { // the damage | what the start says of it
        TestFolder folder;
        const Path file = folder.path() / "OPTIONS.PAR";
        if (c[0] == "folder") std::filesystem::create_directory(file);
        else if (c[0] == "loop") {
#ifdef _WIN32
            continue; // links need rights there
#endif
            std::filesystem::create_symlink(file, file);
        }
        else if (c[0] == "huge") folder.Write("OPTIONS.PAR", std::string(10 << 20, '7') + "\r\n" + kFederation + "\r\n2\r\n1\r\n");
        else folder.Write("OPTIONS.PAR", TestData("e2e/options/" + c[0] + ".PAR"));
        const Settings settings = ReadOptions(folder.path());
        EXPECT_TRUE(settings.damage.find("OPTIONS.PAR") != std::string::npos &&
                    settings.damage.find(c[1]) != std::string::npos) << c[0] << ": " << settings.damage;
        EXPECT_EQ(SettingsProblem(settings), settings.damage) << c[0];
        EXPECT_EQ(settings.region + settings.federation + settings.comPort + settings.sizeChoice, "1") << c[0];
    }
    TestFolder folder;
    EXPECT_NE(SettingsProblem(ReadOptions(folder.path())).find("region line"), std::string::npos); // none yet
    folder.Write("OPTIONS.PAR", kLines + "2\r\n1\r\n");
    EXPECT_EQ(SettingsProblem(ReadOptions(folder.path())), "");
}

TEST(Options, TheMenusLiveInTheProgramsOwnFileAndStayHiddenUnlessItShowsThem) {
    TestFolder folder;
    Settings settings = Example();
    settings.showRaceEvaluation = true;
    ASSERT_TRUE(WriteOptions(folder.path(), settings));
    EXPECT_EQ(folder.Read("OPTIONS.PAR"), kLines + "2\r\n1\r\n");
    EXPECT_EQ(folder.Read("plumet.ini"), "ShowRaceEvaluation=1\r\nShowTerminalProgramLoad=0\r\n");
    const struct { const char* file; bool race, terminal; } cases[] = {
        {"ShowRaceEvaluation=1\r\nShowTerminalProgramLoad=0\r\n", true, false},
        {"Notes=x\r\n\r\nShowTerminalProgramLoad=1", false, true}};
    std::filesystem::remove(folder.path() / "plumet.ini");
    for (const auto& c : cases) {
        folder.Write("PLUMET.INI", c.file); // any letter case
        const Settings back = ReadOptions(folder.path());
        EXPECT_EQ(std::pair(back.showRaceEvaluation, back.showTerminalProgramLoad), std::pair(c.race, c.terminal)) << c.file;
        EXPECT_EQ(back.programOptionsDamage + back.comPort, "2") << c.file;
    }
    std::filesystem::remove(folder.path() / "PLUMET.INI"), std::filesystem::remove(folder.path() / "OPTIONS.PAR");
    EXPECT_FALSE(ReadOptions(folder.path()).showRaceEvaluation);
}

// Each damaged plumet.ini of tests/data/options (or a folder): what the start says, and saves unseen and seen.
TEST(Options, ADamagedProgramFileIsReportedAndNeverSavedOverUnseen) {
    std::string said;
    for (const std::string name : {"no equals", "control byte", "bad value", "empty lines", "folder"}) {
        TestFolder folder;
        folder.Write("OPTIONS.PAR", kLines + "2\r\n1\r\n");
        const Settings sound = ReadOptions(folder.path());
        if (name == "folder") std::filesystem::create_directory(folder.path() / "plumet.ini");
        else folder.Write("plumet.ini", TestData("options/" + name + ".ini"));
        Settings settings = ReadOptions(folder.path());
        const auto before = folder.Snapshot(); // the menus stay hidden, the clock's settings usable:
        said += name + ": " + settings.programOptionsDamage + SettingsProblem(settings) +
                (settings.showRaceEvaluation || settings.showTerminalProgramLoad ? " SHOWN\n" : "\n") +
                WriteOptions(folder.path(), sound).error + "\n";
        EXPECT_EQ(folder.Snapshot(), before) << name;
        settings.showRaceEvaluation = true;
        said += WriteOptions(folder.path(), settings).error;
        said += folder.Snapshot()["plumet.ini"] + "\n";
    }
    EXPECT_EQ(said, TestData("options/damaged.txt"));
}

// Each row: region number | name | federation number | name | whether the fields may be saved.
TEST(Options, SettingsFieldsNeedEveryFieldAndNumbersInRange) {
    for (const auto& f : TableCells("options/fields.txt"))
        EXPECT_EQ(SettingsFieldsValid(f[0], f[1], f[2], f[3]), f[4] == "valid") << f[0] << "|" << f[2];
}

} // namespace
} // namespace plumet
