#include "archive/DatDirectory.h"

#include <algorithm>
#include <vector>

#include "archive/DatFormat.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"

namespace {

// Records read per block: the buffer stays small whatever the file states.
constexpr std::uint64_t kRecordsPerBlock = 1 << 14;

}  // namespace

bool ReadDatRecords(DataFile& file, std::uint64_t& count,
                    const std::function<void(const DatEntry&)>& visit) {
    count = 0;
    const std::uint64_t length = file.Length();
    std::uint8_t countBytes[dat::kCountSize];
    if (length < dat::kCountSize || !file.ReadAt(0, countBytes, sizeof countBytes)) return false;
    const std::int64_t stored = static_cast<std::int32_t>(LoadU32(countBytes));
    if (stored < 1) return false;
    if (dat::DirectorySize(static_cast<std::uint64_t>(stored)) >
        std::min(length, dat::kMaxArchiveSize))
        return false;
    count = static_cast<std::uint64_t>(stored);

    std::vector<std::uint8_t> block;
    for (std::uint64_t first = 0; first < count; first += kRecordsPerBlock) {
        const std::uint64_t inBlock = std::min(kRecordsPerBlock, count - first);
        block.resize(static_cast<std::size_t>(inBlock) * dat::kRecordSize);
        if (!file.ReadAt(dat::kCountSize + first * dat::kRecordSize, block.data(), block.size()))
            return false;
        ByteReader reader(block);
        for (std::uint64_t i = 0; i < inBlock; ++i) {
            DatEntry record;
            record.offset = reader.U32();
            reader.Bytes(reinterpret_cast<std::uint8_t*>(record.name.data()), dat::kNameSize);
            visit(record);
        }
    }
    return true;
}
