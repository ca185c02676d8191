#include "core/clock/loftget.h"

#include "core/app/fixedwidth.h"
#include "core/app/optionscolumns.h"
#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"
#include "core/registers/pigeons.h"

namespace plumet {

namespace {

LoftGetOutcome Ended(LoftGetOutcome out, LinkStatus status) {
    out.link = status;
    if (status == LinkStatus::Cancelled) {
        out.result = LoftGetResult::Cancelled;
        out.status.clear();
    } else {
        out.result = LoftGetResult::CommunicationError;
        out.status = "txtCommunicationError";
    }
    return out;
}

LoftGetOutcome Unusable(LoftGetOutcome out, std::string why) {
    out.result = LoftGetResult::Refused;
    out.saved = SaveFailed(std::move(why));
    return out;
}

LoftGetOutcome Refused(LoftGetOutcome out, LoftGetResult result, int message) {
    out.result = result;
    out.message = message;
    return out;
}

// The number of an options file's line; -1 when it is none.
long long SettingNumber(const std::string& line, Column number) {
    return ParseInteger(Field(line, number)).value_or(-1);
}

} // namespace

LoftGetOutcome GetLoft(ClockLink& link, const Path& programFolder, const Settings& settings, const SexTexts& sexes,
                       milliseconds byteTimeout, const TransferProgressSink& progress, std::stop_token cancel) {
    LoftGetOutcome out;
    if (std::string problem = SettingsProblem(settings); !problem.empty()) return Unusable(out, std::move(problem));
    const std::string command{static_cast<char>(kStartChar), static_cast<char>(kCommandLoftGet)};
    if (const LinkStatus sent = SendBytes(link, command, cancel); sent != LinkStatus::Ok) return Ended(out, sent);

    out.link = ExpectByte(link, kStartChar, byteTimeout, cancel);
    if (out.link == LinkStatus::Cancelled) return Ended(out, out.link);
    if (out.link != LinkStatus::Ok) return Refused(out, LoftGetResult::NoAcknowledgement, 3);

    std::uint8_t key[4] = {};
    if (const LinkStatus got = ReceiveBytes(link, key, byteTimeout, cancel); got != LinkStatus::Ok)
        return Ended(out, got);
    out.key = {key[0], key[1], key[2], key[3]};
    const CountResult count = ReceiveCount(link, byteTimeout, cancel);
    if (count.status != LinkStatus::Ok) return Ended(out, count.status);
    out.pigeons = count.count;
    if (out.pigeons > kPigeonCapacity) {
        out.result = LoftGetResult::TooManyPigeons;
        out.status = "txtCommunicationError";
        return out;
    }

    Report(progress, {0, out.pigeons, {}});
    const PigeonsConvert convert(sexes);
    std::vector<std::string> records;
    records.reserve(out.pigeons);
    for (std::size_t i = 0; i < out.pigeons; ++i) {
        RingRecord ring{};
        ChipRecord chip{};
        if (const LinkStatus got = ReceiveBytes(link, ring, byteTimeout, cancel); got != LinkStatus::Ok)
            return Ended(out, got);
        if (const LinkStatus got = ReceiveBytes(link, chip, byteTimeout, cancel); got != LinkStatus::Ok)
            return Ended(out, got);
        records.push_back(convert.DecodePigeon(ring, chip));
        Report(progress, {records.size(), out.pigeons, {}});
    }
    out.link = ExpectByte(link, kStartChar, byteTimeout, cancel);
    if (out.link != LinkStatus::Ok) return Ended(out, out.link);
    out.status = "txtCommunicationOk";

    if (out.key.region != SettingNumber(settings.region, RegionColumn::Number))
        return Refused(out, LoftGetResult::WrongRegion, 4);
    if (out.key.federation != SettingNumber(settings.federation, FederationColumn::Code))
        return Refused(out, LoftGetResult::WrongFederation, 5);
    const std::string club = ZeroPadded(out.key.club, ClubColumn::Number.width());
    const std::string fancier = ZeroPadded(out.key.fancier, FancierColumn::Number.width());
    ClubTable clubs;
    const Path clubFile = ClubFilePath(programFolder);
    LoadClubs(clubs, clubFile);
    if (clubs.LastLoad() == LoadOutcome::Unreadable) return Unusable(out, UnreadableText(clubs, clubFile));
    if (FindClub(clubs, club) == 0) return Refused(out, LoftGetResult::UnknownClub, 6);
    FancierTable fanciers;
    const Path fancierFile = FancierFilePath(programFolder, club);
    LoadFanciers(fanciers, fancierFile);
    if (fanciers.LastLoad() == LoadOutcome::Unreadable) return Unusable(out, UnreadableText(fanciers, fancierFile));
    if (FindFancier(fanciers, fancier) == 0) return Refused(out, LoftGetResult::UnknownFancier, 7);

    const SexCharacters order = SexCharactersFromTexts(sexes.male, sexes.female, sexes.none);
    PigeonTable table;
    for (std::string& record : records) InsertPigeon(table, std::move(record), order);
    out.file = PigeonFilePath(programFolder, club, fancier);
    if (cancel.stop_requested()) return Ended(out, LinkStatus::Cancelled);
    out.saved = SavePigeons(table, out.file);
    out.result = out.saved ? LoftGetResult::Stored : LoftGetResult::SaveFailed;
    return out;
}

} // namespace plumet
