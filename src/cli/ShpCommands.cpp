// The SHP subcommands: to-shp, shp-info, from-shp.
#include <CLI/CLI.hpp>
#include <functional>
#include <optional>

#include "cli/BuildPlanText.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/OutputFolder.h"
#include "cli/SpriteSource.h"
#include "shp/ShpConversion.h"
#include "shp/ShpExport.h"
#include "shp/ShpImage.h"
#include "sprite/S16Builder.h"
#include "sprite/S16Image.h"
#include "support/DurabilityBatch.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

bool PrintShpInfo(const std::string& path, bool json, std::ostream& out) {
    ShpImage image;
    if (!image.Open(path)) {
        ReportOpenError(path);
        return false;
    }
    const std::string problem = image.TableProblem();
    if (!problem.empty()) {
        ShowError("%s is not an SHP file or is damaged: %s", path.c_str(), problem.c_str());
        return false;
    }
    if (json) {
        Json frames = Json::array();
        for (int k = 1; k <= image.FrameCount(); ++k) {
            image.SelectFrame(k);
            frames.push_back(FrameJson(image.CurrentHeader(), k));
        }
        PrintJson(out, {{"file", path}, {"frame_count", image.FrameCount()}, {"frames", frames}});
        return true;
    }
    out << FormatText("%d frames\n", image.FrameCount());
    out << FormatText("%-4s %6s %6s %6s %6s %6s %6s\n", "#", "Width", "Height", "Left", "Top",
                      "Right", "Bottom");
    for (int k = 1; k <= image.FrameCount(); ++k) {
        image.SelectFrame(k);
        const ShpFrameHeader& h = image.CurrentHeader();
        out << FormatText("%-4d %6d %6d %6d %6d %6d %6d\n", k, h.Width(), h.Height(), h.Left, h.Top,
                          h.Right, h.Bottom);
    }
    return true;
}

struct FromShpArgs {
    std::vector<std::string> files;
    std::string folder;
    bool onlyNew = false;
    bool dryRun = false;
};

// Runs `convert` (path, file name, base name) on each SHP file the batch
// takes: with --only-new, those whose S16 is neither in the folder nor made
// earlier in the batch (the others are told); `convert` says whether it made
// the S16.
void ForEachShpToConvert(CliContext& context, const FromShpArgs& a, const std::string& s16Folder,
                         const std::function<bool(const std::string&, const std::string&,
                                                  const std::string&)>& convert) {
    std::optional<ExistingS16Files> existing;
    if (a.onlyNew) existing.emplace(s16Folder);
    for (const std::string& path : a.files) {
        const std::string name = SplitPath(path, kPathFileName);
        const std::string base = SplitPath(path, kPathBaseName);
        if (existing && existing->Has(base)) {
            context.err << name << ": already in " << s16Folder << '\n';
            continue;
        }
        if (convert(path, name, base) && existing) existing->Add(base);
    }
}

// The S16 file of each SHP file that would be converted, coded as it would be;
// nothing is written, and the folder is not made.
bool PlanFromShp(CliContext& context, const FromShpArgs& a, const std::string& s16Folder) {
    BuildPlan plan;
    std::string failed;
    int failures = 0;
    ForEachShpToConvert(
        context, a, s16Folder,
        [&](const std::string& path, const std::string& name, const std::string& base) {
            std::vector<std::uint8_t> s16;
            if (!ShpToS16Bytes(path, s16)) {
                failed += "\n" + name;
                ++failures;
                return false;
            }
            plan.files.emplace_back(FormatText("%s%s.s16", s16Folder.c_str(), base.c_str()),
                                    s16.size());
            return true;
        });
    TellBuildPlan(context.out, plan);
    if (failures == 0) return true;
    ShowError("%d SHP files could not be converted:%s", failures, failed.c_str());
    return false;
}

// One batch for all files: each is written in place as it is converted, and
// all are flushed to disk together before the command tells of success.
bool FromShp(CliContext& context, const FromShpArgs& a) {
    const std::string s16Folder = AsFolder(a.folder);
    if (a.dryRun) return PlanFromShp(context, a, s16Folder);
    if (!MakeOutputFolder(s16Folder)) return false;
    DurabilityBatch batch;
    ShpBatchResult total;
    ForEachShpToConvert(
        context, a, s16Folder,
        [&](const std::string& path, const std::string& name, const std::string&) {
            const ShpBatchResult one = ConvertShpFiles(SplitPath(path, kPathFolder), {name},
                                                       s16Folder, context.progress, {}, &batch);
            total.converted += one.converted;
            total.failed.insert(total.failed.end(), one.failed.begin(), one.failed.end());
            return one.converted > 0;
        });
    const bool durable = batch.MakeDurable();
    if (!durable) total.converted = 0;  // nothing is done until it is on disk
    TellShpBatch(total, s16Folder);
    return durable && total.failed.empty();
}

}  // namespace

void AddShpCommands(CLI::App& app, CliContext& context) {
    auto* toShp = app.add_subcommand("to-shp", "Export the icon set of a sprite as an SHP file");
    auto toArgs = std::make_shared<std::pair<std::string, std::string>>();
    toShp->add_option("SPRITE", toArgs->first, kSpriteHelp)->required();
    toShp->add_option("OUT", toArgs->second, "the .shp file to write")->required();
    toShp->callback([&context, toArgs] {
        auto image = OpenSprite(toArgs->first);
        context.Finish(image && CheckS16Table(*image, toArgs->first, false) &&
                       ExportIconSetAsShpAndTell(*image, toArgs->second));
    });

    auto* info = app.add_subcommand("shp-info", "Print the frame count and each frame's header");
    auto infoPath = std::make_shared<std::string>();
    auto infoJson = std::make_shared<bool>(false);
    info->add_option("SHP", *infoPath, "the .shp file")->required();
    info->add_flag("--json", *infoJson, kJsonHelp);
    info->callback([&context, infoPath, infoJson] {
        context.Finish(PrintShpInfo(*infoPath, *infoJson, context.out));
    });

    auto* fromShp =
        app.add_subcommand("from-shp", "Convert SHP files into S16 files named after them");
    auto fromArgs = std::make_shared<FromShpArgs>();
    fromShp->add_option("SHP", fromArgs->files, "the .shp files")->required();
    fromShp->add_option("-o,--output", fromArgs->folder, "the folder of the S16 files")->required();
    fromShp->add_flag("--only-new", fromArgs->onlyNew,
                      "skip files whose S16 file is already there");
    fromShp->add_flag("--dry-run", fromArgs->dryRun,
                      "convert every file in memory and print the S16 files that would be "
                      "created or replaced, with their bytes, but write nothing");
    fromShp->callback([&context, fromArgs] { context.Finish(FromShp(context, *fromArgs)); });
}
