#include <QComboBox>
#include <QListWidget>

#include "ui/race/combinedlistdialog.h"
#include "ui/race/resultprint.h"
#include "uitestsupport.h"

// A combined list defined, shown, printed and refused while a club race is missing. The
// merge and its layout are core's; here what the windows do with them.
class CombinedTest : public UiTest {
    Q_OBJECT

    void Cleanup() override { SetResultPrintPdfForTests({}); }

private slots:
    void definedOnlyFromRacesThatFlewTogetherShownAndNotPrintedWhileIncomplete() {
        for (const char* file : {"races.dat", "Metz A.flt", "Metz B.flt", "Metz C.flt"})
            folder->Write(QString("racecalc/") + file, Golden(QString("race/combined/") + file));
        CombinedListDialog window(nullptr);
        QCOMPARE(MissingCaptionKeys(&window), QStringList());
        QCOMPARE(window.findChild<QLabel*>("Label40")->font(), window.findChild<QListView*>("List1")->font()); // heads over rows
        QStringList hidden;
        {
            ModalWatcher watcher([&](QWidget* editor) {
                QCOMPARE(MissingCaptionKeys(editor, "Add"), QStringList());
                Typed(editor, "Text1", "Metz federation");
                auto* races = editor->findChild<QListWidget*>("List1");
                races->item(1)->setCheckState(Qt::Checked); // Metz B: Spa and the night race go
                for (int i = 0; i < races->count(); ++i)
                    if (races->item(i)->isHidden()) hidden << races->item(i)->text().section("  ", 0, 0);
                races->item(0)->setCheckState(Qt::Checked);
                races->item(2)->setCheckState(Qt::Checked);
                Click(editor);
            });
            Click(&window, "Command4");
        }
        QCOMPARE(hidden, QStringList({"Spa", "Metz night"}));
        QCOMPARE(window.findChild<QComboBox*>("Combo1")->currentText(), QString("Metz federation"));
        const QStringList lines = window.ListLines();
        QCOMPARE(lines.size(), 12);
        QVERIFY2(lines[2].startsWith("031  0001 Kruse") && lines[3].startsWith("012  0002 Meier"), qPrintable(lines[2]));
        QCOMPARE(window.StateLines(), QStringList({"Provisional", "Metz A (012 Heimatliebe Goch): Provisional",
                                                   "Metz B (027 Luftpost Kevelaer): Provisional",
                                                   "Metz C (031 Sturmvogel Weeze): Provisional"}));

        const QString pdf = folder->Path() + "/list.pdf";
        SetResultPrintPdfForTests(pdf);
        {
            ModalWatcher range([](QWidget* modal) { Click(modal); });
            Click(&window, "Command2");
        }
        QVERIFY(QFile::exists(pdf));
        QFile::remove(pdf);

        QFile::remove(folder->Path() + "/racecalc/Metz C.flt");
        window.ChooseList("Metz federation");
        QVERIFY(window.Warnings().contains("Metz C"));
        Click(&window, "Command2");
        const QStringList told = folder->Told();
        QCOMPARE(told.size(), 2); // title and text
        QVERIFY2(told[1].contains("The race Metz C has not been calculated"), qPrintable(told.join("|")));
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(CombinedTest)
#include "combined_test.moc"
