// Arbitrary bytes as the manifest of an archive folder: a manifest that reads
// names plain files only, and writes and reads again to the same items.
#include <cstdlib>
#include <string_view>

#include "FuzzFiles.h"
#include "archive/FolderManifest.h"
#include "archive/ItemNames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SilenceMessages();
    FolderManifest manifest;
    std::string problem;
    if (!ParseManifest({reinterpret_cast<const char*>(data), size}, manifest, problem)) return 0;
    for (const ManifestItem& item : manifest.items) {
        if (!IsPlainItemName(item.sheet.empty() ? item.file : item.sheet)) std::abort();
    }
    FolderManifest again;
    if (!ParseManifest(ManifestText(manifest), again, problem) ||
        again.items.size() != manifest.items.size())
        std::abort();
    for (std::size_t i = 0; i < again.items.size(); ++i) {
        if (again.items[i].name != manifest.items[i].name ||
            again.items[i].sheet != manifest.items[i].sheet ||
            again.items[i].file != manifest.items[i].file)
            std::abort();
    }
    return 0;
}
