#include "cli/cli.h"

#include <ostream>

#include "app/cp1252.h"
#include "app/formtexts.h"

namespace plumet::cli {

int CliContext::Fail(const std::string& key, const std::string& fallback) const {
    const std::string text = key.empty() ? std::string() : catalogue.LookupText(key);
    err << (text.empty() ? fallback : Cp1252ToUtf8(text)) << '\n';
    return kFailed;
}

std::string UsageText() {
    std::string text = "usage: plumet-cli [--folder DIR] [--port ID] COMMAND ARGS...\n";
    if (Commands().empty()) return text + "no commands are available in this build\n";
    text += "commands:\n";
    for (const auto& command : Commands()) text += "  " + command.name + " " + command.arguments + "\n";
    return text;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool stderrIsTerminal) {
    Path folder = std::filesystem::current_path();
    std::optional<std::string> port;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        if ((args[i] == "--folder" || args[i] == "--port") && i + 1 < args.size()) {
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
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    for (const auto& command : Commands()) {
        if (command.name != name) continue;
        if (rest.size() < command.minArgs || rest.size() > command.maxArgs) {
            err << "usage: plumet-cli [--folder DIR] [--port ID] " << command.name << " " << command.arguments << '\n';
            return kUsage;
        }
        if (!std::filesystem::is_directory(folder)) {
            err << "The program folder does not exist: " << folder.string() << '\n';
            return kFailed;
        }
        CliContext context{folder, ReadOptions(folder), {}, out, err, stderrIsTerminal};
        context.catalogue.Load(folder);
        context.catalogue.AddMissingFrom(ui::ShippedCatalogue());
        if (port) context.settings.comPort = *port;
        return command.run(context, rest);
    }
    err << "unknown command " << name << '\n' << UsageText();
    return kUsage;
}

} // namespace plumet::cli
