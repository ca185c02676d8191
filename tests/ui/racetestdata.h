#pragma once
// Registers and races the race dialog tests share: two clubs, three release points, three
// fanciers of club 007 (ten pigeons for fancier 012) and two races.
#include <QByteArray>
#include <string>

#include "core/app/fixedwidth.h"
#include "core/race/races.h"
#include "uitestsupport.h"

namespace plumet::ui::test {

inline QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

inline Race TestRace(const std::string& name, int day, int releasePoint) {
    Race race;
    race.name = PadRight(name, 30);
    race.day = day;
    race.month = 5;
    race.year = 2024;
    race.clubName = PadRight("Nord", 30);
    race.clubNumber = 7;
    race.releasePointName = PadRight(releasePoint == 5 ? "SPA" : "REIMS", 13) + (releasePoint == 5 ? "Spa, Belgien" : "Reims, France");
    race.releasePointNumber = releasePoint;
    race.releaseHour = 7;
    race.releaseMinute = 30;
    race.closedFromHour = 20;
    race.closedToHour = 6;
    race.releaseLatitude = "N50293000";
    race.releaseLongitude = "E005520000";
    race.meanDistance = "0250";
    return race;
}

inline void WriteRaceRegisters(const ProgramFolderFixture& folder) {
    folder.Write("club/club.dat", RegisterFile({Bytes("007" + PadRight("Nord", 60)), Bytes("010" + PadRight("Sued", 60))}));
    QList<QByteArray> points;
    for (int n = 1; n <= 98; ++n) points << Bytes(PadRight(ZeroPadded(n, 2), 64));
    points[4] = Bytes("05" + PadRight("SPA", 13) + PadRight("Spa, Belgien", 30) + "N50293000E005520000");
    points[6] = Bytes("07" + PadRight("REIMS", 13) + PadRight("Reims, France", 30) + "N49150000E004020000");
    points[97] = Bytes("98" + PadRight("BARCELONA", 13) + PadRight("Barcelona", 30) + "N41225000E002104500");
    folder.Write("racepo/racepo.dat", RegisterFile(points));
    QList<QByteArray> fanciers;
    for (const auto& [number, name, position] : {std::tuple{"001", "Meier", "N51301525E007050000"},
                                                 std::tuple{"012", "Schulz", "N51000000E007000000"},
                                                 std::tuple{"013", "Weber", "N00000000W000000000"}})
        fanciers << Bytes(number + PadRight(name, 20) + position + "0" + std::string(30, ' '));
    folder.Write("fancier/f007.DAT", RegisterFile(fanciers));
    QList<QByteArray> pigeons;
    for (int i = 1; i <= 10; ++i) pigeons << Bytes("DV    2023012340000" + ZeroPadded(100 + i, 3) + "M1300000000BL  01");
    folder.Write("pigeon/p007012.dat", RegisterFile(pigeons));
}

inline void WriteTwoRaces(const ProgramFolderFixture& folder) {
    folder.Write("racecalc/races.dat",
                 RegisterFile({Bytes(RaceToLine(TestRace("Spring 1", 15, 5))), Bytes(RaceToLine(TestRace("Reims", 22, 7)))}));
}

} // namespace plumet::ui::test
