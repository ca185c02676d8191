#include "clitestsupport.h"
#include "core/app/folderlock.h"

class CombinedCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // The golden combined list on the command line: shown, exported, printed; an incomplete one
    // is shown with its gap and never written.
    void combinedShowsExportsAndRefusesAnIncompleteList() {
        ProgramFolder folder;
        for (const char* file : {"races.dat", "Metz A.flt", "Metz B.flt", "Metz C.flt", "Metz federation.cmb"})
            folder.Copy(QString("race/combined/") + file, QString("racecalc/") + file);
        std::string out;
        QCOMPARE(Cli(folder.Path(), {"combined", "metz federation"}, &out), 0);
        QVERIFY2(out.find("\n031  0001 Kruse                DV 05133 24  0000012M") != std::string::npos, out.c_str());
        QVERIFY2(out.find("State: Provisional\n  Metz A (012 Heimatliebe Goch): Provisional\n") != std::string::npos, out.c_str());

        const QString csv = folder.File("f.csv"), html = folder.File("f.html"), pdf = folder.File("f.pdf");
        QCOMPARE(Cli(folder.Path(), {"combined", "Metz federation", "--csv", csv.toStdString(), "--html",
                                     html.toStdString(), "--pdf", pdf.toStdString()}),
                 0);
        QCOMPARE(ReadFile(csv), Golden("race/combined/Metz federation.csv"));
        QVERIFY(ReadFile(html).contains("<td class=\"figure\">027</td>"));
        QVERIFY(ReadFile(pdf).startsWith("%PDF"));
        for (const QString& file : {csv, html, pdf}) QFile::remove(file);
        {   // Exported only under the folder's write lock.
            const plumet::FolderWriteLock writer(folder.Path().toStdString(), "test", std::chrono::milliseconds(0));
            QCOMPARE(Cli(folder.Path(), {"--wait", "0", "combined", "Metz federation", "--csv", csv.toStdString()}), 1);
        }

        QFile::remove(folder.File("racecalc/Metz B.flt"));
        const std::string gap = "The race Metz B has not been calculated: the list is incomplete.\n";
        const struct { std::vector<std::string> args; int status; std::string err; } refused[] = {
            {{"combined", "Metz federation"}, 1, gap},
            {{"combined", "Metz federation", "--pdf", pdf.toStdString()}, 1,
             gap + "The combined list Metz federation is not printed or exported: " + gap},
            {{"combined", "Autumn"}, 1, "There is no combined list named Autumn.\n"},
            {{"combined", "Metz federation", "--csv"}, 2, ""},
        };
        for (const auto& r : refused) {
            std::string err;
            QCOMPARE(Cli(folder.Path(), r.args, nullptr, &err), r.status);
            if (!r.err.empty()) QCOMPARE(err, r.err);
        }
        QVERIFY(!QFile::exists(pdf) && !QFile::exists(csv));
    }
};

QTEST_MAIN(CombinedCommandsTest)
#include "combinedcommands_test.moc"
