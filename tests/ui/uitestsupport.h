#pragma once
// Shared set-up for the dialog tests: a fresh program folder with the shipped catalogue,
// message boxes answered in advance, helpers to type into fields, a clock link the test keeps.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/appcontext.h"
#include "core/app/files.h"
#include "core/clock/tracinglink.h"
#include "support/scriptedlink.h"
#include "ui/app/mainwindow.h"
#include "ui/app/messages.h"
#include "ui/clock/transfersession.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui::test {

// "title: text" of the one critical message shown since the last clearing, else a complaint; clears.
QString TakeCritical(MessageTestMode& messages);

class ProgramFolderFixture {
public:
    ProgramFolderFixture();
    ~ProgramFolderFixture();
    QString Path() const { return dir_.path(); }
    // A path relative to the program folder, or an absolute one; an unreadable file reads as empty.
    void Write(const QString& relative, const QByteArray& bytes) const;
    QByteArray Read(const QString& relative) const;
    // Copies the golden tree tests/data/<set> into the program folder, subfolders and all.
    void Install(const QString& set) const;
    MessageTestMode& Messages() { return *messages_; }
    // Title and text of every message shown since the last call.
    QStringList Told();
    QString Critical() { return TakeCritical(*messages_); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<MessageTestMode> messages_;
};

// While alive, the port enumeration yields exactly these entries.
class FixedPorts {
public:
    explicit FixedPorts(std::vector<std::string> entries);
    ~FixedPorts();
};

// Each test function runs in a fresh program folder with no serial ports unless it sets some;
// a subject's own set-up goes in Init and Cleanup.
class UiTest : public QObject {
    Q_OBJECT

protected:
    virtual void Init() {}
    virtual void Cleanup() {}
    void SetPorts(std::vector<std::string> entries) { ports_.emplace(std::move(entries)); }
    std::optional<ProgramFolderFixture> folder;

private:
    std::optional<FixedPorts> ports_;

private slots:
    void init() {
        folder.emplace();
        SetPorts({});
        Init();
    }
    void cleanup() {
        Cleanup();
        QCOMPARE(folder->Told(), QStringList()); // every message a test expects, it takes
        ports_.reset();
        folder.reset();
    }
};

// A missing golden file or folder fails the running test; the bytes of golden file
// tests/data/<relative>; a key's text in the shipped English catalogue.
void FailMissingGolden(const QString& relative);
QByteArray Golden(const QString& relative);
// The rows of golden table tests/data/<relative>, each cut into its cells at '|'; no rows fails the test.
QList<QStringList> GoldenTable(const QString& relative);
// A whole file, empty when it cannot be read; a file written whole, its folders made first.
QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
QString Shipped(const QString& key);

// The main window without its start-up check, which would open the settings a second later.
struct IdleMainWindow : MainWindow {
    IdleMainWindow() { StartupTimer()->stop(); }
};

// A window of type W, shown as it is made.
template <class W>
struct Showing : W {
    template <class... A>
    explicit Showing(A&&... args) : W(std::forward<A>(args)...) { this->show(); }
};

// Lists in the main window club 007 and chooses it, then his fancier 012 ("Fanciers"), then his
// first pigeon ("Pigeons"), or release point 05 ("RacePoints"): the choices of ui/expected/menu-windows.txt.
void SelectForMenu(MainWindow& w, const QString& mode);

// Clicks into the field, selects all, types `text`, then moves the focus away.
void TypeInto(QWidget* field, const QString& text);
// The named field of a window; types `text` into it and answers what it holds after leaving.
QString Typed(QWidget* window, const char* field, const QString& text);
// The texts of the named fields, one after the other; the text of a label.
QString Text(QWidget* window, std::initializer_list<const char*> fields);
QString Label(QWidget* window, const char* label = "Label1");
void Click(QWidget* window, const char* button = "Command1");
// Types the texts into Text1, Text2 and so on, then clicks Command1.
void Fill(QWidget* window, const QStringList& texts);
void Type(QWidget* window, std::initializer_list<std::pair<const char*, QString>> fields);

// While alive, runs `onModal` with the next modal window once it is shown, then closes
// that window (reject), so code that opens a dialog with exec() does not hang the test.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void(QWidget*)> onModal);
    ~ModalWatcher();

private:
    std::unique_ptr<QTimer> poll_;
};

// Every caption key a window asks for that the shipped catalogue lacks; `mode` for a window
// opened in a mode, whose title and some captions take the "(mode)" keys.
QStringList MissingCaptionKeys(QWidget* window, const QString& mode = {});

// Title and text of every message shown so far, one after the other.
QStringList ShownTexts(const MessageTestMode& messages);
// Title and text of a message in the shipped catalogue, by their keys or as message n of a window.
QStringList ShippedPair(const QString& titleKey, const QString& textKey);
QStringList NumberedMessage(const QString& form, int n);

// Runs `save` with every file save failing; answers TakeCritical of what it showed.
QString SavingFails(MessageTestMode& messages, const std::function<void()>& save);

// While alive, every transfer dialog talks to `inner`, which the test keeps: the dialog's
// session owns only a silent tracing wrapper around it.
class HoldLink {
public:
    explicit HoldLink(ClockLink& inner) {
        SetClockLinkFactoryForTests([&inner] { return std::make_unique<TracingClockLink>(inner, [](std::string_view) {}); });
    }
    ~HoldLink() { SetClockLinkFactoryForTests(nullptr); }
};

} // namespace plumet::ui::test

// The dialog tests name the program's classes as its own code does.
using namespace plumet;
using namespace plumet::ui;
using namespace plumet::ui::test;
