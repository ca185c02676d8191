#include "ui/clock/printrelaydialog.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "ui/app/writelock.h"

namespace plumet::ui {
namespace {

QString& PdfOutputForTests() {
    static QString path;
    return path;
}

// "Courier New" where it is installed, else the platform's fixed font.
QFont RelayFont(int pointSize) {
    QFont font("Courier New", pointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(pointSize);
    }
    return font;
}

QString ScreenText(const std::string& bytes) { return ToQt(bytes).replace("\r\n", "\n"); }

} // namespace

QString PrintRelayDialog::FormName(PrintTarget target) {
    switch (target) {
    case PrintTarget::Printer: return "frmPrintOverPC";
    case PrintTarget::File: return "frmPrintToFile";
    case PrintTarget::Screen: break;
    }
    return "frmPrintToScreen";
}

void PrintRelayDialog::SetPdfOutputForTests(const QString& path) { PdfOutputForTests() = path; }

PrintRelayDialog::PrintRelayDialog(QWidget* parent, PrintTarget target)
    : TransferDialog(FormName(target), parent, kPrintRelayConstants, CancelBehaviour::ClosesAtOnce), target_(target) {
    auto* layout = new QVBoxLayout(this);
    if (target == PrintTarget::Screen) {
        screen_ = new QPlainTextEdit(this);
        screen_->setObjectName("Text1");
        screen_->setReadOnly(true);
        screen_->setLineWrapMode(QPlainTextEdit::NoWrap);
        screen_->setMinimumSize(560, 320);
        layout->addWidget(screen_, 1);
    } else {
        status_ = MakeStatusLine("Label1");
        status_->setMinimumWidth(380);
        layout->addWidget(status_);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* cancel = AddButton(buttons, "Command1", "Cancel");
    connect(cancel, &QPushButton::clicked, this, &PrintRelayDialog::reject);
    layout->addLayout(buttons);
    Load();
    // After the window-size rule, which sets the size but not the family.
    if (screen_) screen_->setFont(RelayFont(screen_->font().pointSize()));

    auto file = std::make_shared<PrintFile>(App().programFolder);
    if (target == PrintTarget::File) {
        // Held by the window and by the relay until both have ended.
        writeLock_ = std::make_shared<FolderWriteLock>(LockForSaving(this));
        if (!writeLock_->Held()) {
            QTimer::singleShot(0, this, &PrintRelayDialog::CloseDialog);
            return;
        }
        const SaveResult replaceable = file->CheckReplaceable();
        if (!replaceable) {
            ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(replaceable.error));
            QTimer::singleShot(0, this, &PrintRelayDialog::CloseDialog);
            return;
        }
    }
    if (status_) SetStatus(status_, texts_.Text("txtWaitForChar"));
    if (OpenPort()) Start(target == PrintTarget::File ? file : nullptr);
}

void PrintRelayDialog::Start(std::shared_ptr<PrintFile> file) {
    Session().Run([this, &session = Session(), target = target_, file, lock = writeLock_](ClockLink& link,
                                                                                         std::stop_token cancel) {
        PrintRelay relay(target);
        const PrintRelayOutcome outcome = RunPrintRelay(
            link, relay, file.get(), PrintRelayTimings{},
            [this, &session](const PrintRelayEffect& effect) { session.Post([this, effect] { Apply(effect); }); }, cancel);
        session.Post([this, outcome] { Ended(outcome); });
    });
}

void PrintRelayDialog::Apply(const PrintRelayEffect& effect) {
    if (finished_) return;
    using Kind = PrintRelayEffect::Kind;
    switch (effect.kind) {
    case Kind::Line:
        if (target_ == PrintTarget::Printer) document_.AddLine(effect.text);
        SetStatus(status_, ToQt(LineStatusText(ToBytes(texts_.Text(LineStatusSuffix(target_))), effect.lines)));
        break;
    case Kind::PageEnd: document_.EndPage(); break;
    case Kind::Waiting: SetStatus(status_, texts_.Text("txtWaitForChar")); break;
    case Kind::Show: {
        QTextCursor cursor = screen_->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(ScreenText(effect.text));
        screen_->setTextCursor(cursor);
        screen_->ensureCursorVisible();
        break;
    }
    case Kind::None: break;
    }
}

void PrintRelayDialog::Ended(const PrintRelayOutcome& outcome) {
    if (finished_) return;
    if (outcome.end == PrintRelayEnd::SaveFailed) {
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(outcome.error));
        CloseDialog();
    } else if (outcome.end == PrintRelayEnd::PortError) {
        // The port went away under the relay (an unplugged adapter).
        texts_.ShowNumbered(1);
        CloseDialog();
    }
}

void PrintRelayDialog::done(int result) {
    if (!finished_) {
        finished_ = true;
        Session().Cancel();
        writeLock_.reset();
        if (target_ == PrintTarget::Printer && !document_.Empty()) PrintDocument();
    }
    TransferDialog::done(result);
}

void PrintRelayDialog::PrintDocument() {
    const std::vector<std::vector<std::string>> pages = document_.Pages();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!PdfOutputForTests().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PdfOutputForTests());
        PrintPages(printer, pages);
        return;
    }
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&pages](QPrinter* target) { PrintPages(*target, pages); });
    preview.exec();
}

bool PrintPages(QPrinter& printer, const std::vector<std::vector<std::string>>& pages) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QFont font = RelayFont(10);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal bottom = area.height();
    bool firstPage = true;
    for (const auto& page : pages) {
        if (!firstPage) printer.newPage();
        firstPage = false;
        qreal y = 0;
        for (const std::string& line : page) {
            if (y > 0 && y + metrics.height() > bottom) {
                printer.newPage();
                y = 0;
            }
            painter.drawText(QRectF(0, y, area.width(), metrics.height()), Qt::TextExpandTabs | Qt::TextSingleLine,
                             ToQt(line));
            y += metrics.lineSpacing();
        }
    }
    return painter.end();
}

} // namespace plumet::ui
