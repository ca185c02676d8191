#pragma once
// Why a task was refused, kept as data (what, where, the values) until it is shown, and one
// table that words each reason through its catalogue key.
#include <cstddef>
#include <string>
#include <utility>

#include "core/app/files.h"

namespace plumet {

enum class RefusalReason {
    None,
    FileUnreadable,   // file, problem
    RegisterRefused,  // value: the register's own words for why it was not loaded
    NumberNotAByte,   // field (the number's name), value
    TooManyPigeons,   // record (the count), limit
    RingNotCodable,   // record (the pigeon's position), item (its ring), value (its year)
    FormatNotCodable, // record, item, value (its ring format)
    ChipNotCodable,   // record, item, value (its chip code)
    FirmwareMissing,  // file
    FirmwareEmpty,    // file
    FirmwareTooLong,  // file, record (its length), limit
    FirmwareCut,      // file, record (the byte where the cut record starts)
};

struct Refusal {
    Refusal() = default;
    Refusal(RefusalReason why, Path at = {}, FileProblem fileProblem = {})
        : reason(why), file(std::move(at)), problem(std::move(fileProblem)) {}

    RefusalReason reason = RefusalReason::None;
    Path file;
    FileProblem problem;
    std::size_t record = 0;
    std::size_t limit = 0;
    std::string field; // catalogue key of the field's name
    std::string item;
    std::string value;

    explicit operator bool() const { return reason != RefusalReason::None; }
};

// The catalogue key that words `reason`; "" for None.
const char* RefusalKey(RefusalReason reason);
// The refusal in the catalogue's words; "" for None.
std::string RefusalText(const Refusal& refusal);

} // namespace plumet
