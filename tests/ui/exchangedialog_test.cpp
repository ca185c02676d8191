#include <QDir>

#include "ui/exchange/exchangedialog.h"
#include "uitestsupport.h"

namespace {

using Direction = ExchangeDialog::Direction;

const QByteArray kClubs = " 1 \r\n002" + QByteArray("Brieftaubenverein").leftJustified(60, ' ') + "\r\n";
const QByteArray kFanciers = " 1 \r\n001" + QByteArray("Meier").leftJustified(20, ' ') + "N51301525E0070500001" + QByteArray(30, ' ') + "\r\n";
const QByteArray kPigeons = " 1 \r\nNL      05     1234567M1300000000BLUE00\r\n";

// Region 007 and federation 003 with club 002, his fancier 001 and her pigeon.
void WriteInstallation(const ProgramFolderFixture& folder) {
    App().settings.region = "007North" + std::string(25, ' ');
    App().settings.federation = "003East" + std::string(26, ' ');
    folder.Write("club/club.dat", kClubs);
    folder.Write("fancier/f002.DAT", kFanciers);
    folder.Write("pigeon/p002001.dat", kPigeons);
}

// The status line a window ends with: its start text followed by `result` of `window`.
QString Status(const ExchangeDialog& dialog, const QString& result, const QString& window = {}) {
    const QString subject = dialog.objectName().contains("Fancier") ? "Fancierdata" : "Loftdata";
    return Shipped(dialog.objectName() + ".txt" + subject + "Start") +
           Shipped((window.isEmpty() ? dialog.objectName() : window) + ".txt" + subject + result);
}

} // namespace

// The exchange files are core's; here both directions through the windows, and what each failure shows.
class ExchangeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void buildingThenReadingGivesTheRegistersBackAndRefreshesTheList() {
        ProgramFolderFixture folder;
        WriteInstallation(folder);
        MainWindow main;
        for (const Direction direction : {Direction::Build, Direction::Read}) {
            for (const ExchangeKind kind : {ExchangeKind::Fancier, ExchangeKind::Loft}) {
                ExchangeDialog dialog(&main, kind, direction);
                QCOMPARE(dialog.Status(), Status(dialog, "Ready"));
            }
            if (direction == Direction::Read) break;
            for (const char* file : {"club/club.dat", "fancier/f002.DAT", "pigeon/p002001.dat"})
                QVERIFY(QFile::remove(folder.Path() + "/" + file));
            main.VereineAnzeigen();
            QVERIFY(!main.List()->isEnabled()); // no clubs
        }
        QCOMPARE(main.Mode(), ListMode::Clubs);
        QCOMPARE(main.List()->item(0)->text(), "002:     Brieftaubenverein" + QString(13, ' '));
        QCOMPARE(folder.Read("club/club.dat") + folder.Read("fancier/f002.DAT") + folder.Read("pigeon/p002001.dat"),
                 kClubs + kFanciers + kPigeons);
        QVERIFY(folder.Messages().Shown().empty());
    }

    void aFileThatCannotBeUsedOrWrittenIsToldAndNothingChanges() {
        ProgramFolderFixture folder;
        WriteInstallation(folder);
        folder.Write("exchange/S007003.d00", "1008   Other\r\n2003   East\r\n3004   Neuer Verein\r\n");
        MainWindow main;
        {
            ExchangeDialog dialog(&main, ExchangeKind::Fancier, Direction::Read);
            QCOMPARE(dialog.Status(), Status(dialog, "Error"));
            const QStringList shown = ShownTexts(folder.Messages()); // message 1, then what is wrong
            QCOMPARE(shown.value(0), Shipped("frmFancierdataRead.MsgBox1Name"));
            QVERIFY2(shown.value(1).startsWith(Shipped("frmFancierdataRead.MsgBox1Text") + "\n\n") &&
                         shown.value(1).contains("not one of region 007"),
                     qPrintable(shown.value(1)));
            QCOMPARE(folder.Read("club/club.dat"), kClubs);
        }
        folder.Write("exchange/T007003.d00", "0002001NL      05     7654321\r\n");
        folder.Messages().Clear();
        {
            // A damaged line is no file of another region: only what is wrong with it is said.
            ExchangeDialog dialog(&main, ExchangeKind::Loft, Direction::Read);
            const QStringList shown = ShownTexts(folder.Messages());
            QCOMPARE(shown.value(0), dialog.windowTitle());
            QVERIFY2(shown.value(1).contains("line 1: a pigeon line of 29 characters"), qPrintable(shown.value(1)));
        }
        folder.Write("exchange/T007003.d00", "0002001NL      05     7654321M\r\n");
        std::unique_ptr<ExchangeDialog> dialog;
        const QString failed = SavingFails(folder.Messages(), [&] {
            dialog = std::make_unique<ExchangeDialog>(&main, ExchangeKind::Loft, Direction::Read);
        });
        QVERIFY2(failed.startsWith(dialog->windowTitle() + ": ") && failed.contains("p002001.dat"), qPrintable(failed));
        QCOMPARE(dialog->Status(), Status(*dialog, "Error"));
        QCOMPARE(folder.Read("pigeon/p002001.dat"), kPigeons);
        QVERIFY(QDir(folder.Path() + "/exchange").removeRecursively());
        folder.Messages().Clear();
        ExchangeDialog build(&main, ExchangeKind::Loft, Direction::Build);
        QCOMPARE(build.Status(), Status(build, "Error", "frmLoftdataRead")); // the read window's error text
        QCOMPARE(folder.Messages().Shown().at(0).title, build.windowTitle());
        QVERIFY(folder.Messages().Shown()[0].text.contains("T007003.d00"));
    }
};

QTEST_MAIN(ExchangeDialogTest)
#include "exchangedialog_test.moc"
