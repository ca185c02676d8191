#include "demofolder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "core/app/catalogue.h"
#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"
#include "core/app/options.h"
#include "core/app/weeks.h"
#include "core/clock/clockstate.h"
#include "core/clock/pigeonsconvert.h"
#include "core/race/combinedlist.h"
#include "core/race/geodesic.h"
#include "core/race/manualtimes.h"
#include "core/race/racecalc.h"
#include "core/race/racelog.h"
#include "core/race/races.h"
#include "core/race/season.h"
#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"
#include "core/registers/pigeons.h"
#include "core/releasepoints/releasepoints.h"

namespace plumet::demo {
namespace {

// ---- The data -----------------------------------------------------------------------------

struct DemoClub {
    const char* number;
    const char* name;
    const char* note;
};
constexpr DemoClub kClubs[] = {
    {"12", "Heimatliebe Goch", "Vereinslokal Zur Linde"},
    {"27", "Luftpost Kevelaer", "Reiselokal Haus Bergmann"},
};

// Consecutive rings of one series; a pigeon's sex and colour follow its place in the loft.
struct RingSeries {
    const char* nation;
    const char* year;
    const char* organisation;
    int firstRing;
    int count;
    int format; // for a nation the ring formats do not list
};

struct DemoFancier {
    const char* club;
    const char* number;
    const char* name; // UTF-8 here, Windows-1252 in the files
    const char* latitude;
    const char* longitude;
    bool manualClocking;
    const char* note;
    std::vector<RingSeries> series;
};

const std::vector<DemoFancier>& Fanciers() {
    static const std::vector<DemoFancier> fanciers = {
        {"012", "1", "Janssen Heinz", "N51411240", "E006094710", false, "Dachschlag",
         {{"DV", "23", "5131", 1201, 6, 1}, {"NL", "22", "", 1736520, 1, 0}}},
        {"012", "3", "Müller Karl-Heinz", "N51400385", "E006105530", false, "Gartenschlag am Nierskanal",
         {{"DV", "24", "5131", 2301, 6, 1}, {"DV", "23", "5131", 987, 1, 1}, {"B", "23", "", 6071234, 1, 0}}},
        {"012", "4", "Verhoeven Piet", "N51423010", "E006071260", false, "",
         {{"NL", "23", "", 1492031, 5, 0}, {"DV", "24", "5131", 2410, 2, 1}}},
        {"012", "7", "Schröder Anna", "N51394475", "E006120845", false, "Jungtierschlag separat",
         {{"DV", "24", "5131", 2501, 5, 1}, {"PL", "23", "0123", 104577, 1, 2}}},
        {"012", "9", "Tebroke Willi", "N51413320", "E006135090", true, "Uhr defekt, Handstempel",
         {{"DV", "22", "5131", 601, 4, 1}}},
        {"012", "11", "SG Peters & Sohn", "N51375810", "E006083125", false, "Schlaggemeinschaft",
         {{"DV", "24", "5131", 2701, 8, 1}}},
        {"012", "15", "Kuypers Gerd", "N51432695", "E006112040", false, "",
         {{"DV", "23", "5131", 1820, 6, 1}}},
        {"027", "2", "Bergmann Theo", "N51350630", "E006145520", false, "Vorsitzender",
         {{"DV", "24", "5128", 311, 6, 1}}},
        {"027", "5", "Dückers Maria", "N51343815", "E006162045", false, "",
         {{"DV", "23", "5128", 977, 5, 1}, {"NL", "24", "", 1120456, 1, 0}}},
        {"027", "6", "van Aken Jos", "N51361970", "E006131005", false, "Grenzschlag",
         {{"NL", "24", "", 1031275, 5, 0}, {"B", "24", "", 4120077, 1, 0}}},
        {"027", "8", "Lemmen Hubert", "N51330245", "E006172580", false, "",
         {{"DV", "22", "5128", 1405, 5, 1}}},
        {"027", "10", "Wouters-Kleinen E.", "N51354890", "E006185535", false, "Reisetauben und Zucht",
         {{"DV", "24", "5128", 455, 6, 1}, {"SLO", "23", "0012", 123456, 1, 3}, {"CZ", "23", "0214", 3377, 1, 1}}},
    };
    return fanciers;
}

struct DemoPoint {
    int number;
    const char* name;
    const char* place;
    const char* latitude;
    const char* longitude;
};
constexpr DemoPoint kReleasePoints[] = {
    {1, "LIMBURG", "Limburg an der Lahn, Hessen", "N50230900", "E008034400"},
    {2, "MONTABAUR", "Montabaur, Westerwald", "N50261500", "E007493300"},
    {3, "FRANKFURT", "Frankfurt am Main, Hessen", "N50063900", "E008405500"},
    {4, "ASCHAFFENBURG", "Aschaffenburg, Bayern", "N49583700", "E009091300"},
    {5, "WUERZBURG", "Wuerzburg, Bayern", "N49474700", "E009571200"},
    {6, "NUERNBERG", "Nuernberg, Bayern", "N49270700", "E011043600"},
    {7, "ETTELBRUCK", "Ettelbruck, Luxemburg", "N49505100", "E006061500"},
    {8, "BASTOGNE", "Bastogne, Belgien", "N50000200", "E005430700"},
    {9, "ARLON", "Arlon, Belgien", "N49410000", "E005490000"},
    {10, "METZ", "Metz-Frescaty, Lothringen", "N49042500", "E006075500"},
    {11, "NANCY", "Nancy, Lothringen", "N48413200", "E006110400"},
    {12, "CHALONS", "Chalons-en-Champagne, Marne", "N48572400", "E004214700"},
};

constexpr const char* kRegion = "021";
constexpr const char* kRegionName = "Niederrhein";
constexpr const char* kFederation = "04";
constexpr const char* kFederationName = "Kleve-Geldern";

// The race: club 012 from Metz, released at 06:30 on the race day.
constexpr int kRaceClub = 12;
constexpr int kRacePoint = 10;
constexpr int kReleaseHour = 6;
constexpr int kReleaseMinute = 30;

// The clock belongs to fancier 003 of club 012; it runs five seconds fast.
constexpr const char* kClockClub = "012";
constexpr const char* kClockFancier = "003";
constexpr std::int64_t kClockOffsetSeconds = 5;
struct DemoArrival {
    int loftPosition; // the pigeon's place in the fancier's register
    int hour, minute, second;
};
constexpr DemoArrival kArrivals[] = {
    {3, 10, 9, 41}, {1, 10, 13, 13}, {7, 10, 13, 15}, {6, 10, 18, 52}, {8, 10, 32, 9}, {4, 10, 55, 30},
};

// The season: three races of the weeks before, clocked by hand in every loft of the club and
// calculated, then the demo's race; its result comes when the clock is read out.
struct EarlierRace {
    const char* name;
    int weeksBefore;
    int point;
};
constexpr EarlierRace kEarlierRaces[] = {{"Bastogne", 3, 8}, {"Ettelbruck", 2, 7}, {"Arlon", 1, 9}};
constexpr int kEarlierReleaseHour = 7;
constexpr int kLateLoft = 1; // in the first earlier race, the loft whose clock came in late
constexpr int kSeasonWeeksAfter = 12;

// The second club's Metz, released a quarter of an hour later, and the federation's list of both.
constexpr int kSecondClub = 27;
constexpr const char* kSecondClubRace = "Metz Kevelaer";
constexpr const char* kCombinedList = "Metz federation";

constexpr const char* kColours[] = {"BLUE", "BC", "DC", "RED", "MEAL", "BLUE", "GRIZ", "BC", "BLK", "PIED"};

// ---- Helpers --------------------------------------------------------------------------------

std::string Bytes(const char* utf8) { return Utf8ToCp1252(utf8).value_or(utf8); }

PositionFields Position(std::string_view latitude, std::string_view longitude) {
    return {SplitCoordinateText(latitude, Axis::Latitude), SplitCoordinateText(longitude, Axis::Longitude)};
}

// Ten hex digits ending in "00", as a clock hands chip codes back.
std::string ChipCode(std::uint32_t seed) {
    static const char* const kHex = "0123456789ABCDEF";
    std::uint32_t value = seed * 2654435761U;
    std::string code;
    for (int i = 0; i < 8; ++i, value <<= 4) code += kHex[value >> 28];
    return code + "00";
}

class Writer {
public:
    explicit Writer(Path folder) : folder_(std::move(folder)) {}

