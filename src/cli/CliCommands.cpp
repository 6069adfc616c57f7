#include "cli/CliCommands.h"

#include <CLI/CLI.hpp>

void AddCommands(CLI::App& app, CliContext& context) {
    AddArchiveCommands(app, context);
    AddSpriteCommands(app, context);
    AddPictureCommands(app, context);
    AddFolderCommands(app, context);
    AddShpCommands(app, context);
    AddCheckCommands(app, context);
    AddSampleCommand(app, context);
}
