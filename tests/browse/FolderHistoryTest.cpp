#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "browse/FolderHistory.h"
#include "support/MemorySettingsStore.h"

namespace {

class FolderHistoryTest : public ::testing::Test {
protected:
    FolderHistory Dialogs() {
        FolderHistory history(store);
        history.SetMaximum(50);
        history.SetExistenceCheck(true);
        return history;
    }
    void Put(int index, const std::string& value) {
        store.SetString("FolderHistory",
                        "Folder" + std::string(index < 10 ? "000" : "00") + std::to_string(index),
                        value);
    }
    std::string Get(const std::string& key) {
        return store.GetString("FolderHistory", key, "<none>");
    }

    TempDir dir;
    MemorySettingsStore store;
};

}  // namespace

TEST_F(FolderHistoryTest, LoadsExistingFoldersAndSavesTheChoiceFirst) {
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b");
    std::filesystem::create_directories(dir / "x");
    Put(0, dir / "a/");
    Put(1, dir / "gone/");
    Put(2, dir / "b/");
    FolderHistory history = Dialogs();
    history.Load();
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{dir / "a/", dir / "b/"}));
    history.Save(dir / "x/", true);
    EXPECT_EQ(Get("Folder0000"), dir / "x/");
    EXPECT_EQ(Get("Folder0001"), dir / "a/");
    EXPECT_EQ(Get("Folder0002"), dir / "b/");
    EXPECT_EQ(Get("Folder0003"), "<none>");
    EXPECT_EQ(Get("Folder"), dir / "x/");
}

TEST_F(FolderHistoryTest, AChosenEntryMovesUpWithoutRepeatingAndTheLimitHolds) {
    FolderHistory history(store);
    history.SetMaximum(50);
    for (int i = 0; i < 50; ++i)
        history.Add("/folder" + std::to_string(i) + "/");
    EXPECT_EQ(history.Add("  /FOLDER10/ "), 0);
    EXPECT_EQ(history.Entries().size(), 50u);
    EXPECT_EQ(history.Entries().front(), "/FOLDER10/");
    EXPECT_EQ(std::count(history.Entries().begin(), history.Entries().end(), "/folder10/"), 0);
    history.Add("/new/");
    EXPECT_EQ(history.Entries().size(), 50u);
    EXPECT_EQ(history.Entries().back(), "/folder1/");  // the oldest went
    EXPECT_EQ(history.Add("   "), -1);
}

TEST_F(FolderHistoryTest, StopsAtTheFirstEmptyKeyAndRemovesStaleKeys) {
    Put(1, dir.Path());
    FolderHistory history = Dialogs();
    history.Load();
    EXPECT_TRUE(history.Entries().empty());

    for (int i = 0; i < 5; ++i)
        Put(i, "/old" + std::to_string(i));
    FolderHistory plain(store);
    plain.Load();
    ASSERT_EQ(plain.Entries().size(), 5u);
    FolderHistory fresh(store);
    fresh.Add("/only/");
    fresh.Save("/only/", false);
    EXPECT_EQ(Get("Folder0000"), "/only/");
    EXPECT_EQ(Get("Folder0001"), "<none>");
    EXPECT_EQ(Get("Folder0004"), "<none>");
}

TEST_F(FolderHistoryTest, SelectsTheEntryEqualToTheLastValue) {
    Put(0, "/a/");
    Put(1, "/b/");
    store.SetString("FolderHistory", "Folder", "/B/");
    FolderHistory history(store);
    EXPECT_EQ(history.Load(), "/B/");
    EXPECT_EQ(history.SelectedIndex(), 1);
}
