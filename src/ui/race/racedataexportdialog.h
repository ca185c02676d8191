#pragma once
// frmRaceDataExportToXML: exports the read-out file of a week and release point as an XML
// document, into the program folder or a folder the user chooses.
#include <optional>
#include <string>

#include "core/app/files.h"
#include "ui/app/dialogbase.h"

namespace plumet::ui {

class FixedField;
class MainWindow;

class RaceDataExportDialog : public DialogBase {
    Q_OBJECT
public:
    explicit RaceDataExportDialog(MainWindow* mainWindow);

    void ExportHere();     // Command1
    void ExportToFolder(); // Command3

private:
    // The source named by the fields, or message 1.
    std::optional<Path> Source();
    void Export(const Path& source, const Path& folder);

    FixedField* week_;
    FixedField* point_;
};

} // namespace plumet::ui
