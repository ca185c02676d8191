// Race data read-out, its copy and the XML export, end to end: plumet-cli and the dialog
// against plumet-clocksim on a pseudo-terminal.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <memory>

#include "app/appcontext.h"
#include "app/fixedwidth.h"
#include "app/mainwindow.h"
#include "clock/clockstate.h"
#include "clock/pigeonsconvert.h"
#include "clock/racedatagetdialog.h"
#include "e2esupport.h"
#include "uitestsupport.h"
#include "widgets/fixedfield.h"

using namespace plumet;
using namespace plumet::e2e;
using namespace plumet::ui;
using namespace plumet::ui::test;

namespace {

const PigeonsConvert kConvert(SexTexts{"M", "F", "U"});
const char* const kReadOut = "2024-06-02T18:30:00"; // the master clock at the read-out

ArrivalRecord Arrival(int point, int dayByte, int hour = 14, int minute = 3, int second = 27) {
    ArrivalRecord a{};
    const RingRecord ring = *kConvert.EncodeRing("DV    20050815 1234567M1300000000BLAU01");
    std::copy(ring.begin(), ring.end(), a.begin());
    a[16] = static_cast<std::uint8_t>(point);
    a[17] = static_cast<std::uint8_t>(dayByte);
    a[18] = static_cast<std::uint8_t>(hour);
    a[19] = static_cast<std::uint8_t>(minute);
    a[20] = static_cast<std::uint8_t>(second);
    a[22] = 0xAB; // half-bytes above 9
    return a;
}

// Region 12, federation 5; arrivals for points 7 and 3 and one without a day.
ClockState Loft(int club, int fancier, std::vector<ArrivalRecord> arrivals = {}) {
    ClockState state;
    state.region = 12;
    state.federation = 5;
    state.club = static_cast<std::uint8_t>(club);
    state.fancier = static_cast<std::uint8_t>(fancier);
    state.basketing = {31, 5, 7, 30, 0};
    state.timerFlags = 64;
    state.arrivals = std::move(arrivals);
    return state;
}

ClockState Loft7() { return Loft(123, 7, {Arrival(7, 1), Arrival(3, 31), Arrival(7, 0)}); }

QByteArray Record(const std::string& text) { return QByteArray(text.c_str(), static_cast<qsizetype>(text.size())); }

// A clock of its own: a simulator with `state` in a folder of its own.
class Clock {
public:
    explicit Clock(const ClockState& state, QStringList extra = {"--master-time", kReadOut}) {
        const QString path = dir_.filePath("start.txt");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(Record(FormatClockState(state)));
        file.close();
        sim_ = std::make_unique<SimulatedClock>(dir_.path(), path, extra);
    }
    QString Device() const { return sim_->Device(); }
    bool Started() const { return sim_->Started(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<SimulatedClock> sim_;
};

} // namespace

class ReadoutEndToEnd : public QObject {
    Q_OBJECT

    // The program folder: options, catalogue, club 123 with fanciers 7 and 8, club 5 with
    // fancier 255.
    struct Folder {
        ProgramFolderFixture fixture;
        Folder() {
            fixture.Write("OPTIONS.PAR", "012" + QByteArray(30, 'N') + "\r\n005" + QByteArray(30, 'F') + "\r\n0\r\n1\r\n");
            fixture.Write("club/club.dat", " 2 \r\n" + Record(PadRight("005Heimatliebe", 63)) + "\r\n" +
                                               Record(PadRight("123Zur Post", 63)) + "\r\n");
            fixture.Write("fancier/f123.DAT", " 2 \r\n" + Record("007" + PadRight("Meier Hans", 20) + "N51301525E0070500001" + std::string(30, ' ')) +
                                                  "\r\n" + Record("008" + PadRight("M\xFCller", 20) + "N51301525E0070500000" + std::string(30, ' ')) + "\r\n");
            fixture.Write("fancier/f005.DAT", " 1 \r\n" + Record("255" + PadRight("Zimmermann", 20) + "+45000000-0080000000" + std::string(30, ' ')) + "\r\n");
            App().settings = ReadOptions(plumet::Path(fixture.Path().toStdString()));
        }
        QString Path() const { return fixture.Path(); }
        QByteArray File(const QString& name) const { return fixture.Read("race/" + name); }
        CliRun Readout(const Clock& clock, const QString& point, const QStringList& more = {"--date", "02.06.24"}) const {
            return RunCli(Path(), QStringList{"--port", clock.Device(), "readout", "23", point} + more);
        }
    };

