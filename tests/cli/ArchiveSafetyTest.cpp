#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "CliRunner.h"
#include "DatFiles.h"
#include "OrdinaryUser.h"
#include "S16Files.h"
#include "cli/CliCommands.h"
#include "support/Messages.h"

namespace {

// The status and both streams of a run, as one comparable text.
std::string Outcome(const std::vector<std::string>& args) {
    const CliRun run = RunCli(args);
    return FormatText("%s -> %d\n%s%s", args.front().c_str(), run.status, run.out.c_str(),
                      run.err.c_str());
}

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

TEST_F(ArchiveSafety, AddsAndRepacksMoreFilesThanMayBeOpenAtOnce) {
    constexpr int kFiles = 1100;
    std::vector<std::string> args{"add", archive};
    for (int i = 0; i < kFiles; ++i) {
        args.push_back(dir / FormatText("many/M%04d.S16", i));
        WriteFileBytes(args.back(), unit);
    }
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit lowered = saved;
    lowered.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
    const CliRun added = RunCli(args);
    const CliRun repacked = RunCli({"repack", dir / "many/ALL.dat"});
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(added.status, kExitDone) << added.err;
    EXPECT_EQ(repacked.status, kExitDone) << repacked.err;
    const CliRun listed = RunCli({"list", dir / "many/ALL.dat", "--units"});
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), kFiles);
    const std::string all = RunCli({"list", archive}).out;
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), kFiles + 2);
}

