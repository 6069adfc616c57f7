// The checking subcommands: verify (a whole file read as the game reads it)
// and diff (two archives compared by content).
#include <CLI/CLI.hpp>

#include "archive/ArchiveVerify.h"
#include "archive/ItemNames.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "shp/ShpVerify.h"
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

bool Verify(CliContext& context, const VerifyArgs& a) {
    const std::string kind = KindOf(a.file);
    FileCheck check;
    bool read = false;
    if (kind == "archive") {
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
    verify->add_option("FILE", args->file, "the .dat, .s16 or .shp file")->required();
    verify->add_flag("--json", args->json, kJsonHelp);
    verify->callback([&context, args] { context.Finish(Verify(context, *args)); });
}
