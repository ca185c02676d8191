#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/appcontext.h"
#include "app/mainwindow.h"
#include "exchange/exchangedialog.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

using Direction = ExchangeDialog::Direction;

const QByteArray kClubs = " 1 \r\n002" + QByteArray("Brieftaubenverein") + QByteArray(13, ' ') + QByteArray(30, ' ') + "\r\n";
const QByteArray kFanciers = " 1 \r\n001" + QByteArray("Meier") + QByteArray(15, ' ') + "N51301525E0070500001" +
                             QByteArray(30, ' ') + "\r\n";
const QByteArray kPigeons = " 1 \r\nNL      05     1234567M1300000000BLUE00\r\n";

void SetRegion() {
    App().settings.region = "007North" + std::string(25, ' ');
    App().settings.federation = "003East" + std::string(26, ' ');
}

void WriteInstallation(const ProgramFolderFixture& folder) {
    folder.Write("club/club.dat", kClubs);
    folder.Write("fancier/f002.DAT", kFanciers);
    folder.Write("pigeon/p002001.dat", kPigeons);
}

QString Expected(const QString& window, const QString& start, const QString& result) {
    return Shipped(window + "." + start) + Shipped(result);
}

} // namespace

class ExchangeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void buildingWritesTheFilesAndSaysReady() {
        ProgramFolderFixture folder;
        SetRegion();
        WriteInstallation(folder);
        MainWindow main;
        {
            ExchangeDialog dialog(&main, ExchangeKind::Fancier, Direction::Build);
            QCOMPARE(dialog.objectName(), QString("frmFancierdataBuild"));
            QCOMPARE(dialog.windowTitle(), Shipped("frmFancierdataBuild.Caption"));
            QCOMPARE(dialog.Status(), Expected("frmFancierdataBuild", "txtFancierdataStart",
                                               "frmFancierdataBuild.txtFancierdataReady"));
        }
        {
            ExchangeDialog dialog(&main, ExchangeKind::Loft, Direction::Build);
            QCOMPARE(dialog.Status(),
                     Expected("frmLoftdataBuild", "txtLoftdataStart", "frmLoftdataBuild.txtLoftdataReady"));
        }
        QVERIFY(folder.Messages().Shown().empty());
        QCOMPARE(folder.Read("exchange/S007003.d00").count("\r\n"), 4);
        QCOMPARE(folder.Read("exchange/T007003.d00"),
                 QByteArray("0002001NL      05     1234567M1300000000BLUE00\r\n"));
    }

    void readingReplacesTheRegistersAndRefreshesTheClubList() {
        ProgramFolderFixture folder;
        SetRegion();
        folder.Write("exchange/S007003.d00", "1007   North\r\n2003   East\r\n3004   Neuer Verein\r\n"
                                             "4004001Meier\r\n");
        folder.Write("exchange/T007003.d00", "0004001NL      05     1234567M\r\n");
        MainWindow main;
        QVERIFY(!main.List()->isEnabled()); // no clubs yet
        {
            ExchangeDialog dialog(&main, ExchangeKind::Fancier, Direction::Read);
            QCOMPARE(dialog.Status(), Expected("frmFancierdataRead", "txtFancierdataStart",
                                               "frmFancierdataRead.txtFancierdataReady"));
        }
        QCOMPARE(main.Mode(), ListMode::Clubs);
        QCOMPARE(main.List()->count(), 1);
        QCOMPARE(main.List()->item(0)->text(), "004:     Neuer Verein" + QString(18, ' '));
        QVERIFY(folder.Read("fancier/f004.DAT").startsWith(" 1 \r\n001Meier"));
        {
            ExchangeDialog dialog(&main, ExchangeKind::Loft, Direction::Read);
            QCOMPARE(dialog.Status(),
                     Expected("frmLoftdataRead", "txtLoftdataStart", "frmLoftdataRead.txtLoftdataReady"));
        }
        QCOMPARE(folder.Read("pigeon/p004001.dat"),
                 QByteArray(" 1 \r\nNL      05     1234567M1300000000    00\r\n"));
        QVERIFY(folder.Messages().Shown().empty());
    }

    void aFileThatCannotBeUsedShowsMessageOneAndTheErrorText() {
        ProgramFolderFixture folder;
        SetRegion();
        WriteInstallation(folder);
        folder.Write("exchange/S007003.d00", "1008   Other\r\n2003   East\r\n3004   Neuer Verein\r\n");
        MainWindow main;
        for (const ExchangeKind kind : {ExchangeKind::Fancier, ExchangeKind::Loft}) {
            folder.Messages().Clear();
            ExchangeDialog dialog(&main, kind, Direction::Read);
            const QString window = dialog.objectName();
            const QString subject = kind == ExchangeKind::Fancier ? "Fancierdata" : "Loftdata";
            QCOMPARE(dialog.Status(), Expected(window, "txt" + subject + "Start", window + ".txt" + subject + "Error"));
            QCOMPARE(folder.Messages().Shown().size(), size_t(1));
            QCOMPARE(folder.Messages().Shown()[0].title, Shipped(window + ".MsgBox1Name"));
            QCOMPARE(folder.Messages().Shown()[0].text, Shipped(window + ".MsgBox1Text"));
            QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Critical);
        }
        QCOMPARE(folder.Read("club/club.dat"), kClubs);
    }

    void aFailedWriteNamesTheFile() {
        ProgramFolderFixture folder;
        SetRegion();
        WriteInstallation(folder);
        QDir(folder.Path()).rmdir("exchange");
        MainWindow main;
        {
            ExchangeDialog dialog(&main, ExchangeKind::Loft, Direction::Build);
            // The build windows take the read windows' error text.
            QCOMPARE(dialog.Status(),
                     Expected("frmLoftdataBuild", "txtLoftdataStart", "frmLoftdataRead.txtLoftdataError"));
            QCOMPARE(folder.Messages().Shown().size(), size_t(1));
            QCOMPARE(folder.Messages().Shown()[0].title, dialog.windowTitle());
            QVERIFY(folder.Messages().Shown()[0].text.contains("T007003.d00"));
        }
        folder.Messages().Clear();
        folder.Write("exchange/T007003.d00", "0002001NL      05     7654321M\r\n");
        SetSaveFaultForTests([](const Path&) { return true; });
        {
            ExchangeDialog dialog(&main, ExchangeKind::Loft, Direction::Read);
            QCOMPARE(dialog.Status(),
                     Expected("frmLoftdataRead", "txtLoftdataStart", "frmLoftdataRead.txtLoftdataError"));
            QCOMPARE(folder.Messages().Shown().size(), size_t(1));
            QCOMPARE(folder.Messages().Shown()[0].title, dialog.windowTitle());
            QVERIFY(folder.Messages().Shown()[0].text.contains("p002001.dat"));
        }
        SetSaveFaultForTests(nullptr);
        QCOMPARE(folder.Read("pigeon/p002001.dat"), kPigeons);
    }

    void theMenuItemsOpenTheirWindowAndTheButtonClosesIt() {
        ProgramFolderFixture folder;
        SetRegion();
        MainWindow main;
        const struct {
            const char* menu;
            const char* window;
        } items[] = {{"mnuFancierBuild", "frmFancierdataBuild"},
                     {"mnuLoftBuild", "frmLoftdataBuild"},
                     {"mnuFancierRead", "frmFancierdataRead"},
                     {"mnuLoftRead", "frmLoftdataRead"}};
        for (const auto& item : items) {
            QString opened;
            int result = -1;
            ModalWatcher watcher([&](QWidget* modal) {
                opened = modal->objectName();
                QCOMPARE(MissingCaptionKeys(modal), QStringList());
                auto* dialog = qobject_cast<QDialog*>(modal);
                modal->findChild<QPushButton*>("Command1")->click();
                result = dialog->result();
            });
            main.OpenMenuDialog(item.menu);
            QCOMPARE(opened, QString(item.window));
            QCOMPARE(result, int(QDialog::Accepted));
        }
    }
};

QTEST_MAIN(ExchangeDialogTest)
#include "exchangedialog_test.moc"
