#pragma once
// The folders and the last archive the program remembers between runs, in
// the section "Settings" of the settings store.

#include <string>

class SettingsStore;

inline constexpr const char* kSettingsSection = "Settings";

struct AppSettings {
    std::string last;          // the last archive chosen
    std::string datFolder;     // its folder (kept in memory only)
    std::string s16Folder;     // S16 files: S16 Tool, S16 Maker output, extraction
    std::string bmpFolder;     // bitmaps: saving icons, icons from bitmaps, S16 Maker input
    std::string helmarFolder;  // the other game's SHP files

    // Reads the values; an empty folder falls back to the DAT folder, then the S16 folder.
    void Load(const SettingsStore& store);
    void Save(SettingsStore& store) const;
    // Remembers `path` as the last archive; empty folders take its folder.
    void SetLast(const std::string& path);
};
