#include "archive/DatEntry.h"

#include <algorithm>

#include "sprite/S16Format.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/Paths.h"
#include "support/Text.h"

std::string DatEntry::Name() const {
    const auto end = std::find(name.begin(), name.end(), '\0');
    return std::string(name.begin(), end);
}

void DatEntry::SetName(const std::string& text) {
    name.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
}

std::string_view UpperCaseName(std::array<char, dat::kNameSize>& name) {
    const auto end = std::find(name.begin(), name.end(), '\0');
    for (auto c = name.begin(); c != end; ++c)
        *c = UpperAscii(*c);
    std::fill(end, name.end(), '\0');
    return {name.data(), static_cast<std::size_t>(end - name.begin())};
}

bool IsS16Name(const std::string& name) {
    return ToUpper(name).find("S16") != std::string::npos;
}

std::optional<std::int32_t> ReadIconCount(DataFile& file, std::uint64_t offset,
                                          std::uint64_t size) {
    std::uint8_t count[s16::kCountSize];
    if (size < sizeof count) return 0;
    if (!file.ReadAt(offset, count, sizeof count)) return std::nullopt;
    return std::max<std::int32_t>(static_cast<std::int32_t>(LoadU32(count)), 0);
}

namespace {

// Counts further apart than this are read on their own rather than with the
// bytes between them; a read per item then costs less than the item's bytes.
constexpr std::uint64_t kCountGap = 64 * 1024;
constexpr std::uint64_t kCountBlock = 1024 * 1024;

}  // namespace

void ReadIconCounts(DataFile& file, std::vector<DatEntry>& entries) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].icons = 0;
        if (entries[i].isS16 && entries[i].size >= static_cast<std::int64_t>(s16::kCountSize))
            order.push_back(i);
    }
    const auto byOffset = [&entries](std::size_t a, std::size_t b) {
        return entries[a].offset < entries[b].offset;
    };
    // Archives written by this tool keep their items in offset order.
    if (!std::is_sorted(order.begin(), order.end(), byOffset))
        std::sort(order.begin(), order.end(), byOffset);
    std::vector<std::uint8_t> block;
    for (std::size_t first = 0; first < order.size();) {
        const std::uint64_t start = entries[order[first]].offset;
        std::uint64_t end = start + s16::kCountSize;
        std::size_t last = first + 1;
        for (; last < order.size(); ++last) {
            const std::uint64_t next = entries[order[last]].offset;
            if (next > end + kCountGap || next + s16::kCountSize - start > kCountBlock) break;
            end = std::max(end, next + s16::kCountSize);
        }
        block.resize(static_cast<std::size_t>(end - start));
        const bool read = file.ReadAt(start, block.data(), block.size());
        for (std::size_t k = first; k < last; ++k) {
            DatEntry& entry = entries[order[k]];
            if (read) {
                const std::uint32_t stored = LoadU32(block.data() + (entry.offset - start));
                entry.icons = std::max<std::int32_t>(static_cast<std::int32_t>(stored), 0);
            } else {  // the file changed under us: each count as far as it can be read
                entry.icons =
                    ReadIconCount(file, entry.offset, static_cast<std::uint64_t>(entry.size))
                        .value_or(0);
            }
        }
        first = last;
    }
}

std::optional<std::int32_t> ReadableIconCount(const DatEntry& entry) {
    if (!entry.isS16 || entry.size < s16::kCountSize) return std::nullopt;
    const std::int64_t tableEnd =
        s16::kCountSize + static_cast<std::int64_t>(entry.icons) * s16::kIconRecordSize;
    if (tableEnd > entry.size) return std::nullopt;
    return entry.icons;
}
