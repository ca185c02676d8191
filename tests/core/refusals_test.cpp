// Every refusal of the clock sends, the exchange reads and the terminal program load, worded in
// English and in German: the golden files hold what the user is told, one case a line.
#include <gtest/gtest.h>

#include <functional>

#include "core/app/catalogue.h"
#include "core/clock/loftsend.h"
#include "core/clock/racepointssend.h"
#include "core/clock/terminalprogramload.h"
#include "core/clock/transferface.h"
#include "core/exchange/fancierexchange.h"
#include "core/exchange/loftexchange.h"
#include "exchangetestdata.h"
#include "support/scriptedlink.h"

namespace plumet {
namespace {

using namespace exchangetest;

using Refuse = std::function<std::string(const Path&)>;

LoftToSend LoftToRefuse(std::string club = "007", std::string fancier = "012", std::string region = "012Nord") {
    return {std::move(region), "005Mitte", std::move(club), std::move(fancier), "M\xFCller Hans"};
}

// What the send dialog and plumet-cli show for a loft send of the pigeons in the case's folder.
Refuse Send(const LoftToSend& loft = LoftToRefuse()) {
    return [loft](const Path& folder) {
        ScriptedClockLink link;
        link.open(PortSettings{});
        const FrozenTimeSource now{MakeDateTime(2030, 5, 1, 17, 0, 0)};
        const LoftSendOutcome out = SendLoft(link, folder, loft, {"M", "F", "U"}, now, milliseconds{5}, {}, {});
        EXPECT_TRUE(link.Sent().empty());
        return TransferMessageText("frmLoftSend", FaceOf(out.result).message, out.refusal);
    };
}

Refuse Firmware(const std::string& code) {
    return [code](const Path& folder) {
        ScriptedClockLink link;
        link.open(PortSettings{});
        const TerminalProgramLoadOutcome out = LoadTerminalProgram(link, folder, code, milliseconds{5}, {}, {});
        EXPECT_TRUE(link.Sent().empty());
        return TransferMessageText("frmTerminalprogramLoad", FaceOf(out.result).message, out.refusal);
    };
}

std::string Points(const Path& folder) {
    ScriptedClockLink link;
    link.open(PortSettings{});
    const RacePointsSendOutcome out = SendRacePoints(link, folder, milliseconds{5}, {}, {});
    return TransferMessageText("frmRacePointsSend", FaceOf(out.result).message, out.refusal);
}

std::string Over1000(const Path&) {
    const std::vector<std::string> pigeons(1001, "B       05     1234567M1300000000BLUE00");
    const LoftCoding coding = CodeLoft(LoftToRefuse(), pigeons, PigeonsConvert({}));
    return TransferMessageText("frmLoftSend", FaceOf(LoftSendResult::NotSendable).message, coding.refusal);
}

std::string Fanciers(const Path& folder) { return ReadExchange(ExchangeKind::Fancier, folder, TestSettings(), TestSexes()).error; }
std::string Lofts(const Path& folder) { return ReadExchange(ExchangeKind::Loft, folder, TestSettings(), TestSexes()).error; }

// Each case runs in a program folder holding the files of tests/data/refusals/<name>, if any.
const std::vector<std::pair<const char*, Refuse>> kCases = {
    {"send club 300", Send(LoftToRefuse("300"))}, {"send fancier 256", Send(LoftToRefuse("007", "256"))},
    {"send region 300", Send(LoftToRefuse("007", "012", "300Sued"))}, {"send chip", Send()}, {"send year 2030", Send()},
    {"send format 16", Send()}, {"send unreadable", Send()}, {"send 1001 pigeons", Over1000},
    {"points damaged", Points}, {"firmware missing", Firmware("C")}, {"firmware empty", Firmware("21")},
    {"firmware too long", Firmware("11")}, {"firmware cut", Firmware("12")}, {"firmware folder", Firmware("13")},
    {"exchange missing", Lofts}, {"exchange region", Fanciers}, {"exchange federation", Fanciers},
    {"region line long", Fanciers}, {"club line long", Fanciers}, {"club number", Fanciers},
    {"fancier first", Fanciers}, {"fancier short", Fanciers}, {"fancier club", Fanciers}, {"fancier number", Fanciers},
    {"unknown line", Fanciers}, {"251 clubs", Fanciers}, {"pigeon line short", Lofts}, {"pigeon line kind", Lofts},
    {"pigeon loft", Lofts}, {"control byte", Lofts}, {"1001 pigeons", Lofts},
};

// Every case's text, with the test folder's place as <folder> and '/' between names.
std::string Worded() {
    std::string out;
    for (const auto& [name, refuse] : kCases) {
        EmptyInstallation folder;
        if (std::filesystem::exists(Path(PLUMET_TEST_DATA) / "refusals" / name)) folder.CopyData(std::string("refusals/") + name);
        std::string text = refuse(folder.path());
        std::string place = PathText(folder.path());
        for (std::string* s : {&text, &place})
            for (char& ch : *s)
                if (ch == '\\') ch = '/';
        for (std::size_t at; (at = text.find(place)) != std::string::npos;) text.replace(at, place.size(), "<folder>");
        out += std::string(name) + ": " + text + "\r\n";
    }
    return out;
}

TEST(Refusals, EachSaysWhatWhereAndWhyInEnglishAndGerman) {
    EXPECT_EQ(Worded(), TestData("catalogue/refusals.txt"));
    UseCatalogues(ShippedCatalogue("club.de.txt"), ShippedCatalogue("club.txt"));
    const std::string german = Worded();
    UseCatalogues({}, ShippedCatalogue("club.txt"));
    EXPECT_EQ(german, TestData("catalogue/refusals.de.txt"));
}

} // namespace
} // namespace plumet
