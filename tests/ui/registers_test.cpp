
#include "common/textcodec.h"
#include "ui/clock/loftsenddialog.h"
#include "ui/exchange/exchangedialog.h"
#include "ui/registers/clubchangedialog.h"
#include "ui/registers/clubdialog.h"
#include "ui/registers/fancierdialog.h"
#include "ui/registers/pigeondialog.h"
#include "ui/releasepoints/racepointdialog.h"
#include "uitestsupport.h"

namespace {

QRadioButton* Option(QWidget* dialog, int n) { return dialog->findChild<QRadioButton*>(QString("Option%1").arg(n)); }

// The status line an exchange window ends with: its start text followed by `result` of `window`.
QString Status(const ExchangeDialog& dialog, const QString& result, const QString& window = {}) {
    const QString subject = dialog.objectName().contains("Fancier") ? "Fancierdata" : "Loftdata";
    return Shipped(dialog.objectName() + ".txt" + subject + "Start") +
           Shipped((window.isEmpty() ? dialog.objectName() : window) + ".txt" + subject + result);
}

} // namespace

// The refusals, the records and the files are core's; here the fields, the messages with their focus,
// what a save does to the register and where the main window's list stands after it.
class RegistersTest : public UiTest {
    Q_OBJECT

    // Fancier 012 of club 007 with his pigeon file; the main window lists his pigeons, `selected` marked.
    std::unique_ptr<MainWindow> Loft(const QString& golden = {}, std::initializer_list<int> selected = {}) {
        folder->Write("pigeon/p007012.dat", golden.isEmpty() ? QByteArray(" 0 \r\n") : Golden("ui/expected/" + golden));
        auto main = std::make_unique<IdleMainWindow>();
        main->SelectedClubNumber = "007";
        main->SelectedFancierNumber = "012";
        main->TaubenAnzeigen();
        if (selected.size() > 0) main->List()->setCurrentRow(*selected.begin());
        for (const int row : selected) main->List()->item(row)->setSelected(true);
        folder->Messages().Clear();
        return main;
    }
    void ShowFanciers(MainWindow& main, const QString& golden) {
        folder->Write("fancier/f007.DAT", Golden("ui/expected/" + golden));
        main.SelectedClubNumber = "007";
        main.ZuechterAnzeigen();
    }

private slots:
    // Cancelling any Add, Alter or Delete keeps the line the user chose, highlighted, and the loft
    // Send loft would send. Return in a field runs its leave rule, then the confirming button.
    void cancellingARegisterDialogKeepsTheChosenLineAndTheLoftToSend() {
        folder->Install("ui/race");
        App().settings.comPort = "1";
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        IdleMainWindow main;
        const auto state = [&main] {
            QStringList seen{QString::number(main.List()->currentRow()), main.findChild<QLabel*>("Label1")->text()};
            for (const int line : main.SelectedLines()) seen << main.List()->item(line)->text();
            return seen << Label(std::make_unique<LoftSendDialog>(&main).get());
        };
        const std::tuple<QString, int, int> registers[] = {{"Club", 0, 1}, {"Fancier", 1, 1}, {"Pigeon", 2, 2}, {"RacePoints", 0, 4}}; // depth, line
        for (const auto& [subject, depth, line] : registers) {
            for (const char* action : {"Add", "Alter", "Delete"}) {
                main.OpenMenuDialog("mnuClubShow");
                for (int level = 0; level < depth; ++level) main.List()->setCurrentRow(level), QTest::keyClick(main.List(), Qt::Key_Return);
                if (subject == "RacePoints") main.OpenMenuDialog("mnuRacePointsShow");
                main.List()->setCurrentRow(line);
                const QStringList before = state();
                QCOMPARE(before.size(), 4); // one line chosen
                ModalWatcher watcher([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
                main.OpenMenuDialog("mnu" + subject + action);
                QCOMPARE(state(), before);
            }
        }
        SetClockLinkFactoryForTests(nullptr);
        Showing<ClubDialog> add(&main, ClubDialog::Mode::Add);
        Typed(&add, "Text2", "Ost");
        add.findChild<QLineEdit*>("Text1")->setFocus();
        QTest::keyClicks(add.findChild<QLineEdit*>("Text1"), "9\r");
        QVERIFY(Text(&add, {"Text1"}) == "009" && folder->Read("club/club.dat").contains("009Ost"));
    }

    void clubAddPadsItsFieldsRefusesWithTheFocusOnTheFaultAndSavesInOrder() {
        folder->Write("club/club.dat", Golden("ui/expected/club-red.dat"));
        MainWindow main;
        Showing<ClubDialog> d(&main, ClubDialog::Mode::Add);
        // The shared field: its key filter, padding on leaving, trimming on entering.
        QCOMPARE(Typed(&d, "Text1", "a5x"), QString("005"));
        QCOMPARE(Typed(&d, "Text2", QString::fromUtf8("  North\u221A ")), "North" + QString(25, ' ')); // no such byte
        d.findChild<QLineEdit*>("Text2")->setFocus();
        d.findChild<QLineEdit*>("Text2")->insert("\tx"); // pasted from a table: no control byte gets in
        QCOMPARE(Text(&d, {"Text2"}), QString("North"));
        Fill(&d, {"10", "Again", ""});
        QCOMPARE(folder->Critical(), NumberedMessage("frmClubAdd", 2).join(": "));
        auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QCOMPARE(focused->objectName(), QString("Text1"));
        QCOMPARE(focused->selectedText(), focused->text()); // selected, to be typed over
        QCOMPARE(folder->Read("club/club.dat"), Golden("ui/expected/club-red.dat"));
        Fill(&d, {"5", "Blue Wings", "est. 1950"});
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(folder->Read("club/club.dat"), Golden("ui/expected/club-added.dat"));
        QCOMPARE(main.List()->item(0)->text(), "005:     Blue Wings" + QString(20, ' '));
    }

    void clubAlterAndDeleteKeepTheListPositionAndTellAFailedSave() {
        folder->Write("club/club.dat", Golden("ui/expected/club-three.dat"));
        MainWindow main;
        main.List()->setCurrentRow(1);
        Showing<ClubDialog> alter(&main, ClubDialog::Mode::Alter);
        QCOMPARE(Text(&alter, {"Text3"}), QString("note"));
        Fill(&alter, {"500", "Bee", "note"});
        QCOMPARE(folder->Read("club/club.dat"), Golden("ui/expected/club-altered.dat"));
        QCOMPARE(main.List()->currentRow(), 1);

        main.List()->setCurrentRow(2);
        Showing<ClubDialog> remove(&main, ClubDialog::Mode::Delete);
        QVERIFY(remove.findChild<QLineEdit*>("Text1")->isReadOnly());
        QVERIFY(SavingFails(folder->Messages(), [&] { Click(&remove); }).startsWith(Shipped("frmClubDelete.Caption") + ": "));
        QVERIFY(remove.isVisible());
        Click(&remove);
        QCOMPARE(folder->Read("club/club.dat"), Golden("ui/expected/club-deleted.dat"));
        QCOMPARE(main.List()->currentRow(), 1); // the new last line
        QCOMPARE(main.SelectedClubNumber, std::string("010"));
    }

    void clubChangeOpensOnTheCurrentFancierRefusesKeepsAFailedWriteAndMovesHim() {
        folder->Install("ui/clubchange");
        IdleMainWindow main; // fancier 012 of club 001 selected
        main.List()->setCurrentRow(0);
        main.ZuechterAnzeigen();
        main.List()->setCurrentRow(0);
        Showing<ClubChangeDialog> dialog(&main);
        QCOMPARE(Text(&dialog, {"Text1", "Text2"}), QString("001012"));
        Fill(&dialog, {"2", "1"}); // fancier 001 is there already
        QCOMPARE(folder->Told(), NumberedMessage("frmClubChange", 2));
        QCOMPARE(dialog.focusWidget()->objectName(), QString("Text2"));

        const QString failed = SavingFails(folder->Messages(), [&] { Fill(&dialog, {"2", "5"}); });
        QVERIFY2(failed.startsWith(dialog.windowTitle() + ": ") && failed.contains("p002005.dat"), qPrintable(failed));
        QVERIFY(dialog.isVisible() && main.Mode() == ListMode::Fanciers);
        for (const char* file : {"fancier/f002.DAT", "pigeon/p001012.dat"})
            QCOMPARE(folder->Read(file), Golden(QString("ui/clubchange/") + file));

        Fill(&dialog, {"a2b", "5"});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(folder->Read("fancier/f001.DAT"), QByteArray(" 0 \r\n"));
        QCOMPARE(folder->Read("fancier/f002.DAT"), Golden("ui/expected/clubchange-f002.DAT"));
        QCOMPARE(folder->Read("pigeon/p002005.dat"), Golden("ui/clubchange/pigeon/p001012.dat"));
        QVERIFY(!QFile::exists(folder->Path() + "/pigeon/p001012.dat"));
        QCOMPARE(main.Mode(), ListMode::Clubs);
    }

    void fancierAddBuildsTheRecordTellsARefusalAndAFailedSaveAndAlterKeepsTheListPosition() {
        MainWindow main;
        ShowFanciers(main, "fancier-smith.DAT");
        Showing<FancierDialog> d(&main, FancierDialog::Mode::Add);
        QCOMPARE(Typed(&d, "Text4", ""), QString("W")); // a sign field fills its default on leaving
        Type(&d, {{"Text1", "1"}, {"Text2", "Meier"}, {"Text6", "90"}});
        Click(&d);
        QCOMPARE(folder->Told(), NumberedMessage("frmFancierAdd", 1));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text6"));
        Type(&d, {{"Text1", "1"}, {"Text3", "N"}, {"Text6", "51"}, {"Text7", "30"}, {"Text8", "15"}, {"Text9", "25"},
                  {"Text4", "E"}, {"Text10", "7"}, {"Text11", "5"}});
        d.findChild<QCheckBox*>("Check1")->setChecked(true);
        QVERIFY(SavingFails(folder->Messages(), [&] { Click(&d); }).startsWith(Shipped("frmFancierAdd.Caption") + ": "));
        QVERIFY(d.isVisible());
        Click(&d);
        QCOMPARE(folder->Read("fancier/f007.DAT"), Golden("ui/expected/fancier-added.DAT"));
        QCOMPARE(main.List()->count(), 2);

        // Alter keeps the list position.
        ShowFanciers(main, "fancier-jones.DAT");
        main.List()->setCurrentRow(1);
        Showing<FancierDialog> alter(&main, FancierDialog::Mode::Alter);
        QVERIFY(alter.findChild<QCheckBox*>("Check1")->isChecked()); // anything but "0"
        Typed(&alter, "Text2", "Jonas");
        Click(&alter);
        QCOMPARE(folder->Read("fancier/f007.DAT"), Golden("ui/expected/fancier-jonas.DAT"));
        QCOMPARE(main.List()->currentRow(), 1);
    }

    void fancierDeleteAsksOnceForSeveralLinesOnly() {
        MainWindow main;
        ShowFanciers(main, "fancier-four.DAT");
        QListWidget* list = main.List();
        list->setCurrentRow(3);
        for (const int row : {0, 1}) list->setCurrentRow(row, QItemSelectionModel::Select); // as the user adds lines
        const QStringList question = {Shipped("frmFancierDelete.MsgBoxName3"),
                                      Shipped("frmFancierDelete.MsgBoxText3a") + "\n" + Shipped("frmFancierDelete.MsgBoxText3b")};
        for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
            folder->Messages().QueueAnswer(answer);
            Showing<FancierDialog> d(&main, FancierDialog::Mode::Delete);
            QCOMPARE(Text(&d, {"Text2"}), QString("B")); // the line clicked last
            Click(&d);
            QCOMPARE(folder->Messages().Shown().at(0).icon, MessageIcon::Exclamation);
            QCOMPARE(folder->Told(), question);
            if (answer == MessageAnswer::Cancel) QCOMPARE(folder->Read("fancier/f007.DAT"), Golden("ui/expected/fancier-four.DAT"));
        }
        QCOMPARE(folder->Read("fancier/f007.DAT"), Golden("ui/expected/fancier-one.DAT"));
        QCOMPARE(list->currentRow(), 0); // the new last line

        FancierDialog single(&main, FancierDialog::Mode::Delete); // one line: no question
        Click(&single);
        QCOMPARE(folder->Told(), QStringList());
        QCOMPARE(folder->Read("fancier/f007.DAT"), QByteArray(" 0 \r\n"));
    }

    void pigeonAddNormalisesChoosesTheFormatRefusesWithTheFocusAndWritesAPigeon() {
        const auto main = Loft();
        Showing<PigeonDialog> dialog(main.get(), PigeonDialogMode::Add, 2024);
        QCOMPARE(Text(&dialog, {"Text2", "Text6", "Text7"}), QString("241    "));
        Type(&dialog, {{"Text1", "nl"}, {"Text2", "5"}, {"Text4", "12a34567"}, {"Text5", "xm"}, {"Text7", "b1l"}});
        QCOMPARE(Text(&dialog, {"Text2", "Text4", "Text5", "Text7"}), QString("051234567MBL  "));
        QVERIFY(Option(&dialog, 1)->isChecked());
        QCOMPARE(Label(&dialog, "Label9") + "|" + Label(&dialog, "Label11"), QString("NL      05   1234567M|NL   05 1234567M"));
        Typed(&dialog, "Text2", "97");
        Click(&dialog);
        QCOMPARE(folder->Told(), NumberedMessage("frmPigeonsAdd", 1)); // 97 is no year to record
        QTRY_COMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.findChild<FixedField*>("Text2")));
        Typed(&dialog, "Text2", "05");
        const QString failed = SavingFails(folder->Messages(), [&] { Click(&dialog); });
        QVERIFY2(failed.startsWith(dialog.windowTitle() + ": ") && failed.contains("p007012.dat"), qPrintable(failed));
        QCOMPARE(folder->Read("pigeon/p007012.dat"), QByteArray(" 0 \r\n"));
        Click(&dialog);
        QCOMPARE(folder->Read("pigeon/p007012.dat"), QByteArray(" 1 \r\nNL      05     1234567M1300000000BL  00\r\n"));
        QCOMPARE(main->List()->item(0)->text(), "0001:     NL      05   1234567M      BL  " + QString(16, ' '));
        QCOMPARE(Text(&dialog, {"Text4"}), QString("1234568")); // ready for the next ring
        QVERIFY(folder->Told().isEmpty() && dialog.isVisible());

