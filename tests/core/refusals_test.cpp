// Every refusal of the clock sends, the exchange reads and the terminal program load, worded in
// English and in German: the golden files hold what the user is told, one case a line.
#include <gtest/gtest.h>

#include <functional>

#include "core/app/catalogue.h"
#include "core/app/fixedwidth.h"
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

const std::string kClub = Club("002", "Neu");
const std::string kFancier = Fancier("002", "001", "Eins");
const std::string kPigeon = "B       05     1234567M1300000000BLUE00";

// What the send dialog and plumet-cli show for a loft send from `folder`.
std::string SendLoftText(const TestFolder& folder, const LoftToSend& loft) {
    ScriptedClockLink link;
    link.open(PortSettings{});
    const FrozenTimeSource now{MakeDateTime(2030, 5, 1, 17, 0, 0)};
    const LoftSendOutcome out = SendLoft(link, folder.path(), loft, {"M", "F", "U"}, now, milliseconds{5}, {}, {});
    EXPECT_TRUE(link.Sent().empty());
    return TransferMessageText("frmLoftSend", FaceOf(out.result).message, out.refusal);
}

LoftToSend Loft(std::string club = "007", std::string fancier = "012", std::string region = "012Nord") {
    return {std::move(region), "005Mitte", std::move(club), std::move(fancier), "M\xFCller Hans"};
}

struct Case {
    const char* name;
    std::function<std::string(TestFolder&)> refuse;
};

std::string WithPigeonFile(TestFolder& folder, const std::string& bytes) {
    folder.Write("pigeon/p007012.dat", bytes);
    return SendLoftText(folder, Loft());
}

std::string WithPigeons(TestFolder& folder, const std::vector<std::string>& records) {
    return WithPigeonFile(folder, FormatCountLine(static_cast<long long>(records.size())) + "\r\n" + JoinLinesCrLf(records));
}

std::string Read(ExchangeKind kind, TestFolder& folder, const std::vector<std::string>& lines) {
    folder.Write(kind == ExchangeKind::Fancier ? "exchange/S007003.d00" : "exchange/T007003.d00", JoinLinesCrLf(lines));
    return ReadExchange(kind, folder.path(), TestSettings(), TestSexes()).error;
}
constexpr ExchangeKind kFanciers = ExchangeKind::Fancier, kLofts = ExchangeKind::Loft;

std::string Firmware(TestFolder& folder, const std::string& code, const std::string* image) {
    if (image) folder.Write("tools/trint" + code + ".exe", *image);
    ScriptedClockLink link;
    link.open(PortSettings{});
    const TerminalProgramLoadOutcome out = LoadTerminalProgram(link, folder.path(), code, milliseconds{5}, {}, {});
    EXPECT_TRUE(link.Sent().empty());
    return TransferMessageText("frmTerminalprogramLoad", FaceOf(out.result).message, out.refusal);
}

