#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "DatFiles.h"
#include "S16Files.h"
#include "ShpFiles.h"

namespace {

constexpr std::size_t kRecordSize = 40;
constexpr std::size_t kTWidth = 16, kBytes = 28;  // field offsets in an icon record

void PutU32At(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

class Verify : public ::testing::Test {
protected:
    void SetUp() override {
        unit = CodedS16(3, 4, 4, [](int i, int x, int) { return MakeColor(8 * i, 8 * x, 0); });
        items = {{"README.TXT", {'h', 'i'}}, {"UNIT01.S16", unit}, {"UNIT02.S16", unit}};
    }

    // Where item k's bytes start in DatBytes(items).
    std::size_t ItemStart(std::size_t k) const {
        std::size_t at = 4 + 17 * (items.size() + 1);
        for (std::size_t i = 0; i < k; ++i)
            at += items[i].second.size();
        return at;
    }

    CliRun VerifyBytes(const std::string& name, const Bytes& bytes) {
        WriteFileBytes(dir / name, bytes);
        return RunCli({"verify", dir / name});
    }

    TempDir dir;
    Bytes unit;
    std::vector<NamedItem> items;
};

}  // namespace

TEST_F(Verify, SoundFilesPassAndAreNeverChanged) {
    const std::string archive = dir / "KELPAR.dat";
    WriteFileBytes(archive, DatBytes(items));
    namespace fs = std::filesystem;
    fs::last_write_time(archive, fs::last_write_time(archive) - std::chrono::hours(1));
    const auto time = fs::last_write_time(archive);
    CliRun run = RunCli({"verify", archive});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, archive + ": sound (3 items, 6 icons read)\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(fs::last_write_time(archive), time);
    EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"KELPAR.dat"});

    EXPECT_EQ(VerifyBytes("unit.s16", unit).out, dir / "unit.s16" + ": sound (3 icons read)\n");
    const Bytes shp = ShpBytes({{FrameHeader(2, 2, 0, 0, 1, 1), {4, 7, 0, 4, 9, 0}}});
    EXPECT_EQ(VerifyBytes("one.shp", shp).out, dir / "one.shp" + ": sound (1 frames read)\n");
    EXPECT_EQ(RunCli({"verify", std::string(VARNOK_TEST_DATA) + "/golden.dat"}).status, kExitDone);

    ExpectFailure({"verify", dir / "notes.txt"}, "verify reads archives (.dat)");
    EXPECT_EQ(RunCli({"verify", dir / "missing.dat"}).status, kExitFailed);
    ASSERT_TRUE(RunShell("mkfifo " + dir / "pipe.s16"));
    ExpectFailure({"verify", dir / "pipe.s16"}, "is not a regular file");
}

TEST_F(Verify, DamagedArchivesTellEachProblemByItemAndIcon) {
    Bytes bytes = DatBytes(items);
    // UNIT01.S16: icon 2 far too wide, icon 3's data cut short.
    const std::size_t table = ItemStart(1) + 4;
    PutU32At(bytes, table + kRecordSize + kTWidth, 5000);
    const std::uint32_t bytes3 = GetU32(bytes, table + 2 * kRecordSize + kBytes);
    PutU32At(bytes, table + 2 * kRecordSize + kBytes, bytes3 - 3);
    CliRun run = VerifyBytes("flipped.dat", bytes);
    EXPECT_EQ(run.status, kExitFailed);
    const std::string path = dir / "flipped.dat";
    EXPECT_NE(run.out.find(path + ": UNIT01.S16: icon 2: it is 5000 x 4, outside the limits"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(path + ": UNIT01.S16: icon 3: its data give "), std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("UNIT02"), std::string::npos);
    EXPECT_NE(run.err.find(path + " is damaged: 2 problems found"), std::string::npos) << run.err;

    // One item alone, named as the sprite commands name it.
    run = RunCli({"verify", path + ":unit01.s16"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.out.find(path + ":unit01.s16: icon 2: it is 5000 x 4, outside the limits"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.err.find(path + ":unit01.s16 is damaged: 2 problems found"), std::string::npos)
        << run.err;
    run = RunCli({"verify", path + ":#3"});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, path + ":#3: sound (3 icons read)\n");
    ExpectFailure({"verify", path + ":README.TXT"}, "is not an S16 item");

    // Cut inside the last item: that item lies outside, and the file ends early.
    Bytes cut = DatBytes(items);
    cut.resize(cut.size() - 5);
    run = VerifyBytes("cut.dat", cut);
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.out.find(": UNIT02.S16: it lies outside the file"), std::string::npos);
    EXPECT_NE(run.out.find("its directory ends it at byte"), std::string::npos);

    // The count of an icon table larger than the item.
    Bytes counted = DatBytes(items);
    PutU32At(counted, ItemStart(2), 1000);
    run = VerifyBytes("count.dat", counted);
    EXPECT_NE(run.out.find(": UNIT02.S16: it claims 1000 icons but has room for "),
              std::string::npos)
        << run.out;

    // Names out of order, and bytes that are no archive at all.
    std::swap(items[0], items[2]);
    run = VerifyBytes("order.dat", DatBytes(items));
    EXPECT_NE(run.out.find(": README.TXT: it is listed after UNIT01.S16, out of"),
              std::string::npos)
        << run.out;
    run = VerifyBytes("text.dat", Bytes(3, 'x'));
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.out.find("it is not a DAT archive"), std::string::npos);
}