        auto* nation = dialog.findChild<FixedField*>("Text1");
        nation->setFocus();
        nation->selectAll();
        QTest::keyClicks(nation, "gb"); // the previews follow each key, the format waits for the leaving
        QVERIFY(Option(&dialog, 1)->isChecked());
        QVERIFY(Label(&dialog, "Label9").startsWith("GB"));
        Typed(&dialog, "Text1", "gb");
        QVERIFY(Option(&dialog, 3)->isChecked());
        Typed(&dialog, "Text1", "xyz");
        Option(&dialog, 6)->click();
        Typed(&dialog, "Text1", "xyz"); // retyped through "" and the listed "X": the user's choice stands
        QCOMPARE(dialog.SelectedFormat(), 5);
        QVERIFY(Option(&dialog, 6)->isChecked());
    }

    void pigeonAlterChangesSexAndColourAndKeepsChipAndFormat() {
        const auto main = Loft("pigeons-three.dat", {1});
        Showing<PigeonDialog> dialog(main.get(), PigeonDialogMode::Alter);
        QCOMPARE(Text(&dialog, {"Text1", "Text4", "Text7"}), QString("NL          2BLUE"));
        QVERIFY(dialog.findChild<FixedField*>("Text4")->isReadOnly());
        Type(&dialog, {{"Text5", "f"}, {"Text7", " red"}});
        Click(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(folder->Read("pigeon/p007012.dat"), Golden("ui/expected/pigeons-altered.dat"));
        QCOMPARE(main->List()->currentRow(), 1);
    }

    void pigeonDeleteAsksOnlyForSeveralAndRemovesExactlyTheSelected() {
        const auto main = Loft("pigeons-five.dat", {1, 4});
        const QStringList question = {Shipped("frmPigeonsDelete.MsgBoxName1"), Shipped("frmPigeonsDelete.MsgBoxText1a") +
                                                                                  "\n" + Shipped("frmPigeonsDelete.MsgBoxText1b")};
        for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
            folder->Messages().QueueAnswer(answer);
            PigeonDialog dialog(main.get(), PigeonDialogMode::Delete);
            Click(&dialog);
            QCOMPARE(folder->Told(), question);
            QCOMPARE(folder->Read("pigeon/p007012.dat"), Golden(answer == MessageAnswer::Ok ? "ui/expected/pigeons-134.dat"
                                                                                            : "ui/expected/pigeons-five.dat"));
        }
        main->List()->setCurrentRow(2);
        PigeonDialog single(main.get(), PigeonDialogMode::Delete);
        Click(&single);
        QCOMPARE(folder->Told(), QStringList()); // one line: no question
        QCOMPARE(folder->Read("pigeon/p007012.dat"), Golden("ui/expected/pigeons-13.dat"));
        QCOMPARE(main->List()->currentRow(), 1); // the new last line
    }

    void racePointAddFillsTheFormFromATypedSlotRefusesWithMessageOneSavesAndScrolls() {
        folder->Write("racepo/racepo.dat", Golden("ui/expected/racepo-spa.dat"));
        MainWindow main;
        main.show();
        main.RacePointsAnzeigen();
        App().settings.sizeChoice = "3"; // the largest fonts must not clip a field
        App().settings.scaleFactor = 1.5F;
        Showing<RacePointDialog> d(&main, RacePointDialog::Mode::Add);
        for (const char* name : {"Text1", "Text10"}) {
            auto* field = d.findChild<QLineEdit*>(name);
            QVERIFY(field->width() > field->fontMetrics().horizontalAdvance(QString(field->maxLength(), QChar('0'))));
        }
        Typed(&d, "Text1", "3"); // "03" on leaving: slot 3
        QCOMPARE(Text(&d, {"Text3", "Text13"}), QString("Spa, Belgium06"));
        // Typing the number of a slot fills the form from it, so the other fields come after it.
        Fill(&d, {"15", "SPA"}); // no place
        QCOMPARE(folder->Told(), NumberedMessage("frmRacePointsAdd", 1));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text3"));
        QCOMPARE(folder->Read("racepo/racepo.dat"), Golden("ui/expected/racepo-spa.dat"));
        Type(&d, {{"Text3", "Spa"}, {"Text5", "50"}});
        Click(&d);
        QCOMPARE(folder->Read("racepo/racepo.dat"), Golden("ui/expected/racepo-added.dat"));
        QVERIFY(d.isVisible()); // ready for the next one
        QCOMPARE(main.List()->item(14)->text(), "15:  SPA" + QString(10, ' '));
        QApplication::processEvents();
        QCOMPARE(main.List()->indexAt(QPoint(2, 2)).row(), 5); // the new entry is the tenth line
    }

    void racePointAlterAndDeleteKeepTheListPositionAndTellAFailedSaveOrARefusedRegister() {
        folder->Write("racepo/racepo.dat", Golden("ui/expected/racepo-rome.dat"));
        MainWindow main;
        main.RacePointsAnzeigen();
        main.List()->setCurrentRow(2);
        Showing<RacePointDialog> alter(&main, RacePointDialog::Mode::Alter);
        QVERIFY(alter.findChild<QLineEdit*>("Text1")->isReadOnly());
        Typed(&alter, "Text2", "SPA NORTH");
        Click(&alter);
        QCOMPARE(main.List()->currentRow(), 2);

        main.List()->setCurrentRow(6);
        Showing<RacePointDialog> remove(&main, RacePointDialog::Mode::Delete);
        QCOMPARE(Text(&remove, {"Text2"}), QString("ROME"));
        QVERIFY(SavingFails(folder->Messages(), [&] { Click(&remove); }).startsWith(Shipped("frmRacePointsDelete.Caption")));
        QVERIFY(remove.isVisible());
        Click(&remove);
        QCOMPARE(folder->Read("racepo/racepo.dat"), Golden("ui/expected/racepo-altered.dat"));
        QCOMPARE(main.List()->currentRow(), 6);
        QCOMPARE(main.SelectedRacePointNumber, std::string("07"));

        folder->Write("racepo/racepo.dat", " 98 \r\n01short\r\n");
        folder->Messages().Clear();
        Showing<RacePointDialog> d(&main, RacePointDialog::Mode::Add);
        QTRY_COMPARE(folder->Messages().Shown().size(), size_t(1)); // saving over it is refused in core
        QCOMPARE(folder->Told().value(0), Shipped("frmRacePointsAdd.Caption"));
        QCOMPARE(folder->Read("racepo/racepo.dat"), QByteArray(" 98 \r\n01short\r\n"));
    }

    // Region 007 and federation 003 with club 002, his fancier 001 and her pigeon.
    void exchangeBuildThenReadGivesTheRegistersBackAndAFileThatCannotBeUsedOrWrittenChangesNothing() {
        App().settings.region = "007North" + std::string(25, ' ');
        App().settings.federation = "003East" + std::string(26, ' ');
        folder->Install("ui/exchange");
        MainWindow main;
        for (const auto direction : {ExchangeDialog::Direction::Build, ExchangeDialog::Direction::Read}) {
            for (const ExchangeKind kind : {ExchangeKind::Fancier, ExchangeKind::Loft}) {
                ExchangeDialog dialog(&main, kind, direction);
                QCOMPARE(dialog.Status(), Status(dialog, "Ready"));
            }
            if (direction == ExchangeDialog::Direction::Read) break;
            for (const char* file : {"club/club.dat", "fancier/f002.DAT", "pigeon/p002001.dat"})
                QVERIFY(QFile::remove(folder->Path() + "/" + file));
            main.VereineAnzeigen();
            QVERIFY(!main.List()->isEnabled()); // no clubs
        }
        QCOMPARE(main.Mode(), ListMode::Clubs);
        QVERIFY2(main.Told().startsWith(ToQt(ExchangeFileName(ExchangeKind::Loft, App().settings)) + " read: "), qPrintable(main.Told()));
        QCOMPARE(main.List()->item(0)->text(), "002:     Brieftaubenverein" + QString(13, ' '));
        for (const char* file : {"club/club.dat", "fancier/f002.DAT", "pigeon/p002001.dat"})
            QCOMPARE(folder->Read(file), Golden(QString("ui/exchange/") + file));
        QVERIFY(folder->Messages().Shown().empty());

        // A file that cannot be used or written is told, and nothing changes.
        folder->Write("exchange/S007003.d00", "1008   Other\r\n2003   East\r\n3004   Neuer Verein\r\n");
        {
            ExchangeDialog dialog(&main, ExchangeKind::Fancier, ExchangeDialog::Direction::Read);
            QCOMPARE(dialog.Status(), Status(dialog, "Error"));
            const QStringList shown = folder->Told(); // message 1, then what is wrong
            QCOMPARE(shown.value(0), Shipped("frmFancierdataRead.MsgBox1Name"));
            QVERIFY2(shown.value(1).startsWith(Shipped("frmFancierdataRead.MsgBox1Text") + "\n\n") &&
                         shown.value(1).contains("not one of region 007"),
                     qPrintable(shown.value(1)));
            QCOMPARE(folder->Read("club/club.dat"), Golden("ui/exchange/club/club.dat"));
        }
        folder->Write("exchange/T007003.d00", "0002001NL      05     7654321\r\n");
        {
            // A damaged line is no file of another region: only what is wrong with it is said.
            ExchangeDialog dialog(&main, ExchangeKind::Loft, ExchangeDialog::Direction::Read);
            const QStringList shown = folder->Told();
            QCOMPARE(shown.value(0), dialog.windowTitle());
            QVERIFY2(shown.value(1).contains("line 1: a pigeon line of 29 characters"), qPrintable(shown.value(1)));
        }
        folder->Write("exchange/T007003.d00", "0002001NL      05     7654321M\r\n");
        std::unique_ptr<ExchangeDialog> dialog;
        const QString failed = SavingFails(folder->Messages(), [&] {
            dialog = std::make_unique<ExchangeDialog>(&main, ExchangeKind::Loft, ExchangeDialog::Direction::Read);
        });
        QVERIFY2(failed.startsWith(dialog->windowTitle() + ": ") && failed.contains("p002001.dat"), qPrintable(failed));
        QCOMPARE(dialog->Status(), Status(*dialog, "Error"));
        QCOMPARE(folder->Read("pigeon/p002001.dat"), Golden("ui/exchange/pigeon/p002001.dat"));
        QVERIFY(QDir(folder->Path() + "/exchange").removeRecursively());
        folder->Messages().Clear();
        ExchangeDialog build(&main, ExchangeKind::Loft, ExchangeDialog::Direction::Build);
        QCOMPARE(build.Status(), Status(build, "Error", "frmLoftdataRead")); // the read window's error text
        QCOMPARE(folder->Messages().Shown().at(0).title, build.windowTitle());
        QVERIFY(folder->Told().value(1).contains("T007003.d00"));
    }
};

QTEST_MAIN(RegistersTest)
#include "registers_test.moc"
