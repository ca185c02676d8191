#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "clock/scriptedlink.h"
#include "clock/terminalprogramload.h"
#include "testfolder.h"

namespace plumet {
namespace {

constexpr milliseconds kTimeout{5};

// An Intel HEX record (length, address, type, data, checksum), stored with the key.
std::string KeyedRecord(std::uint16_t address, std::uint8_t type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> record = {static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
                                        static_cast<std::uint8_t>(address & 0xFF), type};
    record.insert(record.end(), data.begin(), data.end());
    const int sum = std::accumulate(record.begin(), record.end(), 0);
    record.push_back(static_cast<std::uint8_t>(-sum & 0xFF));
    std::string keyed;
    for (const std::uint8_t b : record) keyed += static_cast<char>(b ^ kFirmwareKey);
    return keyed;
}

const std::string kHexImage = KeyedRecord(0x0100, 0, {0xAA, 0xBB, 0x00}) + KeyedRecord(0x0103, 0, {0x3E}) +
                              KeyedRecord(0, 1, {});
const std::string kHexLines = ":03010000AABB0097\r\n:010103003EBD\r\n:00000001FF\r\n";
const std::string kRawImage("\x12\xAA\x00\xFF\x55\x08\x7F", 7);

TEST(TerminalProgramLoad, CodesTitlesImageNamesAndRecordLines) {
    for (const char* code : {"C", "11", "24", "34"}) EXPECT_TRUE(IsTerminalProgramCode(code)) << code;
    for (const char* code : {"", "c", "10", "15", "41", "111"}) EXPECT_FALSE(IsTerminalProgramCode(code)) << code;
    EXPECT_EQ(UploadKindOf("C"), UploadKind::Hex);
    EXPECT_EQ(UploadKindOf("13"), UploadKind::Hex);
    EXPECT_EQ(UploadKindOf("22"), UploadKind::Raw);
    EXPECT_EQ(UploadKindOf("34"), UploadKind::Raw);
    EXPECT_EQ(TerminalProgramLoadTitle("C", "Load Veloxan terminal program", "Terminal", "Veloxan Load"),
              "Load Veloxan terminal program");
    EXPECT_EQ(TerminalProgramLoadTitle("23", "x", "Load Veloxan++ AD", "Load 3 fanciers"),
              "Load 3 fanciers (Load Veloxan++ AD)");

    TestFolder folder;
    folder.Write("Tools/TRINT21.EXE", "x");
    EXPECT_EQ(FirmwareImagePath(folder.path(), "21"), folder.path() / "Tools" / "TRINT21.EXE");

    // A record of length n goes out as 1 + 2 x (n + 5) characters and CR LF.
    for (const std::size_t n : {0U, 255U}) {
        const std::string line = HexRecordLine(KeyedRecord(0x1234, 0, std::vector<std::uint8_t>(n, 0xC3)));
        EXPECT_EQ(line.size(), 1 + 2 * (n + 5) + 2) << n;
        EXPECT_EQ(line.substr(0, 9), n == 0 ? ":00123400" : ":FF123400");
        EXPECT_EQ(line.substr(line.size() - 4), n == 0 ? "BA\r\n" : "7E\r\n");
    }
}

TEST(TerminalProgramLoad, ImagesThatCannotBeSentAreRefusedWhole) {
    TestFolder folder;
    const Path path = folder.path() / "image";
    EXPECT_NE(ReadFirmwareImage(path, UploadKind::Hex).problem.find("does not exist"), std::string::npos);
    folder.Write("image", "");
    EXPECT_NE(ReadFirmwareImage(path, UploadKind::Raw).problem.find("empty"), std::string::npos);
    folder.Write("image", kHexImage.substr(0, kHexImage.size() - 2));
    EXPECT_NE(ReadFirmwareImage(path, UploadKind::Hex).problem.find("ends inside a record"), std::string::npos);
    EXPECT_TRUE(ReadFirmwareImage(path, UploadKind::Raw).ok); // raw images have no records
    folder.Write("image", kHexImage + "\x1A"); // one lone last byte is left out, as always
    EXPECT_TRUE(ReadFirmwareImage(path, UploadKind::Hex).ok);
    folder.Write("image", std::string(kLongestHexImage + 1, static_cast<char>(kFirmwareKey)));
    EXPECT_FALSE(ReadFirmwareImage(path, UploadKind::Hex).ok);
    EXPECT_TRUE(ReadFirmwareImage(path, UploadKind::Raw).ok);
    folder.Write("image", std::string(kLongestRawImage + 1, 'x'));
    EXPECT_NE(ReadFirmwareImage(path, UploadKind::Raw).problem.find("longer than 100000"), std::string::npos);
}

class Upload : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(link.open(kTerminalProgramLoadConstants.SettingsFor("1")), LinkStatus::Ok); }

