#include <gtest/gtest.h>

#include <functional>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "core/clock/racedataget.h"
#include "core/exchange/exchangefile.h"
#include "core/race/distances.h"
#include "core/race/manualtimes.h"
#include "core/race/races.h"
#include "core/race/xmlexport.h"
#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"
#include "core/releasepoints/releasepoints.h"
#include "exchangetestdata.h"

// A program folder that cannot be written, and a write that fails: each task says why, and
// no file of the folder changes.
namespace plumet {
namespace {

using namespace exchangetest;
namespace fs = std::filesystem;

// Every folder of the tree without write permission; for root, whom that does not stop, also
// immutable where the file system allows it.
class ReadOnlyTree {
public:
    explicit ReadOnlyTree(const Path& root) : folders_{root} {
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_directory()) folders_.push_back(entry.path());
        for (const Path& folder : folders_) Protect(folder, true);
    }
    ~ReadOnlyTree() {
        for (const Path& folder : folders_) Protect(folder, false);
    }

private:
    static void Protect(const Path& folder, bool on) {
        if (on) fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                                fs::perm_options::remove);
#ifdef __linux__
        const int fd = ::geteuid() == 0 ? ::open(folder.c_str(), O_RDONLY | O_DIRECTORY) : -1;
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0) ::close(fd);
#endif
        if (!on) fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    }
    std::vector<Path> folders_;
};

// The exchange test installation with both exchange files (the loft file with a loft the
// installation lacks), a release point register, races, distances, a manual clock-time file, a
// read-out file and the options.
struct FullInstallation : TestInstallation {
    FullInstallation() { CopyData("diskfaults"); }
};

struct Task {
    const char* name;
    std::function<SaveResult(const Path&)> run;
};

SaveResult Failed(const ExchangeOutcome& outcome) { return {outcome.Ok(), outcome.error}; }

const std::vector<Task> kTasks = {
    {"club register", [](const Path& f) { ClubTable t; LoadClubs(t, ClubFilePath(f)); return SaveClubs(t, ClubFilePath(f)); }},
    {"fancier register", [](const Path& f) { FancierTable t; LoadFanciers(t, FancierFilePath(f, "002")); return SaveFanciers(t, FancierFilePath(f, "002")); }},
    {"pigeon register", [](const Path& f) { PigeonTable t; LoadPigeons(t, PigeonFilePath(f, 2, 1)); return SavePigeons(t, PigeonFilePath(f, 2, 1)); }},
    {"release points", [](const Path& f) { RacePointTable t; LoadRacePoints(t, RacePointFilePath(f)); return SaveRacePoints(t, RacePointFilePath(f)); }},
    {"options", [](const Path& f) { return WriteOptions(f, TestSettings()); }},
    {"fancier exchange read", [](const Path& f) { return Failed(ReadExchange(ExchangeKind::Fancier, f, TestSettings(), TestSexes())); }},
    {"loft exchange read", [](const Path& f) { return Failed(ReadExchange(ExchangeKind::Loft, f, TestSettings(), TestSexes())); }},
    {"loft exchange build", [](const Path& f) { return Failed(BuildExchange(ExchangeKind::Loft, f, TestSettings())); }},
    {"race deleted", [](const Path& f) { RaceList races = LoadRaces(f); return DeleteRace(races, f, 1); }},
    {"distances", [](const Path& f) { DistanceTable t; LoadDistanceTable(t, f, 7); return SaveDistanceTable(t, f, 7, {1, 2}, {5}, '.'); }},
    {"manual clock times", [](const Path& f) {
         Race race;
         race.name = PadRight("Spring 1", 30);
         ManualLoft loft;
         loft.fancierNumber = "012";
         loft.timer = {14, 5, 18, 0, 0, 16, 5, 20, 0, 0, 20, 0, 5}; // kept
         return ApplyManualSaveRule(f, race, loft);
     }},
    {"read-out", [](const Path& f) {
         ClockRacedata data;
         data.header[0] = 7, data.header[1] = 3, data.header[2] = 2, data.header[3] = 1;
         const RacedataTarget target{f, TestSettings(), {"00", "23", "02", "06", "24"}, {"M", "F", "U"}};
         const RacedataOutcome out = StoreRacedata(data, target, nullptr);
         return SaveResult{out.result == RacedataResult::Saved, out.error};
     }},
    {"read-out copy", [](const Path& f) { return StoreReadoutCopy(LoadReadoutFile(f / "race" / "W0070323.d00").lines, f / "exchange", "W0070323.d00"); }},
    {"XML export", [](const Path& f) { return WExportXML(f / "race" / "W0070323.d00", f / "race" / "W0070323_00.xml", FixedUtcOffset(120)); }},
};

void ExpectFailsAndChangesNothing(const Task& task, const TestFolder& folder) {
    const auto before = folder.Snapshot();
    const SaveResult result = task.run(folder.path());
    EXPECT_FALSE(result.ok || result.error.empty()) << task.name;
    EXPECT_EQ(folder.Snapshot(), before) << task.name;
}

TEST(DiskFaults, AReadOnlyProgramFolderIsReportedAndKeepsEveryFile) {
    FullInstallation folder;
    for (const Task& task : kTasks) ASSERT_TRUE(task.run(folder.path()).ok) << task.name << " works when it may write";
    FullInstallation readOnly;
    const ReadOnlyTree guard(readOnly.path());
    if (!readOnly.RefusesNewEntries()) GTEST_SKIP() << "the folder stays writable here";
    for (const Task& task : kTasks) ExpectFailsAndChangesNothing(task, readOnly);
}

TEST(DiskFaults, AFailingWriteIsReportedAndKeepsEveryFile) {
    FullInstallation folder;
    const SaveFault fault;
    for (const Task& task : kTasks) ExpectFailsAndChangesNothing(task, folder);
}

} // namespace
} // namespace plumet
