#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "ui/app/scaleform.h"
#include "ui/clock/transferdialog.h"
#include "ui/race/raceresultsdialog.h"
#include "uitestsupport.h"

// Every window on a laptop's screen of 1366 x 768, in both catalogues and at each size: it lies
// wholly on the screen, its captions neither overlap nor are cut, and the menu bar shows every
// menu. A window too large for the screen takes a smaller size, and at the smallest it scrolls.
class FitTest : public UiTest {
    Q_OBJECT

    void Init() override {
        const QStringList files{"races.dat", "Bastogne.flt", "Ettelbruck.flt", "Arlon.flt", "Season 2024.season"};
        folder->Install("ui/tworaces");
        for (const QString& file : files) folder->Write("racecalc/" + file, Golden("season/" + file));
        App().settings.comPort = "1";
        App().settings.showRaceEvaluation = App().settings.showTerminalProgramLoad = true;
        SetClockLinkFactoryForTests([] { return std::make_unique<ScriptedClockLink>(); });
        TransferDialog::SetTimingForTests([](TransferConstants& c) { c.startDelay = milliseconds(60000); });
    }
    void Cleanup() override {
        TransferDialog::SetTimingForTests(nullptr);
        SetClockLinkFactoryForTests(nullptr);
        folder->Messages().Clear(); // some windows say at once what they lack
    }

    void UseCatalogueAndSize(const QString& language, int size) {
        if (language == "de") folder->Write("club.txt", folder->Read(":/data/club.de.txt"));
        App().settings.sizeChoice = std::to_string(size);
        App().settings.scaleFactor = ScaleFactorOf(App().settings.sizeChoice);
    }

    // The captions of a window: labels, buttons and the titles of their frames, as placed on the window.
    static QList<std::pair<QWidget*, QRect>> Captions(QWidget* window) {
        QList<std::pair<QWidget*, QRect>> captions;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool caption = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
            if (!caption || w->objectName().isEmpty() || w->objectName().startsWith("qt_") || !w->isVisibleTo(window))
                continue;
            if (const auto* label = qobject_cast<QLabel*>(w); label && label->text().isEmpty()) continue;
            captions.append({w, QRect(w->mapTo(window, QPoint(0, 0)), w->size())});
        }
        return captions;
    }

    // What is wrong with the window as shown, one line each; nothing when it fits.
    static QStringList Faults(QWidget* window) {
        QApplication::processEvents(); // a window that grew with its contents has been kept on the screen
        QStringList faults;
        const QString name = window->objectName();
        const QRect screen = window->screen()->availableGeometry();
        if (!screen.contains(window->frameGeometry()))
            faults << name + " off the screen at " + QString("%1,%2").arg(window->frameGeometry().x()).arg(window->frameGeometry().y());
        const auto captions = Captions(window);
        for (qsizetype i = 0; i < captions.size(); ++i) {
            const auto& [w, place] = captions[i];
            const QSize needed = w->hasHeightForWidth() ? QSize(w->minimumSizeHint().width(), w->heightForWidth(place.width()))
                                                        : w->minimumSizeHint();
            if (place.width() < needed.width() || place.height() < needed.height())
                faults << name + "." + w->objectName() + QString(" cut: %1x%2 of %3x%4").arg(place.width()).arg(place.height()).arg(needed.width()).arg(needed.height());
            for (qsizetype j = i + 1; j < captions.size(); ++j)
                if (place.intersects(captions[j].second))
                    faults << name + "." + w->objectName() + " over " + captions[j].first->objectName();
        }
        return faults;
    }

    // Shows the window behind each menu item of ui/expected/menu-windows.txt, and the result window
    // of a season's race; answers the faults of each.
    QStringList FaultsOfEveryWindow() {
        MainWindow w;
        w.StartupTimer()->stop();
        w.show();
        if (!QTest::qWaitForWindowExposed(&w)) return {"the main window is not shown"};
        const auto select = [&w](const QString& mode) {
            w.VereineAnzeigen();
            w.List()->setCurrentRow(0);
            if (mode == "Fanciers" || mode == "Pigeons") w.ZuechterAnzeigen(), w.List()->setCurrentRow(1);
            if (mode == "Pigeons") w.TaubenAnzeigen(), w.List()->setCurrentRow(0);
            if (mode == "RacePoints") w.RacePointsAnzeigen(), w.List()->setCurrentRow(4);
        };
        QStringList faults = Faults(&w);
        QStringList items = QString(Golden("ui/expected/menu-windows.txt")).split('\n', Qt::SkipEmptyParts);
        items << "mnuRaceSeason Clubs" << "mnu4FancierLoadVPPGD Clubs";
        int opened = 0;
        for (const QString& line : items) {
            const QStringList item = line.split(' ');
            select(item[1]);
            ModalWatcher watcher([&](QWidget* modal) { faults << Faults(modal), ++opened; });
            item[0] == "Delete" ? QTest::keyClick(w.List(), Qt::Key_Delete) : w.MenuItem(item[0])->trigger();
        }
        const Race arlon = LoadRaces(App().programFolder).races.at(2);
        Showing<RaceResultsDialog> results(&w, arlon, ReadResultFile(App().programFolder, arlon.name).lines);
        faults << Faults(&results);
        if (opened != items.size()) faults << QString("%1 of %2 windows opened").arg(opened).arg(items.size());
        return faults;
    }

