#pragma once
// Registers and races the race dialog tests share: two clubs, three release points, three
// fanciers of club 007 (ten pigeons for fancier 012) and two races.
#include <QByteArray>
#include <string>

#include "app/fixedwidth.h"
#include "race/races.h"
#include "uitestsupport.h"

namespace plumet::ui::test {

inline QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

inline std::string RacePointRecord(int number, const std::string& name, const std::string& place,
                                   const std::string& position) {
    return ZeroPadded(number, 2) + PadRight(name, 13) + PadRight(place, 30) + position;
}

inline std::string FancierRecord(const std::string& number, const std::string& name, const std::string& position) {
    return number + PadRight(name, 20) + position + "0" + std::string(30, ' ');
}

inline std::string PigeonRecord(int serial) {
    return "DV    2023012340000" + ZeroPadded(serial, 3) + "M1300000000BL  01";
}

inline Race TestRace(const std::string& name, int day, int releasePoint) {
    Race race;
    race.name = PadRight(name, 30);
    race.day = day;
    race.month = 5;
    race.year = 2024;
    race.clubName = PadRight("Nord", 30);
    race.clubNumber = 7;
    race.releasePointName = PadRight(releasePoint == 5 ? "SPA" : "REIMS", 13) +
                            PadRight(releasePoint == 5 ? "Spa, Belgien" : "Reims, France", 30);
    race.releasePointNumber = releasePoint;
    race.releaseHour = 7;
    race.releaseMinute = 30;
    race.closedFromHour = 20;
    race.closedToHour = 6;
    race.headerComment = std::string(60, ' ');
    race.footerComment = std::string(60, ' ');
    race.releaseLatitude = "N50293000";
    race.releaseLongitude = "E005520000";
    race.meanDistance = "0250";
    race.flightWeek = 20;
    return race;
}

inline void WriteRaceRegisters(const ProgramFolderFixture& folder) {
    folder.Write("club/club.dat", Bytes(" 2 \r\n007" + PadRight("Nord", 30) + std::string(30, ' ') + "\r\n010" +
                                        PadRight("Sued", 30) + std::string(30, ' ') + "\r\n"));
    std::string points = " 98 \r\n";
    for (int n = 1; n <= 98; ++n) {
        std::string record = ZeroPadded(n, 2) + std::string(62, ' ');
        if (n == 5) record = RacePointRecord(5, "SPA", "Spa, Belgien", "N50293000E005520000");
        if (n == 7) record = RacePointRecord(7, "REIMS", "Reims, France", "N49150000E004020000");
        if (n == 98) record = RacePointRecord(98, "BARCELONA", "Barcelona", "N41225000E002104500");
        points += record + "\r\n";
    }
    folder.Write("racepo/racepo.dat", Bytes(points));
    folder.Write("fancier/f007.DAT", Bytes(" 3 \r\n" + FancierRecord("001", "Meier", "N51301525E007050000") + "\r\n" +
                                           FancierRecord("012", "Schulz", "N51000000E007000000") + "\r\n" +
                                           FancierRecord("013", "Weber", "N00000000W000000000") + "\r\n"));
    std::string pigeons = " 10 \r\n";
    for (int i = 1; i <= 10; ++i) pigeons += PigeonRecord(100 + i) + "\r\n";
    folder.Write("pigeon/p007012.dat", Bytes(pigeons));
}

inline void WriteTwoRaces(const ProgramFolderFixture& folder) {
    folder.Write("racecalc/races.dat", Bytes(" 2 \r\n" + RaceToLine(TestRace("Spring 1", 15, 5)) + "\r\n" +
                                             RaceToLine(TestRace("Reims", 22, 7)) + "\r\n"));
}

} // namespace plumet::ui::test
