#include "cli/SpriteSource.h"

#include <optional>

#include "archive/DatArchive.h"
#include "cli/ItemLookup.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

std::unique_ptr<S16Image> OpenArchiveItem(const std::string& archivePath, const std::string& item) {
    auto archive = std::make_unique<DatArchive>();
    if (!archive->OpenArchive(archivePath, DatArchive::IconCounts::kWhenAsked)) return nullptr;
    const int index = ItemLookup(*archive).Find(item);
    if (index < 0) return nullptr;
    if (!archive->Entry(index).isS16) {
        ShowError("%s:%s is not an S16 item", archivePath.c_str(), item.c_str());
        return nullptr;
    }
    archive->SelectItem(index, 1);
    return archive;
}

}  // namespace

std::optional<ArchiveItem> SplitArchiveItem(const std::string& sprite) {
    const std::size_t colon = sprite.rfind(':');
    if (colon == std::string::npos || colon < 2) return std::nullopt;
    ArchiveItem split{sprite.substr(0, colon), sprite.substr(colon + 1)};
    if (UpperExtension(split.archive) != ".DAT" || split.item.empty()) return std::nullopt;
    return split;
}

std::unique_ptr<S16Image> OpenSprite(const std::string& sprite) {
    if (!Exists(sprite)) {
        if (const std::optional<ArchiveItem> split = SplitArchiveItem(sprite))
            return OpenArchiveItem(split->archive, split->item);
    }
    auto image = std::make_unique<S16Image>();
    if (!image->OpenFile(sprite)) {
        ReportOpenError(sprite);
        return nullptr;
    }
    return image;
}
