#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "core/clock/terminalprogramload.h"
#include "core/clock/transferface.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

// An Intel HEX record (length, address, type, data, checksum), stored with the key.
std::string KeyedRecord(std::uint16_t address, std::uint8_t type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> record = {static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
                                        static_cast<std::uint8_t>(address & 0xFF), type};
    record.insert(record.end(), data.begin(), data.end());
    record.push_back(static_cast<std::uint8_t>(-std::accumulate(record.begin(), record.end(), 0) & 0xFF));
    std::string keyed;
    for (const std::uint8_t b : record) keyed += static_cast<char>(b ^ kFirmwareKey);
    return keyed;
}

const std::string kHexImage =
    KeyedRecord(0x0100, 0, {0xAA, 0xBB, 0x00}) + KeyedRecord(0x0103, 0, {0x3E}) + KeyedRecord(0, 1, {});
const std::string kRawImage("\x12\xAA\x00\xFF\x55\x08\x7F", 7);

// The uploads below check whole record lines; here the longest record, whose length still takes two digits.
TEST(TerminalProgramLoad, OnlyKnownCodesLoadAndARecordOf255BytesKeepsItsLine) {
    EXPECT_TRUE(IsTerminalProgramCode("C") && IsTerminalProgramCode("34"));
    EXPECT_FALSE(IsTerminalProgramCode("c") || IsTerminalProgramCode("15") || IsTerminalProgramCode("41"));
    const std::string line = HexRecordLine(KeyedRecord(0x1234, 0, std::vector<std::uint8_t>(255, 0xC3)));
    EXPECT_EQ(line.size(), 1 + 2 * (255 + 5) + 2);
    EXPECT_EQ(line.substr(0, 9) + line.substr(line.size() - 4), ":FF1234007E\r\n");
}

// The refusals themselves, with their words, are in the table of refusals.
TEST(TerminalProgramLoad, ACutRecordRefusesOnlyAHexImage) {
    TestFolder folder;
    const Path path = folder.path() / "image";
    folder.Write("image", kHexImage.substr(0, kHexImage.size() - 2));
    EXPECT_EQ(ReadFirmwareImage(path, UploadKind::Hex).refusal.reason, RefusalReason::FirmwareCut);
    EXPECT_TRUE(ReadFirmwareImage(path, UploadKind::Raw).ok); // raw images have no records
}

class Upload : public ::testing::Test {
protected:
    TerminalProgramLoadOutcome Load(ClockLink& through, std::string_view code) {
        return LoadTerminalProgram(through, folder.path(), code, milliseconds{5},
                                   [&](const TransferProgress& p) {
                                       if (p.what == kLoaderWaitStep && p.done == cancelAtTry) stop.request_stop();
                                       if (p.what == kLoadingStep) progress.push_back({p.done, p.total});
                                   },
                                   stop.get_token());
    }

    TestFolder folder;
    ScriptedClockLink link;
    std::stop_source stop;
    std::size_t cancelAtTry = 0;
    std::vector<std::pair<std::size_t, std::size_t>> progress;
};

TEST_F(Upload, HexRecordsGoOutByteForByteOnceTheClockEchoesAtTheThirdAsk) {
    link.open(PortSettings{});
    folder.Write("tools/trint12.exe", kHexImage + "\x1A"); // one lone last byte is left out
    link.AnswerAfter(3, "\x08");
    const TerminalProgramLoadOutcome outcome = Load(link, "12");
    EXPECT_EQ(outcome.result, LoadResult::Completed);
    EXPECT_EQ(outcome.handshakeTries, 3U);
    EXPECT_EQ(link.Sent(), "\x08\x08\x08:01FFFE000002\r\n:03010000AABB0097\r\n:010103003EBD\r\n:00000001FF\r\n");
    EXPECT_EQ(progress.back(), std::make_pair(kHexImage.size(), kHexImage.size() + 1));
}

TEST_F(Upload, RawBytesAreTheHeaderAllButTheLastImageByteAndAZero) {
    link.open(PortSettings{});
    folder.Write("Tools/TRINT24.EXE", kRawImage);
    link.AnswerAfter(1, "\x08");
    EXPECT_EQ(Load(link, "24").result, LoadResult::Completed);
    EXPECT_EQ(link.Sent(), "\x08" + std::string(kRawUploadHeader) + kRawImage.substr(0, 6) + std::string(1, '\0'));
    EXPECT_EQ(link.Sent().size(), 1 + 6 + (kRawImage.size() - 1) + 1);
}

TEST_F(Upload, AMissingImageCancelDuringTheHandshakeAndABrokenPortEndIt) {
    link.open(PortSettings{});
    EXPECT_EQ(Load(link, "11").refusal.reason, RefusalReason::FirmwareMissing);
    EXPECT_TRUE(link.Sent().empty());
    folder.Write("tools/trint11.exe", kHexImage);
    link.QueueIncoming("?"); // an echo other than 0x08 is no answer
    cancelAtTry = 4;
    const TerminalProgramLoadOutcome cancelled = Load(link, "11");
    EXPECT_EQ(cancelled.result, LoadResult::Cancelled);
    EXPECT_EQ(FaceOf(cancelled.result).message, 0);
    EXPECT_EQ(link.Sent(), "\x08\x08\x08");
    stop = {};
    FailingClockLink failing(link);
    failing.PortErrorAtReceive(0);
    const TerminalProgramLoadOutcome broken = Load(failing, "11");
    EXPECT_EQ(FaceOf(broken.result).message, 2);
    EXPECT_FALSE(broken.refusal); // message 2's own text: check the clock and the connection
    EXPECT_EQ(broken.link, LinkStatus::PortError);
}

} // namespace
} // namespace plumet
