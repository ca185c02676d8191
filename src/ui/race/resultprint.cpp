#include "race/resultprint.h"

#include <QDate>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/appcontext.h"
#include "app/files.h"
#include "app/formtexts.h"
#include "app/textcodec.h"
#include "race/decimals.h"
#include "race/pagestoprintdialog.h"

namespace plumet::ui {
namespace {

QString& PdfForTests() {
    static QString file;
    return file;
}

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
    for (const PrintText& text : page.texts) {
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

char LocaleSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return FileDecimalSeparator(point.isEmpty() ? U'.' : point.at(0).unicode());
}

std::string RaceShortDate(const Race& race) {
    return ToBytes(QLocale::system().toString(QDate(race.year, race.month, race.day), QLocale::ShortFormat));
}

std::vector<PrintPage> ResultPagesFor(const Race& race, const std::vector<ResultLine>& lines, std::size_t firstPage,
                                      std::size_t lastPage) {
    return ResultPages(race, lines, LoadPrintTexts(LoadCatalogue()), firstPage, lastPage, RaceShortDate(race),
                       LocaleSeparator());
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

bool WriteResultPdf(const QString& file, const Race& race, const std::vector<ResultLine>& lines,
                    std::size_t firstPage, std::size_t lastPage) {
    QPdfWriter writer(file);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(600);
    writer.setTitle(ToQt(TrimRightBlanks(race.name)));
    const bool painted = PaintResultPages(writer, ResultPagesFor(race, lines, firstPage, lastPage));
    return painted && QFile(file).size() > 0;
}

void PrintResultList(QWidget* parent, const Race& race, const std::vector<ResultLine>& lines) {
    const std::size_t pages = PageCount(lines.size());
    PagesToPrintDialog range(parent);
    range.SetPageRange(1, pages);
    range.exec();
    const PageRange chosen = range.GetPageRange();
    if (!chosen.confirmed) return;
    if (!PdfForTests().isEmpty()) {
        WriteResultPdf(PdfForTests(), race, lines, chosen.first, chosen.last);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    printer.setFullPage(true);
    printer.setDocName(ToQt(TrimRightBlanks(race.name)));
    const std::vector<PrintPage> layout = ResultPagesFor(race, lines, chosen.first, chosen.last);
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&layout](QPrinter* target) { PaintResultPages(*target, layout); });
    preview.exec();
}

void SetResultPrintPdfForTests(const QString& file) { PdfForTests() = file; }

} // namespace plumet::ui
