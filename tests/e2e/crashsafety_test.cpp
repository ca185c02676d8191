#include <algorithm>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "e2esupport.h"
#include "loftfolder.h"

using namespace plumet::e2e;

namespace {

constexpr int kClubs = 30;
constexpr int kFanciers = 100; // 3000 pigeon files
constexpr int kKills = 20;

QByteArray Pigeon(int ring, const char* colour) { return "NL      05     " + QByteArray::number(1000000 + ring) + "M1300000000" + colour + "00"; }

// The two versions of every pigeon file, and the loft exchange file that writes each.
const QByteArray kVersions[] = {" 1 \r\n" + Pigeon(1, "BLUE") + "\r\n",
                                " 2 \r\n" + Pigeon(1, "RED ") + "\r\n" + Pigeon(2, "GRIZ") + "\r\n"};

QByteArray ExchangeFile(int version) {
    QByteArray file;
    for (int club = 1; club <= kClubs; ++club)
        for (int fancier = 1; fancier <= kFanciers; ++fancier) {
            const QByteArray loft = "0" + QByteArray::number(club).rightJustified(3, '0') +
                                    QByteArray::number(fancier).rightJustified(3, '0');
            for (const QByteArray& line : kVersions[version].split('\n').mid(1))
                if (line.size() > 1) file += loft + line + "\n";
        }
    return file;
}

} // namespace

class CrashSafetyTest : public QObject {
    Q_OBJECT

private slots:
    void killedLoftExchangeReadsLeaveEveryPigeonFileWhole() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("pigeon");
        QDir(dir.path()).mkpath("exchange");
        WriteFile(dir.filePath("club.txt"), ReadFile(PLUMET_TEST_DATA "/../../data/club.txt"));
        WriteFile(dir.filePath("OPTIONS.PAR"), "007North\r\n003East\r\n\r\n1\r\n");
        const QString exchange = dir.filePath("exchange/T007003.d00");
        const auto checkFiles = [&](int iteration) {
            const QStringList names = QDir(dir.filePath("pigeon")).entryList({"p*.dat"}, QDir::Files);
            QCOMPARE(names.size(), kClubs * kFanciers);
            for (const QString& name : names) {
                const QByteArray bytes = ReadFile(dir.filePath("pigeon/" + name));
                QVERIFY2(bytes == kVersions[0] || bytes == kVersions[1], qPrintable(name + " after run " + QString::number(iteration)));
            }
        };

        const auto checkOneVersion = [&](int iteration) {
            const QByteArray first = ReadFile(dir.filePath("pigeon/p001001.dat"));
            for (const QString& name : QDir(dir.filePath("pigeon")).entryList({"p*.dat"}, QDir::Files))
                QVERIFY2(ReadFile(dir.filePath("pigeon/" + name)) == first, qPrintable(name + " after run " + QString::number(iteration)));
        };

        WriteFile(exchange, ExchangeFile(0));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(RunCli(dir.path(), {"read-exchange", "loft"}).exitCode, 0);
        int fullRun = static_cast<int>(timer.elapsed());
        checkFiles(0);

        // A moment after a read has ended kills nothing; the next moments are then drawn from
        // the shorter time that read took, so every test run makes its kills.
        int killed = 0;
        int run = 1;
        int version = 0;
        for (; killed < kKills && run <= 3 * kKills; ++run) {
            // The other version than the files hold, so each read has every file to replace.
            version = ReadFile(dir.filePath("pigeon/p001001.dat")) == kVersions[0] ? 1 : 0;
            WriteFile(exchange, ExchangeFile(version));
            QProcess cli;
            timer.start();
            cli.start(PLUMET_CLI, {"--folder", dir.path(), "read-exchange", "loft"});
            QVERIFY(cli.waitForStarted());
            if (cli.waitForFinished(QRandomGenerator::global()->bounded(fullRun + 1))) {
                fullRun = std::min(fullRun, static_cast<int>(timer.elapsed()));
            } else {
                cli.kill(); // SIGKILL
                QVERIFY(cli.waitForFinished());
                ++killed;
            }
            checkFiles(run);
            // The next start completes the read or undoes it: then all files are of one version.
            QCOMPARE(RunCli(dir.path(), {"distance", "N51000000", "E007000000", "N49000000", "E006000000"}).exitCode, 0);
            checkOneVersion(run);
        }
        QCOMPARE(killed, kKills);
        QCOMPARE(RunCli(dir.path(), {"read-exchange", "loft"}).exitCode, 0);
        QCOMPARE(ReadFile(dir.filePath("pigeon/p030100.dat")), kVersions[version]);
        qInfo("%d kills in %d runs, a full read took %d ms at the shortest", killed, run - 1, fullRun);
    }
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "crashsafety_test.moc"
