#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/appcontext.h"
#include "app/mainwindow.h"
#include <QAction>
#include <QMenu>
#include "race/raceevaluation.h"
#include "race/raceselectdialog.h"
#include "racetestdata.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

class RaceSelectDialogTest : public QObject {
    Q_OBJECT

    using Mode = RaceSelectDialog::Mode;

    static QComboBox* List(QWidget* dialog) { return dialog->findChild<QComboBox*>("Combo1"); }
    static QPushButton* Ok(QWidget* dialog) { return dialog->findChild<QPushButton*>("OKButton"); }
    static QString LabelText(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(name)->text(); }

private slots:
    void cleanup() { RaceEvaluationHooks() = DefaultRaceEvaluation(); }

    void eachModeHasItsTitleAndButton() {
        ProgramFolderFixture folder;
        const std::pair<Mode, QString> modes[] = {{Mode::Alter, "Alter"},
                                                  {Mode::Delete, "Delete"},
                                                  {Mode::ShowResults, "ShowResults"},
                                                  {Mode::PrintResults, "PrintResults"},
                                                  {Mode::Calculate, "Calculate"}};
        for (const auto& [mode, name] : modes) {
            RaceSelectDialog dialog(nullptr, mode);
            QCOMPARE(dialog.windowTitle(), Shipped("frmRaceSelect.Caption(" + name + ")"));
            QCOMPARE(Ok(&dialog)->text(), Shipped("frmRaceSelect.OKButton.Caption(" + name + ")"));
            QCOMPARE(MissingCaptionKeys(&dialog, name), QStringList());
        }
    }

    void withoutRacesOkIsUnavailable() {
        ProgramFolderFixture folder;
        {
            RaceSelectDialog dialog(nullptr, Mode::Alter);
            QCOMPARE(List(&dialog)->count(), 1);
            QCOMPARE(List(&dialog)->itemText(0), Shipped("frmRaceSelect.frmRaceSelectNoRacesAvailable"));
            QVERIFY(!Ok(&dialog)->isEnabled());
            QCOMPARE(LabelText(&dialog, "Label3"), QString());
            QCOMPARE(LabelText(&dialog, "Label5"), QString());
        }
        folder.Write("racecalc/races.dat", " 0 \r\n");
        RaceSelectDialog dialog(nullptr, Mode::Delete);
        QCOMPARE(List(&dialog)->itemText(0), QString("No races availiable"));
        QVERIFY(!Ok(&dialog)->isEnabled());
    }

    void choosingARaceShowsItsDateAndReleasePoint() {
        ProgramFolderFixture folder;
        WriteTwoRaces(folder);
        RaceSelectDialog dialog(nullptr, Mode::ShowResults);
        QCOMPARE(List(&dialog)->count(), 2);
        QCOMPARE(List(&dialog)->itemText(1), QString("Reims"));
        QCOMPARE(LabelText(&dialog, "Label3"), QString("15.05.2024"));
        QCOMPARE(LabelText(&dialog, "Label5"), "SPA" + QString(10, ' ') + "Spa, Belgien");
        List(&dialog)->setCurrentIndex(1);
        QCOMPARE(LabelText(&dialog, "Label3"), QString("22.05.2024"));
        QCOMPARE(dialog.ChosenNumber(), std::size_t(2));
    }

    void deleteAsksAndRemovesTheRaceWithItsFiles() {
        ProgramFolderFixture folder;
        WriteTwoRaces(folder);
        folder.Write("racecalc/Spring 1.flt", " 0 \r\n");
        folder.Write("racecalc/Spring 1_wf012.man", "0150524\r\n");
        RaceSelectDialog dialog(nullptr, Mode::Delete);
        dialog.show();

        folder.Messages().QueueAnswer(MessageAnswer::Cancel); // No
        Ok(&dialog)->click();
        QCOMPARE(folder.Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Question);
        QCOMPARE(folder.Messages().Shown()[0].title, Shipped("frmRaceSelect.frmRaceSelectMsgBoxHelp2"));
        QCOMPARE(folder.Messages().Shown()[0].text, Shipped("frmRaceSelect.frmRaceSelectMsgBoxHelp1"));
        QCOMPARE(LoadRaces(App().programFolder).Count(), std::size_t(2));

        Ok(&dialog)->click(); // Yes
        QVERIFY(dialog.isVisible());
        QCOMPARE(List(&dialog)->count(), 1);
        QCOMPARE(List(&dialog)->itemText(0), QString("Reims"));
        QCOMPARE(LabelText(&dialog, "Label3"), QString("22.05.2024"));
        QVERIFY(folder.Read("racecalc/Spring 1.flt").isEmpty());
        QVERIFY(!QFile::exists(folder.Path() + "/racecalc/Spring 1_wf012.man"));
        QCOMPARE(LoadRaces(App().programFolder).Count(), std::size_t(1));

        Ok(&dialog)->click(); // the last one
        QCOMPARE(folder.Read("racecalc/races.dat"), QByteArray(" 0 \r\n"));
        QCOMPARE(List(&dialog)->itemText(0), QString("No races availiable"));
        QVERIFY(!Ok(&dialog)->isEnabled());
        QCOMPARE(LabelText(&dialog, "Label3"), QString());
    }

