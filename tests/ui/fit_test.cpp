#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "ui/app/scaleform.h"
#include "ui/clock/transferdialog.h"
#include "ui/race/raceresultsdialog.h"
#include "ui/race/resultexportdialog.h"
#include "ui/race/resultprint.h"
#include "uitestsupport.h"

// Every window on a laptop's screen of 1366 x 768, in both catalogues and at each size: it lies
// wholly on the screen, its title and captions are not cut, its captions do not overlap, no
// access key is taken twice, and the menu bar shows every menu. Qt's file dialog and print
// preview are among them. A window too large for the screen takes a smaller size,
// and at the smallest it scrolls.
class FitTest : public UiTest {
    Q_OBJECT

    // Captions of one window or menu that one Alt+letter would both choose.
    static QStringList SharedAccessKeys(const QString& where, const QStringList& captions) {
        QStringList faults, keys;
        for (const QString& caption : captions) {
            const QString key = QKeySequence::mnemonic(caption).toString();
            if (!key.isEmpty() && keys.contains(key)) faults << where + caption + " takes " + key + " again";
            keys << key;
        }
        return faults;
    }

    // What is wrong with the window as shown, one line each: off the screen, a caption (label or
    // button) cut or over another, a menu behind the extension mark.
    static QStringList Faults(QWidget* window) {
        QApplication::processEvents(); // a window that grew with its contents has been kept on the screen
        QStringList faults;
        const QString name = (window->objectName().isEmpty() ? window->metaObject()->className() : window->objectName()) + ".";
        if (!window->screen()->availableGeometry().contains(window->frameGeometry())) faults << name + "off the screen";
        QFont titleFont = QApplication::font(); // the window system's, beside its icon and buttons
        titleFont.setBold(true);
        if (QFontMetrics(titleFont).horizontalAdvance(window->windowTitle()) + 96 > window->width()) faults << name + "title cut";
        QList<std::pair<QWidget*, QRect>> captions;
        QStringList buttons;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const auto* label = qobject_cast<QLabel*>(w);
            const auto* button = qobject_cast<QAbstractButton*>(w); // Qt's tool buttons show icons alone
            if ((label ? label->text() : button ? button->text() : QString()).isEmpty() || w->objectName().isEmpty() ||
                w->objectName().startsWith("qt_") || !w->isVisibleTo(window))
                continue;
            const QRect place(w->mapTo(window, QPoint(0, 0)), w->size());
            const int height = w->hasHeightForWidth() ? w->heightForWidth(place.width()) : w->minimumSizeHint().height();
            if (place.width() < w->minimumSizeHint().width() || place.height() < height) faults << name + w->objectName() + " cut";
            for (const auto& [other, at] : captions)
                if (place.intersects(at)) faults << name + w->objectName() + " over " + other->objectName();
            captions.append({w, place});
            if (button) buttons << button->text();
        }
        faults << SharedAccessKeys(name, buttons);
        if (auto* main = qobject_cast<MainWindow*>(window)) {
            QList<QWidget*> menus{main->menuBar()};
            for (QMenu* menu : main->findChildren<QMenu*>()) menus << menu;
            for (QWidget* menu : menus) { // every item with its letter, none taken twice in one menu
                QStringList items;
                for (QAction* item : menu->actions()) if (!item->isSeparator()) items << item->text();
                for (const QString& item : items) if (QKeySequence::mnemonic(item).isEmpty()) faults << name + item + " without access key";
                faults << SharedAccessKeys(name, items);
            }
            for (QAction* menu : main->menuBar()->actions())
                if (menu->isVisible() && !main->menuBar()->rect().contains(main->menuBar()->actionGeometry(menu)))
                    faults << name + menu->menu()->objectName() + " hidden";
        }
        return faults;
    }

    // The windows behind the menu items of ui/expected/menu-windows.txt, with the result window of a
    // race of a season and the main window with all its menus shown.
    static QStringList FaultsOfEveryWindow() {
        IdleMainWindow w;
        w.show();
        if (!QTest::qWaitForWindowExposed(&w)) return {"no main window"};
        QStringList faults = Faults(&w);
        QStringList items = QString(Golden("ui/expected/menu-windows.txt")).split('\n', Qt::SkipEmptyParts);
        items << "mnuRaceSeason Clubs" << "mnu4FancierLoadVPPGD Clubs";
        for (const QString& line : items) {
            const QString item = line.section(' ', 0, 0), mode = line.section(' ', 1, 1);
            SelectForMenu(w, mode);
            faults << item + " opened nothing";
            ModalWatcher watcher([&](QWidget* modal) { faults.removeLast(), faults << Faults(modal); });
            item == "Delete" ? QTest::keyClick(w.List(), Qt::Key_Delete) : w.MenuItem(item)->trigger();
        }
        const Race arlon = LoadRaces(App().programFolder).races.at(2);
        Showing<RaceResultsDialog> results(&w, arlon, ReadResultFile(App().programFolder, arlon.name).lines);
        faults << Faults(&results);
        // Qt's own windows that the program opens: the file dialog of an export and the print preview.
        faults << "no file dialog" << "no print preview";
        {
            ModalWatcher file([&](QWidget* dialog) { faults.removeOne("no file dialog"), faults << Faults(dialog); });
            AskExportFile(&results, "Metz", "Metz");
        }
        std::optional<ModalWatcher> preview;
        ModalWatcher pages([&](QWidget* dialog) {
            preview.emplace([&](QWidget* shown) { faults.removeOne("no print preview"), faults << Faults(shown); }), Click(dialog);
        });
        PrintPages(&results, "Metz", {PrintPage{}});
        return faults;
    }

