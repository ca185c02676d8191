#include "ui/app/settingsdialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/app/optionscolumns.h"
#include "core/clock/portlist.h"
#include "serial/serialports.h"
#include "ui/app/mainwindow.h"
#include "ui/app/scaleform.h"
#include "ui/app/writelock.h"
#include "ui/widgets/fixedfield.h"

namespace plumet::ui {

SettingsDialog::SettingsDialog(MainWindow* mainWindow) : DialogBase("frmSet", mainWindow), main_(mainWindow) {
    auto* layout = new QVBoxLayout(this);
    // Two columns, so that the dialog stays low enough for a laptop's screen.
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    QVBoxLayout* column = left;

    auto makeFrame = [this, &column](const QString& name, const QString& caption) {
        auto* frame = new QGroupBox(caption, this);
        frame->setObjectName(name);
        column->addWidget(frame);
        return frame;
    };

    // Region and federation: a number and a name each; the four fields are Text1 to Text4.
    auto numberAndName = [this, &makeFrame](int n, const QString& caption, Column digits, Column text,
                                            FixedField*& number, FixedField*& name) {
        QGroupBox* frame = makeFrame(QString("Frame%1").arg(n), caption);
        auto* grid = new QGridLayout(frame);
        number = new FixedField(FixedField::Digits(static_cast<int>(digits.width())), frame);
        number->setObjectName(QString("Text%1").arg(2 * n - 1));
        name = new FixedField(FixedField::Text(static_cast<int>(text.width())), frame);
        name->setObjectName(QString("Text%1").arg(2 * n));
        AddLabelled(grid, 0, QString("Label%1").arg(2 * n - 1), "Number :", number);
        AddLabelled(grid, 1, QString("Label%1").arg(2 * n), "Name :", name);
    };
    numberAndName(1, "Region", RegionColumn::Number, RegionColumn::Name, regionNumber_, regionName_);
    numberAndName(2, "Federation", FederationColumn::Number, FederationColumn::Name, federationNumber_,
                  federationName_);

    auto* frame3 = makeFrame("Frame3", "Comport");
    auto* portsLayout = new QVBoxLayout(frame3);
    auto* label5 = new QLabel("Available ports:", frame3);
    label5->setObjectName("Label5");
    ports_ = new QListWidget(frame3);
    ports_->setObjectName("List1");
    ports_->setMinimumHeight(90);
    auto* label6 = new QLabel("Tick the port the clock is connected to.", frame3);
    label6->setObjectName("Label6");
    label6->setWordWrap(true);
    portsLayout->addWidget(label5);
    portsLayout->addWidget(ports_);
    portsLayout->addWidget(label6);

    column = right;
    auto* frame4 = makeFrame("Frame4", "Window sizes");
    auto* sizesLayout = new QHBoxLayout(frame4);
    const char* const sizeCaptions[] = {"Normal", "Larger", "Largest"};
    for (int i = 0; i < 3; ++i) {
        sizes_[i] = new QRadioButton(sizeCaptions[i], frame4);
        sizes_[i]->setObjectName(QString("Option%1").arg(i + 1));
        sizesLayout->addWidget(sizes_[i]);
        connect(sizes_[i], &QRadioButton::clicked, this, [this, i] { ChooseSize(i + 1); });
    }

    // Menus the options file has no line for, kept in the program's own file.
    auto* frame5 = makeFrame("Frame5", "Menus");
    auto* menusLayout = new QVBoxLayout(frame5);
    showRaceEvaluation_ = new QCheckBox("Show race evaluation", frame5);
    showRaceEvaluation_->setObjectName("Check1");
    showTerminalProgramLoad_ = new QCheckBox("Show terminal program load", frame5);
    showTerminalProgramLoad_->setObjectName("Check2");
    menusLayout->addWidget(showRaceEvaluation_);
    menusLayout->addWidget(showTerminalProgramLoad_);

    auto* frame6 = makeFrame("Frame6", "Race check sheet");
    auto* limitsLayout = new QGridLayout(frame6);
    const char* const limitCaptions[] = {"Clock deviation, seconds a day, at most :", "Slowest speed, m/min :",
                                         "Fastest speed, m/min :"};
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(limitCaptions[i], frame6);
        caption->setObjectName(QString("Label%1").arg(i + 7));
        limits_[i] = new QSpinBox(frame6);
        limits_[i]->setObjectName(QString("Text%1").arg(i + 5));
        limits_[i]->setRange(1, kLargestCheckLimit);
        limitsLayout->addWidget(caption, i, 0);
        limitsLayout->addWidget(limits_[i], i, 1);
    }
    right->addStretch(1);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    QPushButton* save = AddButton(buttons, "Command1", "Save");
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &SettingsDialog::Save);
    connect(AddButton(buttons, "Command2", "Cancel"), &QPushButton::clicked, this, &SettingsDialog::reject);

    // Load: texts, ports, fields from the settings, size choice, scaling.
    texts_.Apply();
    App().ports = ListComPorts(App().settings.comPort);
    for (const auto& entry : App().ports) {
        auto* item = new QListWidgetItem(ToQt(entry), ports_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(ports_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (item->checkState() == Qt::Checked) TickOnly(ports_->row(item));
    });
    const Settings& settings = App().settings;
    if (settings.region.size() >= 23) {
        regionNumber_->SetBytes(settings.RegionNumber());
        regionName_->SetBytes(settings.RegionName());
    }
    if (settings.federation.size() >= 23) {
        federationNumber_->SetBytes(settings.FederationNumber());
        federationName_->SetBytes(settings.FederationName());
    }
    showRaceEvaluation_->setChecked(settings.showRaceEvaluation);
    showTerminalProgramLoad_->setChecked(settings.showTerminalProgramLoad);
    limits_[0]->setValue(settings.checkLimits.clockDeviation);
    limits_[1]->setValue(settings.checkLimits.slowestSpeed);
    limits_[2]->setValue(settings.checkLimits.fastestSpeed);
    currentFactor_ = settings.scaleFactor;
    const auto choice = ParseInteger(settings.sizeChoice);
    if (choice && *choice >= 1 && *choice <= 3) {
        sizeChoice_ = static_cast<int>(*choice);
        sizes_[sizeChoice_ - 1]->setChecked(true);
    }
    ScaleFormBySettings(this);
}

