#pragma once
// Registration of the varnok-dat subcommands, one function per group.

#include "cli/CliContext.h"

void AddCommands(CLI::App& app, CliContext& context);
void AddSpriteCommands(CLI::App& app, CliContext& context);
void AddArchiveCommands(CLI::App& app, CliContext& context);
void AddSampleCommand(CLI::App& app, CliContext& context);
void AddShpCommands(CLI::App& app, CliContext& context);
void AddCheckCommands(CLI::App& app, CliContext& context);
void AddPictureCommands(CLI::App& app, CliContext& context);
void AddFolderCommands(CLI::App& app, CliContext& context);
// Hidden: writes the completion script and the manual's command list.
void AddDescribeCommand(CLI::App& app, CliContext& context);
