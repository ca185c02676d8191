#include <filesystem>

#include "clitestsupport.h"

class RaceCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void resultsExportTheGoldenRaceForSpreadsheetsAndWebPagesOrWriteNothing() {
        ProgramFolder folder;
        folder.Copy("race/races.dat", "racecalc/races.dat");
        folder.Copy("export/Spring 1.flt", "racecalc/Spring 1.flt");
        const QString csv = folder.File("list.csv"), html = folder.File("list.html");
        QCOMPARE(Cli(folder.Path(), {"results", "Spring 1", "--html", html.toStdString(), "--csv", csv.toStdString()}), 0);
        QCOMPARE(ReadFile(csv), Golden("export/Spring 1.csv"));
        QCOMPARE(ReadFile(html), GoldenWithLocalDates("export/Spring 1.html"));

        // No result file, or a target that cannot be written: refused, and no file is left.
        QVERIFY(QFile::remove(csv) && QFile::remove(html));
        struct Case { std::vector<std::string> args; int status; };
        const Case refused[] = {{{"results", "Long_Distance 2", "--csv", csv.toStdString()}, 1},
                                {{"results", "Spring 1", "--html", html.toStdString(), "--csv", folder.File("no/list.csv").toStdString()}, 1},
                                {{"results", "Spring 1", "--csv", "a.csv", "--csv"}, 2}};
        for (const Case& c : refused) {
            std::string err;
            QCOMPARE(Cli(folder.Path(), c.args, nullptr, &err), c.status);
            QVERIFY(!err.empty());
        }
        QCOMPARE(QDir(folder.Path()).entryList(QDir::Files), QStringList{"club.txt"});
    }

    // The wiring: the files of the dialog, the window's lines, the warning and the PDF. Long_Distance
    // 2: 2 July 06:15, one night closed 21:30 to 05:45, release point 98. The first pigeon is home
    // before the night; a line that cannot be read ends the file.
    void calculateThenShowAndPrintTheStoredResult() {
        ProgramFolder folder;
        folder.Copy("race/races.dat", "racecalc/races.dat");
        folder.Copy("cli/Long_Distance 2_wf012.man", "racecalc/Long_Distance 2_wf012.man");
        std::string err, out, shown;
        QCOMPARE(Cli(folder.Path(), {"finalise", "Long_Distance 2"}, nullptr, &err), 1); // nothing to make final yet
        QCOMPARE(Cli(folder.Path(), {"calculate", "Long_Distance 2", "--because", "x"}), 2);
        QCOMPARE(Cli(folder.Path(), {"calculate", "Long_Distance 2"}, &out, &err), 0);
        QCOMPARE(err, "Reading of " + (std::filesystem::path("racecalc") / "Long_Distance 2_wf012.man").string() +
                          " ended at line 6, which cannot be read: the pigeons from that line on are missing from this result.\n");
        QVERIFY(out.find("Race: Long_Distance 2\n") != std::string::npos && out.find("\n0002 Meier") != std::string::npos);
        QVERIFY(folder.Read("racecalc/Long_Distance 2.flt").startsWith(" 2 \r\n"));
        QCOMPARE(Cli(folder.Path(), {"results", "Long_Distance 2"}, &shown), 0);
        QCOMPARE(shown, out);
        QCOMPARE(Cli(folder.Path(), {"finalise", "Long_Distance 2", "--by", "Anna"}), 0);
        QCOMPARE(Cli(folder.Path(), {"calculate", "Long_Distance 2"}, nullptr, &err), 1);
        QCOMPARE(Cli(folder.Path(), {"calculate", "Long_Distance 2", "--amend", "a late clock"}, &shown), 0);
        QVERIFY(out.find("\nState: Provisional\n") != std::string::npos && shown.find("\nState: Amended, ") != std::string::npos);
        QCOMPARE(Cli(folder.Path(), {"log", "Long_Distance 2"}, &shown), 0);
        QVERIFY2(shown.starts_with("Amended, ") && shown.find("\nBy: Anna\n") != std::string::npos, shown.c_str());
        QCOMPARE(Cli(folder.Path(), {"results", "Long_Distance 2", "--pdf", folder.File("list.pdf").toStdString()}), 0);
        QVERIFY(QFile(folder.File("list.pdf")).size() > 1000);
        QCOMPARE(Cli(folder.Path(), {"calculate", "M\u00e9tz"}, nullptr, &err), 1); // a name as typed, converted once
        QCOMPARE(err, "There is no race named M\u00e9tz.\n");
        QCOMPARE(Cli(folder.Path(), {"calculate", "Spring 1"}, nullptr, &err), 0); // no read-out file: says why, as the window does
        QVERIFY2(err.starts_with("No pigeons: there is no read-out file of week ") && err.ends_with("for this race.\n"), err.c_str());
        folder.Write("plumet.ini", "notes\r\n"); // said by every command; only the program's menus depend on it
        QCOMPARE(Cli(folder.Path(), {"results", "Long_Distance 2"}, nullptr, &err), 0);
        QVERIFY2(err.starts_with("The settings file plumet.ini cannot be used: line 1 has no \"=\"."), err.c_str());
    }

    // The golden race of the check sheet: its lines as the window shows them, the CSV table, and
    // --strict failing on its flags.
    void checkShowsAndExportsTheSheetAndUnderStrictFailsWhenAnythingIsFlagged() {
        ProgramFolder folder;
        folder.Install("checksheet/folder");
        std::string out, err;
        QCOMPARE(Cli(folder.Path(), {"check", "Spring 1"}, &out), 0);
        QCOMPARE(QByteArray::fromStdString(out).replace("\n", "\r\n"), Golden("checksheet/sheet.txt"));
        const QString csv = folder.File("sheet.csv");
        QCOMPARE(Cli(folder.Path(), {"check", "Spring 1", "--strict", "--csv", csv.toStdString()}, nullptr, &err), 1);
        QCOMPARE(err, "The check sheet of race Spring 1 flags 15 things.\n");
        QCOMPARE(ReadFile(csv), Golden("checksheet/sheet.csv"));
        QCOMPARE(Cli(folder.Path(), {"check", "Spring 1", "--pdf", "sheet.pdf"}, nullptr, &err), 2);
    }
};

QTEST_MAIN(RaceCommandsTest)
#include "racecommands_test.moc"
