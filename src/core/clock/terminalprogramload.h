#pragma once
// frmTerminalProgramLoad's exchange: a new operating program for a clock of the compact
// family, from the image "tools\trint" + code + ".exe" of the program folder. After the
// 0x08 handshake the image goes out as hexadecimal records (code "C" and the codes 1x) or
// as raw bytes (2x, 3x). The image is data for the clock and never run on the PC.
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>

#include "core/app/files.h"
#include "core/app/refusal.h"
#include "core/clock/clocklink.h"
#include "core/clock/transferprogress.h"

namespace plumet {

// Every byte of a hexadecimal-upload image is stored combined with this key (exclusive or).
// It has to match the images supplied with the clocks.
inline constexpr std::uint8_t kFirmwareKey = 0xA5;

inline constexpr std::uint8_t kLoaderHandshake = 0x08;
// An Intel HEX record that writes 00 to address FFFE: the loader's start mark.
inline constexpr std::string_view kHexStartRecord = ":01FFFE000002\r\n";
inline constexpr std::string_view kRawUploadHeader = "\x54\xAA\xAB\x55\x55\x57";
inline constexpr std::uint8_t kRawUploadEnd = 0x00;
inline constexpr std::size_t kLongestHexImage = 65535;
inline constexpr std::size_t kLongestRawImage = 100000;

enum class UploadKind { Hex, Raw };

// "C", "11" to "14", "21" to "24", "31" to "34".
bool IsTerminalProgramCode(std::string_view code);
// Raw for the codes that start with "2" or "3".
UploadKind UploadKindOf(std::string_view code);
// "tools\trint" + code + ".exe" under the program folder, in whatever letter case it exists.
Path FirmwareImagePath(const Path& programFolder, std::string_view code);

// The window title: `veloxanTitle` for "C"; otherwise the entry caption + " (" + the group
// caption + ")".
std::string TerminalProgramLoadTitle(std::string_view code, std::string_view veloxanTitle,
                                     std::string_view groupCaption, std::string_view entryCaption);

struct FirmwareImage {
    bool ok = false;
    std::string bytes;
    Refusal refusal; // why, when !ok
};

// Reads the whole image and refuses one that is missing, empty, longer than its upload
// allows, or (hexadecimal) whose last record is cut short: nothing is sent for those.
FirmwareImage ReadFirmwareImage(const Path& path, UploadKind kind);

// One keyed image record (length byte n, then n + 4 bytes) as the line that goes out:
// ":" and two upper-case hexadecimal digits per unkeyed byte, then CR LF.
std::string HexRecordLine(std::string_view keyedRecord);

enum class LoadResult { Completed, Cancelled, Failed };

struct TerminalProgramLoadOutcome {
    LoadResult result = LoadResult::Failed;
    LinkStatus link = LinkStatus::Ok;
    Refusal refusal; // Failed before the first byte: why; a failed link leaves it empty
    std::size_t handshakeTries = 0;
};

// Progress while the loader is sought: the tries so far, as kLoaderWaitStep. While loading: the
// progress bar's value and maximum (the image length for records, half of it for raw bytes), as
// kLoadingStep.
inline constexpr char kLoaderWaitStep[] = "Cli.LoaderWait";
inline constexpr char kLoadingStep[] = "Cli.Loading";

// Reads the image, asks the clock with 0x08 every `byteTimeout` until it echoes 0x08 (or
// the user cancels), then uploads. Cancel is seen between records and bytes.
TerminalProgramLoadOutcome LoadTerminalProgram(ClockLink& link, const Path& programFolder, std::string_view code,
                                               milliseconds byteTimeout, const TransferProgressSink& progress,
                                               std::stop_token cancel);

} // namespace plumet
