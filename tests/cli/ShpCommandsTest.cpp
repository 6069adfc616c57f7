#include <gtest/gtest.h>

#include "CliRunner.h"
#include "S16Files.h"
#include "TestFiles.h"

TEST(ShpCli, ExportsInspectsAndConvertsBack) {
    TempDir dir;
    WriteFileBytes(dir / "unit.s16", CodedS16(9, 6, 5, [](int i, int x, int) {
                       return MakeColor(20 * i, 8 * x, 0);
                   }));
    CliRun run = RunCli({"to-shp", dir / "unit.s16", dir / "unit.shp"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    run = RunCli({"shp-info", dir / "unit.shp"});
    ASSERT_EQ(run.status, kExitDone);
    EXPECT_EQ(run.out.rfind("9 frames\n", 0), 0u);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 11);

    run = RunCli({"from-shp", dir / "unit.shp", "-o", dir / "out"});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_NE(run.err.find("Converted 1 files"), std::string::npos);
    EXPECT_TRUE(FileExists(dir / "out/unit.s16"));
    run = RunCli({"from-shp", dir / "unit.shp", "--only-new", "-o", dir / "out"});
    EXPECT_NE(run.err.find("Converted 0 files"), std::string::npos);
    WriteFileBytes(dir / "junk.shp", Bytes{1, 2});
    EXPECT_EQ(RunCli({"from-shp", dir / "junk.shp", "-o", dir / "out"}).status, kExitFailed);
    EXPECT_EQ(RunCli({"shp-info", dir / "none.shp"}).status, kExitFailed);
}
