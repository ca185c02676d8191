#include "ui/widgets/coordinaterow.h"

#include <QHBoxLayout>
#include <QLabel>

#include "common/textcodec.h"
#include "ui/app/formtexts.h"

namespace plumet::ui {
namespace {

QLabel* Mark(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setProperty(kNoCaptionProperty, true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

CoordinateRow::CoordinateRow(const Setup& setup, QWidget* parent) : QWidget(parent) {
    const bool latitude = setup.axis == Axis::Latitude;
    const CoordinatePart parts[] = {
        latitude ? CoordinatePart::LatitudeSign : CoordinatePart::LongitudeSign,
        latitude ? CoordinatePart::LatitudeDegrees : CoordinatePart::LongitudeDegrees,
        latitude ? CoordinatePart::LatitudeMinutes : CoordinatePart::LongitudeMinutes,
        latitude ? CoordinatePart::LatitudeSeconds : CoordinatePart::LongitudeSeconds,
        latitude ? CoordinatePart::LatitudeHundredths : CoordinatePart::LongitudeHundredths,
    };
    const int widths[] = {1, static_cast<int>(DegreesWidth(setup.axis)), static_cast<int>(kCoordinatePartWidth),
                          static_cast<int>(kCoordinatePartWidth), static_cast<int>(kCoordinatePartWidth)};
    const QString marks[] = {QString(), QString::fromUtf8("\u00B0"), "'", ",", latitude ? "\"" : "''"};

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (int i = 0; i < 5; ++i) {
        FixedField* field =
            i == 0 ? static_cast<FixedField*>(new SignField(setup.signKeys, setup.signOnLeave, setup.trimOnEnter, this))
                   : new FixedField(FixedField::Rules{widths[i], DigitKey, CoordinateNumberOnLeave, setup.trimOnEnter},
                                    this);
        field->setObjectName(ToQt(setup.fieldName(parts[i])));
        field->setAlignment(i == 0 ? Qt::AlignCenter : Qt::AlignRight);
        field->SetSizing(FixedField::Sizing::Compact);
        parts_[static_cast<std::size_t>(i)] = field;
        layout->addWidget(field);
        if (!marks[i].isEmpty()) layout->addWidget(Mark(marks[i], this));
        if (i == 0) layout->addSpacing(4);
    }
    layout->addStretch(1);
}

CoordinateFields CoordinateRow::Fields() const {
    return {parts_[0]->Bytes(), parts_[1]->Bytes(), parts_[2]->Bytes(), parts_[3]->Bytes(), parts_[4]->Bytes()};
}

void CoordinateRow::SetFields(const CoordinateFields& fields) {
    parts_[0]->SetBytes(fields.sign);
    parts_[1]->SetBytes(fields.degrees);
    parts_[2]->SetBytes(fields.minutes);
    parts_[3]->SetBytes(fields.seconds);
    parts_[4]->SetBytes(fields.hundredths);
}

void CoordinateRow::SetReadOnly(bool readOnly) {
    for (FixedField* part : parts_) part->setReadOnly(readOnly);
}

} // namespace plumet::ui
