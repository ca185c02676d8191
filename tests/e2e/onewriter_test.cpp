// One writer per program folder, all-or-nothing saves and files that cannot be read, on a real
// file system: plumet-cli against the simulated clock, and a window beside it.
#include <QDeadlineTimer>
#include <QSaveFile>
#include <QThread>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "core/app/folderlock.h"
#include "e2esupport.h"
#include "ui/app/startup.h"
#include "ui/registers/clubdialog.h"

using namespace plumet::e2e;

namespace {

// A whole file replaced at once, so a reader never sees half of it.
void Replace(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    file.commit();
}

// Pigeon files 1…n of club 007, each of one pigeon of `colour`, and their loft exchange file.
QByteArray PigeonFile(const char* colour) { return NlPigeonFile({colour}); }
QByteArray Exchange(int n, const char* colour) { return LoftExchange(7, n, PigeonFile(colour)); }
QString PigeonPath(const ProgramFolder& folder, int fancier) {
    return folder.File("pigeon/p007" + QString::number(fancier).rightJustified(3, '0') + ".dat");
}

// Waits until the folder's write lock names `task` as its holder.
bool HolderIs(const ProgramFolder& folder, const QByteArray& task) {
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired(); QThread::msleep(5))
        if (folder.Read(QString::fromStdString(kWriteLockFileName)).startsWith(task + "\n")) return true;
    return false;
}

// Root is not stopped by permissions; an immutable file stops even root from replacing it,
// where the file system knows the flag.
bool SetImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) ::close(fd);
    return done;
}

} // namespace

class OneWriterTest : public QObject {
    Q_OBJECT

private slots:
    // A link loop or a folder in the place of each register: every command that needs it says
    // which file and why, replaces nothing, and leaves the clock as it was.
    void aRegisterThatCannotBeReadIsRefusedEverywhere() {
        SimulatedClock clock(LoftClock(12, 5, 7, 12, 8));
        ProgramFolder dir("loft");
        dir.Loft(clock.Device(), 8);
        const QByteArray clockBefore = clock.State();
        for (const QStringList& reg : GoldenTable("e2e/registerusers.txt")) { // the register | each command that reads it
            const QString path = dir.File(reg[0]);
            const QByteArray bytes = ReadFile(path);
            for (const bool loop : {true, false}) {
                QFile::remove(path);
                QVERIFY(loop ? QFile::link(path, path) : QDir().mkpath(path));
                for (const QString& command : reg.mid(1)) {
                    const CliRun run = RunCli(dir.Path(), command.split(' ').replaceInStrings("FOLDER", dir.Path()));
                    const QString why = loop ? "leads round in a circle" : "it is a folder";
                    QCOMPARE(run.exitCode, 1);
                    QVERIFY2(run.Err().contains(QFileInfo(path).fileName()) && run.Err().contains(why),
                             qPrintable(command + ": " + run.Err()));
                    QCOMPARE(QFileInfo(path).isSymLink(), loop);
                    QCOMPARE(clock.State(), clockBefore);
                }
                if (!loop) QDir(path).removeRecursively();
            }
            QFile::remove(path);
            if (!bytes.isEmpty()) WriteFile(path, bytes);
        }
        QCOMPARE(QDir(dir.File("exchange")).entryList(QDir::Files), QStringList());
    }

