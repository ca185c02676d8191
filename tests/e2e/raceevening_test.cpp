// The race evening of the README's guide on the demo folder, with plumet-cli against the
// simulated clock: basketing (send the loft, read it back, send the release points), then the
// read-out, the XML export and a relayed print-out; then the calculation, the result window and
// the export in the program's windows, and the printed list and the web page from plumet-cli.
#include <QDate>
#include <QRegularExpression>
#include <array>

#include "e2esupport.h"
#include "ui/app/startup.h"
#include "ui/race/raceresultsdialog.h"

using namespace plumet::e2e;

namespace {

struct Clocked { int pigeon, day, hour, minute; };

// The demo clock basketed at `basketing` (day, month, hour), exact, with these arrivals.
plumet::ClockState RaceClock(const QString& demo, std::array<int, 3> basketing, const std::vector<Clocked>& arrivals) {
    plumet::ClockState state = plumet::LoadClockState((demo + "/clock-state.txt").toStdString()).state;
    state.basketing = {static_cast<std::uint8_t>(basketing[0]), static_cast<std::uint8_t>(basketing[1]),
                       static_cast<std::uint8_t>(basketing[2]), 0, 0};
    state.clockOffsetSeconds = 0;
    state.arrivals.clear();
    for (const Clocked& c : arrivals)
        state.arrivals.push_back(Arrival(10, c.day, c.hour, c.minute, 0, &state.pigeons.at(std::size_t(c.pigeon)).ring));
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

        const struct { const char* race; QString week, date, masterTime; std::array<int, 3> basketing;
                       std::vector<Clocked> arrivals; QStringList flights; } races[] = {
            {"Night", "24", "14.06.25", "2025-06-15T18:00:00", {13, 6, 19},
             {{0, 14, 19, 10}, {1, 14, 22, 40}, {2, 15, 3, 20}, {3, 15, 8, 15}}, // before, in, in, after
             {"0131000", "0150000", "0150000", "0181500"}},
            {"NewYear", "53", "31.12.26", "2027-01-02T10:00:00", {30, 12, 19}, {{0, 31, 15, 20}, {1, 1, 9, 5}},
             {"0072000", "0250500"}},
        };
        for (const auto& r : races) {
            SimulatedClock clock(RaceClock(folder, r.basketing, r.arrivals), {"--master-time", r.masterTime});
            const CliRun readout = RunCli(folder, {"--port", clock.Device(), "readout", r.week, "00", "--date", r.date});
            QCOMPARE(readout.exitCode, 0);
            QCOMPARE(static_cast<std::size_t>(readout.out.count("\n3012003")), r.arrivals.size());
            const CliRun calculated = RunCli(folder, {"calculate", r.race});
            QCOMPARE(calculated.exitCode, 0);
            QVERIFY2(calculated.err.isEmpty(), calculated.err.constData());
            QCOMPARE(FlightTimes(ReadFile(QDir(folder).filePath(QString("racecalc/") + r.race + ".flt"))), r.flights);
        }
        const CliRun exported = RunCli(folder, {"export-xml", "53", "00", "--out", root.path()});
        QCOMPARE(exported.exitCode, 0);
        const QByteArray document = ReadFile(QString::fromLocal8Bit(exported.out.trimmed()));
        QVERIFY(document.contains("<Time>2026-12-31T15:20:00") && document.contains("<Time>2027-01-01T09:05:00"));
    }
};

QTEST_MAIN(RaceEveningTest)
#include "raceevening_test.moc"
