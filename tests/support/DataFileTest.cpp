#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>

#include "ResourceLimits.h"
#include "TestFiles.h"
#include "support/DataFile.h"
#include "support/FileCopy.h"

TEST(DataFile, WritesReachTheFileAtOnceAndPositionsFollow) {
    TempDir dir;
    DataFile file;
    ASSERT_TRUE(file.Open(dir / "a.bin", "w+b", false));
    ASSERT_TRUE(file.Write("abcdef", 6));
    EXPECT_EQ(file.Tell(), 6u);
    EXPECT_EQ(file.Length(), 6u);  // nothing waits in a buffer
    EXPECT_EQ(ReadFileBytes(dir / "a.bin").size(), 6u);
    char middle[3] = {};
    ASSERT_TRUE(file.ReadAt(2, middle, 3));
    EXPECT_EQ(std::string(middle, 3), "cde");
    EXPECT_EQ(file.Tell(), 6u);               // a positioned read leaves the position alone
    EXPECT_FALSE(file.ReadAt(4, middle, 3));  // past the end
    ASSERT_TRUE(file.Seek(1));
    char rest[8] = {};
    EXPECT_EQ(file.Read(rest, sizeof rest), 5u);
    EXPECT_EQ(file.Tell(), 6u);
    EXPECT_EQ(file.Error(), 0);
    EXPECT_TRUE(file.Close());
}

TEST(DataFile, KeepsTheSystemsReasonForAFailure) {
    TempDir dir;
    DataFile file;
    EXPECT_FALSE(file.Open(dir / "missing.bin", "rb", false));
    EXPECT_EQ(file.Error(), ENOENT);
    // An append mode would leave Tell() at 0 while writes land at the end.
    EXPECT_FALSE(file.Open(dir / "log.txt", "ab", false));
    EXPECT_EQ(file.Error(), EINVAL);
    EXPECT_FALSE(FileExists(dir / "log.txt"));
    if (file.Open("/dev/full", "wb", false)) {
        EXPECT_FALSE(file.Write("x", 1));
        EXPECT_TRUE(file.Failed());
        EXPECT_EQ(file.Error(), ENOSPC);
        EXPECT_FALSE(file.Write("y", 1));  // stays failed
    }
    WriteFileBytes(dir / "r.bin", Bytes{1, 2});
    ASSERT_TRUE(file.Open(dir / "r.bin", "rb", false));
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_EQ(file.Error(), EBADF);
    {
        FileSizeLimit limit(4);
        ASSERT_TRUE(file.Open(dir / "big.bin", "wb", false));
        EXPECT_FALSE(file.Write("123456", 6));
        EXPECT_EQ(file.Error(), EFBIG);
    }
}

TEST(FileCopy, AppendsAtTheTargetsPositionAndMovesIt) {
    TempDir dir;
    WriteFileBytes(dir / "src.bin", Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    DataFile source(dir / "src.bin", "rb");
    DataFile target(dir / "dst.bin", "w+b");
    ASSERT_TRUE(target.Write("HEAD", 4));
    ASSERT_TRUE(CopyFileRange(source, 3, 4, target));
    EXPECT_EQ(target.Tell(), 8u);
    ASSERT_TRUE(target.Write("T", 1));  // lands after the copied bytes, not over the head
    ASSERT_TRUE(target.Close());
    EXPECT_EQ(ReadFileBytes(dir / "dst.bin"), (Bytes{'H', 'E', 'A', 'D', 3, 4, 5, 6, 'T'}));
    DataFile again(dir / "dst2.bin", "w+b");
    EXPECT_FALSE(CopyFileRange(source, 8, 5, again));  // the source ends early
    EXPECT_FALSE(again.Failed());
}

TEST(FileCopy, BlamesTheFileThatFailed) {
    TempDir dir;
    Bytes content(5000);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<std::uint8_t>(i * 7);
    WriteFileBytes(dir / "src.bin", content);
    {
        // A source that cannot be read is the source's failure, not the target's.
        DataFile source;
        source.Adopt(open((dir / "src.bin").c_str(), O_WRONLY | O_CLOEXEC), dir / "src.bin");
        DataFile target(dir / "dst.bin", "w+b");
        EXPECT_FALSE(CopyFileRange(source, 0, content.size(), target));
        EXPECT_FALSE(target.Failed());
        EXPECT_EQ(source.Error(), EBADF);
    }
    {
        // A target past its size limit is the target's.
        DataFile source(dir / "src.bin", "rb");
        DataFile target(dir / "dst.bin", "w+b");
        FileSizeLimit limit(1000);
        EXPECT_FALSE(CopyFileRange(source, 0, content.size(), target));
        EXPECT_TRUE(target.Failed());
        EXPECT_EQ(target.Error(), EFBIG);
    }
    {
        // Where the kernel cannot copy between the two, the plain path does it all.
        DataFile source(dir / "src.bin", "rb");
        DataFile target;
        target.Adopt(open((dir / "out.bin").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644),
                     dir / "out.bin");
        ASSERT_TRUE(CopyFileRange(source, 1000, 4000, target));
        EXPECT_EQ(target.Tell(), 4000u);
        ASSERT_TRUE(target.Close());
        EXPECT_EQ(ReadFileBytes(dir / "out.bin"), Bytes(content.begin() + 1000, content.end()));
    }
}
