// plumet-screenshots: the README's pictures of the main window and the main dialogs, taken
// on the demo folder (the working directory) with its simulated clock on the line.
//   plumet-screenshots OUTDIR CLOCK_PID
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/mainwindow.h"
#include "app/startup.h"

using plumet::ui::MainWindow;

namespace {

QString outDir;
int failures = 0;

void Pause(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Few colours and a palette: the pictures live in the repository.
void Save(const QImage& image, const QString& name) {
    const QString path = QDir(outDir).filePath(name + ".png");
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
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: plumet-screenshots OUTDIR CLOCK_PID\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
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
