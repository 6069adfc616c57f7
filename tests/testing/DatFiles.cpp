#include "DatFiles.h"

#include <algorithm>

Bytes DatBytes(const std::vector<NamedItem>& items) {
    Bytes out;
    const std::uint32_t records = static_cast<std::uint32_t>(items.size() + 1);
    PutU32(out, records);
    std::uint32_t offset = 4 + 17 * records;
    for (const auto& [name, data] : items) {
        PutU32(out, offset);
        Bytes field(13, 0);
        std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 13), field.begin());
        out.insert(out.end(), field.begin(), field.end());
        offset += static_cast<std::uint32_t>(data.size());
    }
    PutU32(out, offset);
    out.insert(out.end(), 13, 0);
    for (const auto& item : items)
        out.insert(out.end(), item.second.begin(), item.second.end());
    return out;
}

std::vector<std::string> StoredNames(const Bytes& archive) {
    std::vector<std::string> names;
    const std::uint32_t records = GetU32(archive, 0);
    for (std::uint32_t i = 0; i + 1 < records; ++i) {
        const char* name = reinterpret_cast<const char*>(archive.data() + 4 + 17 * i + 4);
        std::string text(name, 13);
        text.resize(std::min(text.find('\0'), text.size()));
        names.push_back(text);
    }
    return names;
}

Bytes Filler(std::size_t size, int seed) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<std::uint8_t>(seed * 31 + i * 7);
    return out;
}
