#include "cli/exchangecommands.h"

#include <optional>
#include <ostream>

#include "core/app/cp1252.h"
#include "core/exchange/exchangefile.h"

namespace plumet::cli {
namespace {

std::optional<ExchangeKind> KindOf(const std::string& argument) {
    if (argument == "fancier") return ExchangeKind::Fancier;
    if (argument == "loft") return ExchangeKind::Loft;
    return std::nullopt;
}

std::string Subject(ExchangeKind kind) { return kind == ExchangeKind::Fancier ? "Fancierdata" : "Loftdata"; }

std::string WindowOf(ExchangeKind kind, bool build) { return "frm" + Subject(kind) + (build ? "Build" : "Read"); }

// What the window's label shows when the work is done: start text + ready text.
int Succeeded(const CliContext& context, ExchangeKind kind, bool build, const std::string& fallback) {
    const std::string window = WindowOf(kind, build);
    const std::string text = context.catalogue.LookupText(window + ".txt" + Subject(kind) + "Start") +
                             context.catalogue.LookupText(window + ".txt" + Subject(kind) + "Ready");
    context.out << (text.empty() ? fallback : Cp1252ToUtf8(text)) << '\n';
    return kSuccess;
}

int Run(CliContext& context, const std::vector<std::string>& args, bool build) {
    const auto kind = KindOf(args.front());
    if (!kind) {
        context.err << "usage: plumet-cli [--folder DIR] " << (build ? "build" : "read") << "-exchange fancier|loft\n";
        return kUsage;
    }
    ExchangeOutcome outcome;
    if (build) {
        outcome = BuildExchange(*kind, context.folder, context.settings);
    } else {
        const auto& catalogue = context.catalogue;
        const SexCharacters sexes =
            SexCharactersFromTexts(catalogue.LookupText("frmMain.MaleSex"), catalogue.LookupText("frmMain.FemaleSex"),
                                   catalogue.LookupText("frmMain.NoSex"));
        outcome = ReadExchange(*kind, context.folder, context.settings, sexes);
    }
    const std::string file = ExchangeFilePath(context.folder, *kind, context.settings).string();
    if (outcome.Ok())
        return Succeeded(context, *kind, build, (build ? "Written: " : "Read: ") + file);
    // The window shows its message 1 when the file cannot be used, and always what is wrong.
    if (!build && outcome.FileRefused()) context.Fail(WindowOf(*kind, false) + ".MsgBox1Text");
    return context.Fail("", outcome.error);
}

} // namespace

int RunBuildExchange(CliContext& context, const std::vector<std::string>& args) { return Run(context, args, true); }

int RunReadExchange(CliContext& context, const std::vector<std::string>& args) { return Run(context, args, false); }

} // namespace plumet::cli
