#include "core/clock/clockstate.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "core/app/fixedwidth.h"

namespace plumet {

namespace {

constexpr std::string_view kFirstLine = "plumet-clocksim state";

std::string ToHex(const std::uint8_t* bytes, std::size_t count) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 15];
    }
    return text;
}

template <std::size_t N>
std::string ToHex(const std::array<std::uint8_t, N>& bytes) {
    return ToHex(bytes.data(), N);
}

std::string ToHex(std::string_view bytes) {
    return ToHex(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::optional<std::string> FromHex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int value = 0;
        for (const char c : {text[i], text[i + 1]}) {
            const int digit = c >= '0' && c <= '9' ? c - '0'
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                     : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

template <std::size_t N>
bool FromHexInto(std::string_view text, std::array<std::uint8_t, N>& into) {
    const auto bytes = FromHex(text);
    if (!bytes || bytes->size() != N) return false;
    for (std::size_t i = 0; i < N; ++i) into[i] = static_cast<std::uint8_t>((*bytes)[i]);
    return true;
}

// Control characters cannot stand in a text line; such fields are written as hex.
bool PlainText(std::string_view bytes) {
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return false;
    }
    return true;
}

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::optional<long long> Number(const std::string& word, long long low, long long high) {
    const auto value = ParseInteger(word);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

std::optional<std::uint8_t> Byte(const std::string& word) {
    const auto value = Number(word, 0, 255);
    if (!value) return std::nullopt;
    return static_cast<std::uint8_t>(*value);
}

// The text after the first `fields` blank-separated words and the one blank behind them.
std::string_view RestAfter(std::string_view line, int fields) {
    std::size_t at = 0;
    for (int i = 0; i < fields; ++i) {
        at = line.find(' ', at);
        if (at == std::string_view::npos) return {};
        ++at;
    }
    return line.substr(at);
}

const char* KindName(FirmwareKind kind) {
    return kind == FirmwareKind::Hex ? "hex" : kind == FirmwareKind::Raw ? "raw" : "none";
}

struct Parser {
    ClockState state;
    std::string error;

    bool Line(std::string_view line);
    bool Arrival(const std::vector<std::string>& words);
};

bool Parser::Line(std::string_view line) {
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words[0].front() == '#') return true;
    const std::string& key = words[0];
    const auto bytesFrom = [&](std::size_t first, std::size_t count, std::uint8_t* into) {
        if (words.size() != first + count) return false;
        for (std::size_t i = 0; i < count; ++i) {
            const auto value = Byte(words[first + i]);
            if (!value) return false;
            into[i] = *value;
        }
        return true;
    };
    if (key == "loft") {
        std::uint8_t bytes[4];
        if (!bytesFrom(1, 4, bytes)) return false;
        state.region = bytes[0];
        state.federation = bytes[1];
        state.club = bytes[2];
        state.fancier = bytes[3];
        return true;
    }
    if (key == "name") {
        state.name = PadRight(RestAfter(line, 1), 20);
        return true;
    }
    if (key == "name-hex") {
        const auto bytes = words.size() == 2 ? FromHex(words[1]) : std::nullopt;
        if (!bytes || bytes->size() != 20) return false;
        state.name = *bytes;
        return true;
    }
    if (key == "pigeon") {
        ClockPigeon pigeon;
        if (words.size() != 3 || !FromHexInto(words[1], pigeon.ring) || !FromHexInto(words[2], pigeon.chip))
            return false;
        state.pigeons.push_back(pigeon);
        return true;
    }
    if (key == "point" || key == "point-hex") {
        const auto number = words.size() >= 2 ? Number(words[1], 0, 999) : std::nullopt;
        if (!number) return false;
        std::string name;
        if (key == "point") {
            name = PadRight(RestAfter(line, 2), 13);
        } else {
            const auto bytes = words.size() == 3 ? FromHex(words[2]) : std::nullopt;
            if (!bytes || bytes->size() != 13) return false;
            name = *bytes;
        }
        const auto slot = static_cast<std::size_t>(*number);
        if (state.releasePoints.size() <= slot) state.releasePoints.resize(slot + 1, std::string(13, ' '));
        state.releasePoints[slot] = name;
        return true;
    }
    if (key == "basketing") return bytesFrom(1, 5, state.basketing.data());
    if (key == "timer-flags") return bytesFrom(1, 1, &state.timerFlags);
    if (key == "arrival") return Arrival(words);
    if (key == "clock-offset") {
        const auto seconds = words.size() == 2 ? Number(words[1], -1'000'000'000, 1'000'000'000) : std::nullopt;
        if (!seconds) return false;
        state.clockOffsetSeconds = *seconds;
        return true;
    }
    if (key == "print") {
        state.printout.emplace_back(RestAfter(line, 1));
        return true;
    }
    if (key == "firmware") {
        if (words.size() != 5 || (words[2] != "complete" && words[2] != "incomplete")) return false;
        const auto records = Number(words[3], 0, 1'000'000'000);
        const auto errors = Number(words[4], 0, 1'000'000'000);
        if (!records || !errors) return false;
        if (words[1] == "hex")
            state.firmware.kind = FirmwareKind::Hex;
        else if (words[1] == "raw")
            state.firmware.kind = FirmwareKind::Raw;
        else if (words[1] == "none")
            state.firmware.kind = FirmwareKind::None;
        else
            return false;
        state.firmware.complete = words[2] == "complete";
        state.firmware.records = static_cast<int>(*records);
        state.firmware.checksumErrors = static_cast<int>(*errors);
        return true;
    }
    error = "unknown entry \"" + key + "\"";
    return false;
}

// arrival RING POINT DAY HOUR MINUTE SECOND [FLAGS DIGITS]; RING is 30 hex digits or #n, the
// n-th pigeon of the loft.
bool Parser::Arrival(const std::vector<std::string>& words) {
    if (words.size() != 7 && words.size() != 9) return false;
    ArrivalRecord record{};
    RingRecord ring{};
    if (words[1].front() == '#') {
        const auto n = Number(std::string(AfterFirstChar(words[1])), 1, static_cast<long long>(state.pigeons.size()));
        if (!n) {
            error = "no pigeon " + words[1] + " in the loft above";
            return false;
        }
        ring = state.pigeons[static_cast<std::size_t>(*n - 1)].ring;
    } else if (!FromHexInto(words[1], ring)) {
        return false;
    }
    std::copy(ring.begin(), ring.end(), record.begin());
    for (std::size_t i = 2; i < 7; ++i) {
        const auto value = Byte(words[i]);
        if (!value) return false;
        record[14 + i] = *value; // bytes 16 to 20
    }
    if (words.size() == 9) {
        const auto flags = Byte(words[7]);
        std::array<std::uint8_t, 6> digits{};
        if (!flags || !FromHexInto(words[8], digits)) return false;
        record[21] = *flags;
        std::copy(digits.begin(), digits.end(), record.begin() + 22);
    }
    state.arrivals.push_back(record);
    return true;
}

} // namespace

std::string FormatClockState(const ClockState& state) {
    std::vector<std::string> lines;
    lines.emplace_back(kFirstLine);
    lines.push_back("loft " + std::to_string(state.region) + " " + std::to_string(state.federation) + " " +
                    std::to_string(state.club) + " " + std::to_string(state.fancier));
    lines.push_back(PlainText(state.name) ? "name " + state.name : "name-hex " + ToHex(state.name));
    for (const ClockPigeon& pigeon : state.pigeons)
        lines.push_back("pigeon " + ToHex(pigeon.ring) + " " + ToHex(pigeon.chip));
    for (std::size_t i = 0; i < state.releasePoints.size(); ++i) {
        const std::string& name = state.releasePoints[i];
        lines.push_back(PlainText(name) ? "point " + std::to_string(i) + " " + name
                                        : "point-hex " + std::to_string(i) + " " + ToHex(name));
    }
    std::string basketing = "basketing";
    for (const std::uint8_t b : state.basketing) (basketing += ' ') += std::to_string(b);
    lines.push_back(basketing);
    lines.push_back("timer-flags " + std::to_string(state.timerFlags));
    for (const ArrivalRecord& record : state.arrivals) {
        std::string line = "arrival " + ToHex(record.data(), 15);
        for (std::size_t i = 16; i <= 21; ++i) (line += ' ') += std::to_string(record[i]);
        (line += ' ') += ToHex(record.data() + 22, 6);
        lines.push_back(line);
    }
    lines.push_back("clock-offset " + std::to_string(state.clockOffsetSeconds));
    for (const std::string& line : state.printout) lines.push_back("print " + line);
    if (state.firmware.kind != FirmwareKind::None)
        lines.push_back(std::string("firmware ") + KindName(state.firmware.kind) + " " +
                        (state.firmware.complete ? "complete" : "incomplete") + " " +
                        std::to_string(state.firmware.records) + " " + std::to_string(state.firmware.checksumErrors));
    return JoinLinesCrLf(lines);
}

ClockStateRead ParseClockState(std::string_view text) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty() || TrimBlanks(lines.front()) != kFirstLine)
        return {false, "line 1: not a clock state file", {}};
    Parser parser;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (!parser.Line(lines[i])) {
            const std::string why = parser.error.empty() ? "cannot read \"" + lines[i] + "\"" : parser.error;
            return {false, "line " + std::to_string(i + 1) + ": " + why, {}};
        }
    }
    return {true, {}, std::move(parser.state)};
}

ClockStateRead LoadClockState(const Path& path) {
    const FileContent content = ReadWholeFile(path);
    if (content.status == ReadStatus::Missing) return {};
    if (content.status != ReadStatus::Ok) return {false, "cannot read " + path.string(), {}};
    return ParseClockState(content.bytes);
}

SaveResult SaveClockState(const Path& path, const ClockState& state) {
    return SaveFileAtomically(path, FormatClockState(state));
}

} // namespace plumet
