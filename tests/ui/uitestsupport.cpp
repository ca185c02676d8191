#include "uitestsupport.h"

#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>

#include "common/catalogues.h"
#include "common/textcodec.h"
#include "core/app/catalogue.h"
#include "serial/serialports.h"
#include "ui/app/formtexts.h"
#include "ui/app/startup.h"

namespace plumet::ui::test {

ProgramFolderFixture::ProgramFolderFixture() : messages_(std::make_unique<MessageTestMode>()) {
    App() = AppContext{};
    PrepareProgramFolder(dir_.path().toStdString());
}

ProgramFolderFixture::~ProgramFolderFixture() { App() = AppContext{}; }

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

void ProgramFolderFixture::Write(const QString& relative, const QByteArray& bytes) const {
    WriteFile(QDir(dir_.path()).filePath(relative), bytes);
}

void ProgramFolderFixture::Install(const QString& set) const {
    const QDir from(QString(PLUMET_TEST_DATA) + "/" + set);
    if (!from.exists()) FailMissingGolden(set);
    for (QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString relative = from.relativeFilePath(it.next());
        Write(relative, Golden(set + "/" + relative));
    }
}

QStringList ProgramFolderFixture::Told() {
    const QStringList texts = ShownTexts(*messages_);
    messages_->Clear();
    return texts;
}

QString TakeCritical(MessageTestMode& messages) {
    const std::vector<ShownMessage> shown = messages.Shown();
    messages.Clear();
    if (shown.size() != 1 || shown[0].icon != MessageIcon::Critical) return "not one critical message";
    return shown[0].title + ": " + shown[0].text;
}

void FailMissingGolden(const QString& relative) {
    QTest::qFail(qPrintable("missing golden file tests/data/" + relative), __FILE__, __LINE__);
}

QByteArray Golden(const QString& relative) {
    QFile file(QString(PLUMET_TEST_DATA) + "/" + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : (FailMissingGolden(relative), QByteArray());
}

QList<QStringList> GoldenTable(const QString& relative) {
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(Golden(relative)).split('\n', Qt::SkipEmptyParts)) rows << line.split('|');
    if (rows.isEmpty()) QTest::qFail(qPrintable("no rows in golden file tests/data/" + relative), __FILE__, __LINE__);
    return rows;
}

QByteArray ProgramFolderFixture::Read(const QString& relative) const {
    return ReadFile(QDir(dir_.path()).filePath(relative));
}

QString Shipped(const QString& key) { return ToQt(ShippedCatalogue().LookupText(key.toStdString())); }

void SelectForMenu(MainWindow& w, const QString& mode) {
    w.VereineAnzeigen(), w.List()->setCurrentRow(0);
    if (mode == "Fanciers" || mode == "Pigeons") w.ZuechterAnzeigen(), w.List()->setCurrentRow(1);
    if (mode == "Pigeons") w.TaubenAnzeigen(), w.List()->setCurrentRow(0);
    if (mode == "RacePoints") w.RacePointsAnzeigen(), w.List()->setCurrentRow(4);
}

void TypeInto(QWidget* field, const QString& text) {
    field->setFocus();
    QApplication::processEvents();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
    }
    for (const QChar c : text) {
        if (c.unicode() < 0x80) QTest::keyClicks(field, QString(c));
        else QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    field->clearFocus();
    QApplication::processEvents();
}

QString Typed(QWidget* window, const char* field, const QString& text) {
    auto* edit = window->findChild<QLineEdit*>(field);
    TypeInto(edit, text);
    return edit->text();
}

QString Text(QWidget* window, std::initializer_list<const char*> fields) {
    QString text;
    for (const char* name : fields) text += window->findChild<QLineEdit*>(name)->text();
    return text;
}

QString Label(QWidget* window, const char* label) { return window->findChild<QLabel*>(label)->text(); }

void Click(QWidget* window, const char* button) { window->findChild<QAbstractButton*>(button)->click(); }

void Type(QWidget* window, std::initializer_list<std::pair<const char*, QString>> fields) {
    for (const auto& [field, text] : fields) Typed(window, field, text);
}

void Fill(QWidget* window, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) Typed(window, qPrintable(QString("Text%1").arg(i + 1)), texts[i]);
    Click(window);
}

ModalWatcher::ModalWatcher(std::function<void(QWidget*)> onModal) : poll_(std::make_unique<QTimer>()) {
    poll_->setInterval(10);
    QObject::connect(poll_.get(), &QTimer::timeout, [this, onModal] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        poll_->stop();
        onModal(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible()) dialog->reject();
    });
    poll_->start();
}

ModalWatcher::~ModalWatcher() = default;

QStringList MissingCaptionKeys(QWidget* window, const QString& mode) {
    const QString prefix = window->objectName();
    QStringList missing;
    auto check = [&](const QString& key) {
        if (!ShippedCatalogue().Contains(key.toStdString())) missing << key;
    };
    const auto byMode = [&mode](const QObject* object) {
        return !mode.isEmpty() && object->property("captionByMode").toBool() ? "(" + mode + ")" : QString();
    };
    check(prefix + ".Caption" + byMode(window));
    for (QObject* control : window->findChildren<QObject*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith("qt_") || control->property(kNoCaptionProperty).toBool()) continue;
        if (!(qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control) ||
              qobject_cast<QGroupBox*>(control) || qobject_cast<QAction*>(control) || qobject_cast<QMenu*>(control)))
            continue;
        const QVariant explicitKey = control->property(kCaptionKeyProperty);
        check(explicitKey.isValid() ? explicitKey.toString() : prefix + "." + name + ".Caption" + byMode(control));
    }
    return missing;
}

QStringList ShippedPair(const QString& titleKey, const QString& textKey) { return {Shipped(titleKey), Shipped(textKey)}; }

QStringList NumberedMessage(const QString& form, int n) {
    return ShippedPair(form + ".MsgBoxName" + QString::number(n), form + ".MsgBoxText" + QString::number(n));
}

QString SavingFails(MessageTestMode& messages, const std::function<void()>& save) {
    messages.Clear();
    SetSaveFaultForTests([](const Path&) { return true; });
    save();
    SetSaveFaultForTests(nullptr);
    return TakeCritical(messages);
}

QStringList ShownTexts(const MessageTestMode& messages) {
    QStringList texts;
    for (const ShownMessage& shown : messages.Shown()) texts << shown.title << shown.text;
    return texts;
}

FixedPorts::FixedPorts(std::vector<std::string> entries) {
    SetPortEnumerationForTests([entries](const std::string&) { return entries; });
}

FixedPorts::~FixedPorts() { SetPortEnumerationForTests(nullptr); }

} // namespace plumet::ui::test
