#include "app/CommandIds.h"

#include "app/ToolView.h"

namespace {

const CommandText kTexts[] = {
    {kCmdSaveAllIcons, "Save &ALL Icons", "Save all icons as BMP files"},
    {kCmdShowAll, "Show ALL icons", "Show ALL icons"},
    {kCmdShowInterface, "Show Interface", "Show Interface"},
    {kCmdZoom2, "Show Zoomed x 2", "Show Zoomed x 2"},
    {kCmdZoom3, "Show Zoomed x3", "Show Zoomed x3"},
    {kCmdShowUnits, "Show only units icons (9 images)", "Show only units icons (9 images)"},
    {kCmdCollage, "&Collage", "Collage"},
    {kCmdZoom1, "Show normal", "Show normal"},
    {kCmdZoom5, "Show Zoomed x5", "Show Zoomed x5"},
    {kCmdExtract, "&Extract as S16 file", "Extract as S16 file"},
    {kCmdUnpack, "&UnPack to a folder", "UnPack to a folder"},
    {kCmdReplace, "&Replace this S16", "Replace this S16"},
    {kCmdAdd, "&Add S16 from file", "Add S16 from file"},
    {kCmdRepack, "&New DAT file (Repack) ... ", "New DAT file (Repack)"},
    {kCmdRemove, "re&Move this S16", "Remove this S16"},
    {kCmdSaveIcon, "Save &Icon / Collage", "Save icon or collage as BMP"},
    {kCmdZoom4, "Show Zoomed x4", "Show Zoomed x4"},
    {kCmdS16Tool, "&S16 Tool", "S16 Tool"},
    {kCmdReportIcons, "Report items and &#icons", "Report items and icons"},
    {kCmdReportItems, "Report &Items only", "Report items only"},
    {kCmdCompare, "&Compare Report", "Compare Report"},
    {kCmdS16Maker, "S16 &Maker", "S16 Maker"},
    {kCmdDatTool, "&Dat Tool", "Dat Tool"},
    {kCmdMirror, "&Mirror", "Mirror"},
    {kCmdShpImport, "&Helmar-Shp to S16 tool", "Helmar SHP to S16 tool"},
    {kCmdExtractFiltered, "Extract filtered items", "Extract filtered items"},
    {kCmdOpen, "&Open...", "Open an existing DAT File"},
    {kCmdAbout, "&About DatVarnok...", "About Varnok Dat Tool"},
    {kCmdHelp, "&Help Topics", "Help Topics"},
    {kCmdPreviousIcon, "Pre&vious icon", "Previous icon"},
    {kCmdNextIcon, "Ne&xt icon", "Next icon"},
    {kCmdPreviousItem, "&Previous item", "Previous item or file"},
    {kCmdNextItem, "&Next item", "Next item or file"},
};

}  // namespace

const CommandText* FindCommandText(int id) {
    for (const CommandText& text : kTexts) {
        if (text.id == id) return &text;
    }
    return nullptr;
}

int ZoomOfCommand(int command) {
    switch (command) {
        case kCmdZoom1:
            return 1;
        case kCmdZoom2:
            return 2;
        case kCmdZoom3:
            return 3;
        case kCmdZoom4:
            return 4;
        case kCmdZoom5:
            return 5;
        default:
            return 0;
    }
}

CommandState ZoomCommandState(int command, int zoom, bool singleIcon) {
    const int k = ZoomOfCommand(command);
    const bool enabled = zoom != k && singleIcon;
    return {enabled, k == 1 ? !enabled : zoom == k && singleIcon};
}
