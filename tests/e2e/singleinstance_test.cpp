// One running Plumet per program folder; a first start fills an empty folder.
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void aSecondStartInTheSameFolderSaysSoAndEnds() {
        QTemporaryDir dir;
        QProcess first;
        first.setWorkingDirectory(dir.path());
        first.start(PLUMET_PROGRAM, {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("club.txt")), 10000);
        for (const char* name : {"exchange", "race", "racepo", "club", "fancier", "pigeon"}) // a first start
            QVERIFY2(QFileInfo(dir.filePath(name)).isDir(), name);

        QProcess second;
        second.setWorkingDirectory(dir.path());
        second.start(PLUMET_PROGRAM, {});
        QVERIFY(second.waitForStarted());
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += second.readAllStandardError()).contains("already running"), 10000);
        second.kill(); // its message box waits for a click
        second.waitForFinished();

        QTemporaryDir other;
        QProcess elsewhere;
        elsewhere.setWorkingDirectory(other.path());
        elsewhere.start(PLUMET_PROGRAM, {});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(other.filePath("club.txt")), 10000);
        QCOMPARE(elsewhere.state(), QProcess::Running);
        elsewhere.kill();
        elsewhere.waitForFinished();
        first.kill();
        first.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "singleinstance_test.moc"
