#pragma once
// The printed result list through Qt print support: the core's page layout painted on a printer
// page scaled to 5000 x 7070 units, with a print preview (and from there the printer or a PDF).
#include <QString>
#include <string>
#include <vector>

#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "core/race/resultlayout.h"

class QPagedPaintDevice;
class QWidget;

namespace plumet::ui {

// The decimal separator of the user's locale, as the race files and lists write it.
char LocaleSeparator();
// The race date, or a date of a season, in the user's short date form.
std::string RaceShortDate(const Race& race);
std::string ShortDate(const SeasonDate& date);

// Pages first..last of the race's list in the current catalogue's print texts, with the prizes
// of its season when it has them.
std::vector<PrintPage> ResultPagesFor(const Race& race, const std::vector<ResultLine>& lines, std::size_t firstPage,
                                      std::size_t lastPage, const RacePrizes* prizes = nullptr);

// Paints the pages, one sheet each; the head logo is the installation's
// "racecalc\kopfzeilenlogo_SW.jpg" when there is one, else the shipped logo, else none.
bool PaintResultPages(QPagedPaintDevice& device, const std::vector<PrintPage>& pages);

// Writes the pages as a PDF file. False when the file could not be written.
bool WritePagesPdf(const QString& file, const QString& title, const std::vector<PrintPage>& pages);
bool WriteResultPdf(const QString& file, const Race& race, const std::vector<ResultLine>& lines,
                    std::size_t firstPage, std::size_t lastPage, const RacePrizes* prizes = nullptr);

// Asks for the pages (frmRaceCalcPagesToPrint), then shows the print preview of those of
// `pages`, from where they go to a printer or into a PDF file.
void PrintPages(QWidget* parent, const QString& documentName, const std::vector<PrintPage>& pages);

// PrintResults: the race's list with the prizes of its season, through PrintPages.
void PrintResultList(QWidget* parent, const Race& race, const std::vector<ResultLine>& lines);

// Tests: PrintPages writes the chosen pages to this PDF instead of showing the preview.
void SetResultPrintPdfForTests(const QString& file);

} // namespace plumet::ui
