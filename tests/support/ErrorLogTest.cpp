#include <gtest/gtest.h>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "support/DataFile.h"
#include "support/ErrorLog.h"

TEST(ErrorLog, NamesTheLogAfterTheTargetAndWritesItOnlyForLines) {
    FakeUserInterface ui;
    TempDir dir;
    ErrorLog log;
    log.Start(dir / "NEW.dat");
    EXPECT_EQ(log.LogPath(), dir / "Err_NEW.LOG");
    EXPECT_TRUE(log.Enabled());
    log.Finish(true);
    EXPECT_FALSE(FileExists(dir / "Err_NEW.LOG"));
    EXPECT_TRUE(ui.opened.empty());
    EXPECT_FALSE(log.Enabled());

    // With lines, each is written and the log is opened on finishing.
    log.Start(dir / "sub/NEW.dat");
    log.AddLine("first");
    log.Printf("%s not included as lenght>12", "VERYLONGNAME.s16");
    EXPECT_EQ(log.LineCount(), 2);
    log.Finish(true);
    EXPECT_EQ(ReadFileText(dir / "sub/Err_NEW.LOG"),
              "first\nVERYLONGNAME.s16 not included as lenght>12\n");
    EXPECT_EQ(ui.opened, std::vector<std::string>{dir / "sub/Err_NEW.LOG"});
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ErrorLog, ShowsLinesAsErrorsWhenNotStartedAndFinishesOnARestart) {
    FakeUserInterface ui;
    ErrorLog log;
    log.AddLine("one");
    log.Start("");
    log.AddLine("two");
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{"one", "two"}));

    // Starting again finishes and shows the open log.
    TempDir dir;
    log.Start(dir / "A.dat");
    log.AddLine("complaint");
    log.Start(dir / "B.dat");
    EXPECT_EQ(ui.opened, std::vector<std::string>{dir / "Err_A.LOG"});
    EXPECT_EQ(log.LineCount(), 0);
    log.Finish(false);
    EXPECT_EQ(ui.opened.size(), 1u);
}

TEST(ErrorLog, ReportsALogThatCannotBeCreatedAndDropsItsLines) {
    FakeUserInterface ui;
    TempDir dir;
    WriteFileBytes(dir / "blocker", Bytes{1});
    ErrorLog log;
    log.Start(dir / "blocker/NEW.dat");
    log.AddLine("lost");
    ASSERT_EQ(ui.Errors().size(), 1u);
    EXPECT_EQ(ui.Errors()[0], "Error on creating [" + (dir / "blocker/Err_NEW.LOG") + "]");
}

TEST(DataFile, ReportsOpenAndCreationFailuresOnlyWhenAsked) {
    FakeUserInterface ui;
    TempDir dir;
    DataFile file;
    EXPECT_FALSE(file.Open(dir / "none.bin", "rb", false));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(file.Open(dir / "none.bin", "rb", true));
    EXPECT_FALSE(file.Open(dir / "no/such/dir.bin", "wb", true));
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{"Cannot open [" + (dir / "none.bin") + "]",
                                        "Error on creating [" + (dir / "no/such/dir.bin") + "]"}));
}
