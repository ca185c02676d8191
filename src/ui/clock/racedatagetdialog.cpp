#include "ui/clock/racedatagetdialog.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/fieldrules.h"
#include "core/app/timesource.h"
#include "ui/app/mainwindow.h"
#include "ui/app/writelock.h"
#include "ui/clock/storepathselect.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {
namespace {

const FixedField::Rules kTwoDigits{2, DigitKey, ZeroFilledOnLeave, false};

QFont ListFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

DateTime Today() { return SystemTimeSource().Now(); }

} // namespace

RacedataGetDialog::RacedataGetDialog(MainWindow* mainWindow)
    : TransferDialog("frmRacedataGet", mainWindow, kRacedataGetConstants, CancelBehaviour::ClosesAtOnce) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    // Each two-digit field sits at the left of its row, the note right behind the first.
    auto* pointRow = new QWidget(this);
    auto* pointLayout = new QHBoxLayout(pointRow);
    pointLayout->setContentsMargins(0, 0, 0, 0);
    point_ = AddTwoDigitField("Text1");
    point_->setParent(pointRow);
    auto* note = new QLabel("(0 = all flights)", pointRow);
    note->setObjectName("Label5");
    pointLayout->addWidget(point_);
    pointLayout->addWidget(note);
    pointLayout->addStretch();
    AddLabelled(grid, 0, "Label1", "Racepoint-No. (0..99) :", pointRow)->setBuddy(point_);

    week_ = AddTwoDigitField("Text2");
    AddLabelled(grid, 1, "Label2", "Calenderweek (1..52) :", week_);
    grid->setAlignment(week_, Qt::AlignLeft);

    auto* date = new QWidget(this);
    auto* dateRow = new QHBoxLayout(date);
    dateRow->setContentsMargins(0, 0, 0, 0);
    day_ = AddTwoDigitField("Text3");
    month_ = AddTwoDigitField("Text4");
    year_ = AddTwoDigitField("Text5");
    for (FixedField* field : {day_, month_, year_}) {
        field->setParent(date);
        if (field != day_) {
            auto* dot = new QLabel(".", date);
            dot->setProperty(kNoCaptionProperty, true);
            dateRow->addWidget(dot);
        }
        dateRow->addWidget(field);
    }
    dateRow->addStretch();
    AddLabelled(grid, 2, "Label3", "Date (TT.MM.YY) :", date)->setBuddy(day_);
    grid->setColumnStretch(1, 1);

    list_ = new QListWidget(this);
    list_->setObjectName("List1");
    list_->setFont(ListFont());
    list_->setMinimumSize(420, 180);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(list_, 1);
    status_ = MakeStatusLine("Label4");
    layout->addWidget(status_);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    getData_ = AddButton(buttons, "Command2", "Get data");
    getData_->setDefault(true);
    store_ = AddButton(buttons, "Command3", "Store to Disk");
    buttons->addStretch();
    auto* cancel = AddButton(buttons, "Command1", "Cancel");
    connect(getData_, &QPushButton::clicked, this, &RacedataGetDialog::GetData);
    connect(store_, &QPushButton::clicked, this, &RacedataGetDialog::StoreToDisk);
    connect(cancel, &QPushButton::clicked, this, &RacedataGetDialog::reject);

    for (FixedField* field : {point_, week_, day_, month_, year_})
        connect(field, &FixedField::left, this, [this, field] { ApplyRule(field); });

    Load();
    const ReadoutFields start = ReadoutFieldsFor(Today());
    point_->SetBytes(start.point);
    week_->SetBytes(start.week);
    day_->SetBytes(start.day);
    month_->SetBytes(start.month);
    year_->SetBytes(start.year);
    sexes_ = CatalogueSexTexts(LoadCatalogue());
    LoadList();
    OpenPort();
}

RacedataGetDialog::~RacedataGetDialog() {
    // Hiding the window on the way out moves the focus, and leaving a field would reload the list.
    for (FixedField* field : {point_, week_, day_, month_, year_}) disconnect(field, nullptr, this, nullptr);
}

FixedField* RacedataGetDialog::AddTwoDigitField(const QString& name) {
    auto* field = new FixedField(kTwoDigits, this);
    field->setObjectName(name);
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance("0000") + 16);
    return field;
}

void RacedataGetDialog::ApplyRule(FixedField* field) {
    const DateTime today = Today();
    const std::string text = field->Bytes();
    std::string after = text;
    if (field == point_) after = ReadoutPointOnLeave(text);
    else if (field == week_)
        after = ReadoutWeekOnLeave(text, today, ReadoutYear(ReadoutYearOnLeave(year_->Bytes(), today)),
                                   std::stoi(ReadoutMonthOnLeave(month_->Bytes(), today)));
    else if (field == day_) after = ReadoutDayOnLeave(text, today);
    else if (field == month_) after = ReadoutMonthOnLeave(text, today);
    else if (field == year_) after = ReadoutYearOnLeave(text, today);
    if (after != ToBytes(field->text())) field->SetBytes(after);
    // The week and the point name the file the list shows.
    if (field == point_ || field == week_) LoadList();
}

