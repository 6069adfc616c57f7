#include "archive/PlannedChange.h"

#include <map>
#include <set>

#include "archive/DatDirectory.h"
#include "archive/DatFormat.h"
#include "archive/DatWriter.h"
#include "archive/ItemNames.h"
#include "support/DataFile.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace {

std::uint64_t PlannedLength(const std::vector<PlannedItem>& plan) {
    const std::vector<DatEntry> directory = PlannedDirectory(plan);
    if (directory.empty()) return dat::DirectorySize(1);
    return directory.back().offset + static_cast<std::uint64_t>(directory.back().size);
}

}  // namespace

PlannedChange DescribePlan(const std::string& archivePath, const std::vector<DatEntry>& before,
                           std::uint64_t bytesBefore, const DataFile* archive,
                           const std::vector<PlannedItem>& plan) {
    PlannedChange change;
    change.archivePath = archivePath;
    change.bytesBefore = bytesBefore;
    change.bytesAfter = PlannedLength(plan);
    // Kept items are known by where their bytes lie in the archive.
    std::multiset<std::uint64_t> kept;
    for (const PlannedItem& item : plan) {
        if (archive != nullptr && item.source == archive) kept.insert(item.sourceOffset);
    }
    std::multimap<std::string, std::int64_t> gone;  // upper-cased name -> size
    for (const DatEntry& entry : before) {
        const auto found = kept.find(entry.offset);
        if (found != kept.end()) {
            kept.erase(found);
            continue;
        }
        gone.emplace(ToUpper(entry.Name()), entry.size);
    }
    for (const PlannedItem& item : plan) {
        if (archive != nullptr && item.source == archive) continue;
        const std::string name = item.entry.Name();
        const auto old = gone.find(ToUpper(name));
        if (old == gone.end()) {
            change.added.push_back({name, 0, item.entry.size});
        } else {
            change.replaced.push_back({name, old->second, item.entry.size});
            gone.erase(old);
        }
    }
    for (const DatEntry& entry : before) {
        const auto old = gone.find(ToUpper(entry.Name()));
        if (old == gone.end()) continue;
        change.removed.push_back({entry.Name(), entry.size, 0});
        gone.erase(old);
    }
    return change;
}

std::string PlannedChangeText(const PlannedChange& change) {
    std::string text;
    for (const ChangedItem& item : change.added) {
        text += FormatText("add %s (%lld bytes)\n", PrintableName(item.name).c_str(),
                           static_cast<long long>(item.sizeAfter));
    }
    for (const ChangedItem& item : change.replaced) {
        text += FormatText("replace %s (%lld -> %lld bytes)\n", PrintableName(item.name).c_str(),
                           static_cast<long long>(item.sizeBefore),
                           static_cast<long long>(item.sizeAfter));
    }
    for (const ChangedItem& item : change.removed) {
        text += FormatText("remove %s (%lld bytes)\n", PrintableName(item.name).c_str(),
                           static_cast<long long>(item.sizeBefore));
    }
    text +=
        FormatText("%s: %llu -> %llu bytes; nothing was written (dry run)\n",
                   change.archivePath.c_str(), static_cast<unsigned long long>(change.bytesBefore),
                   static_cast<unsigned long long>(change.bytesAfter));
    return text;
}

std::vector<DatEntry> ReadArchiveEntries(const std::string& path, std::uint64_t& length) {
    std::vector<DatEntry> entries;
    DataFile old;
    length = 0;
    if (!old.Open(path, "rb", false)) return entries;
    length = old.Length();
    std::uint64_t count = 0;
    const DirectoryRead read = ReadDatRecords(old, count, [&](const DatEntry& record) {
        if (!entries.empty()) {
            entries.back().size = static_cast<std::int64_t>(record.offset) - entries.back().offset;
        }
        entries.push_back(record);
    });
    if (read != DirectoryRead::kRead || entries.empty()) return {};
    entries.pop_back();  // the end record
    return entries;
}
