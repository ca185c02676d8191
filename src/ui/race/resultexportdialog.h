#pragma once
// The result window's export: a save dialog offering the CSV table and the web page, then the
// export of the race's result file into the chosen file.
#include <QString>

#include "race/races.h"
#include "race/resultexport.h"

class QWidget;

namespace plumet::ui {

// Asks for the file (object name "ExportDialog") and exports; the format follows the file's
// extension, else the chosen filter (a name without an extension gets the filter's). A race without a result
// file and a file that cannot be written are reported, and nothing is written.
void ExportResultList(QWidget* parent, const Race& race);

// Exports into `file` without asking; false when something was reported.
bool ExportResultListTo(QWidget* parent, const Race& race, const QString& file, ExportFormat format);

} // namespace plumet::ui
