#include "archive/DatWriter.h"

#include <algorithm>

#include "archive/DatFormat.h"
#include "archive/ItemSource.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/FileCopy.h"
#include "support/Messages.h"
#include "support/Progress.h"

namespace {

// Copies `length` bytes of the item's source (opened here when it is named by
// its path) to the end of `out`; reports which side failed.
bool CopyItems(const PlannedItem& item, std::uint64_t length, DataFile& out,
               const std::string& targetPath) {
    if (item.bytes != nullptr) {
        if (item.bytes->size() == length && out.Write(item.bytes->data(), length)) return true;
        ReportWriteError(targetPath, out.Error());
        return false;
    }
    DataFile named;
    DataFile* source = item.source;
    if (!item.sourcePath.empty()) {
        if (!OpenItemSource(item.sourcePath, length, named)) return false;
        source = &named;
    }
    if (CopyFileRange(*source, item.sourceOffset, length, out)) return true;
    if (out.Failed()) {
        ReportWriteError(targetPath, out.Error());
    } else {
        ReportReadError(source->Path(), source->Error());
    }
    return false;
}

// A copy placed by a failed position query would write over the directory:
// after every step the file must end exactly where the bytes written so far do.
bool AtExpectedEnd(DataFile& out, std::uint64_t expected, const std::string& targetPath) {
    if (out.Tell() == expected && !out.Failed()) return true;
    ReportWriteError(targetPath, out.Error());
    return false;
}

// A rewrite stopped by the user: its scratch file is abandoned by the caller.
bool StopIfCancelled(const Progress& progress, const std::string& targetPath) {
    if (!progress.Cancelled()) return false;
    ShowInfo("Cancelled: [%s] was not changed", targetPath.c_str());
    return true;
}

}  // namespace

void SortByName(std::vector<PlannedItem>& items) {
    std::stable_sort(items.begin(), items.end(), [](const PlannedItem& a, const PlannedItem& b) {
        return dat::CompareNames(a.entry.name.data(), b.entry.name.data()) < 0;
    });
}

std::vector<DatEntry> PlannedDirectory(const std::vector<PlannedItem>& items) {
    std::vector<DatEntry> entries;
    entries.reserve(items.size());
    std::uint64_t offset = dat::DirectorySize(items.size() + 1);
    for (const PlannedItem& item : items) {
        entries.push_back(item.entry);
        entries.back().offset = static_cast<std::uint32_t>(offset);
        offset += static_cast<std::uint64_t>(item.entry.size);
    }
    return entries;
}

bool WriteDat(DataFile& out, const std::vector<PlannedItem>& items, Progress& progress,
              const std::string& targetPath) {
    const std::uint64_t directory = dat::DirectorySize(items.size() + 1);
    std::uint64_t end = directory;
    for (const PlannedItem& item : items)
        end += static_cast<std::uint64_t>(item.entry.size);
    if (end > dat::kMaxArchiveSize) {
        ShowError("[%s] would pass 4 GiB, the limit of the archive format: nothing was written",
                  targetPath.c_str());
        return false;
    }

    std::vector<std::uint8_t> head;
    head.reserve(static_cast<std::size_t>(directory));
    ByteWriter w(head);
    w.U32(static_cast<std::uint32_t>(items.size() + 1));
    for (const DatEntry& entry : PlannedDirectory(items)) {
        w.U32(entry.offset);
        w.Bytes(reinterpret_cast<const std::uint8_t*>(entry.name.data()), dat::kNameSize);
        progress.Step();
    }
    w.U32(static_cast<std::uint32_t>(end));
    w.Zeros(dat::kNameSize);
    if (!out.Write(head.data(), head.size())) {
        ReportWriteError(targetPath, out.Error());
        return false;
    }
    std::uint64_t written = head.size();
    if (!AtExpectedEnd(out, written, targetPath) || StopIfCancelled(progress, targetPath))
        return false;

    // Items that lie back to back in one open source are copied in one go.
    for (std::size_t first = 0; first < items.size();) {
        const PlannedItem& start = items[first];
        std::uint64_t length = 0;
        std::size_t next = first;
        while (next < items.size() && start.bytes == nullptr && items[next].bytes == nullptr &&
               items[next].source == start.source && items[next].sourcePath == start.sourcePath &&
               items[next].sourceOffset == start.sourceOffset + length &&
               (next == first || start.sourcePath.empty())) {
            length += static_cast<std::uint64_t>(items[next].entry.size);
            ++next;
        }
        if (start.bytes != nullptr) {
            length = static_cast<std::uint64_t>(start.entry.size);
            next = first + 1;
        }
        if (!CopyItems(start, length, out, targetPath)) return false;
        written += length;
        if (!AtExpectedEnd(out, written, targetPath)) return false;
        progress.Step(static_cast<int>(next - first));
        if (StopIfCancelled(progress, targetPath)) return false;
        first = next;
    }
    return true;
}
