#pragma once
// The commands of the main window, with the texts of their menus, tooltips
// and status prompts.

enum CommandId : int {
    kCmdSaveAllIcons = 1023,
    kCmdShowAll = 32771,
    kCmdShowInterface = 32773,
    kCmdZoom2 = 32774,
    kCmdZoom3 = 32775,
    kCmdShowUnits = 32776,
    kCmdCollage = 32777,
    kCmdZoom1 = 32778,
    kCmdZoom5 = 32779,
    kCmdExtract = 32780,
    kCmdUnpack = 32781,
    kCmdReplace = 32782,
    kCmdAdd = 32783,
    kCmdRepack = 32784,
    kCmdRemove = 32785,
    kCmdSaveIcon = 32788,
    kCmdZoom4 = 32792,
    kCmdS16Tool = 32794,
    kCmdReportIcons = 32802,
    kCmdReportItems = 32803,
    kCmdCompare = 32804,
    kCmdS16Maker = 32806,
    kCmdDatTool = 32807,
    kCmdMirror = 32809,
    kCmdShpImport = 32812,
    kCmdExtractFiltered = 32814,
    kCmdOpen = 57601,
    kCmdAbout = 57664,
    kCmdHelp = 57667,
    // Keyboard paging, shown in the View menu.
    kCmdPreviousIcon = 32900,
    kCmdNextIcon = 32901,
    kCmdPreviousItem = 32902,
    kCmdNextItem = 32903,
};

struct CommandText {
    int id;
    const char* menu;    // menu text, with its accelerator mark
    const char* prompt;  // status bar prompt and tooltip
};

// Every command's texts; null when the id is unknown.
const CommandText* FindCommandText(int id);

// The factor of a zoom command (1 to 5), 0 for any other command.
int ZoomOfCommand(int command);

struct CommandState;
// A zoom command is enabled while another zoom is in use and one icon is
// shown; "Show normal" is checked otherwise, the others when theirs is in use.
CommandState ZoomCommandState(int command, int zoom, bool singleIcon);
