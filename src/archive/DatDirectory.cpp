#include "archive/DatDirectory.h"

#include <algorithm>
#include <vector>

#include "archive/DatFormat.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Text.h"

namespace {

// Records read per block: the buffer stays small whatever the file states.
constexpr std::uint64_t kRecordsPerBlock = 1 << 14;

}  // namespace

DirectoryRead ReadDatRecords(DataFile& file, std::uint64_t& count,
                             const std::function<void(const DatEntry&)>& visit) {
    count = 0;
    const std::uint64_t length = file.Length();
    std::uint8_t countBytes[dat::kCountSize];
    if (length < dat::kCountSize) return DirectoryRead::kNotArchive;
    if (!file.ReadAt(0, countBytes, sizeof countBytes)) return DirectoryRead::kReadFailed;
    const std::int64_t stored = static_cast<std::int32_t>(LoadU32(countBytes));
    if (stored < 1) return DirectoryRead::kNotArchive;
    if (dat::DirectorySize(static_cast<std::uint64_t>(stored)) >
        std::min(length, dat::kMaxArchiveSize))
        return DirectoryRead::kNotArchive;
    count = static_cast<std::uint64_t>(stored);

    std::vector<std::uint8_t> block;
    for (std::uint64_t first = 0; first < count; first += kRecordsPerBlock) {
        const std::uint64_t inBlock = std::min(kRecordsPerBlock, count - first);
        block.resize(static_cast<std::size_t>(inBlock) * dat::kRecordSize);
        if (!file.ReadAt(dat::kCountSize + first * dat::kRecordSize, block.data(), block.size()))
            return DirectoryRead::kReadFailed;
        ByteReader reader(block);
        for (std::uint64_t i = 0; i < inBlock; ++i) {
            DatEntry record;
            record.offset = reader.U32();
            reader.Bytes(reinterpret_cast<std::uint8_t*>(record.name.data()), dat::kNameSize);
            visit(record);
        }
    }
    return DirectoryRead::kRead;
}

DirectoryRead ReadDatItemNames(DataFile& file, std::vector<std::string>& names) {
    std::uint64_t count = 0;
    const DirectoryRead read = ReadDatRecords(
        file, count, [&names](const DatEntry& record) { names.push_back(ToUpper(record.Name())); });
    if (read == DirectoryRead::kRead) names.pop_back();
    return read;
}

bool DirectoryWasRead(DirectoryRead read, const std::string& path, const DataFile& file) {
    switch (read) {
        case DirectoryRead::kRead:
            return true;
        case DirectoryRead::kNotArchive:
            ShowError("[%s] is not a DAT archive or is damaged", path.c_str());
            return false;
        case DirectoryRead::kReadFailed:
            ReportReadError(path, file.Error());
            return false;
    }
    return false;
}
