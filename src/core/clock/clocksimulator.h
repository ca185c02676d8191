#pragma once
// The clock's side of every exchange with the program, as a byte-driven state machine:
// loft load (">1"), loft read-back (">3"), race data (">4"), release point names (">8"),
// the time telegram, the firmware loader and the print-out. It is driven through the
// LinkPeer calls, by an in-memory link in tests or by plumet-clocksim on a serial line.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/app/timesource.h"
#include "core/clock/clocklink.h"
#include "core/clock/clockstate.h"
#include "core/clock/pigeonsconvert.h"

namespace plumet {

// Deliberate faults for reliability tests. Byte numbers count every byte the clock has sent
// since it was made, from 1.
struct SimulatorFaults {
    std::optional<std::size_t> silentAfter; // the clock sends nothing after this many bytes (0: nothing at all)
    std::size_t corruptAt = 0;              // this byte goes out with every bit inverted; 0: none
    // The loft read-back and the race data announce one record more than a program may take,
    // and send it.
    bool tooManyRecords = false;
};

enum class ClockEvent {
    LoftReceived,          // ">1" stored and confirmed
    LoftSent,              // ">3" answered
    RaceDataSent,          // ">4" answered
    ReleasePointsReceived, // ">8" stored and confirmed
    TimeSet,               // a time telegram set the clock
    FirmwareStarted,
    FirmwareReceived,      // the upload ended; see ClockState::firmware
    Printed,
    Rejected,              // a whole message that made no sense; ">1" is answered with '?'
    Abandoned,             // a message broken off by a hang-up
};

const char* ClockEventName(ClockEvent event);

class ClockSimulator final : public LinkPeer {
public:
    using EventSink = std::function<void(ClockEvent event, const std::string& detail)>;

    static constexpr std::uint8_t kRefused = 0x3F;        // the answer to a malformed loft
    static constexpr std::uint8_t kHandshake = 0x08;
    static constexpr std::size_t kReleasePointEntries = 99; // entry 0 and points 1 to 98

    // `masterTime` is the master clock: the read-out master time and the base of the
    // clock's own time, which runs at the offset held in the state.
    explicit ClockSimulator(const TimeSource& masterTime, ClockState state = {});

    void SetFaults(SimulatorFaults faults) { faults_ = faults; }
    void SetEventSink(EventSink sink) { sink_ = std::move(sink); }
    // For the rings in the print-out.
    void SetSexTexts(SexTexts texts) { convert_ = PigeonsConvert(std::move(texts)); }

    std::string OnByte(std::uint8_t b) override;
    // Ends a release point list whose end mark could also have begun a name.
    std::string OnPause() override;
    // Drops a half-received message; ends a raw firmware upload.
    void OnHangUp() override;

    // What the clock prints for the print relay: its print lines or its arrival list,
    // lines ended by CR LF, then a form feed.
    std::string PrintOut();

    const ClockState& State() const { return state_; }
    ClockState& State() { return state_; }
    DateTime ClockTime() const;
    void SetClockTime(const DateTime& at);
    // True while a message is half received.
    bool Busy() const { return mode_ != Mode::Idle; }

private:
    enum class Mode { Idle, Command, LoftIn, PointsIn, Telegram, Loader, HexLine, HexNext, RawHeader, RawData };

    std::string Idle(std::uint8_t b);
    std::string FinishLoft();
    std::string FinishPoints();
    void FinishTelegram();
    void FinishHexLine();
    void EndFirmware();
    std::string LoftAnswer();
    std::string RaceAnswer();
    std::string Emit(std::string bytes);
    void Report(ClockEvent event, const std::string& detail);

    const TimeSource& master_;
    ClockState state_;
    PigeonsConvert convert_{SexTexts{"M", "F", ""}};
    SimulatorFaults faults_;
    EventSink sink_;
    Mode mode_ = Mode::Idle;
    std::string buffer_;
    std::vector<std::string> entries_;
    bool pendingEnd_ = false;
    std::size_t sent_ = 0;
};

} // namespace plumet
