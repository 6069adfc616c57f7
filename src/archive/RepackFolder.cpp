#include "archive/RepackFolder.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>
#include <system_error>
#include <vector>

#include "archive/DatFormat.h"
#include "archive/DatWriter.h"
#include "support/DataFile.h"
#include "support/ErrorLog.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/SafeFileWriter.h"

namespace fs = std::filesystem;

namespace {

struct FolderFile {
    std::string name;
};

// The files of `folder` matching "*.s16" (any case), ordered by name so that
// repacking the same folder always gives the same archive.
std::vector<FolderFile> ListS16Files(const std::string& folder) {
    std::vector<FolderFile> files;
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? std::string(".") : folder, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored;
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(ignored) && UpperExtension(name) == ".S16") files.push_back({name});
    }
    std::sort(files.begin(), files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
    return files;
}

// True for a file that goes into the archive; the others are skipped, some
// with a line in the log.
bool Accept(const FolderFile& file, ErrorLog& log) {
    if (file.name.front() == '.') return false;
    if (file.name.size() > dat::kMaxFolderNameLength) {
        log.Printf("%s not included as lenght>12", file.name.c_str());
        return false;
    }
    if (UpperExtension(file.name) == ".EXE") {
        log.Printf("%s excluded - no executables allowed", file.name.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool RepackFolder(const std::string& newArchivePath, ErrorLog& log, Progress& progress) {
    const std::string folder = SplitPath(newArchivePath, kPathFolder);
    const std::vector<FolderFile> files = ListS16Files(folder);
    if (files.empty()) {
        ShowInfo("%s\nNo S6 files found on Folder:\n%s\n", newArchivePath.c_str(), folder.c_str());
        return false;
    }
    SafeFileWriter writer(newArchivePath, "");
    if (!writer.Create()) return false;

    std::vector<FolderFile> accepted;
    std::copy_if(files.begin(), files.end(), std::back_inserter(accepted),
                 [&log](const FolderFile& file) { return Accept(file, log); });
    ProgressScope scope(progress, 2 * static_cast<int>(accepted.size()) + 10);
    std::vector<std::unique_ptr<DataFile>> sources;
    std::vector<PlannedItem> plan;
    for (const FolderFile& file : accepted) {
        auto source = std::make_unique<DataFile>();
        if (!source->Open(folder + file.name, "rb", true)) return false;
        PlannedItem item;
        item.entry.SetName(file.name);
        item.entry.size = static_cast<std::int64_t>(source->Length());
        item.source = source.get();
        plan.push_back(item);
        sources.push_back(std::move(source));
        scope.Step();
    }
    SortByName(plan);
    scope.Step(10);
    return WriteDat(writer.File(), plan, progress) && writer.Commit();
}
