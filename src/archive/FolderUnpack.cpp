// Unpacking an archive as an editable folder.
#include <array>
#include <filesystem>
#include <set>
#include <system_error>

#include "archive/DatArchive.h"
#include "archive/DatDirectory.h"
#include "archive/EditableFolder.h"
#include "archive/FolderManifest.h"
#include "archive/ItemNames.h"
#include "archive/ItemOutputFile.h"
#include "bitmap/PixelBuffer24.h"
#include "sprite/PictureFile.h"
#include "sprite/SheetBuild.h"
#include "sprite/SpriteSheet.h"
#include "sprite/SpriteSheetJson.h"
#include "support/DataFile.h"
#include "support/FileIdentity.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/Text.h"

namespace fs = std::filesystem;

namespace {

// The files of one item: its bytes, or its sheet picture and description.
struct ItemFiles {
    std::vector<std::uint8_t> bytes;  // the file's, or the sheet picture's
    std::string description;          // the sheet's description; empty for a file
};

// File names in the folder, each taken once in any letter case.
class FolderNames {
public:
    FolderNames() { taken_.insert(ToUpper(kManifestName)); }

    // The item's name when it is a plain, printable one that is free with
    // `suffix` (and ".json" for a sheet), else "ITEMnnnnn".
    std::string For(const std::string& name, int number, bool sheet) {
        const std::string suffix = sheet ? ".png" : "";
        if (Usable(name) && Free(name + suffix, sheet ? name + ".json" : "")) {
            return Take(name + suffix, sheet ? name + ".json" : "");
        }
        for (int n = 0;; ++n) {
            const std::string base = FormatText(n == 0 ? "ITEM%05d" : "ITEM%05d~%d", number, n);
            if (Free(base + suffix, sheet ? base + ".json" : ""))
                return Take(base + suffix, sheet ? base + ".json" : "");
        }
    }

private:
    static bool Usable(const std::string& name) {
        if (!IsPlainItemName(name) || name.front() == '.') return false;
        for (char c : name) {
            if (c < 0x21 || c > 0x7E) return false;
        }
        return true;
    }
    bool Free(const std::string& a, const std::string& b) const {
        return taken_.count(ToUpper(a)) == 0 && (b.empty() || taken_.count(ToUpper(b)) == 0);
    }
    std::string Take(const std::string& a, const std::string& b) {
        taken_.insert(ToUpper(a));
        if (!b.empty()) taken_.insert(ToUpper(b));
        return a;
    }
    std::set<std::string> taken_;
};

// The names of the archive's items as their 13 bytes are stored: the
// directory the archive lists holds them upper-cased and cut at a zero.
bool ReadStoredNames(DataFile& file, const DatArchive& archive,
                     std::vector<std::array<char, dat::kNameSize>>& names) {
    std::uint64_t count = 0;
    const DirectoryRead read = ReadDatRecords(
        file, count, [&names](const DatEntry& record) { names.push_back(record.name); });
    if (!DirectoryWasRead(read, archive.ArchivePath(), file)) return false;
    names.pop_back();  // the end record
    if (archive.ItemsLeftOut() == 0 && names.size() == archive.Entries().size()) return true;
    ShowError("[%s] is damaged: it cannot be unpacked as a folder to build it back from",
              archive.ArchivePath().c_str());
    return false;
}

bool ReadItemBytes(DataFile& file, const DatEntry& entry, std::vector<std::uint8_t>& bytes) {
    bytes.resize(static_cast<std::size_t>(entry.size));
    return bytes.empty() || file.ReadAt(entry.offset, bytes.data(), bytes.size());
}

// The sheet of S16 item `index` when it builds the item back byte for byte.
bool ExactSheet(DatArchive& archive, int index, const std::vector<std::uint8_t>& itemBytes,
                const std::string& sheetName, ItemFiles& files) {
    const DatEntry& entry = archive.Entry(index);
    if (!entry.isS16 || archive.SelectItem(index, 1) == 0 || archive.TableReadFailed() ||
        !archive.TableProblem().empty())
        return false;
    SheetLayout layout;
    std::string problem;
    PixelBuffer24 sheet;
    int failedIcon = 0;
    if (!LayOutSheet(archive.Table(), 0, layout, problem) ||
        !ComposeSheet(archive, layout, sheet, failedIcon))
        return false;
    const SheetDescription description =
        DescribeSheet(archive, layout, sheetName, SplitPath(sheetName, kPathBaseName), ".png");
    std::vector<CodedIcon> icons;
    // Built back from the picture as a PNG reader would give it (the codec is
    // lossless, and the transparency rule gives back every keyed colour).
    if (!IconsFromDescribedSheet(sheet, sheetName, description, sheetName, icons) ||
        BuildS16File(icons) != itemBytes)
        return false;
    files.description = SheetJsonText(description);
    return EncodePictureFile(sheet, PictureStyle{PictureType::kPng, false}, sheetName, files.bytes);
}

class FolderWriter {
public:
    FolderWriter(DatArchive& archive, std::string folder, bool overwrite)
        : archive_(archive), folder_(std::move(folder)), overwrite_(overwrite) {}

