#include "print/resultpages.h"

#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "common/appcontext.h"
#include "common/catalogues.h"
#include "common/localeforms.h"
#include "common/textcodec.h"
#include "core/app/files.h"
#include "core/race/racelog.h"

namespace plumet {
namespace {

// Point sizes in page units: the 5000 units of the page are the 210 mm of an A4 sheet.
int PageUnits(int pointSize) { return qRound(pointSize * 25.4 / 72.0 * kPageWidth / 210.0); }

// "Arial" where it is installed, else the platform's sans font.
QFont PrintFont(const PrintText& text) {
    QFont font("Arial");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(PageUnits(text.pointSize));
    font.setBold(text.bold);
    return font;
}

QImage HeadLogo() {
    QImage logo(QString::fromStdString(ResolvePath(App().programFolder, "racecalc\\kopfzeilenlogo_SW.jpg").string()));
    if (logo.isNull()) logo.load(":/data/logo.png");
    return logo;
}

void PaintPage(QPainter& painter, const PrintPage& page, const QImage& logo) {
    if (!logo.isNull()) {
        const QSize size = logo.size().scaled(kLogoBox.width, kLogoBox.height, Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint(kLogoBox.x, kLogoBox.y), size), logo);
    }
    constexpr int kWide = 4000; // room for any text beside its position
    const PrintMeasure measure = [](const PrintText& as, std::string_view text) {
        return QFontMetrics(PrintFont(as)).horizontalAdvance(ToQt(std::string(text)));
    };
    for (const PrintText& text : WrapPrintTexts(page.texts, measure)) {
        if (text.text.empty()) continue;
        painter.setFont(PrintFont(text));
        const int height = QFontMetrics(painter.font()).height() + 10;
        const bool ending = text.align == PrintAlign::End;
        const QRect box = ending ? QRect(text.x - kWide, text.y, kWide, height) : QRect(text.x, text.y, kWide, height);
        painter.drawText(box, (ending ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop | Qt::TextDontClip,
                         ToQt(text.text));
    }
}

} // namespace

std::vector<PrintPage> ResultPagesFor(const Race& race, const std::vector<ResultLine>& lines, std::size_t firstPage,
                                      std::size_t lastPage, const RacePrizes* prizes,
                                      const std::vector<std::string>& notes) {
    const RaceLog log = ReadRaceLog(App().programFolder, race.name);
    std::vector<PrintPage> pages = ResultPages(race, lines, LoadPrintTexts(LoadCatalogue()), firstPage, lastPage,
                                               RaceShortDate(race), LocaleSeparator(), prizes, notes, RaceStateText(log));
    // The log follows the list's last page, so a printed final list carries its record.
    const std::size_t listPages = PageCount(lines.size());
    if (lastPage >= listPages)
        for (PrintPage& page : LogPages(log, CatalogueText("frmRaceResultsShow.LogTab"), race.name, listPages + 1))
            pages.push_back(std::move(page));
    return pages;
}

std::vector<PrintPage> CombinedPagesFor(const CombinedResult& result, const RacePrizes* prizes) {
    const std::vector<ResultLine> lines = CombinedPrintLines(result);
    const std::size_t listPages = PageCount(lines.size());
    const TextCatalogue catalogue = LoadCatalogue();
    std::vector<PrintPage> pages = ResultPages(result.head, lines, LoadPrintTexts(catalogue), 1, listPages,
                                               RaceShortDate(result.head), LocaleSeparator(), prizes, {}, result.state);
    for (PrintPage& page : CombinedRacePages(catalogue, result, listPages + 1)) pages.push_back(std::move(page));
    return pages;
}

bool PaintResultPages(QPagedPaintDevice& device, const std::vector<PrintPage>& pages) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QImage logo = HeadLogo();
    const QRect sheet = device.pageLayout().fullRectPixels(device.logicalDpiX());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) return false;
        painter.setViewport(0, 0, sheet.width(), sheet.height());
        painter.setWindow(0, 0, kPageWidth, kPageHeight);
        PaintPage(painter, pages[i], logo);
    }
    return painter.end();
}

bool WritePagesPdf(const QString& file, const QString& title, const std::vector<PrintPage>& pages) {
    QPdfWriter writer(file);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(600);
    writer.setTitle(title);
    const bool painted = PaintResultPages(writer, pages);
    return painted && QFile(file).size() > 0;
}

bool WriteResultPdf(const QString& file, const Race& race, const std::vector<ResultLine>& lines,
                    std::size_t firstPage, std::size_t lastPage, const RacePrizes* prizes,
                    const std::vector<std::string>& notes) {
    return WritePagesPdf(file, ToQt(TrimRightBlanks(race.name)),
                         ResultPagesFor(race, lines, firstPage, lastPage, prizes, notes));
}

} // namespace plumet
