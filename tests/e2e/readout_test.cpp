// Race data read-out, its copy and the XML export, end to end: plumet-cli and the dialog
// against plumet-clocksim on a pseudo-terminal.
#include <QTemporaryDir>

#include "e2esupport.h"
#include "ui/clock/racedatagetdialog.h"

using namespace plumet::e2e;

namespace {

const QStringList kReadOutAt{"--master-time", "2024-06-02T18:30:00"}; // the master clock at the read-out

// Region 12, federation 5, basketed on 31 May.
ClockState Loft(int club, int fancier, std::vector<ArrivalRecord> arrivals = {}) {
    ClockState state = LoftClock(12, 5, club, fancier, 0);
    state.basketing = {31, 5, 7, 30, 0};
    state.timerFlags = 64;
    state.arrivals = std::move(arrivals);
    return state;
}
ArrivalRecord At(int point, int dayByte) { return Arrival(point, dayByte, 14, 3); }
ClockState Loft7() { return Loft(123, 7, {At(7, 1), At(3, 31), At(7, 0)}); }

// Layout "readout": club 123 with fanciers 7 and 8, club 5 with fancier 255.
struct Folder : ProgramFolder {
    Folder() : ProgramFolder("readout") {}
    QByteArray RaceFile(const QString& name) const { return Read("race/" + name); }
    // Its timer lines without the read-out's seconds, as the simulated master clock runs on.
    QByteArray Unclocked(const QString& name) const {
        QList<QByteArray> lines = RaceFile(name).split('\n');
        for (QByteArray& line : lines)
            if (line.startsWith('2') && line.size() > 34) line.replace(26, 2, "ss").replace(32, 2, "ss");
        return lines.join('\n');
    }
    CliRun Readout(const ClockState& state, const QString& point, const QStringList& extra = kReadOutAt) const {
        SimulatedClock clock(state, extra);
        return RunCli(Path(), {"--port", clock.Device(), "readout", "23", point, "--date", "02.06.24"});
    }
};

QString Shown(const char* key) { return Shipped(QString("frmRacedataGet.") + key); }

} // namespace

class ReadoutEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void cliReadsSeveralClocksIntoTheFileOfEachPoint() {
        Folder folder;
        for (const QString point : {"00", "07"}) {
            const CliRun first = folder.Readout(Loft7(), point);
            QCOMPARE(first.exitCode, 0);
            QCOMPARE(first.out, folder.RaceFile("W0120523.d" + point).replace("\r\n", "\n")); // the lines it appended
            for (const ClockState& state : {Loft(123, 8), Loft(5, 255, {At(7, 2), At(9, 2)})})
                QCOMPARE(folder.Readout(state, point).exitCode, 0);
            QCOMPARE(folder.Unclocked("W0120523.d" + point), Golden("e2e/readout/W0120523.d" + point));
        }
        QCOMPARE(folder.Readout(Loft7(), "07").Told(), "1 " + Shown("MsgBoxText10"));
        QCOMPARE(folder.Unclocked("W0120523.d07"), Golden("e2e/readout/W0120523.d07"));
    }

    void cliArrivalMonthsAcrossAMonthEndAndTheNewYear() {
        Folder folder;
        QCOMPARE(folder.Readout(Loft(123, 7, {At(7, 30), At(7, 2), At(7, 0)}), "07",
                                {"--master-time", "2024-07-02T10:00:00"}).exitCode, 0);
        QCOMPARE(folder.Readout(Loft(123, 8, {At(7, 31), At(7, 3)}), "07", {"--master-time", "2025-01-03T10:00:00"}).exitCode, 0);
        QCOMPARE(folder.Unclocked("W0120523.d07"), Golden("e2e/readout/months.d07"));
    }

    void cliRefusalsLeaveTheFileUnchanged() {
        Folder folder;
        QCOMPARE(folder.Readout(Loft(123, 8), "00").exitCode, 0);
        const QByteArray before = folder.RaceFile("W0120523.d00");
        // Each row: the clock's region | federation | club | fancier | the simulator's faults | what the user is told.
        for (const QStringList& c : GoldenTable("e2e/readoutrefusals.txt")) {
            ClockState state = Loft7();
            state.region = c[0].toUShort(), state.federation = c[1].toUShort(), state.club = c[2].toUShort(), state.fancier = c[3].toUShort();
            QCOMPARE(folder.Readout(state, "00", kReadOutAt + c[4].split(' ', Qt::SkipEmptyParts)).Told(), "1 " + Shown(qPrintable(c[5])));
            QCOMPARE(folder.RaceFile("W0120523.d00"), before);
        }
        QCOMPARE(RunCli(folder.Path(), {"--port", folder.File("none"), "readout", "23", "00"}).Err(), Shown("MsgBoxText1"));
        QDir(folder.Path()).mkpath("race/W0120523.d07"); // cannot be read, so it is not replaced
        const QString refused = folder.Readout(Loft7(), "07").Err();
        QVERIFY2(refused.contains("W0120523.d07") && refused.contains("it is a folder"), qPrintable(refused));
    }

    // The copy and the export are wired to the same file; the time zone reaches the document.
    void cliStoresACopyAndExportsXml() {
        Folder folder;
        QCOMPARE(folder.Readout(Loft7(), "00").exitCode, 0);
        QTemporaryDir target;
        QCOMPARE(RunCli(folder.Path(), {"store-readout", "23", "0", target.path()}).exitCode, 0);
        QCOMPARE(ReadFile(target.filePath("W0120523.d00")), folder.RaceFile("W0120523.d00"));
        folder.Copy("xmlexport/W0120523.d07", "race/W0120523.d07");
        qputenv("TZ", "UTC-2");
        QCOMPARE(RunCli(folder.Path(), {"export-xml", "23", "7", "--out", target.path()}).exitCode, 0);
        qunsetenv("TZ");
        QCOMPARE(ReadFile(target.filePath("W0120523_07.xml")), Golden("xmlexport/W0120523_07.xml"));
    }

    void dialogReadsClocksIntoOneFile() {
        Folder folder;
        IdleMainWindow main;
        for (const ClockState& state : {Loft7(), Loft(5, 255, {At(7, 2)})}) {
            SimulatedClock clock(state, kReadOutAt);
            App().settings.comPort = clock.Device().toStdString();
            RacedataGetDialog dialog(&main);
            dialog.show();
            for (auto [name, text] : {std::pair{"Text2", "23"}, {"Text3", "02"}, {"Text4", "06"}, {"Text5", "24"}})
                TypeInto(dialog.findChild<FixedField*>(name), text);
            auto* getData = dialog.findChild<QPushButton*>("Command2");
            for (int read = 0; read < (state.fancier == 7 ? 2 : 1); ++read) { // the first clock twice
                getData->click();
                QTRY_VERIFY_WITH_TIMEOUT(getData->isEnabled(), 15000);
            }
        }
        QCOMPARE(ShownTexts(folder.Messages()).mid(1), QStringList{Shown("MsgBoxText10")});
        QCOMPARE(folder.Unclocked("W0120523.d00"), Golden("e2e/readout/dialog.d00"));
        QCOMPARE(main.Told(), Shown("txtDataRead").arg("255 Zimmermann", "1", QDir::toNativeSeparators(folder.File("race/W0120523.d00"))));
    }

    void cancelDuringAReadClosesTheDialogAndAddsNothing() {
        Folder folder;
        ClockState big = Loft7();
        big.arrivals.assign(1000, At(7, 1));
        SimulatedClock clock(big, kReadOutAt + QStringList{"--silent-after", "5000"}); // silent within the records
        App().settings.comPort = clock.Device().toStdString();
        IdleMainWindow main;
        auto dialog = std::make_unique<RacedataGetDialog>(&main);
        dialog->show();
        dialog->findChild<QPushButton*>("Command2")->click();
        QTRY_COMPARE_WITH_TIMEOUT(dialog->findChild<QLabel*>("Label4")->text(), Shown("txtDataGet"), 10000);
        dialog->findChild<QPushButton*>("Command1")->click();
        QVERIFY(!dialog->isVisible());
        dialog.reset();
        QVERIFY(folder.Messages().Shown().empty());
        QVERIFY(QDir(folder.File("race")).isEmpty());
    }
};

QTEST_MAIN(ReadoutEndToEnd)
#include "readout_test.moc"
