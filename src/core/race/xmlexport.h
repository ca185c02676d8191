#pragma once
// The XML document of one read-out file for other evaluation software: its lofts (Fancier),
// clocked pigeons (Pigeons) and clock synchronisation records (Timers), in UTF-8 with every
// value escaped.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/app/options.h"
#include "core/app/timesource.h"

namespace plumet {

inline constexpr std::size_t kXmlSourceLineLimit = 100000;
inline constexpr std::size_t kXmlFancierLimit = 1000;
inline constexpr std::size_t kXmlPigeonLimit = 30000;
inline constexpr std::size_t kXmlTimerLimit = 1000;
// The schema namespace readers of the data set expect by default.
inline constexpr const char* kReadOutNamespace = "http://tempuri.org/ReadOutDataSet.xsd";
// The year of the time stamps until a date line says otherwise.
inline constexpr const char* kXmlDefaultYear = "2008";

// Message numbers of frmRaceDataExportToXML.
inline constexpr int kXmlNoSourceFile = 1;
inline constexpr int kXmlNoFolderChosen = 2;
inline constexpr int kXmlExported = 3;

// "+02:00", "-05:00", "+05:30": local time minus UTC.
std::string ZoneSuffix(int utcOffsetMinutes);

// Values are Windows-1252 bytes as they stand in the read-out file.
struct XmlFancier {
    std::string id, license, name, address, zipCode, city, coordX, coordY, serial, distance, distanceUnit,
        distanceString;
};
struct XmlPigeon {
    std::string id, fancierId, elBand, fedBand, clubId, flightId, position1, position2, position3, position4, time,
        evaluation, nr;
};
struct XmlTimer {
    std::string id, fancierId, clubId, flightId, basketingMasterTime, basketingInternalTime, basketingDiff,
        readOutMasterTime, readOutInternalTime, readOutDiff, diff;
};

struct ReadOutDataSet {
    std::vector<XmlFancier> fanciers;
    std::vector<XmlPigeon> pigeons;
    std::vector<XmlTimer> timers;
};

// The records of the lines of a read-out file. `flightId` is the release point the file is
// named after. A time stamp takes the year nearest the date line's date (2008 before a date
// line) and ends with the offset from UTC that `offsetAt` gives for its own date and time.
// Reading stops at the first record beyond a limit.
ReadOutDataSet BuildReadOutDataSet(const std::vector<std::string>& lines, std::string_view flightId,
                                   const UtcOffsetAt& offsetAt);

// A value as element content: "&", "<" and ">" escaped, control characters as blanks, UTF-8.
std::string XmlText(std::string_view bytes);

// Each appends its elements, one field a line, lines ended by CR LF.
void WriteFancierTags(std::string& out, const std::vector<XmlFancier>& fanciers);
void WritePigeonTags(std::string& out, const std::vector<XmlPigeon>& pigeons);
void WriteTimerTags(std::string& out, const std::vector<XmlTimer>& timers);
std::string ReadOutDocument(const ReadOutDataSet& data);

// Whether a line is a date line ("0" + day, month, year) with a day and a month.
bool HasReadableDateLine(const std::vector<std::string>& lines);

// Why the lines of `source` do not fit a document (more lines, pigeons, lofts or timer lines
// than it takes), saying how many; "" when they do.
std::string XmlLimitRefusal(const std::vector<std::string>& lines, const Path& source);

// Reads `source` and writes the document to `output` (replaced as a whole, or left as it was).
// A source that cannot be read, has no readable date line or exceeds a limit is refused.
SaveResult WExportXML(const Path& source, const Path& output, const UtcOffsetAt& offsetAt);

// "W0070324.d05" gives "W0070324_05.xml".
std::string XmlOutputName(std::string_view sourceName);

// The read-out file of the week and point, when there is one (readable or not).
std::optional<Path> XmlExportSource(const Path& programFolder, const Settings& settings, std::string_view week,
                                    std::string_view point);

struct XmlExportOutcome {
    SaveResult saved;
    Path output;
};
// Exports `source` into `outputFolder` under XmlOutputName.
XmlExportOutcome ExportReadoutToXml(const Path& source, const Path& outputFolder, const UtcOffsetAt& offsetAt);

} // namespace plumet
