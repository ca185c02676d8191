#include <QDir>
#include <QFile>
#include <QTest>
#include <sstream>

#include "cli/cli.h"
#include "uitestsupport.h"

using plumet::ui::test::ProgramFolderFixture;

namespace {

const QByteArray kClubs = " 1 \r\n002Brieftaubenverein M\xFCnster" + QByteArray(5, ' ') + QByteArray(30, ' ') + "\r\n";
const QByteArray kFanciers = " 1 \r\n001Meier" + QByteArray(15, ' ') + "N51301525E0070500001" + QByteArray(30, ' ') + "\r\n";
const QByteArray kPigeons = " 2 \r\nNL      05     1234567M1300000000BLUE00\r\nNL      05     1234568F1300000000    00\r\n";

// A program folder of region 007 and federation 03.
struct Folder : ProgramFolderFixture {
    Folder() { Write("OPTIONS.PAR", "007North" + QByteArray(25, ' ') + "\r\n003East" + QByteArray(26, ' ') + "\r\n\r\n1\r\n"); }
    // Exit status, then what the command printed on standard output or error.
    std::string Cli(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--folder", Path().toStdString()});
        std::ostringstream out;
        std::ostringstream err;
        const int status = plumet::cli::RunCli(args, out, err, false);
        return std::to_string(status) + " " + out.str() + err.str();
    }
};

} // namespace

class ExchangeCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void buildThenReadIntoAnEmptyFolderGivesTheRegistersBack() {
        Folder source;
        source.Write("club/club.dat", kClubs);
        source.Write("fancier/f002.DAT", kFanciers);
        source.Write("pigeon/p002001.dat", kPigeons);
        QCOMPARE(source.Cli({"build-exchange", "fancier"}), std::string("0 Writing the fancier exchange file ... done.\n"));
        QVERIFY(source.Cli({"build-exchange", "loft"}).starts_with("0 "));

        Folder target;
        for (const char* file : {"exchange/S007003.d00", "exchange/T007003.d00"}) target.Write(file, source.Read(file));
        QCOMPARE(target.Cli({"read-exchange", "fancier"}), std::string("0 Reading the fancier exchange file ... done.\n"));
        QVERIFY(target.Cli({"read-exchange", "loft"}).starts_with("0 "));
        QCOMPARE(target.Read("club/club.dat") + target.Read("fancier/f002.DAT") + target.Read("pigeon/p002001.dat"),
                 kClubs + kFanciers + kPigeons);
    }

    void failuresPrintWhatTheWindowWouldSay() {
        Folder folder;
        QVERIFY(folder.Cli({"read-exchange", "loft"})
                    .starts_with("1 The loft exchange file of this region and federation is missing"));
        QVERIFY(QDir(folder.Path() + "/exchange").removeRecursively());
        const std::string failed = folder.Cli({"build-exchange", "loft"});
        QVERIFY(failed.starts_with("1 ") && failed.find("T007003.d00") != std::string::npos);
        QVERIFY(folder.Cli({"build-exchange", "pigeons"}).starts_with("2 "));
    }
};

QTEST_GUILESS_MAIN(ExchangeCommandsTest)
#include "exchangecommands_test.moc"
