#include "core/clock/racepointssend.h"

#include "core/app/fixedwidth.h"
#include "core/releasepoints/releasepoints.h"

namespace plumet {

namespace {

RacePointsSendOutcome Ended(RacePointsSendOutcome out, LinkStatus status) {
    out.link = status;
    out.result = status == LinkStatus::Cancelled ? RacePointsSendResult::Cancelled : RacePointsSendResult::Broken;
    return out;
}

} // namespace

std::string RacePointSentLine(std::string_view record) {
    return RacePointNumberOf(record) + "  " + RacePointNameOf(record);
}

RacePointsSendOutcome SendRacePoints(ClockLink& link, const Path& programFolder, milliseconds byteTimeout,
                                     const TransferProgressSink& progress, std::stop_token cancel) {
    RacePointsSendOutcome out;
    RacePointTable table;
    const RacePointsLoad loaded = LoadRacePoints(table, RacePointFilePath(programFolder));
    // A refused register would go out as no names at all and wipe the clock's.
    if (loaded.outcome == LoadOutcome::Unreadable) {
        out.refusal.reason = RefusalReason::RegisterRefused;
        out.refusal.value = loaded.problem;
        return out;
    }
    out.points = table.Count();
    Report(progress, {0, out.points, {}});

    const auto send = [&](std::string_view bytes) {
        const LinkStatus status = SendBytes(link, bytes, cancel);
        if (status == LinkStatus::Ok) out.bytes += bytes.size();
        return status;
    };
    const std::string opening = std::string{static_cast<char>(kStartChar), static_cast<char>(kCommandRacePointsSend)} +
                                std::string(kRacePointNameLength, ' ');
    if (const LinkStatus sent = send(opening); sent != LinkStatus::Ok) return Ended(out, sent);
    for (const std::string& record : table.Records()) {
        // Names go as they stand: a ">" in one is not escaped.
        if (const LinkStatus sent = send(PadRight(RacePointNameOf(record), kRacePointNameLength));
            sent != LinkStatus::Ok)
            return Ended(out, sent);
        ++out.sent;
        Report(progress, {out.sent, out.points, RacePointSentLine(record)});
    }
    if (const LinkStatus sent = send(std::string(1, static_cast<char>(kStartChar))); sent != LinkStatus::Ok)
        return Ended(out, sent);

    out.link = ExpectByte(link, kStartChar, byteTimeout, cancel);
    if (out.link == LinkStatus::Cancelled) return Ended(out, out.link);
    out.result = out.link == LinkStatus::Ok ? RacePointsSendResult::Confirmed : RacePointsSendResult::NotConfirmed;
    return out;
}

} // namespace plumet
