// The archive subcommands: list, report, compare, extract, unpack, add,
// replace, remove, repack.
#include <CLI/CLI.hpp>
#include <optional>

#include "archive/ArchiveCommands.h"
#include "archive/DatArchive.h"
#include "archive/EditableFolder.h"
#include "archive/ItemFilter.h"
#include "archive/NamePattern.h"
#include "archive/PlannedChange.h"
#include "archive/RepackFolder.h"
#include "archive/ReportFile.h"
#include "cli/CliCommands.h"
#include "cli/FolderCommands.h"
#include "cli/ItemLookup.h"
#include "cli/JsonOutput.h"
#include "cli/OutputFile.h"
#include "cli/OutputFolder.h"
#include "support/ErrorLog.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/RewriteLock.h"

namespace {

constexpr const char* kItemHelp =
    "item names (any case), or #N for the N-th item: the N-th row of an unfiltered list, "
    "counted from 1 (reaches each of several items of one name), or shell-style patterns in "
    "quotes ('UNIT*', '?ANEL0[1-3].S16'), matched in any case; a pattern that matches nothing "
    "is an error";

constexpr const char* kBackupHelp =
    "The archive from before the command is kept as <name>_back.dat.";

constexpr const char* kDryRunHelp =
    "make every check and print what would change (items added, replaced, removed; the "
    "archive's bytes before and after), but write nothing";

constexpr const char* kUnpackHelp =
    "Files already in the folder are kept, and the command exits 1, unless --overwrite. Items "
    "whose names differ only in letter case are all written: the second as NAME~2.EXT, the "
    "third as NAME~3.EXT, and so on. The archive itself is never written over.";

constexpr const char* kForceHelp =
    "store a file named *.S16 even when it does not read as an S16 file (other names are "
    "always stored as they are)";

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
    bool allowDuplicate = false;
    bool force = false;
    bool overwrite = false;
    bool json = false;
    bool dryRun = false;
    bool png = false;
};

// The rules of add and replace, with the options that relax them.
SourceRules RulesOf(const ArchiveArgs& a) {
    SourceRules rules;
    rules.allowDuplicate = a.allowDuplicate;
    rules.force = a.force;
    rules.duplicateHint = " (--allow-duplicate adds a second item of that name)";
    rules.forceHint = " (--force stores it anyway)";
    return rules;
}

// Runs `body` on the opened archive; the command fails when the archive does
// not open, when `body` says so, or when the archive is damaged (`body` still
// runs on the items that could be listed).
void WithArchive(CliContext& context, const std::string& path,
                 const std::function<bool(DatArchive&)>& body) {
    DatArchive archive;
    // Only what lists or reports items needs the icon counts (ReadIconCountsNow).
    if (!archive.OpenArchive(path, DatArchive::IconCounts::kWhenAsked)) {
        context.Finish(false);
        return;
    }
    const bool complete = archive.ItemsLeftOut() == 0;  // a rewrite forgets them
    const bool ok = body(archive);
    context.Finish(ok && complete);
}

// Writes a report's text to the file, or to standard output without one or
// for "-"; the file is never one of the `archives` the report is about.
bool Emit(CliContext& context, const std::string& text, const std::string& output,
          const std::vector<std::string>& archives) {
    if (output.empty() || IsStandardOutput(output)) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        return WriteToStandardOutput(context.out, {bytes, text.size()});
    }
    return WriteReportFile(output, text, archives);
}

bool NeedsItems(const DatArchive& archive) {
    if (archive.ItemCount() > 0) return true;
    ShowError("%s holds no item: repack a folder to fill it", archive.ArchivePath().c_str());
    return false;
}

// The rows `list` shows for the options, in order: the window's filter.
std::vector<int> ListedItems(DatArchive& archive, const ArchiveArgs& a) {
    archive.ReadIconCountsNow();
    const int mode = a.units ? kShowUnits : a.interface ? kShowInterface : kShowAll;
    return FilterItems(archive.Entries(), mode, a.filter);
}

bool List(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    if (a.json) {
        Json items = Json::array();
        for (int index : ListedItems(archive, a))
            items.push_back(ItemJson(archive.Entry(index), index + 1));
        PrintJson(context.out, {{"archive", a.archive}, {"items", std::move(items)}});
        return true;
    }
    const std::vector<int> listed = ListedItems(archive, a);
    std::string rows;  // one write for all rows
    rows.reserve(listed.size() * 24);
    for (int index : listed) {
        AppendItemRow(rows, archive.Entry(index));
        rows += '\n';
    }
    context.out << rows;
    return true;
}

