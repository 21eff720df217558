// The user's adjustments seen through a whole run: swap file, non-polar parts, pin-number
// changes and the parts comparison.
#include "run/comparison_run.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::ComparisonFixture;
using test::dataFile;

TEST(AdjustedRun, ARenumberedBoardMatchesItsSchematicThroughTheSwapFile) {
    ComparisonFixture fx;
    fx.inputs.path1 = dataFile("swap/schematic.tel").string();
    fx.inputs.path2 = dataFile("swap/board.tel").string();
    fx.inputs.format1 = fx.inputs.format2 = "Telesis";
    fx.inputs.compareParts = true;

    const RunResult without = fx.run();
    EXPECT_FALSE(without.allClear);
    EXPECT_TRUE(without.partsDiffer);

    fx.observer = {};
    fx.inputs.swapPath = dataFile("swap/renumbered.swp").string();
    const RunResult with = fx.run();
    ASSERT_EQ(with.outcome, RunOutcome::Completed);
    EXPECT_TRUE(with.allClear);
    EXPECT_FALSE(with.partsDiffer);
    EXPECT_EQ(test::readFile(fx.dir / "cmpprt.txt"), "\r\n");
    EXPECT_TRUE(fx.observer.messages.empty());
    EXPECT_EQ(test::crlfLines(fx.report())[5], "スワップ：　　　" + fx.inputs.swapPath);
}

TEST(AdjustedRun, PinChangesApplyToSideOneAndNonPolarPartsToBoth) {
    ComparisonFixture fx;
    fx.setNetlists("$PACKAGES\r\n$NETS\r\nA ; D1.1 R1.1 C1.1\r\nK ; D1.2 R2.1 C1.2\r\n$END\r\n",
                   "$PACKAGES\r\n$NETS\r\nA ; D1.ANODE R1.1 C1.2\r\nK ; D1.2 R2.1 C1.1\r\n$END\r\n");
    fx.inputs.adjustment = "100"; // nothing pairs: any difference is an unpaired net
    fx.inputs.pinChange[0] = "d"; // entries are upper-cased before use
    fx.inputs.pinChange[10] = "1";
    fx.inputs.pinChange[20] = "anode";
    fx.inputs.nonPolar[3] = "c";
    const RunResult result = fx.run();
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.allClear);
    const auto header = test::crlfLines(fx.report());
    EXPECT_EQ(header[8], "dXX.1-->dXX.anode ");
    EXPECT_EQ(header[10], "c");

    // Side 2 gets no pin-number change: the same rule the other way round leaves a difference.
    ComparisonFixture reversed;
    reversed.setNetlists("$PACKAGES\r\n$NETS\r\nA ; D1.ANODE R1.1\r\n$END\r\n",
                         "$PACKAGES\r\n$NETS\r\nA ; D1.1 R1.1\r\n$END\r\n");
    reversed.inputs.pinChange[0] = "D";
    reversed.inputs.pinChange[10] = "1";
    reversed.inputs.pinChange[20] = "ANODE";
    EXPECT_FALSE(reversed.run().allClear);
}

// A KiCad schematic against its board's IPC-D-356: the board ties two mounting holes to GND
// and writes the pins left open in the schematic as one-pin nets.
TEST(AdjustedRun, MountingHolesAndOnePinNetsLeftOutOfBothSides) {
    ComparisonFixture fx;
    fx.inputs.path1 = dataFile("ignore/schematic.net").string();
    fx.inputs.format1 = "KiCad";
    fx.inputs.path2 = dataFile("ignore/board.ipc").string();
    fx.inputs.format2 = "IPC-D-356";

    const RunResult plain = fx.run();
    ASSERT_EQ(plain.outcome, RunOutcome::Completed);
    EXPECT_EQ(plain.differenceBlocks, 1u); // GND with the holes
    EXPECT_EQ(plain.unpaired2, 1u);        // the open pin U1.2

    fx.inputs.ignoredParts = {"mh"}; // upper-cased before use, shown as typed
    const RunResult holes = fx.run();
    EXPECT_EQ(holes.differenceBlocks, 0u);
    EXPECT_EQ(holes.unpaired2, 1u);
    const auto header = test::crlfLines(fx.report());
    EXPECT_EQ(header[10], "");
    EXPECT_EQ(header[11], "除外部品　ﾘﾌｧﾚﾝｽ指定：mh");
    EXPECT_EQ(header[12], "");

    fx.inputs.skipOnePinNets = true;
    const RunResult both = fx.run();
    EXPECT_TRUE(both.allClear);

    // The entries may come from a file too, one a line; without entries the header keeps
    // its lines (the flag alone adds none).
    test::writeFile(fx.dir / "ignore.txt", "  MH  \r\n\r\nFID1\r\n");
    fx.inputs.ignoredParts = {"TP9"};
    fx.inputs.ignoreFile = (fx.dir / "ignore.txt").string();
    EXPECT_TRUE(fx.run().allClear);
    EXPECT_EQ(test::crlfLines(fx.report())[11], "除外部品　ﾘﾌｧﾚﾝｽ指定：TP9 MH FID1");
    fx.inputs.ignoredParts.clear();
    fx.inputs.ignoreFile.clear();
    EXPECT_FALSE(fx.run().allClear);
    EXPECT_EQ(test::crlfLines(fx.report())[11], "");
    EXPECT_EQ(test::crlfLines(fx.report())[12], std::string(64, '*'));

    // A missing ignore file stops the run like any missing file.
    fx.inputs.ignoreFile = (fx.dir / "absent.txt").string();
    EXPECT_EQ(fx.run().outcome, RunOutcome::FileNotFound);
}

} // namespace
} // namespace lintora
