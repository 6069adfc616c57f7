#include "archive/DatArchive.h"

#include <algorithm>

#include "support/ByteIo.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/UserInterface.h"

bool DatArchive::OpenArchive(const std::string& path) {
    if (!Exists(path)) {
        ShowInfo("%s not found", path.c_str());
        return false;
    }
    CloseArchive();
    if (!file.Open(path, "r+b", false)) {
        ShowInfo("%s\nMain data file not found.", path.c_str());
        return false;
    }
    open_ = true;
    archivePath_ = path;
    fileName = path;
    WaitCursor wait;
    ReadDirectory();
    return true;
}

// Reads the directory in one block. Records beyond the end of the file and
// items whose bytes do not lie inside it are left out, with one message.
void DatArchive::ReadDirectory() {
    loaded_ = true;
    const std::uint64_t length = file.Length();
    std::uint8_t countBytes[dat::kCountSize];
    if (!file.ReadAt(0, countBytes, sizeof countBytes)) return;
    const std::int64_t stored = static_cast<std::int32_t>(LoadU32(countBytes));
    if (stored <= 0) return;
    const std::int64_t present = std::min<std::int64_t>(
        stored, static_cast<std::int64_t>((length - dat::kCountSize) / dat::kRecordSize));
    std::vector<std::uint8_t> records(static_cast<std::size_t>(present) * dat::kRecordSize);
    if (!file.ReadAt(dat::kCountSize, records.data(), records.size())) return;

    directory_.reserve(static_cast<std::size_t>(std::max<std::int64_t>(present - 1, 0)));
    for (std::int64_t i = 0; i + 1 < present; ++i) {
        const std::uint8_t* record = records.data() + i * dat::kRecordSize;
        const std::uint32_t offset = LoadU32(record);
        const std::uint32_t next = LoadU32(record + dat::kRecordSize);
        if (next < offset || next > length) continue;
        DatEntry entry;
        std::string name(reinterpret_cast<const char*>(record + 4), dat::kNameSize);
        name.resize(std::min(name.find('\0'), name.size()));
        entry.SetName(ToUpper(name));
        entry.offset = offset;
        entry.size = next - offset;
        entry.isS16 = IsS16Name(entry.Name());
        std::uint8_t icons[4];
        if (entry.isS16 && entry.size >= 4 && file.ReadAt(offset, icons, sizeof icons)) {
            entry.icons = std::max<std::int32_t>(static_cast<std::int32_t>(LoadU32(icons)), 0);
        }
        directory_.push_back(entry);
    }
    const auto leftOut =
        static_cast<int>(stored - 1 - static_cast<std::int64_t>(directory_.size()));
    if (leftOut > 0) {
        ShowError("[%s] is damaged: %d items lie outside the file and are not listed",
                  archivePath_.c_str(), leftOut);
    }
}

void DatArchive::CloseArchive() {
    CloseFile();
    directory_.clear();
    open_ = false;
    loaded_ = false;
    currentItem_ = -1;
}

int DatArchive::SelectItem(int index, int n) {
    if (index < 0 || index >= ItemCount()) return 0;
    currentItem_ = index;
    const DatEntry& entry = Entry(index);
    if (!entry.isS16) {
        DropTable();
        return 0;
    }
    baseOffset = entry.offset;
    dataEnd = entry.offset + static_cast<std::uint64_t>(entry.size);
    return ReadIconTable(n);
}

int DatArchive::FindItem(const std::string& name) const {
    for (int i = 0; i < ItemCount(); ++i) {
        if (EqualsNoCase(Entry(i).Name(), name)) return i;
    }
    return -1;
}

std::string DatArchive::NewPath() const {
    return SplitPath(archivePath_, kPathWithoutExt) + "_new.dat";
}
std::string DatArchive::BackupPath() const {
    return SplitPath(archivePath_, kPathWithoutExt) + "_back.dat";
}
