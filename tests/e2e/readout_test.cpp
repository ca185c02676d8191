// Race data read-out, its copy and the XML export, end to end: plumet-cli and the dialog
// against plumet-clocksim on a pseudo-terminal.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "common/appcontext.h"
#include "core/app/fixedwidth.h"
#include "e2esupport.h"
#include "ui/app/mainwindow.h"
#include "ui/clock/racedatagetdialog.h"
#include "ui/widgets/fixedfield.h"
#include "uitestsupport.h"

using namespace plumet;
using namespace plumet::e2e;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

const QStringList kReadOutAt{"--master-time", "2024-06-02T18:30:00"}; // the master clock at the read-out

ArrivalRecord Arrival(int point, int dayByte) {
    ArrivalRecord a{};
    const RingRecord ring = *PigeonsConvert({"M", "F", "U"}).EncodeRing("DV    20050815 1234567M1300000000BLAU01");
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = static_cast<std::uint8_t>(point), a[17] = static_cast<std::uint8_t>(dayByte);
    a[18] = 14, a[19] = 3, a[20] = 27;
    return a;
}

// Region 12, federation 5.
ClockState Loft(int club, int fancier, std::vector<ArrivalRecord> arrivals = {}) {
    ClockState state;
    state.region = 12, state.federation = 5;
    state.club = static_cast<std::uint8_t>(club), state.fancier = static_cast<std::uint8_t>(fancier);
    state.basketing = {31, 5, 7, 30, 0};
    state.timerFlags = 64;
    state.arrivals = std::move(arrivals);
    return state;
}
ClockState Loft7() { return Loft(123, 7, {Arrival(7, 1), Arrival(3, 31), Arrival(7, 0)}); }

// A clock of its own: a simulator with `state`.
class Clock {
public:
    explicit Clock(const ClockState& state, const QStringList& extra = kReadOutAt) {
        QFile file(dir_.filePath("start.txt"));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray::fromStdString(FormatClockState(state)));
        file.close();
        sim_ = std::make_unique<SimulatedClock>(dir_.path(), file.fileName(), extra);
    }
    QString Device() const { return sim_->Device(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<SimulatedClock> sim_;
};

// Options, catalogue, club 123 with fanciers 7 and 8, club 5 with fancier 255.
struct Folder {
    ProgramFolderFixture fixture;
    Folder() {
        fixture.Write("OPTIONS.PAR", "012North\r\n005Federation\r\n0\r\n1\r\n");
        fixture.Write("club/club.dat", " 2 \r\n005Heimatliebe\r\n123Zur Post\r\n");
        fixture.Write("fancier/f123.DAT", " 2 \r\n007Meier Hans          N51301525E0070500001\r\n008M\xFCller\r\n");
        fixture.Write("fancier/f005.DAT", " 1 \r\n255Zimmermann          +45000000-0080000000\r\n");
        App().settings = ReadOptions(fixture.Path().toStdString());
    }
    QString Path() const { return fixture.Path(); }
    QByteArray File(const QString& name) const { return fixture.Read("race/" + name); }
    QStringList Lines(const QString& name) const { return QString::fromLatin1(File(name)).split("\r\n", Qt::SkipEmptyParts); }
    CliRun Readout(const ClockState& state, const QString& point, const QStringList& extra = kReadOutAt) const {
        Clock clock(state, extra);
        return RunCli(Path(), {"--port", clock.Device(), "readout", "23", point, "--date", "02.06.24"});
    }
};

QString Shown(const char* key) { return Shipped(QString("frmRacedataGet.") + key); }
QString Err(const CliRun& run) { return QString::fromUtf8(run.err).trimmed(); }

} // namespace

class ReadoutEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void cliReadsSeveralClocksIntoTheFileOfEachPoint() {
        Folder folder;
        for (const QString point : {"00", "07"}) {
            const CliRun first = folder.Readout(Loft7(), point);
            QCOMPARE(first.exitCode, 0);
            QCOMPARE(first.out, folder.File("W0120523.d" + point).replace("\r\n", "\n")); // the lines it appended
            for (const ClockState& state : {Loft(123, 8), Loft(5, 255, {Arrival(7, 2), Arrival(9, 2)})})
                QCOMPARE(folder.Readout(state, point).exitCode, 0);
        }
        const QStringList all = folder.Lines("W0120523.d00");
        QCOMPARE(all.size(), 1 + 5 + 2 + 4);
        QCOMPARE(all[1].left(10) + all[6].left(10) + all[8].left(10), "1123007003" "1123008000" "1005255002");
        const QStringList seven = folder.Lines("W0120523.d07");
        QCOMPARE(seven.size(), 1 + 4 + 2 + 3);
        QCOMPARE(seven[1].mid(7, 3) + seven[4].mid(30, 5) + seven[7].left(10), "002" "07000" "1005255001");

