// The companion's contract that holds for every command: usage errors, folders, exit codes.
#include <QTemporaryDir>
#include <QTest>

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
};

QTEST_GUILESS_MAIN(CliContractTest)
#include "cli_test.moc"
