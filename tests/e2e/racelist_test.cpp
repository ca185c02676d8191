// The race list of the demo folder while plumet-cli works beside the program's windows.
#include <QComboBox>
#include <algorithm>
#include <QDate>
#include <QDir>

#include "core/app/folderlock.h"
#include "e2esupport.h"
#include "ui/app/startup.h"
#include "ui/race/raceselectdialog.h"

using namespace plumet::e2e;
using Chooser = plumet::ui::RaceSelectDialog;

class RaceListTest : public QObject {
    Q_OBJECT
    QTemporaryDir root_;
    QString folder_;
    const QString season_ = "Season " + QString::number(QDate::currentDate().year());

    QByteArray Races() const { return ReadFile(folder_ + "/racecalc/races.dat"); }
    QByteArray Csv(const QString& csv = "now.csv") {
        return RunCli(folder_, {"season", season_, "--csv", root_.filePath(csv)}).exitCode ? "" : ReadFile(root_.filePath(csv));
    }
    // A chooser, shown, on the race of that name; OK clicked when `click`.
    static QComboBox* Choose(Chooser& chooser, const char* race, bool click = true) {
        chooser.show();
        auto* list = chooser.findChild<QComboBox*>("Combo1");
        list->setCurrentIndex(list->findText(race));
        if (click) Click(&chooser, "OKButton");
        return list;
    }

private slots:
    void init() {
        folder_ = root_.filePath(QTest::currentTestFunction());
        QVERIFY(RunDemoTool(folder_).startsWith("prepared "));
    }

    // The chooser open on Metz, plumet-cli calculates Ettelbruck (a loft fewer), then Calculate in
    // the window keeps Ettelbruck's counters. Arlon renamed meanwhile is named, nothing changes and
    // the list is shown again. Renamed in the editor, Bastogne stays in its season; deleted,
    // Ettelbruck leaves it. A hen that a read-out worded "W" is the one another worded "F".
    void theWindowsChangeOnlyTheirOwnRaceAndCarryTheSeasonAlong() {
        MessageTestMode messages;
        plumet::ui::PrepareProgramFolder(folder_.toStdString());
        QDir racecalc(folder_ + "/racecalc");
        QVERIFY(racecalc.remove(racecalc.entryList({"Ettelbruck_*.man"}).value(0)));
        Chooser calculate(nullptr, Chooser::Mode::Calculate), again(nullptr, Chooser::Mode::Calculate);
        Choose(calculate, "Metz", false);
        QComboBox* list = Choose(again, "Arlon", false);
        QCOMPARE(RunCli(folder_, {"calculate", "Ettelbruck"}).exitCode, 0);
        const QByteArray ettelbruck = Races().mid(Races().indexOf("Ettelbruck"), 291);
        { const ModalWatcher results([](QWidget*) {}); Click(&calculate, "OKButton"); }
        QVERIFY(Races().contains(ettelbruck) && racecalc.exists("Metz.flt"));

        WriteFile(racecalc.filePath("races.dat"), QByteArray(Races()).replace("\nArlon ", "\nArlon2"));
        const auto files = Contents(racecalc.path());
        Click(&again, "OKButton");
        QVERIFY(again.isVisible() && list->findText("Arlon2") >= 0 && list->findText("Arlon") < 0);
        QVERIFY(ShownTexts(messages).join(' ').contains("renamed the race Arlon to Arlon2"));
        QCOMPARE(Contents(racecalc.path()), files);

        const ModalWatcher editor([](QWidget* window) { Typed(window, "Text1", "Bastogne2"); Click(window, "Command2"); });
        Chooser alter(nullptr, Chooser::Mode::Alter), remove(nullptr, Chooser::Mode::Delete);
        Choose(alter, "Bastogne");
        Choose(remove, "Ettelbruck");
        QVERIFY(ShownTexts(messages).join(' ').contains(season_) && !racecalc.exists("Ettelbruck.flt"));
        QVERIFY(RunCli(folder_, {"season", season_}).out.contains("Races counted: 2 of 3\n")); // Arlon, renamed by hand, is missing

        const QByteArray standings = Csv();
        QByteArray bastogne = ReadFile(racecalc.filePath("Bastogne2.flt"));
        for (qsizetype at = bastogne.indexOf('\n') + 1; at > 0 && at + 40 < bastogne.size(); at = bastogne.indexOf('\n', at) + 1)
            if (bastogne[at + 40] == 'F') bastogne[at + 40] = 'W'; // the ring's last column
        WriteFile(racecalc.filePath("Bastogne2.flt"), bastogne);
        QCOMPARE(Csv().count('\n'), standings.count('\n'));
    }

    // `season --csv` started while another writer holds the folder writes what the files hold
    // once it has the folder. A race name that reaches outside the folder, is blank, holds a NUL
    // or is a device name makes races.dat damaged: calculate names the line and writes nothing.
    void plumetCliReadsUnderTheLockAndBuildsNoPathFromAnUncheckedName() {
        QProcess waiting;
        {
            plumet::FolderWriteLock held(folder_.toStdString(), "plumet-cli calculate", std::chrono::milliseconds(0));
            waiting.start(PLUMET_CLI, {"--folder", folder_, "season", season_, "--csv", root_.filePath("waited.csv")});
            const QString fds = QString("/proc/%1/fd").arg(waiting.processId()); // the lock file open: it waits
            QTRY_VERIFY(std::ranges::any_of(QDir(fds).entryInfoList(QDir::System), [](const QFileInfo& fd) {
                return fd.symLinkTarget().endsWith(plumet::kWriteLockFileName);
            }));
            QVERIFY(QFile::remove(folder_ + "/racecalc/Bastogne.flt"));
        }
        QVERIFY(waiting.waitForFinished(30000) && waiting.exitCode() == 0);
        QCOMPARE(ReadFile(root_.filePath("waited.csv")), Csv());

        const QByteArray list = Races();
        for (const QByteArray& name : {QByteArray("../../PWN2"), QByteArray(" "), QByteArray("Me\0tz", 5), QByteArray("CON")}) {
            const QByteArray damaged = QByteArray(list).replace("Metz" + QByteArray(26, ' '), name.leftJustified(30));
            WriteFile(folder_ + "/racecalc/races.dat", damaged);
            const auto files = Contents(root_.path()).keys();
            for (const QString& race : {QString("Arlon"), QString(name).trimmed()}) {
                const CliRun run = RunCli(folder_, {"calculate", race});
                QVERIFY2(run.exitCode == 1 && run.Err().contains("races.dat cannot be read: line 5"), qPrintable(run.Err()));
            }
            QCOMPARE(Contents(root_.path()).keys(), files);
            QCOMPARE(Races(), damaged);
        }
    }
};

QTEST_MAIN(RaceListTest)
#include "racelist_test.moc"