bool Report(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    archive.ReadIconCountsNow();
    if (!a.json) return Emit(context, archive.ItemReport(!a.namesOnly), a.output, {a.archive});
    Json items = Json::array();
    for (const DatEntry& entry : archive.Entries())
        items.push_back({{"name", entry.Name()}, {"icons", entry.icons}});
    PrintJson(
        context.out,
        {{"archive", a.archive}, {"item_count", archive.ItemCount()}, {"items", std::move(items)}});
    return true;
}

const char* PlaceName(ComparedPlace place) {
    switch (place) {
        case ComparedPlace::kBoth:
            return "both";
        case ComparedPlace::kOnlyFirst:
            return "only_archive";
        case ComparedPlace::kOnlySecond:
            return "only_other";
    }
    return "";
}

bool Compare(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    const std::optional<ArchiveComparison> comparison = archive.CompareWith(a.other);
    if (!comparison) return false;
    if (!a.json)
        return Emit(context, ComparisonText(*comparison, a.differencesOnly), a.output,
                    {a.archive, a.other});
    Json items = Json::array();
    for (const ComparedItem& item : comparison->items) {
        if (a.differencesOnly && item.place == ComparedPlace::kBoth) continue;
        items.push_back({{"name", item.name}, {"place", PlaceName(item.place)}});
    }
    PrintJson(context.out, {{"archive", a.archive},
                            {"other", a.other},
                            {"archive_items", comparison->firstCount},
                            {"other_items", comparison->secondCount},
                            {"items", std::move(items)},
                            {"in_both", comparison->inBoth},
                            {"only_archive", comparison->onlyFirst},
                            {"only_other", comparison->onlySecond}});
    return true;
}

// The items named, or without names those `list` shows with the same options;
// nothing when a name is not an item (told).
std::optional<std::vector<int>> ChosenItems(DatArchive& archive, const ArchiveArgs& a) {
    if (a.names.empty()) return ListedItems(archive, a);
    // Every name is resolved before anything is written.
    const ItemLookup lookup(archive);
    std::vector<int> indices;
    for (const std::string& name : a.names) {
        const std::vector<int> found = lookup.FindAll(name);
        if (found.empty()) return std::nullopt;
        indices.insert(indices.end(), found.begin(), found.end());
    }
    return indices;
}

// "-o -": the one chosen item's bytes on standard output, nothing else there.
bool ExtractToStandardOutput(CliContext& context, DatArchive& archive,
                             const std::vector<int>& indices) {
    if (indices.size() != 1) {
        ShowError("-o - writes one item to standard output, but %d items were chosen",
                  static_cast<int>(indices.size()));
        return false;
    }
    return archive.CopyItemBytes(indices.front(), [&context](std::span<const std::uint8_t> block) {
        return WriteToStandardOutput(context.out, block);
    });
}

// The chosen items are all written by one rule, so that none overwrites another.
bool Extract(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    const std::optional<std::vector<int>> indices = ChosenItems(archive, a);
    if (!indices) return false;
    if (IsStandardOutput(a.output)) return ExtractToStandardOutput(context, archive, *indices);
    context.ui.SetAnswer(a.overwrite);
    const std::string folder = AsFolder(a.output.empty() ? std::string(".") : a.output);
    if (!MakeOutputFolder(folder)) return false;
    const ItemWriteResult result = archive.WriteItems(*indices, folder, context.progress);
    if (result.written > 0) TellFilteredExtraction(result.written, folder);
    return result.Complete();
}

bool Unpack(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    context.ui.SetAnswer(a.overwrite);
    const std::string folder = AsFolder(a.output);
    if (a.png) {
        return MakeOutputFolder(folder) &&
               UnpackAsEditableFolder(archive, folder, a.overwrite, context.progress);
    }
    return MakeOutputFolder(folder) && archive.UnpackAll(folder, context.progress).Complete();
}

