// The race list on the demo folder while plumet-cli works beside the program's windows: the
// chooser calculating on the list as it is, renames and deletes carrying the season along, the
// season exported under the lock, and race names that cannot name a file.
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QDeadlineTimer>
#include <QThread>

#include "core/app/folderlock.h"
#include "core/race/races.h"
#include "e2esupport.h"
#include "ui/app/startup.h"
#include "ui/race/raceselectdialog.h"

using namespace plumet::e2e;
using plumet::ui::RaceSelectDialog;

namespace {

// A demo folder, prepared afresh under `root`.
QString DemoFolder(const QTemporaryDir& root) {
    const QString folder = root.filePath("demo");
    return RunDemoTool(folder).startsWith("prepared ") ? folder : QString();
}

std::optional<plumet::Race> RaceNamed(const QString& folder, const char* name) {
    for (const plumet::Race& race : plumet::LoadRaces(folder.toStdString()).races)
        if (plumet::TrimmedRaceName(race) == name) return race;
    return std::nullopt;
}

// A chooser in `mode` on the race of that name.
void ChooseRace(RaceSelectDialog& chooser, const QString& name) {
    chooser.show();
    auto* list = chooser.findChild<QComboBox*>("Combo1");
    list->setCurrentIndex(list->findText(name));
}

// Waits until process `pid` has the folder's lock file open: it is trying to take the lock.
bool TriesTheLock(qint64 pid) {
    const QString fds = QString("/proc/%1/fd").arg(pid);
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired(); QThread::msleep(5))
        for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::System | QDir::NoDotAndDotDot))
            if (fd.symLinkTarget().endsWith(plumet::kWriteLockFileName)) return true;
    return false;
}

QString SeasonName() { return "Season " + QString::number(QDate::currentDate().year()); }

} // namespace

class RaceListTest : public QObject {
    Q_OBJECT

private slots:
    // The chooser open on Metz, plumet-cli calculates Ettelbruck, then Calculate in the window:
    // Ettelbruck keeps its new counters. A race renamed meanwhile is named, and the list shown again.
    void theChooserCalculatesOnTheListAsTheFileHoldsIt() {
        QTemporaryDir root;
        const QString folder = DemoFolder(root);
        QVERIFY(!folder.isEmpty());
        MessageTestMode messages;
        plumet::ui::PrepareProgramFolder(folder.toStdString());
        QDir racecalc(folder + "/racecalc");
        const QStringList manual = racecalc.entryList({"Ettelbruck_*.man"});
        QVERIFY(!manual.isEmpty() && racecalc.remove(manual.first())); // a loft fewer
        const auto before = RaceNamed(folder, "Ettelbruck");

        RaceSelectDialog chooser(nullptr, RaceSelectDialog::Mode::Calculate);
        ChooseRace(chooser, "Metz");
        QCOMPARE(RunCli(folder, {"calculate", "Ettelbruck"}).exitCode, 0);
        const auto calculated = RaceNamed(folder, "Ettelbruck");
        QVERIFY(calculated && before && calculated->pigeonsEntered < before->pigeonsEntered);
        {
            ModalWatcher results([](QWidget*) {});
            Click(&chooser, "OKButton");
        }
        QVERIFY(QFile::exists(folder + "/racecalc/Metz.flt"));
        QCOMPARE(RaceNamed(folder, "Ettelbruck"), calculated);

        const auto shownIndex = [](QWidget* chooser, const char* name) {
            return chooser->findChild<QComboBox*>("Combo1")->findText(name);
        };
        RaceSelectDialog again(nullptr, RaceSelectDialog::Mode::Calculate);
        ChooseRace(again, "Arlon");
        plumet::RaceList list = plumet::LoadRaces(folder.toStdString());
        const std::size_t number = static_cast<std::size_t>(shownIndex(&again, "Arlon")) + 1;
        plumet::Race arlon = list.races.at(number - 1);
        arlon.name = "Arlon2"; // by another window
        QVERIFY(plumet::StoreRace(list, folder.toStdString(), arlon, number).Done());
        const auto files = Contents(folder);
        Click(&again, "OKButton");
        QVERIFY(again.isVisible());
        auto* shown = again.findChild<QComboBox*>("Combo1");
        QVERIFY(shown->findText("Arlon2") >= 0 && shown->findText("Arlon") < 0);
        QVERIFY2(ShownTexts(messages).join(' ').contains("renamed the race Arlon to Arlon2"),
                 qPrintable(ShownTexts(messages).join(' ')));
        QCOMPARE(Contents(folder), files);
    }

