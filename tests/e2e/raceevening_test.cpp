// The race evening of the README's guide on the demo folder, with plumet-cli against the
// simulated clock: basketing (send the loft, read it back, send the release points), then the
// read-out, the XML export and a relayed print-out; then the calculation, the result window and
// the export in the program's windows, and the printed list and the web page from plumet-cli.
#include <QDate>
#include <QRegularExpression>

#include "e2esupport.h"
#include "ui/app/startup.h"
#include "ui/race/raceresultsdialog.h"

using namespace plumet::e2e;

namespace {

// The demo clock basketed at `basketing` ("day month hour"), exact, with these arrivals ("pigeon day hour minute").
plumet::ClockState RaceClock(const QString& demo, const QString& basketing, const QStringList& arrivals) {
    plumet::ClockState state = plumet::LoadClockState((demo + "/clock-state.txt").toStdString()).state;
    const QStringList at = basketing.split(' ');
    state.basketing = {static_cast<std::uint8_t>(at[0].toUInt()), static_cast<std::uint8_t>(at[1].toUInt()),
                       static_cast<std::uint8_t>(at[2].toUInt()), 0, 0};
    state.clockOffsetSeconds = 0;
    state.arrivals.clear();
    for (const QString& arrival : arrivals) {
        const QStringList c = arrival.split(' ');
        state.arrivals.push_back(Arrival(10, c[1].toInt(), c[2].toInt(), c[3].toInt(), 0, &state.pigeons.at(c[0].toUInt()).ring));
    }
    return state;
}

// The flight times (hours, minutes, seconds) of a result file, in ranking order.
QStringList FlightTimes(const QByteArray& result) {
    QStringList times;
    for (const QByteArray& line : result.split('\n').mid(1))
        if (line.size() >= 52) times << QString(line.mid(45, 7));
    return times;
}

// Acts on the program's modal windows in the order given, each when it comes up (by object
// name); the actions run from the event loop, so a window an action opens gets its turn.
class WindowScript {
public:
    using Step = std::pair<QString, std::function<void(QWidget*)>>;
    explicit WindowScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || next_ >= steps_.size() || modal == last_ || modal->objectName() != steps_[next_].first) return;
            last_ = modal;
            QTimer::singleShot(0, modal, [modal, action = steps_[next_++].second] { action(modal); });
        });
        poll_.start(20);
    }
    bool Done() const { return next_ == steps_.size(); }

private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QWidget* last_ = nullptr;
    QTimer poll_;
};

} // namespace