// Every name is resolved and every file checked before the one rewrite: a
// refused name leaves the archive as it was.
bool Replace(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    if (!NeedsItems(archive)) return false;
    const ItemLookup lookup(archive);
    std::vector<std::pair<int, std::string>> replacements;
    for (const std::string& text : a.names) {
        // "#N=FILE" reaches the N-th item, also one whose name another item has too.
        const std::size_t equals = text.find('=');
        const bool numbered = !text.empty() && text.front() == '#' && equals != std::string::npos;
        const std::string path = numbered ? text.substr(equals + 1) : text;
        if (!numbered && IsNamePattern(SplitPath(path, kPathFileName)) && !Exists(path)) {
            if (!lookup.FindReplacements(path, replacements)) return false;
            continue;
        }
        const int index =
            lookup.Find(numbered ? text.substr(0, equals) : SplitPath(path, kPathFileName));
        if (index < 0) return false;
        replacements.emplace_back(index, path);
    }
    return ReplaceWithSameNamedFiles(archive, replacements, context.progress, RulesOf(a));
}

bool Remove(CliContext& context, DatArchive& archive, const ArchiveArgs& a) {
    if (!NeedsItems(archive)) return false;
    const ItemLookup lookup(archive);
    std::vector<int> indices;
    for (const std::string& name : a.names) {
        const std::vector<int> found = lookup.FindAll(name);
        if (found.empty()) return false;
        indices.insert(indices.end(), found.begin(), found.end());
    }
    return !RemoveItemsAndTell(archive, indices, context.progress).empty();
}

bool Repack(CliContext& context, const std::string& newArchive, bool dryRun) {
    ErrorLog log;
    if (dryRun) {
        // Without a started log its lines go to standard error: no log file appears.
        PlannedChange change;
        if (!RepackFolder(newArchive, log, context.progress, nullptr, &change)) return false;
        context.out << PlannedChangeText(change);
        return true;
    }
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

// --units, --interface and --filter, as the DAT Tool filters its list.
std::vector<CLI::Option*> AddFilterOptions(CLI::App& command, ArchiveArgs& a) {
    auto* units = command.add_flag("--units", a.units, "only items with 9 icons");
    auto* interface =
        command.add_flag("--interface", a.interface, "only the other items")->excludes(units);
    auto* filter = command.add_option(
        "--filter", a.filter, "names beginning with TEXT, or containing it with a leading $");
    return {units, interface, filter};
}

CLI::Option* AddJsonFlag(CLI::App& command, ArchiveArgs& a) {
    return command.add_flag("--json", a.json, kJsonHelp);
}

void AddDryRunFlag(CLI::App& command, ArchiveArgs& a) {
    command.add_flag("--dry-run", a.dryRun, kDryRunHelp);
}

// --overwrite, and the rules of writing items into a folder, of extract and unpack.
void AddOverwriteOption(CLI::App& command, ArchiveArgs& a) {
    command.footer(kUnpackHelp);
    command.add_flag("--overwrite", a.overwrite, "replace files already in the folder");
}

}  // namespace

