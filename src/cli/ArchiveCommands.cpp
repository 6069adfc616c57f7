// The archive subcommands: list, report, compare, extract, unpack, add,
// replace, remove, repack.
#include <CLI/CLI.hpp>
#include <filesystem>

#include "archive/ArchiveCommands.h"
#include "archive/DatArchive.h"
#include "archive/ItemFilter.h"
#include "archive/RepackFolder.h"
#include "cli/CliCommands.h"
#include "support/DataFile.h"
#include "support/ErrorLog.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

struct ArchiveArgs {
    std::string archive;
    std::string other;
    std::string output;
    std::string filter;
    std::vector<std::string> names;
    bool units = false;
    bool interface = false;
    bool namesOnly = false;
    bool differencesOnly = false;
    bool overwrite = false;
};

// Runs `body` on the opened archive; the command fails when the archive does
// not open, when `body` says so, or when any error was shown on the way.
void WithArchive(CliContext& context, const std::string& path,
                 const std::function<bool(DatArchive&)>& body) {
    const int errorsBefore = context.ui.ErrorCount();
    DatArchive archive;
    const bool ok = archive.OpenArchive(path) && body(archive);
    context.Finish(ok && context.ui.ErrorCount() == errorsBefore);
}

// Writes a report's text to the file, or to standard output without one.
bool Emit(CliContext& context, const std::string& text, const std::string& output) {
    if (output.empty()) {
        context.out << text;
        return true;
    }
    DataFile file;
    if (!file.Open(output, "wt", true)) return false;
    if (!file.WriteText(text) || !file.Close()) {
        ReportWriteError(output);
        return false;
    }
    return true;
}

int ItemIndex(const DatArchive& archive, const std::string& name) {
    const int index = archive.FindItem(name);
    if (index < 0)
        ShowError("%s is not an item of %s", name.c_str(), archive.ArchivePath().c_str());
    return index;
}

bool NeedsItems(const DatArchive& archive) {
    if (archive.ItemCount() > 0) return true;
    ShowError("%s holds no item: repack a folder to fill it", archive.ArchivePath().c_str());
    return false;
}

bool List(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    const int mode = a.units ? kShowUnits : a.interface ? kShowInterface : kShowAll;
    for (int index : FilterItems(archive.Entries(), mode, a.filter))
        context.out << ItemRow(archive.Entry(index)) << '\n';
    return true;
}

bool Compare(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    std::string text;
    return archive.ComparisonReport(a.other, a.differencesOnly, text) &&
           Emit(context, text, a.output);
}

bool Extract(DatArchive& archive, const ArchiveArgs& a) {
    const std::string folder = AsFolder(a.output.empty() ? std::string(".") : a.output);
    bool ok = true;
    for (const std::string& name : a.names) {
        const int index = ItemIndex(archive, name);
        const std::string path =
            index < 0 ? std::string() : ItemPathInFolder(archive.Entry(index), folder);
        ok = !path.empty() && ExtractItemAndTell(archive, index, path, true) && ok;
    }
    return ok;
}

bool Unpack(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    std::error_code ignored;
    std::filesystem::create_directories(a.output, ignored);
    int failures = 0;
    return archive.UnpackAll(AsFolder(a.output), context.progress, &failures) && failures == 0;
}

bool Replace(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    if (!NeedsItems(archive)) return false;
    bool ok = true;
    for (const std::string& path : a.names) {
        const int index = ItemIndex(archive, SplitPath(path, kPathFileName));
        ok = index >= 0 && ReplaceWithSameNamedFile(archive, index, path, context.progress) && ok;
    }
    return ok;
}

bool Remove(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    if (!NeedsItems(archive)) return false;
    bool ok = true;
    for (const std::string& name : a.names) {
        const int index = ItemIndex(archive, name);
        ok = index >= 0 && !RemoveItemAndTell(archive, index, context.progress).empty() && ok;
    }
    return ok;
}

