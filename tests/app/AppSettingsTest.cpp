#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppSettings.h"
#include "app/CAppDoc.h"
#include "app/RecentFiles.h"
#include "support/MemorySettingsStore.h"

TEST(AppSettings, FoldersFallBackToTheArchivesFolder) {
    MemorySettingsStore store;
    AppSettings settings;
    settings.Load(store);
    EXPECT_EQ(settings.last, "");
    EXPECT_EQ(settings.s16Folder, "");
    store.SetString("Settings", "Last", "D:\\Game\\X.DAT");
    settings.Load(store);
    EXPECT_EQ(settings.datFolder, "D:\\Game\\");
    EXPECT_EQ(settings.s16Folder, "D:\\Game\\");
    EXPECT_EQ(settings.bmpFolder, "D:\\Game\\");
    EXPECT_EQ(settings.helmarFolder, "D:\\Game\\");
    store.SetString("Settings", "S16 folder", "/s16/");
    settings.Load(store);
    EXPECT_EQ(settings.bmpFolder, "/s16/");
}

TEST(AppSettings, SavesTheFourValuesAndFillsEmptyFoldersFromTheArchive) {
    MemorySettingsStore store;
    AppSettings settings;
    settings.SetLast("/games/X.DAT");
    settings.Save(store);
    EXPECT_EQ(store.GetString("Settings", "Last", "?"), "/games/X.DAT");
    EXPECT_EQ(store.GetString("Settings", "S16 folder", "?"), "/games/");
    EXPECT_EQ(store.GetString("Settings", "Helmar folder", "?"), "/games/");
    settings.bmpFolder = "/art/";
    settings.SetLast("/other/Y.DAT");
    EXPECT_EQ(settings.bmpFolder, "/art/");
    EXPECT_EQ(settings.s16Folder, "/games/");
}

TEST(RecentFiles, KeepsSixMostRecentFirst) {
    MemorySettingsStore store;
    RecentFiles recent;
    for (int i = 0; i < 8; ++i)
        recent.Add("/a" + std::to_string(i) + ".dat");
    recent.Add("/a5.dat");
    ASSERT_EQ(recent.Paths().size(), 6u);
    EXPECT_EQ(recent.Paths().front(), "/a5.dat");
    EXPECT_EQ(recent.Paths().back(), "/a2.dat");
    recent.Save(store);
    RecentFiles loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.Paths(), recent.Paths());
}

// However a path reaches the document, the recent list and "Last" hold it
// absolute: a relative one would name another file in the next run.
TEST(RecentFiles, AreRememberedAbsolute) {
    MemorySettingsStore store;
    CAppDoc doc(store);
    doc.LoadSettingsOnce();
    doc.NoteOpened("games/K.dat");
    const std::string expected = (std::filesystem::current_path() / "games/K.dat").string();
    EXPECT_EQ(doc.Recent().Paths().front(), expected);
    EXPECT_EQ(doc.Settings().last, expected);
}
