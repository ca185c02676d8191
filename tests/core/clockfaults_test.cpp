#include <gtest/gtest.h>

#include "core/app/fixedwidth.h"
#include "core/clock/clocksimulator.h"
#include "core/clock/loftget.h"
#include "core/clock/racedataget.h"
#include "support/scriptedlink.h"
#include "testfolder.h"

namespace plumet {
namespace {

constexpr milliseconds kWait{1};
const SexTexts kSexes{"M", "F", "U"};

// The golden clock (loft 12/5/7/12, two pigeons, two arrivals) against the registers of its loft.
class ClockFaults : public ::testing::Test {
protected:
    void SetUp() override {
        const ClockStateRead read = LoadClockState(Path(PLUMET_TEST_DATA) / "clock" / "state.txt");
        ASSERT_TRUE(read.ok) << read.error;
        state = read.state;
        folder.Write("club/club.dat", " 1 \r\n" + PadRight("007Zur Post", 63) + "\r\n");
        folder.Write("fancier/f007.DAT", TestData("fanciers/f007.DAT"));
        folder.Write("pigeon/p007012.dat", kOldPigeons);
        std::filesystem::create_directories(folder.path() / "race");
        settings.region = "012North";
        settings.federation = "005Mitte";
    }

    // Each transfer opens the port afresh and hangs up at its end, as the dialogs do.
    template <typename Transfer>
    auto Over(ClockSimulator& clock, Transfer transfer) {
        ScriptedClockLink link(clock);
        link.open(PortSettings{});
        auto outcome = transfer(link);
        link.close();
        return outcome;
    }
    LoftGetOutcome LoftFrom(ClockSimulator& clock) {
        return Over(clock, [&](ClockLink& l) { return GetLoft(l, folder.path(), settings, kSexes, kWait, nullptr, {}); });
    }
    RacedataOutcome ReadOut(ClockSimulator& clock) {
        const RacedataTarget target{folder.path(), settings, {"00", "23", "02", "06", "24"}, kSexes};
        return Over(clock, [&](ClockLink& l) { return GetRacedata(l, target, kWait, nullptr); });
    }

