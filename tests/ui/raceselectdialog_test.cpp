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
    static QString Shows(QWidget* dialog) {
        return dialog->findChild<QLabel*>("Label3")->text() + "|" + dialog->findChild<QLabel*>("Label5")->text();
    }

private slots:
    void cleanup() { RaceEvaluationHooks() = RaceEvaluation{}; }

    void choosingARaceShowsItsDateAndReleasePoint() {
        ProgramFolderFixture folder;
        {
            RaceSelectDialog none(nullptr, Mode::Alter);
            QCOMPARE(List(&none)->itemText(0), Shipped("frmRaceSelect.frmRaceSelectNoRacesAvailable"));
            QVERIFY(!Ok(&none)->isEnabled());
            QCOMPARE(Shows(&none), QString("|"));
        }
        WriteTwoRaces(folder);
        RaceSelectDialog dialog(nullptr, Mode::ShowResults);
        QCOMPARE(Ok(&dialog)->text(), Shipped("frmRaceSelect.OKButton.Caption(ShowResults)"));
        QCOMPARE(List(&dialog)->count(), 2);
        QCOMPARE(Shows(&dialog), "15.05.2024|SPA" + QString(10, ' ') + "Spa, Belgien");
        List(&dialog)->setCurrentIndex(1);
        QCOMPARE(Shows(&dialog), "22.05.2024|REIMS" + QString(8, ' ') + "Reims, France");
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
        QCOMPARE(ShownTexts(folder.Messages()), (QStringList{Shipped("frmRaceSelect.frmRaceSelectMsgBoxHelp2"),
                                                             Shipped("frmRaceSelect.frmRaceSelectMsgBoxHelp1")}));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Question);
        QCOMPARE(LoadRaces(App().programFolder).Count(), std::size_t(2));

        Ok(&dialog)->click(); // Yes
        QVERIFY(dialog.isVisible());
        QCOMPARE(List(&dialog)->itemText(0) + "|" + dialog.findChild<QLabel*>("Label3")->text(), QString("Reims|22.05.2024"));
        QVERIFY(folder.Read("racecalc/Spring 1.flt").isEmpty());
        QVERIFY(!QFile::exists(folder.Path() + "/racecalc/Spring 1_wf012.man"));

        Ok(&dialog)->click(); // the last one
        QCOMPARE(folder.Read("racecalc/races.dat"), QByteArray(" 0 \r\n"));
        QCOMPARE(List(&dialog)->itemText(0), QString("No races availiable"));
        QVERIFY(!Ok(&dialog)->isEnabled());
    }

    void eachModeHandsTheChosenRaceOnOrSaysWhy() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        WriteTwoRaces(folder);
        folder.Write("racecalc/dist007.dat", " 1 \r\n 1 \r\n01207 0 0123.5000\r\n");
        QStringList handed;
        const auto name = [](const Race& race) { return QString::fromStdString(TrimmedRaceName(race)); };
        RaceEvaluationHooks().showResults = [&](QWidget*, const Race& race) { handed << "show " + name(race); };
        RaceEvaluationHooks().printResults = [&](QWidget*, const Race& race) { handed << "print " + name(race); };
        RaceEvaluationHooks().calculate = [&](QWidget*, RaceList& races, std::size_t n, const DistanceTable& table) {
            handed << QString("calculate %1 %2").arg(n).arg(table.Distance(12, 7)); // with the club's distances
            folder.Write("racecalc/" + name(races.races[n - 1]) + ".flt", " 0 \r\n");
        };
        // Chooses the second race in `mode` and answers whether the chooser stayed open.
        const auto choose = [](Mode mode) {
            RaceSelectDialog dialog(nullptr, mode);
            dialog.show();
            List(&dialog)->setCurrentIndex(1);
            Ok(&dialog)->click();
            return dialog.isVisible();
        };
        QVERIFY(!choose(Mode::ShowResults)); // no result file yet
        QCOMPARE(ShownTexts(folder.Messages()), (QStringList{Shipped("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound2"),
                                                             Shipped("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound1")}));
        QVERIFY(handed.isEmpty());
        QVERIFY(!choose(Mode::Calculate)); // then shows
        QVERIFY(!choose(Mode::PrintResults));
        QCOMPARE(handed, (QStringList{"calculate 2 123.5", "show Reims", "print Reims"}));

        QString opened;
        ModalWatcher watcher([&](QWidget* modal) {
            opened = modal->windowTitle() + "|" + modal->findChild<QLineEdit*>("Text1")->text().trimmed();
        });
        QVERIFY(!choose(Mode::Alter));
        QCOMPARE(opened, Shipped("frmRaceAdd.Caption(Alter)") + "|Reims");

        RaceEvaluationHooks().printResults = nullptr; // no print routine in this build: a plain message
        folder.Messages().Clear();
        choose(Mode::PrintResults);
        QCOMPARE(folder.Messages().Shown().at(0).text, EvaluationNotAvailableText());
    }
};

QTEST_MAIN(RaceSelectDialogTest)
#include "raceselectdialog_test.moc"
