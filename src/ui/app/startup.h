#pragma once
// Start-up of the program folder: data folders, the catalogue, the options.
#include <QString>
#include <QStringList>

#include "core/app/files.h"

namespace plumet::ui {

// Takes `folder` as the program folder: creates the data folders, puts the shipped
// catalogue there when it has none, and reads the options. Returns what went wrong, for
// the user; the program can go on in any case.
QStringList PrepareProgramFolder(const Path& folder);

// Qt's own dialogs (print preview, file dialogs, standard buttons) in the language the
// catalogue's key "Language" names (en, de); English where it names none that is installed.
void UseCatalogueLanguage();

// The whole program: one instance per folder, start-up, the main window, the event loop.
int RunProgram();

} // namespace plumet::ui
