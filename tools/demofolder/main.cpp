// plumet-demo-folder: prepares the demo program folder. A folder that the user has changed
// is never touched; one still exactly as written here on an earlier day is written afresh,
// so that its race is today's and a read-out dates the arrivals right.
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "core/app/fixedwidth.h"
#include "core/app/timesource.h"
#include "demofolder.h"

namespace {

using namespace plumet;
using namespace plumet::demo;
namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: plumet-demo-folder [--port DEVICE] [--catalogue FILE] [--date DD.MM.YYYY] FOLDER\n"
    "  --port DEVICE     the clock's port written into OPTIONS.PAR (the simulator's line)\n"
    "  --catalogue FILE  the shipped club.txt to put into the folder\n"
    "  --date D          the day of the race (default: today)\n";

std::optional<DateTime> ParseDay(const std::string& text) {
    const auto part = [&](std::size_t from, std::size_t n) { return ParseInteger(text.substr(from, n)); };
    if (text.size() != 10 || text[2] != '.' || text[5] != '.') return std::nullopt;
    const auto day = part(0, 2), month = part(3, 2), year = part(6, 4);
    if (!day || !month || !year) return std::nullopt;
    const DateTime date = MakeDateTime(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day));
    if (!IsValidDateTime(date)) return std::nullopt;
    return date;
}

// A sibling of the folder, so that renaming it into place stays on one file system.
Path Staging(const Path& folder, const char* purpose) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return folder.parent_path() / ("." + folder.filename().string() + "-" + purpose + "-" + std::to_string(stamp));
}

bool WriteInto(const Path& target, DemoOptions options, const DateTime& day) {
    options.raceDay = day;
    const auto problems = WriteDemoFolder(target, options);
    for (const auto& problem : problems) std::cerr << "plumet-demo-folder: " << problem << "\n";
    return problems.empty();
}

enum class Found { Nothing, Prepared, Changed };

struct Survey {
    Found found = Found::Nothing;
    DateTime day;
};

Survey Look(const Path& folder, const DemoOptions& options) {
    std::error_code error;
    if (!fs::exists(folder, error) || (fs::is_directory(folder, error) && fs::is_empty(folder, error)))
        return {Found::Nothing, {}};
    const std::optional<DateTime> day = PreparedRaceDay(folder);
    if (!day) return {Found::Changed, {}};
    const Path check = Staging(folder, "check");
    const bool same = WriteInto(check, options, *day) && SameFiles(folder, check);
    fs::remove_all(check, error);
    return {same ? Found::Prepared : Found::Changed, *day};
}

// Puts a fully written folder in place of the old one; the old one goes only once the new one is there.
bool Install(const Path& staged, const Path& folder) {
    std::error_code error;
    const Path old = Staging(folder, "old");
    const bool hadOld = fs::exists(folder, error);
    if (hadOld) fs::rename(folder, old, error);
    if (!error) fs::rename(staged, folder, error);
    if (error) {
        std::cerr << "plumet-demo-folder: cannot put the demo folder in place: " << error.message() << "\n";
        std::error_code ignored;
        if (hadOld && !fs::exists(folder, ignored)) fs::rename(old, folder, ignored);
        fs::remove_all(staged, ignored);
        return false;
    }
    if (hadOld) fs::remove_all(old, error);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    DemoOptions options;
    std::optional<Path> folder;
    std::optional<DateTime> raceDay;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--port" || arg == "--catalogue") && i + 1 < argc) {
            (arg == "--port" ? options.port : options.catalogue) = argv[++i];
        } else if (arg == "--date" && i + 1 < argc && (raceDay = ParseDay(argv[i + 1]))) {
            ++i;
        } else if (arg.rfind("--", 0) != 0 && !folder) {
            folder = fs::absolute(arg).lexically_normal();
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (!folder || !folder->has_filename()) {
        std::cerr << kUsage;
        return 2;
    }

    const DateTime now = SystemTimeSource().Now();
    const DateTime wanted = raceDay.value_or(MakeDateTime(now.year, now.month, now.day));
    const Survey survey = Look(*folder, options);
    if (survey.found == Found::Changed) {
        std::cout << "kept " << folder->string() << " as it is: it has been changed since it was prepared\n";
    } else if (survey.found == Found::Prepared && survey.day == wanted) {
        std::cout << "ready " << folder->string() << "\n";
    } else {
        std::error_code error;
        fs::create_directories(folder->parent_path(), error);
        const Path staged = Staging(*folder, "new");
        if (!WriteInto(staged, options, wanted)) {
            fs::remove_all(staged, error);
            return 1;
        }
        if (!Install(staged, *folder)) return 1;
        std::cout << (survey.found == Found::Prepared ? "refreshed " : "prepared ") << folder->string() << "\n";
    }
    if (survey.found != Found::Changed) {
        const DemoRace race = TheDemoRace(wanted);
        std::cout << "race " << race.name << ": club " << race.club << ", week " << race.week << ", release point "
                  << race.releasePoint << "\n";
    }
    return 0;
}
