#include <QDir>
#include <QProcess>

#include "race/pagestoprintdialog.h"
#include "race/raceresultsdialog.h"
#include "race/raceselectdialog.h"
#include "race/resultfile.h"
#include "race/resultprint.h"
#include "racetestdata.h"

class RaceResultsTest : public QObject {
    Q_OBJECT

    // The text of each page of a PDF.
    static QStringList PdfPages(const QString& file) {
        QProcess process;
        process.start("pdftotext", {file, "-"});
        process.waitForFinished(30000);
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split('\f');
        pages.removeLast();
        for (QString& page : pages) page = page.simplified();
        return pages;
    }

private slots:
    void cleanup() { SetResultPrintPdfForTests({}); }

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
