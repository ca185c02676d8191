#include "core/race/xmlexport.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "core/app/catalogue.h"
#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/clock/readoutcolumns.h"
#include "core/clock/readoutfile.h"
#include "core/registers/rings.h"

namespace plumet {

namespace {

using Tag = std::pair<std::string_view, const std::string*>;

// A read-out file's name ends in its release point's two digits.
constexpr std::size_t kPointDigits = 2;
std::string_view PointOfName(std::string_view name) {
    return name.size() >= kPointDigits ? name.substr(name.size() - kPointDigits) : name;
}

long long Value(std::string_view text) { return ParseInteger(text).value_or(0); }

// The year of the time stamps: the date line's, and for each clock date the year nearest to it.
struct StampYear {
    std::string text = kXmlDefaultYear;
    int day = 0, month = 0, year = 0; // the date line; year 0 before one was read

    std::string For(int clockDay, int clockMonth) const {
        if (year == 0) return text;
        return ZeroPadded(ClockDateYear(clockDay, clockMonth, day, month, year), 4);
    }
};

// The columns of one date and time of a line.
struct StampColumns {
    Column day, month, hour, minute, second;
};

constexpr StampColumns kArrival{ReadoutPigeonColumn::ArrivalDay, ReadoutPigeonColumn::ArrivalMonth,
                                ReadoutPigeonColumn::ArrivalHour, ReadoutPigeonColumn::ArrivalMinute,
                                ReadoutPigeonColumn::ArrivalSecond};
constexpr StampColumns kBasketingMaster{ReadoutTimerColumn::BasketingDay, ReadoutTimerColumn::BasketingMonth,
                                        ReadoutTimerColumn::BasketingHour, ReadoutTimerColumn::BasketingMinute,
                                        ReadoutTimerColumn::BasketingSecond};
constexpr StampColumns kReadoutMaster{ReadoutTimerColumn::ReadoutDay, ReadoutTimerColumn::ReadoutMonth,
                                      ReadoutTimerColumn::ReadoutHour, ReadoutTimerColumn::ReadoutMinute,
                                      ReadoutTimerColumn::ReadoutSecond};
// The clock's own time of day on the master's date.
constexpr StampColumns kReadoutClock{ReadoutTimerColumn::ReadoutDay, ReadoutTimerColumn::ReadoutMonth,
                                     ReadoutTimerColumn::ClockHour, ReadoutTimerColumn::ClockMinute,
                                     ReadoutTimerColumn::ClockSecond};

// year-month-dayThh:mm:ss + the offset from UTC in force then, from the columns of a line,
// `dayOffset` days after the date the columns give.
std::string TimeStamp(const StampYear& year, std::string_view line, const StampColumns& at,
                      const UtcOffsetAt& offsetAt, int dayOffset = 0) {
    std::string day = Field(line, at.day);
    std::string month = Field(line, at.month);
    const std::string hour = Field(line, at.hour);
    const std::string minute = Field(line, at.minute);
    const std::string second = Field(line, at.second);
    const int clockDay = static_cast<int>(Value(day));
    const int clockMonth = static_cast<int>(Value(month));
    std::string yearText = year.For(clockDay, clockMonth);
    DateTime local{static_cast<int>(Value(yearText)), clockMonth, clockDay, static_cast<int>(Value(hour)),
                   static_cast<int>(Value(minute)), static_cast<int>(Value(second))};
    if (dayOffset != 0 && IsValidDateTime(local)) {
        local = FromCivilSeconds(CivilSeconds(local) + dayOffset * 86400LL);
        yearText = ZeroPadded(local.year, 4);
        month = ZeroPadded(local.month, 2);
        day = ZeroPadded(local.day, 2);
    }
    return yearText + "-" + month + "-" + day + "T" + hour + ":" + minute + ":" + second + ZoneSuffix(offsetAt(local));
}

long long SecondsOfDay(std::string_view line, const StampColumns& at) {
    return Value(Field(line, at.hour)) * 3600 + Value(Field(line, at.minute)) * 60 + Value(Field(line, at.second));
}

std::string SignedDiff(long long seconds) {
    return (seconds < 0 ? "-" : "+") + ZeroPadded(std::llabs(seconds), 3);
}

XmlFancier FancierOf(std::string_view line, std::size_t id) {
    namespace column = ReadoutFancierColumn;
    XmlFancier f;
    f.id = std::to_string(id);
    f.license = "0" + Field(line, column::Club) + "0" + Field(line, column::Fancier);
    f.name = Field(line, column::Name);
    f.coordX = Field(line, column::LongitudeDegrees) + ":" + Field(line, column::LongitudeMinutes) + ":" +
               Field(line, column::LongitudeSeconds) + "," + Field(line, column::LongitudeTenths);
    f.coordY = Field(line, column::LatitudeDegrees) + ":" + Field(line, column::LatitudeMinutes) + ":" +
               Field(line, column::LatitudeSeconds) + "," + Field(line, column::LatitudeTenths);
    f.serial = "Plumet";
    f.distance = "0";
    f.distanceUnit = "Metric";
    f.distanceString = "0,000";
    return f;
}

XmlPigeon PigeonOf(std::string_view line, std::size_t id, std::size_t fancierId, const StampYear& year,
                   const UtcOffsetAt& zone) {
    namespace column = ReadoutPigeonColumn;
    XmlPigeon p;
    p.id = std::to_string(id);
    p.fancierId = std::to_string(fancierId);
    p.fedBand = FormatRingText(Field(line, column::Ring), Field(line, column::RingFormat));
    p.clubId = "0" + Field(line, column::Club);
    p.flightId = Field(line, column::ReleasePoint);
    p.position1 = p.position2 = p.position3 = p.position4 = "0";
    if (Value(Field(line, column::ArrivalDay)) > 0) p.time = TimeStamp(year, line, kArrival, zone);
    p.nr = p.id;
    return p;
}

XmlTimer TimerOf(std::string_view line, std::size_t id, std::size_t fancierId, const StampYear& year,
                 std::string_view flightId, const UtcOffsetAt& zone) {
    XmlTimer t;
    t.id = std::to_string(id);
    t.fancierId = std::to_string(fancierId);
    t.clubId = "0" + Field(line, ReadoutTimerColumn::Club);
    t.flightId = std::string(flightId);
    t.basketingMasterTime = TimeStamp(year, line, kBasketingMaster, zone);
    t.basketingInternalTime = t.basketingMasterTime;
    t.basketingDiff = "+000";
    t.readOutMasterTime = TimeStamp(year, line, kReadoutMaster, zone);
    // Around midnight the clock's own time may lie on the day before or after the master's.
    const long long master = SecondsOfDay(line, kReadoutMaster);
    const int clockDay = ClockReadoutDayOffset(master, SecondsOfDay(line, kReadoutClock));
    const long long clock = SecondsOfDay(line, kReadoutClock) + clockDay * 86400LL;
    t.readOutInternalTime = TimeStamp(year, line, kReadoutClock, zone, clockDay);
    t.readOutDiff = SignedDiff(master - clock);
    t.diff = SignedDiff(clock - master);
    return t;
}

// Most values are plain ASCII; they go straight through.
void AppendXmlText(std::string& out, std::string_view bytes) {
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (u < 0x20 && c != '\t') {
            out += ' '; // XML 1.0 has no way to carry these, not even as references
        } else if (u < 0x80) {
            out += c;
        } else {
            out += Cp1252ToUtf8(std::string_view(&c, 1));
        }
    }
}

void WriteElement(std::string& out, std::string_view element, std::initializer_list<Tag> fields) {
    out += "<";
    out += element;
    out += ">\r\n";
    for (const auto& [tag, value] : fields) {
        out += "  <";
        out += tag;
        out += ">";
        AppendXmlText(out, *value);
        out += "</";
        out += tag;
        out += ">\r\n";
    }
    out += "</";
    out += element;
    out += ">\r\n";
}

} // namespace

