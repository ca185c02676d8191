#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "cli/cli.h"

class DistanceCommandTest : public QObject {
    Q_OBJECT

    // Exit status, standard output and standard error of one distance command.
    static std::string Distance(std::vector<std::string> coordinates) {
        QTemporaryDir folder;
        coordinates.insert(coordinates.begin(), {"--folder", folder.path().toStdString(), "distance"});
        std::ostringstream out;
        std::ostringstream err;
        const int status = plumet::cli::RunCli(coordinates, out, err, false);
        return std::to_string(status) + "|" + out.str() + "|" + err.str();
    }

private slots:
    void printsTheGeodesicInKilometresToFourDecimalsOrRefuses() {
        QCOMPARE(Distance({"N51000000", "E007000000", "N50000000", "E007000000"}), std::string("0|111.2397\n|"));
        QCOMPARE(Distance({"-37570372", "+144252952", "-37391016", "+143553538"}), std::string("0|54.9722\n|"));
        const std::string refused = Distance({"N51000000", "E007000000", "N95000000", "E007000000"});
        QVERIFY(refused.starts_with("1||") && refused.find("N95000000") != std::string::npos);
        QVERIFY(Distance({"N51000000", "E007000000", "N50000000"}).starts_with("2|"));
    }
};

QTEST_GUILESS_MAIN(DistanceCommandTest)
#include "distancecommand_test.moc"