    static QStringList Lines(const QByteArray& bytes) {
        QStringList lines = QString::fromLatin1(bytes).split("\r\n");
        if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
        return lines;
    }

    static QString Shown(const char* key) { return Shipped(QString("frmRacedataGet.") + key); }

private slots:
    void cliReadsSeveralClocksIntoOneFilePerPoint() {
        Folder folder;
        const ClockState clocks[] = {Loft7(), Loft(123, 8), Loft(5, 255, {Arrival(7, 2), Arrival(9, 2)})};
        for (const QString point : {"00", "07"}) {
            for (const ClockState& state : clocks) {
                Clock clock(state);
                QVERIFY(clock.Started());
                const CliRun run = folder.Readout(clock, point);
                QCOMPARE(run.exitCode, 0);
                QVERIFY(run.err.isEmpty());
            }
        }
        const QStringList all = Lines(folder.File("W0120523.d00"));
        QCOMPARE(all.size(), 1 + 2 + 3 + 2 + 2 + 2);
        QCOMPARE(all[0], QString("0020624"));
        QCOMPARE(all[1], "1123007003" + QString("Meier Hans").leftJustified(20) + "N51301525E007050000");
        // The master clock runs on from 18:30:00 while the read goes on.
        QCOMPARE(all[2].left(26), QString("21230071310507300002061830"));
        QCOMPARE(all[2].right(1), QString("1"));
        QCOMPARE(all[3], "3123007DV    20050815 1234567M071010614032700000000AB00" + QString(16, '0') + "BLAU01");
        QCOMPARE(all[6].left(10), QString("1123008000"));
        QCOMPARE(all[8].left(10), QString("1005255002"));

        const QStringList seven = Lines(folder.File("W0120523.d07"));
        QCOMPARE(seven.size(), 1 + 2 + 2 + 2 + 2 + 1);
        QCOMPARE(seven[1].mid(7, 3), QString("002"));
        QCOMPARE(seven[3].mid(30, 2), QString("07"));
        QCOMPARE(seven[4].mid(30, 5), QString("07000")); // the arrival without a day
        QCOMPARE(seven[5].left(10), QString("1123008000"));
        QCOMPARE(seven[7].left(10), QString("1005255001"));

        // The same clock again: message 10, the file stays.
        const QByteArray before = folder.File("W0120523.d07");
        Clock again(Loft7());
        const CliRun refused = folder.Readout(again, "07");
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(QString::fromUtf8(refused.err).trimmed(), Shown("MsgBoxText10"));
        QVERIFY(refused.out.isEmpty());
        QCOMPARE(folder.File("W0120523.d07"), before);
    }

    void cliPrintsTheLinesItAppended() {
        Folder folder;
        Clock first(Loft(5, 255));
        const CliRun run = folder.Readout(first, "00");
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, folder.File("W0120523.d00").replace("\r\n", "\n"));
        Clock second(Loft(123, 8));
        const CliRun next = folder.Readout(second, "00");
        QCOMPARE(QString::fromUtf8(next.out).split('\n').first(), "1123008000" + QString::fromUtf8("M\u00FCller").leftJustified(20) + "N51301525E007050000");
        QCOMPARE(Lines(folder.File("W0120523.d00")).size(), 5);
    }

