#pragma once
// The visible commands of the varnok-dat command tree in a plain form, read
// by the writers of the shell completion and of the manual page's command list.

#include <string>
#include <vector>

namespace CLI {
class App;
}

struct CommandOption {
    std::vector<std::string> names;  // "-o", "--output"
    std::string value;               // the value's type name, empty for a flag
    std::string description;
};

struct CommandArgument {
    std::string name;
    bool required = false;
    bool repeated = false;
    std::string description;
};

struct CommandInfo {
    std::string name;
    std::string description;
    std::vector<CommandOption> options;
    std::vector<CommandArgument> arguments;
};

// The options of one command (or of the program itself), hidden ones left out.
std::vector<CommandOption> DescribeOptions(const CLI::App& command);

// The subcommands of the program in the order --help lists them, hidden ones left out.
std::vector<CommandInfo> DescribeCommands(const CLI::App& app);

// The command's synopsis: "list [OPTIONS] ARCHIVE", "add [OPTIONS] ARCHIVE FILE...".
std::string CommandSynopsis(const CommandInfo& command);