    // Started while another writer holds the folder, `season --csv` writes what the files hold
    // once it has the folder.
    void theSeasonIsExportedFromWhatTheFilesHoldOnceTheFolderIsFree() {
        QTemporaryDir root;
        const QString folder = DemoFolder(root);
        QVERIFY(!folder.isEmpty());
        QCOMPARE(RunCli(folder, {"season", SeasonName(), "--csv", root.filePath("before.csv")}).exitCode, 0);
        QProcess waiting;
        {
            plumet::FolderWriteLock held(folder.toStdString(), "plumet-cli calculate", std::chrono::milliseconds(0));
            QVERIFY(held.Held());
            waiting.start(PLUMET_CLI, {"--folder", folder, "season", SeasonName(), "--csv", root.filePath("waited.csv")});
            QVERIFY(TriesTheLock(waiting.processId()));
            QVERIFY(QFile::remove(folder + "/racecalc/Bastogne.flt")); // the other writer's change
        }
        QVERIFY(waiting.waitForFinished(30000));
        QCOMPARE(waiting.exitCode(), 0);
        QCOMPARE(RunCli(folder, {"season", SeasonName(), "--csv", root.filePath("after.csv")}).exitCode, 0);
        QCOMPARE(ReadFile(root.filePath("waited.csv")), ReadFile(root.filePath("after.csv")));
        QVERIFY(ReadFile(root.filePath("waited.csv")) != ReadFile(root.filePath("before.csv")));
    }

    // Renamed in the editor, Bastogne stays in its season; deleted, Ettelbruck leaves it, and the
    // question names the season. A hen whose sex another read-out worded differently is one pigeon.
    void aRenameOrADeleteInTheWindowsCarriesTheSeasonAlong() {
        QTemporaryDir root;
        const QString folder = DemoFolder(root);
        QVERIFY(!folder.isEmpty());
        MessageTestMode messages;
        plumet::ui::PrepareProgramFolder(folder.toStdString());
        const auto counted = [&] {
            const CliRun season = RunCli(folder, {"season", SeasonName()});
            return season.out.mid(season.out.indexOf("Races counted: "), 22);
        };
        QCOMPARE(counted(), QByteArray("Races counted: 3 of 4\n"));
        {
            RaceSelectDialog alter(nullptr, RaceSelectDialog::Mode::Alter);
            ChooseRace(alter, "Bastogne");
            ModalWatcher editor([](QWidget* window) {
                Typed(window, "Text1", "Bastogne2");
                Click(window, "Command2");
            });
            Click(&alter, "OKButton");
        }
        QVERIFY(RaceNamed(folder, "Bastogne2"));
        QCOMPARE(counted(), QByteArray("Races counted: 3 of 4\n"));
        {
            RaceSelectDialog remove(nullptr, RaceSelectDialog::Mode::Delete);
            ChooseRace(remove, "Ettelbruck");
            Click(&remove, "OKButton");
        }
        QVERIFY2(ShownTexts(messages).join(' ').contains(SeasonName()), qPrintable(ShownTexts(messages).join(' ')));
        QVERIFY(!RaceNamed(folder, "Ettelbruck") && !QFile::exists(folder + "/racecalc/Ettelbruck.flt"));
        QCOMPARE(counted(), QByteArray("Races counted: 2 of 3\n"));

        const QString arlon = folder + "/racecalc/Arlon.flt";
        const QString csv = root.filePath("s.csv");
        QCOMPARE(RunCli(folder, {"season", SeasonName(), "--csv", csv}).exitCode, 0);
        const QByteArray before = ReadFile(csv);
        QByteArray result = ReadFile(arlon);
        int hens = 0;
        // The sex letter ends the ring's columns (21 to 41) of each pigeon line.
        for (qsizetype at = result.indexOf('\n') + 1; at > 0 && at + 41 < result.size(); at = result.indexOf('\n', at) + 1) {
            if (result[at + 40] != 'F') continue;
            result[at + 40] = 'W';
            ++hens;
        }
        QVERIFY(hens > 0);
        WriteFile(arlon, result);
        QCOMPARE(RunCli(folder, {"season", SeasonName(), "--csv", csv}).exitCode, 0);
        QCOMPARE(ReadFile(csv).count('\n'), before.count('\n'));
    }

    // A race named to reach outside the folder, or of blanks only, makes races.dat damaged: the
    // calculation names the file and its line, and writes nothing anywhere.
    void aRaceNameThatCannotNameAFileIsADamagedLine() {
        QTemporaryDir root;
        const QString folder = DemoFolder(root);
        QVERIFY(!folder.isEmpty());
        const QString races = folder + "/racecalc/races.dat";
        const QByteArray list = ReadFile(races);
        for (const QByteArray& name : {QByteArray("../../PWN2"), QByteArray(" ")}) {
            QByteArray damaged = list;
            damaged.replace("Metz                          ", name.leftJustified(30, ' '));
            QVERIFY(damaged != list);
            WriteFile(races, damaged);
            const auto files = Contents(root.path());
            for (const char* race : {"Metz", "Arlon"}) {
                const CliRun run = RunCli(folder, {"calculate", race});
                QCOMPARE(run.exitCode, 1);
                QVERIFY2(run.Err().contains("races.dat") && run.Err().contains("line 5"), qPrintable(run.Err()));
            }
            const CliRun pwn = RunCli(folder, {"calculate", QString::fromLatin1(name)});
            QCOMPARE(pwn.exitCode, 1);
            QCOMPARE(Contents(root.path()), files);
            QVERIFY(!QFile::exists(root.filePath("../PWN2.flt")));
        }
    }
};

QTEST_MAIN(RaceListTest)
#include "racelist_test.moc"
