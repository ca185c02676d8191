#pragma once
// frmRaceCalcPagesToPrint: the first and the last page of the result list to print.
#include <cstddef>

#include "ui/app/dialogbase.h"

namespace plumet::ui {

class FixedField;

struct PageRange {
    std::size_t first = 0;
    std::size_t last = 0;
    bool confirmed = false;
};

class PagesToPrintDialog : public DialogBase {
    Q_OBJECT
public:
    explicit PagesToPrintDialog(QWidget* parent);

    // The allowed pages; both boxes start at the bounds.
    void SetPageRange(std::size_t lowest, std::size_t highest);
    PageRange GetPageRange() const { return chosen_; }

    // Command1: checks the boxes; accepts the range or shows what is wrong.
    void Confirm();

private:
    std::size_t lowest_ = 1;
    std::size_t highest_ = 1;
    PageRange chosen_;
    FixedField* first_ = nullptr; // Text1
    FixedField* last_ = nullptr;  // Text2
};

} // namespace plumet::ui
