
#include "clitestsupport.h"

class DistanceCommandTest : public QObject {
    Q_OBJECT

    // Exit status, standard output and standard error of one distance command.
    static std::string Distance(std::vector<std::string> coordinates) {
        std::string out, err;
        coordinates.insert(coordinates.begin(), "distance");
        return std::to_string(Cli(QTemporaryDir().path(), coordinates, &out, &err)) + "|" + out + "|" + err;
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

QTEST_MAIN(DistanceCommandTest)
#include "distancecommand_test.moc"