    void Check(const ActionResult& result, const std::string& what) {
        if (result.message != 0) problems_.push_back(what + " was refused (message " + std::to_string(result.message) + ")");
        else if (!result.saved) problems_.push_back(what + ": " + result.saved.error);
    }
    void Check(const SaveResult& saved, const std::string& what) {
        if (!saved) problems_.push_back(what + ": " + saved.error);
    }
    const Path& Folder() const { return folder_; }
    std::vector<std::string>& Problems() { return problems_; }

private:
    Path folder_;
    std::vector<std::string> problems_;
};

void WriteOptionsAndCatalogue(Writer& w, const DemoOptions& options) {
    for (const auto& failed : EnsureDataFolders(w.Folder())) w.Problems().push_back("cannot create " + failed);
    Settings settings;
    settings.region = kRegion + PadRight(kRegionName, 30);
    settings.federation = std::string("0") + kFederation + PadRight(kFederationName, 30);
    settings.comPort = options.port;
    settings.showRaceEvaluation = true; // the demo's race is evaluated in the program's windows
    w.Check(WriteOptions(w.Folder(), settings), kOptionsFileName);
    if (options.catalogue.empty()) return;
    const FileContent shipped = ReadWholeFile(options.catalogue);
    if (shipped.status != ReadStatus::Ok) w.Problems().push_back("cannot read " + options.catalogue);
    else w.Check(SaveFileAtomically(ResolvePath(w.Folder(), kCatalogueFileName), shipped.bytes), kCatalogueFileName);
}

void WriteRegisters(Writer& w, const SexCharacters& sexes, int year) {
    ClubTable clubs;
    for (const DemoClub& club : kClubs)
        w.Check(SaveAddedClub(clubs, w.Folder(), {club.number, Bytes(club.name), Bytes(club.note)}),
                std::string("club ") + club.number);

    const char sexOrder[] = {sexes.male, sexes.female, sexes.male, sexes.female, sexes.none};
    std::uint32_t chipSeed = 1;
    for (const DemoClub& club : kClubs) {
        const std::string clubNumber = ClubNumberOnLeave(club.number);
        FancierTable fanciers;
        for (const DemoFancier& f : Fanciers()) {
            if (f.club != clubNumber) continue;
            const std::string what = "fancier " + clubNumber + "/" + f.number;
            w.Check(SaveAddedFancier(fanciers, w.Folder(), clubNumber,
                                     {f.number, Bytes(f.name), Position(f.latitude, f.longitude), f.manualClocking,
                                      Bytes(f.note)}),
                    what);
            const Path file = PigeonFilePath(w.Folder(), clubNumber, FancierNumberOnLeave(f.number));
            PigeonTable pigeons;
            int place = 0;
            for (const RingSeries& s : f.series) {
                for (int i = 0; i < s.count; ++i, ++place) {
                    PigeonFields fields;
                    fields.nation = s.nation;
                    fields.year = s.year;
                    fields.organisation = s.organisation;
                    fields.ringNumber = std::to_string(s.firstRing + i);
                    const char sex = sexOrder[place % 5];
                    fields.sex = sex ? std::string(1, sex) : std::string();
                    fields.colour = kColours[(static_cast<std::size_t>(place) + f.series.size()) % std::size(kColours)];
                    fields.ringFormat = s.format;
                    const AddPigeonsOutcome added = AddPigeons(pigeons, file, fields, sexes, year);
                    w.Check(ActionResult{added.message, {}, added.saved}, what + " pigeon " + fields.ringNumber);
                }
            }
            // Chips came with the clock: the clock's own loft has them all, the others two of three.
            const bool clockLoft = clubNumber == kClockClub && FancierNumberOnLeave(f.number) == kClockFancier;
            PigeonTable chipped;
            for (std::size_t slot = 1; slot <= pigeons.Count(); ++slot) {
                const std::string& record = pigeons.Record(slot);
                const std::string chip = clockLoft || slot % 3 != 0 ? ChipCode(chipSeed++) : std::string(kNoChipCode);
                InsertPigeon(chipped,
                             CompletePigeonRecord(PigeonRing(record), chip, PigeonColour(record),
                                                  PigeonRingFormatText(record)),
                             sexes);
            }
            w.Check(SavePigeons(chipped, file), what + " pigeons");
        }
    }

    RacePointTable points;
    const RacePointsLoad loaded = LoadRacePoints(points, RacePointFilePath(w.Folder()));
    if (!loaded.problem.empty()) w.Problems().push_back(loaded.problem);
    for (const DemoPoint& p : kReleasePoints)
        w.Check(SaveAddedRacePoint(points, w.Folder(),
                                   {std::to_string(p.number), p.name, p.place, Position(p.latitude, p.longitude)}),
                std::string("release point ") + p.name);
}

std::optional<std::string> FindRecord(const Path& folder, std::string_view club, std::string_view fancier) {
    FancierTable fanciers;
    fanciers.Load(FancierFilePath(folder, club));
    const std::size_t slot = FindFancier(fanciers, fancier);
    if (slot == 0) return std::nullopt;
    return fanciers.Record(slot);
}

// A race of club `clubNumber` from release point `pointNumber`, its mean distance over the club's lofts.
std::optional<Race> ClubRace(Writer& w, const std::string& name, const DateTime& day, int pointNumber, int hour, int minute,
                             int clubNumber = kRaceClub) {
    ClubTable clubs;
    LoadClubs(clubs, ClubFilePath(w.Folder()));
    RacePointTable points;
    LoadRacePoints(points, RacePointFilePath(w.Folder()));
    const std::string club = ZeroPadded(clubNumber, 3);
    const std::size_t clubSlot = FindClub(clubs, club);
    if (clubSlot == 0 || points.Count() < static_cast<std::size_t>(pointNumber)) {
        w.Problems().push_back("the race's club or release point is missing");
        return std::nullopt;
    }
    const std::string& point = points.Record(static_cast<std::size_t>(pointNumber));

    Race race;
    race.name = PadRight(name, kRaceNameLength);
    race.day = day.day;
    race.month = day.month;
    race.year = day.year;
    race.clubName = ClubNameOf(clubs.Record(clubSlot));
    race.releasePointName = RacePointNameOf(point) + RacePointPlaceOf(point);
    race.releaseHour = hour;
    race.releaseMinute = minute;
    race.headerComment = PadRight("Club race, old birds", RaceColumn::HeaderComment.width());
    race.clubNumber = clubNumber;
    race.releasePointNumber = pointNumber;
    race.releaseLatitude = RacePointLatitudeOf(point);
    race.releaseLongitude = RacePointLongitudeOf(point);
    race.flightWeek = WeekNumber(day.year, day.month, day.day);

    FancierTable fanciers;
    fanciers.Load(FancierFilePath(w.Folder(), club));
    double total = 0;
    for (const std::string& f : fanciers.Records())
        total += GeodesicDistanceKm(LoftLatitudeOf(f), LoftLongitudeOf(f), race.releaseLatitude, race.releaseLongitude);
    if (fanciers.Count() > 0)
        race.meanDistance = ZeroPadded(std::lround(total / static_cast<double>(fanciers.Count())),
                                       RaceColumn::MeanDistance.width());
    return race;
}

// Every loft of the club clocked by hand: most pigeons home, each at a speed of its own. With
// `late`, that loft's clock is left out, or (`lateOnly`) it alone is read out.
void ClockByHand(Writer& w, const Race& race, int raceIndex, int late = -1, bool lateOnly = false) {
    const std::string club = ZeroPadded(race.clubNumber, 3);
    FancierTable fanciers;
    fanciers.Load(FancierFilePath(w.Folder(), club));
    const DateTime released = MakeDateTime(race.year, race.month, race.day, race.releaseHour, race.releaseMinute);
    int k = -1;
    for (const std::string& fancier : fanciers.Records()) {
        if (lateOnly != (++k == late)) continue;
        PigeonTable pigeons;
        LoadPigeons(pigeons, PigeonFilePath(w.Folder(), club, FancierNumberOf(fancier)));
        ManualLoft loft = ManualLoftOf(fancier, pigeons);
        const DateTime basketed = FromCivilSeconds(CivilSeconds(released) - 86400 + (12 * 60 + 30) * 60);
        const DateTime read = FromCivilSeconds(CivilSeconds(released) + 13 * 3600);
        loft.timer = {basketed.day, basketed.month, basketed.hour, basketed.minute, 0,
                      read.day,     read.month,     read.hour,     read.minute,     0,
                      read.hour,    read.minute,    0};
        const double km =
            GeodesicDistanceKm(LoftLatitudeOf(fancier), LoftLongitudeOf(fancier), race.releaseLatitude, race.releaseLongitude);
        for (std::size_t i = 0; i < loft.pigeons.size(); ++i) {
            std::uint32_t seed = static_cast<std::uint32_t>(std::stoi(FancierNumberOf(fancier)) * 31 + static_cast<int>(i) + 1) * 2654435761U;
            seed ^= static_cast<std::uint32_t>(raceIndex + 1) * 2246822519U;
            seed = (seed ^ (seed >> 15)) * 2654435761U;
            seed ^= seed >> 13;
            if (seed % 7 == 0) continue; // not home in time
            const double metresPerMinute = 1150.0 + static_cast<double>(seed % 3001) / 10.0;
            const DateTime home = FromCivilSeconds(CivilSeconds(released) + std::llround(km * 1000.0 / metresPerMinute * 60.0));
            w.Check(AddManualArrival(loft, i, {home.day, home.month, home.hour, home.minute, home.second}),
                    "an arrival at " + TrimmedRaceName(race));
        }
        w.Check(WriteManualFile(w.Folder(), race, loft), "the clock times of " + TrimmedRaceName(race));
    }
}

// The demo's race comes first, so the race chooser offers it first; the season lists the races
// by date.
void WriteRaces(Writer& w, const DateTime& day) {
    std::optional<Race> race = ClubRace(w, TheDemoRace(day).name, day, kRacePoint, kReleaseHour, kReleaseMinute);
    if (!race) return;
    race->footerComment = PadRight("Provisional until the club committee confirms it", RaceColumn::FooterComment.width());
    RaceList races;
    w.Check(StoreRace(races, w.Folder(), *race, std::nullopt), "race " + TrimmedRaceName(*race));

    Season season;
    season.name = "Season " + std::to_string(day.year);
    season.countedPrizes = 3;
    for (std::size_t i = 0; i < std::size(kEarlierRaces); ++i) {
        const EarlierRace& earlier = kEarlierRaces[i];
        const DateTime date = FromCivilSeconds(CivilSeconds(day) - earlier.weeksBefore * 7 * 86400LL);
        const std::optional<Race> flown = ClubRace(w, earlier.name, date, earlier.point, kEarlierReleaseHour, 0);
        if (!flown) return;
        if (i == 0) season.firstRace = DateOfRace(*flown);
        w.Check(StoreRace(races, w.Folder(), *flown, std::nullopt), std::string("race ") + earlier.name);
        // The first race's list went out without one clock, read out after the list was final.
        const int late = i == 0 ? kLateLoft : -1;
        ClockByHand(w, *flown, static_cast<int>(i), late);
        const RaceCalcOutcome calculated =
            CalculateRace(races, races.Count(), DistanceTable{}, w.Folder(), ReadOptions(w.Folder()), ',');
        w.Check(calculated.resultSaved, std::string("the result of ") + earlier.name);
        const std::int64_t flownAt = CivilSeconds(MakeDateTime(flown->year, flown->month, flown->day, 20, 0));
        w.Check(FinaliseRace(w.Folder(), *flown, {"Club committee", {}, FromCivilSeconds(flownAt + 4 * 86400LL)}),
                std::string("the final list of ") + earlier.name);
        season.races.push_back(earlier.name);
    }
    season.races.push_back(TrimmedRaceName(*race));

    // The second club flies Metz too, clocked by hand; the federation's list takes both clubs.
    const std::optional<Race> second =
        ClubRace(w, kSecondClubRace, day, kRacePoint, kReleaseHour, kReleaseMinute + 15, kSecondClub);
    if (!second) return;
    w.Check(StoreRace(races, w.Folder(), *second, std::nullopt), std::string("race ") + kSecondClubRace);
    ClockByHand(w, *second, static_cast<int>(std::size(kEarlierRaces)));
    w.Check(CalculateRace(races, races.Count(), DistanceTable{}, w.Folder(), ReadOptions(w.Folder()), ',').resultSaved,
            std::string("the result of ") + kSecondClubRace);
    w.Check(StoreCombinedList(w.Folder(), {kCombinedList, {TrimmedRaceName(*race), kSecondClubRace}}, std::nullopt),
            kCombinedList);

    const DateTime end = FromCivilSeconds(CivilSeconds(day) + kSeasonWeeksAfter * 7 * 86400LL);
    season.lastRace = {end.year, end.month, end.day};
    const SeasonStore stored = StoreSeason(w.Folder(), season, std::nullopt);
    if (stored.message != 0) w.Problems().push_back("the season was refused (message " + std::to_string(stored.message) + ")");
    else w.Check(stored.saved, "the season");

    // The late clock, once the season stands, so the log shows the prizes it moved.
    const std::size_t first = 2; // after the demo's own race
    if (races.Count() < first) return;
    const Race amended = races.races[first - 1];
    ClockByHand(w, amended, 0, kLateLoft, true);
    const std::int64_t flownAt = CivilSeconds(MakeDateTime(amended.year, amended.month, amended.day, 20, 0));
    const RaceLogAuthor late{"Club committee", "a clock read out late", FromCivilSeconds(flownAt + 5 * 86400LL - 3600)};
    w.Check(CalculateRace(races, first, DistanceTable{}, w.Folder(), ReadOptions(w.Folder()), ',', &late).resultSaved,
            "the amended result of " + TrimmedRaceName(amended));
}

void WriteClock(Writer& w, const SexCharacters& sexes, const DateTime& day) {
    const std::optional<std::string> fancier = FindRecord(w.Folder(), kClockClub, kClockFancier);
    PigeonTable pigeons;
    LoadPigeons(pigeons, PigeonFilePath(w.Folder(), kClockClub, kClockFancier));
    if (!fancier || pigeons.Count() < std::size(kArrivals)) {
        w.Problems().push_back("the clock's loft is missing");
        return;
    }
    const PigeonsConvert convert(SexTexts{std::string(1, sexes.male), std::string(1, sexes.female),
                                          sexes.none ? std::string(1, sexes.none) : std::string()});
    ClockState state;
    state.region = static_cast<std::uint8_t>(*ParseInteger(kRegion));
    state.federation = static_cast<std::uint8_t>(*ParseInteger(kFederation));
    state.club = static_cast<std::uint8_t>(*ParseInteger(kClockClub));
    state.fancier = static_cast<std::uint8_t>(*ParseInteger(kClockFancier));
    state.name = FancierNameOf(*fancier);
    for (const std::string& record : pigeons.Records()) {
        const auto ring = convert.EncodeRing(record);
        const auto chip = PigeonsConvert::EncodeChip(record);
        // A pigeon the clock would hand back changed would make the loft read-back alter the register.
        if (!ring || !chip || convert.DecodePigeon(*ring, *chip) != record) {
            w.Problems().push_back("the clock cannot hold the pigeon " + record);
            continue;
        }
        state.pigeons.push_back({*ring, *chip});
    }
    // Basketed the evening before the race.
    const DateTime basketing = FromCivilSeconds(CivilSeconds(day) - 86400 + (19 * 60 + 30) * 60);
    state.basketing = {static_cast<std::uint8_t>(basketing.day), static_cast<std::uint8_t>(basketing.month),
                       static_cast<std::uint8_t>(basketing.hour), static_cast<std::uint8_t>(basketing.minute), 0};
    for (std::size_t i = 0; i < std::size(kArrivals) && i < state.pigeons.size(); ++i) {
        const DemoArrival& a = kArrivals[i];
        ArrivalRecord record{};
        const RingRecord& ring = state.pigeons[static_cast<std::size_t>(a.loftPosition - 1)].ring;
        std::copy(ring.begin(), ring.end(), record.begin());
        record[16] = kRacePoint;
        record[17] = static_cast<std::uint8_t>(day.day);
        record[18] = static_cast<std::uint8_t>(a.hour);
        record[19] = static_cast<std::uint8_t>(a.minute);
        record[20] = static_cast<std::uint8_t>(a.second);
        record[27] = static_cast<std::uint8_t>((i + 1) / 10 << 4 | (i + 1) % 10); // running number, packed
        state.arrivals.push_back(record);
    }
    state.clockOffsetSeconds = kClockOffsetSeconds;
    w.Check(SaveClockState(w.Folder() / kClockStateFile, state), kClockStateFile);
}

} // namespace

DemoRace TheDemoRace(const DateTime& raceDay) {
    return {"Metz", WeekNumber(raceDay.year, raceDay.month, raceDay.day), kRacePoint, kRaceClub};
}

std::vector<std::string> WriteDemoFolder(const Path& folder, const DemoOptions& options) {
    Writer w(folder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return {"cannot create " + folder.string() + ": " + error.message()};

    WriteOptionsAndCatalogue(w, options);
    SexCharacters sexes{'M', 'F', 'U'};
    if (!options.catalogue.empty()) {
        TextCatalogue catalogue;
        catalogue.Load(folder);
        if (catalogue.Contains("frmMain.MaleSex"))
            sexes = SexCharactersFromTexts(catalogue.LookupText("frmMain.MaleSex"),
                                           catalogue.LookupText("frmMain.FemaleSex"),
                                           catalogue.LookupText("frmMain.NoSex"));
    }
    if (w.Problems().empty()) WriteRegisters(w, sexes, options.raceDay.year);
    if (w.Problems().empty()) WriteRaces(w, options.raceDay);
    if (w.Problems().empty()) WriteClock(w, sexes, options.raceDay);
    return w.Problems();
}

std::vector<std::string> FilesUnder(const Path& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        // A link (the demo's line to the simulated clock) is not the user's data.
        if (it->is_symlink(error) || !it->is_regular_file(error)) continue;
        files.push_back(std::filesystem::relative(it->path(), folder, error).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool SameFiles(const Path& folder, const Path& reference) {
    const std::vector<std::string> files = FilesUnder(folder);
    if (files != FilesUnder(reference)) return false;
    return std::all_of(files.begin(), files.end(), [&](const std::string& name) {
        const FileContent a = ReadWholeFile(folder / name);
        const FileContent b = ReadWholeFile(reference / name);
        return a.status == ReadStatus::Ok && b.status == ReadStatus::Ok && a.bytes == b.bytes;
    });
}

std::optional<DateTime> PreparedRaceDay(const Path& folder) {
    const RaceList races = LoadRaces(folder);
    if (races.outcome != LoadOutcome::Loaded || races.races.empty()) return std::nullopt;
    const Race& race = races.races.front();
    const DateTime day = MakeDateTime(race.year, race.month, race.day);
    if (!IsValidDateTime(day)) return std::nullopt;
    return day;
}

} // namespace plumet::demo
