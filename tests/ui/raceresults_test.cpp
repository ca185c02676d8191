#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "app/appcontext.h"
#include "app/fixedwidth.h"
#include "race/pagestoprintdialog.h"
#include "race/raceresultsdialog.h"
#include "race/raceselectdialog.h"
#include "race/resultfile.h"
#include "race/resultprint.h"
#include "racetestdata.h"

using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

std::vector<ResultLine> Pigeons(std::size_t count) {
    std::vector<ResultLine> lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back({PadRight("Meier", 20), "DV 01234 23  " + ZeroPadded(static_cast<long long>(i), 7) + "M", "BL  ",
                         3600 + static_cast<long long>(i), "", 100.0, 1600.0 - static_cast<double>(i), false});
    return lines;
}

// The text of pages first..last of a PDF, and its page count.
QString PdfText(const QString& file, int first, int last) {
    QProcess process;
    process.start("pdftotext", {"-f", QString::number(first), "-l", QString::number(last), file, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}
int PdfPages(const QString& file) {
    QProcess process;
    process.start("pdfinfo", {file});
    process.waitForFinished(30000);
    const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(process.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

class RaceResultsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetResultPrintPdfForTests({}); }

    void theWindowShowsTheHeadAndOneLinePerPigeon() {
        ProgramFolderFixture folder;
        Race race = TestRace("Spring 1", 15, 5);
        race.pigeonsEntered = 3;
        race.pigeonsClassified = 2;
        RaceResultsDialog dialog(nullptr, race, Pigeons(2));
        QCOMPARE(MissingCaptionKeys(&dialog), QStringList());
        QCOMPARE(dialog.windowTitle(), Shipped("frmRaceResultsShow.Caption"));
        const auto label = [&](const char* name) { return dialog.findChild<QLabel*>(name)->text(); };
        QCOMPARE(label("Label2"), QString("Spring 1"));
        QCOMPARE(label("Label10"), QString("07:30"));
        QCOMPARE(label("Label12"), Shipped("frmRaceResultsShow.frmRaceResultsShowNoOffTime"));
        QCOMPARE(label("Label14"), QString("250"));
        QCOMPARE(label("Label19"), Shipped("frmRaceResultsShow.Label19.Caption(Km)"));
        QCOMPARE(label("Label18"), QString("2"));
        QVERIFY(label("Label20").contains(Shipped("frmRaceResultsShow.frmRaceResultsShowTabCol10a")));
        QCOMPARE(dialog.ListLines().size(), 2);
        QVERIFY(dialog.ListLines()[1].startsWith("0002 Meier"));
    }

    void thePageRangeIsCheckedWithItsFourMessages() {
        ProgramFolderFixture folder;
        const struct {
            const char* first;
            const char* last;
            int message;
        } cases[] = {{"", "2", 1}, {"3", "2", 2}, {"0", "2", 3}, {"1", "4", 4}, {"2", "3", 0}};
        for (const auto& c : cases) {
            folder.Messages().Clear();
            PagesToPrintDialog dialog(nullptr);
            dialog.SetPageRange(1, 3);
            dialog.show();
            QCOMPARE(Typed(&dialog, "Text1", "1"), QString("1"));
            Typed(&dialog, "Text1", c.first);
            Typed(&dialog, "Text2", c.last);
            Click(&dialog);
            if (c.message == 0) {
                QCOMPARE(folder.Messages().Shown().size(), std::size_t(0));
                QVERIFY(dialog.GetPageRange().confirmed);
                QCOMPARE(dialog.GetPageRange().first, std::size_t(2));
                continue;
            }
            QStringList expected = NumberedMessage("frmRaceCalcPagesToPrint", c.message);
            if (c.message >= 3) expected[1] += "\n(1  /  3)";
            QCOMPARE(ShownTexts(folder.Messages()), expected);
            QVERIFY(!dialog.GetPageRange().confirmed);
        }
        QCOMPARE(MissingCaptionKeys(new PagesToPrintDialog(nullptr)), QStringList());
    }

    void printingWritesTheChosenPagesAsAResultList() {
        ProgramFolderFixture folder;
        const Race race = TestRace("Spring 1", 15, 5);
        const QString all = folder.Path() + "/all.pdf";
        QVERIFY(WriteResultPdf(all, race, Pigeons(30), 1, 2));
        QCOMPARE(PdfPages(all), 2);
        const QString first = PdfText(all, 1, 1);
        for (const QString& text : {Shipped("TxtPrnListHd"), QString("Spring 1"), QString("Nord"), QString("0029"),
                                    QString("Page 1 of 2"), Shipped("TxtPrnPagHdNone"), QString("1600.000")})
            QVERIFY2(first.contains(text), qPrintable(text + " in " + first));
        QVERIFY(!first.contains("0030"));

        // Through the chooser: pages 2 to 2.
        folder.Write("racecalc/races.dat", Bytes(" 1 \r\n" + RaceToLine(race) + "\r\n"));
        QVERIFY(WriteResultFile(App().programFolder, race, Pigeons(30), '.').ok);
        const QString chosen = folder.Path() + "/chosen.pdf";
        SetResultPrintPdfForTests(chosen);
        RaceSelectDialog chooser(nullptr, RaceSelectDialog::Mode::PrintResults);
        ModalWatcher watcher([](QWidget* modal) {
            Typed(modal, "Text1", "2");
            Click(modal);
        });
        chooser.Choose();
        QCOMPARE(PdfPages(chosen), 1);
        const QString second = PdfText(chosen, 1, 1);
        QVERIFY2(second.contains("0030") && second.contains("Page 2 of 2"), qPrintable(second));
    }

    void calculateWritesTheResultThenShowsItAndNamesNightFailures() {
        ProgramFolderFixture folder;
        Race race = TestRace("Spring 1", 15, 5);
        race.nights = 1;
        race.overNight = true;
        folder.Write("racecalc/races.dat", Bytes(" 1 \r\n" + RaceToLine(race) + "\r\n"));
        const std::string timer = "2007012" "0" "15050600001605060000060000";
        const std::string pigeon = "3007012DV    2023012340000102M05" "1" "1505";
        folder.Write("racecalc/Spring 1_wf012.man",
                     Bytes("0150524\r\n1007012002" + PadRight("Meier", 20) + "N51000000E007000000\r\n" + timer + "\r\n" +
                           pigeon + "170000" + std::string(28, '0') + "BL  01\r\n" + "3007012DV    2023012340000103M05" +
                           "1" + "1605" + "090000" + std::string(28, '0') + "BL  01\r\n"));
        QStringList shown;
        ModalWatcher watcher([&](QWidget* modal) {
            if (auto* list = modal->findChild<QListWidget*>("List1"))
                for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
        });
        RaceSelectDialog chooser(nullptr, RaceSelectDialog::Mode::Calculate);
        chooser.Choose();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].startsWith("0001 Meier"));
        QCOMPARE(ShownTexts(folder.Messages()).value(0), QString("Error..."));
        QVERIFY(folder.Messages().Shown()[0].text.startsWith("Error calculating Speed for '"));
        QCOMPARE(folder.Read("racecalc/Spring 1.flt").left(5), QByteArray(" 2 \r\n"));
        QCOMPARE(LoadRaces(App().programFolder).races[0].pigeonsClassified, 2);
    }
};

QTEST_MAIN(RaceResultsTest)
#include "raceresults_test.moc"