        const QByteArray before = folder.File("W0120523.d07");
        const CliRun again = folder.Readout(Loft7(), "07");
        QCOMPARE(again.exitCode, 1);
        QCOMPARE(Err(again), Shown("MsgBoxText10"));
        QCOMPARE(folder.File("W0120523.d07"), before);
    }

    void cliArrivalMonthsAcrossAMonthEndAndTheNewYear() {
        Folder folder;
        QCOMPARE(folder.Readout(Loft(123, 7, {Arrival(7, 30), Arrival(7, 2), Arrival(7, 0)}), "07",
                                {"--master-time", "2024-07-02T10:00:00"}).exitCode, 0);
        QCOMPARE(folder.Readout(Loft(123, 8, {Arrival(7, 31), Arrival(7, 3)}), "07",
                                {"--master-time", "2025-01-03T10:00:00"}).exitCode, 0);
        const QStringList lines = folder.Lines("W0120523.d07");
        QStringList days; // columns 33-37 of the arrival lines: valid flag, day, month
        for (const QString& line : lines)
            if (line.startsWith('3')) days << line.mid(32, 5);
        QCOMPARE(days, (QStringList{"13006", "10207", "00000", "13112", "10301"}));
    }

    void cliRefusalsLeaveTheFileUnchanged() {
        Folder folder;
        QCOMPARE(folder.Readout(Loft(123, 8), "00").exitCode, 0);
        const QByteArray before = folder.File("W0120523.d00");
        ClockState region = Loft7(), federation = Loft7(), club = Loft7(), fancier = Loft7();
        region.region = 13, federation.federation = 6, club.club = 124, fancier.fancier = 9;
        const std::vector<std::tuple<ClockState, QStringList, const char*>> cases = {
            {region, kReadOutAt, "MsgBoxText4"},
            {federation, kReadOutAt, "MsgBoxText5"},
            {club, kReadOutAt, "MsgBoxText6"},
            {fancier, kReadOutAt, "MsgBoxText7"},
            {Loft7(), kReadOutAt + QStringList{"--too-many-records"}, "txtCommunicationError"},
            {Loft7(), kReadOutAt + QStringList{"--silent-after", "60"}, "txtCommunicationError"},
            {Loft7(), kReadOutAt + QStringList{"--silent-after", "0"}, "MsgBoxText3"},
            // A byte later than the byte timeout of 500 ms.
            {Loft7(), kReadOutAt + QStringList{"--delay-before", "30", "--delay-ms", "800"}, "txtCommunicationError"},
            {Loft7(), kReadOutAt + QStringList{"--corrupt-at", "127"}, "txtCommunicationError"}, // the end mark
            {Loft7(), kReadOutAt + QStringList{"--corrupt-at", "1"}, "MsgBoxText3"},             // the acknowledgement
        };
        for (const auto& [state, extra, key] : cases) {
            const CliRun run = folder.Readout(state, "00", extra);
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(Err(run), Shown(key));
            QCOMPARE(folder.File("W0120523.d00"), before);
        }
        QCOMPARE(Err(RunCli(folder.Path(), {"--port", folder.Path() + "/none", "readout", "23", "00"})), Shown("MsgBoxText1"));
        QDir(folder.Path()).mkpath("race/W0120523.d07"); // cannot be read, so it is not replaced
        const QString refused = Err(folder.Readout(Loft7(), "07"));
        QVERIFY2(refused.contains("W0120523.d07") && refused.contains("it is a folder"), qPrintable(refused));
    }

    // The copy and the export are wired to the same file; the time zone reaches the document.
    void cliStoresACopyAndExportsXml() {
        Folder folder;
        QCOMPARE(folder.Readout(Loft7(), "00").exitCode, 0);
        QTemporaryDir target;
        QCOMPARE(RunCli(folder.Path(), {"store-readout", "23", "0", target.path()}).exitCode, 0);
        QFile copy(QDir(target.path()).filePath("W0120523.d00"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), folder.File("W0120523.d00"));
        QFile source(QString(PLUMET_TEST_DATA) + "/xmlexport/W0120523.d07"), golden(QString(PLUMET_TEST_DATA) + "/xmlexport/W0120523_07.xml");
        QVERIFY(source.open(QIODevice::ReadOnly) && golden.open(QIODevice::ReadOnly));
        folder.fixture.Write("race/W0120523.d07", source.readAll());
        qputenv("TZ", "UTC-2");
        QCOMPARE(RunCli(folder.Path(), {"export-xml", "23", "7", "--out", target.path()}).exitCode, 0);
        qunsetenv("TZ");
        QFile written(QDir(target.path()).filePath("W0120523_07.xml"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), golden.readAll());
    }

    void dialogReadsClocksIntoOneFile() {
        Folder folder;
        MainWindow main;
        main.StartupTimer()->stop();
        for (const ClockState& state : {Loft7(), Loft(5, 255, {Arrival(7, 2)})}) {
            Clock clock(state);
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
        QCOMPARE(folder.fixture.Messages().Shown().size(), size_t(1));
        QCOMPARE(folder.fixture.Messages().Shown().front().text, Shown("MsgBoxText10"));
        const QStringList lines = folder.Lines("W0120523.d00");
        QCOMPARE(lines.size(), 1 + 5 + 3);
        QCOMPARE(lines[0] + lines[1].left(10) + lines[6].left(10), "0020624" "1123007003" "1005255001");
    }

    void cancelDuringAReadClosesTheDialogAndAddsNothing() {
        Folder folder;
        ClockState big = Loft7();
        big.arrivals.assign(1000, Arrival(7, 1));
        Clock clock(big, kReadOutAt + QStringList{"--silent-after", "5000"}); // silent within the records
        App().settings.comPort = clock.Device().toStdString();
        MainWindow main;
        main.StartupTimer()->stop();
        auto dialog = std::make_unique<RacedataGetDialog>(&main);
        dialog->show();
        dialog->findChild<QPushButton*>("Command2")->click();
        QTRY_COMPARE_WITH_TIMEOUT(dialog->findChild<QLabel*>("Label4")->text(), Shown("txtDataGet"), 10000);
        dialog->findChild<QPushButton*>("Command1")->click();
        QVERIFY(!dialog->isVisible());
        dialog.reset();
        QVERIFY(folder.fixture.Messages().Shown().empty());
        QVERIFY(QDir(folder.Path() + "/race").isEmpty());
    }
};

QTEST_MAIN(ReadoutEndToEnd)
#include "readout_test.moc"
