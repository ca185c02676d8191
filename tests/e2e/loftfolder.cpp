#include "loftfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "core/app/files.h"
#include "core/app/fixedwidth.h"
#include "core/clock/clockstate.h"
#include "core/clock/pigeonsconvert.h"

namespace plumet::e2e {
namespace {

std::string PigeonRecord(int i) {
    static const char* const kSexes = "MFU";
    static const char* const kColours[] = {"BLUE", "RED ", "GRIZ", "    "};
    char chip[11];
    std::snprintf(chip, sizeof chip, "%08X00", static_cast<unsigned>(i) * 2654435761U);
    return "DV    2021ABC12" + PadLeft(std::to_string(i + 1), 7, ' ') + kSexes[i % 3] + chip + kColours[i % 4] +
           ZeroPadded(i % 11, 2);
}

} // namespace

QByteArray PigeonFileBytes(int n) {
    QByteArray bytes = " " + QByteArray::number(n) + " \r\n";
    for (int i = 0; i < n; ++i) bytes += QByteArray::fromStdString(PigeonRecord(i)) + "\r\n";
    return bytes;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

void WriteLoftFolder(const QString& folder, const QString& device, int pigeons) {
    const QDir dir(folder);
    for (const char* sub : {"exchange", "race", "racepo", "club", "fancier", "pigeon"}) dir.mkpath(sub);
    if (!QFile::exists(dir.filePath("club.txt"))) QFile::copy(":/data/club.txt", dir.filePath("club.txt"));
    QFile::setPermissions(dir.filePath("club.txt"), QFile::ReadOwner | QFile::WriteOwner);
    WriteFile(dir.filePath("OPTIONS.PAR"), "012Nord" + QByteArray(26, ' ') + "\r\n005Mitte" + QByteArray(25, ' ') +
                                               "\r\n" + device.toLocal8Bit() + "\r\n1\r\n");
    WriteFile(dir.filePath("club/club.dat"), " 1 \r\n007Zur Post" + QByteArray(52, ' ') + "\r\n");
    WriteFile(dir.filePath("fancier/f007.DAT"), " 1 \r\n012M\xFCller Hans" + QByteArray(59, ' ') + "\r\n");
    WriteFile(dir.filePath("pigeon/p007012.dat"), PigeonFileBytes(pigeons));
}

void WriteClockLoft(const QString& dir, std::uint8_t region, std::uint8_t federation, std::uint8_t club,
                    std::uint8_t fancier, int pigeons) {
    ClockState state;
    state.region = region;
    state.federation = federation;
    state.club = club;
    state.fancier = fancier;
    const PigeonsConvert convert(SexTexts{"M", "F", "U"});
    for (int i = 0; i < pigeons; ++i) {
        const std::string record = PigeonRecord(i);
        state.pigeons.push_back({*convert.EncodeRing(record), *PigeonsConvert::EncodeChip(record)});
    }
    QDir().mkpath(dir);
    SaveClockState(QDir(dir).filePath("clock-state.txt").toStdString(), state);
}

} // namespace plumet::e2e
