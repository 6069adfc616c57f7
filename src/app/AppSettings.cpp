#include "app/AppSettings.h"

#include "support/Paths.h"
#include "support/SettingsStore.h"

void AppSettings::Load(const SettingsStore& store) {
    last = store.GetString(kSettingsSection, "Last", "");
    datFolder = SplitPath(last, kPathFolder);
    s16Folder = store.GetString(kSettingsSection, "S16 folder", "");
    if (s16Folder.empty()) s16Folder = datFolder;
    bmpFolder = store.GetString(kSettingsSection, "BMP folder", "");
    if (bmpFolder.empty()) bmpFolder = s16Folder;
    helmarFolder = store.GetString(kSettingsSection, "Helmar folder", "");
    if (helmarFolder.empty()) helmarFolder = s16Folder;
}

void AppSettings::Save(SettingsStore& store) const {
    store.SetString(kSettingsSection, "Last", last);
    store.SetString(kSettingsSection, "S16 folder", s16Folder);
    store.SetString(kSettingsSection, "BMP folder", bmpFolder);
    store.SetString(kSettingsSection, "Helmar folder", helmarFolder);
}

void AppSettings::SetLast(const std::string& path) {
    last = path;
    datFolder = SplitPath(path, kPathFolder);
    // Folders still empty (a first run) take the archive's folder, as loading would.
    if (s16Folder.empty()) s16Folder = datFolder;
    if (bmpFolder.empty()) bmpFolder = s16Folder;
    if (helmarFolder.empty()) helmarFolder = s16Folder;
}
