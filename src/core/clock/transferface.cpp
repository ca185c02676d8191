#include "core/clock/transferface.h"

#include "core/app/catalogue.h"

namespace plumet {

namespace {

constexpr const char* kOk = "txtCommunicationOk";
constexpr const char* kError = "txtCommunicationError";
constexpr int kFailedMessage = 2; // "Transfer failed" or "Loading failed" in each of these windows

} // namespace

TransferFace FaceOf(LoftSendResult result) {
    switch (result) {
    case LoftSendResult::Confirmed: return {kOk, 0};
    case LoftSendResult::NotConfirmed: return {kError, kFailedMessage};
    case LoftSendResult::NotSendable: return {kError, kFailedMessage};
    case LoftSendResult::Broken: return {kError, 0};
    case LoftSendResult::Cancelled: return {};
    }
    return {};
}

TransferFace FaceOf(RacePointsSendResult result) {
    switch (result) {
    case RacePointsSendResult::Confirmed: return {kOk, 0};
    case RacePointsSendResult::NotConfirmed: return {kError, kFailedMessage};
    case RacePointsSendResult::NotSendable: return {kError, kFailedMessage};
    case RacePointsSendResult::Broken: return {kError, 0};
    case RacePointsSendResult::Cancelled: return {};
    }
    return {};
}

TransferFace FaceOf(LoadResult result) {
    return result == LoadResult::Failed ? TransferFace{"", kFailedMessage} : TransferFace{};
}

std::string TransferMessageText(std::string_view form, int message, const Refusal& refusal) {
    if (refusal) return RefusalText(refusal);
    return CatalogueText(std::string(form) + ".MsgBoxText" + std::to_string(message));
}

} // namespace plumet