    void cliArrivalMonthsAcrossAMonthEndAndTheNewYear() {
        Folder folder;
        {
            Clock july(Loft(123, 7, {Arrival(7, 30), Arrival(7, 2), Arrival(7, 0)}), {"--master-time", "2024-07-02T10:00:00"});
            QCOMPARE(folder.Readout(july, "07").exitCode, 0);
        }
        {
            Clock january(Loft(123, 8, {Arrival(7, 31), Arrival(7, 3)}), {"--master-time", "2025-01-03T10:00:00"});
            QCOMPARE(folder.Readout(january, "07").exitCode, 0);
        }
        const QStringList lines = Lines(folder.File("W0120523.d07"));
        QCOMPARE(lines.size(), 1 + 2 + 3 + 2 + 2);
        // Columns 33-37: valid flag, day, month.
        QCOMPARE(lines[3].mid(32, 5), QString("13006"));
        QCOMPARE(lines[4].mid(32, 5), QString("10207"));
        QCOMPARE(lines[5].mid(32, 5), QString("00000"));
        QCOMPARE(lines[7].mid(18, 4), QString("0301")); // the timer line's read-out day and month
        QCOMPARE(lines[8].mid(32, 5), QString("13112"));
        QCOMPARE(lines[9].mid(32, 5), QString("10301"));
    }

    void cliRefusalsLeaveTheFileUnchanged() {
        Folder folder;
        {
            Clock first(Loft(123, 8));
            QCOMPARE(folder.Readout(first, "00").exitCode, 0);
        }
        const QByteArray before = folder.File("W0120523.d00");
        struct Case {
            ClockState state;
            QStringList extra;
            const char* key;
        };
        ClockState region = Loft7(), federation = Loft7(), club = Loft7(), fancier = Loft7();
        region.region = 13;
        federation.federation = 6;
        club.club = 124;
        fancier.fancier = 9;
        ClockState tooMany = Loft7();
        tooMany.arrivals.assign(1001, Arrival(7, 1));
        const QStringList master{"--master-time", kReadOut};
        const std::vector<Case> cases = {
            {region, master, "MsgBoxText4"},
            {federation, master, "MsgBoxText5"},
            {club, master, "MsgBoxText6"},
            {fancier, master, "MsgBoxText7"},
            {tooMany, master, "txtCommunicationError"},
            {Loft7(), master + QStringList{"--silent-after", "60"}, "txtCommunicationError"},
            {Loft7(), master + QStringList{"--corrupt-at", "127"}, "txtCommunicationError"}, // the end mark
            {Loft7(), master + QStringList{"--corrupt-at", "1"}, "MsgBoxText3"},             // the acknowledgement
        };
        for (const Case& c : cases) {
            Clock clock(c.state, c.extra);
            const CliRun run = folder.Readout(clock, "00");
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(QString::fromUtf8(run.err).trimmed(), Shown(c.key));
            QCOMPARE(folder.File("W0120523.d00"), before);
        }

        PseudoTerminal nobody;
        const CliRun silent = RunCli(folder.Path(), {"--port", nobody.DevicePath(), "readout", "23", "00"});
        QCOMPARE(silent.exitCode, 1);
        QCOMPARE(QString::fromUtf8(silent.err).trimmed(), Shown("MsgBoxText3"));
        const CliRun noPort = RunCli(folder.Path(), {"--port", folder.Path() + "/no-such-device", "readout", "23", "00"});
        QCOMPARE(noPort.exitCode, 1);
        QCOMPARE(QString::fromUtf8(noPort.err).trimmed(), Shown("MsgBoxText1"));

        // A file that cannot be read is not replaced: message 8.
        QDir(folder.Path()).mkpath("race/W0120523.d07");
        Clock clock(Loft7());
        const CliRun unsaved = folder.Readout(clock, "07");
        QCOMPARE(unsaved.exitCode, 1);
        QVERIFY(QString::fromUtf8(unsaved.err).startsWith(Shown("MsgBoxText8")));
        QCOMPARE(folder.File("W0120523.d00"), before);

        QCOMPARE(RunCli(folder.Path(), {"readout", "234", "00"}).exitCode, 2);
        QCOMPARE(RunCli(folder.Path(), {"readout", "23", "00", "--date", "2.6.24"}).exitCode, 2);
    }