const std::vector<Case>& Cases() {
    static const std::string loftLine = "0002001" + kPigeon;
    static const std::string empty, tooLongHex(kLongestHexImage + 1, '\x5A'), cutRecord = "\xA6\xA5\xA5";
    static const std::vector<Case> cases = {
        {"send club 300", [](TestFolder& f) { return SendLoftText(f, Loft("300")); }},
        {"send fancier 256", [](TestFolder& f) { return SendLoftText(f, Loft("007", "256")); }},
        {"send region 300", [](TestFolder& f) { return SendLoftText(f, Loft("007", "012", "300Sued")); }},
        {"send chip", [](TestFolder& f) { return WithPigeons(f, {kPigeon, "B       05     1234568M13 0000000BLUE00"}); }},
        {"send year 2030", [](TestFolder& f) { return WithPigeons(f, {"B     2030     1234568M1300000000BLUE00"}); }},
        {"send format 16", [](TestFolder& f) { return WithPigeons(f, {"B       05     1234568M1300000000BLUE16"}); }},
        {"send unreadable", [](TestFolder& f) { return WithPigeonFile(f, " 1 \r\nB\x01\r\n"); }},
        {"send 1001 pigeons", [](TestFolder&) {
             const LoftCoding coding = CodeLoft(Loft(), std::vector<std::string>(1001, kPigeon), PigeonsConvert({}));
             return TransferMessageText("frmLoftSend", FaceOf(LoftSendResult::NotSendable).message, coding.refusal);
         }},
        {"points damaged", [](TestFolder& f) {
             f.Write("racepo/racepo.dat", " 2 \r\nshort\r\n");
             ScriptedClockLink link;
             link.open(PortSettings{});
             const RacePointsSendOutcome out = SendRacePoints(link, f.path(), milliseconds{5}, {}, {});
             return TransferMessageText("frmRacePointsSend", FaceOf(out.result).message, out.refusal);
         }},
        {"firmware missing", [](TestFolder& f) { return Firmware(f, "C", nullptr); }},
        {"firmware empty", [](TestFolder& f) { return Firmware(f, "21", &empty); }},
        {"firmware too long", [](TestFolder& f) { return Firmware(f, "11", &tooLongHex); }},
        {"firmware cut", [](TestFolder& f) { return Firmware(f, "12", &cutRecord); }},
        {"firmware folder", [](TestFolder& f) {
             std::filesystem::create_directories(f.path() / "tools" / "trint13.exe");
             return Firmware(f, "13", nullptr);
         }},
        {"exchange missing", [](TestFolder& f) { return ReadExchange(kLofts, f.path(), TestSettings(), TestSexes()).error; }},
        {"exchange region", [](TestFolder& f) { return Read(kFanciers, f, {"1008" + kRegion.substr(4), kFederation}); }},
        {"exchange federation", [](TestFolder& f) { return Read(kFanciers, f, {kRegion, "2004" + kFederation.substr(4)}); }},
        {"region line long", [](TestFolder& f) { return Read(kFanciers, f, {kRegion + "xx", kFederation}); }},
        {"club line long", [](TestFolder& f) { return Read(kFanciers, f, {kRegion, kFederation, kClub + "x"}); }},
        {"club number", [](TestFolder& f) { return Read(kFanciers, f, {kRegion, kFederation, "3..\\   Pfad"}); }},
        {"fancier first", [](TestFolder& f) { return Read(kFanciers, f, {kRegion, kFederation, kFancier}); }},
        {"fancier short", [](TestFolder& f) { return Read(kFanciers, f, {kRegion, kFederation, kClub, "4002"}); }},
        {"fancier club", [](TestFolder& f) { return Read(kFanciers, f, {kRegion, kFederation, kClub, "4003" + kFancier.substr(4)}); }},
        {"fancier number", [](TestFolder& f) { return Read(kFanciers, f, {kRegion, kFederation, kClub, "40020x1" + kFancier.substr(7)}); }},
        {"unknown line", [](TestFolder& f) { return Read(kFanciers, f, {kRegion, kFederation, kClub, "5002"}); }},
        {"251 clubs", [](TestFolder& f) {
             std::vector<std::string> lines = {kRegion, kFederation};
             for (int n = 0; n <= 250; ++n) lines.push_back("3" + PadLeft(std::to_string(n), 3, '0') + "   C");
             return Read(kFanciers, f, lines);
         }},
        {"pigeon line short", [](TestFolder& f) { return Read(kLofts, f, {loftLine, loftLine.substr(0, 25)}); }},
        {"pigeon line kind", [](TestFolder& f) { return Read(kLofts, f, {"1" + loftLine.substr(1)}); }},
        {"pigeon loft", [](TestFolder& f) { return Read(kLofts, f, {"0002/..\\" + loftLine.substr(8)}); }},
        {"control byte", [](TestFolder& f) { return Read(kLofts, f, {loftLine, loftLine + "\x07"}); }},
        {"1001 pigeons", [](TestFolder& f) { return Read(kLofts, f, std::vector<std::string>(1001, loftLine)); }},
    };
    return cases;
}

// Every case's text, with the test folder's place as <folder> and '/' between names.
std::string Worded() {
    std::string out;
    for (const Case& c : Cases()) {
        EmptyInstallation folder;
        std::string text = c.refuse(folder);
        std::string place = PathText(folder.path());
        for (std::string* s : {&text, &place})
            for (char& ch : *s)
                if (ch == '\\') ch = '/';
        for (std::size_t at; (at = text.find(place)) != std::string::npos;) text.replace(at, place.size(), "<folder>");
        out += std::string(c.name) + ": " + text + "\r\n";
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
