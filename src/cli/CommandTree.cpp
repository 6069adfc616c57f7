#include "cli/CommandTree.h"

#include <CLI/CLI.hpp>

namespace {

// Option groups are nameless subcommands whose options belong to their parent;
// a group without a heading is hidden.
std::vector<const CLI::App*> OptionGroups(const CLI::App& command) {
    return command.get_subcommands(
        [](const CLI::App* sub) { return sub->get_name().empty() && !sub->get_group().empty(); });
}

void CollectOptions(const CLI::App& command, std::vector<CommandOption>& options) {
    for (const CLI::Option* option : command.get_options()) {
        if (option->get_group().empty() || !option->nonpositional()) continue;
        // A group carries its parent's help flag, which the parent lists already.
        if (command.get_name().empty() && option == command.get_help_ptr()) continue;
        CommandOption described;
        for (const std::string& name : option->get_snames())
            described.names.push_back("-" + name);
        for (const std::string& name : option->get_lnames())
            described.names.push_back("--" + name);
        if (option->get_items_expected_max() > 0) described.value = option->get_type_name();
        described.description = option->get_description();
        options.push_back(std::move(described));
    }
    for (const CLI::App* group : OptionGroups(command))
        CollectOptions(*group, options);
}

void CollectArguments(const CLI::App& command, std::vector<CommandArgument>& arguments) {
    for (const CLI::Option* option : command.get_options()) {
        if (option->get_group().empty() || !option->get_positional()) continue;
        CommandArgument argument;
        argument.name = option->get_name(true);
        argument.required = option->get_required();
        argument.repeated = option->get_items_expected_max() > 1;
        argument.description = option->get_description();
        arguments.push_back(std::move(argument));
    }
    for (const CLI::App* group : OptionGroups(command))
        CollectArguments(*group, arguments);
}

}  // namespace

std::vector<CommandOption> DescribeOptions(const CLI::App& command) {
    std::vector<CommandOption> options;
    CollectOptions(command, options);
    return options;
}

std::vector<CommandInfo> DescribeCommands(const CLI::App& app) {
    std::vector<CommandInfo> commands;
    const auto visible = [](const CLI::App* command) {
        return !command->get_name().empty() && !command->get_group().empty();
    };
    for (const CLI::App* command : app.get_subcommands(visible)) {
        CommandInfo described;
        described.name = command->get_name();
        described.description = command->get_description();
        described.options = DescribeOptions(*command);
        CollectArguments(*command, described.arguments);
        commands.push_back(std::move(described));
    }
    return commands;
}

std::string CommandSynopsis(const CommandInfo& command) {
    std::string synopsis = command.name + " [OPTIONS]";
    for (const CommandArgument& argument : command.arguments) {
        std::string shown = argument.name + (argument.repeated ? "..." : "");
        synopsis += " " + (argument.required ? shown : "[" + shown + "]");
    }
    return synopsis;
}
