// The picture subcommands: to-bmp and to-png (one operation for both),
// replace-icon.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "archive/DatArchive.h"
#include "archive/ItemIconEdit.h"
#include "cli/CliCommands.h"
#include "cli/ItemLookup.h"
#include "cli/OutputFile.h"
#include "cli/SpriteSource.h"
#include "sprite/IconPictures.h"
#include "sprite/S16Editor.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/RewriteLock.h"

namespace {

constexpr const char* kTransparencyHelp =
    "PNG pictures show the key colour (red 248, green 220, blue 220), which marks the area an "
    "icon does not use, as that colour with alpha 0, and the transparent colour (red 248, "
    "green 0, blue 248) as that colour with alpha 0; every other pixel is opaque. --opaque "
    "writes every pixel opaque, in the colours a BMP shows.";

constexpr const char* kSheetHelp =
    "A sheet holds every icon in cells of the largest icon's size, without gutters, row by "
    "row; OUT.json beside it (OUT with its extension replaced by .json) describes the frames "
    "for sprite-sheet tools and game engines, and holds what make --from-sheet needs to build "
    "the S16 back exactly.";

struct PictureArgs {
    std::string sprite;
    IconPictureRequest request;
    bool all = false;
    bool collage = false;
    bool sheet = false;
    std::string size = "640x480";
};

bool ParseSize(const std::string& text, int& width, int& height) {
    int used = 0;
    return std::sscanf(text.c_str(), "%dx%d%n", &width, &height, &used) == 2 &&
           used == static_cast<int>(text.size()) && width > 0 && height > 0;
}

// A wrong --size is wrong usage, found while the arguments are read.
const CLI::Validator kSizeText(
    [](std::string& text) {
        int width = 0, height = 0;
        return ParseSize(text, width, height)
                   ? std::string()
                   : "Invalid size " + text + ": use WIDTHxHEIGHT, both above 0";
    },
    "WIDTHxHEIGHT");

bool SavePictures(PictureArgs& a, std::ostream& out) {
    using What = IconPictureRequest::What;
    IconPictureRequest& request = a.request;
    request.what = a.all       ? What::kAll
                   : a.collage ? What::kCollage
                   : a.sheet   ? What::kSheet
                               : What::kIcon;
    ParseSize(a.size, request.width, request.height);  // checked while parsing
    const bool toStandardOutput = IsStandardOutput(request.output);
    if (toStandardOutput && (a.all || a.sheet)) {
        ShowError(a.all ? "--all writes a file per icon: it cannot write to standard output (-o -)"
                        : "--sheet writes a picture and its description: it cannot write to "
                          "standard output (-o -)");
        return false;
    }
    auto image = OpenSprite(a.sprite);
    if (!image || !CheckS16Table(*image, a.sprite, false)) return false;
    if (!toStandardOutput) return SaveIconPictures(*image, a.sprite, request);
    std::vector<std::uint8_t> bytes;
    request.bytes = &bytes;
    const bool made = SaveIconPictures(*image, a.sprite, request);
    request.bytes = nullptr;
    return made && WriteToStandardOutput(out, bytes);
}

void AddPictureCommand(CLI::App& app, CliContext& context, const char* name, PictureType type) {
    const std::string kind = PictureTypeName(type);
    const std::string ext = PictureExtension(type);
    auto* command = app.add_subcommand(
        name, "Save one icon, every icon, a collage or a sprite sheet as " + kind);
    auto a = std::make_shared<PictureArgs>();
    a->request.style.type = type;
    command->add_option("SPRITE", a->sprite, kSpriteHelp)->required();
    command
        ->add_option("-o,--output", a->request.output,
                     "the " + kind +
                         " file, - for standard output (with --all: the base of \"<base>_NNN" +
                         ext + "\")")
        ->required();
    auto* icon = command->add_option("--icon", a->request.icon, "the icon number (default 1)");
    auto* all = command->add_flag("--all", a->all, "every icon, as <base>_NNN" + ext);
    auto* collage = command->add_flag("--collage", a->collage, "the collage of the icons");
    command->add_option("--first", a->request.first, "with --collage: the first icon (default 1)")
        ->needs(collage);
    command
        ->add_option("--size", a->size, "with --collage: the area, WIDTHxHEIGHT (default 640x480)")
        ->check(kSizeText)
        ->needs(collage);
    auto* sheet =
        command->add_flag("--sheet", a->sheet, "every icon in one picture, described in OUT.json");
    command
        ->add_option("--columns", a->request.columns,
                     "with --sheet: the columns (default: the smallest square, 3 for 9 icons)")
        ->check(CLI::Range(1, 1000000))
        ->needs(sheet);
    icon->excludes(all)->excludes(collage)->excludes(sheet);
    all->excludes(collage)->excludes(sheet);
    collage->excludes(sheet);
    std::string footer = kSheetHelp;
    if (type == PictureType::kPng) {
        command->add_flag("--opaque", a->request.style.opaque,
                          "every pixel opaque, in the colours a BMP shows");
        footer = std::string(kTransparencyHelp) + "\n" + footer;
    }
    command->footer(footer);
    command->callback([&context, a] { context.Finish(SavePictures(*a, context.out)); });
}

struct ReplaceIconArgs {
    std::string sprite;
    int icon = 0;
    std::string picture;
    bool dryRun = false;
};

// The file (an .s16 file or the archive) is locked from reading its icons
// to the rename of the new file, so that no other writer's change is lost.
// The dry run's account: the icon replaced, then the file before and after,
// where the new bytes of `plan` take the place of `replacedBytes` of it
// (the whole of an .s16 file, an item's bytes in an archive).
void TellReplacement(std::ostream& out, const std::string& path, const IconReplacement& plan,
                     std::optional<std::uint64_t> replacedBytes) {
    std::error_code error;
    const std::uint64_t before = std::filesystem::file_size(path, error);
    const std::uint64_t kept = error ? 0 : before - replacedBytes.value_or(before);
    out << "replace " << plan.change << '\n'
        << FormatText("%s: %llu -> %llu bytes; nothing was written (dry run)\n", path.c_str(),
                      static_cast<unsigned long long>(error ? 0 : before),
                      static_cast<unsigned long long>(kept + plan.bytes.size()));
}

bool ReplaceIcon(const ReplaceIconArgs& a, CliContext& context) {
    const std::optional<ArchiveItem> item =
        Exists(a.sprite) ? std::nullopt : SplitArchiveItem(a.sprite);
    const std::string path = item ? item->archive : a.sprite;
    const RewriteLock lock(path);
    if (!lock.Held()) return false;
    if (!item) {
        S16Image image;
        if (!image.OpenFile(path)) {
            ReportOpenError(path);
            return false;
        }
        IconReplacement plan;
        if (!ReplaceIconFromPicture(image, a.icon, a.picture, a.dryRun ? &plan : nullptr))
            return false;
        if (a.dryRun) TellReplacement(context.out, path, plan, std::nullopt);
        return true;
    }
    DatArchive archive;
    if (!archive.OpenArchive(path)) return false;
    const int index = ItemLookup(archive).Find(item->item);
    IconReplacement plan;
    if (index < 0 || !ReplaceIconOfItem(archive, index, a.icon, a.picture,
                                        a.dryRun ? &plan : nullptr, context.progress))
        return false;
    if (a.dryRun) {
        TellReplacement(context.out, path, plan,
                        static_cast<std::uint64_t>(archive.Entry(index).size));
    }
    return true;
}

void AddReplaceIconCommand(CLI::App& app, CliContext& context) {
    auto* command = app.add_subcommand(
        "replace-icon", "Replace one icon of an S16 file or archive item with a picture");
    auto a = std::make_shared<ReplaceIconArgs>();
    command->add_option("SPRITE", a->sprite, kSpriteHelp)->required();
    command->add_option("N", a->icon, "the number of the icon replaced")->required();
    command->add_option("PICTURE", a->picture, "the new icon: a PNG or BMP file")->required();
    command->add_flag("--dry-run", a->dryRun, "tell what would change and write nothing");
    command->footer(std::string(kKeyColourHelp) +
                    "\nThe file is rewritten once: an .s16 file keeps the old one as "
                    "<name>.back, an archive as <name>_back.dat.");
    command->callback([&context, a] { context.Finish(ReplaceIcon(*a, context)); });
}

}  // namespace

void AddPictureCommands(CLI::App& app, CliContext& context) {
    AddPictureCommand(app, context, "to-bmp", PictureType::kBmp);
    AddPictureCommand(app, context, "to-png", PictureType::kPng);
    AddReplaceIconCommand(app, context);
}
