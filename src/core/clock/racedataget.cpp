#include "core/clock/racedataget.h"

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"

namespace plumet {

namespace {

void Report(const TransferProgressSink& progress, RacedataStatus status) {
    Report(progress, {0, 0, RacedataStatusKey(status)});
}

RacedataReceipt Ended(ReceiveOutcome outcome, LinkStatus link) {
    if (link == LinkStatus::Cancelled) outcome = ReceiveOutcome::Cancelled;
    return {outcome, link, {}};
}

RacedataOutcome EndedWith(RacedataResult result, int message, RacedataStatus status, const Path& file = {}) {
    RacedataOutcome outcome;
    outcome.result = result, outcome.message = message, outcome.status = status, outcome.file = file;
    return outcome;
}

RacedataOutcome RefusedFor(std::string why, const Path& file = {}) {
    RacedataOutcome outcome = EndedWith(RacedataResult::Refused, 0, RacedataStatus::None, file);
    outcome.error = std::move(why);
    return outcome;
}

// The number at the start of a settings line; -1 when there is none, so no byte matches.
int SettingNumber(const std::string& digits) {
    const auto value = ParseInteger(digits);
    return value ? static_cast<int>(*value) : -1;
}

} // namespace

const char* RacedataStatusKey(RacedataStatus status) {
    switch (status) {
    case RacedataStatus::None: return "";
    case RacedataStatus::TerminalSearch: return "txtTerminalSearch";
    case RacedataStatus::DataGet: return "txtDataGet";
    case RacedataStatus::CommunicationOk: return "txtCommunicationOk";
    case RacedataStatus::DataSave: return "txtDataSave";
    case RacedataStatus::DataReady: return "txtDataReady";
    case RacedataStatus::CommunicationError: return "txtCommunicationError";
    }
    return "";
}

RacedataReceipt ReceiveRacedata(ClockLink& link, milliseconds byteTimeout, const TransferProgressSink& progress,
                                std::stop_token cancel) {
    Report(progress, RacedataStatus::TerminalSearch);
    // Whatever the clock sent before (a print-out, the tail of an earlier read) must not be
    // taken for the answer.
    LinkStatus status = DrainInput(link, byteTimeout, cancel);
    if (status != LinkStatus::Ok) return Ended(ReceiveOutcome::Failed, status);
    const char request[] = {static_cast<char>(kStartChar), static_cast<char>(kCommandRacedataGet)};
    status = SendBytes(link, std::string_view(request, 2), cancel);
    if (status != LinkStatus::Ok) return Ended(ReceiveOutcome::Failed, status);

    status = ExpectByte(link, kStartChar, byteTimeout, cancel);
    if (status == LinkStatus::Timeout || status == LinkStatus::Unexpected) return Ended(ReceiveOutcome::NoAnswer, status);
    if (status != LinkStatus::Ok) return Ended(ReceiveOutcome::Failed, status);

    Report(progress, RacedataStatus::DataGet);
    RacedataReceipt receipt{ReceiveOutcome::Received, LinkStatus::Ok, {}};
    ClockRacedata& data = receipt.data;
    status = ReceiveBytes(link, data.header, byteTimeout, cancel);
    if (status != LinkStatus::Ok) return Ended(ReceiveOutcome::Failed, status);
    const CountResult count = ReceiveCount(link, byteTimeout, cancel);
    if (count.status != LinkStatus::Ok) return Ended(ReceiveOutcome::Failed, count.status);
    if (count.count > kArrivalRecordLimit) return Ended(ReceiveOutcome::TooManyArrivals, LinkStatus::Ok);
    status = ReceiveBytes(link, data.timer, byteTimeout, cancel);
    if (status != LinkStatus::Ok) return Ended(ReceiveOutcome::Failed, status);
    data.arrivals.resize(count.count);
    for (ArrivalRecord& arrival : data.arrivals) {
        status = ReceiveBytes(link, arrival, byteTimeout, cancel);
        if (status != LinkStatus::Ok) return Ended(ReceiveOutcome::Failed, status);
    }
    status = ExpectByte(link, kStartChar, byteTimeout, cancel);
    if (status != LinkStatus::Ok) return Ended(ReceiveOutcome::Failed, status);
    Report(progress, RacedataStatus::CommunicationOk);
    return receipt;
}

RacedataOutcome StoreRacedata(const ClockRacedata& data, const RacedataTarget& target,
                              const TransferProgressSink& progress, std::stop_token cancel) {
    const ReadoutFields& fields = target.fields;
    if (std::string problem = SettingsProblem(target.settings); !problem.empty()) return RefusedFor(std::move(problem));
    if (data.Region() != SettingNumber(target.settings.RegionNumber()))
        return EndedWith(RacedataResult::WrongRegion, kRacedataWrongRegion, RacedataStatus::None);
    if (data.Federation() != SettingNumber(target.settings.FederationNumber()))
        return EndedWith(RacedataResult::WrongFederation, kRacedataWrongFederation, RacedataStatus::None);

    const std::string club = ZeroPadded(data.Club(), 3);
    ClubTable clubs;
    const Path clubFile = ClubFilePath(target.programFolder);
    LoadClubs(clubs, clubFile);
    if (clubs.LastLoad() == LoadOutcome::Unreadable) return RefusedFor(UnreadableText(clubs, clubFile));
    if (FindClub(clubs, club) == 0)
        return EndedWith(RacedataResult::UnknownClub, kRacedataUnknownClub, RacedataStatus::None);
    FancierTable fanciers;
    const Path fancierFile = FancierFilePath(target.programFolder, club);
    LoadFanciers(fanciers, fancierFile);
    if (fanciers.LastLoad() == LoadOutcome::Unreadable) return RefusedFor(UnreadableText(fanciers, fancierFile));
    const std::size_t fancierSlot = FindFancier(fanciers, ZeroPadded(data.Fancier(), 3));
    if (fancierSlot == 0)
        return EndedWith(RacedataResult::UnknownFancier, kRacedataUnknownFancier, RacedataStatus::None);

    const Path file = ReadoutFilePath(target.programFolder, target.settings, fields.week, fields.point);
    ReadoutFile readout = LoadReadoutFile(file);
    if (readout.status == ReadStatus::Unreadable)
        return RefusedFor(CatalogueText("Files.NotSavedUnreadable", {PathText(file), ReasonText(readout.problem)}), file);
    if (HoldsLoft(readout.lines, data.Club(), data.Fancier()))
        return EndedWith(RacedataResult::AlreadyRead, kRacedataAlreadyRead, RacedataStatus::None, file);

    RacedataOutcome outcome = EndedWith(RacedataResult::Saved, 0, RacedataStatus::DataReady, file);
    std::vector<std::string>& added = outcome.appended;
    if (readout.lines.empty()) added.push_back(ReadoutDateLine(fields));
    std::size_t kept = 0;
    for (const ArrivalRecord& arrival : data.arrivals) kept += ArrivalKept(arrival, fields.point) ? 1 : 0;
    const std::string& record = fanciers.Record(fancierSlot);
    outcome.fancier = Field(record, FancierColumn::Number) + " " + TrimBlanks(Field(record, FancierColumn::Name));
    outcome.arrivals = kept;
    added.push_back(ReadoutLoftLine(data.Club(), data.Fancier(), kept, record));
    added.push_back(ReadoutTimerLine(data.Club(), data.Fancier(), data.timer));
    const PigeonsConvert convert(target.sexes);
    for (const ArrivalRecord& arrival : data.arrivals)
        if (ArrivalKept(arrival, fields.point))
            added.push_back(ReadoutArrivalLine(data.Club(), data.Fancier(), arrival, data.timer, convert));

    if (readout.lines.size() + added.size() > kReadoutLineLimit) {
        outcome = EndedWith(RacedataResult::SaveFailed, kRacedataSaveFailed, RacedataStatus::None, file);
        outcome.error = CatalogueText("Readout.TooManyLines", {PathText(file), std::to_string(kReadoutLineLimit)});
        return outcome;
    }
    if (cancel.stop_requested()) return EndedWith(RacedataResult::Cancelled, 0, RacedataStatus::None, file);

    Report(progress, RacedataStatus::DataSave);
    readout.lines.insert(readout.lines.end(), added.begin(), added.end());
    const SaveResult saved = SaveReadoutFile(file, readout.lines);
    if (!saved) {
        outcome = EndedWith(RacedataResult::SaveFailed, kRacedataSaveFailed, RacedataStatus::None, file);
        outcome.error = saved.error;
        return outcome;
    }
    Report(progress, RacedataStatus::DataReady);
    return outcome;
}

RacedataOutcome GetRacedata(ClockLink& link, const RacedataTarget& target, milliseconds byteTimeout,
                            const TransferProgressSink& progress, std::stop_token cancel) {
    if (std::string problem = SettingsProblem(target.settings); !problem.empty()) return RefusedFor(std::move(problem));
    const RacedataReceipt receipt = ReceiveRacedata(link, byteTimeout, progress, cancel);
    switch (receipt.outcome) {
    case ReceiveOutcome::Received: return StoreRacedata(receipt.data, target, progress, cancel);
    case ReceiveOutcome::NoAnswer:
        return EndedWith(RacedataResult::NoAnswer, kRacedataNoAnswer, RacedataStatus::CommunicationError);
    case ReceiveOutcome::Cancelled: return EndedWith(RacedataResult::Cancelled, 0, RacedataStatus::None);
    case ReceiveOutcome::Failed:
    case ReceiveOutcome::TooManyArrivals: break;
    }
    return EndedWith(RacedataResult::CommunicationError, 0, RacedataStatus::CommunicationError);
}

} // namespace plumet
