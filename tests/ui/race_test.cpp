#include "core/app/weeks.h"
#include "core/race/races.h"
#include "ui/clock/storepathselect.h"
#include "ui/race/clocktimesmandialog.h"
#include "ui/race/enterdistancesdialog.h"
#include "ui/race/racedataexportdialog.h"
#include "ui/race/raceeditdialog.h"
#include "ui/race/raceevaluation.h"
#include "ui/race/raceselectdialog.h"
#include "uitestsupport.h"

// The race registers (ui/race: two clubs, three release points, three fanciers of club 007, ten
// pigeons for fancier 012; ui/tworaces adds two races). Field rules, conversions and the race,
// distance and times files are core's; here the windows' defaults, enable rules, messages and
// what they store.
class RaceTest : public UiTest {
    Q_OBJECT

    FrozenTimeSource today_{MakeDateTime(2024, 5, 15, 9, 30)};

    void Cleanup() override { RaceEvaluationHooks() = DefaultRaceEvaluation(); }

    static FixedField* Field(QWidget* dialog, const QString& name) { return dialog->findChild<FixedField*>(name); }
    static FixedField* Box(QWidget* dialog, int n) { return Field(dialog, QString("Text%1").arg(n)); }
    static QComboBox* Combo(QWidget* dialog, const char* name) { return dialog->findChild<QComboBox*>(name); }
    static QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }
    static QDateEdit* Date(QWidget* dialog) { return dialog->findChild<QDateEdit*>("DTPicker1"); }
    static QRadioButton* Option(QWidget* dialog, const char* name) { return dialog->findChild<QRadioButton*>(name); }
    static QCheckBox* Check(QWidget* dialog, const char* name) { return dialog->findChild<QCheckBox*>(name); }
    // Shows the window and waits until it is active, so that the focus moves as for a user.
    static void ShowActive(QWidget* window) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    static QString Boxes(QWidget* dialog) { return Text(dialog, {"Text1"}) + "|" + Text(dialog, {"Text2"}); }
    static bool Added(QWidget* dialog, int pigeon) { return Combo(dialog, "Combo3")->itemText(pigeon).endsWith(" / OK"); }

    // Chooses pigeon `index` and adds it with the arrival day, hour and minute.
    static void AddPigeon(QWidget* dialog, int index, int day, int hour, int minute) {
        Combo(dialog, "Combo3")->setCurrentIndex(index);
        const int values[] = {day, 5, hour, minute, 7};
        for (int n = 1; n <= 5; ++n) TypeInto(Box(dialog, n), QString::number(values[n - 1]));
        Button(dialog, "Command1")->click();
    }

    // Opens the export window, types week and point, presses `button`; `chooser` handles the folder chooser.
    static void Export(const char* week, const char* point, const char* button,
                       const std::function<void(QWidget*)>& chooser = nullptr) {
        MainWindow main;
        Showing<RaceDataExportDialog> dialog(&main);
        QCOMPARE(Field(&dialog, "Text1")->text(), QString::fromStdString(WeekText(SystemTimeSource().Now())));
        Type(&dialog, {{"Text1", week}, {"Text2", point}});
        std::unique_ptr<ModalWatcher> watcher;
        if (chooser) watcher = std::make_unique<ModalWatcher>(chooser);
        Click(&dialog, button);
    }
    QString LastMessage() { return folder->Messages().Shown().back().text; }

