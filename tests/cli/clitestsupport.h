#pragma once
// The command run in-process on a program folder, and the golden files of what it writes.
#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "programfolder.h"

using namespace plumet::e2e;

// The exit status; what went to standard output and error into `out` and `err`.
inline int Cli(const QString& folder, std::vector<std::string> args, std::string* out = nullptr,
               std::string* err = nullptr) {
    args.insert(args.begin(), {"--folder", folder.toStdString()});
    std::ostringstream output;
    std::ostringstream errors;
    const int status = plumet::cli::RunCli(args, output, errors, false);
    if (out) *out = output.str();
    if (err) *err = errors.str();
    return status;
}

// A golden export, its dates of the form DD.MM.YYYY as this system's locale writes them.
inline QByteArray GoldenWithLocalDates(const QString& data) {
    QString text = QString::fromUtf8(Golden(data));
    const QRegularExpression date(R"(\b\d\d\.\d\d\.\d{4}\b)");
    for (const QRegularExpressionMatch& m : date.globalMatch(QString(text)))
        text.replace(m.captured(), QLocale::system().toString(QDate::fromString(m.captured(), "dd.MM.yyyy"), QLocale::ShortFormat));
    return text.toUtf8();
}
