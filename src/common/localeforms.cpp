#include "common/localeforms.h"

#include <QDate>
#include <QLocale>

#include "common/textcodec.h"
#include "core/race/decimals.h"

namespace plumet {

char LocaleSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return FileDecimalSeparator(point.isEmpty() ? U'.' : point.at(0).unicode());
}

std::string RaceShortDate(const Race& race) { return ShortDate(DateOfRace(race)); }

std::string ShortDate(const SeasonDate& date) {
    return ToBytes(QLocale::system().toString(QDate(date.year, date.month, date.day), QLocale::ShortFormat));
}

} // namespace plumet
