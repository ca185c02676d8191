#pragma once
// The printed result and season lists drawn with QPainter: the core's page layout painted on a
// page scaled to 5000 x 7070 units, on a printer or into a PDF file.
#include <QString>
#include <string>
#include <vector>

#include "core/race/combinedlist.h"
#include "core/race/races.h"
#include "core/race/resultfile.h"
#include "core/race/resultlayout.h"

class QPagedPaintDevice;

namespace plumet {

// Pages first..last of the race's list in the current catalogue's print texts, with the prizes
// of its season when it has them.
std::vector<PrintPage> ResultPagesFor(const Race& race, const std::vector<ResultLine>& lines, std::size_t firstPage,
                                      std::size_t lastPage, const RacePrizes* prizes = nullptr,
                                      const std::vector<std::string>& notes = {});

// The combined list's pages, its state under the title, and after them its races with theirs.
std::vector<PrintPage> CombinedPagesFor(const CombinedResult& result, const RacePrizes* prizes = nullptr);

// Paints the pages, one sheet each; the head logo is the installation's
// "racecalc\kopfzeilenlogo_SW.jpg" when there is one, else the shipped logo, else none.
bool PaintResultPages(QPagedPaintDevice& device, const std::vector<PrintPage>& pages);

// Writes the pages as a PDF file. False when the file could not be written.
bool WritePagesPdf(const QString& file, const QString& title, const std::vector<PrintPage>& pages);
bool WriteResultPdf(const QString& file, const Race& race, const std::vector<ResultLine>& lines,
                    std::size_t firstPage, std::size_t lastPage, const RacePrizes* prizes = nullptr,
                    const std::vector<std::string>& notes = {});

} // namespace plumet