TEST_F(Verify, DamagedShpFilesAndJson) {
    Bytes shp = ShpBytes(
        {{FrameHeader(2, 2, 0, 0, 1, 1), {4, 7, 0, 4, 9, 0}}, {FrameHeader(3, 2, 0, 0, 2, 1), {}}});
    CliRun run = VerifyBytes("frames.shp", shp);
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.out.find(": frame 2: its rows give no pixel"), std::string::npos) << run.out;
    PutU32At(shp, 4, 50);
    run = VerifyBytes("count.shp", shp);
    EXPECT_NE(run.out.find("it claims 50 frames but has room for"), std::string::npos) << run.out;

    run = RunCli({"verify", dir / "count.shp", "--json"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.out.find("\"sound\": false"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"item\": null"), std::string::npos);
}

TEST(Diff, TellsItemsByContentAndTheIconsAndPixelsThatChanged) {
    TempDir dir;
    auto colour = [](int icon, int x, int y) { return MakeColor(8 * icon, 8 * x, 8 * y); };
    // Icon 2 recoloured in its first column: 4 pixels of 4 x 4.
    auto recoloured = [&](int icon, int x, int y) {
        return icon == 2 && x == 0 ? MakeColor(0, 0, 200) : colour(icon, x, y);
    };
    const Bytes unit = CodedS16(3, 4, 4, colour);
    WriteFileBytes(dir / "A.dat", DatBytes({{"ONLYA.TXT", {'a'}},
                                            {"SAME.S16", unit},
                                            {"UNIT01.S16", unit},
                                            {"UNIT02.S16", unit}}));
    WriteFileBytes(dir / "B.dat", DatBytes({{"ONLYB.TXT", {'b'}},
                                            {"SAME.S16", unit},
                                            {"UNIT01.S16", CodedS16(3, 4, 4, recoloured)},
                                            {"unit02.s16", CodedS16(4, 4, 4, colour)}}));
    const std::string a = dir / "A.dat", b = dir / "B.dat";
    CliRun run = RunCli({"diff", a, b});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(run.out, "only in " + a + ": ONLYA.TXT\n" + "only in " + b + ": ONLYB.TXT\n" +
                           "changed: UNIT01.S16 (" + std::to_string(unit.size()) + " -> " +
                           std::to_string(CodedS16(3, 4, 4, recoloured).size()) + " bytes)\n" +
                           "  icon 2: 4 pixels differ\n" + "changed: UNIT02.S16 (" +
                           std::to_string(unit.size()) + " -> " +
                           std::to_string(CodedS16(4, 4, 4, colour).size()) + " bytes)\n" +
                           "  3 -> 4 icons\n" + "  icon 4: only in " + b + "\n" +
                           "identical: 1 items\n");

    run = RunCli({"diff", a, b, "--json"});
    EXPECT_NE(run.out.find("\"same\": false"), std::string::npos);
    const nlohmann::json document = nlohmann::json::parse(run.out);
    EXPECT_EQ(document["changed"][0]["icons"],
              nlohmann::json::parse(R"([{"icon": 2, "place": "both", "pixels": 4}])"));
    EXPECT_EQ(document["changed"][1]["icons"][0]["place"], "only_b");
    EXPECT_EQ(document["identical"], nlohmann::json::parse(R"(["SAME.S16"])"));
    EXPECT_EQ(RunCli({"diff", a, a}).out, "identical: 4 items\n");
    EXPECT_EQ(RunCli({"diff", a, dir / "none.dat"}).status, kExitFailed);
}
