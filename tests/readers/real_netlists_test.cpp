// Today's readers on real netlists published by their designers: the answers known for them
// must come out. The files are not part of the project (several carry no licence); they are
// looked for in LINTORA_SAMPLES, or in /work/shared, and every test here is skipped where
// they are not.

#include "base/net_line.h"
#include "passes/passes.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace lintora {
namespace {

std::filesystem::path samplesDir() {
    const char* configured = std::getenv("LINTORA_SAMPLES");
    return configured != nullptr ? std::filesystem::path(configured)
                                 : std::filesystem::path("/work/shared");
}

std::string sample(const std::string& relative) {
    return (samplesDir() / relative).string();
}

// True when every sample named is there.
bool haveSamples(std::initializer_list<std::string> relatives) {
    for (const auto& relative : relatives)
        if (!test::fileExists(samplesDir() / relative))
            return false;
    return true;
}

struct NetCount {
    std::size_t nets = 0;
    std::size_t pins = 0;
    std::size_t onePinNets = 0;
};

NetCount countNets(std::string_view netFile) {
    NetCount count;
    FieldArray fields;
    LineReader lines(netFile);
    std::string_view line;
    while (lines.next(line) && !line.empty()) {
        const std::size_t pins = splitPinCount(fields, splitNetLine(fields, line));
        ++count.nets;
        count.pins += pins;
        count.onePinNets += pins == 1;
    }
    return count;
}

// Reads one file and counts its nets.
NetCount read(ReaderFunction reader, const std::string& path) {
    test::ScratchWorkspace sw;
    EXPECT_EQ(reader(sw.ws, path), ReaderResult::Recognised) << path;
    return countNets(test::readFile(sw.dir / "net.tmp"));
}

RunResult compare(const std::string& path1, std::string_view format1, const std::string& path2,
                  std::string_view format2, bool skipOnePinNets = false) {
    test::ComparisonFixture fx;
    fx.inputs.path1 = path1;
    fx.inputs.format1 = format1;
    fx.inputs.path2 = path2;
    fx.inputs.format2 = format2;
    fx.inputs.skipOnePinNets = skipOnePinNets;
    const RunResult result = fx.run();
    EXPECT_EQ(result.outcome, RunOutcome::Completed) << path1 << " / " << path2;
    return result;
}

TEST(RealNetlists, ThreeHackrfRevisionsInKicad) {
    if (!haveSamples({"samples-modern/kicad-net/hackrf-one_5e9cad66.net",
                      "samples-modern/kicad-net/hackrf-one_5e6a2b5d.net",
                      "samples-modern/kicad-net/hackrf-one_585e69a5.net"}))
        GTEST_SKIP() << "samples not found under " << samplesDir().string();
    const std::string a = sample("samples-modern/kicad-net/hackrf-one_5e9cad66.net");
    const std::string b = sample("samples-modern/kicad-net/hackrf-one_5e6a2b5d.net");
    const std::string c = sample("samples-modern/kicad-net/hackrf-one_585e69a5.net");
    for (const auto& path : {a, b}) {
        const NetCount count = read(&readKicad, path);
        EXPECT_EQ(count.nets, 378u);
        EXPECT_EQ(count.pins, 1347u);
    }
    // The third revision removed the test point P42: one pin fewer.
    const NetCount third = read(&readKicad, c);
    EXPECT_EQ(third.nets, 378u);
    EXPECT_EQ(third.pins, 1346u);
    // Four nets renamed, none changed.
    EXPECT_TRUE(compare(a, "KiCad", b, "KiCad").allClear);
    EXPECT_FALSE(compare(b, "KiCad", c, "KiCad").allClear);
}

TEST(RealNetlists, GedaDesignsMatchTheirTelesisVersions) {
    if (!haveSamples({"samples-modern/geda/JD-geda.out", "samples/telesis/JD-allegro.out",
                      "samples-modern/geda/TwoStageAmp-geda.out",
                      "samples/telesis/TwoStageAmp-allegro.out"}))
        GTEST_SKIP() << "samples not found under " << samplesDir().string();
    for (const std::string design : {"TwoStageAmp", "JD"}) {
        SCOPED_TRACE(design);
        EXPECT_TRUE(compare(sample("samples-modern/geda/" + design + "-geda.out"), "gEDA",
                            sample("samples/telesis/" + design + "-allegro.out"), "Telesis")
                        .allClear);
    }
}

TEST(RealNetlists, PadsPinPairFormReadsAsPadsPcb) {
    if (!haveSamples({"samples/pads/parallella-rf.asc"}))
        GTEST_SKIP() << "samples not found under " << samplesDir().string();
    const NetCount count = read(&readPadsPcb, sample("samples/pads/parallella-rf.asc"));
    EXPECT_EQ(count.nets, 148u);
    EXPECT_EQ(count.pins, 676u);
}

TEST(RealNetlists, SyncBoardSchematicMatchesItsIpcD356) {
    if (!haveSamples({"samples/allegro-pst/opencellular-sync/pstxnet.dat",
                      "samples/ipc356/Fb_Connect1_SYNC_Life-3.ipc"}))
        GTEST_SKIP() << "samples not found under " << samplesDir().string();
    EXPECT_TRUE(compare(sample("samples/allegro-pst/opencellular-sync/pstxnet.dat"), "Allegro PST",
                        sample("samples/ipc356/Fb_Connect1_SYNC_Life-3.ipc"), "IPC-D-356")
                    .allClear);
}

TEST(RealNetlists, BreakoutBoardDiffersOnlyByTheBoardsOnePinNets) {
    if (!haveSamples({"samples/allegro-pst/opencellular-breakout/pstxnet.dat",
                      "samples/ipc356/OC_CONNECT-1_BREAKOUT_LIFE-3.ipc"}))
        GTEST_SKIP() << "samples not found under " << samplesDir().string();
    const std::string schematic = sample("samples/allegro-pst/opencellular-breakout/pstxnet.dat");
    const std::string board = sample("samples/ipc356/OC_CONNECT-1_BREAKOUT_LIFE-3.ipc");
    const RunResult plain = compare(schematic, "Allegro PST", board, "IPC-D-356");
    EXPECT_EQ(plain.differenceBlocks, 0u);
    EXPECT_EQ(plain.unpaired1, 0u);
    EXPECT_EQ(plain.unpaired2, read(&readIpcD356, board).onePinNets);
    EXPECT_EQ(plain.unpaired2, 12u);
    EXPECT_TRUE(compare(schematic, "Allegro PST", board, "IPC-D-356", true).allClear);
}

TEST(RealNetlists, MountingHolesTiedToGroundLeaveTheBoard) {
    if (!haveSamples({"samples/ipc356/Fb_Connect1_SYNC_Life-3.ipc",
                      "samples/allegro-pst/opencellular-sync/pstxnet.dat"}))
        GTEST_SKIP() << "samples not found under " << samplesDir().string();
    // The sync board ties MH1 to MH4 to GND.
    test::ScratchWorkspace sw;
    ASSERT_EQ(readIpcD356(sw.ws, sample("samples/ipc356/Fb_Connect1_SYNC_Life-3.ipc")),
              ReaderResult::Recognised);
    const NetCount before = countNets(test::readFile(sw.dir / "net.tmp"));
    ignoreParts(sw.ws, IgnoreList{{"MH"}, false});
    const std::string after = test::readFile(sw.dir / "net.tmp");
    EXPECT_EQ(after.find(" MH"), std::string::npos); // no pin of a mounting hole
    EXPECT_EQ(countNets(after).pins, before.pins - 4);
    EXPECT_EQ(countNets(after).nets, before.nets);

    test::ComparisonFixture fx;
    fx.inputs.path1 = sample("samples/allegro-pst/opencellular-sync/pstxnet.dat");
    fx.inputs.format1 = "Allegro PST";
    fx.inputs.path2 = sample("samples/ipc356/Fb_Connect1_SYNC_Life-3.ipc");
    fx.inputs.format2 = "IPC-D-356";
    fx.inputs.ignoredParts = {"MH"};
    EXPECT_TRUE(fx.run().allClear);
}

} // namespace
} // namespace lintora
