#pragma once
// The window-size rule every window applies when it loads: geometry grows by the factor,
// fonts take the sizes of the size choice, and the window is centred. A window that would not
// fit the free area of its screen takes the next smaller size, and at the smallest it scrolls.
#include <string>

class QMenuBar;
class QWidget;

namespace plumet::ui {

enum class ScaleKind { MainWindow, Dialog };

// `factor` multiplies the factor the window was last scaled by (1.0 before its first scaling).
void ScaleForm(QWidget* window, float factor, const std::string& sizeChoice, ScaleKind kind = ScaleKind::Dialog);

// Scales with the program's current settings.
void ScaleFormBySettings(QWidget* window, ScaleKind kind = ScaleKind::Dialog);

// The size choice a window was last given after fitting its screen: "" before its first scaling.
std::string FittedSizeChoice(const QWidget* window);

// The width the menu bar needs to show every visible menu side by side.
int MenuBarFullWidth(const QMenuBar* menuBar);

// Point sizes by kind of control for choices "1", "2", "3"; 0 for any other choice.
int TextBoxFontSize(const std::string& sizeChoice);
int ListBoxFontSize(const std::string& sizeChoice, ScaleKind kind);
int OtherFontSize(const std::string& sizeChoice);
// Height of a text box in twips for the choice; 0 for any other choice.
int TextBoxHeightTwips(const std::string& sizeChoice);

} // namespace plumet::ui
