#include "cli/cli.h"

#include <ostream>

#include "common/appcontext.h"
#include "common/catalogues.h"
#include "common/textcodec.h"
#include "core/app/cp1252.h"
#include "core/app/fixedwidth.h"

namespace plumet::cli {

int CliContext::Fail(const std::string& key, const std::string& fallback) const {
    const std::string text = key.empty() ? std::string() : catalogue.LookupText(key);
    err << Cp1252ToUtf8(text.empty() ? fallback : text) << '\n';
    return kFailed;
}

int CliContext::Fail(const std::string& key, std::initializer_list<std::string> values) const {
    err << Cp1252ToUtf8(CatalogueText(key, values)) << '\n';
    return kFailed;
}

bool CliContext::LockForWriting(const std::string& command) {
    writeLock = FolderWriteLock(folder, "plumet-cli " + command, wait);
    if (writeLock.Held()) return true;
    Fail("", writeLock.Refusal());
    return false;
}

std::string UsageText() {
    std::string text = "usage: plumet-cli [--folder DIR] [--port ID] [--wait S] COMMAND ARGS...\n";
    if (Commands().empty()) return text + "no commands are available in this build\n";
    text += "commands:\n";
    for (const auto& command : Commands()) text += "  " + command.name + " " + command.arguments + "\n";
    return text;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool stderrIsTerminal) {
    Path folder = std::filesystem::current_path();
    std::optional<std::string> port;
    std::chrono::milliseconds wait = kWriteLockWait;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--wait" && i + 1 < args.size()) {
            const auto seconds = IsAllDigits(args[i + 1]) ? ParseInteger(args[i + 1]) : std::nullopt;
            if (!seconds || *seconds > 3600) {
                err << "--wait takes whole seconds from 0 to 3600\n" << UsageText();
                return kUsage;
            }
            wait = std::chrono::seconds(*seconds);
            ++i;
        } else if ((args[i] == "--folder" || args[i] == "--port") && i + 1 < args.size()) {
            if (args[i] == "--folder") folder = args[i + 1];
            else port = args[i + 1];
            ++i;
        } else if (args[i] == "--help" || args[i] == "-h") {
            out << UsageText();
            return kSuccess;
        } else if (args[i].rfind("--", 0) == 0) {
            err << "unknown option " << args[i] << '\n' << UsageText();
            return kUsage;
        } else {
            break;
        }
    }
    if (i >= args.size()) {
        err << UsageText();
        return kUsage;
    }
    const std::string name = args[i];
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    for (const auto& command : Commands()) {
        if (command.name != name) continue;
        if (rest.size() < command.minArgs || rest.size() > command.maxArgs) {
            err << "usage: plumet-cli [--folder DIR] [--port ID] " << command.name << " " << command.arguments << '\n';
            return kUsage;
        }
        // Converted here once, so that a message names it as it was typed.
        if (command.namesFirst && !rest.empty()) rest[0] = ArgumentBytes(rest[0]);
        if (!std::filesystem::is_directory(folder)) {
            UseCatalogues({}, ShippedCatalogue());
            err << Cp1252ToUtf8(CatalogueText("Cli.NoFolder", {PathText(folder)})) << '\n';
            return kFailed;
        }
        // What the program's windows share would otherwise read the working directory's
        // files, as the printed list its catalogue and logo.
        App().programFolder = folder;
        TextCatalogue catalogue;
        catalogue.Load(folder);
        catalogue.AddMissingFrom(ShippedCatalogue());
        UseCatalogues(catalogue, ShippedCatalogue()); // before anything is read, so reasons are worded
        CliContext context{folder, ReadOptions(folder), std::move(catalogue), out, err, stderrIsTerminal, wait, {}};
        // Every command says it; those that would use the garbage do nothing.
        if (!context.settings.damage.empty()) {
            context.Fail("", context.settings.damage);
            if (command.usesSettings) return kFailed;
        }
        // Only the program's menus hang on it, so every command goes on.
        if (!context.settings.programOptionsDamage.empty()) context.Fail("", context.settings.programOptionsDamage);
        if (port) context.settings.comPort = *port;
        if (command.writes) {
            if (!context.LockForWriting(command.name)) return kFailed;
        } else if (const UnfinishedSaveCheck unfinished = CheckUnfinishedSaves(folder, command.reads);
                   !unfinished.notice.empty()) {
            context.Fail("", unfinished.notice);
            if (unfinished.refused) return kFailed;
        }
        return command.run(context, rest);
    }
    err << "unknown command " << name << '\n' << UsageText();
    return kUsage;
}

} // namespace plumet::cli
