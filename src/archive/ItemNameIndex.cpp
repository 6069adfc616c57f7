#include "archive/ItemNameIndex.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int kEmpty = -1;

std::uint64_t HashOf(const ItemNameIndex::Name& name) {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::memcpy(&head, name.data(), sizeof head);
    std::memcpy(&tail, name.data() + sizeof head, name.size() - sizeof head);
    std::uint64_t h = head * 0x9E3779B97F4A7C15u ^ tail * 0xC2B2AE3D27D4EB4Fu;
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93u;
    return h ^ (h >> 29);
}

}  // namespace

void ItemNameIndex::Build(const std::vector<DatEntry>& entries) {
    std::size_t size = 16;
    while (size < 2 * entries.size())
        size *= 2;
    slots_.assign(size, kEmpty);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t slot = SlotOf(entries, entries[i].name);
        if (slots_[slot] == kEmpty) slots_[slot] = static_cast<int>(i);
    }
}

int ItemNameIndex::Find(const std::vector<DatEntry>& entries, const Name& name) const {
    return slots_.empty() ? -1 : slots_[SlotOf(entries, name)];
}

// The slot that holds `name`, or the empty one where it would go.
std::size_t ItemNameIndex::SlotOf(const std::vector<DatEntry>& entries, const Name& name) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = static_cast<std::size_t>(HashOf(name)) & mask;
    while (slots_[slot] != kEmpty && entries[static_cast<std::size_t>(slots_[slot])].name != name)
        slot = (slot + 1) & mask;
    return slot;
}
