#include "archive/DatWriter.h"

#include <algorithm>

#include "archive/DatFormat.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/FileCopy.h"
#include "support/Messages.h"
#include "support/Progress.h"

void SortByName(std::vector<PlannedItem>& items) {
    std::stable_sort(items.begin(), items.end(), [](const PlannedItem& a, const PlannedItem& b) {
        return dat::CompareNames(a.entry.name.data(), b.entry.name.data()) < 0;
    });
}

bool WriteDat(DataFile& out, const std::vector<PlannedItem>& items, Progress& progress) {
    const std::uint64_t directory = dat::DirectorySize(items.size() + 1);
    std::uint64_t end = directory;
    for (const PlannedItem& item : items)
        end += static_cast<std::uint64_t>(item.entry.size);
    if (end > dat::kMaxArchiveSize) {
        ShowError("[%s] would pass 4 GiB, the limit of the archive format: nothing was written",
                  out.Path().c_str());
        return false;
    }

    std::vector<std::uint8_t> head;
    head.reserve(static_cast<std::size_t>(directory));
    ByteWriter w(head);
    w.U32(static_cast<std::uint32_t>(items.size() + 1));
    std::uint64_t offset = directory;
    for (const PlannedItem& item : items) {
        w.U32(static_cast<std::uint32_t>(offset));
        w.Bytes(reinterpret_cast<const std::uint8_t*>(item.entry.name.data()), dat::kNameSize);
        offset += static_cast<std::uint64_t>(item.entry.size);
        progress.Step();
    }
    w.U32(static_cast<std::uint32_t>(offset));
    w.Zeros(dat::kNameSize);
    if (!out.Write(head.data(), head.size())) {
        ReportWriteError(out.Path(), out.Error());
        return false;
    }

    // Items that lie back to back in one source are copied in one go.
    for (std::size_t first = 0; first < items.size();) {
        const PlannedItem& start = items[first];
        std::uint64_t length = 0;
        std::size_t next = first;
        while (next < items.size() && items[next].source == start.source &&
               items[next].sourceOffset == start.sourceOffset + length) {
            length += static_cast<std::uint64_t>(items[next].entry.size);
            ++next;
        }
        if (!CopyFileRange(*start.source, start.sourceOffset, length, out)) {
            if (out.Failed()) {
                ReportWriteError(out.Path(), out.Error());
            } else {
                ReportReadError(start.source->Path(), start.source->Error());
            }
            return false;
        }
        progress.Step(static_cast<int>(next - first));
        first = next;
    }
    return true;
}