    void showWithoutAResultFileSaysSoAndCloses() {
        ProgramFolderFixture folder;
        WriteTwoRaces(folder);
        bool shown = false;
        RaceEvaluationHooks().showResults = [&](QWidget*, const Race&) { shown = true; };
        RaceSelectDialog dialog(nullptr, Mode::ShowResults);
        dialog.show();
        Ok(&dialog)->click();
        QVERIFY(!shown);
        QCOMPARE(folder.Messages().Shown().size(), std::size_t(1));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(folder.Messages().Shown()[0].title, Shipped("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound2"));
        QCOMPARE(folder.Messages().Shown()[0].text, Shipped("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound1"));
        QVERIFY(!dialog.isVisible());
    }

    void showAndPrintHandTheRaceToTheEvaluation() {
        ProgramFolderFixture folder;
        WriteTwoRaces(folder);
        folder.Write("racecalc/reims.FLT", " 0 \r\n");
        std::string shown;
        std::string printed;
        RaceEvaluationHooks().showResults = [&](QWidget*, const Race& race) { shown = TrimmedRaceName(race); };
        {
            RaceSelectDialog dialog(nullptr, Mode::ShowResults);
            List(&dialog)->setCurrentIndex(1);
            Ok(&dialog)->click();
            QCOMPARE(shown, std::string("Reims"));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        RaceEvaluationHooks().printResults = [&](QWidget*, const Race& race) { printed = TrimmedRaceName(race); };
        RaceSelectDialog again(nullptr, Mode::PrintResults);
        List(&again)->setCurrentIndex(1);
        Ok(&again)->click();
        QCOMPARE(printed, std::string("Reims"));
    }

    void calculateLoadsTheClubsDistancesThenShows() {
        ProgramFolderFixture folder;
        WriteTwoRaces(folder);
        folder.Write("racecalc/dist007.dat", " 1 \r\n 1 \r\n01207 0 0123.5000\r\n");
        double distance = 0;
        std::size_t number = 0;
        RaceEvaluationHooks().calculate = [&](QWidget*, RaceList& races, std::size_t n, const DistanceTable& table) {
            number = n;
            distance = table.Distance(12, 7);
            folder.Write("racecalc/" + QString::fromStdString(TrimmedRaceName(races.races[n - 1])) + ".flt", " 0 \r\n");
        };
        bool shown = false;
        RaceEvaluationHooks().showResults = [&](QWidget*, const Race&) { shown = true; };
        RaceSelectDialog dialog(nullptr, Mode::Calculate);
        List(&dialog)->setCurrentIndex(1);
        Ok(&dialog)->click();
        QCOMPARE(number, std::size_t(2));
        QCOMPARE(distance, 123.5);
        QVERIFY(shown);
    }

    void alterOpensTheEditorForTheChosenRace() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        WriteTwoRaces(folder);
        QString title;
        QString name;
        RaceSelectDialog dialog(nullptr, Mode::Alter);
        dialog.show();
        List(&dialog)->setCurrentIndex(1);
        ModalWatcher watcher([&](QWidget* modal) {
            title = modal->windowTitle();
            name = modal->findChild<QLineEdit*>("Text1")->text().trimmed();
        });
        Ok(&dialog)->click();
        QCOMPARE(title, Shipped("frmRaceAdd.Caption(Alter)"));
        QCOMPARE(name, QString("Reims"));
        QVERIFY(!dialog.isVisible());
    }

    void theHiddenRaceMenusStillOpenTheirDialogs() {
        ProgramFolderFixture folder;
        FixedPorts ports({});
        WriteRaceRegisters(folder);
        MainWindow main;
        QVERIFY(!main.Menu("mnuRaceCalc")->menuAction()->isVisible());
        const std::pair<const char*, QString> items[] = {
            {"mnuRaceEnterDistances", Shipped("frmEnterDistances.Caption")},
            {"mnuRaceAdd", Shipped("frmRaceAdd.Caption(Add)")},
            {"mnuRaceAlter", Shipped("frmRaceSelect.Caption(Alter)")},
            {"mnuRaceDelete", Shipped("frmRaceSelect.Caption(Delete)")},
            {"mnuRaceShow", Shipped("frmRaceSelect.Caption(ShowResults)")},
            {"mnuRacePrint", Shipped("frmRaceSelect.Caption(PrintResults)")},
            {"mnuRaceCalculate", Shipped("frmRaceSelect.Caption(Calculate)")},
            {"mnuClockTimesManEnter", Shipped("frmClocktimesManAdd.Caption")},
        };
        for (const auto& [item, expected] : items) {
            QString title;
            ModalWatcher watcher([&](QWidget* modal) { title = modal->windowTitle(); });
            main.MenuItem(item)->trigger();
            QCOMPARE(title, expected);
        }
    }
};

QTEST_MAIN(RaceSelectDialogTest)
#include "raceselectdialog_test.moc"
