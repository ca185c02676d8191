#include "core/clock/printrelay.h"

#include <algorithm>

namespace plumet {

namespace {

constexpr std::uint8_t kLineFeed = 10;
constexpr std::uint8_t kFormFeed = 12;
constexpr std::uint8_t kCarriageReturn = 13;
constexpr std::uint8_t kFirstPrintable = 32;

using Kind = PrintRelayEffect::Kind;

} // namespace

PrintRelayEffect PrintRelay::FinishLine() {
    PrintRelayEffect effect{Kind::Line, std::move(line_), ++lines_};
    line_.clear();
    return effect;
}

PrintRelayEffect PrintRelay::OnChar(std::uint8_t c) {
    const char ch = static_cast<char>(c);
    switch (target_) {
    case PrintTarget::Printer:
        if (c == kFormFeed) return {Kind::PageEnd, {}, lines_};
        if (c == kCarriageReturn) return {};
        if (c == kLineFeed) return FinishLine();
        line_ += ch;
        return {};
    case PrintTarget::File:
        if (c == kLineFeed) return FinishLine();
        if (c >= kFirstPrintable) line_ += ch;
        return {};
    case PrintTarget::Screen:
        if (c == kFormFeed || c == kCarriageReturn) {
            screen_ += "\r\n";
        } else if (c == kLineFeed) {
            PrintRelayEffect effect{Kind::Show, screen_.substr(shown_), lines_};
            shown_ = screen_.size();
            return effect;
        } else {
            screen_ += ch;
        }
        return {};
    }
    return {};
}

PrintRelayEffect PrintRelay::OnIdle() {
    if (!HasIdleTimer()) return {};
    lines_ = 0;
    if (target_ == PrintTarget::Printer) line_.clear();
    return {Kind::Waiting, {}, 0};
}

const char* LineStatusSuffix(PrintTarget target) {
    switch (target) {
    case PrintTarget::Printer: return "txtPrintLine";
    case PrintTarget::File: return "txtSaveLine";
    case PrintTarget::Screen: break;
    }
    return "";
}

std::string LineStatusText(std::string_view caption, long lines) {
    return std::string(caption) + " " + std::to_string(lines);
}

PrintFile::PrintFile(const Path& programFolder) : path_(ResolvePath(programFolder, kPrintFileName)) {}

SaveResult PrintFile::CheckReplaceable() const { return CheckReplaceableFile(path_); }

SaveResult PrintFile::AppendLine(std::string_view line) {
    std::string bytes(line);
    bytes += "\r\n";
    if (replaced_) return AppendToFile(path_, bytes);
    SaveResult saved = SaveFileAtomically(path_, bytes);
    replaced_ = saved.ok;
    return saved;
}

void PrinterDocument::AddLine(std::string line) { pages_.back().push_back(std::move(line)); }

void PrinterDocument::EndPage() { pages_.emplace_back(); }

std::vector<std::vector<std::string>> PrinterDocument::Pages() const {
    std::vector<std::vector<std::string>> pages = pages_;
    if (pages.back().empty()) pages.pop_back();
    return pages;
}

bool PrinterDocument::Empty() const { return Pages().empty(); }

PrintRelayOutcome RunPrintRelay(ClockLink& link, PrintRelay& relay, PrintFile* file, const PrintRelayTimings& timings,
                                const PrintRelayHandler& handle, std::stop_token cancel) {
    using Clock = std::chrono::steady_clock;
    PrintRelayOutcome outcome;
    milliseconds interval = timings.firstIdle;
    Clock::time_point lastByte = Clock::now();
    Clock::time_point timerStart = lastByte;
    const auto emit = [&](const PrintRelayEffect& effect) {
        if (effect.kind != Kind::None && handle) handle(effect);
    };
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (timings.idleExit.count() > 0 && now - lastByte >= timings.idleExit) {
            outcome.end = PrintRelayEnd::Idle;
            return outcome;
        }
        if (relay.HasIdleTimer() && now - timerStart >= interval) {
            timerStart = now; // the timer keeps firing at its interval until a byte restarts it
            emit(relay.OnIdle());
        }
        // Wake for the idle timer and for the idle exit, whichever comes first.
        auto wait = relay.HasIdleTimer() ? std::chrono::duration_cast<milliseconds>(timerStart + interval - now)
                                         : timings.idle;
        if (timings.idleExit.count() > 0)
            wait = std::min(wait, std::chrono::duration_cast<milliseconds>(lastByte + timings.idleExit - now));
        const ByteResult got = link.receiveByte(std::max(wait, milliseconds{1}), cancel);
        if (got.status == LinkStatus::Timeout) continue;
        if (got.status == LinkStatus::Cancelled) {
            outcome.end = PrintRelayEnd::Cancelled;
            return outcome;
        }
        if (!got.ok()) {
            outcome.end = PrintRelayEnd::PortError;
            return outcome;
        }
        lastByte = timerStart = Clock::now();
        interval = timings.idle;
        const PrintRelayEffect effect = relay.OnChar(got.byte);
        if (effect.kind == Kind::Line) {
            outcome.lines = effect.lines;
            if (file) {
                const SaveResult saved = file->AppendLine(effect.text);
                if (!saved) {
                    outcome.end = PrintRelayEnd::SaveFailed;
                    outcome.error = saved.error;
                    return outcome;
                }
            }
        }
        emit(effect);
    }
}

} // namespace plumet
