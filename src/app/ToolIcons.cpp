#include "app/ToolIcons.h"

#include "app/CommandIds.h"

namespace {

struct IconNames {
    int id;
    const char* theme;    // a standard name of the desktop theme, or null
    const char* bundled;  // the program's own icon, ":/toolicons/<name>.svg"
};

const IconNames kIcons[] = {
    {kCmdOpen, "document-open", "open"},
    {kCmdRepack, "document-new", "newdat"},
    {kCmdUnpack, nullptr, "unpack"},
    {kCmdShowAll, nullptr, "showall"},
    {kCmdShowUnits, nullptr, "showunits"},
    {kCmdShowInterface, nullptr, "interface"},
    {kCmdZoom1, "zoom-original", "zoom1"},
    {kCmdZoom2, nullptr, "zoom2"},
    {kCmdZoom3, nullptr, "zoom3"},
    {kCmdZoom4, nullptr, "zoom4"},
    {kCmdZoom5, nullptr, "zoom5"},
    {kCmdCollage, nullptr, "collage"},
    {kCmdMirror, "object-flip-horizontal", "mirror"},
    {kCmdExtract, nullptr, "extract"},
    {kCmdExtractFiltered, nullptr, "extractfiltered"},
    {kCmdSaveIcon, "document-save", "saveicon"},
    {kCmdSaveAllIcons, nullptr, "saveall"},
    {kCmdReplace, nullptr, "replace"},
    {kCmdAdd, "list-add", "add"},
    {kCmdRemove, "list-remove", "remove"},
    {kCmdS16Tool, nullptr, "s16tool"},
    {kCmdDatTool, nullptr, "dattool"},
    {kCmdS16Maker, nullptr, "maker"},
    {kCmdShpImport, nullptr, "shpimport"},
    {kCmdReportIcons, nullptr, "reporticons"},
    {kCmdReportItems, nullptr, "reportitems"},
    {kCmdCompare, nullptr, "compare"},
    {kCmdAbout, "help-about", "about"},
    {kCmdHelp, "help-contents", "help"},
    {kCmdPreviousIcon, "go-previous", "previous"},
    {kCmdNextIcon, "go-next", "next"},
    {kCmdPreviousItem, "go-up", "up"},
    {kCmdNextItem, "go-down", "down"},
};

}  // namespace

// The resources of a static library are registered by hand, outside any
// namespace as Qt requires.
static void LoadIconResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(toolicons);
        return true;
    }();
    (void)loaded;
}

QIcon ToolIcon(int commandId) {
    LoadIconResources();
    for (const IconNames& names : kIcons) {
        if (names.id != commandId) continue;
        const QIcon bundled(QString(":/toolicons/%1.svg").arg(names.bundled));
        return names.theme ? QIcon::fromTheme(names.theme, bundled) : bundled;
    }
    return {};
}
