#include <QFileDialog>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTabWidget>
#include <QXmlStreamReader>

#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "ui/race/pagestoprintdialog.h"
#include "ui/race/raceresultsdialog.h"
#include "ui/race/raceselectdialog.h"
#include "ui/race/resultprint.h"
#include "ui/race/seasondialog.h"
#include "uitestsupport.h"

// A race's results and a season's standings: shown, printed and exported. The lists and their
// layout are core's; here what the windows do with them.
class ResultsTest : public UiTest {
    Q_OBJECT

    void Cleanup() override { SetResultPrintPdfForTests({}); }

    // The golden season's race list and result files (Metz has none); a season of the name
    // "Season 2024" when `withSeason`.
    void WriteGoldenRaces(bool withSeason) {
        folder->Install("folders/season");
        if (!withSeason) QFile::remove(folder->Path() + "/racecalc/Season 2024.season");
    }
    static void Check(QListWidget* races, const QString& name, bool checked) {
        for (int i = 0; i < races->count(); ++i)
            if (races->item(i)->text().startsWith(name + "  ")) races->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    static Race FirstRace() { return LoadRaces(App().programFolder).races.at(0); }
    // The text of each page of a PDF file, its white space made single.
    static QStringList PdfPages(const QString& file) {
        QProcess process;
        process.start("pdftotext", {file, "-"});
        process.waitForFinished(30000);
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split('\f');
        pages.removeLast();
        for (QString& page : pages) page = page.simplified();
        return pages;
    }
    // Answers the next save dialog with the filter of `filterKey` and a file name, as a user picks them.
    static void AnswerSaveDialog(const QString& filterKey, const QString& file) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, filterKey, file] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll->deleteLater();
            poll->stop();
            dialog->selectNameFilter(Shipped("frmRaceResultsShow." + filterKey));
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(file);
            static_cast<QDialog*>(dialog)->accept(); // a user's Save
        });
        poll->start(10);
    }

