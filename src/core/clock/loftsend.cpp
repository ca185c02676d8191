#include "core/clock/loftsend.h"

#include "core/app/fixedwidth.h"
#include "core/app/optionscolumns.h"
#include "core/clock/loftmessage.h"
#include "core/registers/clubcolumns.h"
#include "core/registers/fanciers.h"
#include "core/registers/pigeons.h"

namespace plumet {

namespace {

constexpr std::size_t kKeyAndNameBytes = 4 + kLoftNameBytes + 2; // counted in the length with the pigeons

// A number the clock takes as one byte; nothing for a text that is not one.
std::optional<long long> ByteNumber(std::string_view text) {
    const auto value = ParseInteger(text);
    if (!value || *value < 0 || *value > 255) return std::nullopt;
    return value;
}

// "7" as the register's number field holds it, "007"; other texts as they stand.
std::string NumberField(std::string_view text, Column field) {
    const std::string trimmed = TrimBlanks(text);
    return IsAllDigits(trimmed) && trimmed.size() < field.width() ? PadLeft(trimmed, field.width()) : trimmed;
}

LoftSendOutcome Ended(LoftSendOutcome out, LinkStatus status) {
    out.link = status;
    out.result = status == LinkStatus::Cancelled ? LoftSendResult::Cancelled : LoftSendResult::Broken;
    return out;
}

// The ring as one reads it: its parts with one blank between them.
std::string RingText(const std::string& record) {
    std::string ring;
    for (const char c : TrimBlanks(Field(record, PigeonColumn::RingWithoutSex)))
        if (c != ' ' || ring.back() != ' ') ring += c;
    return ring;
}

LoftCoding NotCodable(RefusalReason reason, std::size_t position, const std::string& record, std::string value) {
    Refusal refusal{reason};
    refusal.record = position;
    refusal.item = RingText(record);
    refusal.value = std::move(value);
    return {std::nullopt, std::move(refusal)};
}

} // namespace

std::string LoftSendHeadline(const LoftToSend& loft) {
    return Field(loft.region, RegionColumn::Number) + "." + Field(loft.federation, FederationColumn::Code) + "." +
           loft.club + "." + loft.fancier + " " + loft.name;
}

std::optional<LoftToSend> RegisteredLoft(const Path& programFolder, const Settings& settings, std::string_view club,
                                         std::string_view fancier, std::string* unreadable) {
    const std::string clubNumber = NumberField(club, ClubColumn::Number);
    const std::string fancierNumber = NumberField(fancier, FancierColumn::Number);
    if (clubNumber.size() != ClubColumn::Number.width() || fancierNumber.size() != FancierColumn::Number.width())
        return std::nullopt;
    FancierTable fanciers;
    const Path file = FancierFilePath(programFolder, clubNumber);
    LoadFanciers(fanciers, file);
    if (fanciers.LastLoad() == LoadOutcome::Unreadable) {
        if (unreadable) *unreadable = UnreadableText(fanciers, file);
        return std::nullopt;
    }
    const std::size_t slot = FindFancier(fanciers, fancierNumber);
    if (slot == 0) return std::nullopt;
    return LoftToSend{settings.region, settings.federation, clubNumber, fancierNumber,
                      FancierNameOf(fanciers.Record(slot))};
}

LoftCoding CodeLoft(const LoftToSend& loft, const std::vector<std::string>& pigeonRecords,
                    const PigeonsConvert& convert) {
    const struct {
        const char* field;
        std::string text;
    } numbers[] = {{"Refusal.FieldRegion", Field(loft.region, RegionColumn::Number)},
                   {"Refusal.FieldFederation", Field(loft.federation, FederationColumn::Code)},
                   {"Refusal.FieldClub", loft.club},
                   {"Refusal.FieldFancier", loft.fancier}};
    std::string key;
    for (const auto& number : numbers) {
        const auto value = ByteNumber(number.text);
        if (!value) {
            Refusal refusal{RefusalReason::NumberNotAByte};
            refusal.field = number.field;
            refusal.value = number.text;
            return {std::nullopt, std::move(refusal)};
        }
        key += LineByte(*value);
    }
    if (pigeonRecords.size() > kPigeonCapacity) {
        Refusal refusal{RefusalReason::TooManyPigeons};
        refusal.record = pigeonRecords.size();
        refusal.limit = kPigeonCapacity;
        return {std::nullopt, std::move(refusal)};
    }

    LoftMessage message;
    message.pigeons.reserve(pigeonRecords.size());
    for (std::size_t i = 0; i < pigeonRecords.size(); ++i) {
        const std::string& record = pigeonRecords[i];
        const auto ring = convert.EncodeRing(record);
        const auto chip = PigeonsConvert::EncodeChip(record);
        if (!ring) {
            const std::string format = TrimBlanks(PigeonRingFormatText(record));
            const bool formatCodable = IsAllDigits(format) && *ParseInteger(format) <= kHighestRingFormat;
            return formatCodable
                       ? NotCodable(RefusalReason::RingNotCodable, i + 1, record, TrimBlanks(PigeonYear(record)))
                       : NotCodable(RefusalReason::FormatNotCodable, i + 1, record, format);
        }
        if (!chip) return NotCodable(RefusalReason::ChipNotCodable, i + 1, record, PigeonChipCode(record));
        std::string bytes(ring->begin(), ring->end());
        bytes.append(chip->begin(), chip->end());
        message.pigeons.push_back(std::move(bytes));
    }
    const std::size_t count = pigeonRecords.size();
    message.head = std::string{static_cast<char>(kStartChar), static_cast<char>(kCommandLoftSend)} +
                   CountBytes(kKeyAndNameBytes + kLoftPigeonBytes * count) + key + PadRight(loft.name, kLoftNameBytes) +
                   CountBytes(count);
    return {std::move(message), {}};
}

std::string ClockDateTimeBytes(const DateTime& at) {
    return {LineByte(at.day),  LineByte(at.month),  LineByte(at.year % 100), LineByte(at.weekday + 1),
            LineByte(at.hour), LineByte(at.minute), LineByte(at.second)};
}

LoftSendOutcome SendLoft(ClockLink& link, const Path& programFolder, const LoftToSend& loft, const SexTexts& sexes,
                         const TimeSource& clock, milliseconds byteTimeout,
                         const TransferProgressSink& progress, std::stop_token cancel) {
    LoftSendOutcome out;

    PigeonTable table;
    const Path file = PigeonFilePath(programFolder, loft.club, loft.fancier);
    LoadPigeons(table, file);
    // An unreadable file would otherwise go out as an empty loft and wipe the clock's.
    if (table.LastLoad() == LoadOutcome::Unreadable) {
        out.refusal = {RefusalReason::FileUnreadable, file, table.LoadProblem()};
        return out;
    }
    LoftCoding coding = CodeLoft(loft, table.Records(), PigeonsConvert(sexes));
    if (!coding.message) {
        out.refusal = std::move(coding.refusal);
        return out;
    }
    const LoftMessage& message = *coding.message;
    out.pigeons = message.pigeons.size();
    Report(progress, {0, out.pigeons, kLoftSendStep});

    if (const LinkStatus sent = SendBytes(link, message.head, cancel); sent != LinkStatus::Ok) return Ended(out, sent);
    for (const std::string& pigeon : message.pigeons) {
        if (const LinkStatus sent = SendBytes(link, pigeon, cancel); sent != LinkStatus::Ok) return Ended(out, sent);
        ++out.sent;
        Report(progress, {out.sent, out.pigeons, kLoftSendStep});
        if (cancel.stop_requested()) return Ended(out, LinkStatus::Cancelled);
    }
    // One reading for all seven bytes, so a minute turning over cannot tear the time apart.
    const std::string trailer = std::string(1, static_cast<char>(kStartChar)) + ClockDateTimeBytes(clock.Now());
    if (const LinkStatus sent = SendBytes(link, trailer, cancel); sent != LinkStatus::Ok) return Ended(out, sent);

    out.link = ExpectByte(link, kStartChar, byteTimeout, cancel);
    if (out.link == LinkStatus::Cancelled) return Ended(out, out.link);
    out.result = out.link == LinkStatus::Ok ? LoftSendResult::Confirmed : LoftSendResult::NotConfirmed;
    return out;
}

} // namespace plumet
