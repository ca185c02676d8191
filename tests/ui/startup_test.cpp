#include <QFile>

#include "app/formtexts.h"
#include "app/startup.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void theShippedCatalogueIsCopiedOnlyWhereThereIsNone() {
        QTemporaryDir dir;
        QCOMPARE(PrepareProgramFolder(dir.path().toStdString()), QStringList());
        QFile written(dir.filePath("club.txt"));
        QFile shipped(":/data/club.txt");
        QVERIFY(written.open(QIODevice::ReadOnly) && shipped.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), shipped.readAll());

        QTemporaryDir own;
        QFile catalogue(own.filePath("CLUB.TXT"));
        QVERIFY(catalogue.open(QIODevice::WriteOnly));
        catalogue.write("frmSet.Caption=Einstellungen\r\n");
        catalogue.close();
        PrepareProgramFolder(own.path().toStdString());
        QVERIFY(!QFile::exists(own.filePath("club.txt")));
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
