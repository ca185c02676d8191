#pragma once
// A program folder for the loft transfers: region 012, federation 05, club 007 with its
// fancier 012, and a pigeon file of any size whose pigeons come back from a clock unchanged.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace plumet::e2e {

// n pigeons (at most 1000) in register order, chip codes ending in "00" as the clock returns them.
QByteArray PigeonFileBytes(int n);

// OPTIONS.PAR with `device` as the port, the catalogue, the data folders, club 007, fancier
// 012 and his pigeon file of `pigeons` pigeons.
void WriteLoftFolder(const QString& folder, const QString& device, int pigeons);

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);

// A clock state file "clock-state.txt" in `dir` holding the loft region/federation/club/
// fancier with `pigeons` pigeons of PigeonFileBytes; SimulatedClock(dir) starts from it.
void WriteClockLoft(const QString& dir, std::uint8_t region, std::uint8_t federation, std::uint8_t club,
                    std::uint8_t fancier, int pigeons);

} // namespace plumet::e2e
