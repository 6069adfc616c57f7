// The sprite subcommands: icons, insert-icon, remove-icon, make.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <functional>
#include <map>

#include "cli/BuildPlanText.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/SheetOptions.h"
#include "cli/SpriteSource.h"
#include "sprite/S16Builder.h"
#include "sprite/S16Editor.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/RewriteLock.h"

namespace {

constexpr const char* kIconDryRunHelp =
    "make every check and print what would change (the icon counts and the file's bytes before "
    "and after), but write nothing";

// Runs `edit` on the S16 file at `path`, locked from reading its icons to the
// rename of the new file; false when it cannot be locked or opened.
bool EditS16File(const std::string& path, const std::function<bool(S16Image&)>& edit) {
    const RewriteLock lock(path);
    if (!lock.Held()) return false;
    S16Image image;
    if (!image.OpenFile(path)) {
        ReportOpenError(path);
        return false;
    }
    return edit(image);
}

// What a dry run of an icon edit tells: the edit, then the file before and after.
void TellEditPlan(std::ostream& out, const std::string& path, const std::string& edit,
                  const S16EditPlan& plan) {
    out << edit << '\n'
        << FormatText("%s: %d -> %d icons, %llu -> %llu bytes; nothing was written (dry run)\n",
                      path.c_str(), plan.iconsBefore, plan.iconsAfter,
                      static_cast<unsigned long long>(plan.bytesBefore),
                      static_cast<unsigned long long>(plan.bytesAfter));
}

// Removes icon `n` of the S16 file read into `image` from `path`.
bool RemoveIconNumber(S16Image& image, const std::string& path, int n, S16EditPlan* planOnly) {
    if (!CheckS16Table(image, path, false)) return false;
    const int count = image.IconCount();
    const bool removed = RemoveIcon(image, n, planOnly);
    if (!removed && (n < 1 || n > count))
        ShowError("Icon %d is not in %s (%d icons)", n, path.c_str(), count);
    return removed;
}

void PrintIconJson(S16Image& image, const std::string& sprite, std::ostream& out) {
    Json icons = Json::array();
    for (int k = 1; k <= image.IconCount(); ++k)
        icons.push_back(IconJson(image.Icon(k), k));
    PrintJson(out, {{"sprite", sprite}, {"icon_count", image.IconCount()}, {"icons", icons}});
}

void PrintIconTable(S16Image& image, std::ostream& out) {
    out << FormatText("%-4s %6s %6s %6s %6s %6s %7s %8s %8s %8s %8s\n", "#", "Width", "Height",
                      "StartX", "StartY", "TWidth", "THeight", "Starts", "Bytes", "Compress",
                      "Reserved");
    for (int k = 1; k <= image.IconCount(); ++k) {
        const S16Icon& r = image.Icon(k);
        out << FormatText("%-4d %6d %6d %6d %6d %6d %7d %8d %8d %8d %8d\n", k, r.Width, r.Height,
                          r.StartX, r.StartY, r.TWidth, r.THeight, r.Starts, r.Bytes, r.Compress,
                          r.Reserved);
    }
}

// Bitmap paths grouped by folder, in the order the folders first appear.
std::vector<std::pair<std::string, std::vector<std::string>>> ByFolder(
    const std::vector<std::string>& paths) {
    std::vector<std::pair<std::string, std::vector<std::string>>> groups;
    for (const std::string& path : paths) {
        const std::string folder = SplitPath(path, kPathFolder);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto& g) { return g.first == folder; });
        if (group == groups.end()) group = groups.insert(groups.end(), {folder, {}});
        group->second.push_back(SplitPath(path, kPathFileName));
    }
    return groups;
}

struct MakeOptions {
    bool cloned = false;
    std::string sheet;
    std::string list;
    std::string fromSheet;
    std::string grid;
    std::vector<std::string> bitmaps;
    bool dryRun = false;
};

bool MakeFromList(const MakeOptions& o, BuildPlan* planOnly) {
    const auto groups = ByFolder(o.bitmaps);
    if (groups.size() != 1) {
        ShowError("The bitmaps of a list must lie in one folder");
        return false;
    }
    std::vector<std::string> entries;
    for (const std::string& path : o.bitmaps) {
        if (!IsPictureFileName(path)) {
            ShowError("%s: the pictures of a list must be .bmp or .png files", path.c_str());
            return false;
        }
        entries.push_back(IconListEntry(static_cast<int>(entries.size()) + 1,
                                        IconListName(SplitPath(path, kPathFileName))));
    }
    // On the command line a list is built whole or not at all.
    return MakeS16FromList(groups.front().first, entries, o.list, ListGaps::kRefuse, planOnly);
}

bool Make(const MakeOptions& o, BuildPlan* planOnly) {
    if (!o.list.empty()) return MakeFromList(o, planOnly);
    if (!o.fromSheet.empty())
        return MakeFromSheetPicture(o.fromSheet, o.grid, o.bitmaps.front(), planOnly);
    bool ok = true;
    for (const auto& [folder, names] : ByFolder(o.bitmaps)) {
        const BuildCounts counts =
            o.cloned ? MakeClonedS16(folder, names, planOnly)
                     : MakeS16FromSheet(folder, names, o.sheet == "3x3", planOnly);
        ok = counts.failed == 0 && ok;  // every folder is built, whatever the others gave
    }
    return ok;
}

}  // namespace

