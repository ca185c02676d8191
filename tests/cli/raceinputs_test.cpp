#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "clitestsupport.h"

namespace {

namespace fs = std::filesystem;

enum class Fault { LinkLoop, Folder, Fifo, NoPermission, CutShort };

// The ordinary files below `folder` with their bytes; a pipe is never opened.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::ifstream in(fs::is_regular_file(entry.symlink_status()) ? entry.path() : fs::path(), std::ios::binary);
        files[entry.path().string()] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    return files;
}

void Spoil(const fs::path& file, Fault fault) {
    if (fault == Fault::NoPermission) return fs::permissions(file, fs::perms::none);
    if (fault == Fault::CutShort) return fs::resize_file(file, fs::file_size(file) / 3);
    fs::remove(file);
    if (fault == Fault::LinkLoop) fs::create_symlink(file.filename(), file);
    if (fault == Fault::Folder) fs::create_directory(file);
    if (fault == Fault::Fifo) ::mkfifo(file.c_str(), 0644);
}

// The command as a user whom a file without permissions stops: root reads every file, so it
// gives up root while the command runs.
int CliWithoutRoot(const QString& folder, const std::vector<std::string>& args, std::string* err) {
    const bool root = ::geteuid() == 0;
    // Its subfolders are open to all already; the folder itself takes the lock file.
    if (root && (fs::permissions(folder.toStdString(), fs::perms::all), ::seteuid(65534) != 0)) return -1;
    const int status = Cli(folder, args, nullptr, err);
    if (root && ::seteuid(0) != 0) std::abort();
    return status;
}

} // namespace

class RaceInputsTest : public QObject {
    Q_OBJECT

private slots:
    // Every file the race evaluation reads, spoilt in every way: the command refuses, naming the
    // file, and no file of the folder changes; an input of the calculation cut short is marked.
    void everyFileTheRaceEvaluationReadsIsRefusedOrMarkedNeverTakenForMissing() {
        // The golden season's folder, and one of a race with manual times and a read-out.
        const struct { const char* layout; std::string file; std::vector<std::string> args; } rows[] = {
            {"raceinputs", "racecalc/Long_Distance 2_wf012.man", {"calculate", "Long_Distance 2"}},
            {"raceinputs", "race/W0120527.d00", {"calculate", "Long_Distance 2"}},
            {"raceinputs", "racecalc/races.dat", {"calculate", "Long_Distance 2"}},
            {"raceinputs", "racecalc/dist007.dat", {"calculate", "Long_Distance 2"}},
            {"season", "racecalc/races.dat", {"results", "Bastogne", "--csv", "out.csv"}},
            {"season", "racecalc/races.dat", {"season", "Season 2024", "--csv", "out.csv"}},
            {"season", "racecalc/Bastogne.flt", {"results", "Bastogne", "--csv", "out.csv"}},
            {"season", "racecalc/Arlon.flt", {"season", "Season 2024", "--csv", "out.csv"}},
            {"season", "racecalc/Season 2024.season", {"results", "Bastogne", "--csv", "out.csv"}},
        };
        QVERIFY(std::size(rows) > 0);
        for (const auto& row : rows) {
            for (const Fault fault : {Fault::LinkLoop, Fault::Folder, Fault::Fifo, Fault::NoPermission, Fault::CutShort}) {
                // A distance table has no count to tell a cut one by.
                if (fault == Fault::CutShort && row.file == "racecalc/dist007.dat") continue;
                const QByteArray what = QByteArray::fromStdString(row.file + ", fault " + std::to_string(static_cast<int>(fault)));
                ProgramFolder folder(row.layout);
                const fs::path root = folder.Path().toStdString();
                Spoil(root / row.file, fault);
                const auto before = Snapshot(root);
                std::vector<std::string> args = row.args;
                if (args.size() > 2) args[3] = (root / args[3]).string();
                std::string err;
                const int status = fault == Fault::NoPermission ? CliWithoutRoot(folder.Path(), args, &err)
                                                                : Cli(folder.Path(), args, nullptr, &err);
                QVERIFY2(err.find(fs::path(row.file).filename().string()) != std::string::npos, what + ": " + err.c_str());
                // A read-out or manual file that ends early is read up to there, and the result says so.
                if (fault == Fault::CutShort && row.layout == std::string("raceinputs") && row.file != "racecalc/races.dat")
                    QVERIFY2(status == 0 && err.find(" ended at line 3, which cannot be read") != std::string::npos, what);
                else
                    QVERIFY2(status == 1 && Snapshot(root) == before, what);
            }
        }
    }

    // The web pages of a list and a season not read whole name the file and the race left out.
    void webPagesOfAListOrSeasonNotReadWholeNameTheFile() {
        ProgramFolder folder("season");
        fs::resize_file(folder.File("racecalc/Bastogne.flt").toStdString(), 300);
        const QString html = folder.File("out.html");
        QCOMPARE(Cli(folder.Path(), {"results", "Bastogne", "--html", html.toStdString()}), 1);
        QVERIFY(ReadFile(html).contains("Bastogne.flt cannot be read: "));
        QCOMPARE(Cli(folder.Path(), {"season", "Season 2024", "--html", html.toStdString()}), 1);
        QVERIFY(ReadFile(html).contains("<p class=\"warning\">Race Bastogne is left out of the standings: "));
    }
};

QTEST_MAIN(RaceInputsTest)
#include "raceinputs_test.moc"