private slots:
    void everyWindowFitsTheScreenWithItsCaptionsWholeAndEveryMenuShows() {
        // Also run with the display scaled to 125 % (CMakeLists.txt), as a screen of 1093 x 614.
        const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), (QSizeF(1366, 768) / scale).toSize());
        folder->Install("ui/tworaces");
        folder->Install("folders/season"); // the golden season's races and result files
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(60000); });
        for (const QString catalogue : {"club.txt", "club.de.txt"})
            for (const std::string choice : {"1", "2", "3"}) {
                folder->Write("club.txt", folder->Read(":/data/" + catalogue));
                App().settings = {.region = "", .federation = "", .comPort = "1", .sizeChoice = choice, .scaleFactor = ScaleFactorOf(choice),
                                  .showRaceEvaluation = true, .showTerminalProgramLoad = true};
                const QStringList faults = FaultsOfEveryWindow();
                QVERIFY2(faults.isEmpty(), qPrintable(catalogue + " size " + QString::fromStdString(choice) + ": " + faults.join("; ")));
            }
        TransferDialog::SetTimingForTests(nullptr), SetClockLinkFactoryForTests(nullptr);
        folder->Messages().Clear(); // some windows say at once what they lack
    }

    void aWindowTooLargeTakesTheNextSmallerSizeAndAtTheSmallestScrolls() {
        const struct { QSize least; const char *asked, *fitted; } cases[] = {
            {{700, 400}, "3", "3"}, {{700, 500}, "3", "2"}, {{1100, 300}, "2", "1"}, {{400, 900}, "3", "1"}};
        for (const auto& c : cases) {
            QDialog window;
            auto* label = new QLabel("Label", &window);
            label->setMinimumSize(c.least);
            (new QVBoxLayout(&window))->addWidget(label);
            ScaleForm(&window, ScaleFactorOf(c.asked), c.asked);
            window.show();
            QCOMPARE(FittedSizeChoice(&window), std::string(c.fitted));
            QCOMPARE(label->minimumSize(), c.least * ScaleFactorOf(c.fitted));
            const auto* area = window.findChild<QScrollArea*>(); // only where even the smallest size is too high
            QCOMPARE(area && area->widget()->isAncestorOf(label), c.least.height() > 768);
            QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        }
    }
};

// The offscreen screen is a laptop's, set before the application starts.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PLUMET_TEST_DATA "/ui/laptop-screen.json");
    QApplication app(argc, argv);
    FitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "fit_test.moc"
