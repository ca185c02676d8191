#include "ui/race/resultexportdialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/appcontext.h"
#include "common/localeforms.h"
#include "common/textcodec.h"
#include "ui/app/formtexts.h"
#include "ui/app/mainwindow.h"
#include "ui/app/messages.h"
#include "ui/app/writelock.h"

namespace plumet::ui {
namespace {

QString WindowText(const TextCatalogue& catalogue, const char* key) {
    return ToQt(catalogue.LookupText(std::string("frmRaceResultsShow.") + key));
}

QString Suffix(ExportFormat format) { return format == ExportFormat::Csv ? "csv" : "html"; }

// Where the last export went, for the next one in this run.
QString& LastFolder() {
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

} // namespace

bool ExportResultListTo(QWidget* parent, const Race& race, const QString& file, ExportFormat format) {
    const TextCatalogue catalogue = LoadCatalogue();
    const auto exported = UnderWriteLock(parent, [&] {
        return ExportResults(App().programFolder, race, LoadExportTexts(catalogue), RaceShortDate(race),
                             {{format, Path(file.toStdU16String())}});
    });
    if (!exported) return false;
    const ExportOutcome& outcome = *exported;
    switch (outcome.status) {
    case ExportStatus::Written: TellWritten(parent, file); return true;
    case ExportStatus::NoResultFile:
        ShowMessage(parent, MessageIcon::Exclamation,
                    ToQt(catalogue.LookupText("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound2")),
                    ToQt(catalogue.LookupText("frmRaceSelect.frmRaceSelectMsgBoxRaceNotFound1")));
        return false;
    case ExportStatus::NotWritten:
        ShowMessage(parent, MessageIcon::Critical, WindowText(catalogue, "ExportTitle"), ToQt(outcome.error));
        return false;
    }
    return false;
}

std::optional<ChosenExport> AskExportFile(QWidget* parent, const QString& title, const QString& stem) {
    const TextCatalogue catalogue = LoadCatalogue();
    const QString csv = WindowText(catalogue, "ExportFilterCsv");
    const QString html = WindowText(catalogue, "ExportFilterHtml");
    const auto formatOfFilter = [html](const QString& filter) {
        return filter == html ? ExportFormat::Html : ExportFormat::Csv;
    };
    QFileDialog dialog(parent, title, LastFolder());
    dialog.setObjectName("ExportDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({csv, html});
    dialog.selectFile(stem + "." + Suffix(ExportFormat::Csv));
    // The proposed name follows the chosen format.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, formatOfFilter](const QString& filter) {
        const QFileInfo typed(dialog.selectedFiles().value(0));
        if (!typed.fileName().isEmpty() && ExportFormatOf(Path(typed.fileName().toStdU16String())))
            dialog.selectFile(typed.completeBaseName() + "." + Suffix(formatOfFilter(filter)));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString file = dialog.selectedFiles().constFirst();
    LastFolder() = QFileInfo(file).absolutePath();
    const std::optional<ExportFormat> byName = ExportFormatOf(Path(file.toStdU16String()));
    const ExportFormat format = byName.value_or(formatOfFilter(dialog.selectedNameFilter()));
    if (!byName && QFileInfo(file).suffix().isEmpty()) file += "." + Suffix(format);
    return ChosenExport{file, format};
}

void ExportResultList(QWidget* parent, const Race& race) {
    const auto chosen =
        AskExportFile(parent, WindowText(LoadCatalogue(), "ExportTitle"), ToQt(TrimmedRaceName(race)));
    if (chosen) ExportResultListTo(parent, race, chosen->file, chosen->format);
}

bool ExportCheckSheetTo(QWidget* parent, const Race& race, const CheckSheet& sheet, const QString& file,
                        ExportFormat format) {
    const TextCatalogue catalogue = LoadCatalogue();
    const auto saved = UnderWriteLock(parent, [&] {
        return ExportCheckSheet(App().programFolder, race, sheet, LoadPrintTexts(catalogue), RaceShortDate(race),
                                {{format, Path(file.toStdU16String())}});
    });
    if (!saved) return false;
    if (!*saved) {
        ShowMessage(parent, MessageIcon::Critical, WindowText(catalogue, "CheckSheetExportTitle"), ToQt(saved->error));
        return false;
    }
    TellWritten(parent, file);
    return true;
}

void ExportCheckSheetAsked(QWidget* parent, const Race& race, const CheckSheet& sheet) {
    const QString title = WindowText(LoadCatalogue(), "CheckSheetExportTitle");
    const QString stem = ToQt(TrimmedRaceName(race)) + "-" + ToQt(CatalogueText("CheckSheet.Title"));
    if (const auto chosen = AskExportFile(parent, title, stem))
        ExportCheckSheetTo(parent, race, sheet, chosen->file, chosen->format);
}

} // namespace plumet::ui
