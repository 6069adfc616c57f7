// The checking subcommands: verify (a whole file read as the game reads it)
// and diff (two archives compared by content).
#include <CLI/CLI.hpp>
#include <filesystem>
#include <system_error>

#include "archive/ArchiveDiff.h"
#include "archive/ArchiveVerify.h"
#include "archive/ItemNames.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/SpriteSource.h"
#include "shp/ShpVerify.h"
#include "sprite/S16Image.h"
#include "sprite/S16Verify.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

struct VerifyArgs {
    std::string file;
    bool json = false;
};

// The kind of file verify reads, by its extension; empty for others.
std::string KindOf(const std::string& path) {
    const std::string extension = UpperExtension(path);
    if (extension == ".DAT") return "archive";
    if (extension == ".S16") return "s16";
    if (extension == ".SHP") return "shp";
    return {};
}

// "PATH: ITEM: icon N: what", leaving out what the problem does not have.
std::string ProblemLine(const std::string& path, const std::string& kind, const FileProblem& p) {
    std::string line = path + ": ";
    if (!p.item.empty()) line += PrintableName(p.item) + ": ";
    if (p.icon > 0) line += FormatText("%s %d: ", kind == "shp" ? "frame" : "icon", p.icon);
    return line + p.what + "\n";
}

Json ProblemJson(const FileProblem& p) {
    return {{"item", p.item.empty() ? Json(nullptr) : Json(p.item)},
            {"icon", p.icon > 0 ? Json(p.icon) : Json(nullptr)},
            {"what", p.what}};
}

// A FIFO would make the read wait for ever, and a folder holds nothing to read.
bool IsRegularOrMissing(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) return true;
    ShowError("[%s] is not a regular file: nothing was read", path.c_str());
    return false;
}

// ARCHIVE.dat:ITEM, an S16 item read as the sprite commands read it.
bool VerifyArchiveItem(const std::string& sprite, FileCheck& check) {
    const std::unique_ptr<S16Image> image = OpenSprite(sprite);
    if (!image) return false;
    VerifyIconSet(*image, {}, check);
    return true;
}

bool Verify(CliContext& context, const VerifyArgs& a) {
    if (!IsRegularOrMissing(a.file)) return false;
    const bool item = !Exists(a.file) && SplitArchiveItem(a.file);
    const std::string kind = item ? "s16" : KindOf(a.file);
    FileCheck check;
    bool read = false;
    if (item) {
        read = VerifyArchiveItem(a.file, check);
    } else if (kind == "archive") {
        read = VerifyArchive(a.file, check);
    } else if (kind == "s16") {
        read = VerifyS16File(a.file, check);
    } else if (kind == "shp") {
        read = VerifyShpFile(a.file, check);
    } else {
        ShowError("%s: verify reads archives (.dat), S16 files (.s16) and SHP files (.shp)",
                  a.file.c_str());
        return false;
    }
    if (!read) return false;
    if (a.json) {
        Json problems = Json::array();
        for (const FileProblem& p : check.problems)
            problems.push_back(ProblemJson(p));
        PrintJson(context.out, {{"file", a.file},
                                {"kind", kind},
                                {"sound", check.Sound()},
                                {"items", check.items},
                                {"icons", check.icons},
                                {"problems", problems}});
    } else {
        std::string text;
        for (const FileProblem& p : check.problems)
            text += ProblemLine(a.file, kind, p);
        if (check.Sound()) {
            const std::string items =
                kind == "archive" ? FormatText("%d items, ", check.items) : std::string();
            text += FormatText("%s: sound (%s%d %s read)\n", a.file.c_str(), items.c_str(),
                               check.icons, kind == "shp" ? "frames" : "icons");
        }
        context.out << text;
    }
    if (!check.Sound()) {
        ShowError("%s is damaged: %d problems found", a.file.c_str(),
                  static_cast<int>(check.problems.size()));
    }
    return check.Sound();
}

struct DiffArgs {
    std::string first;
    std::string second;
    bool json = false;
};

const char* IconPlaceName(IconPlace place) {
    switch (place) {
        case IconPlace::kBoth:
            return "both";
        case IconPlace::kOnlyFirst:
            return "only_a";
        case IconPlace::kOnlySecond:
            return "only_b";
    }
    return "";
}

Json NamesJson(const std::vector<std::string>& names) {
    Json list = Json::array();
    for (const std::string& name : names)
        list.push_back(name);
    return list;
}

