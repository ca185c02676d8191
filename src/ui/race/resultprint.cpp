#include "ui/race/resultprint.h"

#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "common/appcontext.h"
#include "common/catalogues.h"
#include "common/localeforms.h"
#include "common/textcodec.h"
#include "print/resultpages.h"
#include "ui/race/pagestoprintdialog.h"

namespace plumet::ui {
namespace {

QString& PdfForTests() {
    static QString file;
    return file;
}

} // namespace

void PrintPages(QWidget* parent, const QString& documentName, const std::vector<PrintPage>& pages) {
    PagesToPrintDialog range(parent);
    range.SetPageRange(1, std::max<std::size_t>(pages.size(), 1));
    range.exec();
    const PageRange chosen = range.GetPageRange();
    if (!chosen.confirmed || chosen.first < 1 || chosen.last > pages.size()) return;
    const std::vector<PrintPage> layout(pages.begin() + static_cast<std::ptrdiff_t>(chosen.first - 1),
                                        pages.begin() + static_cast<std::ptrdiff_t>(chosen.last));
    if (!PdfForTests().isEmpty()) {
        WritePagesPdf(PdfForTests(), documentName, layout);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    printer.setFullPage(true);
    printer.setDocName(documentName);
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&layout](QPrinter* target) { PaintResultPages(*target, layout); });
    preview.exec();
}

void PrintResultList(QWidget* parent, const Race& race, const std::vector<ResultLine>& lines,
                     const std::vector<std::string>& notes) {
    const RaceSeason season = SeasonOfRace(App().programFolder, race);
    PrintPages(parent, ToQt(TrimRightBlanks(race.name)),
               ResultPagesFor(race, lines, 1, PageCount(lines.size()), season.Prizes(), notes));
}

void PrintCheckSheet(QWidget* parent, const Race& race, const CheckSheet& sheet) {
    PrintPages(parent, ToQt(TrimRightBlanks(race.name)),
               CheckSheetPages(race, sheet, LoadPrintTexts(LoadCatalogue()), RaceShortDate(race)));
}

void SetResultPrintPdfForTests(const QString& file) { PdfForTests() = file; }

} // namespace plumet::ui