ReadoutFields RacedataGetDialog::Fields() {
    const ReadoutFields fields =
        ReadoutFieldsOnLeave({point_->Bytes(), week_->Bytes(), day_->Bytes(), month_->Bytes(), year_->Bytes()}, Today());
    point_->SetBytes(fields.point);
    week_->SetBytes(fields.week);
    day_->SetBytes(fields.day);
    month_->SetBytes(fields.month);
    year_->SetBytes(fields.year);
    return fields;
}

void RacedataGetDialog::LoadList() {
    const ReadoutFields fields{point_->Bytes(), week_->Bytes(), {}, {}, {}};
    lines_ = LoadReadoutFile(ReadoutFilePath(App().programFolder, App().settings, fields.week, fields.point)).lines;
    list_->clear();
    for (const std::string& entry : ReadoutListLines(lines_)) list_->addItem(ToQt(entry));
    list_->scrollToBottom();
}

void RacedataGetDialog::ShowStatus(RacedataStatus status) { ShowStatus(std::string(RacedataStatusKey(status))); }

void RacedataGetDialog::ShowStatus(const std::string& key) {
    if (!key.empty()) SetStatus(status_, Texts().Text(QString::fromStdString(key)));
}

void RacedataGetDialog::SetBusy(bool busy) {
    for (QWidget* control : std::initializer_list<QWidget*>{point_, week_, day_, month_, year_, getData_, store_})
        control->setEnabled(!busy);
}

void RacedataGetDialog::GetData() {
    if (!PortOpen() || Session().Running()) return;
    const RacedataTarget target{App().programFolder, App().settings, Fields(), sexes_};
    LoadList();
    SetBusy(true);
    TransferSession* session = &Session();
    const milliseconds timeout = Constants().byteTimeout;
    const std::string task = "Plumet: " + ToBytes(windowTitle());
    session->Run([this, session, target, timeout, task, wait = App().writeLockWait](ClockLink& link,
                                                                                     std::stop_token cancel) {
        // The whole read, from the first register read to the appended lines, is one writer's.
        const FolderWriteLock lock(target.programFolder, task, wait);
        if (!lock.Held()) {
            session->Post([this, why = lock.Refusal()] {
                SetBusy(false);
                ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(why));
            });
            return;
        }
        const TransferProgressSink progress = [this, session](const TransferProgress& p) {
            session->Post([this, key = p.what] { ShowStatus(key); });
        };
        const RacedataOutcome outcome = GetRacedata(link, target, timeout, progress, cancel);
        session->Post([this, outcome] { Finish(outcome); });
    });
}

void RacedataGetDialog::Finish(const RacedataOutcome& outcome) {
    SetBusy(false);
    if (outcome.result == RacedataResult::Cancelled) return;
    ShowStatus(outcome.status);
    if (outcome.result == RacedataResult::Refused) {
        ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(outcome.error));
    } else if (outcome.message == kRacedataSaveFailed) {
        ShowMessage(this, MessageIcon::Critical, Texts().Text("MsgBoxName8"),
                    Texts().Text("MsgBoxText8") + "\n\n" + ToQt(outcome.error));
    } else if (outcome.message != 0) {
        Texts().ShowNumbered(outcome.message, outcome.message == kRacedataAlreadyRead ? MessageIcon::Information
                                                                                       : MessageIcon::Critical);
    }
    if (outcome.result == RacedataResult::Saved)
        TellMainWindow(this, Texts().Text("txtDataRead")
                                 .arg(ToQt(outcome.fancier))
                                 .arg(outcome.arrivals)
                                 .arg(ToQt(PathText(outcome.file))));
    LoadList();
}

void RacedataGetDialog::StoreToDisk() {
    if (Session().Running()) return;
    const ReadoutFields fields = Fields();
    LoadList();
    const QString folder = StoreRacedataPathSelect::Choose(this, QString::fromStdU16String(App().programFolder.u16string()));
    if (folder.isEmpty()) return;
    ShowStatus(RacedataStatus::DataSave);
    const auto saved = UnderWriteLock(this, [&] {
        return StoreReadoutCopy(lines_, Path(folder.toStdU16String()),
                                ReadoutFileName(App().settings, fields.week, fields.point));
    });
    if (!saved) return;
    if (!*saved) {
        ShowMessage(this, MessageIcon::Critical, Texts().Text("MsgBoxName9"),
                    Texts().Text("MsgBoxText9") + "\n\n" + ToQt(saved->error));
        return;
    }
    ShowStatus(RacedataStatus::DataReady);
    TellWritten(this, QDir(folder).filePath(ToQt(ReadoutFileName(App().settings, fields.week, fields.point))));
}

} // namespace plumet::ui
