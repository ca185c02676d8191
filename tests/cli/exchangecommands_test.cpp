#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "clitestsupport.h"

namespace {

// Exit status, then what the command printed on standard output or error.
std::string Said(const ProgramFolder& folder, const std::vector<std::string>& args) {
    std::string out, err;
    const int status = Cli(folder.Path(), args, &out, &err);
    return std::to_string(status) + " " + out + err;
}

} // namespace

class ExchangeCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // Layout "exchange": region 007, federation 003, club 002 with fancier 001 and his pigeons.
    void buildThenReadIntoAnEmptyFolderGivesTheRegistersBack() {
        ProgramFolder source("exchange");
        QCOMPARE(Said(source, {"build-exchange", "fancier"}), std::string("0 Writing the fancier exchange file ... done.\n"));
        QVERIFY(Said(source, {"build-exchange", "loft"}).starts_with("0 "));

        ProgramFolder target;
        for (const char* file : {"OPTIONS.PAR", "exchange/S007003.d00", "exchange/T007003.d00"})
            target.Write(file, source.Read(file));
        QCOMPARE(Said(target, {"read-exchange", "fancier"}), std::string("0 Reading the fancier exchange file ... done.\n"));
        QVERIFY(Said(target, {"read-exchange", "loft"}).starts_with("0 "));
        for (const QString file : {"club/club.dat", "fancier/f002.DAT", "pigeon/p002001.dat"})
            QCOMPARE(target.Read(file), Golden("folders/exchange/" + file));
    }

    void failuresPrintWhatTheWindowWouldSay() {
        ProgramFolder folder;
        folder.Copy("folders/exchange/OPTIONS.PAR", "OPTIONS.PAR");
        QVERIFY(Said(folder, {"read-exchange", "loft"})
                    .starts_with("1 The loft exchange file of this region and federation is missing"));
        QVERIFY(QDir(folder.File("exchange")).removeRecursively());
        const std::string failed = Said(folder, {"build-exchange", "loft"});
        QVERIFY(failed.starts_with("1 ") && failed.find("T007003.d00") != std::string::npos);
        QVERIFY(Said(folder, {"build-exchange", "pigeons"}).starts_with("2 "));
    }

    // Run as a user whom permissions bind (root reads anything): a file that cannot be read is
    // refused, never replaced unseen.
    void aFileWithoutReadPermissionIsNotReplacedByTheCommandsThatReplaceIt() {
        namespace fs = std::filesystem;
        const struct { const char* layout; std::vector<std::string> command; const char* file; } cases[] = {
            {"exchange", {"read-exchange", "loft"}, "pigeon/p002001.dat"},
            {"", {"calculate", "Long_Distance 2"}, "racecalc/Long_Distance 2.flt"},
        };
        for (const auto& c : cases) {
            ProgramFolder folder(c.layout);
            if (c.command[0] == "calculate") {
                folder.Copy("race/races.dat", "racecalc/races.dat");
                folder.Copy("cli/Long_Distance 2_wf012.man", "racecalc/Long_Distance 2_wf012.man");
                QCOMPARE(Cli(folder.Path(), c.command), 0);
            } else {
                QVERIFY(Said(folder, {"build-exchange", "loft"}).starts_with("0 "));
                folder.Write(c.file, folder.Read(c.file) + "x");
            }
            const QByteArray before = folder.Read(c.file);
            const fs::path root = folder.Path().toStdString();
            fs::permissions(root, fs::perms::all);
            for (const auto& entry : fs::recursive_directory_iterator(root))
                if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::all);
            fs::permissions(root / c.file, fs::perms::none);
            const pid_t child = ::fork();
            if (child == 0) {
                if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
                std::string err;
                const int status = Cli(folder.Path(), c.command, nullptr, &err);
                ::_exit(status == 1 && err.find("cannot be read") != std::string::npos ? 0 : 3);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            if (WIFEXITED(status) && WEXITSTATUS(status) == 2) QSKIP("no user without root's rights to run as");
            QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, c.file);
            QCOMPARE(fs::status(root / c.file).permissions(), fs::perms::none);
            fs::permissions(root / c.file, fs::perms::owner_read);
            QCOMPARE(folder.Read(c.file), before);
        }
    }
};

QTEST_MAIN(ExchangeCommandsTest)
#include "exchangecommands_test.moc"
