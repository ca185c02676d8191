#pragma once
// The command run in-process on a test folder, and its exports read back as other software
// does: the CSV table as a spreadsheet reads it, the web page with a strict XML reader.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"

inline int Cli(const QTemporaryDir& folder, std::vector<std::string> args, std::string* out = nullptr,
               std::string* err = nullptr) {
    args.insert(args.begin(), {"--folder", folder.path().toStdString()});
    std::ostringstream output;
    std::ostringstream errors;
    const int status = plumet::cli::RunCli(args, output, errors, false);
    if (out) *out = output.str();
    if (err) *err = errors.str();
    return status;
}

// RFC 4180: quoted fields may hold commas, quotes (doubled) and line ends; records end with CR LF.
inline QList<QStringList> ReadCsv(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes && c == '"' && text.mid(i + 1, 1) == "\"") field += text[i++];
        else if (c == '"') inQuotes = !inQuotes;
        else if (!inQuotes && c == ',') record << std::exchange(field, {});
        else if (!inQuotes && text.mid(i, 2) == "\r\n") {
            record << std::exchange(field, {});
            records << std::exchange(record, {});
            ++i;
        } else field += c;
    }
    return records;
}

// The cells of every row of the page's tables; one error of the XML reader fails.
inline QList<QStringList> HtmlRows(const QByteArray& page, QString* error) {
    QXmlStreamReader xml(page);
    QList<QStringList> rows;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == u"tr") rows << QStringList();
        else if (xml.name() == u"td" || xml.name() == u"th") rows.last() << xml.readElementText();
    }
    if (xml.hasError()) *error = xml.errorString() + " at line " + QString::number(xml.lineNumber());
    return rows;
}
