#include "uitestsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "app/appcontext.h"
#include "app/startup.h"
#include "app/textcodec.h"

namespace plumet::ui::test {

ProgramFolderFixture::ProgramFolderFixture() : messages_(std::make_unique<MessageTestMode>()) {
    App() = AppContext{};
    PrepareProgramFolder(dir_.path().toStdString());
}

ProgramFolderFixture::~ProgramFolderFixture() { App() = AppContext{}; }

void ProgramFolderFixture::Write(const QString& relative, const QByteArray& bytes) const {
    const QString path = dir_.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

QByteArray ProgramFolderFixture::Read(const QString& relative) const {
    QFile file(dir_.filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Shipped(const QString& key) {
    TextCatalogue catalogue;
    QFile file(":/data/club.txt");
    if (file.open(QIODevice::ReadOnly)) catalogue.LoadFromBytes(file.readAll().toStdString());
    return ToQt(catalogue.LookupText(key.toStdString()));
}

void TypeInto(QWidget* field, const QString& text) {
    field->setFocus();
    QApplication::processEvents();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    QTest::keyClicks(field, text);
    field->clearFocus();
    QApplication::processEvents();
}

} // namespace plumet::ui::test
