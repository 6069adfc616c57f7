#include "cli/BashCompletion.h"

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/CommandTree.h"

namespace {

// Words for compgen -W and case patterns: the names CLI11 accepts need no quoting.
std::string JoinNames(const std::vector<CommandOption>& options, bool valuesOnly,
                      bool numbersOnly) {
    std::string words;
    for (const CommandOption& option : options) {
        if (valuesOnly && option.value.empty()) continue;
        if (numbersOnly && option.value != "INT") continue;
        for (const std::string& name : option.names)
            words += (words.empty() ? "" : " ") + name;
    }
    return words;
}

void WriteCommandCase(const std::string& pattern, const std::vector<CommandOption>& options,
                      std::ostream& out) {
    out << "        " << pattern << ")\n"
        << "            options=\"" << JoinNames(options, false, false) << "\"\n"
        << "            numbers=\"" << JoinNames(options, true, true) << "\" ;;\n";
}

}  // namespace

void WriteBashCompletion(const CLI::App& app, std::ostream& out) {
    const std::vector<CommandInfo> commands = DescribeCommands(app);
    std::string topWords;
    for (const CommandInfo& command : commands)
        topWords += command.name + " ";
    topWords += JoinNames(DescribeOptions(app), false, false);

    out << "# bash completion for varnok-dat, written by the program from its own command\n"
           "# definitions when it is built; edit those, not this file.\n"
           "_varnok_dat() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
           "    local command=\"\" i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        if [[ ${COMP_WORDS[i]} != -* ]]; then\n"
           "            command=${COMP_WORDS[i]}\n"
           "            break\n"
           "        fi\n"
           "    done\n"
           "    COMPREPLY=()\n"
           "    if [[ -z $command ]]; then\n"
           "        mapfile -t COMPREPLY < <(compgen -W \""
        << topWords
        << "\" -- \"$cur\")\n"
           "        return 0\n"
           "    fi\n"
           "    local options=\"\" numbers=\"\"\n"
           "    case $command in\n";
    for (const CommandInfo& command : commands)
        WriteCommandCase(command.name, command.options, out);
    out << "        *) ;;\n"
           "    esac\n"
           "    # A number is typed, not completed; other values and arguments are files.\n"
           "    if [[ \" $numbers \" == *\" $prev \"* ]]; then\n"
           "        return 0\n"
           "    fi\n"
           "    if [[ $cur == -* ]]; then\n"
           "        mapfile -t COMPREPLY < <(compgen -W \"$options\" -- \"$cur\")\n"
           "    else\n"
           "        compopt -o filenames 2>/dev/null\n"
           "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
           "    fi\n"
           "    return 0\n"
           "}\n"
           "complete -F _varnok_dat varnok-dat\n";
}
