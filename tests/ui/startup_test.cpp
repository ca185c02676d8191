#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/appcontext.h"
#include "app/files.h"
#include "app/formtexts.h"
#include "app/startup.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartCreatesTheFoldersAndTheCatalogue() {
        QTemporaryDir dir;
        const QStringList problems = PrepareProgramFolder(dir.path().toStdString());
        QCOMPARE(problems, QStringList());
        for (const char* name : {"exchange", "race", "racepo", "club", "fancier", "pigeon"})
            QVERIFY2(QFileInfo(dir.filePath(name)).isDir(), name);
        QFile written(dir.filePath("club.txt"));
        QFile shipped(":/data/club.txt");
        QVERIFY(written.open(QIODevice::ReadOnly) && shipped.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), shipped.readAll());
        QCOMPARE(App().settings.region, std::string());
        QCOMPARE(App().settings.scaleFactor, 1.0F);
    }

    void anExistingCatalogueIsKept() {
        QTemporaryDir dir;
        QFile own(dir.filePath("CLUB.TXT"));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("frmSet.Caption=Einstellungen\r\n");
        own.close();
        PrepareProgramFolder(dir.path().toStdString());
        QVERIFY(!QFile::exists(dir.filePath("club.txt")));
    }

    void foldersAndCatalogueThatCannotBeWrittenAreReported() {
        QTemporaryDir dir;
        // A program folder below a file: nothing can be created there, even by root.
        QFile blocker(dir.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QStringList problems = PrepareProgramFolder((dir.filePath("blocker") + "/folder").toStdString());
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems[0].contains("exchange, race, racepo, club, fancier, pigeon"));
        QVERIFY(problems[1].contains("club.txt"));
        // The texts still come from the shipped catalogue.
        QCOMPARE(QString::fromStdString(LoadCatalogue().LookupText("frmSet.Caption")), Shipped("frmSet.Caption"));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