void AddArchiveCommands(CLI::App& app, CliContext& context) {
    auto a = std::make_shared<ArchiveArgs>();
    auto run = [&context, a](std::function<bool(DatArchive&)> body) {
        return [&context, a, body] { WithArchive(context, a->archive, body); };
    };
    // A rewrite locks the archive before reading it, so that a second writer
    // waits for the first instead of working from what is about to be replaced.
    // With --dry-run the archive only plans, and the plan is told instead.
    auto rewrite = [&context, a](std::function<bool(DatArchive&)> body) {
        return [&context, a, body] {
            const RewriteLock lock(a->archive);
            if (!lock.Held()) {
                context.Finish(false);
                return;
            }
            WithArchive(context, a->archive, [&context, a, &body](DatArchive& archive) {
                PlannedChange change;
                if (a->dryRun) archive.PlanOnly(&change);
                if (!body(archive)) return false;
                if (a->dryRun) context.out << PlannedChangeText(change);
                return true;
            });
        };
    };

    auto* list = AddArchiveCommand(app, "list", "List the items as the DAT Tool lists them", *a);
    AddFilterOptions(*list, *a);
    AddJsonFlag(*list, *a);
    list->callback(run([&context, a](DatArchive& archive) { return List(context, archive, *a); }));

    auto* report = AddArchiveCommand(app, "report", "The item report", *a);
    report->add_flag("--names-only", a->namesOnly, "item names without icon counts");
    auto* reportOutput = report->add_option("-o,--output", a->output,
                                            "the report file (default, or -: standard output)");
    AddJsonFlag(*report, *a)->excludes(reportOutput);
    report->callback(
        run([&context, a](DatArchive& archive) { return Report(context, archive, *a); }));

    auto* compare = AddArchiveCommand(app, "compare", "Compare with another archive", *a);
    compare->add_option("OTHER", a->other, "the other .dat archive")->required();
    compare->add_flag("--differences-only", a->differencesOnly, "leave out the items in both");
    auto* compareOutput = compare->add_option("-o,--output", a->output,
                                              "the report file (default, or -: standard output)");
    AddJsonFlag(*compare, *a)->excludes(compareOutput);
    compare->callback(
        run([&context, a](DatArchive& archive) { return Compare(context, archive, *a); }));

    auto* extract = AddArchiveCommand(
        app, "extract",
        "Write items as files: the items named, or without names those list shows with the same "
        "options",
        *a);
    auto* items = extract->add_option("ITEM", a->names, kItemHelp);
    for (CLI::Option* option : AddFilterOptions(*extract, *a))
        items->excludes(option);
    extract->add_option("-o,--output", a->output,
                        "the folder (made when missing; default: the current one); - writes "
                        "the one item chosen to standard output");
    AddOverwriteOption(*extract, *a);
    extract->callback(
        run([&context, a](DatArchive& archive) { return Extract(context, archive, *a); }));

    auto* unpack = AddArchiveCommand(app, "unpack", "Write every item into a folder", *a);
    unpack->add_option("FOLDER", a->output, "the folder (made when missing)")->required();
    AddOverwriteOption(*unpack, *a);
    unpack->add_flag("--png", a->png, kUnpackPngHelp);
    unpack->callback(
        run([&context, a](DatArchive& archive) { return Unpack(context, archive, *a); }));

    auto* add = AddArchiveCommand(app, "add", "Add files as items (one rewrite for all)", *a);
    add->footer(
        "An item is named like its file, in at most 12 characters: longer names are refused. A "
        "name already in the archive is refused (replace changes that item) unless "
        "--allow-duplicate; use #N to reach each item of a name then. Files named *.S16 must "
        "read as S16 files unless --force; other files are stored as they are. " +
        std::string(kBackupHelp));
    add->add_option("FILE", a->names, "the files")->required();
    add->add_flag("--allow-duplicate", a->allowDuplicate,
                  "add a file even when an item of its name is already there");
    add->add_flag("--force", a->force, kForceHelp);
    AddDryRunFlag(*add, *a);
    add->callback(rewrite([&context, a](DatArchive& archive) {
        return NeedsItems(archive) && AddFiles(archive, a->names, context.progress, RulesOf(*a));
    }));

    auto* replace = AddArchiveCommand(
        app, "replace", "Replace the items named like the files (one rewrite for all)", *a);
    replace->footer(
        "Files named *.S16 must read as S16 files unless --force. A name that is not "
        "an item, or a file that cannot be read, stops the command before anything "
        "changes. " +
        std::string(kBackupHelp));
    replace
        ->add_option("FILE", a->names,
                     "files named like the items they replace; #N=FILE replaces the N-th item "
                     "(the N-th row of an unfiltered list), which must be named like FILE; "
                     "'FOLDER/PATTERN' replaces every item the pattern matches with the file "
                     "of its name in FOLDER")
        ->required();
    replace->add_flag("--force", a->force, kForceHelp);
    AddDryRunFlag(*replace, *a);
    replace->callback(
        rewrite([&context, a](DatArchive& archive) { return Replace(context, archive, *a); }));

    auto* remove = AddArchiveCommand(app, "remove", "Remove items (one rewrite for all)", *a);
    remove->footer("A name that is not an item stops the command before anything changes. " +
                   std::string(kBackupHelp));
    remove->add_option("ITEM", a->names, kItemHelp)->required();
    AddDryRunFlag(*remove, *a);
    remove->callback(
        rewrite([&context, a](DatArchive& archive) { return Remove(context, archive, *a); }));

    auto* repack =
        app.add_subcommand("repack", "Pack the .s16 files of NEW_ARCHIVE's folder into it");
    repack->footer(
        "An archive already at NEW_ARCHIVE is kept as <name>_back.dat, and how many of its items "
        "the new one lacks is told.");
    repack->add_option("NEW_ARCHIVE", a->archive, "the archive to write")->required();
    AddDryRunFlag(*repack, *a);
    repack->callback([&context, a] { context.Finish(Repack(context, a->archive, a->dryRun)); });
}
