#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <filesystem>

#include "clitestsupport.h"
#include "core/app/folderlock.h"

class SeasonCommandsTest : public QObject {
    Q_OBJECT

    static QByteArray Bytes(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

private slots:
    // The golden season on the command line: shown, exported (read back as a spreadsheet and a
    // strict XML reader read them, the names intact), printed; refused as it should be.
    void seasonShowsExportsAndPrintsTheGoldenSeason() {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir("racecalc");
        QVERIFY(QFile::copy(QString(PLUMET_SOURCE_DIR) + "/data/club.txt", folder.filePath("club.txt")));
        for (const char* file : {"races.dat", "Bastogne.flt", "Ettelbruck.flt", "Arlon.flt", "Season 2024.season"})
            QVERIFY(QFile::copy(QString(PLUMET_SOURCE_DIR) + "/tests/data/season/" + file, folder.filePath(QString("racecalc/") + file)));

        std::string out;
        QCOMPARE(Cli(folder, {"season", "season 2024"}, &out), 0);
        for (const char* line : {"   no result file yet\n", "\n  1  J\xC3\xA4ger & S\xC3\xB6hne               4      225.00\n",
                                 "Races counted: 3 of 4\n"})
            QVERIFY2(out.find(line) != std::string::npos, line);

        const QString csv = folder.filePath("season.csv"), html = folder.filePath("season.html"), pdf = folder.filePath("season.pdf");
        QCOMPARE(Cli(folder, {"season", "Season 2024", "--csv", csv.toStdString(), "--html", html.toStdString(),
                              "--pdf", pdf.toStdString()}),
                 0);
        const QList<QStringList> table = ReadCsv(QString::fromUtf8(Bytes(csv).mid(3)));
        QCOMPARE(table.size(), 1 + 7 + 5);
        QCOMPARE(table[1], QStringList({"Pigeon", "1", "DV 05131 23  0000101M", "J\u00e4ger & S\u00f6hne", "3", "125.00", "863.247"}));
        QCOMPARE(table[9], QStringList({"Loft", "2", "", "\u00d6zdemir", "2", "100.00", ""}));
        QString error;
        const QList<QStringList> rows = HtmlRows(Bytes(html), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(rows.contains(QStringList({"5", "DV 05131 23  0000987M", "Schulz <SG>", "1", "100.00", "111.111"})));
        QVERIFY(Bytes(pdf).startsWith("%PDF"));

        // A race of the season exports its prizes.
        QCOMPARE(Cli(folder, {"results", "Bastogne", "--csv", csv.toStdString()}), 0);
        const QList<QStringList> race = ReadCsv(QString::fromUtf8(Bytes(csv).mid(3)));
        QCOMPARE(race[0].mid(8, 2), QStringList({"Prize", "Ace points"}));
        QCOMPARE(race[3].mid(8, 2), QStringList({"P", "33.33"}));
        QCOMPARE(race[4].mid(8, 2), QStringList({"", ""}));

        QFile::remove(csv);
        {   // Shown beside another writer; exported only under the folder's write lock.
            const plumet::FolderWriteLock writer(folder.path().toStdString(), "test", std::chrono::milliseconds(0));
            QVERIFY(writer.Held());
            QCOMPARE(Cli(folder, {"--wait", "0", "season", "Season 2024"}), 0);
            std::string err;
            QCOMPARE(Cli(folder, {"--wait", "0", "season", "Season 2024", "--csv", csv.toStdString()}, nullptr, &err), 1);
            QVERIFY2(err.find(" is being written by test ") != std::string::npos, err.c_str());
        }
        QFile damaged(folder.filePath("racecalc/Broken.season"));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("Name=Broken\r\nFirstRace=1.5.2024\r\n") > 0);
        damaged.close();
        const struct { std::vector<std::string> args; int status; std::string err; } refused[] = {
            {{"season", "Autumn"}, 1, "There is no season named Autumn.\n"},
            {{"season", "broken"}, 1, "The season file " + (std::filesystem::path("racecalc") / "Broken.season").string() +
                                         " cannot be used: line 2 holds no date of the form DD.MM.YYYY. It is left as it is.\n"},
            {{"season", "Season 2024", "--csv", csv.toStdString(), "--html"}, 2, ""},
            {{"season", "Season 2024", "--csv", folder.filePath("no/season.csv").toStdString()}, 1, ""},
        };
        for (const auto& r : refused) {
            std::string err;
            QCOMPARE(Cli(folder, r.args, nullptr, &err), r.status);
            if (!r.err.empty()) QCOMPARE(err, r.err);
        }
        QVERIFY(!QFile::exists(csv));

        // A result file that cannot be read is named with its reason, never taken for a missing one.
        QVERIFY(QFile::remove(folder.filePath("racecalc/Arlon.flt")) && QDir(folder.path()).mkdir("racecalc/Arlon.flt"));
        std::string err;
        QCOMPARE(Cli(folder, {"results", "Arlon"}, nullptr, &err), 1);
        QVERIFY2(err.find("Arlon.flt cannot be read: it is a folder, not a file.") != std::string::npos, err.c_str());
        QCOMPARE(Cli(folder, {"season", "Season 2024"}, &out), 0);
        QVERIFY(out.find("result file Arlon.flt cannot be read: it is a folder, not a file") != std::string::npos);
    }
};

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    SeasonCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "seasoncommands_test.moc"
