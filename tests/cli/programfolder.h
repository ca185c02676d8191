#pragma once
// The program folders the end-to-end and command tests work on: a first start's folder with
// the layout of a folder of tests/data/folders copied in, and the loft region 012, federation
// 05, club 007, fancier 012 with a pigeon file of any size whose pigeons come back from a
// clock unchanged.
#include <QByteArray>
#include <QString>
#include <initializer_list>

#include "core/clock/clockstate.h"
#include "uitestsupport.h"

namespace plumet::e2e {

// n pigeons (at most 1000) in register order, chip codes ending in "00" as the clock returns them.
QByteArray PigeonFileBytes(int n);
// A clock holding the first `pigeons` pigeons of PigeonFileBytes.
ClockState LoftClock(int region, int federation, int club, int fancier, int pigeons);
// A pigeon file of pigeons "NL 05 1000001M", "NL 05 1000002M" … in these colours.
QByteArray NlPigeonFile(std::initializer_list<const char*> colours);
// The loft exchange lines that write `pigeonFile` for fanciers 1…fanciers of club `club`.
QByteArray LoftExchange(int club, int fanciers, const QByteArray& pigeonFile);

// The shipped catalogue and the data folders, message boxes answered in advance, and the
// files of tests/data/folders/<layout>; the settings in use are the folder's.
class ProgramFolder : public ui::test::ProgramFolderFixture {
public:
    explicit ProgramFolder(const QString& layout = {});
    QString File(const QString& relative) const;
    // Of layout "loft": the clock on `port` in OPTIONS.PAR, the settings read again, and fancier 012
    // with `pigeons` pigeons of PigeonFileBytes.
    void Loft(const QString& port, int pigeons) const;
    // A file of tests/data put at `relative`.
    void Copy(const QString& data, const QString& relative) const { Write(relative, ui::test::Golden(data)); }
};

} // namespace plumet::e2e
