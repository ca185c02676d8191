
#include "clitestsupport.h"

namespace {

// Exit status, then what the command printed on standard output or error.
std::string Said(const ProgramFolder& folder, const std::vector<std::string>& args) {
    std::string out, err;
    const int status = Cli(folder.Path(), args, &out, &err);
    return std::to_string(status) + " " + out + err;
}

} // namespace

class ExchangeCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // Layout "exchange": region 007, federation 003, club 002 with fancier 001 and his pigeons.
    void buildThenReadIntoAnEmptyFolderGivesTheRegistersBack() {
        ProgramFolder source("exchange");
        QCOMPARE(Said(source, {"build-exchange", "fancier"}), std::string("0 Writing the fancier exchange file ... done.\n"));
        QVERIFY(Said(source, {"build-exchange", "loft"}).starts_with("0 "));

        ProgramFolder target;
        for (const char* file : {"OPTIONS.PAR", "exchange/S007003.d00", "exchange/T007003.d00"})
            target.Write(file, source.Read(file));
        QCOMPARE(Said(target, {"read-exchange", "fancier"}), std::string("0 Reading the fancier exchange file ... done.\n"));
        QVERIFY(Said(target, {"read-exchange", "loft"}).starts_with("0 "));
        for (const QString file : {"club/club.dat", "fancier/f002.DAT", "pigeon/p002001.dat"})
            QCOMPARE(target.Read(file), Golden("folders/exchange/" + file));
    }

    void failuresPrintWhatTheWindowWouldSay() {
        ProgramFolder folder;
        folder.Copy("folders/exchange/OPTIONS.PAR", "OPTIONS.PAR");
        QVERIFY(Said(folder, {"read-exchange", "loft"})
                    .starts_with("1 The loft exchange file of this region and federation is missing"));
        QVERIFY(QDir(folder.File("exchange")).removeRecursively());
        const std::string failed = Said(folder, {"build-exchange", "loft"});
        QVERIFY(failed.starts_with("1 ") && failed.find("T007003.d00") != std::string::npos);
        QVERIFY(Said(folder, {"build-exchange", "pigeons"}).starts_with("2 "));
    }
};

QTEST_MAIN(ExchangeCommandsTest)
#include "exchangecommands_test.moc"
