#include <QDir>
#include <QFileDialog>

#include "core/race/resultfile.h"
#include "racetestdata.h"
#include "ui/race/pagestoprintdialog.h"
#include "ui/race/raceresultsdialog.h"
#include "ui/race/raceselectdialog.h"
#include "ui/race/resultprint.h"

class RaceResultsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetResultPrintPdfForTests({}); }

    void exportWritesTheFormatOfTheNameOrTheFilterAndReportsWhatItCannotWrite() {
        ProgramFolderFixture folder;
        const Race race = TestRace("Spring 1", 15, 5);
        const std::vector<ResultLine> lines{{"Meier", "DV 01234 23  1234567M", "BL", 3600, "  1.00.00", 100.0, 1666.667, false}};
        QVERIFY(WriteResultFile(App().programFolder, race, lines, '.').ok);
        RaceResultsDialog window(nullptr, race, lines);
        QCOMPARE(MissingCaptionKeys(&window), QStringList());
        const QString out = folder.Path() + "/out/";
        QDir().mkpath(out);
        struct Case { const char* filter; QString typed, written; const char* start; };
        const Case cases[] = {{"ExportFilterHtml", "list", "list.html", "<!DOCTYPE html>"},
                              {"ExportFilterHtml", "table.CSV", "table.CSV", "\xEF\xBB\xBFPos.,"},
                              {"ExportFilterCsv", "list.txt", "list.txt", "\xEF\xBB\xBFPos.,"}};
        for (const Case& c : cases) {
            AnswerSaveDialog(c.filter, out + c.typed);
            Click(&window, "Command3");
            QVERIFY2(folder.Read("out/" + c.written).startsWith(c.start), qPrintable(c.written));
        }
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 3);
        QVERIFY(folder.Messages().Shown().empty());

        AnswerSaveDialog("ExportFilterCsv", out + "missing/list.csv");
        Click(&window, "Command3");
        QCOMPARE(folder.Messages().Shown().size(), 1u);
        QCOMPARE(folder.Messages().Shown()[0].icon, MessageIcon::Critical);
        QVERIFY(folder.Messages().Shown()[0].text.contains("list.csv"));

        // The result file has gone since the window opened: said so, nothing written.
        folder.Messages().Clear();
        QVERIFY(QFile::remove(folder.Path() + "/racecalc/Spring 1.flt"));
        AnswerSaveDialog("ExportFilterCsv", out + "gone.csv");
        Click(&window, "Command3");
        QCOMPARE(ShownTexts(folder.Messages()), QStringList({Shipped("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound2"),
                                                             Shipped("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound1")}));
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void thePageRangeDialogShowsTheRangeWithMessagesThreeAndFour() {
        ProgramFolderFixture folder;
        PagesToPrintDialog dialog(nullptr);
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        dialog.SetPageRange(1, 3);
        dialog.show();
        Typed(&dialog, "Text2", "4");
        Click(&dialog);
        QStringList expected = NumberedMessage("frmRaceCalcPagesToPrint", 4);
        expected[1] += "\n(1  /  3)";
        QCOMPARE(ShownTexts(folder.Messages()), expected);
        QVERIFY(!dialog.GetPageRange().confirmed);
    }

    void printingWritesTheChosenPagesAsAResultList() {
        ProgramFolderFixture folder;
        const Race race = TestRace("Spring 1", 15, 5);
        // Pages 2 to 2 of 2, through the chooser.
        folder.Write("racecalc/races.dat", Bytes(" 1 \r\n" + RaceToLine(race) + "\r\n"));
        std::vector<ResultLine> pigeons(30, {"Meier", "DV 01234 23  1234567M", "BL", 3600, "", 100.0, 0.0, false});
        for (std::size_t i = 0; i < pigeons.size(); ++i) pigeons[i].speed = 1600.0 - static_cast<double>(i);
        QVERIFY(WriteResultFile(App().programFolder, race, pigeons, '.').ok);
        const QString chosen = folder.Path() + "/chosen.pdf";
        SetResultPrintPdfForTests(chosen);
        RaceSelectDialog chooser(nullptr, RaceSelectDialog::Mode::PrintResults);
        ModalWatcher watcher([](QWidget* modal) {
            Typed(modal, "Text1", "2");
            Click(modal);
        });
        chooser.Choose();
        const QStringList pages = PdfPages(chosen); // the layout itself is core's
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains("Page 2 of 2") && pages[0].contains("0030 Meier") && !pages[0].contains("0029 Meier"),
                 qPrintable(pages[0]));

        // A result file that cannot be read is said so, never printed as an empty list.
        const QString result = folder.Path() + "/racecalc/Spring 1.flt";
        QVERIFY(QFile::remove(result) && QDir().mkpath(result) && QFile::remove(chosen));
        chooser.Choose();
        QCOMPARE(folder.Messages().Shown().size(), 1u);
        QVERIFY(folder.Messages().Shown()[0].text.contains("Spring 1.flt cannot be read: it is a folder, not a file."));
        QVERIFY(!QFile::exists(chosen));
    }

    void calculateWritesTheResultThenShowsItWithWhereReadingEnded() {
        ProgramFolderFixture folder;
        Race race = TestRace("Spring 1", 15, 5);
        race.nights = 1;
        race.overNight = true;
        folder.Write("racecalc/races.dat", Bytes(" 1 \r\n" + RaceToLine(race) + "\r\n"));
        // Home the same evening, before the night; then a line that cannot be read.
        folder.Write("racecalc/Spring 1_wf012.man",
                     Bytes("0150524\r\n1007012001" + PadRight("Meier", 20) + "N51000000E007000000\r\n" +
                           "2007012015050600001605060000060000\r\n3007012DV    2023012340000102M051" + "1505170000" +
                           std::string(28, '0') + "BL  01\r\n3007012 cut off\r\n"));
        QStringList shown;
        ModalWatcher watcher([&](QWidget* window) {
            QCOMPARE(MissingCaptionKeys(window), QStringList());
            for (const char* label : {"Label2", "Label12", "Label19", "Label20", "Label21"})
                shown << window->findChild<QLabel*>(label)->text();
            shown << static_cast<RaceResultsDialog*>(window)->ListLines();
        });
        RaceSelectDialog chooser(nullptr, RaceSelectDialog::Mode::Calculate);
        chooser.Choose();
        QCOMPARE(shown.size(), 6);
        QCOMPARE(shown.mid(0, 3), QStringList({"Spring 1", "20:00 / 06:00", Shipped("frmRaceResultsShow.Label19.Caption(Km)")}));
        QCOMPARE(shown[4], Shipped("frmRaceResultsShow.frmRaceResultsShowReadingEnded")
                               .replace("%1", QDir::toNativeSeparators("racecalc/Spring 1_wf012.man"))
                               .replace("%2", "5"));
        QVERIFY2(shown[5].startsWith("0001 Meier") && shown[5].contains("  9.30.00 "), qPrintable(shown[5]));
        QVERIFY(folder.Messages().Shown().empty());
    }
};

QTEST_MAIN(RaceResultsTest)
#include "raceresults_test.moc"
