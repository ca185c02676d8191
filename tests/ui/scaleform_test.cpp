#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QVBoxLayout>

#include "app/scaleform.h"

using namespace plumet::ui;

class ScaleFormTest : public QObject {
    Q_OBJECT

    struct Window {
        QDialog dialog;
        QLineEdit* edit = new QLineEdit(&dialog);
        QListWidget* list = new QListWidget(&dialog);
        QLabel* label = new QLabel("x", &dialog);
        QCheckBox* check = new QCheckBox("y", &dialog);
        Window() {
            auto* layout = new QVBoxLayout(&dialog);
            for (QWidget* w : std::initializer_list<QWidget*>{edit, list, label, check}) layout->addWidget(w);
            list->setMinimumSize(200, 100);
            dialog.resize(400, 300);
        }
    };

private slots:
    void sizeChoicesSetFontsAndTextBoxHeights() {
        Window w;
        ScaleForm(&w.dialog, 1.5F, "3");
        QCOMPARE(w.edit->font().pointSize(), 18);
        QCOMPARE(w.edit->height(), qRound(563 * w.edit->logicalDpiY() / 1440.0));
        QCOMPARE(w.list->font().pointSize(), 18);
        QCOMPARE(w.label->font().pointSize(), 16);
        QCOMPARE(w.check->font().pointSize(), 16);
        QCOMPARE(w.dialog.size(), QSize(600, 450));
        QCOMPARE(w.list->minimumSize(), QSize(300, 150));

        Window larger;
        ScaleForm(&larger.dialog, 1.3F, "2");
        QCOMPARE(larger.list->font().pointSize(), 14);
        Window main;
        ScaleForm(&main.dialog, 1.3F, "2", ScaleKind::MainWindow);
        QCOMPARE(main.list->font().pointSize(), 12);
    }

    void normalSizeKeepsGeometryAndOddChoicesKeepFonts() {
        Window w;
        ScaleForm(&w.dialog, 1.0F, "1");
        QCOMPARE(w.dialog.size(), QSize(400, 300));
        QCOMPARE(w.list->minimumSize(), QSize(200, 100));
        QCOMPARE(w.label->font().pointSize(), 8);
        QCOMPARE(w.edit->font().pointSize(), 10);

        Window odd;
        const int before = odd.label->font().pointSize();
        ScaleForm(&odd.dialog, 1.3F, "7");
        QCOMPARE(odd.label->font().pointSize(), before);
        QCOMPARE(odd.dialog.size(), QSize(520, 390));
    }

    void theWindowIsCentred() {
        Window w;
        ScaleForm(&w.dialog, 1.0F, "1");
        const QRect screen = w.dialog.screen()->geometry();
        QCOMPARE(w.dialog.x(), screen.x() + (screen.width() - w.dialog.width()) / 2);
        QCOMPARE(w.dialog.y(), screen.y() + (screen.height() - w.dialog.height()) / 2);
    }
};

QTEST_MAIN(ScaleFormTest)
#include "scaleform_test.moc"