std::string ZoneSuffix(int utcOffsetMinutes) {
    const int minutes = std::abs(utcOffsetMinutes);
    return (utcOffsetMinutes < 0 ? "-" : "+") + ZeroPadded(minutes / 60, 2) + ":" + ZeroPadded(minutes % 60, 2);
}

ReadOutDataSet BuildReadOutDataSet(const std::vector<std::string>& lines, std::string_view flightId,
                                   const UtcOffsetAt& offsetAt) {
    ReadOutDataSet data;
    StampYear year;
    std::size_t fancierId = 0;
    const std::size_t lineCount = std::min(lines.size(), kXmlSourceLineLimit);
    for (std::size_t i = 0; i < lineCount; ++i) {
        const std::string& line = lines[i];
        if (line.empty()) continue;
        switch (line.front()) {
        case kDateLineKind:
            year.year = static_cast<int>(2000 + Value(Field(line, ReadoutDateColumn::Year)));
            year.text = ZeroPadded(year.year, 4);
            year.day = static_cast<int>(Value(Field(line, ReadoutDateColumn::Day)));
            year.month = static_cast<int>(Value(Field(line, ReadoutDateColumn::Month)));
            break;
        case kLoftLineKind:
            if (data.fanciers.size() >= kXmlFancierLimit) return data;
            fancierId = data.fanciers.size() + 1;
            data.fanciers.push_back(FancierOf(line, fancierId));
            break;
        case kArrivalLineKind:
            if (data.pigeons.size() >= kXmlPigeonLimit) return data;
            data.pigeons.push_back(PigeonOf(line, data.pigeons.size() + 1, fancierId, year, offsetAt));
            break;
        case kTimerLineKind:
            if (data.timers.size() >= kXmlTimerLimit) return data;
            data.timers.push_back(TimerOf(line, data.timers.size() + 1, fancierId, year, flightId, offsetAt));
            break;
        default: break;
        }
    }
    return data;
}

