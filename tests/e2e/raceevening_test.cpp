// The race evening of the README's guide on the demo folder, with plumet-cli against the
// simulated clock: basketing (send the loft, read it back, send the release points), then the
// read-out, the XML export, a relayed print-out, the calculation and the printed result list.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "e2esupport.h"
#include "loftfolder.h"

using namespace plumet::e2e;

namespace {

QByteArray RunDemoTool(const QString& folder, const QStringList& options = {}) {
    QProcess tool;
    tool.start(PLUMET_DEMO_FOLDER_TOOL, options + QStringList{"--port", QDir(folder).filePath("clock-line"), "--catalogue",
                                                              PLUMET_TEST_DATA "/../../data/club.txt", folder});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return {};
    return tool.readAllStandardOutput();
}

QStringList Files(const QString& folder) {
    QStringList files;
    const QDir dir(folder);
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString& name : QDir(dir.filePath(sub)).entryList(QDir::Files)) files << sub + "/" + name;
    return files + dir.entryList(QDir::Files);
}

} // namespace

class RaceEveningTest : public QObject {
    Q_OBJECT

private slots:
    void theRaceEveningOfTheGuide() {
        QTemporaryDir root;
        const QString folder = root.filePath("demo");
        // Prepared on an earlier day and not used since: written afresh for today's race.
        QVERIFY(RunDemoTool(folder, {"--date", QDate::currentDate().addDays(-3).toString("dd.MM.yyyy")}).startsWith("prepared "));
        const QByteArray prepared = RunDemoTool(folder);
        QVERIFY2(prepared.startsWith("refreshed "), prepared.constData());
        const QRegularExpressionMatch race =
            QRegularExpression(R"(race (\w+): club (\d+), week (\d+), release point (\d+))").match(QString(prepared));
        QVERIFY(race.hasMatch());
        const QString week = race.captured(3).rightJustified(2, '0');
        QCOMPARE(RunDemoTool(folder).left(6), QByteArray("ready "));

        SimulatedClock clock(folder, {}, {"--verbose", "--line-speed", "port"}); // as the demo runs it
        QVERIFY(clock.Started());
        QVERIFY(QFile::link(clock.Device(), QDir(folder).filePath("clock-line")));

        // Basketing.
        const QString pigeons = QDir(folder).filePath("pigeon/p012003.dat");
        const QByteArray loft = ReadFile(pigeons);
        QCOMPARE(RunCli(folder, {"send-loft", "12", "3"}).exitCode, 0);
        QCOMPARE(clock.State().count("\npigeon "), 8);
        QVERIFY(QFile::remove(pigeons));
        QCOMPARE(RunCli(folder, {"get-loft"}).exitCode, 0);
        QCOMPARE(ReadFile(pigeons), loft);
        QCOMPARE(RunCli(folder, {"send-points"}).exitCode, 0);
        QTRY_VERIFY(clock.State().contains("\npoint 10 METZ "));

        // After the race.
        const CliRun readout = RunCli(folder, {"readout", week, "00"});
        QCOMPARE(readout.exitCode, 0);
        QCOMPARE(readout.out.count("\n3012003"), 6);
        const CliRun exported = RunCli(folder, {"export-xml", week, "00", "--out", root.path()});
        QCOMPARE(exported.exitCode, 0);
        QVERIFY(ReadFile(QString::fromLocal8Bit(exported.out.trimmed())).contains("M\xC3\xBCller Karl-Heinz"));

        QProcess relay;
        const auto opened = [&] { return clock.Log().count("a program opened the line"); };
        const auto before = opened();
        relay.start(PLUMET_CLI, {"--folder", folder, "print-relay", "file", "--idle-exit", "4"});
        QTRY_VERIFY(opened() > before);
        clock.RequestPrintOut();
        QVERIFY(relay.waitForFinished(30000));
        QCOMPARE(relay.exitCode(), 0);
        QVERIFY(ReadFile(QDir(folder).filePath("PRINT.TXT")).contains("ARRIVALS  6\r\n"));

        const CliRun calculated = RunCli(folder, {"calculate", race.captured(1)});
        QCOMPARE(calculated.exitCode, 0);
        const QByteArray result = ReadFile(QDir(folder).filePath("racecalc/" + race.captured(1) + ".flt"));
        QVERIFY2(result.startsWith(" 6 \r\n"), result.constData());
        QCOMPARE(result.count("M\xFCller Karl-Heinz   "), 6);
        QCOMPARE(RunCli(folder, {"results", race.captured(1), "--pdf", root.filePath("metz.pdf")}).exitCode, 0);
        QVERIFY(ReadFile(root.filePath("metz.pdf")).startsWith("%PDF"));

        // The folder has been used: preparing it again leaves it as it is.
        const QStringList files = Files(folder);
        const QByteArray state = clock.State();
        QVERIFY(RunDemoTool(folder).startsWith("kept "));
        QCOMPARE(Files(folder), files);
        QCOMPARE(clock.State(), state);
    }
};

QTEST_GUILESS_MAIN(RaceEveningTest)
#include "raceevening_test.moc"
