#include "archive/DatArchive.h"

#include <cerrno>

#include "archive/DatDirectory.h"
#include "archive/DatFormat.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Text.h"
#include "support/UserInterface.h"

bool DatArchive::OpenArchive(const std::string& path, IconCounts counts) {
    if (!Exists(path)) {
        ShowError("%s not found", path.c_str());
        return false;
    }
    CloseArchive();
    if (!FileHandle().Open(path, "r+b", false)) {
        // A file the user may only read (a game in a system folder) is still listed,
        // unpacked and compared; only the rewrites refuse it.
        const int reason = FileHandle().Error();
        readOnly_ = (reason == EACCES || reason == EROFS || reason == EPERM) &&
                    FileHandle().Open(path, "rb", false);
        if (!readOnly_) {
            // The file may have gone since it was seen; anything else is told as it is.
            const int why = FileHandle().Error() != 0 ? FileHandle().Error() : reason;
            if (why == ENOENT) {
                ShowError("%s\nMain data file not found.", path.c_str());
            } else {
                ReportOpenError(path, why);
            }
            return false;
        }
    }
    open_ = true;
    archivePath_ = path;
    SetFileName(path);
    WaitCursor wait;
    if (!DirectoryWasRead(ReadDirectory(), path, FileHandle())) {
        CloseArchive();
        return false;
    }
    if (counts == IconCounts::kRead) ReadIconCountsNow();
    return true;
}

// Items whose bytes do not lie inside the file, after the directory, are left
// out with one message; a file that cannot hold its directory is no archive.
DirectoryRead DatArchive::ReadDirectory() {
    loaded_ = true;
    ForgetNameIndex();
    const std::uint64_t length = FileHandle().Length();
    std::uint64_t records = 0;
    std::uint64_t seen = 0;
    DatEntry previous;
    auto addPrevious = [&](std::uint32_t next) {
        const std::uint32_t offset = previous.offset;
        if (offset < dat::DirectorySize(records) || next < offset || next > length) return;
        DatEntry& entry = directory_.emplace_back();
        // Upper-cased in place: this runs once per item of archives of 100,000.
        entry.name = previous.name;
        const std::string_view name = UpperCaseName(entry.name);
        entry.offset = offset;
        entry.size = next - offset;
        entry.isS16 = name.find("S16") != std::string_view::npos;  // IsS16Name, already upper-cased
    };
    const DirectoryRead read = ReadDatRecords(FileHandle(), records, [&](const DatEntry& record) {
        // The count has been checked against the file's length by now.
        if (seen == 0) directory_.reserve(static_cast<std::size_t>(records - 1));
        if (seen++ > 0) addPrevious(record.offset);
        previous = record;
    });
    if (read != DirectoryRead::kRead) {
        directory_.clear();
        return read;
    }
    itemsLeftOut_ = static_cast<int>(records - 1 - directory_.size());
    if (itemsLeftOut_ > 0) {
        ShowError("[%s] is damaged: %d items lie outside the file and are not listed",
                  archivePath_.c_str(), itemsLeftOut_);
    }
    return DirectoryRead::kRead;
}

void DatArchive::ReadIconCountsNow() {
    if (!open_ || iconCountsRead_) return;
    ReadIconCounts(FileHandle(), directory_);  // an unreadable count lists the item with none
    iconCountsRead_ = true;
}

void DatArchive::CloseArchive() {
    CloseFile();
    directory_.clear();
    ForgetNameIndex();
    open_ = false;
    readOnly_ = false;
    loaded_ = false;
    currentItem_ = -1;
    itemsLeftOut_ = 0;
    iconCountsRead_ = false;
}

int DatArchive::SelectItem(int index, int n) {
    if (index < 0 || index >= ItemCount()) return 0;
    currentItem_ = index;
    const DatEntry& entry = Entry(index);
    if (!entry.isS16) {
        DropTable();
        return 0;
    }
    SetIconArea(entry.offset, entry.offset + static_cast<std::uint64_t>(entry.size));
    return ReadIconTable(n);
}

int DatArchive::FindItem(const std::string& name) const {
    const std::string upper = ToUpper(name);
    if (indexByName_.Empty() && ++lookupsWithoutIndex_ <= kLookupsBeforeIndex) {
        // The stored names are upper-cased and zero-padded: one comparison of
        // 13 bytes per item, cheaper for a few names than building the index.
        if (upper.size() > dat::kNameSize) return -1;
        DatEntry key;
        key.SetName(upper);
        for (int i = 0; i < ItemCount(); ++i) {
            if (directory_[static_cast<std::size_t>(i)].name == key.name) return i;
        }
        return -1;
    }
    if (upper.size() > dat::kNameSize) return -1;
    if (indexByName_.Empty()) indexByName_.Build(directory_);
    DatEntry key;
    key.SetName(upper);
    return indexByName_.Find(directory_, key.name);
}

std::string DatArchive::BackupPath() const {
    return dat::BackupPath(archivePath_);
}