private slots:
    void raceExportWritesTheFormatOfTheNameOrTheFilterAndReportsWhatItCannotWrite() {
        folder->Install("ui/onerace");
        const Race race = FirstRace();
        const std::vector<ResultLine> lines{{"Meier", "DV 01234 23  1234567M", "BL", 3600, "  1.00.00", 100.0, 1666.667, false}};
        QVERIFY(WriteResultFile(App().programFolder, race, lines, '.').ok);
        RaceResultsDialog window(nullptr, race, lines);
        QCOMPARE(MissingCaptionKeys(&window), QStringList());
        const QString out = folder->Path() + "/out/";
        QDir().mkpath(out);
        struct Case { const char* filter; QString typed, written; const char* start; };
        const Case cases[] = {{"ExportFilterHtml", "list", "list.html", "<!DOCTYPE html>"},
                              {"ExportFilterHtml", "table.CSV", "table.CSV", "\xEF\xBB\xBFPos.,"},
                              {"ExportFilterCsv", "list.txt", "list.txt", "\xEF\xBB\xBFPos.,"}};
        for (const Case& c : cases) {
            AnswerSaveDialog(c.filter, out + c.typed);
            Click(&window, "Command3");
            QVERIFY2(folder->Read("out/" + c.written).startsWith(c.start), qPrintable(c.written));
            QCOMPARE(window.findChild<QLabel*>("StatusLine")->text(), Shipped("frmMain.txtFileWritten").arg(QDir::toNativeSeparators(out + c.written)));
        }
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 3);
        QVERIFY(folder->Messages().Shown().empty());

        AnswerSaveDialog("ExportFilterCsv", out + "missing/list.csv");
        Click(&window, "Command3");
        QVERIFY(folder->Critical().contains("list.csv"));

        // The result file has gone since the window opened: said so, nothing written.
        QVERIFY(QFile::remove(folder->Path() + "/racecalc/Spring 1.flt"));
        AnswerSaveDialog("ExportFilterCsv", out + "gone.csv");
        Click(&window, "Command3");
        QCOMPARE(folder->Told(), ShippedPair("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound2", "frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound1"));
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    // Make final signs the list with the name typed, and only the list the window shows.
    void makeFinalSignsTheShownListAndShowsItsState() {
        folder->Install("ui/onerace");
        const Race race = FirstRace();
        std::vector<ResultLine> lines{{"Meier", "DV 01234 23  1234567M", "BL", 3600, "  1.00.00", 100.0, 1666.667, false}};
        QVERIFY(WriteResultFile(App().programFolder, race, lines, '.').ok);
        MessageTestMode messages;
        RaceResultsDialog window(nullptr, race, lines), stale(nullptr, race, lines);
        QCOMPARE(window.findChild<QLabel*>("lblStateValue")->text(), QString("Provisional"));
        messages.QueueText("Anna");
        Click(&window, "cmdMakeFinal");
        const QByteArray log = folder->Read("racecalc/" + QString::fromStdString(TrimmedRaceName(race)) + ".log");
        QVERIFY2(log.contains("\r\nBy: Anna\r\n\r\n"), log.constData());
        QVERIFY(window.findChild<QLabel*>("lblStateValue")->text().startsWith("Final, "));
        QVERIFY(window.findChild<QPlainTextEdit*>("txtLog")->toPlainText().contains("By: Anna"));
        lines[0].speed = 1700.0;
        QVERIFY(WriteResultFile(App().programFolder, race, lines, '.').ok);
        messages.QueueText("Bernd");
        Click(&stale, "cmdMakeFinal");
        QVERIFY(ShownTexts(messages).join(' ').contains("has changed since this window showed it"));
        QCOMPARE(folder->Read("racecalc/" + QString::fromStdString(TrimmedRaceName(race)) + ".log"), log);
    }

    // The golden race of the check sheet: its tab shows the sheet's lines, and Print and Export
    // take the tab shown.
    void theCheckSheetTabShowsPrintsAndExportsTheRacesFlags() {
        folder->Install("checksheet/folder");
        App().settings = ReadOptions(App().programFolder);
        RaceResultsDialog window(nullptr, FirstRace(), {});
        QCOMPARE(MissingCaptionKeys(&window), QStringList());
        auto* tabs = window.findChild<QTabWidget*>("resultTabs");
        QVERIFY(tabs && tabs->count() == 3 && window.findChild<QListWidget*>("checkSheetView"));
        QCOMPARE(tabs->tabText(1), Shipped("frmRaceResultsShow.TabCheckSheet"));
        const QStringList golden = QString::fromLatin1(Golden("checksheet/sheet.txt")).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(window.CheckSheetLines(), golden.mid(1));
        tabs->setCurrentIndex(1);
        AnswerSaveDialog("ExportFilterCsv", folder->Path() + "/sheet");
        Click(&window, "Command3");
        QCOMPARE(folder->Read("sheet.csv"), Golden("checksheet/sheet.csv"));
        const QString pdf = folder->Path() + "/sheet.pdf";
        SetResultPrintPdfForTests(pdf);
        ModalWatcher watcher([](QWidget* modal) { Fill(modal, {"1", "1"}); });
        Click(&window, "Command2");
        const QStringList pages = PdfPages(pdf);
        QVERIFY2(pages.size() == 1 && pages[0].contains(Shipped("CheckSheet.Title")) && pages[0].contains("0199M"),
                 qPrintable(pages.join('\n')));
        QVERIFY(folder->Messages().Shown().empty());
    }

    void thePageRangeDialogShowsTheRangeWithMessagesThreeAndFour() {
        PagesToPrintDialog dialog(nullptr);
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        dialog.SetPageRange(1, 3);
        dialog.show();
        Typed(&dialog, "Text2", "4");
        Click(&dialog);
        QStringList expected = NumberedMessage("frmRaceCalcPagesToPrint", 4);
        expected[1] += "\n(1  /  3)";
        QCOMPARE(folder->Told(), expected);
        QVERIFY(!dialog.GetPageRange().confirmed);
    }

    void racePrintingWritesTheChosenPagesAsAResultList() {
        folder->Install("ui/onerace");
        const Race race = FirstRace();
        // Pages 2 to 2 of 2, through the chooser.
        std::vector<ResultLine> pigeons(30, {"Meier", "DV 01234 23  1234567M", "BL", 3600, "", 100.0, 0.0, false});
        for (std::size_t i = 0; i < pigeons.size(); ++i) pigeons[i].speed = 1600.0 - static_cast<double>(i);
        QVERIFY(WriteResultFile(App().programFolder, race, pigeons, '.').ok);
        const QString chosen = folder->Path() + "/chosen.pdf";
        SetResultPrintPdfForTests(chosen);
        RaceSelectDialog chooser(nullptr, RaceSelectDialog::Mode::PrintResults);
        ModalWatcher watcher([](QWidget* modal) { Fill(modal, {"2"}); });
        chooser.Choose();
        const QStringList pages = PdfPages(chosen); // the layout itself is core's
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains("Page 2 of 2") && pages[0].contains("0030 Meier") && !pages[0].contains("0029 Meier"),
                 qPrintable(pages[0]));

        // A result file that cannot be read is said so, never printed as an empty list.
        const QString result = folder->Path() + "/racecalc/Spring 1.flt";
        QVERIFY(QFile::remove(result) && QDir().mkpath(result) && QFile::remove(chosen));
        chooser.Choose();
        QCOMPARE(folder->Messages().Shown().size(), 1u);
        QVERIFY(folder->Told().value(1).contains("Spring 1.flt cannot be read: it is a folder, not a file."));
        QVERIFY(!QFile::exists(chosen));
    }

    // A race over one night; its times file has a pigeon home the same evening, before the
    // night, then a line that cannot be read.
    void raceCalculateWritesTheResultThenShowsItWithWhereReadingEnded() {
        folder->Install("ui/overnight");
        QStringList shown;
        ModalWatcher watcher([&](QWidget* window) {
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
    }

    // Define the golden season in the window (Metz is another season's, so it is refused
    // first), then its standings, printed and exported; then delete it.
    void seasonIsDefinedShownPrintedExportedAndDeleted() {
        WriteGoldenRaces(false);
        folder->Write("racecalc/Other.season", "Name=Other\r\nFirstRace=01.01.2024\r\nLastRace=31.12.2024\r\nRace=Metz\r\n");
        SeasonDialog window(nullptr);
        QCOMPARE(MissingCaptionKeys(&window), QStringList());
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentText(), QString("Other"));

        QStringList refusals;
        ModalWatcher watcher([&](QWidget* editor) {
            QCOMPARE(MissingCaptionKeys(editor, "Add"), QStringList());
            Typed(editor, "Text1", "Season 2024");
            Typed(editor, "Text3", "2");
            editor->findChild<QDateEdit*>("DTPicker1")->setDate(QDate(2024, 5, 1));
            editor->findChild<QDateEdit*>("DTPicker2")->setDate(QDate(2024, 9, 30));
            auto* races = editor->findChild<QListWidget*>("List1");
            for (const char* race : {"Bastogne", "Ettelbruck", "Arlon", "Metz"}) Check(races, race, true);
            Click(editor);
            refusals = folder->Told();
            Check(races, "Metz", false);
            Click(editor);
        });
        Click(&window, "Command4");
        QStringList expected = NumberedMessage("frmSeasonEdit", 7);
        expected[1].replace("%1", "Metz").replace("%2", "Other");
        QCOMPARE(refusals, expected);
        QCOMPARE(folder->Read("racecalc/Season 2024.season"), Golden("season/Season 2024.season").replace("Race=Metz\r\n", ""));

        // The window shows the new season: the golden standings (Metz never counted).
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentText(), QString("Season 2024"));
        const QStringList pigeons = window.Lines("List1");
        QCOMPARE(pigeons.size(), 7);
        QCOMPARE(pigeons[0].simplified(), QString("1 DV 05131 23 0000101M J\u00e4ger & S\u00f6hne 3 125.00 863.247"));
        QCOMPARE(window.Lines("List2").size(), 5);
        QCOMPARE(window.Lines("List3").size(), 3);

        const QString pdf = folder->Path() + "/season.pdf";
        SetResultPrintPdfForTests(pdf);
        {
            ModalWatcher range([](QWidget* modal) { Click(modal); });
            Click(&window, "Command2");
        }
        const QStringList pages = PdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains("Season standings") && pages[0].contains("Schulz <SG> 1 100.00"), qPrintable(pages[0]));

        // The web page: well-formed, the names as they are.
        AnswerSaveDialog("ExportFilterHtml", folder->Path() + "/season");
        Click(&window, "Command3");
        QVERIFY(window.findChild<QLabel*>("StatusLine")->text().endsWith(QDir::toNativeSeparators(folder->Path() + "/season.html")));
        QXmlStreamReader xml(folder->Read("season.html"));
        QStringList cells;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"td") cells << xml.readElementText();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        for (const QString& name : {QString("J\u00e4ger & S\u00f6hne"), QString("Schulz <SG>"), QString("\u00d6zdemir")})
            QVERIFY2(cells.contains(name), qPrintable(name));

        folder->Messages().QueueAnswer(MessageAnswer::Ok);
        Click(&window, "Command6");
        QVERIFY(folder->Told().value(1).contains("Season 2024")); // asked first
        QVERIFY(!QFile::exists(folder->Path() + "/racecalc/Season 2024.season"));
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentText(), QString("Other"));
    }

    // A race of a season shows its season, prize marks and ace points; a damaged season file is
    // named below the list and shown in the season window, which offers nothing to do with it.
    void seasonResultWindowMarksPrizesAndNamesDamagedSeasonFiles() {
        WriteGoldenRaces(true);
        const Race arlon = LoadRaces(App().programFolder).races.at(2);
        RaceResultsDialog window(nullptr, arlon, ReadResultFile(App().programFolder, arlon.name).lines);
        QCOMPARE(window.findChild<QLabel*>("Label23")->text(), QString("Season 2024, 3 prizes (1:4)"));
        QVERIFY2(window.ListLines()[0].endsWith("  P          100.00"), qPrintable(window.ListLines()[0]));
        QVERIFY(!window.ListLines()[3].contains(" P "));
        QVERIFY(window.findChild<QLabel*>("Label21")->isHidden());

        folder->Write("racecalc/Broken.season", "Name=Broken\r\nPrizeRatio=12\r\n");
        RaceResultsDialog warned(nullptr, arlon, {});
        const QString damaged = Shipped("frmSeason.DamagedFile")
                                    .replace("%1", QDir::toNativeSeparators("racecalc/Broken.season"))
                                    .replace("%2", "2")
                                    .replace("%3", Shipped("frmSeason.DamagePrizeRatio"));
        QCOMPARE(warned.findChild<QLabel*>("Label21")->text(), damaged);

        SeasonDialog seasons(nullptr);
        QCOMPARE(seasons.findChild<QComboBox*>("Combo1")->itemText(1), Shipped("frmSeason.DamagedItem").replace("%1", "Broken.season"));
        seasons.findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
        QCOMPARE(seasons.findChild<QLabel*>("Label20")->text(), damaged);
        for (const char* button : {"Command2", "Command3", "Command5", "Command6"})
            QVERIFY(!seasons.findChild<QPushButton*>(button)->isEnabled());
    }
};

QTEST_MAIN(ResultsTest)
#include "results_test.moc"