    void cliStoresACopyAndExportsXml() {
        Folder folder;
        {
            Clock clock(Loft7());
            QCOMPARE(folder.Readout(clock, "00").exitCode, 0);
        }
        QTemporaryDir target;
        const CliRun stored = RunCli(folder.Path(), {"store-readout", "23", "0", target.path()});
        QCOMPARE(stored.exitCode, 0);
        QFile copy(QDir(target.path()).filePath("W0120523.d00"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), folder.File("W0120523.d00"));
        const CliRun noFolder = RunCli(folder.Path(), {"store-readout", "23", "00", target.path() + "/missing"});
        QCOMPARE(noFolder.exitCode, 1);
        QVERIFY(QString::fromUtf8(noFolder.err).startsWith(Shown("MsgBoxText9")));
        QCOMPARE(RunCli(folder.Path(), {"store-readout", "22", "00", target.path()}).exitCode, 1);

        const CliRun exported = RunCli(folder.Path(), {"export-xml", "23", "00", "--out", target.path()});
        QCOMPARE(exported.exitCode, 0);
        QFile xml(QDir(target.path()).filePath("W0120523_00.xml"));
        QVERIFY(xml.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(xml.readAll());
        int pigeons = 0;
        while (!reader.atEnd())
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QStringLiteral("Pigeons"))
                ++pigeons;
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(pigeons, 3);

        const CliRun missing = RunCli(folder.Path(), {"export-xml", "24", "00", "--out", target.path()});
        QCOMPARE(missing.exitCode, 1);
        QCOMPARE(QString::fromUtf8(missing.err).trimmed(), Shipped("frmRaceDataExportToXML.MsgBoxText1"));
    }

    void cliExportMatchesTheGoldenDocument() {
        Folder folder;
        QFile source(QString(PLUMET_TEST_DATA) + "/xmlexport/W0120523.d07");
        QVERIFY(source.open(QIODevice::ReadOnly));
        folder.fixture.Write("race/W0120523.d07", source.readAll());
        QTemporaryDir target;
        qputenv("TZ", "UTC-2"); // two hours east of UTC
        const CliRun run = RunCli(folder.Path(), {"export-xml", "23", "7", "--out", target.path()});
        qunsetenv("TZ");
        QCOMPARE(run.exitCode, 0);
        QFile golden(QString(PLUMET_TEST_DATA) + "/xmlexport/W0120523_07.xml");
        QFile written(QDir(target.path()).filePath("W0120523_07.xml"));
        QVERIFY(golden.open(QIODevice::ReadOnly) && written.open(QIODevice::ReadOnly));
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
            QVERIFY(dialog.PortOpen());
            TypeInto(dialog.findChild<FixedField*>("Text2"), "23");
            TypeInto(dialog.findChild<FixedField*>("Text3"), "02");
            TypeInto(dialog.findChild<FixedField*>("Text4"), "06");
            TypeInto(dialog.findChild<FixedField*>("Text5"), "24");
            auto* getData = dialog.findChild<QPushButton*>("Command2");
            getData->click();
            QTRY_VERIFY_WITH_TIMEOUT(getData->isEnabled(), 15000);
            QCOMPARE(dialog.findChild<QLabel*>("Label4")->text(), Shown("txtDataReady"));
            if (state.fancier == 7) {
                // The same clock once more: message 10.
                getData->click();
                QTRY_VERIFY_WITH_TIMEOUT(getData->isEnabled(), 15000);
                QCOMPARE(folder.fixture.Messages().Shown().size(), size_t(1));
                QCOMPARE(folder.fixture.Messages().Shown().front().text, Shown("MsgBoxText10"));
            }
        }
        const QStringList lines = Lines(folder.File("W0120523.d00"));
        QCOMPARE(lines.size(), 1 + 5 + 3);
        QCOMPARE(lines[0], QString("0020624"));
        QCOMPARE(lines[1].left(10), QString("1123007003"));
        QCOMPARE(lines[6].left(10), QString("1005255001"));

        // The CLI appends to the same file, byte for byte as the dialog does.
        Clock third(Loft(123, 8));
        QCOMPARE(folder.Readout(third, "00").exitCode, 0);
        QCOMPARE(Lines(folder.File("W0120523.d00")).size(), 11);
    }

    void cancelDuringAReadClosesTheDialogAndAddsNothing() {
        Folder folder;
        ClockState big = Loft7();
        big.arrivals.assign(1000, Arrival(7, 1));
        // The clock falls silent in the middle of its records.
        Clock clock(big, {"--master-time", kReadOut, "--silent-after", "5000"});
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
