#include <filesystem>

#include "clitestsupport.h"
#include "core/app/folderlock.h"

class SeasonCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // The golden season on the command line: shown, exported, printed; refused as it should be.
    void seasonShowsExportsAndPrintsTheGoldenSeason() {
        ProgramFolder folder("season");
        std::string out;
        QCOMPARE(Cli(folder.Path(), {"season", "season 2024"}, &out), 0);
        for (const char* line : {"   no result file yet\n", "\n  1  J\xC3\xA4ger & S\xC3\xB6hne               4      225.00\n",
                                 "Races counted: 3 of 4\n"})
            QVERIFY2(out.find(line) != std::string::npos, line);

        const QString csv = folder.File("season.csv"), html = folder.File("season.html"), pdf = folder.File("season.pdf");
        QCOMPARE(Cli(folder.Path(), {"season", "Season 2024", "--csv", csv.toStdString(), "--html", html.toStdString(),
                                     "--pdf", pdf.toStdString()}),
                 0);
        QCOMPARE(ReadFile(csv), Golden("season/Season 2024.csv"));
        QCOMPARE(ReadFile(html), GoldenWithLocalDates("season/Season 2024.html"));
        QVERIFY(ReadFile(pdf).startsWith("%PDF"));
        // A race of the season exports its prizes.
        QCOMPARE(Cli(folder.Path(), {"results", "Bastogne", "--csv", csv.toStdString()}), 0);
        QCOMPARE(ReadFile(csv), Golden("season/Bastogne.csv"));

        QFile::remove(csv);
        {   // Shown beside another writer; exported only under the folder's write lock.
            const plumet::FolderWriteLock writer(folder.Path().toStdString(), "test", std::chrono::milliseconds(0));
            QVERIFY(writer.Held());
            QCOMPARE(Cli(folder.Path(), {"--wait", "0", "season", "Season 2024"}), 0);
            std::string err;
            QCOMPARE(Cli(folder.Path(), {"--wait", "0", "season", "Season 2024", "--csv", csv.toStdString()}, nullptr, &err), 1);
            QVERIFY2(err.find(" is being written by test ") != std::string::npos, err.c_str());
        }
        folder.Write("racecalc/Broken.season", "Name=Broken\r\nFirstRace=1.5.2024\r\n");
        const struct { std::vector<std::string> args; int status; std::string err; } refused[] = {
            {{"season", "Autumn"}, 1, "There is no season named Autumn.\n"},
            {{"season", "broken"}, 1, "The season file " + (std::filesystem::path("racecalc") / "Broken.season").string() +
                                         " cannot be used: line 2 holds no date of the form DD.MM.YYYY. It is left as it is.\n"},
            {{"season", "Season 2024", "--csv", csv.toStdString(), "--html"}, 2, ""},
            {{"season", "Season 2024", "--csv", folder.File("no/season.csv").toStdString()}, 1, ""},
        };
        for (const auto& r : refused) {
            std::string err;
            QCOMPARE(Cli(folder.Path(), r.args, nullptr, &err), r.status);
            if (!r.err.empty()) QCOMPARE(err, r.err);
        }
        QVERIFY(!QFile::exists(csv));
    }
};

QTEST_MAIN(SeasonCommandsTest)
#include "seasoncommands_test.moc"
