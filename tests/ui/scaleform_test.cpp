#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
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
    void sizeChoicesSetFontsAndGeometryAndTheWindowIsCentred() {
        const int unchanged = Window().label->font().pointSize();
        const struct {
            float factor;
            const char* choice;
            ScaleKind kind;
            int edit, list, other;
        } cases[] = {{1.0F, "1", ScaleKind::Dialog, 10, 10, 8},
                     {1.5F, "3", ScaleKind::Dialog, 18, 18, 16},
                     {1.3F, "2", ScaleKind::Dialog, 12, 14, 10},
                     {1.3F, "2", ScaleKind::MainWindow, 12, 12, 10},
                     {1.3F, "7", ScaleKind::Dialog, unchanged, unchanged, unchanged}}; // an odd choice keeps the fonts
        for (const auto& c : cases) {
            Window w;
            ScaleForm(&w.dialog, c.factor, c.choice, c.kind);
            QCOMPARE(w.edit->font().pointSize(), c.edit);
            QCOMPARE(w.list->font().pointSize(), c.list);
            QCOMPARE(w.label->font().pointSize(), c.other);
            QCOMPARE(w.check->font().pointSize(), c.other);
            QCOMPARE(w.dialog.size(), QSize(qRound(400 * c.factor), qRound(300 * c.factor)));
            QCOMPARE(w.list->minimumSize(), QSize(qRound(200 * c.factor), qRound(100 * c.factor)));
            const QRect screen = w.dialog.screen()->geometry();
            QCOMPARE(w.dialog.pos(), QPoint(screen.x() + (screen.width() - w.dialog.width()) / 2,
                                            screen.y() + (screen.height() - w.dialog.height()) / 2));
        }
        Window tall;
        ScaleForm(&tall.dialog, 1.5F, "3");
        QCOMPARE(tall.edit->height(), qRound(563 * tall.edit->logicalDpiY() / 1440.0));
    }
};

QTEST_MAIN(ScaleFormTest)
#include "scaleform_test.moc"
