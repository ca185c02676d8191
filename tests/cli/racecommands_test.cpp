#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <utility>

#include "cli/cli.h"
#include "clitestsupport.h"
#include "core/app/fixedwidth.h"

using namespace plumet;

class RaceCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void resultsExportTheGoldenRaceForSpreadsheetsAndWebPagesOrWriteNothing() {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir("racecalc");
        for (const auto& [from, to] : {std::pair{"/data/club.txt", "club.txt"},
                                       std::pair{"/tests/data/race/races.dat", "racecalc/races.dat"},
                                       std::pair{"/tests/data/export/Spring 1.flt", "racecalc/Spring 1.flt"}})
            QVERIFY(QFile::copy(QString(PLUMET_SOURCE_DIR) + from, folder.filePath(to)));
        const QString csv = folder.filePath("list.csv"), html = folder.filePath("list.html");
        QCOMPARE(Cli(folder, {"results", "Spring 1", "--html", html.toStdString(), "--csv", csv.toStdString()}), 0);

        QFile csvFile(csv), htmlFile(html);
        QVERIFY(csvFile.open(QIODevice::ReadOnly) && htmlFile.open(QIODevice::ReadOnly));
        const QByteArray csvBytes = csvFile.readAll();
        QVERIFY(csvBytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> table = ReadCsv(QString::fromUtf8(csvBytes.mid(3)));
        // Each pigeon of the result file, by its columns: name, ring, colour, flight, km, m/min.
        QFile result(folder.filePath("racecalc/Spring 1.flt"));
        QVERIFY(result.open(QIODevice::ReadOnly));
        QList<QStringList> expected{table.value(0)};
        result.readLine();
        while (!result.atEnd()) {
            const QString line = QString::fromLatin1(result.readLine()).chopped(2);
            const auto figure = [&](int from) { return QString::number(line.mid(from, 8).replace(',', '.').toDouble(), 'f', 3); };
            expected << QStringList{QString::number(expected.size()), line.left(20).trimmed(), line.mid(20, 21).trimmed(),
                                    line.mid(41, 4).trimmed(),
                                    QString::number(line.mid(45, 3).toInt()) + "." + line.mid(48, 2) + "." + line.mid(50, 2),
                                    figure(52), figure(60), ""};
        }
        QCOMPARE(table, expected);
        QCOMPARE(table[2][1], QString("J\u00e4ger & S\u00f6hne"));
        QCOMPARE(table[3][1], QString("\"Flitzer\", Peters"));

        QString error;
        const QList<QStringList> rows = HtmlRows(htmlFile.readAll(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(rows.mid(rows.size() - table.size()), table);

        // No result file, or a target that cannot be written: refused, and no file is left.
        QVERIFY(QFile::remove(csv) && QFile::remove(html));
        struct Case { std::vector<std::string> args; int status; };
        const Case refused[] = {{{"results", "Long_Distance 2", "--csv", csv.toStdString()}, 1},
                                {{"results", "Spring 1", "--html", html.toStdString(), "--csv", folder.filePath("no/list.csv").toStdString()}, 1},
                                {{"results", "Spring 1", "--csv", "a.csv", "--csv"}, 2}};
        for (const Case& c : refused) {
            std::string err;
            QCOMPARE(Cli(folder, c.args, nullptr, &err), c.status);
            QVERIFY(!err.empty());
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"club.txt"});
    }

    // The wiring: the files of the dialog, the window's lines, the warning and the PDF.
    void calculateThenShowAndPrintTheStoredResult() {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir("racecalc");
        QFile::copy(QString(PLUMET_SOURCE_DIR) + "/data/club.txt", folder.filePath("club.txt"));
        QFile::copy(QString(PLUMET_SOURCE_DIR) + "/tests/data/race/races.dat", folder.filePath("racecalc/races.dat"));
        // Long_Distance 2: 2 July 06:15, one night closed 21:30 to 05:45, release point 98. The
        // first pigeon is home before the night; a line that cannot be read ends the file.
        QFile manual(folder.filePath("racecalc/Long_Distance 2_wf012.man"));
        QVERIFY(manual.open(QIODevice::WriteOnly));
        const std::string tail = std::string(28, '0') + "BL  01\r\n";
        const std::string pigeon = "3007012DV    2023012340000102M981";
        manual.write(QByteArray::fromStdString("0020724\r\n1007012002" + PadRight("Meier", 20) +
                                               "N51000000E007000000\r\n2007012001070600000307060000060000\r\n" +
                                               pigeon + "0207140000" + tail + pigeon + "0307090000" + tail + "3 cut off\r\n"));
        manual.close();
        const std::string pdf = folder.filePath("list.pdf").toStdString();
        std::string err;
        std::string out;
        QCOMPARE(Cli(folder, {"calculate", "Long_Distance 2"}, &out, &err), 0);
        QCOMPARE(err, "Reading of " + (std::filesystem::path("racecalc") / "Long_Distance 2_wf012.man").string() +
                          " ended at line 6, which cannot be read: the pigeons from that line on are missing from this result.\n");
        QVERIFY(out.find("Race: Long_Distance 2\n") != std::string::npos);
        QVERIFY(out.find("\n0002 Meier") != std::string::npos);
        QFile result(folder.filePath("racecalc/Long_Distance 2.flt"));
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readLine(), QByteArray(" 2 \r\n"));

        std::string shown;
        QCOMPARE(Cli(folder, {"results", "Long_Distance 2"}, &shown), 0);
        QCOMPARE(shown, out);
        QCOMPARE(Cli(folder, {"results", "Long_Distance 2", "--pdf", pdf}), 0);
        QVERIFY(QFile(folder.filePath("list.pdf")).size() > 1000);
        QCOMPARE(Cli(folder, {"calculate", "Autumn"}), 1);
    }
};

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RaceCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "racecommands_test.moc"
