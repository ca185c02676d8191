#pragma once
// The print relays: the clock prints its lists over the line as if to a printer, and the PC
// passes them on to its printer, writes them to "PRINT.TXT", or shows them. One character
// at a time; an idle timer notices the end of a print-out. Nothing is ever sent.
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/files.h"
#include "core/clock/clocklink.h"

namespace plumet {

enum class PrintTarget { Printer, File, Screen };

inline constexpr std::string_view kPrintFileName = "PRINT.TXT";

// What one character or one tick of the idle timer asks of the target.
struct PrintRelayEffect {
    enum class Kind { None, Line, PageEnd, Show, Waiting };
    Kind kind = Kind::None;
    std::string text; // Line: the line without its end; Show: the text added since the last show
    long lines = 0;   // Line: lines so far
};

class PrintRelay {
public:
    explicit PrintRelay(PrintTarget target) : target_(target) {}

    PrintRelayEffect OnChar(std::uint8_t c);
    // The idle timer fired (printer and file relays; the screen has none).
    PrintRelayEffect OnIdle();

    PrintTarget Target() const { return target_; }
    bool HasIdleTimer() const { return target_ != PrintTarget::Screen; }
    long Lines() const { return lines_; }
    const std::string& LineBuffer() const { return line_; }
    // Screen: everything received, with CR LF for each carriage return and form feed.
    const std::string& ScreenText() const { return screen_; }

private:
    PrintRelayEffect FinishLine();

    PrintTarget target_;
    std::string line_;
    long lines_ = 0;
    std::string screen_;
    std::size_t shown_ = 0;
};

// The catalogue suffix of the status after a finished line: "txtPrintLine", "txtSaveLine",
// or "" for the screen.
const char* LineStatusSuffix(PrintTarget target);
// The status line after a finished line: the caption, a blank and the count.
std::string LineStatusText(std::string_view caption, long lines);

// "PRINT.TXT" under the program folder: a log of what the clock prints. The first line of a
// relay replaces the old print-out, flushed to the disk, so a relay that fails before it
// has a line keeps the old one; each later line is appended in one write as it ends, so the
// cost of a line does not grow with the file and a relay stopped at any moment leaves every
// whole line received.
class PrintFile {
public:
    explicit PrintFile(const Path& programFolder);
    // Why the old print-out could not be replaced (a folder in its place, no right to read
    // it), told before the relay starts; nothing is written.
    SaveResult CheckReplaceable() const;
    SaveResult AppendLine(std::string_view line);
    const Path& FilePath() const { return path_; }

private:
    Path path_;
    bool replaced_ = false;
};

// What the printer relay hands to the printer: pages of lines. A form feed ends a page; a
// last page without lines is not printed.
class PrinterDocument {
public:
    void AddLine(std::string line);
    void EndPage();
    std::vector<std::vector<std::string>> Pages() const;
    bool Empty() const;

private:
    std::vector<std::vector<std::string>> pages_{{}};
};

struct PrintRelayTimings {
    milliseconds firstIdle = kPrintRelayFirstIdle;
    milliseconds idle = kPrintRelayIdle;
    milliseconds idleExit{0}; // ends after this long without a byte; zero: runs until cancelled
};

enum class PrintRelayEnd { Cancelled, Idle, PortError, SaveFailed };

struct PrintRelayOutcome {
    PrintRelayEnd end = PrintRelayEnd::Cancelled;
    long lines = 0;
    std::string error; // SaveFailed: why
};

// Every effect, after the file relay has written its line.
using PrintRelayHandler = std::function<void(const PrintRelayEffect&)>;

// Receives until cancelled, idle for `idleExit`, or the port fails. The file relay's lines
// go into `file`; the caller holds the folder's write lock throughout.
PrintRelayOutcome RunPrintRelay(ClockLink& link, PrintRelay& relay, PrintFile* file, const PrintRelayTimings& timings,
                                const PrintRelayHandler& handle, std::stop_token cancel);

} // namespace plumet
