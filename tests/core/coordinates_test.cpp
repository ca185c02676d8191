#include <gtest/gtest.h>

#include "core/app/fieldrules.h"
#include "core/releasepoints/coordinates.h"

namespace plumet {
namespace {

const PositionFields kValid = {{"N", "89", "59", "59", "99"}, {"E", "179", "59", "59", "99"}};

// The fancier and release point tests run the checks through their dialogs' fields; here the
// order between the two halves and what would lengthen a record.
TEST(Coordinates, ChecksRunInEntryOrderAndRefuseWhatWouldLengthenTheRecord) {
    EXPECT_FALSE(FirstInvalidPart(kValid));
    PositionFields p = kValid;
    p.latitude.minutes = "60";
    p.longitude.degrees = "180";
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LatitudeMinutes);
    p = kValid;
    p.latitude.sign = "E";
    p.longitude.sign = "N";
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LatitudeSign);
    p = kValid;
    p.longitude.seconds = "059"; // in range, but one character too long
    EXPECT_EQ(FirstInvalidPart(p), CoordinatePart::LongitudeSeconds);
    for (const char* notANumber : {"", "-1", "+5", "4 5"}) EXPECT_FALSE(IsValidMinutes(notANumber)) << notANumber;
    EXPECT_EQ(FilteredText(U"NnSsEe+-\b", LoftLatitudeSignKey), "NNSS+-");
    EXPECT_EQ(FilteredText(U"eEwWn\u0117", LoftLongitudeSignKey), "EEWW"); // no folding beyond ASCII
    EXPECT_EQ(CoordinateFieldsForDisplay("S12  3000", Axis::Latitude), (CoordinateFields{"S", "12", "00", "30", "00"}));
}

} // namespace
} // namespace plumet
