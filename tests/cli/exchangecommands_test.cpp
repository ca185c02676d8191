#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "cli/cli.h"

using plumet::cli::RunCli;

namespace {

// A program folder with the data folders, region 007 and federation 03, and the shipped catalogue.
class CliFolder {
public:
    CliFolder() {
        for (const char* name : {"exchange", "club", "fancier", "pigeon"}) QDir(dir_.path()).mkpath(name);
        Write("OPTIONS.PAR", "007North" + QByteArray(25, ' ') + "\r\n003East" + QByteArray(26, ' ') + "\r\n\r\n1\r\n");
        QFile catalogue(PLUMET_SOURCE_DIR "/data/club.txt");
        catalogue.open(QIODevice::ReadOnly);
        Write("club.txt", catalogue.readAll());
    }
    QString Path() const { return dir_.path(); }
    void Write(const QString& relative, const QByteArray& bytes) const {
        QFile file(dir_.filePath(relative));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    QByteArray Read(const QString& relative) const {
        QFile file(dir_.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run Cli(const CliFolder& folder, std::vector<std::string> args) {
    args.insert(args.begin(), {"--folder", folder.Path().toStdString()});
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err, false);
    return {status, out.str(), err.str()};
}

const QByteArray kClubs = " 1 \r\n002Brieftaubenverein M\xFCnster" + QByteArray(5, ' ') + QByteArray(30, ' ') + "\r\n";
const QByteArray kFanciers = " 1 \r\n001Meier" + QByteArray(15, ' ') + "N51301525E0070500001" + QByteArray(30, ' ') + "\r\n";
const QByteArray kPigeons = " 2 \r\nNL      05     1234567M1300000000BLUE00\r\nNL      05     1234568F1300000000    00\r\n";

} // namespace

class ExchangeCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void buildReadAndBuildAgainGiveTheSameFiles() {
        CliFolder source;
        source.Write("club/club.dat", kClubs);
        source.Write("fancier/f002.DAT", kFanciers);
        source.Write("pigeon/p002001.dat", kPigeons);
        Run run = Cli(source, {"build-exchange", "fancier"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, std::string("Writing the fancier exchange file ... done.\n"));
        QCOMPARE(Cli(source, {"build-exchange", "loft"}).status, 0);

        CliFolder target;
        for (const char* file : {"exchange/S007003.d00", "exchange/T007003.d00"}) target.Write(file, source.Read(file));
        run = Cli(target, {"read-exchange", "fancier"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, std::string("Reading the fancier exchange file ... done.\n"));
        QCOMPARE(Cli(target, {"read-exchange", "loft"}).status, 0);
        QCOMPARE(target.Read("club/club.dat"), kClubs);
        QCOMPARE(target.Read("fancier/f002.DAT"), kFanciers);
        QCOMPARE(target.Read("pigeon/p002001.dat"), kPigeons);

        QVERIFY(QFile::remove(target.Path() + "/exchange/S007003.d00"));
        QVERIFY(QFile::remove(target.Path() + "/exchange/T007003.d00"));
        QCOMPARE(Cli(target, {"build-exchange", "fancier"}).status, 0);
        QCOMPARE(Cli(target, {"build-exchange", "loft"}).status, 0);
        QCOMPARE(target.Read("exchange/S007003.d00"), source.Read("exchange/S007003.d00"));
        QCOMPARE(target.Read("exchange/T007003.d00"), source.Read("exchange/T007003.d00"));
    }

    void failuresPrintWhatTheWindowWouldSay() {
        CliFolder folder;
        Run run = Cli(folder, {"read-exchange", "loft"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.starts_with("The loft exchange file of this region and federation is missing"));

        folder.Write("exchange/S007003.d00", "1008   Other\r\n2003   East\r\n");
        run = Cli(folder, {"read-exchange", "fancier"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.starts_with("The fancier exchange file of this region and federation is missing"));

        QVERIFY(QDir(folder.Path() + "/exchange").removeRecursively());
        run = Cli(folder, {"build-exchange", "loft"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.find("T007003.d00") != std::string::npos);

        QCOMPARE(Cli(folder, {"build-exchange", "pigeons"}).status, 2);
        QCOMPARE(Cli(folder, {"read-exchange"}).status, 2);
    }
};

QTEST_GUILESS_MAIN(ExchangeCommandsTest)
#include "exchangecommands_test.moc"
