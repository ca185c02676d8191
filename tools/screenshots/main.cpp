// plumet-screenshots: the README's pictures of the main window and the main dialogs, taken
// on the demo folder (the working directory) with its simulated clock on the line.
//   plumet-screenshots OUTDIR CLOCK_PID [SUFFIX]
// With SUFFIX only the main window and a dialog are taken, their names ending in it: a second
// catalogue or window size.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "ui/app/mainwindow.h"
#include "ui/app/startup.h"

using plumet::ui::MainWindow;

namespace {

QString outDir;
QString suffix;
int failures = 0;

void Pause(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Few colours and a palette: the pictures live in the repository.
void Save(const QImage& image, const QString& name) {
    const QString path = QDir(outDir).filePath(name + suffix + ".png");
    const QImage small = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (!small.save(path, "PNG", 0)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void Save(QWidget* widget, const QString& name) { Save(widget->grab().toImage(), name); }

// Opens the dialog behind a menu item, waits until `ready` says it shows what is wanted,
// takes it, and closes it unless it closes by itself when its transfer ends.
void ShootDialog(MainWindow& window, const QString& menu, const QString& name,
                 const std::function<bool(QWidget*)>& ready = {}, bool closesItself = false, int settleMs = 400) {
    QTimer::singleShot(settleMs, [&window, name, ready, closesItself] {
        QWidget* dialog = QApplication::activeModalWidget();
        QDeadlineTimer deadline(20000);
        while (dialog && ready && !ready(dialog) && !deadline.hasExpired()) {
            Pause(50);
            dialog = QApplication::activeModalWidget();
        }
        if (!dialog || dialog == &window) {
            std::fprintf(stderr, "%s: the dialog did not come up\n", qPrintable(name));
            ++failures;
            return;
        }
        for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) edit->deselect();
        Save(dialog, name);
        if (!closesItself) dialog->close();
    });
    window.OpenMenuDialog(menu);
    Pause(300);
}

bool ShowsText(QWidget* dialog, const QString& text) {
    for (const QPlainTextEdit* edit : dialog->findChildren<QPlainTextEdit*>())
        if (edit->toPlainText().contains(text)) return true;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        if (label->text().contains(text)) return true;
    return false;
}

// Types as a user does, leaving the field afterwards so that its rules run.
void Type(QWidget* dialog, const char* field, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(field);
    if (!edit) return;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    edit->clearFocus();
    Pause(50);
    edit->deselect(); // the field selects its text on entry, a moment later
}

// Windows that open one from the other (a chooser, then the window it opens): each step waits
// for its window (by object or class name), lets `act` prepare it, takes it when `shot` names a
// picture, then `next` moves on from the event loop, so the window it opens gets its turn.
struct ChainStep {
    QString window;
    QString shot;
    std::function<void(QWidget*)> next;
    std::function<void(QWidget*)> act = {};
};

void ShootChain(MainWindow& window, const QString& menu, std::vector<ChainStep> steps) {
    auto poll = std::make_shared<QTimer>();
    auto next = std::make_shared<std::size_t>(0);
    auto last = std::make_shared<QWidget*>(nullptr);
    QDeadlineTimer deadline(60000);
    QObject::connect(poll.get(), &QTimer::timeout, [=]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (*next >= steps.size()) return;
        if (deadline.hasExpired()) {
            std::fprintf(stderr, "%s: the window did not come up\n", qPrintable(steps[*next].window));
            ++failures;
            *next = steps.size();
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            return;
        }
        if (!modal || modal == *last ||
            (modal->objectName() != steps[*next].window && modal->metaObject()->className() != steps[*next].window))
            return;
        *last = modal;
        const ChainStep& step = steps[(*next)++];
        Pause(400);
        if (step.act) step.act(modal);
        if (!step.shot.isEmpty()) {
            for (QLineEdit* edit : modal->findChildren<QLineEdit*>()) edit->deselect();
            Save(modal, step.shot);
        }
        QTimer::singleShot(0, modal, [modal, move = step.next] { move(modal); });
    });
    poll->start(50);
    window.OpenMenuDialog(menu);
    Pause(300);
}

void ClickButton(QWidget* dialog, const char* name) {
    if (auto* button = dialog->findChild<QPushButton*>(name)) button->click();
}
void CloseWindow(QWidget* dialog) { dialog->close(); }

void SelectRow(MainWindow& window, int row) {
    window.List()->setCurrentRow(row);
    Pause(100);
}

void Run(MainWindow& window, pid_t clock) {
    window.resize(760, 480);
    Pause(1500); // past the start-up check

    SelectRow(window, 0); // club 012
    window.ZuechterAnzeigen();
    SelectRow(window, 1); // fancier 003, whose clock is on the line
    Pause(200);
    Save(&window, "main-fanciers");
    ShootDialog(window, "mnuFancierAlter", "fancier-alter");
    if (!suffix.isEmpty()) return;

    window.TaubenAnzeigen();
    SelectRow(window, 2);
    Save(&window, "main-pigeons");
    ShootDialog(window, "mnuPigeonAdd", "pigeon-add", [](QWidget* dialog) {
        const std::pair<const char*, const char*> typed[] = {
            {"Text1", "DV"}, {"Text2", "24"}, {"Text3", "5131"}, {"Text4", "2307"}, {"Text5", "F"}, {"Text7", "BC"}};
        for (const auto& [field, text] : typed) Type(dialog, field, text);
        return true;
    });

    // A menu is a window of its own: take the screen around the main window.
    QMenu* menu = window.Menu("mnuCommunication");
    window.menuBar()->setActiveAction(menu->menuAction());
    Pause(500);
    const QRect area = window.frameGeometry().united(menu->geometry());
    Save(window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage(), "menu-communication");
    menu->close();
    Pause(200);

    window.ZuechterAnzeigen();
    SelectRow(window, 1);
    ShootDialog(window, "mnuLoftSend", "send-loft", {}, true, 150);
    Pause(3000); // the transfer ends and the dialog closes

    auto clicked = std::make_shared<bool>(false);
    ShootDialog(window, "mnuRacedataGet", "get-racedata", [clicked](QWidget* dialog) {
        if (!*clicked) {
            *clicked = true;
            if (auto* getData = dialog->findChild<QPushButton*>("Command2")) getData->click();
        }
        const auto* list = dialog->findChild<QListWidget*>();
        return list && list->count() > 0 && dialog->findChild<QPushButton*>("Command2")->isEnabled();
    });
    ShootDialog(window, "mnuExportRaceDataToXML", "export-xml");

    window.RacePointsAnzeigen();
    SelectRow(window, 9); // METZ
    ShootDialog(window, "mnuRacePointsAlter", "release-point-alter");

    QTimer::singleShot(1500, [clock] { ::kill(clock, SIGUSR1); });
    ShootDialog(window, "mnuPrintToScreen", "print-to-screen",
                [](QWidget* dialog) { return ShowsText(dialog, "ARRIVALS"); });

    ShootDialog(window, "mnuProgramSet", "settings");

    // The race evaluation, shown by the demo's settings.
    window.VereineAnzeigen();
    SelectRow(window, 0);
    QMenu* race = window.Menu("mnuRaceCalc");
    window.menuBar()->setActiveAction(race->menuAction());
    Pause(500);
    const QRect raceArea = window.frameGeometry().united(race->geometry());
    Save(window.screen()->grabWindow(0, raceArea.x(), raceArea.y(), raceArea.width(), raceArea.height()).toImage(),
         "menu-race");
    race->close();
    Pause(200);
    ShootChain(window, "mnuRaceAlter",
               {{"frmRaceSelect", "", [](QWidget* d) { ClickButton(d, "OKButton"); }},
                {"frmRaceAdd", "race-alter", CloseWindow}});
    ShootDialog(window, "mnuRaceEnterDistances", "enter-distances");
    ShootChain(window, "mnuRaceCalculate",
               {{"frmRaceSelect", "race-calculate", [](QWidget* d) { ClickButton(d, "OKButton"); }},
                {"frmRaceResultsShow", "race-results", [](QWidget* d) { ClickButton(d, "Command3"); }},
                {"ExportDialog", "export-results", [](QWidget* d) { static_cast<QDialog*>(d)->accept(); },
                 [](QWidget* d) {
                     // The web page, into the program folder (the picture's folder is a fresh one).
                     auto* dialog = static_cast<QFileDialog*>(d);
                     dialog->setDirectory(QDir::currentPath());
                     dialog->selectNameFilter(dialog->nameFilters().value(1));
                     if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText("Metz.html");
                 }},
                {"frmRaceResultsShow", "", [](QWidget* d) { ClickButton(d, "Command2"); }},
                {"frmRaceCalcPagesToPrint", "", [](QWidget* d) { ClickButton(d, "Command1"); }},
                {"QPrintPreviewDialog", "print-preview", CloseWindow,
                 [](QWidget* d) { d->resize(900, 700); }}, // within a laptop's screen
                {"frmRaceResultsShow", "", CloseWindow}});

    // The season, with the race just calculated counted.
    ShootChain(window, "mnuRaceSeason",
               {{"frmSeason", "season-standings", [](QWidget* d) { ClickButton(d, "Command5"); },
                 [](QWidget* d) { d->resize(d->width(), 640); }},
                {"frmSeasonEdit", "season-edit", CloseWindow},
                {"frmSeason", "season-lofts", CloseWindow,
                 [](QWidget* d) { d->findChild<QTabWidget*>("TabStrip1")->setCurrentIndex(1); }}});

    // The federation's list: both clubs' Metz, the race just calculated among them.
    ShootChain(window, "mnuRaceCombined",
               {{"frmCombined", "combined-list", CloseWindow, [](QWidget* d) { d->resize(d->width(), 640); }}});
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: plumet-screenshots OUTDIR CLOCK_PID [SUFFIX]\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    if (argc == 4) suffix = QString::fromLocal8Bit(argv[3]);
    QDir().mkpath(outDir);
    const QStringList problems = plumet::ui::PrepareProgramFolder(QDir::currentPath().toStdString());
    for (const QString& problem : problems) std::fprintf(stderr, "%s\n", qPrintable(problem));
    MainWindow window;
    window.move(0, 0);
    window.show();
    QTimer::singleShot(0, [&] {
        Run(window, static_cast<pid_t>(std::atoi(argv[2])));
        window.close();
    });
    app.exec();
    return failures == 0 ? 0 : 1;
}
