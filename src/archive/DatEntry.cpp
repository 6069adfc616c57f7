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
