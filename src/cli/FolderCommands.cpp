// pack: an archive built back from a folder that unpack --png wrote.
#include <CLI/CLI.hpp>

#include "archive/EditableFolder.h"
#include "archive/PlannedChange.h"
#include "cli/CliCommands.h"
#include "cli/FolderCommands.h"

void AddFolderCommands(CLI::App& app, CliContext& context) {
    struct PackArgs {
        std::string folder;
        std::string archive;
        bool dryRun = false;
    };
    auto a = std::make_shared<PackArgs>();
    auto* pack = app.add_subcommand(
        "pack", "Build an archive from a folder that unpack --png wrote, edited or not");
    pack->add_option("FOLDER", a->folder, "the folder, with its manifest.json")->required();
    pack->add_option("-o,--output", a->archive, "the archive to write")->required();
    pack->add_flag("--dry-run", a->dryRun, "tell what would be written and write nothing");
    pack->footer(
        "The items of manifest.json come first, in its order: each sheet (PNG or BMP, read by "
        "its content, with its JSON beside it) becomes its S16 item, icons left unchanged "
        "coded exactly as before; other files are stored as they are. Files the manifest does "
        "not name follow in name order: a PNG with a JSON beside it as the S16 item named like "
        "the PNG without .png, any other file under its own name (at most 12 characters). "
        "Unedited, the archive comes out byte for byte as it was unpacked. An archive already "
        "at the path is kept as <name>_back.dat.");
    pack->callback([&context, a] {
        PlannedChange change;
        const bool ok = PackEditableFolder(a->folder, a->archive, a->dryRun ? &change : nullptr,
                                           context.progress);
        if (ok && a->dryRun) context.out << PlannedChangeText(change);
        context.Finish(ok);
    });
}
