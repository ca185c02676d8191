#pragma once
// One latitude or longitude as it is typed: sign, degrees, minutes, seconds and hundredths,
// with the degree sign, apostrophe, comma and closing marks between them. The fancier and
// the release point dialogs differ only in the field names and in their sign rules.
#include <QWidget>
#include <array>
#include <string>

#include "core/records/coordinates.h"
#include "ui/widgets/signfield.h"

namespace plumet::ui {

class CoordinateRow : public QWidget {
    Q_OBJECT
public:
    struct Setup {
        Axis axis = Axis::Latitude;
        KeyFilter signKeys = nullptr;
        SignField::SignRule signOnLeave = nullptr;
        bool trimOnEnter = false;
        std::string (*fieldName)(CoordinatePart) = nullptr; // object name of each field
    };

    CoordinateRow(const Setup& setup, QWidget* parent = nullptr);

    // The five fields, each with its leaving rule applied.
    CoordinateFields Fields() const;
    void SetFields(const CoordinateFields& fields);
    void SetReadOnly(bool readOnly);

private:
    std::array<FixedField*, 5> parts_{}; // sign, degrees, minutes, seconds, hundredths
};

} // namespace plumet::ui
