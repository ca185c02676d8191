#pragma once
// frmRacedataGet: reads one clock after the other into the read-out file of the week and
// release point in its fields, shows the lofts of that file, and stores a copy elsewhere.
#include <string>
#include <vector>

#include "core/clock/racedataget.h"
#include "ui/clock/transferdialog.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace plumet::ui {

class FixedField;
class MainWindow;

class RacedataGetDialog : public TransferDialog {
    Q_OBJECT
public:
    explicit RacedataGetDialog(MainWindow* mainWindow);
    ~RacedataGetDialog() override;

    // The fields as after leaving them.
    ReadoutFields Fields();
    // The lines of the read-out file the fields name, as last loaded.
    const std::vector<std::string>& Lines() const { return lines_; }

    void GetData();       // Command2
    void StoreToDisk();   // Command3

private:
    FixedField* AddTwoDigitField(const QString& name);
    void ApplyRule(FixedField* field);
    void LoadList();
    void ShowStatus(RacedataStatus status);
    void ShowStatus(const std::string& key);
    void Finish(const RacedataOutcome& outcome);
    void SetBusy(bool busy);

    FixedField* point_;
    FixedField* week_;
    FixedField* day_;
    FixedField* month_;
    FixedField* year_;
    QListWidget* list_;
    QLabel* status_;
    QPushButton* getData_;
    QPushButton* store_;
    SexTexts sexes_;
    std::vector<std::string> lines_;
};

} // namespace plumet::ui
