#include <gtest/gtest.h>
#include <sys/stat.h>

#include "CliRunner.h"
#include "DatFiles.h"
#include "S16Files.h"
#include "cli/CliCommands.h"

namespace {

class ArchiveSafety : public ::testing::Test {
protected:
    void SetUp() override {
        unit = CodedS16(9, 4, 4, [](int i, int, int) { return MakeColor(8 * i, 0, 0); });
        WriteFileBytes(archive, DatBytes({{"NOTES.TXT", Filler(40, 1)}, {"UNIT01.S16", unit}}));
    }

    TempDir dir;
    std::string archive = dir / "KELPAR.dat";
    Bytes unit;
};

}  // namespace

TEST_F(ArchiveSafety, FilesThatAreNoArchiveAreSaidToBeSo) {
    Bytes random;
    for (int i = 0; i < 2000; ++i)
        random.push_back(static_cast<std::uint8_t>(i * 131 + 7));
    WriteFileBytes(dir / "random.dat", random);
    WriteFileBytes(dir / "empty.dat", {});
    for (const std::string name : {"random.dat", "empty.dat"}) {
        for (const char* command : {"list", "report", "unpack"}) {
            std::vector<std::string> args{command, dir / name};
            if (std::string(command) == "unpack") args.push_back(dir / "out");
            const CliRun run = RunCli(args);
            EXPECT_EQ(run.status, kExitFailed) << command << " " << name;
            EXPECT_EQ(run.out, "") << command << " " << name;
            EXPECT_EQ(run.err,
                      "error: [" + (dir / name) + "] is not a DAT archive or is damaged\n");
        }
    }
    EXPECT_EQ(RunCli({"compare", archive, dir / "empty.dat"}).status, kExitFailed);

    // A damaged archive still lists what lies inside the file, and says so.
    Bytes cut = ReadFileBytes(archive);
    cut.resize(cut.size() - 1);
    WriteFileBytes(dir / "cut.dat", cut);
    const CliRun run = RunCli({"list", dir / "cut.dat"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.out, "NOTES.TXT  (0)\n");
    EXPECT_NE(run.err.find("1 items lie outside the file"), std::string::npos);
}

TEST_F(ArchiveSafety, OnlyRegularFilesAreAddedReplacedOrRepacked) {
    const std::string fifo = dir / "UNIT01.S16";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const Bytes before = ReadFileBytes(archive);
    for (const char* command : {"add", "replace"}) {
        const CliRun run = RunCli({command, archive, fifo});
        EXPECT_EQ(run.status, kExitFailed) << command;
        EXPECT_EQ(run.err, "error: [" + fifo +
                               "] is not a regular file: only regular files can be stored\n");
    }
    CliRun run = RunCli({"add", archive, "/proc/self/status"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("[/proc/self/status] is not a regular file"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(archive), before);
}
