#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "app/fixedwidth.h"
#include "cli/cli.h"
#include "race/races.h"

using namespace plumet;
using plumet::cli::RunCli;

class RaceCommandsTest : public QObject {
    Q_OBJECT

    struct Run {
        int status = 0;
        std::string out;
        std::string err;
    };

    static Run Cli(const QTemporaryDir& folder, std::vector<std::string> args) {
        args.insert(args.begin(), {"--folder", folder.path().toStdString()});
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, out, err, false);
        return {status, out.str(), err.str()};
    }

    static void Write(const QTemporaryDir& folder, const QString& relative, const std::string& bytes) {
        QDir(folder.path()).mkpath(QFileInfo(folder.filePath(relative)).path());
        QFile file(folder.filePath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    // Race "Spring 1" on 15 May, club 7, release point 5, one night closed 20:00 to 06:00, and
    // the manual times of fancier 12: one pigeon home the same evening, one the next morning.
    static void SpringRace(const QTemporaryDir& folder) {
        QFile::copy(QString(PLUMET_SOURCE_DIR) + "/data/club.txt", folder.filePath("club.txt"));
        Race race;
        race.name = PadRight("Spring 1", 30);
        race.day = 15;
        race.month = 5;
        race.year = 2024;
        race.clubNumber = 7;
        race.releasePointNumber = 5;
        race.releaseHour = 7;
        race.releaseLatitude = "N50293000";
        race.releaseLongitude = "E005520000";
        race.nights = 1;
        race.overNight = true;
        race.closedFromHour = 20;
        race.closedToHour = 6;
        race.flightWeek = 20;
        Write(folder, "racecalc/races.dat", " 1 \r\n" + RaceToLine(race) + "\r\n");
        const std::string tail = std::string(28, '0') + "BL  01\r\n";
        Write(folder, "racecalc/Spring 1_wf012.man",
              "0150524\r\n1007012002" + PadRight("Meier", 20) + "N51000000E007000000\r\n" +
                  "2007012015050600001605060000060000\r\n" + "3007012DV    2023012340000102M051" + "1505170000" + tail +
                  "3007012DV    2023012340000103M051" + "1605090000" + tail);
    }

private slots:
    void calculatePrintsTheResultWindowAndWritesTheFiles() {
        QTemporaryDir folder;
        SpringRace(folder);
        Run run = Cli(folder, {"calculate", "Spring 1"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.rfind("Error calculating Speed for '", 0) == 0);
        QVERIFY(run.out.find("Race: Spring 1\n") != std::string::npos);
        QVERIFY(run.out.find("Pigeons classified: 2\n") != std::string::npos);
        QVERIFY(run.out.find("\n0001 Meier") != std::string::npos);
        QVERIFY(run.out.find("\n0002 Meier") != std::string::npos);
        QFile result(folder.filePath("racecalc/Spring 1.flt"));
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readLine(), QByteArray(" 2 \r\n"));

        // The stored result prints the same list.
        const Run shown = Cli(folder, {"results", "Spring 1"});
        QCOMPARE(shown.status, 0);
        QCOMPARE(shown.out, run.out);
        QCOMPARE(Cli(folder, {"calculate", "Autumn"}).status, 1);
    }

    void resultsWritesThePrintedPagesAsPdf() {
        QTemporaryDir folder;
        SpringRace(folder);
        Run run = Cli(folder, {"results", "Spring 1", "--pdf", folder.filePath("list.pdf").toStdString()});
        QCOMPARE(run.status, 1); // not calculated yet
        QVERIFY(run.err.find("result") != std::string::npos);

        QCOMPARE(Cli(folder, {"calculate", "Spring 1"}).status, 0);
        run = Cli(folder, {"results", "Spring 1", "--pdf", folder.filePath("list.pdf").toStdString()});
        QCOMPARE(run.status, 0);
        QProcess text;
        text.start("pdftotext", {folder.filePath("list.pdf"), "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
        QVERIFY2(printed.contains("Result list") && printed.contains("0002") && printed.contains("20:00 / 06:00"),
                 qPrintable(printed));
    }
};

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RaceCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "racecommands_test.moc"
