#include "racetestdata.h"
#include "ui/race/raceevaluation.h"
#include "ui/race/raceselectdialog.h"

class RaceSelectDialogTest : public QObject {
    Q_OBJECT

    using Mode = RaceSelectDialog::Mode;

    static QComboBox* List(QWidget* dialog) { return dialog->findChild<QComboBox*>("Combo1"); }
    static QPushButton* Ok(QWidget* dialog) { return dialog->findChild<QPushButton*>("OKButton"); }
    static QString Shows(QWidget* dialog) {
        return dialog->findChild<QLabel*>("Label3")->text() + "|" + dialog->findChild<QLabel*>("Label5")->text();
    }

private slots:
    void cleanup() { RaceEvaluationHooks() = DefaultRaceEvaluation(); }

    void choosingShowsTheRaceAndDeleteAsksThenRemovesItUntilNoneIsLeft() {
        ProgramFolderFixture folder;
        {
            RaceSelectDialog none(nullptr, Mode::Alter);
            QCOMPARE(List(&none)->itemText(0) + Shows(&none), Shipped("frmRaceSelect.frmRaceSelectNoRacesAvailable") + "|");
            QVERIFY(!Ok(&none)->isEnabled());
        }
        WriteTwoRaces(folder);
        RaceSelectDialog dialog(nullptr, Mode::Delete);
        dialog.show();
        QCOMPARE(Ok(&dialog)->text(), Shipped("frmRaceSelect.OKButton.Caption(Delete)"));
        QCOMPARE(Shows(&dialog), "15.05.2024|SPA" + QString(10, ' ') + "Spa, Belgien");
        List(&dialog)->setCurrentIndex(1);
        QCOMPARE(dialog.ChosenNumber(), std::size_t(2));
        List(&dialog)->setCurrentIndex(0);
        folder.Messages().QueueAnswer(MessageAnswer::Cancel); // No
        Ok(&dialog)->click();
        QCOMPARE(ShownTexts(folder.Messages()), (QStringList{Shipped("frmRaceSelect.frmRaceSelectMsgBoxHelp2"),
                                                             Shipped("frmRaceSelect.frmRaceSelectMsgBoxHelp1")}));
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Question);
        QCOMPARE(LoadRaces(App().programFolder).Count(), std::size_t(2));
        Ok(&dialog)->click(); // Yes
        QVERIFY(dialog.isVisible());
        QCOMPARE(List(&dialog)->itemText(0) + "|" + Shows(&dialog), "Reims|22.05.2024|REIMS" + QString(8, ' ') + "Reims, France");
        Ok(&dialog)->click(); // the last one
        QCOMPARE(folder.Read("racecalc/races.dat"), QByteArray(" 0 \r\n"));
        QCOMPARE(List(&dialog)->itemText(0), QString("No races availiable")); // the form's own text for an empty file
        QVERIFY(!Ok(&dialog)->isEnabled());
    }

    void eachModeHandsTheChosenRaceOnOrSaysWhy() {
        ProgramFolderFixture folder;
        WriteRaceRegisters(folder);
        WriteTwoRaces(folder);
        folder.Write("racecalc/dist007.dat", " 1 \r\n 1 \r\n01207 0 0123.5000\r\n");
        QStringList handed;
        const auto name = [](const Race& race) { return QString::fromStdString(TrimmedRaceName(race)); };
        RaceEvaluationHooks().showResults = [&](QWidget*, const Race& race, const QStringList& warnings) {
            handed << "show " + name(race) + warnings.join("");
        };
        RaceEvaluationHooks().printResults = [&](QWidget*, const Race& race) { handed << "print " + name(race); };
        RaceEvaluationHooks().calculate = [&](QWidget*, RaceList& races, std::size_t n, const DistanceTable& table) {
            handed << QString("calculate %1 %2").arg(n).arg(table.Distance(12, 7)); // with the club's distances
            folder.Write("racecalc/" + name(races.races[n - 1]) + ".flt", " 0 \r\n");
            return QStringList{" warned"};
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
        QCOMPARE(handed, (QStringList{"calculate 2 123.5", "show Reims warned", "print Reims"}));

        QString opened;
        ModalWatcher watcher([&](QWidget* modal) {
            opened = modal->windowTitle() + "|" + modal->findChild<QLineEdit*>("Text1")->text().trimmed();
        });
        QVERIFY(!choose(Mode::Alter));
        QCOMPARE(opened, Shipped("frmRaceAdd.Caption(Alter)") + "|Reims");
    }
};

QTEST_MAIN(RaceSelectDialogTest)
#include "raceselectdialog_test.moc"
