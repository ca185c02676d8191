#include "ui/releasepoints/racepointdialog.h"
#include "uitestsupport.h"

using Mode = RacePointDialog::Mode;

class RacePointDialogTest : public QObject {
    Q_OBJECT

    static QByteArray Point(int n, const char* name = "", const char* place = "", const char* position = "") {
        return (QByteArray::number(n).rightJustified(2, '0') + QByteArray(name).leftJustified(13, ' ') +
                QByteArray(place).leftJustified(30, ' ') + position)
            .leftJustified(64, ' ');
    }
    // The standard register of 98 slots with the given ones filled.
    static QByteArray File(const QMap<int, QByteArray>& filled) {
        QList<QByteArray> records;
        for (int n = 1; n <= 98; ++n) records << filled.value(n, Point(n));
        return RegisterFile(records);
    }
    static inline const QByteArray kSpa = Point(3, "SPA", "Spa, Belgium", "+50300000E005520506");

private slots:
    void addFillsTheFormFromATypedSlotRefusesWithMessageOneSavesAndScrolls() {
        ProgramFolderFixture folder;
        folder.Write("racepo/racepo.dat", File({{3, kSpa}}));
        MainWindow main;
        main.show();
        main.RacePointsAnzeigen();
        App().settings.sizeChoice = "3"; // the largest fonts must not clip a field
        App().settings.scaleFactor = 1.5F;
        RacePointDialog d(&main, Mode::Add);
        d.show();
        for (const char* name : {"Text1", "Text10"}) {
            auto* field = d.findChild<QLineEdit*>(name);
            QVERIFY(field->width() > field->fontMetrics().horizontalAdvance(QString(field->maxLength(), QChar('0'))));
        }
        Typed(&d, "Text1", "3"); // "03" on leaving: slot 3
        QCOMPARE(d.findChild<QLineEdit*>("Text3")->text() + "|" + d.findChild<QLineEdit*>("Text13")->text(),
                 QString("Spa, Belgium|06"));
        // Typing the number of a slot fills the form from it, so the other fields come after it.
        Typed(&d, "Text1", "15");
        Typed(&d, "Text2", "SPA");
        Click(&d); // no place
        QCOMPARE(ShownTexts(folder.Messages()), NumberedMessage("frmRacePointsAdd", 1));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text3"));
        QCOMPARE(folder.Read("racepo/racepo.dat"), File({{3, kSpa}}));
        Typed(&d, "Text3", "Spa");
        Typed(&d, "Text5", "50");
        Click(&d);
        QCOMPARE(folder.Read("racepo/racepo.dat"), File({{3, kSpa}, {15, Point(15, "SPA", "Spa", "N50000000W000000000")}}));
        QVERIFY(d.isVisible()); // ready for the next one
        QCOMPARE(main.List()->item(14)->text(), "15:  SPA" + QString(10, ' '));
        QApplication::processEvents();
        QCOMPARE(main.List()->indexAt(QPoint(2, 2)).row(), 5); // the new entry is the tenth line
    }

    void alterAndDeleteKeepTheListPositionAndTellAFailedSave() {
        ProgramFolderFixture folder;
        folder.Write("racepo/racepo.dat", File({{3, kSpa}, {7, Point(7, "ROME", "Roma", "N41535000E012282500")}}));
        MainWindow main;
        main.RacePointsAnzeigen();
        main.List()->setCurrentRow(2);
        RacePointDialog alter(&main, Mode::Alter);
        alter.show();
        QVERIFY(alter.findChild<QLineEdit*>("Text1")->isReadOnly());
        Typed(&alter, "Text2", "SPA NORTH");
        Click(&alter);
        QCOMPARE(main.List()->currentRow(), 2);

        main.List()->setCurrentRow(6);
        RacePointDialog remove(&main, Mode::Delete);
        remove.show();
        QCOMPARE(remove.findChild<QLineEdit*>("Text2")->text(), QString("ROME"));
        QVERIFY(SavingFails(folder.Messages(), [&] { Click(&remove); }).startsWith(Shipped("frmRacePointsDelete.Caption")));
        QVERIFY(remove.isVisible());
        Click(&remove);
        QCOMPARE(folder.Read("racepo/racepo.dat"), File({{3, "03SPA NORTH    " + kSpa.mid(15)}}));
        QCOMPARE(main.List()->currentRow(), 6);
        QCOMPARE(main.SelectedRacePointNumber, std::string("07"));
    }

    void aRefusedRegisterFileIsToldAndKept() {
        ProgramFolderFixture folder;
        const QByteArray broken = " 98 \r\n01short\r\n";
        folder.Write("racepo/racepo.dat", broken);
        MainWindow main;
        RacePointDialog d(&main, Mode::Add);
        d.show();
        QTRY_COMPARE(folder.Messages().Shown().size(), size_t(1)); // saving over it is refused in core
        QCOMPARE(folder.Messages().Shown().at(0).title, Shipped("frmRacePointsAdd.Caption"));
        QCOMPARE(folder.Read("racepo/racepo.dat"), broken);
    }
};

QTEST_MAIN(RacePointDialogTest)
#include "racepointdialog_test.moc"