    // While one writer reads a loft back from its clock, a second one is refused at once with
    // --wait 0, naming the first; the folder is wholly the first's afterwards. One killed while
    // writing holds nobody up.
    void aSecondWriterWaitsOrIsRefusedNamingTheFirst() {
        SimulatedClock clock(LoftClock(12, 5, 7, 12, 500));
        ProgramFolder dir("loft");
        dir.Loft(clock.Device(), 3);
        dir.Write("exchange/T012005.d00", Exchange(1, "RED ").replace("0007001", "0007012"));

        clock.Freeze(); // the clock hangs until the second writer has tried
        QProcess first;
        first.start(PLUMET_CLI, {"--folder", dir.Path(), "get-loft"});
        const qint64 firstId = first.processId();
        QVERIFY(HolderIs(dir, "plumet-cli get-loft"));
        const CliRun second = RunCli(dir.Path(), {"--wait", "0", "read-exchange", "loft"});
        clock.Thaw();
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode, 1);
        QVERIFY2(second.Err().contains("plumet-cli get-loft (process " + QString::number(firstId)), qPrintable(second.Err()));
        QCOMPARE(dir.Read("pigeon/p007012.dat"), PigeonFileBytes(500));

        // Killed while it holds the folder: the next writer does not wait for it.
        clock.Freeze();
        QProcess killed;
        killed.start(PLUMET_CLI, {"--folder", dir.Path(), "get-loft"});
        QVERIFY(HolderIs(dir, "plumet-cli get-loft"));
        killed.kill();
        QVERIFY(killed.waitForFinished(10000));
        clock.Thaw();
        QCOMPARE(RunCli(dir.Path(), {"--wait", "0", "read-exchange", "loft"}).exitCode, 0);
    }

    // Two read-outs of two clocks into one file at once: both lofts are in it. Two exchange
    // reads of 500 files at once: the folder is wholly the later one's.
    void writersAtOnceTakeTurnsAndLoseNothing() {
        SimulatedClock clock12(LoftClock(12, 5, 7, 12, 1)), clock13(LoftClock(12, 5, 7, 13, 1));
        ProgramFolder dir("loft");
        dir.Loft(clock12.Device(), 1);
        dir.Copy("e2e/f007-two.DAT", "fancier/f007.DAT"); // fanciers 012 and 013
        for (int trial = 0; trial < 3; ++trial) {
            const QString week = QString::number(40 + trial);
            QProcess a, b;
            // A loaded machine may take longer than the usual wait; the turns are what counts here.
            a.start(PLUMET_CLI, {"--folder", dir.Path(), "--wait", "120", "--port", clock12.Device(), "readout", week, "00"});
            b.start(PLUMET_CLI, {"--folder", dir.Path(), "--wait", "120", "--port", clock13.Device(), "readout", week, "00"});
            QVERIFY(a.waitForFinished(150000) && b.waitForFinished(150000));
            QVERIFY2(a.exitCode() + b.exitCode() == 0, (a.readAllStandardError() + b.readAllStandardError()).constData());
            const QByteArray file = dir.Read("race/W01205" + week + ".d00");
            QVERIFY2(file.contains("\n1007012") && file.contains("\n1007013"), file.constData());
        }

        for (int fancier = 1; fancier <= 500; ++fancier) WriteFile(PigeonPath(dir, fancier), PigeonFile("OLD "));
        const QString exchange = dir.File("exchange/T012005.d00");
        Replace(exchange, Exchange(500, "BLUE"));
        QProcess first, second;
        first.start(PLUMET_CLI, {"--folder", dir.Path(), "read-exchange", "loft"});
        QVERIFY(HolderIs(dir, "plumet-cli read-exchange"));
        Replace(exchange, Exchange(500, "GRIZ"));
        second.start(PLUMET_CLI, {"--folder", dir.Path(), "--wait", "120", "read-exchange", "loft"});
        QVERIFY(first.waitForFinished(150000) && second.waitForFinished(150000));
        QCOMPARE(first.exitCode() + second.exitCode(), 0);
        for (int fancier = 1; fancier <= 500; ++fancier) QCOMPARE(ReadFile(PigeonPath(dir, fancier)), PigeonFile("GRIZ"));
    }

    // A file that cannot be replaced part-way through a read of 500 pigeon files: those before
    // it are put back, and every file is old.
    void aFailingWritePartWayThroughAnExchangeReadLeavesEveryFileOld() {
        ProgramFolder dir("loft");
        for (int fancier = 1; fancier <= 500; ++fancier) WriteFile(PigeonPath(dir, fancier), PigeonFile("OLD "));
        dir.Write("exchange/T012005.d00", Exchange(500, "NEW "));
        const QString locked = PigeonPath(dir, 250);
        if (::geteuid() == 0 ? !SetImmutable(locked, true)
                             : !QFile::setPermissions(dir.File("pigeon"), QFile::ReadOwner | QFile::ExeOwner))
            QSKIP("no way to make one file of this file system refuse its replacement");
        const QStringList before = QDir(dir.File("pigeon")).entryList(QDir::Files | QDir::Hidden);
        const CliRun run = RunCli(dir.Path(), {"read-exchange", "loft"});
        SetImmutable(locked, false);
        QFile::setPermissions(dir.File("pigeon"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.Err().contains("None of the 500 files"), qPrintable(run.Err()));
        for (int fancier = 1; fancier <= 500; ++fancier) QCOMPARE(ReadFile(PigeonPath(dir, fancier)), PigeonFile("OLD "));
        QCOMPARE(QDir(dir.File("pigeon")).entryList(QDir::Files | QDir::Hidden), before);
        QCOMPARE(QDir(dir.Path()).entryList({"~*"}, QDir::Files | QDir::Hidden), QStringList()); // no journal left
    }

    // calculate on a tmpfs with 4 KB free: the race file and the result file both stay as they
    // were, and the message says the disk is full.
    void calculateOnAFullDiskLeavesBothFilesOld() {
        ProgramFolder dir;
        QTemporaryDir out;
        dir.Copy("race/races.dat", "racecalc/races.dat");
        const QByteArray manual = Golden("e2e/Long_Distance 2_wf012.man"); // 80 pigeons
        dir.Write("racecalc/Long_Distance 2_wf012.man", manual);
        QCOMPARE(RunCli(dir.Path(), {"calculate", "Long_Distance 2"}).exitCode, 0);
        dir.Write("racecalc/Long_Distance 2_wf012.man", manual + manual.mid(manual.indexOf("\n3") + 1));
        const QByteArray races = dir.Read("racecalc/races.dat");
        const QByteArray result = dir.Read("racecalc/Long_Distance 2.flt");
        QVERIFY(result.size() > 4096);

        // In a mount namespace of its own, so the tmpfs goes with the shell even if the test dies.
        const QString script =
            "set -e; mnt=\"$1\"; mount -t tmpfs -o size=1m tmpfs \"$mnt\"; cp -a \"$2\"/. \"$mnt\"/; "
            "dd if=/dev/zero of=\"$mnt/filler\" bs=4096 2>/dev/null || true; truncate -s -4096 \"$mnt/filler\"; "
            "set +e; \"$3\" --folder \"$mnt\" calculate 'Long_Distance 2' 2>\"$4/err\"; echo $? >\"$4/status\"; "
            "cp \"$mnt/racecalc/races.dat\" \"$mnt/racecalc/Long_Distance 2.flt\" \"$4\"/; "
            "ls -A \"$mnt\" \"$mnt/racecalc\" >\"$4/entries\"";
        QTemporaryDir mount;
        QProcess shell;
        shell.start("unshare", QStringList{::geteuid() == 0 ? "-m" : "-rm", "sh", "-c", script, "sh", mount.path(),
                                           dir.Path(), PLUMET_CLI, out.path()});
        QVERIFY(shell.waitForFinished(60000));
        if (!QFile::exists(out.filePath("status"))) QSKIP("a tmpfs cannot be mounted here");
        QCOMPARE(ReadFile(out.filePath("status")), QByteArray("1\n"));
        QVERIFY2(ReadFile(out.filePath("err")).contains("the disk is full"), ReadFile(out.filePath("err")).constData());
        QCOMPARE(ReadFile(out.filePath("races.dat")), races);
        QCOMPARE(ReadFile(out.filePath("Long_Distance 2.flt")), result);
        QVERIFY2(!ReadFile(out.filePath("entries")).contains("~"), ReadFile(out.filePath("entries")).constData());
    }

    // OPTIONS.PAR damaged in each way: the start and every command say so, and no file is
    // named after its garbage.
    void aDamagedOptionsFileIsReportedAndNamesNothing() {
        // A folder, a link loop, a line of 10 MB; the other damages are golden files.
        for (const QString what : {"folder", "loop", "huge", "nulfederation", "nulport", "noregion", "nofederation"}) {
            ProgramFolder dir("loft");
            dir.Loft("0", 3);
            const QString options = dir.File("OPTIONS.PAR");
            QFile::remove(options);
            if (what == "folder") QDir().mkpath(options);
            else if (what == "loop") QFile::link(options, options);
            else if (what == "huge") WriteFile(options, QByteArray(10 << 20, '1') + "\r\n005Mitte\r\n0\r\n1\r\n");
            else dir.Copy("e2e/options/" + what + ".PAR", "OPTIONS.PAR");
            for (const QStringList& command : QList<QStringList>{{"build-exchange", "loft"}, {"build-exchange", "fancier"},
                                                                 {"send-points"}, {"readout", "50", "00"}}) {
                const CliRun run = RunCli(dir.Path(), command);
                QCOMPARE(run.exitCode, 1);
                QVERIFY2(run.Err().contains("The settings file OPTIONS.PAR cannot be used"), qPrintable(what + ": " + run.Err()));
            }
            const CliRun distance = RunCli(dir.Path(), {"distance", "N51000000", "E007000000", "N49000000", "E006000000"});
            QCOMPARE(distance.exitCode, 0);
            QVERIFY(distance.Err().contains("OPTIONS.PAR cannot be used"));
            QCOMPARE(QDir(dir.File("exchange")).entryList(QDir::Files), QStringList());
            QCOMPARE(QDir(dir.File("race")).entryList(QDir::Files), QStringList());
            const QStringList problems = ui::PrepareProgramFolder(dir.Path().toStdString());
            QVERIFY2(problems.join(' ').contains("OPTIONS.PAR cannot be used"), qPrintable(what));
        }
    }

    // A window that read its register before plumet-cli changed it refuses to save over the
    // change; while plumet-cli holds the folder, it is told who does.
    void aWindowNeverSavesOverWhatPlumetCliWrote() {
        ProgramFolder folder("loft");
        folder.Loft("0", 0);
        App().writeLockWait = std::chrono::milliseconds(0);
        ui::MainWindow main;
        main.List()->setCurrentRow(0);
        ui::ClubDialog alter(&main, ui::ClubDialog::Mode::Alter);
        alter.show();
        QCOMPARE(Typed(&alter, "Text2", "Renamed"), "Renamed" + QString(23, ' '));

        FolderWriteLock held(folder.Path().toStdString(), "plumet-cli read-exchange", std::chrono::milliseconds(0));
        Click(&alter);
        QVERIFY(ShownTexts(folder.Messages()).join(' ').contains("plumet-cli read-exchange (process"));
        QVERIFY(alter.isVisible());
        held.Release();

        folder.Copy("e2e/S012005.d00", "exchange/S012005.d00"); // the club's new name
        QCOMPARE(RunCli(folder.Path(), {"read-exchange", "fancier"}).exitCode, 0);
        const QByteArray changed = folder.Read("club/club.dat");
        QVERIFY(changed.contains("new name"));
        folder.Messages().Clear();
        Click(&alter);
        QVERIFY2(ShownTexts(folder.Messages()).join(' ').contains("open it again"),
                 qPrintable(ShownTexts(folder.Messages()).join(' ')));
        QCOMPARE(folder.Read("club/club.dat"), changed);
        QVERIFY(alter.isVisible());
    }
};

QTEST_MAIN(OneWriterTest)
#include "onewriter_test.moc"
