#pragma once
// What the send dialogs and plumet-cli show for the outcome of a send: one table per result.
#include <string>
#include <string_view>

#include "core/app/refusal.h"
#include "core/clock/loftsend.h"
#include "core/clock/racepointssend.h"
#include "core/clock/terminalprogramload.h"

namespace plumet {

struct TransferFace {
    const char* status = ""; // suffix of the status line's catalogue key; "" leaves the line
    int message = 0;         // the message box to show, 0 for none
};

TransferFace FaceOf(LoftSendResult result);
TransferFace FaceOf(RacePointsSendResult result);
TransferFace FaceOf(LoadResult result);

// The text of message `message` of the window `form`: the refusal's words where there is one,
// else its catalogue text form + ".MsgBoxText" + message.
std::string TransferMessageText(std::string_view form, int message, const Refusal& refusal);

} // namespace plumet
