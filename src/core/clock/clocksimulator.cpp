#include "core/clock/clocksimulator.h"

#include <algorithm>
#include <vector>

#include "core/app/fixedwidth.h"
#include "core/clock/loftmessage.h"
#include "core/clock/racedataget.h"
#include "core/registers/pigeons.h"

namespace plumet {

namespace {

constexpr std::string_view kRawHeader = "\x54\xAA\xAB\x55\x55\x57";
// A loft message: two length bytes, the loft, then the end mark and seven date and time bytes.
// The loft is region, federation, club and fancier, the name, the pigeon count (high byte first)
// and the pigeons.
constexpr std::size_t kLengthBytes = 2;
constexpr std::size_t kTrailerBytes = 8;
constexpr std::size_t kNameAt = 4;
constexpr std::size_t kCountAt = kNameAt + kLoftNameBytes;
constexpr std::size_t kLoftFixedLength = kCountAt + 2;
constexpr std::size_t kLongestHexLine = 1 + 2 * (255 + 5) + 1;

std::uint8_t At(const std::string& bytes, std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); }

std::string Bytes(const std::uint8_t* from, std::size_t count) { return {reinterpret_cast<const char*>(from), count}; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string TwoDigits(int value) { return ZeroPadded(value, 2); }

std::string DateTimeText(const DateTime& at) {
    return TwoDigits(at.day) + "." + TwoDigits(at.month) + "." + TwoDigits(at.year % 100) + " " + TwoDigits(at.hour) +
           ":" + TwoDigits(at.minute) + ":" + TwoDigits(at.second);
}

} // namespace

const char* ClockEventName(ClockEvent event) {
    switch (event) {
    case ClockEvent::LoftReceived: return "loft received";
    case ClockEvent::LoftSent: return "loft sent";
    case ClockEvent::RaceDataSent: return "race data sent";
    case ClockEvent::ReleasePointsReceived: return "release points received";
    case ClockEvent::TimeSet: return "time set";
    case ClockEvent::FirmwareStarted: return "firmware upload started";
    case ClockEvent::FirmwareReceived: return "firmware upload ended";
    case ClockEvent::Printed: return "printed";
    case ClockEvent::Rejected: return "message rejected";
    case ClockEvent::Abandoned: return "message abandoned";
    }
    return "?";
}

ClockSimulator::ClockSimulator(const TimeSource& masterTime, ClockState state)
    : master_(masterTime), state_(std::move(state)) {}

DateTime ClockSimulator::ClockTime() const {
    const DateTime now = master_.Now();
    return FromCivilSeconds(CivilSeconds(now) + state_.clockOffsetSeconds, now.utcOffsetMinutes);
}

void ClockSimulator::SetClockTime(const DateTime& at) {
    state_.clockOffsetSeconds = CivilSeconds(at) - CivilSeconds(master_.Now());
}

void ClockSimulator::Report(ClockEvent event, const std::string& detail) {
    if (sink_) sink_(event, detail);
}

std::string ClockSimulator::Emit(std::string bytes) {
    std::string out;
    for (const char c : bytes) {
        ++sent_;
        if (faults_.silentAfter && sent_ > *faults_.silentAfter) continue;
        out += sent_ == faults_.corruptAt ? static_cast<char>(~c) : c;
    }
    return out;
}

std::string ClockSimulator::OnByte(std::uint8_t b) {
    switch (mode_) {
    case Mode::Idle: return Idle(b);
    case Mode::Command:
        mode_ = Mode::Idle;
        switch (b) {
        case kCommandLoftSend: mode_ = Mode::LoftIn; buffer_.clear(); return {};
        case kCommandLoftGet: return LoftAnswer();
        case kCommandRacedataGet: return RaceAnswer();
        case kCommandRacePointsSend:
            mode_ = Mode::PointsIn;
            buffer_.clear();
            entries_.clear();
            pendingEnd_ = false;
            return {};
        case kStartChar: mode_ = Mode::Command; return {};
        default: Report(ClockEvent::Rejected, "unknown command " + std::to_string(b)); return {};
        }
    case Mode::LoftIn: {
        buffer_ += static_cast<char>(b);
        if (buffer_.size() < kLengthBytes) return {};
        const std::size_t length = At(buffer_, 0) << 8 | At(buffer_, 1);
        return buffer_.size() == kLengthBytes + length + kTrailerBytes ? FinishLoft() : std::string();
    }
    case Mode::PointsIn:
        if (pendingEnd_) {
            pendingEnd_ = false; // the end mark was the first character of a name after all
            buffer_ = std::string(1, static_cast<char>(kStartChar));
        } else if (buffer_.empty() && b == kStartChar) {
            pendingEnd_ = true;
            return entries_.size() >= kReleasePointEntries ? FinishPoints() : std::string();
        }
        buffer_ += static_cast<char>(b);
        if (buffer_.size() == 13) {
            entries_.push_back(buffer_);
            buffer_.clear();
        }
        return {};
    case Mode::Telegram:
        buffer_ += static_cast<char>(b);
        if (buffer_.size() == 16) FinishTelegram();
        return {};
    case Mode::Loader:
        if (b == kHandshake) return Emit(std::string(1, static_cast<char>(kHandshake)));
        if (b == ':') {
            state_.firmware = FirmwareUpload{FirmwareKind::Hex, false, 0, 0, {}};
            Report(ClockEvent::FirmwareStarted, "hex records");
            mode_ = Mode::HexLine;
            buffer_.clear();
            return {};
        }
        if (b == static_cast<std::uint8_t>(kRawHeader[0])) {
            mode_ = Mode::RawHeader;
            buffer_ = std::string(1, static_cast<char>(b));
            return {};
        }
        mode_ = Mode::Idle;
        return Idle(b);
    case Mode::HexLine:
        if (b == '\n') {
            FinishHexLine();
        } else if (buffer_.size() >= kLongestHexLine) {
            ++state_.firmware.checksumErrors;
            EndFirmware();
        } else {
            buffer_ += static_cast<char>(b);
        }
        return {};
    case Mode::HexNext:
        if (b == ':') {
            mode_ = Mode::HexLine;
            buffer_.clear();
            return {};
        }
        if (b == '\r' || b == '\n') return {};
        EndFirmware(); // the program has moved on without an end record
        return Idle(b);
    case Mode::RawHeader:
        buffer_ += static_cast<char>(b);
        if (kRawHeader.substr(0, buffer_.size()) != buffer_) {
            mode_ = Mode::Idle;
            Report(ClockEvent::Rejected, "not a firmware header");
        } else if (buffer_.size() == kRawHeader.size()) {
            state_.firmware = FirmwareUpload{FirmwareKind::Raw, false, 0, 0, {}};
            Report(ClockEvent::FirmwareStarted, "raw bytes");
            mode_ = Mode::RawData;
        }
        return {};
    case Mode::RawData: state_.firmware.image.push_back(b); return {};
    }
    return {};
}

std::string ClockSimulator::Idle(std::uint8_t b) {
    if (b == kStartChar) {
        mode_ = Mode::Command;
    } else if (b == kHandshake) {
        mode_ = Mode::Loader;
        return Emit(std::string(1, static_cast<char>(kHandshake)));
    } else if (b >= 0x10 && b <= 0x19) {
        mode_ = Mode::Telegram;
        buffer_ = std::string(1, static_cast<char>(b));
    }
    return {};
}

std::string ClockSimulator::OnPause() {
    if (mode_ == Mode::PointsIn && pendingEnd_) return FinishPoints();
    return {};
}

void ClockSimulator::OnHangUp() {
    switch (mode_) {
    case Mode::Idle:
    case Mode::Loader: break;
    case Mode::PointsIn:
        if (pendingEnd_) {
            FinishPoints(); // complete, only nobody waits for the answer any more
            break;
        }
        Report(ClockEvent::Abandoned, "release points");
        break;
    case Mode::HexLine:
    case Mode::HexNext:
    case Mode::RawData: EndFirmware(); break;
    case Mode::Command:
    case Mode::LoftIn:
    case Mode::Telegram:
    case Mode::RawHeader: Report(ClockEvent::Abandoned, std::to_string(buffer_.size()) + " bytes"); break;
    }
    mode_ = Mode::Idle;
    buffer_.clear();
    pendingEnd_ = false;
}

std::string ClockSimulator::FinishLoft() {
    mode_ = Mode::Idle;
    const std::string message = std::move(buffer_);
    buffer_.clear();
    const std::size_t length = message.size() - kLengthBytes - kTrailerBytes;
    const std::string loft = message.substr(kLengthBytes, length);
    const std::size_t count = loft.size() >= kLoftFixedLength ? At(loft, kCountAt) << 8 | At(loft, kCountAt + 1) : 0;
    const std::string trailer = message.substr(kLengthBytes + length);
    const DateTime at = MakeDateTime(2000 + At(trailer, 3), At(trailer, 2), At(trailer, 1), At(trailer, 5),
                                     At(trailer, 6), At(trailer, 7));
    const int weekday = At(trailer, 4);
    if (length != kLoftFixedLength + kLoftPigeonBytes * count || At(trailer, 0) != kStartChar || !IsValidDateTime(at) ||
        weekday < 1 || weekday > 7) {
        Report(ClockEvent::Rejected, "loft of " + std::to_string(length) + " bytes");
        return Emit(std::string(1, static_cast<char>(kRefused)));
    }
    state_.region = At(loft, 0);
    state_.federation = At(loft, 1);
    state_.club = At(loft, 2);
    state_.fancier = At(loft, 3);
    state_.name = loft.substr(kNameAt, kLoftNameBytes);
    state_.pigeons.clear();
    for (std::size_t i = 0; i < count; ++i) {
        ClockPigeon pigeon;
        const std::size_t at0 = kLoftFixedLength + kLoftPigeonBytes * i;
        for (std::size_t k = 0; k < pigeon.ring.size(); ++k) pigeon.ring[k] = At(loft, at0 + k);
        for (std::size_t k = 0; k < pigeon.chip.size(); ++k) pigeon.chip[k] = At(loft, at0 + pigeon.ring.size() + k);
        state_.pigeons.push_back(pigeon);
    }
    SetClockTime(at);
    Report(ClockEvent::LoftReceived, std::to_string(state_.club) + "/" + std::to_string(state_.fancier) + ", " +
                                         std::to_string(count) + " pigeons, clock set to " + DateTimeText(at));
    return Emit(std::string(1, static_cast<char>(kStartChar)));
}

std::string ClockSimulator::FinishPoints() {
    mode_ = Mode::Idle;
    pendingEnd_ = false;
    buffer_.clear();
    state_.releasePoints = std::move(entries_);
    entries_.clear();
    Report(ClockEvent::ReleasePointsReceived, std::to_string(state_.releasePoints.size()) + " entries");
    return Emit(std::string(1, static_cast<char>(kStartChar)));
}

void ClockSimulator::FinishTelegram() {
    mode_ = Mode::Idle;
    int digits[13] = {};
    bool ok = At(buffer_, 13) == 0x10 && At(buffer_, 14) == 0x33 && At(buffer_, 15) == 0x0D;
    for (std::size_t i = 0; i < 13; ++i) {
        digits[i] = At(buffer_, i) - 0x10;
        ok = ok && digits[i] >= 0 && digits[i] <= 9;
    }
    buffer_.clear();
    const auto pair = [&](int first) { return digits[first] * 10 + digits[first + 1]; };
    const DateTime at = MakeDateTime(2000 + pair(11), pair(9), pair(7), pair(0), pair(2), pair(4));
    if (!ok || !IsValidDateTime(at) || digits[6] < 1 || digits[6] > 7) {
        Report(ClockEvent::Rejected, "time telegram");
        return;
    }
    SetClockTime(at);
    Report(ClockEvent::TimeSet, DateTimeText(at));
}

void ClockSimulator::FinishHexLine() {
    std::string line = std::move(buffer_);
    buffer_.clear();
    mode_ = Mode::HexNext;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::uint8_t> bytes;
    bool ok = line.size() % 2 == 0 && line.size() >= 10;
    for (std::size_t i = 0; ok && i < line.size(); i += 2) {
        const int high = HexDigit(line[i]);
        const int low = HexDigit(line[i + 1]);
        ok = high >= 0 && low >= 0;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    ok = ok && bytes.size() == static_cast<std::size_t>(bytes[0]) + 5;
    std::uint8_t sum = 0;
    for (const std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(sum + b);
    ++state_.firmware.records;
    if (!ok || sum != 0) {
        ++state_.firmware.checksumErrors;
        return;
    }
    const std::uint8_t type = bytes[3];
    if (type == 0x00) state_.firmware.image.insert(state_.firmware.image.end(), bytes.begin() + 4, bytes.end() - 1);
    if (type == 0x01) {
        state_.firmware.complete = true;
        EndFirmware();
    }
}

void ClockSimulator::EndFirmware() {
    FirmwareUpload& upload = state_.firmware;
    if (upload.kind == FirmwareKind::Raw) {
        // The loader ends its image with one zero byte.
        upload.complete = !upload.image.empty() && upload.image.back() == 0x00;
        if (upload.complete) upload.image.pop_back();
    }
    mode_ = Mode::Idle;
    buffer_.clear();
    Report(ClockEvent::FirmwareReceived,
           std::string(upload.complete ? "complete, " : "incomplete, ") + std::to_string(upload.image.size()) +
               " bytes, " + std::to_string(upload.records) + " records, " +
               std::to_string(upload.checksumErrors) + " bad");
}

std::string ClockSimulator::LoftAnswer() {
    // With the fault, the last pigeon (or a blank one) fills the loft up beyond what a program takes.
    std::vector<ClockPigeon> pigeons = state_.pigeons;
    if (faults_.tooManyRecords)
        pigeons.resize(kPigeonCapacity + 1, pigeons.empty() ? ClockPigeon{} : pigeons.back());
    std::string out(1, static_cast<char>(kStartChar));
    out += {LineByte(state_.region), LineByte(state_.federation), LineByte(state_.club), LineByte(state_.fancier)};
    out += CountBytes(pigeons.size());
    for (std::size_t i = 0; i < std::min<std::size_t>(pigeons.size(), 0xFFFF); ++i) {
        out += Bytes(pigeons[i].ring.data(), pigeons[i].ring.size());
        out += Bytes(pigeons[i].chip.data(), pigeons[i].chip.size());
    }
    out += static_cast<char>(kStartChar);
    Report(ClockEvent::LoftSent, std::to_string(pigeons.size()) + " pigeons");
    return Emit(std::move(out));
}

std::string ClockSimulator::RaceAnswer() {
    std::vector<ArrivalRecord> arrivals = state_.arrivals;
    if (faults_.tooManyRecords)
        arrivals.resize(kArrivalRecordLimit + 1, arrivals.empty() ? ArrivalRecord{} : arrivals.back());
    std::string out(1, static_cast<char>(kStartChar));
    out += {LineByte(state_.region), LineByte(state_.federation), LineByte(state_.club), LineByte(state_.fancier)};
    out += PadRight(state_.name, kLoftNameBytes);
    out += CountBytes(arrivals.size());
    const DateTime master = master_.Now();
    const DateTime own = ClockTime();
    out += Bytes(state_.basketing.data(), 5);
    out += {LineByte(master.day), LineByte(master.month), LineByte(master.hour), LineByte(master.minute),
            LineByte(master.second)};
    out += {LineByte(state_.timerFlags), LineByte(0), LineByte(own.hour), LineByte(own.minute), LineByte(own.second)};
    for (std::size_t i = 0; i < std::min<std::size_t>(arrivals.size(), 0xFFFF); ++i)
        out += Bytes(arrivals[i].data(), arrivals[i].size());
    out += static_cast<char>(kStartChar);
    Report(ClockEvent::RaceDataSent, std::to_string(arrivals.size()) + " arrivals");
    return Emit(std::move(out));
}

std::string ClockSimulator::PrintOut() {
    std::vector<std::string> lines = state_.printout;
    if (lines.empty()) {
        lines.push_back("LOFT " + ZeroPadded(state_.region, 3) + " " + ZeroPadded(state_.federation, 2) + " " +
                        ZeroPadded(state_.club, 3) + " " + ZeroPadded(state_.fancier, 3) + " " +
                        TrimRightBlanks(state_.name));
        const auto& b = state_.basketing;
        lines.push_back("BASKETING " + TwoDigits(b[0] & 31) + "." + TwoDigits(b[1]) + ". " + TwoDigits(b[2]) + ":" +
                        TwoDigits(b[3]) + ":" + TwoDigits(b[4]));
        lines.push_back("CLOCK     " + DateTimeText(ClockTime()));
        lines.push_back("ARRIVALS  " + std::to_string(state_.arrivals.size()));
        for (std::size_t i = 0; i < state_.arrivals.size(); ++i) {
            const ArrivalRecord& a = state_.arrivals[i];
            RingRecord ring{};
            std::copy(a.begin(), a.begin() + 15, ring.begin());
            lines.push_back(ZeroPadded(static_cast<long long>(i + 1), 3) + " " + convert_.Decode(ring).ring + " P" +
                            TwoDigits(a[16]) + " " + TwoDigits(a[17] & 31) + ". " + TwoDigits(a[18]) + ":" +
                            TwoDigits(a[19]) + ":" + TwoDigits(a[20]));
        }
    }
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    text += '\f';
    Report(ClockEvent::Printed, std::to_string(lines.size()) + " lines");
    return Emit(std::move(text));
}

} // namespace plumet