class RaceEveningTest : public QObject {
    Q_OBJECT

private slots:
    void theRaceEveningOfTheGuide() {
        QTemporaryDir root;
        const QString folder = root.filePath("demo");
        // Prepared on an earlier day and not used since: written afresh for today's race.
        QVERIFY(RunDemoTool(folder, {"--date", QDate::currentDate().addDays(-3).toString("dd.MM.yyyy")}).startsWith("prepared "));
        const QByteArray prepared = RunDemoTool(folder);
        QVERIFY2(prepared.startsWith("refreshed "), prepared.constData());
        const QRegularExpressionMatch race =
            QRegularExpression(R"(race (\w+): club (\d+), week (\d+), release point (\d+))").match(QString(prepared));
        QVERIFY(race.hasMatch());
        const QString week = race.captured(3).rightJustified(2, '0');
        QCOMPARE(RunDemoTool(folder).left(6), QByteArray("ready "));

        SimulatedClock clock(folder, {"--verbose", "--line-speed", "port"}); // as the demo runs it
        QVERIFY(QFile::link(clock.Device(), QDir(folder).filePath("clock-line")));

        // Basketing.
        const QString pigeons = QDir(folder).filePath("pigeon/p012003.dat");
        const QByteArray loft = ReadFile(pigeons);
        QCOMPARE(RunCli(folder, {"send-loft", "12", "3"}).exitCode, 0);
        QCOMPARE(clock.State().count("\npigeon "), 8);
        QVERIFY(QFile::remove(pigeons));
        QCOMPARE(RunCli(folder, {"get-loft"}).exitCode, 0);
        QCOMPARE(ReadFile(pigeons), loft);
        QCOMPARE(RunCli(folder, {"send-points"}).exitCode, 0);
        QTRY_VERIFY(clock.State().contains("\npoint 10 METZ "));

        // After the race.
        const CliRun readout = RunCli(folder, {"readout", week, "00"});
        QCOMPARE(readout.exitCode, 0);
        QCOMPARE(readout.out.count("\n3012003"), 6);
        const CliRun exported = RunCli(folder, {"export-xml", week, "00", "--out", root.path()});
        QCOMPARE(exported.exitCode, 0);
        QVERIFY(ReadFile(QString::fromLocal8Bit(exported.out.trimmed())).contains("M\xC3\xBCller Karl-Heinz"));

        QProcess relay;
        const auto opened = [&] { return clock.Log().count("a program opened the line"); };
        const auto before = opened();
        relay.start(PLUMET_CLI, {"--folder", folder, "print-relay", "file", "--idle-exit", "4"});
        QTRY_VERIFY(opened() > before);
        clock.RequestPrintOut();
        QVERIFY(relay.waitForFinished(30000));
        QCOMPARE(relay.exitCode(), 0);
        QVERIFY(ReadFile(QDir(folder).filePath("PRINT.TXT")).contains("ARRIVALS  6\r\n"));

        // The evaluation in the program's windows: calculate, show, export.
        MessageTestMode messages;
        PrepareProgramFolder(folder.toStdString());
        QStringList shown;
        {
            IdleMainWindow window;
            QVERIFY(window.Menu("mnuRaceCalc")->menuAction()->isVisible()); // the demo shows it
            const QString csv = root.filePath("evening.csv");
            WindowScript script({{"frmRaceSelect", [&](QWidget* chooser) {
                                      QCOMPARE(chooser->findChild<QComboBox*>("Combo1")->currentText(), race.captured(1));
                                      Click(chooser, "OKButton");
                                  }},
                                 {"frmRaceResultsShow", [&](QWidget* results) {
                                      shown = static_cast<RaceResultsDialog*>(results)->ListLines();
                                      Click(results, "Command3");
                                  }},
                                 {"ExportDialog", [&](QWidget* save) {
                                      save->findChild<QLineEdit*>("fileNameEdit")->setText(csv); // typed
                                      static_cast<QDialog*>(save)->accept();
                                  }},
                                 {"frmRaceResultsShow", [](QWidget* results) { Click(results, "Command1"); }}});
            window.MenuItem("mnuRaceCalculate")->trigger();
            QVERIFY(script.Done());
            const QByteArray table = ReadFile(csv);
            QVERIFY2(table.startsWith("\xEF\xBB\xBF") && table.count("\r\n") == 7, qPrintable(ShownTexts(messages).join("|")));
            QCOMPARE(table.count(",M\xC3\xBCller Karl-Heinz,"), 6);
        }
        QCOMPARE(ShownTexts(messages), QStringList());
        QCOMPARE(shown.size(), 6);
        QVERIFY2(shown[0].startsWith("0001 M\u00fcller Karl-Heinz"), qPrintable(shown[0]));
        const QByteArray result = ReadFile(QDir(folder).filePath("racecalc/" + race.captured(1) + ".flt"));
        QVERIFY2(result.startsWith(" 6 \r\n"), result.constData());
        QCOMPARE(result.count("M\xFCller Karl-Heinz   "), 6);
        QCOMPARE(RunCli(folder, {"results", race.captured(1), "--pdf", root.filePath("metz.pdf"), "--html",
                                 root.filePath("metz.html")}).exitCode, 0);
        QVERIFY(ReadFile(root.filePath("metz.pdf")).startsWith("%PDF"));
        QVERIFY(ReadFile(root.filePath("metz.html")).contains("<td>M\xC3\xBCller Karl-Heinz</td>"));
        // The demo's season: three races of the weeks before, and now this one.
        const CliRun season = RunCli(folder, {"season", "Season " + QString::number(QDate::currentDate().year())});
        QCOMPARE(season.exitCode, 0);
        QVERIFY2(season.out.contains("Races counted: 4 of 4\n"), season.out.constData());
        // With Metz calculated the federation's list holds both clubs' pigeons.
        const CliRun federation = RunCli(folder, {"combined", "Metz federation"});
        QCOMPARE(federation.exitCode, 0);
        QVERIFY2(federation.out.contains("\n012  ") && federation.out.contains("\n027  "), federation.out.constData());

        // The folder has been used: preparing it again leaves it as it is.
        const QStringList files = Contents(folder).keys();
        const QByteArray state = clock.State();
        QVERIFY(RunDemoTool(folder).startsWith("kept "));
        QCOMPARE(Contents(folder).keys(), files);
        QCOMPARE(clock.State(), state);
    }

    // A race over one night, closed 21:00 to 05:00, with pigeons home before, during and after
    // the night; and a race on 31 December (week 53) with a pigeon home on 1 January.
    void aNightRaceAndARaceAtTheTurnOfTheYear() {
        QTemporaryDir root;
        const QString folder = root.filePath("demo");
        QVERIFY(RunDemoTool(folder).startsWith("prepared "));
        // The demo's race point and club: Night on 14 June 2025 at 6:00, closed 21:00 to 05:00 over
        // one night; NewYear on 31 December 2026 at 8:00.
        WriteFile(folder + "/racecalc/races.dat", Golden("e2e/night-newyear-races.dat"));

        // Each row: the race | its week | the read-out's date | the master clock then | the basketing | the
        // arrivals | their flight times.
        for (const QStringList& r : GoldenTable("e2e/night-newyear-clocks.txt")) {
            const QStringList arrivals = r[5].split(';');
            SimulatedClock clock(RaceClock(folder, r[4], arrivals), {"--master-time", r[3]});
            const CliRun readout = RunCli(folder, {"--port", clock.Device(), "readout", r[1], "00", "--date", r[2]});
            QCOMPARE(readout.exitCode, 0);
            QCOMPARE(readout.out.count("\n3012003"), arrivals.size());
            const CliRun calculated = RunCli(folder, {"calculate", r[0]});
            QCOMPARE(calculated.exitCode, 0);
            QVERIFY2(calculated.err.isEmpty(), calculated.err.constData());
            QCOMPARE(FlightTimes(ReadFile(QDir(folder).filePath("racecalc/" + r[0] + ".flt"))), r[6].split(' '));
        }
        const CliRun exported = RunCli(folder, {"export-xml", "53", "00", "--out", root.path()});
        QCOMPARE(exported.exitCode, 0);
        const QByteArray document = ReadFile(QString::fromLocal8Bit(exported.out.trimmed()));
        QVERIFY(document.contains("<Time>2026-12-31T15:20:00") && document.contains("<Time>2027-01-01T09:05:00"));
    }
};

QTEST_MAIN(RaceEveningTest)
#include "raceevening_test.moc"
