#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "cli/cli.h"

using plumet::cli::RunCli;

class DistanceCommandTest : public QObject {
    Q_OBJECT

    struct Run {
        int status = 0;
        std::string out;
        std::string err;
    };

    static Run Cli(const QTemporaryDir& folder, std::vector<std::string> args) {
        args.insert(args.begin(), {"--folder", folder.path().toStdString()});
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, out, err, false);
        return {status, out.str(), err.str()};
    }

private slots:
    void printsTheGeodesicInKilometresToFourDecimals() {
        QTemporaryDir folder;
        Run run = Cli(folder, {"distance", "N51000000", "E007000000", "N50000000", "E007000000"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, std::string("111.2397\n"));
        QVERIFY(run.err.empty());

        // Signs instead of letters, the loft in the south-west; and a place to itself.
        run = Cli(folder, {"distance", "-37570372", "+144252952", "-37391016", "+143553538"});
        QCOMPARE(run.out, std::string("54.9722\n"));
        run = Cli(folder, {"distance", "N50293000", "E005520000", "N50293000", "E005520000"});
        QCOMPARE(run.out, std::string("0.0000\n"));
    }

    void refusesTextsThatAreNoCoordinates() {
        QTemporaryDir folder;
        Run run = Cli(folder, {"distance", "N51000000", "E007000000", "N95000000", "E007000000"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.out.empty());
        QVERIFY(run.err.find("N95000000") != std::string::npos);
        run = Cli(folder, {"distance", "51.0", "7.0", "50.0", "7.0"});
        QCOMPARE(run.status, 1);
        run = Cli(folder, {"distance", "N51000000", "E007000000", "N50000000"});
        QCOMPARE(run.status, 2);
    }
};

QTEST_GUILESS_MAIN(DistanceCommandTest)
#include "distancecommand_test.moc"
