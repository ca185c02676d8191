#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include "core/race/resultfile.h"
#include "ui/race/raceresultsdialog.h"
#include "ui/race/resultprint.h"
#include "ui/race/seasondialog.h"
#include "uitestsupport.h"

class SeasonDialogTest : public QObject {
    Q_OBJECT

    // The golden season's race list and result files (Metz has none); a season of the name
    // "Season 2024" when `withSeason`.
    static void WriteGoldenRaces(const ProgramFolderFixture& folder, bool withSeason) {
        QStringList files{"races.dat", "Bastogne.flt", "Ettelbruck.flt", "Arlon.flt"};
        if (withSeason) files << "Season 2024.season";
        for (const QString& file : files) {
            QFile golden(QString(PLUMET_SOURCE_DIR) + "/tests/data/season/" + file);
            QVERIFY(golden.open(QIODevice::ReadOnly));
            folder.Write("racecalc/" + file, golden.readAll());
        }
    }

    static void Check(QListWidget* races, const QString& name, bool checked) {
        for (int i = 0; i < races->count(); ++i)
            if (races->item(i)->text().startsWith(name + "  ")) races->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }

private slots:
    void cleanup() { SetResultPrintPdfForTests({}); }

    // Define the golden season in the window (Metz is another season's, so it is refused
    // first), then its standings, printed and exported; then delete it.
    void defineShowPrintExportAndDeleteASeason() {
        ProgramFolderFixture folder;
        WriteGoldenRaces(folder, false);
        folder.Write("racecalc/Other.season", "Name=Other\r\nFirstRace=01.01.2024\r\nLastRace=31.12.2024\r\nRace=Metz\r\n");
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
            refusals = ShownTexts(folder.Messages());
            Check(races, "Metz", false);
            Click(editor);
        });
        Click(&window, "Command4");
        QStringList expected = NumberedMessage("frmSeasonEdit", 7);
        expected[1].replace("%1", "Metz").replace("%2", "Other");
        QCOMPARE(refusals, expected);
        QFile golden(QString(PLUMET_SOURCE_DIR) + "/tests/data/season/Season 2024.season");
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(folder.Read("racecalc/Season 2024.season"), golden.readAll().replace("Race=Metz\r\n", ""));

        // The window shows the new season: the golden standings (Metz never counted).
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentText(), QString("Season 2024"));
        const QStringList pigeons = window.Lines("List1");
        QCOMPARE(pigeons.size(), 7);
        QCOMPARE(pigeons[0].simplified(), QString("1 DV 05131 23 0000101M J\u00e4ger & S\u00f6hne 3 125.00 863.247"));
        QCOMPARE(window.Lines("List2").size(), 5);
        QCOMPARE(window.Lines("List3").size(), 3);

        const QString pdf = folder.Path() + "/season.pdf";
        SetResultPrintPdfForTests(pdf);
        {
            ModalWatcher range([](QWidget* modal) { Click(modal); });
            Click(&window, "Command2");
        }
        const QStringList pages = PdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains("Season standings") && pages[0].contains("Schulz <SG> 1 100.00"), qPrintable(pages[0]));

        // The web page: well-formed, the names as they are.
        AnswerSaveDialog("ExportFilterHtml", folder.Path() + "/season");
        Click(&window, "Command3");
        QXmlStreamReader xml(folder.Read("season.html"));
        QStringList cells;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"td") cells << xml.readElementText();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        for (const QString& name : {QString("J\u00e4ger & S\u00f6hne"), QString("Schulz <SG>"), QString("\u00d6zdemir")})
            QVERIFY2(cells.contains(name), qPrintable(name));

        folder.Messages().QueueAnswer(MessageAnswer::Ok);
        Click(&window, "Command6");
        QVERIFY(!QFile::exists(folder.Path() + "/racecalc/Season 2024.season"));
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentText(), QString("Other"));
    }

    // A race of a season shows its season, prize marks and ace points; a damaged season file is
    // named below the list and shown in the season window, which offers nothing to do with it.
    void theResultWindowMarksPrizesAndNamesDamagedSeasonFiles() {
        ProgramFolderFixture folder;
        WriteGoldenRaces(folder, true);
        const RaceList races = LoadRaces(App().programFolder);
        const Race& arlon = races.races.at(2);
        RaceResultsDialog window(nullptr, arlon, ReadResultFile(App().programFolder, arlon.name).lines);
        QCOMPARE(MissingCaptionKeys(&window), QStringList());
        QCOMPARE(window.findChild<QLabel*>("Label23")->text(), QString("Season 2024, 3 prizes (1:4)"));
        QVERIFY2(window.ListLines()[0].endsWith("  P          100.00"), qPrintable(window.ListLines()[0]));
        QVERIFY(!window.ListLines()[3].contains(" P "));
        QVERIFY(window.findChild<QLabel*>("Label21")->isHidden());

        folder.Write("racecalc/Broken.season", "Name=Broken\r\nPrizeRatio=12\r\n");
        RaceResultsDialog warned(nullptr, arlon, {});
        const QString damaged = Shipped("frmSeason.DamagedFile")
                                    .replace("%1", QDir::toNativeSeparators("racecalc/Broken.season"))
                                    .replace("%2", "2")
                                    .replace("%3", Shipped("frmSeason.DamagePrizeRatio"));
        QCOMPARE(warned.findChild<QLabel*>("Label21")->text(), damaged);

        SeasonDialog seasons(nullptr);
        QCOMPARE(seasons.findChild<QComboBox*>("Combo1")->itemText(1),
                 Shipped("frmSeason.DamagedItem").replace("%1", "Broken.season"));
        seasons.findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
        QCOMPARE(seasons.findChild<QLabel*>("Label20")->text(), damaged);
        for (const char* button : {"Command2", "Command3", "Command5", "Command6"})
            QVERIFY(!seasons.findChild<QPushButton*>(button)->isEnabled());
    }
};

QTEST_MAIN(SeasonDialogTest)
#include "seasondialog_test.moc"
