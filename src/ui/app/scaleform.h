#pragma once
// The window-size rule every window applies when it loads: geometry grows by the factor,
// fonts take the sizes of the size choice, and the window is centred.
#include <string>

class QWidget;

namespace plumet::ui {

enum class ScaleKind { MainWindow, Dialog };

void ScaleForm(QWidget* window, float factor, const std::string& sizeChoice, ScaleKind kind = ScaleKind::Dialog);

// Scales with the program's current settings.
void ScaleFormBySettings(QWidget* window, ScaleKind kind = ScaleKind::Dialog);

// Point sizes by kind of control for choices "1", "2", "3"; 0 for any other choice.
int TextBoxFontSize(const std::string& sizeChoice);
int ListBoxFontSize(const std::string& sizeChoice, ScaleKind kind);
int OtherFontSize(const std::string& sizeChoice);
// Height of a text box in twips for the choice; 0 for any other choice.
int TextBoxHeightTwips(const std::string& sizeChoice);

} // namespace plumet::ui