    TerminalProgramLoadOutcome Load(ClockLink& through, std::string_view code, std::stop_token cancel = {}) {
        return LoadTerminalProgram(
            through, folder.path(), code, kTimeout,
            [&](LoadStage stage, std::size_t value, std::size_t maximum) {
                if (stage == LoadStage::Handshake) tries.push_back(value);
                else progress.push_back({value, maximum});
            },
            std::move(cancel));
    }

    TestFolder folder;
    ScriptedClockLink link;
    std::vector<std::size_t> tries;
    std::vector<std::pair<std::size_t, std::size_t>> progress;
};

TEST_F(Upload, HexRecordsGoOutByteForByteOnceTheClockEchoes) {
    folder.Write("tools/trint12.exe", kHexImage + "\x1A");
    link.AnswerAfter(3, "\x08"); // the loader wakes at the third ask
    const TerminalProgramLoadOutcome outcome = Load(link, "12");
    EXPECT_EQ(outcome.result, LoadResult::Completed);
    EXPECT_EQ(outcome.handshakeTries, 3U);
    EXPECT_EQ(tries, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(link.Sent(), "\x08\x08\x08:01FFFE000002\r\n" + kHexLines);
    const std::size_t length = kHexImage.size() + 1;
    EXPECT_EQ(progress.front(), std::make_pair(std::size_t{0}, length));
    EXPECT_EQ(progress.back(), std::make_pair(kHexImage.size(), length));
}

TEST_F(Upload, RawBytesAreTheHeaderAllButTheLastImageByteAndAZero) {
    folder.Write("tools/trint24.exe", kRawImage);
    link.AnswerAfter(1, "\x08");
    const TerminalProgramLoadOutcome outcome = Load(link, "24");
    EXPECT_EQ(outcome.result, LoadResult::Completed);
    const std::string sent = link.Sent();
    ASSERT_EQ(sent.size(), 1 + 6 + (kRawImage.size() - 1) + 1);
    EXPECT_EQ(sent, "\x08" + std::string(kRawUploadHeader) + kRawImage.substr(0, kRawImage.size() - 1) +
                        std::string(1, '\0'));
    EXPECT_EQ(progress, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(Upload, CancelMissingImageAndBrokenPortEndIt) {
    TerminalProgramLoadOutcome outcome = Load(link, "11");
    EXPECT_EQ(outcome.result, LoadResult::Failed);
    EXPECT_EQ(outcome.message, 2);
    EXPECT_TRUE(link.Sent().empty());

    folder.Write("tools/trint11.exe", kHexImage);
    std::stop_source stop;
    outcome = LoadTerminalProgram(
        link, folder.path(), "11", kTimeout,
        [&](LoadStage, std::size_t value, std::size_t) {
            if (value == 4) stop.request_stop();
        },
        stop.get_token());
    EXPECT_EQ(outcome.result, LoadResult::Cancelled);
    EXPECT_EQ(outcome.message, 0);
    EXPECT_EQ(link.Sent(), "\x08\x08\x08"); // no answer, asked until cancelled

    FailingClockLink failing(link);
    failing.PortErrorAtReceive(0);
    outcome = Load(failing, "11");
    EXPECT_EQ(outcome.result, LoadResult::Failed);
    EXPECT_EQ(outcome.message, 2);
    EXPECT_EQ(outcome.link, LinkStatus::PortError);
}

} // namespace
} // namespace plumet
