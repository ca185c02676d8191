#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "core/app/fixedwidth.h"
#include "core/app/options.h"

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

ClockState LoftClock(int region, int federation, int club, int fancier, int pigeons) {
    ClockState state;
    state.region = static_cast<std::uint8_t>(region), state.federation = static_cast<std::uint8_t>(federation);
    state.club = static_cast<std::uint8_t>(club), state.fancier = static_cast<std::uint8_t>(fancier);
    const PigeonsConvert convert(SexTexts{"M", "F", "U"});
    for (int i = 0; i < pigeons; ++i) {
        const std::string record = PigeonRecord(i);
        state.pigeons.push_back({*convert.EncodeRing(record), *PigeonsConvert::EncodeChip(record)});
    }
    return state;
}

QByteArray NlPigeonFile(std::initializer_list<const char*> colours) {
    QByteArray file = " " + QByteArray::number(colours.size()) + " \r\n";
    int ring = 1000001;
    for (const char* colour : colours) file += "NL      05     " + QByteArray::number(ring++) + "M1300000000" + colour + "00\r\n";
    return file;
}

QByteArray LoftExchange(int club, int fanciers, const QByteArray& pigeonFile) {
    const QList<QByteArray> records = pigeonFile.split('\n').mid(1, pigeonFile.count('\n') - 1);
    QByteArray file;
    for (int fancier = 1; fancier <= fanciers; ++fancier)
        for (const QByteArray& record : records)
            file += "0" + QByteArray::number(club).rightJustified(3, '0') + QByteArray::number(fancier).rightJustified(3, '0') +
                    record + "\n";
    return file;
}

ProgramFolder::ProgramFolder(const QString& layout) {
    if (!layout.isEmpty()) Install("folders/" + layout);
    App().settings = ReadOptions(Path().toStdString());
}

QString ProgramFolder::File(const QString& relative) const { return QDir(Path()).filePath(relative); }

void ProgramFolder::Loft(const QString& port, int pigeons) const {
    QList<QByteArray> lines = Read("OPTIONS.PAR").split('\n');
    lines[2] = port.toLocal8Bit() + "\r";
    Write("OPTIONS.PAR", lines.join('\n'));
    App().settings = ReadOptions(Path().toStdString());
    Write("pigeon/p007012.dat", PigeonFileBytes(pigeons));
}

} // namespace plumet::e2e
