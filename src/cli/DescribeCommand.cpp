// The hidden describe-commands subcommand: the build writes the bash
// completion and the manual page's command list with it, from the very
// command tree the program parses with.
#include <CLI/CLI.hpp>

#include "cli/BashCompletion.h"
#include "cli/CliCommands.h"
#include "cli/ManPageCommands.h"

void AddDescribeCommand(CLI::App& app, CliContext& context) {
    auto* describe = app.add_subcommand("describe-commands", "Describe the commands for the build");
    describe->group("");
    auto format = std::make_shared<std::string>();
    describe->add_option("FORMAT", *format, "bash (completion) or man (the COMMANDS section)")
        ->required()
        ->check(CLI::IsMember({"bash", "man"}));
    describe->callback([&app, &context, format] {
        if (*format == "bash") {
            WriteBashCompletion(app, context.out);
        } else {
            WriteManPageCommands(app, context.out);
        }
    });
}