void AddSpriteCommands(CLI::App& app, CliContext& context) {
    auto* icons = app.add_subcommand("icons", "Print the icon table of a sprite");
    auto sprite = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    icons->add_option("SPRITE", *sprite, kSpriteHelp)->required();
    icons->add_flag("--json", *json, kJsonHelp);
    icons->callback([&context, sprite, json] {
        auto image = OpenSprite(*sprite);
        const bool sound = image && CheckS16Table(*image, *sprite, true);
        if (sound && *json) PrintIconJson(*image, *sprite, context.out);
        if (sound && !*json) PrintIconTable(*image, context.out);
        context.Finish(sound);
    });

    auto* insert =
        app.add_subcommand("insert-icon", "Insert an icon made from a bitmap into an S16 file");
    auto insertArgs =
        std::make_shared<std::tuple<std::string, std::string, int, bool>>("", "", 0, false);
    insert->footer(kKeyColourHelp);
    insert->add_option("FILE", std::get<0>(*insertArgs), "the .s16 file")->required();
    insert->add_option("BITMAP", std::get<1>(*insertArgs), "the picture (BMP or PNG)")->required();
    insert->add_option("--at", std::get<2>(*insertArgs),
                       "the number the new icon gets (default: append)");
    insert->add_flag("--dry-run", std::get<3>(*insertArgs), kIconDryRunHelp);
    insert->callback([&context, insertArgs] {
        const auto& [file, bitmap, at, dryRun] = *insertArgs;
        S16EditPlan plan;
        S16EditPlan* planOnly = dryRun ? &plan : nullptr;
        const bool ok = EditS16File(file, [&bitmap = bitmap, at = at, planOnly](S16Image& image) {
            return InsertIconFromBmp(image, bitmap, at, planOnly);
        });
        if (ok && dryRun) {
            const int number = at < 1 || at > plan.iconsBefore ? plan.iconsAfter : at;
            TellEditPlan(context.out, file, FormatText("insert icon %d", number), plan);
        }
        context.Finish(ok);
    });

    auto* remove = app.add_subcommand("remove-icon", "Remove an icon from an S16 file");
    auto removeArgs = std::make_shared<std::tuple<std::string, int, bool>>("", 0, false);
    remove->add_option("FILE", std::get<0>(*removeArgs), "the .s16 file")->required();
    remove->add_option("N", std::get<1>(*removeArgs), "the icon number")->required();
    remove->add_flag("--dry-run", std::get<2>(*removeArgs), kIconDryRunHelp);
    remove->callback([&context, removeArgs] {
        const auto& [file, n, dryRun] = *removeArgs;
        S16EditPlan plan;
        S16EditPlan* planOnly = dryRun ? &plan : nullptr;
        const bool ok = EditS16File(file, [&file = file, n = n, planOnly](S16Image& image) {
            return RemoveIconNumber(image, file, n, planOnly);
        });
        if (ok && dryRun) TellEditPlan(context.out, file, FormatText("remove icon %d", n), plan);
        context.Finish(ok);
    });

    auto* make = app.add_subcommand("make", "Build S16 files from bitmaps");
    make->footer(kKeyColourHelp);
    auto makeArgs = std::make_shared<MakeOptions>();
    auto* cloned =
        make->add_flag("--cloned", makeArgs->cloned, "one S16 with 9 cloned icons per bitmap");
    auto* sheet =
        make->add_option("--sheet", makeArgs->sheet, "one S16 per sheet of 9 icons: 3x3 or 9x1")
            ->check(CLI::IsMember({"3x3", "9x1"}));
    auto* list = make->add_option("--list", makeArgs->list,
                                  "one S16 (this file) with an icon per bitmap, in order");
    auto* fromSheet = AddFromSheetOptions(*make, makeArgs->fromSheet, makeArgs->grid);
    make->add_option("BITMAP", makeArgs->bitmaps,
                     "the pictures (BMP or PNG; with --from-sheet: OUT.s16)")
        ->required();
    make->add_flag("--dry-run", makeArgs->dryRun,
                   "read and code every picture and print the files that would be created or "
                   "replaced, with their bytes, but write nothing");
    cloned->excludes(sheet)->excludes(list)->excludes(fromSheet);
    sheet->excludes(list)->excludes(fromSheet);
    list->excludes(fromSheet);
    make->callback([&context, makeArgs] {
        if (!makeArgs->cloned && makeArgs->sheet.empty() && makeArgs->list.empty() &&
            makeArgs->fromSheet.empty()) {
            throw CLI::ValidationError("make", "choose --cloned, --sheet, --list or --from-sheet");
        }
        if (!makeArgs->fromSheet.empty() && makeArgs->bitmaps.size() != 1)
            throw CLI::ValidationError("make", "--from-sheet builds one S16: name OUT.s16 only");
        BuildPlan plan;
        const bool ok = Make(*makeArgs, makeArgs->dryRun ? &plan : nullptr);
        // A refusal of the whole build is told as without --dry-run.
        if (makeArgs->dryRun && (ok || !plan.files.empty())) TellBuildPlan(context.out, plan);
        context.Finish(ok);
    });
}
