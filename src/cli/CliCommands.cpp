#include "cli/CliCommands.h"

#include <CLI/CLI.hpp>

void AddCommands(CLI::App& app, CliContext& context) {
    (void)app;
    (void)context;
}
