#pragma once
// Shared set-up for the dialog tests: a fresh program folder with the shipped catalogue,
// message boxes answered in advance, helpers to type into fields.
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/messages.h"

class QWidget;

namespace plumet::ui::test {

class ProgramFolderFixture {
public:
    ProgramFolderFixture();
    ~ProgramFolderFixture();
    QString Path() const { return dir_.path(); }
    void Write(const QString& relative, const QByteArray& bytes) const;
    QByteArray Read(const QString& relative) const;
    MessageTestMode& Messages() { return *messages_; }

private:
    QTemporaryDir dir_;
    std::unique_ptr<MessageTestMode> messages_;
};

// The catalogue value of a key in the shipped English catalogue.
QString Shipped(const QString& key);

// Clicks into the field, selects all, types `text`, then moves the focus away.
void TypeInto(QWidget* field, const QString& text);

} // namespace plumet::ui::test
