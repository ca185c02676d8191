#include "ui/exchange/exchangedialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"

namespace plumet::ui {
namespace {

QString Subject(ExchangeKind kind) { return kind == ExchangeKind::Fancier ? "Fancierdata" : "Loftdata"; }

QString WindowName(ExchangeKind kind, ExchangeDialog::Direction direction) {
    return "frm" + Subject(kind) + (direction == ExchangeDialog::Direction::Build ? "Build" : "Read");
}

} // namespace

ExchangeDialog::ExchangeDialog(MainWindow* mainWindow, ExchangeKind kind, Direction direction)
    : DialogBase(WindowName(kind, direction), mainWindow), main_(mainWindow), kind_(kind), direction_(direction) {
    auto* layout = new QVBoxLayout(this);
    status_ = new QLabel(this);
    status_->setObjectName("Label1");
    status_->setProperty(kNoCaptionProperty, true);
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setMinimumWidth(360);
    layout->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* close = AddButton(buttons, "Command1", "OK");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons);
    Load();
    Run();
}

QString ExchangeDialog::Status() const { return status_->text(); }

QString ExchangeDialog::StatusKey(const char* what) const { return "txt" + Subject(kind_) + what; }

void ExchangeDialog::Run() {
    const QString start = Texts().Text(StatusKey("Start"));
    status_->setText(start);
    const Path& folder = App().programFolder;
    const Settings& settings = App().settings;
    const SexCharacters sexes = SexCharactersFromTexts(ToBytes(main_->Text("MaleSex")),
                                                       ToBytes(main_->Text("FemaleSex")), ToBytes(main_->Text("NoSex")));
    const auto done = UnderWriteLock(this, [&] {
        return direction_ == Direction::Build ? BuildExchange(kind_, folder, settings)
                                              : ReadExchange(kind_, folder, settings, sexes);
    });
    // Only a read that stored something changes the list, and with it the selection.
    if (direction_ == Direction::Read && done && done->Ok()) main_->VereineAnzeigen();
    if (!done) {
        status_->setText(start + Texts().Key(WindowName(kind_, Direction::Read) + "." + StatusKey("Error")));
        return;
    }
    const ExchangeOutcome& outcome = *done;
    if (outcome.Ok()) {
        status_->setText(start + Texts().Text(StatusKey("Ready")));
        const QString file = ToQt(ExchangeFileName(kind_, settings));
        main_->Tell(direction_ == Direction::Build
                        ? main_->Text("txtExchangeWritten").arg(file).arg(outcome.lines)
                        : main_->Text("txtExchangeRead").arg(file).arg(outcome.lines).arg(outcome.filesWritten));
        return;
    }
    // The build windows have no error text of their own; they take the read window's.
    status_->setText(start + Texts().Key(WindowName(kind_, Direction::Read) + "." + StatusKey("Error")));
    if (direction_ == Direction::Read && outcome.FileRefused())
        ShowMessage(this, MessageIcon::Critical, Texts().Text("MsgBox1Name"),
                    Texts().Text("MsgBox1Text") + "\n\n" + ToQt(outcome.error));
    else
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(outcome.error));
}

} // namespace plumet::ui
