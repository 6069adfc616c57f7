// Arbitrary bytes as a DAT archive: open, select every item, decode its
// icons and write both reports; nothing may crash or read out of bounds.
#include <algorithm>
#include <cstdio>

#include "FuzzFiles.h"
#include "archive/DatArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceMessages();
    const std::string path = WriteFuzzInput(data, size, ".dat");
    DatArchive archive;
    if (archive.OpenArchive(path)) {
        const int items = std::min(archive.ItemCount(), 32);
        for (int i = 0; i < items; ++i) {
            const int icons = std::min(archive.SelectItem(i, 1) > 0 ? archive.IconCount() : 0, 16);
            for (int k = 1; k <= icons; ++k) {
                archive.SelectIcon(k);
                archive.DecodeIcon();
            }
        }
        (void)archive.ItemReport(true);
        (void)archive.ComparisonReport(path, false);
    }
    std::remove(path.c_str());
    return 0;
}
