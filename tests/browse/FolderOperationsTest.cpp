#include <gtest/gtest.h>

#include <QByteArray>
#include <filesystem>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "browse/FolderOperations.h"

namespace fs = std::filesystem;

TEST(FolderOperations, RefusesDropsOntoItselfItsParentOrInside) {
    TempDir dir;
    fs::create_directories(dir / "a/inner");
    fs::create_directories(dir / "b");
    EXPECT_FALSE(CanDropFolder(dir / "a", dir / "a"));
    EXPECT_FALSE(CanDropFolder(dir / "a", dir.Path()));
    EXPECT_FALSE(CanDropFolder(dir / "a", dir / "a/inner"));
    EXPECT_TRUE(CanDropFolder(dir / "a", dir / "b"));
    EXPECT_TRUE(CanDropFolder(dir / "a/inner", dir / "b/"));
    WriteFileBytes(dir / "file", {1});
    EXPECT_FALSE(CanDropFolder(dir / "a", dir / "file"));
}

TEST(FolderOperations, MovesCopiesAndRenamesFolders) {
    FakeUserInterface ui;
    TempDir dir;
    WriteFileBytes(dir / "a/inner/x.bin", {1, 2});
    fs::create_directories(dir / "b");
    ASSERT_TRUE(DropFolder(dir / "a/inner", dir / "b", true));
    EXPECT_TRUE(FileExists(dir / "a/inner/x.bin"));
    EXPECT_TRUE(FileExists(dir / "b/inner/x.bin"));
    EXPECT_FALSE(DropFolder(dir / "a/inner", dir / "b", false));  // the name is taken there
    ASSERT_TRUE(DropFolder(dir / "a", dir / "b", false));
    EXPECT_FALSE(FileExists(dir / "a"));
    EXPECT_TRUE(FileExists(dir / "b/a/inner/x.bin"));

    std::string renamed;
    ASSERT_TRUE(RenameFolder(dir / "b/a/", "c", renamed));
    EXPECT_EQ(renamed, dir / "b/c");
    EXPECT_FALSE(RenameFolder(dir / "b/c", "inner", renamed));  // exists already

    std::string created;
    ASSERT_TRUE(CreateNewFolder(dir / "b", created));
    EXPECT_EQ(created, dir / "b/NewFolder");
    EXPECT_FALSE(CreateNewFolder(dir / "b/", created));
    EXPECT_EQ(ui.LastText(),
              "Error on creating folder\n" + (dir / "b/NewFolder") + "\ntry another name\n");
    EXPECT_TRUE(DeleteFolder(dir / "b/NewFolder", true));
    EXPECT_FALSE(FileExists(dir / "b/NewFolder"));
    EXPECT_NE(FolderProperties(dir / "b").find("2 files in 3 folders"), std::string::npos);
}

// Without a trash Qt would make one in the working folder and call that
// success: the folder stays where it is, and the user is told.
TEST(FolderOperations, DeletesNothingWhenTheTrashCannotBeReached) {
    FakeUserInterface ui;
    TempDir dir;
    fs::create_directories(dir / "work");
    WriteFileBytes(dir / "victim/x.bin", {1});
    const fs::path before = fs::current_path();
    const bool dataHomeSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    fs::current_path(dir / "work");
    qputenv("XDG_DATA_HOME", "relative/data");
    const bool deleted = DeleteFolder(dir / "victim", false);
    if (dataHomeSet) {
        qputenv("XDG_DATA_HOME", dataHome);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
    fs::current_path(before);
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(FileExists(dir / "victim/x.bin"));
    EXPECT_TRUE(fs::is_empty(dir / "work"));  // no "files/" or "info/"
    EXPECT_EQ(ui.LastText(),
              "Cannot move [" + (dir / "victim") + "] to the trash: nothing was deleted");
}