TEST_F(ArchiveSafety, OnlyRegularFilesAreAddedReplacedOrRepacked) {
    // A new name for add, an item's name for replace: the file's kind is what is refused.
    const std::string fresh = dir / "FRESH.S16";
    const std::string taken = dir / "UNIT01.S16";
    ASSERT_EQ(mkfifo(fresh.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(taken.c_str(), 0600), 0);
    const Bytes before = ReadFileBytes(archive);
    for (const auto& [command, fifo] : {std::pair{"add", fresh}, std::pair{"replace", taken}}) {
        const CliRun run = RunCli({command, archive, fifo});
        EXPECT_EQ(run.status, kExitFailed) << command;
        EXPECT_EQ(run.err, "error: [" + fifo +
                               "] is not a regular file: only regular files can be stored\n");
    }
    ExpectFailure({"add", archive, "/proc/self/status"},
                  "[/proc/self/status] is not a regular file");
    EXPECT_EQ(ReadFileBytes(archive), before);
}

TEST_F(ArchiveSafety, AReadOnlyArchiveIsReadAndNeverRewritten) {
    namespace fs = std::filesystem;
    fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    fs::permissions(archive,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory(dir / "out");
    fs::permissions(dir / "out", fs::perms::all);
    WriteFileBytes(dir / "NEW.S16", unit);
    const Bytes before = ReadFileBytes(archive);

    const std::string readOnly = "error: [" + archive + "] is read-only: nothing was changed\n";
    const std::string outcome = AsOrdinaryUser([&] {
        return Outcome({"list", archive}) + Outcome({"report", archive, "--names-only"}) +
               Outcome({"compare", archive, archive, "--differences-only"}) +
               Outcome({"icons", archive + ":unit01.s16"}) +
               Outcome({"extract", archive, "NOTES.TXT", "-o", dir / "out"}) +
               Outcome({"unpack", archive, dir / "out/all"}) +
               Outcome({"remove", archive, "NOTES.TXT"}) +
               Outcome({"add", archive, dir / "NEW.S16"});
    });
    EXPECT_NE(outcome.find("list -> 0\nNOTES.TXT  (0)\nUNIT01.S16  (9)\n"), std::string::npos)
        << outcome;
    EXPECT_NE(outcome.find("report -> 0\n"), std::string::npos) << outcome;
    EXPECT_NE(outcome.find("compare -> 0\n"), std::string::npos) << outcome;
    EXPECT_NE(outcome.find("icons -> 0\n"), std::string::npos) << outcome;
    EXPECT_NE(outcome.find("extract -> 0\n"), std::string::npos) << outcome;
    EXPECT_NE(outcome.find("unpack -> 0\n"), std::string::npos) << outcome;
    EXPECT_NE(outcome.find("remove -> 1\n" + readOnly), std::string::npos) << outcome;
    EXPECT_NE(outcome.find("add -> 1\n" + readOnly), std::string::npos) << outcome;
    EXPECT_EQ(ReadFileBytes(dir / "out/NOTES.TXT"), Filler(40, 1));
    EXPECT_EQ(ReadFileBytes(dir / "out/all/UNIT01.S16"), unit);
    EXPECT_EQ(ReadFileBytes(archive), before);
}

// In a folder the user may write, a file the user may not write is still refused:
// the new version would otherwise simply be renamed over it.
TEST_F(ArchiveSafety, AReadOnlyFileInAWritableFolderIsNeverReplaced) {
    namespace fs = std::filesystem;
    const std::string sprite = dir / "tank.s16";
    const std::string picture = dir / "tank.png";
    WriteFileBytes(sprite, unit);
    WriteFileBytes(picture, Filler(8, 2));
    ASSERT_EQ(RunCli({"unpack", archive, dir / "folder", "--png"}).status, kExitDone);
    fs::permissions(dir.Path(), fs::perms::all);
    for (const std::string& file : {archive, sprite, picture})
        fs::permissions(file,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const Bytes before = ReadFileBytes(archive);

    const std::string outcome = AsOrdinaryUser([&] {
        return Outcome({"remove-icon", sprite, "1"}) +
               Outcome({"pack", dir / "folder", "-o", archive}) +
               Outcome({"to-png", archive + ":UNIT01.S16", "-o", picture});
    });
    for (const std::string& file : {sprite, archive, picture}) {
        EXPECT_NE(outcome.find("error: Error on creating [" + file + "]: Permission denied\n"),
                  std::string::npos)
            << outcome;
    }
    EXPECT_EQ(ReadFileBytes(sprite), unit);
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_EQ(ReadFileBytes(picture), Filler(8, 2));
    EXPECT_FALSE(fs::exists(dir / "tank.back"));
    EXPECT_FALSE(fs::exists(dir / "KELPAR_back.dat"));
}

// A pipe or a device as the output is refused: the rename that puts a new
// file in place would put a regular file where it was.
TEST_F(ArchiveSafety, APipeAsTheOutputIsNeverReplaced) {
    namespace fs = std::filesystem;
    const std::string pipe = dir / "out.png";
    ASSERT_TRUE(RunShell("mkfifo " + pipe));
    WriteFileBytes(dir / "unit.s16", unit);
    ASSERT_EQ(RunCli({"to-png", dir / "unit.s16", "--sheet", "-o", dir / "sheet.png"}).status,
              kExitDone);
    ASSERT_EQ(RunCli({"unpack", archive, dir / "folder", "--png"}).status, kExitDone);
    const std::vector<std::vector<std::string>> commands = {
        {"to-png", dir / "unit.s16", "-o", pipe},
        {"make", "--from-sheet", dir / "sheet.png", pipe},
        {"report", archive, "-o", pipe},
        {"pack", dir / "folder", "-o", pipe},
    };
    for (const std::vector<std::string>& command : commands) {
        const CliRun run = RunCli(command);
        EXPECT_EQ(run.status, kExitFailed) << command.front();
        EXPECT_EQ(run.err, "error: [" + pipe + "] is not a regular file: nothing was written\n")
            << command.front();
        EXPECT_TRUE(fs::is_fifo(pipe)) << command.front();
    }
}

TEST_F(ArchiveSafety, RepackOverAnArchiveKeepsTheOldOne) {
    const Bytes before = ReadFileBytes(archive);
    WriteFileBytes(dir / "UNIT01.S16", unit);
    WriteFileBytes(dir / "UNIT02.S16", unit);
    const CliRun run = RunCli({"repack", archive});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.err, "The old archive is kept as [" + (dir / "KELPAR_back.dat") +
                           "]: 1 of its items are not in the new one\n");
    EXPECT_EQ(ReadFileBytes(dir / "KELPAR_back.dat"), before);
    EXPECT_EQ(RunCli({"list", archive}).out, "UNIT01.S16  (9)\nUNIT02.S16  (9)\n");
}

TEST_F(ArchiveSafety, ExtractAndUnpackReplaceOnlyWhatTheyMay) {
    // An item named like the archive, unpacked into the archive's own folder.
    const std::string own = dir / "OWN.DAT";
    WriteFileBytes(own, DatBytes({{"OWN.DAT", Filler(3, 1)}, {"UNIT01.S16", unit}}));
    const Bytes before = ReadFileBytes(own);
    CliRun run = RunCli({"unpack", own, dir.Path(), "--overwrite"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: [" + own + "] is the archive being read: the item is not written\n");
    EXPECT_EQ(ReadFileBytes(own), before);
    EXPECT_EQ(ReadFileBytes(dir / "UNIT01.S16"), unit);

    // A file already there is kept without --overwrite, replaced with it.
    WriteFileBytes(dir / "NOTES.TXT", Filler(2, 2));
    run = RunCli({"extract", archive, "notes.txt", "-o", dir.Path()});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: [" + (dir / "NOTES.TXT") +
                           "] already exists and is kept: the item is not written\n");
    EXPECT_EQ(ReadFileBytes(dir / "NOTES.TXT"), Filler(2, 2));
    run = RunCli({"unpack", archive, dir.Path()});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: 2 files already in [" + dir.Path() +
                           "] are kept: their items are not written\n");
    EXPECT_EQ(ReadFileBytes(dir / "NOTES.TXT"), Filler(2, 2));
    run = RunCli({"extract", archive, "notes.txt", "-o", dir.Path(), "--overwrite"});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(ReadFileBytes(dir / "NOTES.TXT"), Filler(40, 1));
}

TEST_F(ArchiveSafety, ExtractFollowsTheUnpackRules) {
    // Names equal in any case, with --overwrite: filtered or named, both arrive.
    const std::string cased = dir / "CASED.DAT";
    WriteFileBytes(cased, DatBytes({{"UNIT01.S16", unit}, {"unit01.s16", Filler(4, 4)}}));
    for (const std::string how : {"listed", "named"}) {
        std::vector<std::string> args{"extract", cased, "-o", dir / how, "--overwrite"};
        if (how == "named") args.insert(args.end(), {"#1", "#2", "#2"});
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, kExitDone) << how << run.err;
        EXPECT_EQ(run.err,
                  "[UNIT01.S16] has the name of another item: it is written as UNIT01~2.S16\n"
                  "2 items saved to  \n  " +
                      (dir / how) + "/\n")
            << how;
        EXPECT_EQ(ReadFileBytes(dir / (how + "/UNIT01.S16")), unit) << how;
        EXPECT_EQ(ReadFileBytes(dir / (how + "/UNIT01~2.S16")), Filler(4, 4)) << how;
    }

    // Two items claiming the same bytes (a damaged record between them): one file.
    constexpr std::uint32_t kData = 4 + 17 * 5;
    Bytes bytes;
    PutU32(bytes, 5);
    const std::uint32_t offsets[] = {kData, kData + 10, kData, kData + 10, kData + 10};
    for (std::uint32_t i = 0; i < 5; ++i) {
        PutU32(bytes, offsets[i]);
        const std::string name = FormatText("I%03u.BIN", i);
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.resize(bytes.size() + 13 - name.size(), 0);
    }
    const Bytes data = Filler(10, 7);
    bytes.insert(bytes.end(), data.begin(), data.end());
    WriteFileBytes(dir / "SHARED.DAT", bytes);
    ExpectFailure({"extract", dir / "SHARED.DAT", "-o", dir / "shared"},
                  "error: [I002.BIN] shares its bytes with another item: the item is not "
                  "written\n");
    EXPECT_EQ(FolderListing(dir / "shared"), (std::vector<std::string>{"I000.BIN", "I003.BIN"}));
}

TEST_F(ArchiveSafety, AReportIsNeverWrittenOverAnArchive) {
    const std::string other = dir / "OTHER.DAT";
    WriteFileBytes(other, DatBytes({{"PANEL.S16", unit}}));
    const std::string link = dir / "SAME.DAT";
    ASSERT_EQ(::link(archive.c_str(), link.c_str()), 0);
    const Bytes before = ReadFileBytes(archive);
    const Bytes otherBefore = ReadFileBytes(other);
    const std::vector<std::vector<std::string>> runs = {{"compare", archive, other, "-o", other},
                                                        {"compare", archive, other, "-o", link},
                                                        {"report", archive, "-o", link}};
    for (const std::vector<std::string>& args : runs) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, kExitFailed) << args.back();
        EXPECT_EQ(run.err, "error: [" + args.back() +
                               "] is an archive the report is about: the report is not written\n");
    }
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_EQ(ReadFileBytes(other), otherBefore);
}

TEST_F(ArchiveSafety, AnArchiveThatCannotBeOpenedIsToldWhy) {
    CliRun run = RunCli({"list", dir.Path()});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: Cannot open [" + dir.Path() + "]: Is a directory\n");
    ASSERT_EQ(::chmod(archive.c_str(), 0), 0);
    const std::string outcome = AsOrdinaryUser([&] { return Outcome({"list", archive}); });
    EXPECT_EQ(outcome, "list -> 1\nerror: Cannot open [" + archive + "]: Permission denied\n");
    run = RunCli({"list", dir / "NONE.DAT"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: " + (dir / "NONE.DAT") + " not found\n");
}

TEST_F(ArchiveSafety, ExtractShowsItemNamesEscaped) {
    WriteFileBytes(archive, DatBytes({{"A\nB.S16", unit}, {"a\nb.s16", Filler(4, 4)}}));
    CliRun run = RunCli({"unpack", archive, dir / "out"});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.err, "[A\\nB.S16] has the name of another item: it is written as A\\nB~2.S16\n");
    run = RunCli({"extract", archive, "#1", "-o", dir / "out"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err, "error: [" + (dir / "out/A\\nB.S16") +
                           "] already exists and is kept: the item is not written\n");
}

TEST_F(ArchiveSafety, TheArchiveItselfIsNeverASource) {
    // By its own name, and by a second name (a hard link) that looks like a new item.
    const std::string link = dir / "SELF.DAT";
    ASSERT_EQ(::link(archive.c_str(), link.c_str()), 0);
    const Bytes before = ReadFileBytes(archive);
    for (const std::string& source : {archive, link}) {
        const CliRun run = RunCli({"add", archive, source});
        EXPECT_EQ(run.status, kExitFailed) << source;
        EXPECT_EQ(run.err,
                  "error: [" + source + "] is the archive itself: it cannot be stored in it\n");
    }
    EXPECT_EQ(ReadFileBytes(archive), before);
}
