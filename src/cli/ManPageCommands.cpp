#include "cli/ManPageCommands.h"

#include <CLI/CLI.hpp>
#include <string>

#include "cli/CommandTree.h"

namespace {

// Text as roff shows it literally: backslashes and minus signs escaped, and no
// line starting with a control character.
std::string Roff(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\') {
            escaped += "\\e";
        } else if (c == '-') {
            escaped += "\\-";
        } else {
            escaped += c;
        }
    }
    if (!escaped.empty() && (escaped.front() == '.' || escaped.front() == '\''))
        escaped.insert(0, "\\&");
    return escaped;
}

std::string OptionLabel(const CommandOption& option) {
    std::string label;
    for (const std::string& name : option.names)
        label += (label.empty() ? "" : ", ") + ("\\fB" + Roff(name) + "\\fR");
    if (!option.value.empty()) label += " \\fI" + Roff(option.value) + "\\fR";
    return label;
}

}  // namespace

void WriteManPageCommands(const CLI::App& app, std::ostream& out) {
    out << "[COMMANDS]\n"
           "Each command answers \\fB\\-\\-help\\fR with its own usage.\n";
    for (const CommandInfo& command : DescribeCommands(app)) {
        const std::string& about = command.description;
        out << ".SS \"" << Roff(CommandSynopsis(command)) << "\"\n"
            << Roff(about) << (about.empty() || about.back() == '.' ? "\n" : ".\n");
        for (const CommandArgument& argument : command.arguments)
            out << ".TP\n\\fI" << Roff(argument.name) << "\\fR\n"
                << Roff(argument.description) << "\n";
        for (const CommandOption& option : command.options) {
            // Said once above for every command.
            if (option.names.size() == 2 && option.names[1] == "--help") continue;
            out << ".TP\n" << OptionLabel(option) << "\n" << Roff(option.description) << "\n";
        }
    }
}