private slots:
    void everyWindowFitsTheScreenWithItsCaptionsWhole_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("size");
        for (const char* language : {"en", "de"})
            for (int size = 1; size <= 3; ++size) QTest::addRow("%s size %d", language, size) << QString(language) << size;
    }
    void everyWindowFitsTheScreenWithItsCaptionsWhole() {
        QFETCH(QString, language);
        QFETCH(int, size);
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1366, 768));
        UseCatalogueAndSize(language, size);
        const QStringList faults = FaultsOfEveryWindow();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void theMenuBarShowsEveryMenu_data() { everyWindowFitsTheScreenWithItsCaptionsWhole_data(); }
    void theMenuBarShowsEveryMenu() {
        QFETCH(QString, language);
        QFETCH(int, size);
        UseCatalogueAndSize(language, size);
        MainWindow w;
        w.StartupTimer()->stop();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QMenuBar* bar = w.menuBar();
        int shown = 0;
        for (QAction* menu : bar->actions()) {
            if (!menu->isVisible()) continue;
            ++shown;
            QVERIFY2(bar->rect().contains(bar->actionGeometry(menu)), qPrintable(menu->text()));
        }
        QCOMPARE(shown, 11);
        const auto* extension = bar->findChild<QToolButton*>("qt_menubar_ext_button");
        QVERIFY(!extension || !extension->isVisible());
        QVERIFY2(Faults(&w).isEmpty(), qPrintable(Faults(&w).join("; ")));
    }

    // A window asked for at size 3 takes the largest size at which its least size fits the screen;
    // one that fits at none scrolls at size 1, and it lies on the screen all the same.
    void aWindowTooLargeTakesTheNextSmallerSizeAndAtTheSmallestScrolls_data() {
        QTest::addColumn<QSize>("least");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("fitted");
        QTest::addColumn<bool>("scrolls");
        QTest::addRow("fits at 3") << QSize(700, 400) << "3" << "3" << false;
        QTest::addRow("too high at 3") << QSize(700, 500) << "3" << "2" << false;
        QTest::addRow("too wide at 2") << QSize(1100, 300) << "2" << "1" << false;
        QTest::addRow("too high at 1") << QSize(400, 900) << "3" << "1" << true;
        QTest::addRow("fits at 1") << QSize(1000, 600) << "1" << "1" << false;
    }
    void aWindowTooLargeTakesTheNextSmallerSizeAndAtTheSmallestScrolls() {
        QFETCH(QSize, least);
        QFETCH(QString, asked);
        QFETCH(QString, fitted);
        QFETCH(bool, scrolls);
        QDialog window;
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel("Label", &window);
        label->setObjectName("Label1");
        label->setMinimumSize(least);
        layout->addWidget(label);
        ScaleForm(&window, ScaleFactorOf(asked.toStdString()), asked.toStdString());
        window.show();
        QCOMPARE(QString::fromStdString(FittedSizeChoice(&window)), fitted);
        QCOMPARE(label->minimumSize(), least * ScaleFactorOf(fitted.toStdString()));
        const auto* area = window.findChild<QScrollArea*>();
        QCOMPARE(area != nullptr, scrolls);
        QVERIFY(!area || area->widget()->isAncestorOf(label));
        QVERIFY2(window.screen()->availableGeometry().contains(window.frameGeometry()), qPrintable(QString("%1x%2").arg(window.frameGeometry().width()).arg(window.frameGeometry().height())));
    }
};

// The offscreen screen is a laptop's, set before the application starts.
int main(int argc, char** argv) {
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    WriteFile(config, R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,
                          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    QApplication app(argc, argv);
    FitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "fit_test.moc"
