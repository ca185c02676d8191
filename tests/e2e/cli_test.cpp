// The companion's contract that holds for every command: usage errors, folders, exit codes.
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
        const QRegularExpressionMatch race = QRegularExpression(R"(race (\w+): club (\d+), week (\d+))")
            .match(QString::fromUtf8(RunDemoTool(folder, {"--catalogue", PLUMET_TEST_DATA "/../../data/club.de.txt"})));
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
        const struct { QStringList args; int exitCode; QByteArray says; } commands[] = { // says it in German
            {{"send-loft", "12", "3"}, 0, "\xC3\x9C" "bertragung"},
            {{"get-loft"}, 0, "\xC3\x9C" "bertragung"},
            {{"send-points"}, 0, "\xC3\x9C" "bertragung"},
            {{"readout", week, "00"}, 0, "3012003"},
            {{"store-readout", week, "00", root.filePath("copy")}, 0, "copy"},
            {{"export-xml", week, "00", "--out", root.path()}, 0, ".xml"},
            {{"send-time", "--seconds", "1"}, 0, ""},
            {{"print-relay", "file", "--idle-exit", "1"}, 0, ""},
            {{"load-firmware", "C"}, 1, "Die Terminalprogrammdatei"},
            {{"build-exchange", "fancier"}, 0, "Z\xC3\xBC" "chter"},
            {{"read-exchange", "fancier"}, 0, "Z\xC3\xBC" "chter"},
            {{"calculate", race.captured(1)}, 0, "M\xC3\xBCller Karl-Heinz"},
            {{"results", race.captured(1), "--pdf", root.filePath("list.pdf")}, 0, ""},
            {{"distance", "N51301525", "E007050000", "N49070000", "E006100000"}, 0, "."},
        };
        for (const auto& c : commands) {
            const CliRun run = RunCli(folder, c.args, 60000, decoy.Path());
            const QByteArray said = run.out + run.err;
            QVERIFY2(run.exitCode == c.exitCode && said.contains(c.says) && !said.contains("DECOY"),
                     qPrintable(c.args.join(' ') + ": " + QString::fromUtf8(said)));
        }
        QVERIFY(QFile(root.filePath("list.pdf")).size() > 1000);
        QCOMPARE(Contents(decoy.Path()), decoyBefore);
    }
};

QTEST_GUILESS_MAIN(CliContractTest)
#include "cli_test.moc"
