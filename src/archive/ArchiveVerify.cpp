#include "archive/ArchiveVerify.h"

#include <vector>

#include "archive/DatDirectory.h"
#include "archive/DatFormat.h"
#include "archive/ItemNames.h"
#include "sprite/S16Image.h"
#include "sprite/S16Verify.h"
#include "support/DataFile.h"
#include "support/Messages.h"

namespace {

// Problems of item k's bounds (`next` is the following record's offset);
// empty when its bytes lie after the directory and inside the file.
std::string BoundsProblem(const DatEntry& item, std::uint32_t next, std::uint64_t directoryEnd,
                          std::uint64_t length) {
    if (item.offset < directoryEnd)
        return FormatText("it starts at %u, inside the directory (which ends at %llu)", item.offset,
                          static_cast<unsigned long long>(directoryEnd));
    if (next < item.offset)
        return FormatText("it ends at %u, before it starts (%u)", next, item.offset);
    if (next > length)
        return FormatText("it lies outside the file (bytes %u to %u of %llu)", item.offset, next,
                          static_cast<unsigned long long>(length));
    return {};
}

void VerifyIcons(DataFile& file, const DatEntry& item, FileCheck& check) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(item.size));
    if (!bytes.empty() && !file.ReadAt(item.offset, bytes.data(), bytes.size())) {
        check.problems.push_back(
            {item.Name(), 0, "its bytes cannot be read: " + SystemErrorText(file.Error())});
        return;
    }
    S16Image image;
    image.OpenBytes(bytes, item.Name());
    VerifyIconSet(image, item.Name(), check);
}

}  // namespace

bool VerifyArchive(const std::string& path, FileCheck& check) {
    DataFile file;
    if (!file.Open(path, "rb", false)) {
        ReportOpenError(path, file.Error());
        return false;
    }
    const std::uint64_t length = file.Length();
    std::uint64_t count = 0;
    std::vector<DatEntry> records;
    const DirectoryRead read =
        ReadDatRecords(file, count, [&records](const DatEntry& r) { records.push_back(r); });
    if (read == DirectoryRead::kReadFailed) {
        ReportReadError(path, file.Error());
        return false;
    }
    if (read == DirectoryRead::kNotArchive) {
        check.problems.push_back({{}, 0, "it is not a DAT archive: its directory cannot be read"});
        return true;
    }
    const std::uint64_t directoryEnd = dat::DirectorySize(count);
    for (std::size_t k = 0; k + 1 < records.size(); ++k) {
        DatEntry& item = records[k];
        const std::string name = item.Name();
        const std::string shown = name.empty() ? FormatText("#%zu", k + 1) : name;
        ++check.items;
        if (k > 0 && dat::CompareNames(records[k - 1].name.data(), item.name.data()) > 0) {
            check.problems.push_back(
                {shown, 0,
                 FormatText("it is listed after %s, out of the archive's name order",
                            PrintableName(records[k - 1].Name()).c_str())});
        }
        const std::string bounds = BoundsProblem(item, records[k + 1].offset, directoryEnd, length);
        if (!bounds.empty()) {
            check.problems.push_back({shown, 0, bounds});
            continue;
        }
        item.size = static_cast<std::int64_t>(records[k + 1].offset) - item.offset;
        if (IsS16Name(name)) VerifyIcons(file, item, check);
    }
    const std::uint32_t end = records.back().offset;
    if (end != length) {
        check.problems.push_back(
            {{},
             0,
             FormatText("its directory ends it at byte %u, but the file has %llu bytes", end,
                        static_cast<unsigned long long>(length))});
    }
    return true;
}