bool Repack(CliContext& context, const std::string& newArchive) {
    ErrorLog log;
    log.Start(newArchive);
    const bool ok = RepackFolder(newArchive, log, context.progress);
    log.Finish(ok);
    return ok;
}

CLI::App* AddArchiveCommand(CLI::App& app, const char* name, const char* description,
                            ArchiveArgs& a) {
    auto* command = app.add_subcommand(name, description);
    command->add_option("ARCHIVE", a.archive, "the .dat archive")->required();
    return command;
}

}  // namespace

void AddArchiveCommands(CLI::App& app, CliContext& context) {
    auto a = std::make_shared<ArchiveArgs>();
    auto run = [&context, a](std::function<bool(DatArchive&)> body) {
        return [&context, a, body] { WithArchive(context, a->archive, body); };
    };

    auto* list = AddArchiveCommand(app, "list", "List the items as the DAT Tool lists them", *a);
    auto* units = list->add_flag("--units", a->units, "only items with 9 icons");
    list->add_flag("--interface", a->interface, "only the other items")->excludes(units);
    list->add_option("--filter", a->filter,
                     "names beginning with TEXT, or containing it with a leading $");
    list->callback(run([&context, a](DatArchive& archive) { return List(context, archive, *a); }));

    auto* report = AddArchiveCommand(app, "report", "The item report", *a);
    report->add_flag("--names-only", a->namesOnly, "item names without icon counts");
    report->add_option("-o,--output", a->output, "the report file (default: standard output)");
    report->callback(run([&context, a](DatArchive& archive) {
        return Emit(context, archive.ItemReport(!a->namesOnly), a->output);
    }));

    auto* compare = AddArchiveCommand(app, "compare", "Compare with another archive", *a);
    compare->add_option("OTHER", a->other, "the other .dat archive")->required();
    compare->add_flag("--differences-only", a->differencesOnly, "leave out the items in both");
    compare->add_option("-o,--output", a->output, "the report file (default: standard output)");
    compare->callback(
        run([&context, a](DatArchive& archive) { return Compare(context, archive, *a); }));

    auto* extract = AddArchiveCommand(app, "extract", "Write items as files", *a);
    extract->add_option("ITEM", a->names, "item names (any case)")->required();
    extract->add_option("-o,--output", a->output, "the folder (default: the current one)");
    extract->add_flag("--overwrite", a->overwrite, "replace files already in the folder");
    extract->callback(run([&context, a](DatArchive& archive) {
        context.ui.SetAnswer(a->overwrite);
        return Extract(archive, *a);
    }));

    auto* unpack = AddArchiveCommand(app, "unpack", "Write every item into a folder", *a);
    unpack->add_option("FOLDER", a->output, "the folder (made when missing)")->required();
    unpack->add_flag("--overwrite", a->overwrite, "replace files already in the folder");
    unpack->callback(run([&context, a](DatArchive& archive) {
        context.ui.SetAnswer(a->overwrite);
        return Unpack(context, archive, *a);
    }));

    auto* add = AddArchiveCommand(app, "add", "Add files as items (one rewrite for all)", *a);
    add->add_option("FILE", a->names, "the files")->required();
    add->callback(run([&context, a](DatArchive& archive) {
        return NeedsItems(archive) && AddFiles(archive, a->names, context.progress);
    }));

    auto* replace = AddArchiveCommand(app, "replace", "Replace the items named like the files", *a);
    replace->add_option("FILE", a->names, "the files")->required();
    replace->callback(
        run([&context, a](DatArchive& archive) { return Replace(context, archive, *a); }));

    auto* remove = AddArchiveCommand(app, "remove", "Remove items", *a);
    remove->add_option("ITEM", a->names, "item names (any case)")->required();
    remove->callback(
        run([&context, a](DatArchive& archive) { return Remove(context, archive, *a); }));

    auto* repack =
        app.add_subcommand("repack", "Pack the .s16 files of NEW_ARCHIVE's folder into it");
    repack->add_option("NEW_ARCHIVE", a->archive, "the archive to write")->required();
    repack->callback([&context, a] { context.Finish(Repack(context, a->archive)); });
}
