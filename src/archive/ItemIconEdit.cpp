#include "archive/ItemIconEdit.h"

#include <filesystem>
#include <system_error>

#include "archive/DatArchive.h"
#include "archive/ItemNames.h"
#include "sprite/S16Editor.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/ScratchFile.h"

bool ReplaceIconOfItem(DatArchive& archive, int index, int n, const std::string& picturePath,
                       IconReplacement* planOnly, Progress& progress) {
    if (index < 0 || index >= archive.ItemCount()) return false;
    const std::string name =
        archive.ArchivePath() + ":" + PrintableName(archive.Entry(index).Name());
    if (!archive.Entry(index).isS16) {
        ShowError("%s is not an S16 item", name.c_str());
        return false;
    }
    archive.SelectItem(index, 1);
    IconReplacement plan;
    if (!PlanIconReplacement(archive, name, n, picturePath, plan)) return false;
    if (planOnly != nullptr) {
        *planOnly = std::move(plan);
        return true;
    }
    // The new item goes through the one rewrite every replacement takes,
    // from a private scratch file that is always removed.
    std::string scratch;
    if (!WriteScratchFile(TemporaryFolder(), "item", plan.bytes, scratch)) return false;
    const bool replaced = archive.ReplaceItems({{index, scratch}}, progress);
    std::error_code ignored;
    std::filesystem::remove(scratch, ignored);
    if (replaced) ShowInfo("Replaced %s", plan.change.c_str());
    return replaced;
}
