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

        WriteFile(exchange, ExchangeFile(0));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(RunCli(dir.path(), {"read-exchange", "loft"}).exitCode, 0);
        const int fullRun = static_cast<int>(timer.elapsed());
        checkFiles(0);

        int killed = 0;
        for (int run = 1; run <= kKills; ++run) {
            WriteFile(exchange, ExchangeFile(run % 2));
            QProcess cli;
            cli.start(PLUMET_CLI, {"--folder", dir.path(), "read-exchange", "loft"});
            QVERIFY(cli.waitForStarted());
            if (!cli.waitForFinished(QRandomGenerator::global()->bounded(fullRun + 1))) {
                cli.kill(); // SIGKILL
                QVERIFY(cli.waitForFinished());
                ++killed;
            }
            checkFiles(run);
        }
        QCOMPARE(RunCli(dir.path(), {"read-exchange", "loft"}).exitCode, 0);
        QCOMPARE(ReadFile(dir.filePath("pigeon/p030100.dat")), kVersions[kKills % 2]);
        qInfo("%d of %d runs killed, a full read took %d ms", killed, kKills, fullRun);
    }
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "crashsafety_test.moc"
