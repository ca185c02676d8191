#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>

#include "e2esupport.h"

using namespace plumet::e2e;

namespace {

constexpr int kClubs = 30;
constexpr int kFanciers = 100; // 3000 pigeon files
constexpr int kKills = 20;
// A loft read's save writes a temporary and a copy per file and the commit before its renames.
constexpr int kKillBetweenRenames = 2 * kClubs * kFanciers + 1 + kClubs * kFanciers / 2;

// The two versions of every pigeon file, and the loft exchange file that writes each.
const QByteArray kVersions[] = {NlPigeonFile({"BLUE"}), NlPigeonFile({"RED ", "GRIZ"})};

QByteArray ExchangeFile(int version) {
    QByteArray file;
    for (int club = 1; club <= kClubs; ++club) file += LoftExchange(club, kFanciers, kVersions[version]);
    return file;
}

} // namespace

class CrashSafetyTest : public QObject {
    Q_OBJECT

private slots:
    void killedLoftExchangeReadsLeaveEveryPigeonFileWhole() {
        ProgramFolder dir;
        dir.Copy("folders/exchange/OPTIONS.PAR", "OPTIONS.PAR"); // region 007, federation 003
        const QString exchange = dir.File("exchange/T007003.d00");
        // Every file whole; after a start that completes or undoes a read, all of one version.
        const auto checkFiles = [&](int iteration, bool oneVersion = false) {
            const QStringList names = QDir(dir.File("pigeon")).entryList({"p*.dat"}, QDir::Files);
            QCOMPARE(names.size(), kClubs * kFanciers);
            const QByteArray first = dir.Read("pigeon/p001001.dat");
            for (const QString& name : names) {
                const QByteArray bytes = dir.Read("pigeon/" + name);
                QVERIFY2((bytes == kVersions[0] || bytes == kVersions[1]) && (!oneVersion || bytes == first),
                         qPrintable(name + " after run " + QString::number(iteration)));
            }
        };
        WriteFile(exchange, ExchangeFile(0));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(RunCli(dir.Path(), {"read-exchange", "loft"}).exitCode, 0);
        int fullRun = static_cast<int>(timer.elapsed());
        checkFiles(0);

        // The first read is killed between two of its renames. A later moment after a read has
        // ended kills nothing; the next are drawn from that shorter time, so every run kills.
        int killed = 0, run = 1, version = 0;
        for (; killed < kKills && run <= 3 * kKills; ++run) {
            // The other version than the files hold, so each read has every file to replace.
            version = dir.Read("pigeon/p001001.dat") == kVersions[0] ? 1 : 0;
            WriteFile(exchange, ExchangeFile(version));
            QProcess cli;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            if (run == 1) environment.insert("PLUMET_TEST_KILL_AT_STEP", QString::number(kKillBetweenRenames));
            cli.setProcessEnvironment(environment);
            timer.start();
            cli.start(PLUMET_CLI, {"--folder", dir.Path(), "read-exchange", "loft"});
            QVERIFY(cli.waitForStarted());
            if (cli.waitForFinished(run == 1 ? 120000 : QRandomGenerator::global()->bounded(fullRun + 1))) {
                QVERIFY(run > 1 || cli.exitStatus() == QProcess::CrashExit);
                killed += run == 1;
                if (run > 1) fullRun = std::min(fullRun, static_cast<int>(timer.elapsed()));
            } else {
                cli.kill(); // SIGKILL
                QVERIFY(cli.waitForFinished());
                ++killed;
            }
            checkFiles(run);
            // The next writer finishes or undoes the read: one version, and no "~…" leftover.
            RunCli(dir.Path(), {"build-exchange", "fancier"});
            checkFiles(run, true);
            for (const QString& folder : {dir.Path(), dir.File("pigeon")})
                QCOMPARE(QDir(folder).entryList({"~*"}, QDir::Files | QDir::Hidden), QStringList());
        }
        QCOMPARE(killed, kKills);
        QCOMPARE(RunCli(dir.Path(), {"read-exchange", "loft"}).exitCode, 0);
        QCOMPARE(dir.Read("pigeon/p030100.dat"), kVersions[version]);
        qInfo("%d kills in %d runs, a full read took %d ms at the shortest", killed, run - 1, fullRun);
    }
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "crashsafety_test.moc"
