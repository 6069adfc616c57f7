// Arbitrary bytes as an S16 file or a DAT archive, then the rewrites a user
// would run on it: remove an icon or an item, insert an icon, add an item.
// Whatever the input, a rewrite that reports success keeps every other icon
// or item byte for byte, and one that fails leaves the file as it was.
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "FuzzFiles.h"
#include "archive/DatArchive.h"
#include "sprite/S16Editor.h"
#include "sprite/S16Image.h"
#include "support/ByteIo.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/Text.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A 3 x 2 24-bit bitmap, the icon inserted by every S16 round.
Bytes SmallBitmap() {
    Bytes bmp;
    ByteWriter w(bmp);
    const std::uint32_t rowSize = 12;  // 3 pixels of 3 bytes, padded to 4
    w.U8('B');
    w.U8('M');
    w.U32(54 + 2 * rowSize);
    w.U32(0);
    w.U32(54);
    w.U32(40);
    w.U32(3);
    w.U32(2);
    w.U16(1);
    w.U16(24);
    w.Zeros(24);
    for (std::uint32_t i = 0; i < 2 * rowSize; ++i)
        w.U8(static_cast<std::uint8_t>(i * 37));
    return bmp;
}

// A fresh folder for this process's files, emptied before every input.
std::string WorkFolder() {
    static const std::string folder =
        TemporaryFolder() + "varnok-fuzz-rewrite-" + std::to_string(::getpid()) + "/";
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder, ignored);
    return folder;
}

// Stops the fuzzer on a broken promise, naming the line that found it.
void Fail(int line) {
    std::fprintf(stderr, "rewrite check failed at line %d\n", line);
    std::abort();
}
#define Check(condition) ((condition) ? void() : Fail(__LINE__))

// Every icon of the file as stored; one whose data cannot be read is a
// placeholder (a damaged icon may be removed, never kept).
std::vector<CodedIcon> StoredIcons(const std::string& path) {
    std::vector<CodedIcon> icons;
    S16Image image;
    if (!image.OpenFile(path)) return icons;
    for (int k = 1; k <= image.IconCount(); ++k) {
        CodedIcon icon;
        icon.placeholder = !image.ReadCodedIcon(k, icon);
        icons.push_back(std::move(icon));
    }
    return icons;
}

bool SameData(const CodedIcon& a, const CodedIcon& b) {
    return !a.placeholder && !b.placeholder && a.data == b.data &&
           a.record.Width == b.record.Width && a.record.Height == b.record.Height &&
           a.record.Compress == b.record.Compress;
}

// The icons kept by a rewrite are `before` without the icon at `skip` (0-based,
// or none), in order, with their data unchanged.
void CheckKeptIcons(const std::vector<CodedIcon>& before, const std::vector<CodedIcon>& after,
                    std::size_t skip, std::size_t inserted) {
    std::size_t j = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (i == skip) continue;
        if (j == inserted) ++j;
        Check(j < after.size() && SameData(before[i], after[j]));
        ++j;
    }
}

void FuzzS16(const std::string& folder, const Bytes& input, int choice) {
    const std::string path = folder + "UNIT.S16";
    WriteBytes(path, input);
    const std::vector<CodedIcon> before = StoredIcons(path);
    const std::size_t none = static_cast<std::size_t>(-1);

    S16Image image;
    if (!image.OpenFile(path)) return;
    const int count = image.IconCount();
    const int n = count > 0 ? 1 + choice % count : 1;
    if (RemoveIcon(image, n)) {
        Check(before.size() == static_cast<std::size_t>(count));
        const std::vector<CodedIcon> after = StoredIcons(path);
        Check(after.size() + 1 == before.size());
        CheckKeptIcons(before, after, static_cast<std::size_t>(n - 1), none);
    } else {
        Check(ReadBytes(path) == input);
    }

    const Bytes current = ReadBytes(path);
    const std::vector<CodedIcon> kept = StoredIcons(path);
    const std::string bitmap = folder + "add.bmp";
    WriteBytes(bitmap, SmallBitmap());
    S16Image again;
    if (!again.OpenFile(path)) return;
    const int at = 1 + choice % (again.IconCount() + 1);
    if (InsertIconFromBmp(again, bitmap, at)) {
        const std::vector<CodedIcon> after = StoredIcons(path);
        Check(after.size() == kept.size() + 1);
        CheckKeptIcons(kept, after, none, static_cast<std::size_t>(at - 1));
    } else {
        Check(ReadBytes(path) == current);
    }
}

// Every item's name and bytes, in directory order.
std::vector<std::pair<std::string, Bytes>> StoredItems(const std::string& path) {
    std::vector<std::pair<std::string, Bytes>> items;
    DatArchive archive;
    if (!archive.OpenArchive(path)) return items;
    const Bytes whole = ReadBytes(path);
    for (const DatEntry& entry : archive.Entries()) {
        const auto begin = whole.begin() + static_cast<std::ptrdiff_t>(entry.offset);
        items.emplace_back(entry.Name(), Bytes(begin, begin + entry.size));
    }
    return items;
}

void FuzzDat(const std::string& folder, const Bytes& input, int choice) {
    const std::string path = folder + "KELPAR.DAT";
    WriteBytes(path, input);
    const auto before = StoredItems(path);
    NullProgress progress;

    DatArchive archive;
    if (!archive.OpenArchive(path) || archive.ItemCount() == 0) return;
    const int index = choice % archive.ItemCount();
    if (!archive.RemoveItems({index}, progress).empty()) {
        auto expected = before;
        expected.erase(expected.begin() + index);
        Check(StoredItems(path) == expected);
    } else {
        Check(ReadBytes(path) == input);
    }

    const Bytes current = ReadBytes(path);
    const auto kept = StoredItems(path);
    const std::string added = folder + "NEWITEM.TXT";
    WriteBytes(added, Bytes{'n', 'e', 'w'});
    DatArchive again;
    if (!again.OpenArchive(path)) return;
    if (again.AddItems({added}, progress).done) {
        // Adding re-sorts the directory: compare as sets of names and bytes.
        auto expected = kept;
        expected.emplace_back("NEWITEM.TXT", Bytes{'n', 'e', 'w'});
        auto after = StoredItems(path);
        for (auto& item : after)
            item.first = ToUpper(item.first);
        for (auto& item : expected)
            item.first = ToUpper(item.first);
        std::sort(expected.begin(), expected.end());
        std::sort(after.begin(), after.end());
        Check(after == expected);
    } else {
        Check(ReadBytes(path) == current);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    SilenceMessages();
    const std::string folder = WorkFolder();
    const Bytes input(data + 2, data + size);
    if (data[0] & 1) {
        FuzzDat(folder, input, data[1]);
    } else {
        FuzzS16(folder, input, data[1]);
    }
    return 0;
}