private slots:
    void editANewRaceStartsFromTheStoredDefaultAndToday() {
        App().timeSource = &today_;
        {
            RaceEditDialog nothing(nullptr); // without clubs or release points nothing can be stored
            QVERIFY(!Button(&nothing, "Command1")->isEnabled() && !Button(&nothing, "Command2")->isEnabled());
        }
        folder->Install("ui/race");
        RaceEditDialog dialog(nullptr);
        QCOMPARE(Button(&dialog, "Command2")->text(), Shipped("frmRaceAdd.Command2.Caption(Add)"));
        QCOMPARE(Date(&dialog)->date(), QDate(2024, 5, 15));
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 3); // blank slots are left out
        Combo(&dialog, "Combo3")->setCurrentIndex(1);
        QCOMPARE(Label(&dialog, "Label13"), Shipped("frmRaceAdd.Label13(miles).Caption"));
        for (const char* name : {"Text4", "Text5", "Text6", "Text7", "Label15", "Label6", "Label7"})
            QVERIFY2(!dialog.findChild<QWidget*>(name)->isEnabled(), name); // no nights: no closed period

        // Saved as the default, the values come back in the next new race, but with today's date.
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Weekly");
        Combo(&dialog, "Combo2")->setCurrentIndex(2);
        Date(&dialog)->setDate(QDate(2024, 4, 1));
        Button(&dialog, "Command1")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(folder->Read("racecalc/races.dat").isEmpty());
        today_.Set(MakeDateTime(2024, 6, 2));
        RaceEditDialog next(nullptr);
        QCOMPARE(Field(&next, "Text1")->text() + "|" + Field(&next, "Text9")->text(), "Weekly" + QString(24, ' ') + "|23");
        QCOMPARE(Combo(&next, "Combo2")->currentIndex(), 2);
        QCOMPARE(Date(&next)->date(), QDate(2024, 6, 2));
    }

    void editANightOpensTheClosedPeriodOverMidnightTheWeekFitsTheYearAndReturnStoresTheRace() {
        folder->Install("ui/race");
        App().timeSource = &today_;
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        Type(&dialog, {{"Text1", "Spring1"}, {"Text8", "1"}});
        QVERIFY(Field(&dialog, "Text4")->isEnabled());
        Type(&dialog, {{"Text4", "05"}}); // 05:00 to 06:00 is no night
        Button(&dialog, "Command2")->click();
        QCOMPARE(folder->Told(), ShippedPair("frmRaceAdd.frmRaceAddMsgBoxHelp6", "frmRaceAdd.frmRaceAddMsgBoxHelp5"));
        QVERIFY(Field(&dialog, "Text4")->hasFocus());
        Combo(&dialog, "Combo2")->setCurrentIndex(1); // REIMS
        Type(&dialog, {{"Text4", "23"}, {"Text12", "Opener"}, {"Text14", "25"}});
        Date(&dialog)->setDate(QDate(2026, 12, 31));
        Field(&dialog, "Text9")->setText("54");
        Button(&dialog, "Command2")->click();
        QVERIFY(Field(&dialog, "Text9")->hasFocus() && dialog.isVisible());
        Field(&dialog, "Text9")->setText("53");
        QTest::keyClick(Field(&dialog, "Text14"), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(folder->Read("racecalc/races.dat"), Golden("ui/expected/races-night.dat")); // REIMS, one night from 23, week 53
    }

    void editADuplicateNameOrAFailedSaveKeepsTheEditorOpen() {
        folder->Install("ui/tworaces");
        App().timeSource = &today_;
        const QByteArray before = folder->Read("racecalc/races.dat");
        RaceEditDialog dialog(nullptr);
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text1"), "Reims ");
        Button(&dialog, "Command2")->click();
        QCOMPARE(folder->Messages().Shown()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(folder->Told(), ShippedPair("frmRaceAdd.frmRaceAddMsgBoxHelp2", "frmRaceAdd.frmRaceAddMsgBoxHelp1"));
        QVERIFY(Field(&dialog, "Text1")->hasFocus());
        QCOMPARE(folder->Read("racecalc/races.dat"), before);
        TypeInto(Field(&dialog, "Text1"), "Autumn");
        Field(&dialog, "Text9")->setText("60"); // a box out of range, never left, takes the focus on storing
        Button(&dialog, "Command2")->click();
        QVERIFY(Field(&dialog, "Text9")->hasFocus() && folder->Read("racecalc/races.dat") == before);
        Field(&dialog, "Text9")->setText("20");
        QVERIFY(SavingFails(folder->Messages(), [&] { Button(&dialog, "Command2")->click(); }).startsWith(dialog.windowTitle() + ": "));
        QVERIFY(dialog.isVisible());
        QCOMPARE(folder->Read("racecalc/races.dat"), before);
    }

    void editAlterShowsTheRaceAndReplacesIt() {
        folder->Install("ui/race");
        folder->Install("ui/goneclub"); // the second race's club is no longer in the register
        App().timeSource = &today_;
        RaceEditDialog dialog(nullptr, LoadRaces(App().programFolder), 2);
        QCOMPARE(dialog.windowTitle(), Shipped("frmRaceAdd.Caption(Alter)"));
        QCOMPARE(MissingCaptionKeys(&dialog, "Alter"), QStringList());
        QVERIFY(!Button(&dialog, "Command1")->isEnabled());
        QCOMPARE(Combo(&dialog, "Combo2")->currentIndex(), 1);
        QCOMPARE(Date(&dialog)->date(), QDate(2024, 5, 22));
        ShowActive(&dialog);
        TypeInto(Field(&dialog, "Text3"), "45");
        Button(&dialog, "Command2")->click(); // its own name is no duplicate
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(folder->Read("racecalc/races.dat"), Golden("ui/expected/races-altered.dat")); // minute 45, club Nord kept
    }

    void selectShowsTheRaceAndDeleteAsksThenRemovesItUntilNoneIsLeft() {
        const auto shows = [](QWidget* dialog) { return Label(dialog, "Label3") + "|" + Label(dialog, "Label5"); };
        {
            RaceSelectDialog none(nullptr, RaceSelectDialog::Mode::Alter);
            QCOMPARE(Combo(&none, "Combo1")->itemText(0) + shows(&none), Shipped("frmRaceSelect.frmRaceSelectNoRacesAvailable") + "|");
            QVERIFY(!Button(&none, "OKButton")->isEnabled());
        }
        folder->Install("ui/tworaces");
        Showing<RaceSelectDialog> dialog(nullptr, RaceSelectDialog::Mode::Delete);
        QPushButton* ok = Button(&dialog, "OKButton");
        QCOMPARE(ok->text(), Shipped("frmRaceSelect.OKButton.Caption(Delete)"));
        QCOMPARE(shows(&dialog), "15.05.2024|SPA" + QString(10, ' ') + "Spa, Belgien");
        Combo(&dialog, "Combo1")->setCurrentIndex(1);
        QCOMPARE(dialog.ChosenNumber(), std::size_t(2));
        Combo(&dialog, "Combo1")->setCurrentIndex(0);
        folder->Messages().QueueAnswer(MessageAnswer::Cancel); // No
        ok->click();
        QCOMPARE(folder->Messages().Shown()[0].icon, MessageIcon::Question);
        QCOMPARE(folder->Told(), ShippedPair("frmRaceSelect.frmRaceSelectMsgBoxHelp2", "frmRaceSelect.frmRaceSelectMsgBoxHelp1"));
        QCOMPARE(LoadRaces(App().programFolder).Count(), std::size_t(2));
        ok->click(); // Yes
        QVERIFY(dialog.isVisible());
        QCOMPARE(Combo(&dialog, "Combo1")->itemText(0) + "|" + shows(&dialog), "Reims|22.05.2024|REIMS" + QString(8, ' ') + "Reims, France");
        ok->click(); // the last one
        QCOMPARE(folder->Read("racecalc/races.dat"), QByteArray(" 0 \r\n"));
        QCOMPARE(Combo(&dialog, "Combo1")->itemText(0), QString("No races availiable")); // the form's own text for an empty file
        QVERIFY(!ok->isEnabled());
        QCOMPARE(folder->Told().size(), 4); // asked again before each
    }

    void selectInEachModeHandsTheChosenRaceOnOrSaysWhy() {
        folder->Install("ui/tworaces");
        folder->Write("racecalc/dist007.dat", " 1 \r\n 1 \r\n01207 0 0123.5000\r\n");
        QStringList handed;
        const auto name = [](const Race& race) { return QString::fromStdString(TrimmedRaceName(race)); };
        RaceEvaluationHooks().showResults = [&](QWidget*, const Race& race, const QStringList& warnings) {
            handed << "show " + name(race) + warnings.join("");
        };
        RaceEvaluationHooks().printResults = [&](QWidget*, const Race& race) { handed << "print " + name(race); };
        RaceEvaluationHooks().calculate = [&](QWidget*, RaceList& races, std::size_t n, const DistanceTable& table) {
            handed << QString("calculate %1 %2").arg(n).arg(table.Distance(12, 7)); // with the club's distances
            folder->Write("racecalc/" + name(races.races[n - 1]) + ".flt", " 0 \r\n");
            return CalculationReport{{" warned"}, false};
        };
        // Chooses the second race in `mode` and answers whether the chooser stayed open.
        const auto choose = [](RaceSelectDialog::Mode mode) {
            Showing<RaceSelectDialog> dialog(nullptr, mode);
            Combo(&dialog, "Combo1")->setCurrentIndex(1);
            Button(&dialog, "OKButton")->click();
            return dialog.isVisible();
        };
        QVERIFY(!choose(RaceSelectDialog::Mode::ShowResults)); // no result file yet
        QCOMPARE(folder->Told(), ShippedPair("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound2", "frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound1"));
        QVERIFY(handed.isEmpty());
        QVERIFY(!choose(RaceSelectDialog::Mode::Calculate)); // then shows
        QVERIFY(!choose(RaceSelectDialog::Mode::PrintResults));
        QCOMPARE(handed, (QStringList{"calculate 2 123.5", "show Reims warned", "print Reims"}));

        QString opened;
        ModalWatcher watcher([&](QWidget* modal) { opened = modal->windowTitle() + "|" + Field(modal, "Text1")->text().trimmed(); });
        QVERIFY(!choose(RaceSelectDialog::Mode::Alter));
        QCOMPARE(opened, Shipped("frmRaceAdd.Caption(Alter)") + "|Reims");
    }

    void clockTimesAddingPigeonsMarksThemAndOkWritesTheirFileOrWithoutRacesNothing() {
        folder->Install("ui/race");
        {
            ClockTimesManDialog none(nullptr);
            QVERIFY(Combo(&none, "Combo1")->count() == 0 && Combo(&none, "Combo2")->count() == 0);
            Button(&none, "OKButton")->click();
            QVERIFY(!QDir(folder->Path() + "/racecalc").exists());
        }
        folder->Install("ui/tworaces");
        ClockTimesManDialog dialog(nullptr);
        ShowActive(&dialog);
        QPushButton* addRemove = Button(&dialog, "Command1");
        QCOMPARE(Combo(&dialog, "Combo1")->count(), 2);
        QCOMPARE(Combo(&dialog, "Combo2")->currentText(), QString("Meier"));
        QCOMPARE(Combo(&dialog, "Combo3")->count(), 0); // Meier has no pigeons
        QVERIFY(!addRemove->isEnabled());
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        QCOMPARE(Combo(&dialog, "Combo3")->count(), 10);
        QCOMPARE(addRemove->text(), Shipped("frmClocktimesManAdd.Command1.Caption(Add)"));
        // A box outside its range keeps the focus, and Add takes no such arrival.
        TypeInto(Box(&dialog, 18), "60");
        QApplication::processEvents();
        QVERIFY(Box(&dialog, 18)->hasFocus());
        TypeInto(Box(&dialog, 18), "");
        Box(&dialog, 2)->setText("13");
        addRemove->click();
        QVERIFY(!Added(&dialog, 0) && Box(&dialog, 2)->hasFocus());
        TypeInto(Box(&dialog, 2), "");
        AddPigeon(&dialog, 1, 0, 11, 42); // no arrival day: such a pigeon would vanish from the result
        QVERIFY(!Added(&dialog, 1) && Box(&dialog, 1)->hasFocus());
        QCOMPARE(folder->Told(), NumberedMessage("frmClocktimesManAdd", 1));

        AddPigeon(&dialog, 1, 15, 11, 42);
        QVERIFY(Added(&dialog, 1));
        QCOMPARE(addRemove->text(), Shipped("frmClocktimesManAdd.Command1.Caption(Remove)"));
        AddPigeon(&dialog, 8, 16, 6, 1);
        QCOMPARE(Label(&dialog, "Label16"), Shipped("frmClocktimesManAdd.PigeonsAdded") + "2" +
                                                Shipped("frmClocktimesManAdd.PigeonsAddedOf") + "10");
        folder->Write("racecalc/_wf000.man", "stray");
        Button(&dialog, "OKButton")->click();
        QVERIFY(dialog.result() == QDialog::Accepted && !QFile::exists(folder->Path() + "/racecalc/_wf000.man"));
        QCOMPARE(folder->Read("racecalc/Spring 1_wf012.man"), Golden("ui/expected/clocktimes-two.man"));
    }

    void clockTimesChoosingAnotherFancierOrRaceSavesTheOneLeft() {
        folder->Install("ui/tworaces");
        ClockTimesManDialog dialog(nullptr);
        ShowActive(&dialog);
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        AddPigeon(&dialog, 0, 15, 12, 0);
        Combo(&dialog, "Combo2")->setCurrentIndex(2); // Weber, never touched
        QCOMPARE(folder->Read("racecalc/Spring 1_wf012.man"), Golden("ui/expected/clocktimes-one.man"));
        QVERIFY(!QFile::exists(folder->Path() + "/racecalc/Spring 1_wf013.man"));

        // Back to Schulz: the file is read again; removing the pigeon clears its boxes.
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        QVERIFY(Added(&dialog, 0));
        Combo(&dialog, "Combo3")->setCurrentIndex(0);
        QCOMPARE(Box(&dialog, 1)->text(), QString("15"));
        Button(&dialog, "Command1")->click();
        QVERIFY(!Added(&dialog, 0));
        QCOMPARE(Box(&dialog, 1)->text(), QString("01"));
        Combo(&dialog, "Combo1")->setCurrentIndex(1); // another race
        QVERIFY(!QFile::exists(folder->Path() + "/racecalc/Spring 1_wf012.man"));
        QCOMPARE(Combo(&dialog, "Combo2")->currentText(), QString("Meier"));
    }

    // A hand-time file cut short is left as it is; the times of a ring the register no longer
    // holds stay in the file, since the calculation counts them.
    void clockTimesAFileNotReadWholeIsNeverSavedOverAndOtherRingsStay() {
        folder->Install("ui/tworaces");
        const QByteArray cut = "0150524\r\n1007013Weber\r\n3007013DV    2023\r\n";
        const QByteArray other = "3007012DV    2023099990000101M05015051200070000000000000000000000000000BL  01\r\n";
        folder->Write("racecalc/Spring 1_wf013.man", cut);
        folder->Write("racecalc/Spring 1_wf012.man", Golden("ui/expected/clocktimes-one.man") + other);
        ClockTimesManDialog dialog(nullptr);
        ShowActive(&dialog);
        Combo(&dialog, "Combo2")->setCurrentIndex(1);
        QVERIFY(Added(&dialog, 0) && folder->Told().join('|').contains("DV    2023099990000101M"));
        Combo(&dialog, "Combo3")->setCurrentIndex(0);
        Button(&dialog, "Command1")->click(); // the register's pigeon goes, the other ring stays
        Combo(&dialog, "Combo2")->setCurrentIndex(2);
        const QStringList told = folder->Told();
        QVERIFY(told.size() == 2 && told[1].contains("wf013.man") && told[1].contains(Shipped("Files.ReasonDamagedLine").arg(3)));
        QVERIFY(!Button(&dialog, "Command1")->isEnabled() && !Box(&dialog, 6)->isEnabled());
        Button(&dialog, "OKButton")->click();
        QCOMPARE(folder->Read("racecalc/Spring 1_wf013.man"), cut);
        const QByteArray kept = folder->Read("racecalc/Spring 1_wf012.man");
        QVERIFY(kept.endsWith("000\r\n" + other) && kept.mid(16, 3) == "001");
    }

    void distancesSwitchingTheUnitResetsTheBoxesAndAClubWithoutFanciersStoresNothing() {
        folder->Install("ui/race");
        Showing<EnterDistancesDialog> dialog(nullptr, U'.');
        const auto units = [&dialog] { return Label(&dialog, "Label6") + Label(&dialog, "Label7"); };
        QVERIFY(Option(&dialog, "Option4")->isChecked());
        QCOMPARE(units(), Shipped("frmEnterDistances.Label6Miles.Caption") + Shipped("frmEnterDistances.Label7Yards.Caption"));
        QCOMPARE(Combo(&dialog, "Combo2")->itemText(1), QString("Schulz"));
        QCOMPARE(Combo(&dialog, "Combo3")->count(), 3);
        QCOMPARE(Boxes(&dialog), QString("0|0000")); // a pair never entered: 0 miles
        Type(&dialog, {{"Text1", "12"}, {"Text2", "880"}});
        Option(&dialog, "Option3")->click();
        QCOMPARE(Boxes(&dialog), QString("0|000"));
        QCOMPARE(units(), Shipped("frmEnterDistances.Label6Km.Caption") + Shipped("frmEnterDistances.Label7Meter.Caption"));
        QCOMPARE(Typed(&dialog, "Text2", "12345x"), QString("123")); // metres take three digits, yards four
        QVERIFY(Button(&dialog, "Command1")->isEnabled());
        Combo(&dialog, "Combo1")->setCurrentIndex(1);
        QCOMPARE(Combo(&dialog, "Combo2")->count(), 0);
        QVERIFY(!Button(&dialog, "Command1")->isEnabled());
    }

    void distancesStoringWritesTheClubsFileEachPairComesBackInItsUnitAndABrokenFileIsKept() {
        folder->Install("ui/race");
        Showing<EnterDistancesDialog> dialog(nullptr, U',');
        Combo(&dialog, "Combo2")->setCurrentIndex(1); // fancier 012
        Type(&dialog, {{"Text1", "12"}, {"Text2", "880"}});
        QTest::keyClick(Field(&dialog, "Text2"), Qt::Key_Return);
        Combo(&dialog, "Combo3")->setCurrentIndex(1); // release point 07
        Option(&dialog, "Option3")->click();
        Type(&dialog, {{"Text1", "123"}, {"Text2", "45"}});
        Button(&dialog, "OKButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(folder->Read("racecalc/dist007.dat"), Golden("ui/expected/dist007.dat"));

        EnterDistancesDialog again(nullptr, U'.');
        Combo(&again, "Combo2")->setCurrentIndex(1);
        QVERIFY(Option(&again, "Option4")->isChecked());
        QCOMPARE(Boxes(&again), QString("12|0880"));
        Combo(&again, "Combo3")->setCurrentIndex(1);
        QVERIFY(Option(&again, "Option3")->isChecked());
        QCOMPARE(Boxes(&again), QString("123|045"));

        // Stores the pair and answers which fancier and release point come next.
        const auto store = [&again] {
            Button(&again, "Command1")->click();
            return QString("%1/%2").arg(Combo(&again, "Combo2")->currentIndex()).arg(Combo(&again, "Combo3")->currentIndex());
        };
        QCOMPARE(store(), QString("1/1")); // without a check box the pair stays
        Check(&again, "Check1")->setChecked(true);
        QCOMPARE(QStringList({store(), store()}), (QStringList{"2/1", "2/1"})); // at the last fancier it stays
        Check(&again, "Check2")->setChecked(true);
        QVERIFY(!Check(&again, "Check1")->isChecked()); // the two exclude each other
        QCOMPARE(store(), QString("2/2"));

        // A broken file is not saved over nor passed over by closing.
        const QByteArray broken = " 1 \r\n 2 \r\n00105 1 0020.1168\r\n00107 0 abc\r\n";
        folder->Write("racecalc/dist007.dat", broken);
        Showing<EnterDistancesDialog> third(nullptr, U'.');
        Button(&third, "Command1")->click();
        QVERIFY(folder->Critical().startsWith(third.windowTitle() + ": "));
        QCOMPARE(folder->Read("racecalc/dist007.dat"), broken);
        Button(&third, "OKButton")->click();
        QVERIFY(third.isVisible() && folder->Told().value(0) == third.windowTitle());
    }

    // The document is core's (golden files); here which file goes where, and the messages.
    void exportWritesTheTypedReadoutHereOrToTheChosenFolderAndTellsEachFailure() {
        App().settings.region = "012North";
        App().settings.federation = "005Federation";
        folder->Write("race/W0120523.d07", Golden("xmlexport/W0120523.d07"));
        Export("23", "7", "Command1");
        QCOMPARE(LastMessage(), Shipped("frmRaceDataExportToXML.MsgBoxText3"));
        const QByteArray document = folder->Read("W0120523_07.xml");
        QVERIFY(document.startsWith("<?xml") && document.contains("Zimmermann"));

        Export("22", "07", "Command3");
        QCOMPARE(LastMessage(), Shipped("frmRaceDataExportToXML.MsgBoxText1")); // no such readout
        Export("23", "07", "Command3", [](QWidget*) {});
        QCOMPARE(LastMessage(), Shipped("frmRaceDataExportToXML.MsgBoxText2")); // no folder chosen
        QTemporaryDir target;
        Export("23", "07", "Command3", [&](QWidget* modal) {
            qobject_cast<StoreRacedataPathSelect*>(modal)->SetFolder(target.path());
            Click(modal);
        });
        QCOMPARE(folder->Read(target.filePath("W0120523_07.xml")), document);
        const QString failed = SavingFails(folder->Messages(), [] { Export("23", "07", "Command1"); });
        QVERIFY2(failed.startsWith(Shipped("frmRaceDataExportToXML.Caption")), qPrintable(failed));
    }
};

QTEST_MAIN(RaceTest)
#include "race_test.moc"