std::string XmlText(std::string_view bytes) {
    std::string out;
    AppendXmlText(out, bytes);
    return out;
}

void WriteFancierTags(std::string& out, const std::vector<XmlFancier>& fanciers) {
    for (const XmlFancier& f : fanciers)
        WriteElement(out, "Fancier",
                     {{"ID", &f.id}, {"License", &f.license}, {"Name", &f.name}, {"Address", &f.address},
                      {"ZipCode", &f.zipCode}, {"City", &f.city}, {"CoordX", &f.coordX}, {"CoordY", &f.coordY},
                      {"Serial", &f.serial}, {"Distance", &f.distance}, {"DistanceUnit", &f.distanceUnit},
                      {"DistanceString", &f.distanceString}});
}

void WritePigeonTags(std::string& out, const std::vector<XmlPigeon>& pigeons) {
    for (const XmlPigeon& p : pigeons)
        WriteElement(out, "Pigeons",
                     {{"ID", &p.id}, {"FancierID", &p.fancierId}, {"ElBand", &p.elBand}, {"FedBand", &p.fedBand},
                      {"ClubID", &p.clubId}, {"FlightID", &p.flightId}, {"Position1", &p.position1},
                      {"Position2", &p.position2}, {"Position3", &p.position3}, {"Position4", &p.position4},
                      {"Time", &p.time}, {"Evaluation", &p.evaluation}, {"Nr", &p.nr}});
}

void WriteTimerTags(std::string& out, const std::vector<XmlTimer>& timers) {
    for (const XmlTimer& t : timers)
        WriteElement(out, "Timers",
                     {{"ID", &t.id}, {"FancierID", &t.fancierId}, {"ClubID", &t.clubId}, {"FlightID", &t.flightId},
                      {"BasketingMasterTime", &t.basketingMasterTime},
                      {"BasketingInternalTime", &t.basketingInternalTime}, {"BasketingDiff", &t.basketingDiff},
                      {"ReadOutMasterTime", &t.readOutMasterTime}, {"ReadOutInternalTime", &t.readOutInternalTime},
                      {"ReadOutDiff", &t.readOutDiff}, {"Diff", &t.diff}});
}

