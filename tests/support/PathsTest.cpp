#include <gtest/gtest.h>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "support/Paths.h"
#include "support/Text.h"

TEST(SplitPath, SplitsDriveFolderNameAndExtension) {
    const std::string path = "C:\\GAMES\\VARNOK\\KELPAR.dat";
    EXPECT_EQ(SplitPath(path, kPathFolder), "C:\\GAMES\\VARNOK\\");
    EXPECT_EQ(SplitPath(path, kPathBaseName), "KELPAR");
    EXPECT_EQ(SplitPath(path, kPathExtension), ".dat");
    EXPECT_EQ(SplitPath(path, kPathFileName), "KELPAR.dat");
    EXPECT_EQ(SplitPath(path, kPathWithoutExt), "C:\\GAMES\\VARNOK\\KELPAR");
    EXPECT_EQ(SplitPath(path, 7), path);
    EXPECT_EQ(SplitPath(path, kPathNone), "");

    PathPieces pieces;
    SplitPath(path, kPathNone, &pieces);
    EXPECT_EQ(pieces.folder, "C:\\GAMES\\VARNOK\\");
    EXPECT_EQ(pieces.baseName, "KELPAR");
    EXPECT_EQ(pieces.extension, ".dat");
}

TEST(SplitPath, BareNamesForwardSlashesAndDotsInFolders) {
    EXPECT_EQ(SplitPath("UNIT01.S16", kPathFolder), "");
    EXPECT_EQ(SplitPath("UNIT01.S16", kPathFileName), "UNIT01.S16");
    EXPECT_EQ(SplitPath("/home/me/sprites/a.b/UNIT", kPathFolder), "/home/me/sprites/a.b/");
    EXPECT_EQ(SplitPath("/home/me/sprites/a.b/UNIT", kPathExtension), "");
    EXPECT_EQ(SplitPath("/home/me/sprites/a.b/UNIT", kPathBaseName), "UNIT");
    EXPECT_EQ(SplitPath("mixed/dir\\file.tar.gz", kPathExtension), ".gz");
    EXPECT_EQ(SplitPath("D:file.bmp", kPathFolder), "D:");
    EXPECT_EQ(SplitPath("", kPathFileName), "");
    // Only a colon in second place marks a drive.
    EXPECT_EQ(SplitPath("abc:d.txt", kPathFolder), "");
}

TEST(ChangeExtension, ReplacesOrAppendsAndTextAfterFindsTheRest) {
    EXPECT_EQ(ChangeExtension("C:\\X\\A.dat", ".txt"), "C:\\X\\A.txt");
    EXPECT_EQ(ChangeExtension("C:\\X\\A", ".txt"), "C:\\X\\A.txt");
    EXPECT_EQ(UpperExtension("/x/unit.s16"), ".S16");
    EXPECT_EQ(TextAfter("#001 : tree", ": "), "tree");
    EXPECT_EQ(TextAfter("#001 tree", ": "), "");
}

TEST(ShortenPath, KeepsShortPathsAndCutsLongOnesToTheirTail) {
    const std::string shortPath(48, 'a');
    EXPECT_EQ(ShortenPath(shortPath, 48, false), shortPath);

    const std::string longPath = "C:\\" + std::string(40, 'x') + "\\" + "unit0001.dat";  // 56 chars
    ASSERT_EQ(longPath.size(), 56u);
    const std::string shortened = ShortenPath(longPath, 48, false);
    EXPECT_EQ(shortened, "C:.." + longPath.substr(longPath.size() - 43));
    EXPECT_EQ(shortened.size(), 47u);

    const std::string sixty = "C:\\" + std::string(45, 'y') + "\\KELPAR.dat";
    ASSERT_EQ(sixty.size(), 59u);
    EXPECT_EQ(ShortenPath(sixty, 48, false).size(), 47u);
}

TEST(ShortenPath, CutsAtSeparatorsAndFallsBackToTheName) {
    const std::string path = "C:\\alpha\\beta\\gamma\\delta\\epsilon\\name.txt";
    // Budget 30 - 3 - 2 = 25: the first separator with fewer than 25 characters after it.
    EXPECT_EQ(ShortenPath(path, 30, true), "C:..\\delta\\epsilon\\name.txt");
    EXPECT_EQ(ShortenPath(path, 10, true), "name.txt");
    EXPECT_EQ(ShortenPath("/very/long/folder/name/", 10, false), "..r/name/");
}

TEST(Paths, FileSizeTellsAMissingFileWithoutAMessage) {
    FakeUserInterface ui;
    TempDir dir;
    WriteFileBytes(dir / "five.bin", Bytes(5, 1));
    WriteFileBytes(dir / "empty.bin", Bytes());
    EXPECT_EQ(FileSize(dir / "five.bin"), 5u);
    // An empty file and a missing one are told apart.
    EXPECT_EQ(FileSize(dir / "empty.bin"), 0u);
    EXPECT_EQ(FileSize(dir / "missing.bin"), std::nullopt);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(Exists(dir.Path()));
    EXPECT_FALSE(Exists(dir / "missing.bin"));
    EXPECT_FALSE(ProgramFolder().empty());
}
