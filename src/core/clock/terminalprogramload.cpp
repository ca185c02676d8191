#include "core/clock/terminalprogramload.h"

namespace plumet {

namespace {

constexpr std::size_t kRecordOverhead = 4; // address high, address low, record type, checksum

std::uint8_t Unkeyed(char keyed) { return static_cast<std::uint8_t>(static_cast<std::uint8_t>(keyed) ^ kFirmwareKey); }

// The length of the keyed record at `at`, or 0 when it runs past the end.
std::size_t RecordLength(const std::string& image, std::size_t at) {
    const std::size_t length = 1 + Unkeyed(image[at]) + kRecordOverhead;
    return at + length <= image.size() ? length : 0;
}

TerminalProgramLoadOutcome Broken(LinkStatus link, std::size_t tries) {
    return {link == LinkStatus::Cancelled ? LoadResult::Cancelled : LoadResult::Failed, link, {}, tries};
}

FirmwareImage Refused(RefusalReason reason, const Path& path, std::size_t record = 0, std::size_t limit = 0) {
    FirmwareImage image;
    image.refusal = {reason, path};
    image.refusal.record = record;
    image.refusal.limit = limit;
    return image;
}


} // namespace

bool IsTerminalProgramCode(std::string_view code) {
    if (code == "C") return true;
    return code.size() == 2 && code[0] >= '1' && code[0] <= '3' && code[1] >= '1' && code[1] <= '4';
}

UploadKind UploadKindOf(std::string_view code) {
    return !code.empty() && (code[0] == '2' || code[0] == '3') ? UploadKind::Raw : UploadKind::Hex;
}

Path FirmwareImagePath(const Path& programFolder, std::string_view code) {
    return ResolvePath(programFolder, "tools\\trint" + std::string(code) + ".exe");
}

std::string TerminalProgramLoadTitle(std::string_view code, std::string_view veloxanTitle,
                                     std::string_view groupCaption, std::string_view entryCaption) {
    if (code == "C") return std::string(veloxanTitle);
    return std::string(entryCaption) + " (" + std::string(groupCaption) + ")";
}

FirmwareImage ReadFirmwareImage(const Path& path, UploadKind kind) {
    FileContent content = ReadWholeFile(path);
    if (content.status == ReadStatus::Missing) return Refused(RefusalReason::FirmwareMissing, path);
    if (content.status != ReadStatus::Ok) {
        FirmwareImage image = Refused(RefusalReason::FileUnreadable, path);
        image.refusal.problem = content.problem;
        return image;
    }
    const std::size_t longest = kind == UploadKind::Hex ? kLongestHexImage : kLongestRawImage;
    if (content.bytes.empty()) return Refused(RefusalReason::FirmwareEmpty, path);
    if (content.bytes.size() > longest)
        return Refused(RefusalReason::FirmwareTooLong, path, content.bytes.size(), longest);
    if (kind == UploadKind::Hex) {
        // Records follow each other while two or more bytes remain; one lone last byte is never sent.
        for (std::size_t at = 0; at + 1 < content.bytes.size();) {
            const std::size_t length = RecordLength(content.bytes, at);
            if (length == 0) return Refused(RefusalReason::FirmwareCut, path, at + 1);
            at += length;
        }
    }
    FirmwareImage image;
    image.ok = true;
    image.bytes = std::move(content.bytes);
    return image;
}

std::string HexRecordLine(std::string_view keyedRecord) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line = ":";
    for (const char keyed : keyedRecord) {
        const std::uint8_t b = Unkeyed(keyed);
        line += kDigits[b >> 4];
        line += kDigits[b & 0x0F];
    }
    return line + "\r\n";
}

TerminalProgramLoadOutcome LoadTerminalProgram(ClockLink& link, const Path& programFolder, std::string_view code,
                                               milliseconds byteTimeout, const TransferProgressSink& progress,
                                               std::stop_token cancel) {
    const UploadKind kind = UploadKindOf(code);
    const FirmwareImage image = ReadFirmwareImage(FirmwareImagePath(programFolder, code), kind);
    if (!image.ok) return {LoadResult::Failed, LinkStatus::Ok, image.refusal, 0};

    // The loader answers only once the clock has been put into loading mode, so ask until it does.
    std::size_t tries = 0;
    for (;;) {
        if (cancel.stop_requested()) return Broken(LinkStatus::Cancelled, tries);
        ++tries;
        Report(progress, {tries, 0, kLoaderWaitStep});
        const LinkStatus sent = link.sendByte(kLoaderHandshake, cancel);
        if (sent != LinkStatus::Ok) return Broken(sent, tries);
        const LinkStatus echoed = ExpectByte(link, kLoaderHandshake, byteTimeout, cancel);
        if (echoed == LinkStatus::Ok) break;
        if (echoed == LinkStatus::Cancelled || echoed == LinkStatus::PortError) return Broken(echoed, tries);
    }

    const std::string& bytes = image.bytes;
    const auto done = [&](LinkStatus status) {
        TerminalProgramLoadOutcome outcome = Broken(status, tries);
        if (status == LinkStatus::Ok) outcome = {LoadResult::Completed, LinkStatus::Ok, {}, tries};
        return outcome;
    };
    if (kind == UploadKind::Hex) {
        const std::size_t maximum = bytes.size();
        Report(progress, {0, maximum, kLoadingStep});
        LinkStatus status = SendBytes(link, kHexStartRecord, cancel);
        for (std::size_t at = 0; status == LinkStatus::Ok && at + 1 < bytes.size();) {
            if (cancel.stop_requested()) return done(LinkStatus::Cancelled);
            const std::size_t length = RecordLength(bytes, at);
            status = SendBytes(link, HexRecordLine(std::string_view(bytes).substr(at, length)), cancel);
            at += length;
            Report(progress, {at, maximum, kLoadingStep});
        }
        return done(status);
    }
    const std::size_t maximum = bytes.size() / 2;
    Report(progress, {0, maximum, kLoadingStep});
    LinkStatus status = SendBytes(link, kRawUploadHeader, cancel);
    for (std::size_t i = 0; status == LinkStatus::Ok && i + 1 < bytes.size(); ++i) {
        if (cancel.stop_requested()) return done(LinkStatus::Cancelled);
        status = link.sendByte(static_cast<std::uint8_t>(bytes[i]), cancel);
        if ((i + 1) % 2 == 0) Report(progress, {(i + 1) / 2, maximum, kLoadingStep});
    }
    if (status == LinkStatus::Ok) status = link.sendByte(kRawUploadEnd, cancel);
    return done(status);
}

} // namespace plumet
