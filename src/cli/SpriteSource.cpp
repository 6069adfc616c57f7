#include "cli/SpriteSource.h"

#include "sprite/S16Image.h"
#include "support/Messages.h"

std::unique_ptr<S16Image> OpenSprite(const std::string& spec) {
    auto image = std::make_unique<S16Image>();
    if (!image->OpenFile(spec)) {
        ReportOpenError(spec);
        return nullptr;
    }
    return image;
}
