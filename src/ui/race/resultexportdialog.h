#pragma once
// The export of the result list and of the season: a save dialog offering the CSV table and the
// web page, then the export into the chosen file.
#include <QString>
#include <optional>

#include "core/race/checksheet.h"
#include "core/race/races.h"
#include "core/race/resultexport.h"

class QWidget;

namespace plumet::ui {

struct ChosenExport {
    QString file;
    ExportFormat format = ExportFormat::Csv;
};
// Asks for the file (object name "ExportDialog"), proposing `stem` in the folder of the last
// export; the format follows the file's extension, else the chosen filter (a name without an
// extension gets the filter's). Nothing when the user cancels.
std::optional<ChosenExport> AskExportFile(QWidget* parent, const QString& title, const QString& stem);

// Asks for the file and exports the race's result list. A race without a result file and a
// file that cannot be written are reported, and nothing is written.
void ExportResultList(QWidget* parent, const Race& race);

// Exports into `file` without asking; false when something was reported.
bool ExportResultListTo(QWidget* parent, const Race& race, const QString& file, ExportFormat format);

// The same for the check sheet as shown; a sheet that could not be worked out is reported.
void ExportCheckSheetAsked(QWidget* parent, const Race& race, const CheckSheet& sheet);
bool ExportCheckSheetTo(QWidget* parent, const Race& race, const CheckSheet& sheet, const QString& file,
                        ExportFormat format);

} // namespace plumet::ui
