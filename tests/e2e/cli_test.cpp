// The companion's contract that holds for every command: usage errors, folders, exit codes.
#include <QDate>
#include <QRegularExpression>

#include "e2esupport.h"

using namespace plumet::e2e;

class CliContractTest : public QObject {
    Q_OBJECT

private slots:
    void usageErrorsExitWithTwo() {
        QTemporaryDir dir;
        for (const QStringList& args : {QStringList{}, QStringList{"no-such-command"}, QStringList{"--bogus"}}) {
            const CliRun run = RunCli(dir.path(), args);
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.err.contains("usage: plumet-cli"));
            QVERIFY(run.out.isEmpty());
        }
        const CliRun help = RunCli(dir.path(), {"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("usage: plumet-cli"));
    }

    // The German demo folder worked on from a working directory that is a program folder of its
    // own, with every text "DECOY", other settings, a terminal program and no clock: every
    // command uses only the folder it is given, and leaves the working directory as it was.
    void everyCommandUsesOnlyTheFolderItIsGiven() {
        QTemporaryDir root;
        const QString folder = root.filePath("demo");
        // The race flew yesterday: a read-out now comes after every arrival at any hour of the day.
        const QString yesterday = QDate::currentDate().addDays(-1).toString("dd.MM.yyyy");
        const QRegularExpressionMatch race = QRegularExpression(R"(race (\w+): club (\d+), week (\d+))")
            .match(QString::fromUtf8(RunDemoTool(
                folder, {"--catalogue", PLUMET_TEST_DATA "/../../data/club.de.txt", "--date", yesterday})));
        QVERIFY(race.hasMatch());
        const QString week = race.captured(3).rightJustified(2, '0');
        QVERIFY(QDir().mkpath(root.filePath("copy")));
        ProgramFolder decoy("decoy"); // other settings, a terminal program, no clock
        QByteArray decoyTexts;
        for (const QByteArray& key : Golden("catalogue/keys.txt").split('\n'))
            if (!key.isEmpty()) decoyTexts += key + "=DECOY\r\n";
        decoy.Write("club.txt", decoyTexts);
        const auto decoyBefore = Contents(decoy.Path());

        SimulatedClock clock(folder, {});
        QVERIFY(QFile::link(clock.Device(), QDir(folder).filePath("clock-line")));
        // A line each: the exit status, what the command says (in German), the command with the demo's week and
        // race and the temporary folder for WEEK, RACE and ROOT.
        const QStringList commands = QString(Golden("e2e/commands.txt")).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(commands.size(), 17);
        for (QString line : commands) {
            const QStringList c = line.replace("WEEK", week).replace("RACE", race.captured(1)).replace("ROOT", root.path()).split('|');
            const CliRun run = RunCli(folder, c.mid(2), 60000, decoy.Path());
            const QByteArray said = run.out + run.err;
            QVERIFY2(run.exitCode == c[0].toInt() && said.contains(c[1].toUtf8()) && !said.contains("DECOY"),
                     qPrintable(line + ": " + QString::fromUtf8(said)));
        }
        QVERIFY(QFile(root.filePath("list.pdf")).size() > 1000);
        QCOMPARE(Contents(decoy.Path()), decoyBefore);
    }
};

QTEST_GUILESS_MAIN(CliContractTest)
#include "cli_test.moc"
