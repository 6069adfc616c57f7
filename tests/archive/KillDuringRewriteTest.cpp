// A rewrite killed at any moment leaves the archive's path holding either the
// old archive or the new one, byte for byte.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "DatFiles.h"
#include "archive/DatArchive.h"
#include "support/Progress.h"

TEST(KillDuringRewrite, LeavesTheOldOrTheNewArchive) {
    TempDir dir;
    std::vector<NamedItem> items;
    for (int i = 0; i < 24; ++i)
        items.push_back({"ITEM" + std::to_string(10 + i) + ".S16", Filler(256 * 1024, i)});
    const Bytes before = DatBytes(items);
    items[3].second = Filler(300 * 1024, 99);
    const Bytes after = DatBytes(items);
    WriteFileBytes(dir / "new/ITEM13.S16", items[3].second);
    const std::string path = dir / "KELPAR.dat";

    int sawOld = 0, sawNew = 0;
    for (int delayMicroseconds : {0, 200, 1000, 3000, 6000, 10000, 20000, 40000, 80000, 200000}) {
        WriteFileBytes(path, before);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DatArchive archive;
            archive.OpenArchive(path);
            archive.ReplaceItem(3, dir / "new/ITEM13.S16", NoProgress());
            _exit(0);
        }
        usleep(static_cast<useconds_t>(delayMicroseconds));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const Bytes found = ReadFileBytes(path);
        ASSERT_TRUE(found == before || found == after)
            << "killed after " << delayMicroseconds << " us";
        (found == before ? sawOld : sawNew) += 1;
    }
    EXPECT_GT(sawOld + sawNew, 0);
}
