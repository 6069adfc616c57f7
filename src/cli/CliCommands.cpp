#include "cli/CliCommands.h"

#include <CLI/CLI.hpp>

void AddCommands(CLI::App& app, CliContext& context) {
    AddSpriteCommands(app, context);
}
