#pragma once
// The printed result list through Qt print support: a print preview of the painted pages, and
// from there the printer or a PDF.
#include <QString>
#include <string>
#include <vector>

#include "core/race/checksheet.h"
#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "core/race/resultlayout.h"

class QWidget;

namespace plumet::ui {

// Asks for the pages (frmRaceCalcPagesToPrint), then shows the print preview of those of
// `pages`, from where they go to a printer or into a PDF file.
void PrintPages(QWidget* parent, const QString& documentName, const std::vector<PrintPage>& pages);

// PrintResults: the race's list with the prizes of its season, through PrintPages; `notes` name
// the files it was not read whole from.
void PrintResultList(QWidget* parent, const Race& race, const std::vector<ResultLine>& lines,
                     const std::vector<std::string>& notes = {});

// The race's check sheet as shown, through PrintPages.
void PrintCheckSheet(QWidget* parent, const Race& race, const CheckSheet& sheet);

// Tests: PrintPages writes the chosen pages to this PDF instead of showing the preview.
void SetResultPrintPdfForTests(const QString& file);

} // namespace plumet::ui
