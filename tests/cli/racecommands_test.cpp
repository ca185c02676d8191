#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <sstream>

#include "app/fixedwidth.h"
#include "cli/cli.h"

using namespace plumet;

class RaceCommandsTest : public QObject {
    Q_OBJECT

    static int Cli(const QTemporaryDir& folder, std::vector<std::string> args, std::string* out = nullptr,
                   std::string* err = nullptr) {
        args.insert(args.begin(), {"--folder", folder.path().toStdString()});
        std::ostringstream output;
        std::ostringstream errors;
        const int status = cli::RunCli(args, output, errors, false);
        if (out) *out = output.str();
        if (err) *err = errors.str();
        return status;
    }

private slots:
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