Json DifferencesJson(const DiffArgs& a, const ArchiveDifferences& d) {
    Json changed = Json::array();
    for (const ChangedContent& c : d.changed) {
        Json icons = Json::array();
        for (const IconDifference& icon : c.icons) {
            icons.push_back({{"icon", icon.icon},
                             {"place", IconPlaceName(icon.place)},
                             {"pixels", icon.pixels}});
        }
        changed.push_back({{"name", c.name},
                           {"size_a", c.firstSize},
                           {"size_b", c.secondSize},
                           {"icons_a", c.s16 ? Json(c.firstIcons) : Json(nullptr)},
                           {"icons_b", c.s16 ? Json(c.secondIcons) : Json(nullptr)},
                           {"icons", c.s16 ? icons : Json(nullptr)}});
    }
    return {{"a", a.first},
            {"b", a.second},
            {"same", d.Same()},
            {"only_in_a", NamesJson(d.onlyFirst)},
            {"only_in_b", NamesJson(d.onlySecond)},
            {"identical", NamesJson(d.identical)},
            {"changed", changed}};
}

std::string ChangedText(const DiffArgs& a, const ChangedContent& c) {
    std::string text =
        FormatText("changed: %s (%lld -> %lld bytes)\n", PrintableName(c.name).c_str(),
                   static_cast<long long>(c.firstSize), static_cast<long long>(c.secondSize));
    if (!c.s16) return text;
    if (c.firstIcons != c.secondIcons)
        text += FormatText("  %d -> %d icons\n", c.firstIcons, c.secondIcons);
    for (const IconDifference& icon : c.icons) {
        if (icon.place == IconPlace::kBoth) {
            text += FormatText("  icon %d: %lld pixels differ\n", icon.icon,
                               static_cast<long long>(icon.pixels));
        } else {
            text += FormatText("  icon %d: only in %s\n", icon.icon,
                               (icon.place == IconPlace::kOnlyFirst ? a.first : a.second).c_str());
        }
    }
    if (c.icons.empty()) text += "  the icons' pixels are the same\n";
    return text;
}

bool Diff(CliContext& context, const DiffArgs& a) {
    const std::optional<ArchiveDifferences> d = DiffArchives(a.first, a.second);
    if (!d) return false;
    if (a.json) {
        PrintJson(context.out, DifferencesJson(a, *d));
    } else {
        std::string text;
        for (const std::string& name : d->onlyFirst)
            text += FormatText("only in %s: %s\n", a.first.c_str(), PrintableName(name).c_str());
        for (const std::string& name : d->onlySecond)
            text += FormatText("only in %s: %s\n", a.second.c_str(), PrintableName(name).c_str());
        for (const ChangedContent& c : d->changed)
            text += ChangedText(a, c);
        text += FormatText("identical: %d items\n", static_cast<int>(d->identical.size()));
        context.out << text;
    }
    return d->itemsLeftOut == 0;  // a damaged archive was told when it was opened
}

void AddDiffCommand(CLI::App& app, CliContext& context) {
    auto* diff = app.add_subcommand("diff", "Compare two archives by content");
    diff->footer(
        "Items pair by name (any letter case). Tells the items only in A, only in B and changed "
        "(with the icons of a changed S16 item whose pixels differ, and how many), and counts the "
        "identical ones. Exit status 0 whether or not they differ; --json tells \"same\". The "
        "compare command gives the report by names.");
    auto args = std::make_shared<DiffArgs>();
    diff->add_option("A", args->first, "the first .dat archive")->required();
    diff->add_option("B", args->second, "the second .dat archive")->required();
    diff->add_flag("--json", args->json, kJsonHelp);
    diff->callback([&context, args] { context.Finish(Diff(context, *args)); });
}

}  // namespace

void AddCheckCommands(CLI::App& app, CliContext& context) {
    auto* verify = app.add_subcommand(
        "verify", "Read a whole archive, S16 or SHP file as the game would and tell each problem");
    verify->footer(
        "An archive: every item's bounds and name order, every S16 item's icon table and every "
        "icon's decode; an S16 file: its table and icons; an SHP file: its frame table and "
        "frames. One line per problem (item, icon, what); exit status 0 when the file is sound, "
        "1 when not. The file is opened for reading only.");
    auto args = std::make_shared<VerifyArgs>();
    verify->add_option("FILE", args->file, "the .dat, .s16 or .shp file, or ARCHIVE.dat:ITEM")
        ->required();
    verify->add_flag("--json", args->json, kJsonHelp);
    verify->callback([&context, args] { context.Finish(Verify(context, *args)); });
    AddDiffCommand(app, context);
}
