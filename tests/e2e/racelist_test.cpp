// The race list of the demo folder while plumet-cli works beside the program's windows.
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <algorithm>

#include "core/app/folderlock.h"
#include "e2esupport.h"
#include "ui/app/startup.h"
#include "ui/race/raceselectdialog.h"

using namespace plumet::e2e;
using Chooser = plumet::ui::RaceSelectDialog;

class RaceListTest : public QObject {
    Q_OBJECT

private slots:
    // A window's change keeps plumet-cli's and refuses a race changed meanwhile; renames and deletes
    // carry the season along, whose pigeons are their rings; the season is exported from what the
    // files hold once the folder is free; a race name that could not name a file is a damaged line.
    void theRaceListStaysOneWithItsFilesAndSeasons() {
        QTemporaryDir root;
        const QString folder = root.filePath("demo"), season = "Season " + QString::number(QDate::currentDate().year());
        QVERIFY(RunDemoTool(folder).startsWith("prepared "));
        QDir racecalc(folder + "/racecalc");
        const auto races = [&] { return ReadFile(racecalc.filePath("races.dat")); };
        const auto csv = [&](const QString& name) {
            return RunCli(folder, {"season", season, "--csv", root.filePath(name)}).exitCode ? QByteArray() : ReadFile(root.filePath(name));
        };
        const auto choose = [](Chooser& chooser, const char* race, bool click = true) {
            chooser.show();
            auto* list = chooser.findChild<QComboBox*>("Combo1");
            list->setCurrentIndex(list->findText(race));
            if (click) Click(&chooser, "OKButton");
            return list;
        };
        MessageTestMode messages;
        plumet::ui::PrepareProgramFolder(folder.toStdString());
        QVERIFY(racecalc.remove(racecalc.entryList({"Ettelbruck_*.man"}).value(0)));
        Chooser calculate(nullptr, Chooser::Mode::Calculate), again(nullptr, Chooser::Mode::Calculate);
        choose(calculate, "Metz", false);
        QComboBox* list = choose(again, "Arlon", false);
        // The demo's earlier races are final: each change needs its reason.
        QCOMPARE(RunCli(folder, {"calculate", "Ettelbruck"}).exitCode, 1);
        QCOMPARE(RunCli(folder, {"calculate", "Ettelbruck", "--amend", "a clock's times withdrawn"}).exitCode, 0);
        for (const char* reason : {"Arlon again", "a typing error", "flown twice"}) messages.QueueText(reason);
        const QByteArray ettelbruck = races().mid(races().indexOf("Ettelbruck"), 291);
        { const ModalWatcher results([](QWidget*) {}); Click(&calculate, "OKButton"); }
        const QByteArray listed = races();
        QVERIFY(listed.contains(ettelbruck) && racecalc.exists("Metz.flt"));
        WriteFile(racecalc.filePath("races.dat"), QByteArray(races()).replace("\nArlon ", "\nArlon2"));
        const auto files = Contents(racecalc.path());
        Click(&again, "OKButton");
        QVERIFY(again.isVisible() && list->findText("Arlon2") >= 0 && list->findText("Arlon") < 0);
        QVERIFY(ShownTexts(messages).join(' ').contains("renamed the race Arlon to Arlon2"));
        QCOMPARE(Contents(racecalc.path()), files);

        WriteFile(racecalc.filePath("races.dat"), listed);
        const ModalWatcher editor([](QWidget* window) { Typed(window, "Text1", "Bastogne2"); Click(window, "Command2"); });
        Chooser alter(nullptr, Chooser::Mode::Alter), remove(nullptr, Chooser::Mode::Delete);
        choose(alter, "Bastogne");
        const QByteArray standings = csv("before.csv");
        QByteArray bastogne = ReadFile(racecalc.filePath("Bastogne2.flt"));
        for (qsizetype at = bastogne.indexOf('\n') + 1; at > 0 && at + 40 < bastogne.size(); at = bastogne.indexOf('\n', at) + 1)
            if (bastogne[at + 40] == 'F') bastogne[at + 40] = 'W'; // the ring's last column
        WriteFile(racecalc.filePath("Bastogne2.flt"), bastogne);
        QVERIFY(!standings.isEmpty() && csv("hens.csv").count('\n') == standings.count('\n')); // 2304 won in Ettelbruck too
        choose(remove, "Ettelbruck");
        QVERIFY(ShownTexts(messages).join(' ').contains(season) && !racecalc.exists("Ettelbruck.flt"));
        QVERIFY(RunCli(folder, {"season", season}).out.contains("Races counted: 3 of 3\n"));
        const QByteArray unlocked = csv("unlocked.csv");

        QProcess waiting;
        {
            plumet::FolderWriteLock lock(folder.toStdString(), "plumet-cli calculate", std::chrono::milliseconds(0));
            waiting.start(PLUMET_CLI, {"--folder", folder, "season", season, "--csv", root.filePath("waited.csv")});
            const QString fds = QString("/proc/%1/fd").arg(waiting.processId()); // the lock file open: it waits
            QTRY_VERIFY(std::ranges::any_of(QDir(fds).entryInfoList(QDir::AllEntries | QDir::System), [](const QFileInfo& fd) {
                return fd.symLinkTarget().endsWith(plumet::kWriteLockFileName);
            }));
            QVERIFY(QFile::remove(racecalc.filePath("Arlon.flt")));
        }
        QVERIFY(waiting.waitForFinished(30000) && waiting.exitCode() == 0);
        QCOMPARE(ReadFile(root.filePath("waited.csv")), csv("after.csv"));
        QVERIFY(ReadFile(root.filePath("waited.csv")) != unlocked);

        for (const QByteArray& name : {QByteArray("../../PWN2"), QByteArray(" "), QByteArray("Me\0tz", 5), QByteArray("CON")}) {
            const QByteArray damaged = QByteArray(listed).replace("Metz" + QByteArray(26, ' '), name.leftJustified(30));
            WriteFile(racecalc.filePath("races.dat"), damaged);
            const auto before = Contents(root.path()).keys();
            for (const QString& race : {QString("Arlon"), QString(name).trimmed()}) {
                const CliRun run = RunCli(folder, {"calculate", race});
                QVERIFY2(run.exitCode == 1 && run.Err().contains("races.dat cannot be read: line 2"), qPrintable(run.Err()));
            }
            QCOMPARE(Contents(root.path()).keys(), before);
        }
    }
};

QTEST_MAIN(RaceListTest)
#include "racelist_test.moc"