    const std::string kOldPigeons = " 1 \r\nNL      05     1234567M1300000000BLUE00\r\n";
    TestFolder folder;
    Settings settings;
    ClockState state;
    FrozenTimeSource master{MakeDateTime(2024, 6, 2, 18, 30, 0)};
};

// The clock stops after each byte, or sends each byte with its bits inverted. The framing (the
// acknowledgement, the count, the end mark) and the loft key catch a wrong byte; the ring, chip
// and arrival records carry no check of their own, so a wrong byte there is taken as sent.
TEST_F(ClockFaults, LoftReadBackBrokenAtEveryByteWritesNothingAndTheNextReadSucceeds) {
    ClockSimulator first(master, state);
    ASSERT_EQ(LoftFrom(first).result, LoftGetResult::Stored);
    const std::string stored = folder.Read("pigeon/p007012.dat");
    const std::size_t length = 1 + 4 + 2 + 20 * state.pigeons.size() + 1;
    std::size_t tried = 0;
    for (std::size_t at = 1; at <= length; ++at)
        for (const bool corrupt : {false, true}) {
            if (!corrupt && at == length) continue;
            folder.Write("pigeon/p007012.dat", kOldPigeons);
            ClockSimulator clock(master, state);
            clock.SetFaults(corrupt ? SimulatorFaults{{}, at} : SimulatorFaults{at, 0});
            const LoftGetOutcome out = LoftFrom(clock);
            const bool record = at > 7 && at < length;
            int message = 0;
            if (corrupt && at == 1) message = 3;
            if (corrupt && at >= 2 && at <= 5) message = static_cast<int>(at) + 2; // region .. fancier
            EXPECT_EQ(out.message, message) << at << corrupt;
            if (!corrupt || record) {
                EXPECT_EQ(out.status, corrupt ? "txtCommunicationOk" : "txtCommunicationError") << at;
            } else if (message == 0) {
                EXPECT_EQ(out.result, at == 6 ? LoftGetResult::TooManyPigeons : LoftGetResult::CommunicationError) << at;
                EXPECT_EQ(out.status, "txtCommunicationError") << at;
            }
            if (!(corrupt && record)) {
                EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldPigeons) << at << corrupt;
            }
            clock.SetFaults({});
            EXPECT_EQ(LoftFrom(clock).result, LoftGetResult::Stored) << at << corrupt;
            EXPECT_EQ(folder.Read("pigeon/p007012.dat"), stored);
            ++tried;
        }
    EXPECT_EQ(tried, 2 * length - 1);
}

TEST_F(ClockFaults, ReadOutBrokenAtEveryByteAddsNothingAndTheNextReadSucceeds) {
    const Path file = folder.path() / "race" / "W0120523.d00";
    ClockSimulator first(master, state);
    ASSERT_EQ(ReadOut(first).result, RacedataResult::Saved);
    const std::string saved = ReadWholeFile(file).bytes;
    const std::size_t length = 1 + 24 + 2 + 15 + 28 * state.arrivals.size() + 1;
    std::size_t tried = 0;
    for (std::size_t at = 1; at <= length; ++at)
        for (const bool corrupt : {false, true}) {
            if (!corrupt && at == length) continue;
            std::filesystem::remove(file);
            ClockSimulator clock(master, state);
            clock.SetFaults(corrupt ? SimulatorFaults{{}, at} : SimulatorFaults{at, 0});
            const RacedataOutcome out = ReadOut(clock);
            const bool framing = at == 1 || at == 26 || at == 27 || at == length;
            int message = 0;
            if (corrupt && at == 1) message = kRacedataNoAnswer;
            if (corrupt && at >= 2 && at <= 5) message = static_cast<int>(at) + 2; // region .. fancier
            EXPECT_EQ(out.message, message) << at << corrupt;
            if (!corrupt || framing) {
                EXPECT_EQ(out.status, RacedataStatus::CommunicationError) << at << corrupt;
            }
            EXPECT_EQ(std::filesystem::exists(file), out.result == RacedataResult::Saved) << at << corrupt;
            EXPECT_EQ(out.result == RacedataResult::Saved, corrupt && !framing && message == 0) << at;
            std::filesystem::remove(file);
            clock.SetFaults({});
            EXPECT_EQ(ReadOut(clock).result, RacedataResult::Saved) << at << corrupt;
            EXPECT_EQ(ReadWholeFile(file).bytes, saved);
            ++tried;
        }
    EXPECT_EQ(tried, 2 * length - 1);
}

// A clock that never answers, and one that announces more records than a program takes.
TEST_F(ClockFaults, SilenceFromTheFirstByteAndTooManyRecordsAreRefusedWritingNothing) {
    const Path readout = folder.path() / "race" / "W0120523.d00";
    const struct {
        SimulatorFaults faults;
        LoftGetResult loft;
        int loftMessage;
        RacedataResult race;
        int raceMessage;
    } cases[] = {
        {{0, 0, false}, LoftGetResult::NoAcknowledgement, 3, RacedataResult::NoAnswer, kRacedataNoAnswer},
        {{std::nullopt, 0, true}, LoftGetResult::TooManyPigeons, 0, RacedataResult::CommunicationError, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.faults.tooManyRecords);
        ClockSimulator clock(master, state);
        clock.SetFaults(c.faults);
        const LoftGetOutcome loft = LoftFrom(clock);
        EXPECT_EQ(loft.result, c.loft);
        EXPECT_EQ(loft.message, c.loftMessage);
        const RacedataOutcome race = ReadOut(clock);
        EXPECT_EQ(race.result, c.race);
        EXPECT_EQ(race.message, c.raceMessage);
        EXPECT_EQ(folder.Read("pigeon/p007012.dat"), kOldPigeons);
        EXPECT_FALSE(std::filesystem::exists(readout));
        clock.SetFaults({});
        EXPECT_EQ(LoftFrom(clock).result, LoftGetResult::Stored);
        EXPECT_EQ(ReadOut(clock).result, RacedataResult::Saved);
        folder.Write("pigeon/p007012.dat", kOldPigeons);
        std::filesystem::remove(readout);
    }
}

} // namespace
} // namespace plumet
