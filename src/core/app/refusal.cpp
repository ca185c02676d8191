#include "core/app/refusal.h"

#include <array>
#include <vector>

#include "core/app/catalogue.h"

namespace plumet {
namespace {

enum class Slot { File, Problem, Record, Limit, Field, Item, Value };

struct Wording {
    RefusalReason reason;
    const char* key;
    std::vector<Slot> slots; // %1, %2, … in this order
};

const std::array<Wording, 11>& Wordings() {
    static const std::array<Wording, 11> table{{
        {RefusalReason::FileUnreadable, "Files.CannotRead", {Slot::File, Slot::Problem}},
        {RefusalReason::RegisterRefused, "Refusal.AsTold", {Slot::Value}},
        {RefusalReason::NumberNotAByte, "Refusal.NumberNotAByte", {Slot::Field, Slot::Value}},
        {RefusalReason::TooManyPigeons, "Refusal.TooManyPigeons", {Slot::Record, Slot::Limit}},
        {RefusalReason::RingNotCodable, "Refusal.RingYear", {Slot::Record, Slot::Item, Slot::Value}},
        {RefusalReason::FormatNotCodable, "Refusal.RingFormat", {Slot::Record, Slot::Item, Slot::Value}},
        {RefusalReason::ChipNotCodable, "Refusal.ChipCode", {Slot::Record, Slot::Item, Slot::Value}},
        {RefusalReason::FirmwareMissing, "Refusal.FirmwareMissing", {Slot::File}},
        {RefusalReason::FirmwareEmpty, "Refusal.FirmwareEmpty", {Slot::File}},
        {RefusalReason::FirmwareTooLong, "Refusal.FirmwareTooLong", {Slot::File, Slot::Record, Slot::Limit}},
        {RefusalReason::FirmwareCut, "Refusal.FirmwareCut", {Slot::File, Slot::Record}},
    }};
    return table;
}

const Wording* WordingOf(RefusalReason reason) {
    for (const Wording& wording : Wordings())
        if (wording.reason == reason) return &wording;
    return nullptr;
}

std::string SlotText(const Refusal& refusal, Slot slot) {
    switch (slot) {
    case Slot::File: return PathText(refusal.file);
    case Slot::Problem: return ReasonText(refusal.problem);
    case Slot::Record: return std::to_string(refusal.record);
    case Slot::Limit: return std::to_string(refusal.limit);
    case Slot::Field: return CatalogueText(refusal.field);
    case Slot::Item: return refusal.item;
    case Slot::Value: return refusal.value;
    }
    return {};
}

} // namespace

const char* RefusalKey(RefusalReason reason) {
    const Wording* wording = WordingOf(reason);
    return wording ? wording->key : "";
}

std::string RefusalText(const Refusal& refusal) {
    const Wording* wording = WordingOf(refusal.reason);
    if (!wording) return {};
    std::vector<std::string> values;
    for (const Slot slot : wording->slots) values.push_back(SlotText(refusal, slot));
    return CatalogueTextOf(wording->key, values);
}

} // namespace plumet