std::string ReadOutDocument(const ReadOutDataSet& data) {
    std::string out;
    out.reserve(512 + data.fanciers.size() * 400 + data.pigeons.size() * 450 + data.timers.size() * 500);
    out += "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n";
    out += "<ReadOutDataSet xmlns=\"";
    out += kReadOutNamespace;
    out += "\">\r\n";
    WriteFancierTags(out, data.fanciers);
    WritePigeonTags(out, data.pigeons);
    WriteTimerTags(out, data.timers);
    out += "</ReadOutDataSet>\r\n";
    return out;
}

bool HasReadableDateLine(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        if (line.size() != kDateLineLength || line.front() != kDateLineKind || !IsAllDigits(line)) return false;
        const long long day = Value(Field(line, ReadoutDateColumn::Day));
        const long long month = Value(Field(line, ReadoutDateColumn::Month));
        return day >= 1 && day <= 31 && month >= 1 && month <= 12;
    });
}

std::string XmlLimitRefusal(const std::vector<std::string>& lines, const Path& source) {
    std::size_t lofts = 0, pigeons = 0, timers = 0;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        lofts += line.front() == kLoftLineKind;
        pigeons += line.front() == kArrivalLineKind;
        timers += line.front() == kTimerLineKind;
    }
    const struct {
        const char* key;
        std::size_t count, limit;
    } limits[] = {{"txtTooManyLines", lines.size(), kXmlSourceLineLimit},
                  {"txtTooManyPigeons", pigeons, kXmlPigeonLimit},
                  {"txtTooManyLofts", lofts, kXmlFancierLimit},
                  {"txtTooManyTimers", timers, kXmlTimerLimit}};
    for (const auto& limit : limits)
        if (limit.count > limit.limit)
            return CatalogueText(std::string("frmRaceDataExportToXML.") + limit.key,
                                 {PathText(source), std::to_string(limit.count), std::to_string(limit.limit)});
    return {};
}

SaveResult WExportXML(const Path& source, const Path& output, const UtcOffsetAt& offsetAt) {
    const FileContent content = ReadWholeFile(source);
    if (content.status == ReadStatus::Missing) return SaveFailed(CatalogueText("frmRaceDataExportToXML.MsgBoxText1"));
    if (content.status != ReadStatus::Ok) return SaveFailed(CannotReadText(source, content.problem), content.problem.reason);
    const std::vector<std::string> lines = SplitLines(content.bytes);
    // Without its date the file is no read-out, and every time stamp would be a guess.
    if (!HasReadableDateLine(lines))
        return SaveFailed(CatalogueText("frmRaceDataExportToXML.txtNoDateLine", {PathText(source)}), FileReason::Damaged);
    // A document cut at a limit would pass for the whole read-out.
    if (const std::string refusal = XmlLimitRefusal(lines, source); !refusal.empty())
        return SaveFailed(refusal, FileReason::Damaged);
    const std::string name = source.filename().string();
    const std::string flightId(PointOfName(name));
    return SaveFileAtomically(output, ReadOutDocument(BuildReadOutDataSet(lines, flightId, offsetAt)));
}

std::string XmlOutputName(std::string_view sourceName) {
    const std::size_t dot = sourceName.rfind('.');
    const std::string_view stem = dot == std::string_view::npos ? sourceName : sourceName.substr(0, dot);
    return std::string(stem) + "_" + std::string(PointOfName(sourceName)) + ".xml";
}

std::optional<Path> XmlExportSource(const Path& programFolder, const Settings& settings, std::string_view week,
                                    std::string_view point) {
    const Path source = ReadoutFilePath(programFolder, settings, week, point);
    // A link loop or a folder in its place is there, and refused by the export as such.
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(source, ec))) return std::nullopt;
    return source;
}

XmlExportOutcome ExportReadoutToXml(const Path& source, const Path& outputFolder, const UtcOffsetAt& offsetAt) {
    const Path output = ResolvePath(outputFolder, XmlOutputName(source.filename().string()));
    return {WExportXML(source, output, offsetAt), output};
}

} // namespace plumet