    // Writes `bytes` as `name`; false when it could not or was kept.
    bool Write(const std::string& name, std::span<const std::uint8_t> bytes) {
        const std::string path = folder_ + name;
        std::error_code error;
        if (fs::exists(fs::symlink_status(path, error))) {
            if (FileIdentity::OfOpenFile(archive_.File()) == FileIdentity::OfPath(path)) {
                ShowError("[%s] is the archive being read: it is not written over", path.c_str());
                return false;
            }
            if (!overwrite_) {
                ++kept_;
                return false;
            }
        }
        ItemOutputFile out(path);
        if (!out.Create()) return false;
        if (!out.File().Write(bytes.data(), bytes.size())) {
            ReportWriteError(path, out.File().Error());
            return false;
        }
        return out.Commit();
    }
    bool WriteText(const std::string& name, const std::string& text) {
        return Write(name, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    int Kept() const { return kept_; }

private:
    DatArchive& archive_;
    std::string folder_;
    bool overwrite_;
    int kept_ = 0;
};

}  // namespace

bool UnpackAsEditableFolder(DatArchive& archive, const std::string& folderPath, bool overwrite,
                            Progress& progress) {
    if (!archive.IsOpen()) return false;
    const std::string folder = AsFolder(folderPath);
    DataFile source;
    if (!source.Open(archive.ArchivePath(), "rb", false)) {
        ReportOpenError(archive.ArchivePath(), source.Error());
        return false;
    }
    std::vector<std::array<char, dat::kNameSize>> storedNames;
    if (!ReadStoredNames(source, archive, storedNames)) return false;
    FolderWriter writer(archive, folder, overwrite);
    FolderNames names;
    FolderManifest manifest;
    manifest.archive = SplitPath(archive.ArchivePath(), kPathFileName);
    int failures = 0, sheets = 0;
    ProgressScope scope(progress, archive.ItemCount());
    for (int i = 0; i < archive.ItemCount(); ++i) {
        scope.Step();
        const DatEntry& entry = archive.Entry(i);
        ManifestItem item;
        item.name = storedNames[static_cast<std::size_t>(i)];
        DatEntry stored;
        stored.name = item.name;
        const std::string name = stored.Name();
        std::vector<std::uint8_t> bytes;
        if (!ReadItemBytes(source, entry, bytes)) {
            ReportReadError(archive.ArchivePath(), source.Error());
            return false;
        }
        ItemFiles files;
        const std::string sheetName = names.For(name, i + 1, entry.isS16);
        if (SplitPath(sheetName, entry.isS16 ? kPathBaseName : kPathFileName) != name) {
            ShowInfo("[%s] cannot be a file name in the folder: it is written as %s",
                     PrintableName(name).c_str(), SplitPath(sheetName, kPathBaseName).c_str());
        }
        if (entry.isS16 && ExactSheet(archive, i, bytes, sheetName, files)) {
            item.sheet = sheetName;
            const bool ok = writer.Write(item.sheet, files.bytes) &&
                            writer.WriteText(SheetDescriptionPath(item.sheet), files.description);
            failures += ok ? 0 : 1;
            sheets += ok ? 1 : 0;
        } else {
            item.file = entry.isS16 ? names.For(name, i + 1, false) : sheetName;
            if (entry.isS16) {
                ShowInfo(
                    "[%s] is written as it is: a sheet would not build it back byte for "
                    "byte",
                    PrintableName(entry.Name()).c_str());
            }
            failures += writer.Write(item.file, bytes) ? 0 : 1;
        }
        manifest.items.push_back(std::move(item));
    }
    if (writer.Kept() > 0) {
        ShowError("%d files already in [%s] are kept (--overwrite replaces them)", writer.Kept(),
                  folder.c_str());
    }
    if (failures > 0) {
        ShowError("[%s] is not complete: %d of %d items were not written", folder.c_str(), failures,
                  archive.ItemCount());
        return false;
    }
    // The manifest comes last: a folder that has one is complete.
    if (!writer.WriteText(kManifestName, ManifestText(manifest))) {
        if (writer.Kept() > 0) ShowError("[%s%s] is kept", folder.c_str(), kManifestName);
        return false;
    }
    ShowInfo("%d items saved to %s: %d of them as sprite sheets, listed in %s", archive.ItemCount(),
             folder.c_str(), sheets, kManifestName);
    return true;
}