void SettingsDialog::showEvent(QShowEvent* event) {
    DialogBase::showEvent(event);
    if (!portChecked_) {
        portChecked_ = true;
        QTimer::singleShot(0, this, &SettingsDialog::CheckStoredPort);
    }
}

void SettingsDialog::CheckStoredPort() {
    const Settings& settings = App().settings;
    if (!settings.HasPort()) {
        texts_.ShowNumbered(5, MessageIcon::Exclamation);
        return;
    }
    const int found = FindComPort(App().ports, settings.comPort);
    if (found >= 0) {
        TickOnly(found);
        return;
    }
    texts_.ShowNumbered(4, MessageIcon::Exclamation);
    if (ports_->count() > 0) TickOnly(ports_->count() - 1);
    ports_->setFocus();
}

void SettingsDialog::TickOnly(int row) {
    const QSignalBlocker block(ports_);
    for (int i = 0; i < ports_->count(); ++i) ports_->item(i)->setCheckState(i == row ? Qt::Checked : Qt::Unchecked);
}

std::string SettingsDialog::SelectedPort() const {
    for (int i = 0; i < ports_->count(); ++i)
        if (ports_->item(i)->checkState() == Qt::Checked) return PortIdOfEntry(ToBytes(ports_->item(i)->text()));
    return {};
}

// The new size shows once saved: a dialog that changed size under the pointer would move its buttons away.
void SettingsDialog::ChooseSize(int choice) {
    sizeChoice_ = choice;
    currentFactor_ = ScaleFactorOf(std::to_string(choice));
}

void SettingsDialog::Save() {
    for (FixedField* field : {regionNumber_, regionName_, federationNumber_, federationName_}) field->ApplyLeaveRule();
    if (!SettingsFieldsValid(regionNumber_->Bytes(), regionName_->Bytes(), federationNumber_->Bytes(),
                             federationName_->Bytes())) {
        texts_.ShowNumbered(1);
        regionNumber_->setFocus();
        return;
    }
    // Refused before anything changes: the run must not go on with settings never saved.
    const std::string port = SelectedPort();
    if (port.empty()) {
        texts_.ShowNumbered(3);
        return;
    }
    const CheckLimits limits{limits_[0]->value(), limits_[1]->value(), limits_[2]->value()};
    if (const std::string problem = CheckLimitsProblem(limits); !problem.empty()) {
        texts_.ShowNumberedAs(6, ToQt(CatalogueText("frmSet.MsgBoxText6", {problem})));
        limits_[1]->setFocus();
        return;
    }
    Settings& settings = App().settings;
    settings.checkLimits = limits;
    settings.region = regionNumber_->Bytes() + regionName_->Bytes();
    settings.federation = "0" + federationNumber_->Bytes() + federationName_->Bytes();
    settings.comPort = port;
    main_->EnableCOMMenues();
    main_->PendingScaleRatio = currentFactor_ / settings.scaleFactor;
    settings.sizeChoice = std::to_string(sizeChoice_);
    settings.scaleFactor = currentFactor_;
    settings.showRaceEvaluation = showRaceEvaluation_->isChecked();
    settings.showTerminalProgramLoad = showTerminalProgramLoad_->isChecked();
    settings.damage.clear(); // what the user entered replaces whatever was wrong with the file
    main_->SchnittstelleZeigen();
    main_->ShowSettingMenus();
    // The settings hold for this run; the user must know when they are not on disk.
    const auto saved = UnderWriteLock(this, [&] { return WriteOptions(App().programFolder, settings); });
    if (saved && !*saved) ShowMessage(this, MessageIcon::Critical, windowTitle(), ToQt(saved->error));
    accept();
}

void SettingsDialog::reject() {
    if (!App().settings.HasPort()) main_->DisableCOMMenues();
    main_->PendingScaleRatio = 1.0F;
    DialogBase::reject();
}

} // namespace plumet::ui
