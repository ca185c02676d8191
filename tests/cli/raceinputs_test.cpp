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
        // Per line of the golden table: layout of the folder (the golden season's, or one of a race with manual
        // times and a read-out), the file spoilt, the command.
        for (const QStringList& row : GoldenTable("cli/raceinputs.txt")) {
            const std::string file = row[1].toStdString();
            for (const Fault fault : {Fault::LinkLoop, Fault::Folder, Fault::Fifo, Fault::NoPermission, Fault::CutShort}) {
                // A distance table has no count to tell a cut one by.
                if (fault == Fault::CutShort && file == "racecalc/dist007.dat") continue;
                const QByteArray what = QByteArray::fromStdString(file + ", fault " + std::to_string(static_cast<int>(fault)));
                ProgramFolder folder(row[0]);
                const fs::path root = folder.Path().toStdString();
                Spoil(root / file, fault);
                const auto before = Snapshot(root);
                std::vector<std::string> args;
                for (const QString& arg : row.mid(2)) args.push_back(arg == "out.csv" ? (root / "out.csv").string() : arg.toStdString());
                std::string err;
                const int status = fault == Fault::NoPermission ? CliWithoutRoot(folder.Path(), args, &err)
                                                                : Cli(folder.Path(), args, nullptr, &err);
                QVERIFY2(err.find(fs::path(file).filename().string()) != std::string::npos, what + ": " + err.c_str());
                // A read-out or manual file that ends early is read up to there, and the result says so.
                if (fault == Fault::CutShort && row[0] == "raceinputs" && file != "racecalc/races.dat")
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
