// What a run hands its front end besides the reports: what each side gave, what the
// comparison found, and what a stop concerns; and the lock it leaves nowhere.
#include "run/run_lock.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace lintora {
namespace {

using test::ComparisonFixture;
using Subject = RunConcern::Subject;

const std::string kSide1 = "$PACKAGES\r\nR0603 ! 10K ; R1 R2\r\nDIP ! 74HC00 ; U1\r\n$NETS\r\n"
                           "GND ; U1.7 R1.2\r\nGND ; R2.2\r\nIN ; U1.1 R1.1 U1.1\r\n"
                           "OLD ; U1.3 R2.1\r\n$END\r\n";
const std::string kSide2 = "$PACKAGES\r\nR0603 ! 22K ; R1\r\nDIP ! 74HC00 ; U1\r\nC ! 1U ; C9\r\n"
                           "$NETS\r\nGND ; U1.7 R1.2 R2.2\r\nIN ; U1.1 R1.1 U1.2\r\n"
                           "NEW ; C9.1 C9.2\r\n$END\r\n";

TEST(RunFacts, ACompletedRunCarriesWhatEachSideGaveAndWhatWasFound) {
    ComparisonFixture fx;
    fx.setNetlists(kSide1, kSide2);
    fx.inputs.compareParts = true;
    test::writeFile(fx.dir / "swap.txt", "R9 R8\r\nLONE\r\n");
    fx.inputs.swapPath = (fx.dir / "swap.txt").string();
    const RunResult r = fx.run();
    ASSERT_EQ(r.outcome, RunOutcome::Completed);

    EXPECT_TRUE(r.sides[0].read);
    EXPECT_EQ(r.sides[0].nets, 4u);
    EXPECT_EQ(r.sides[0].pins, 8u);
    EXPECT_EQ(r.sides[0].parts, 3u);
    EXPECT_EQ(r.sides[1].nets, 3u);
    EXPECT_EQ(r.sides[1].pins, 8u);
    EXPECT_EQ(r.sides[1].parts, 3u);
    ASSERT_EQ(r.sides[0].duplicateNetNames.repeats.size(), 1u);
    EXPECT_EQ(r.sides[0].duplicateNetNames.repeats[0].name, "GND");
    EXPECT_EQ(r.sides[0].duplicateNetNames.repeats[0].occurrences, 2u);
    ASSERT_EQ(r.sides[0].duplicatePins.repeats.size(), 1u);
    EXPECT_EQ(r.sides[0].duplicatePins.repeats[0].name, "U1.1");
    EXPECT_TRUE(r.sides[1].duplicatePins.repeats.empty());
    EXPECT_TRUE(r.hasDuplicates());
    ASSERT_EQ(r.swapSkipped.size(), 1u);
    EXPECT_EQ(r.swapSkipped[0].lineNumber, 2u);
    EXPECT_EQ(r.swapSkipped[0].text, "LONE");

    // The findings of cmp.txt, as the report lists them.
    EXPECT_EQ(r.differenceBlocks, r.comparison.differences.size());
    EXPECT_EQ(r.unpaired1, r.comparison.unpaired1.size());
    ASSERT_FALSE(r.comparison.unpaired2.empty());
    EXPECT_EQ(r.comparison.unpaired2.back(), "NEW; 2: C9.1, C9.2, ");
    EXPECT_NE(fx.report().find("NEW; 2: C9.1, C9.2, "), std::string::npos);
    EXPECT_EQ(r.adjustment, 49);

    // The findings of cmpprt.txt.
    ASSERT_TRUE(r.parts.has_value());
    EXPECT_EQ(r.parts->parts1, 3u);
    ASSERT_EQ(r.parts->mismatches.size(), 1u);
    EXPECT_EQ(r.parts->mismatches[0].reference, "R1");
    EXPECT_EQ(r.parts->mismatches[0].name2, "22K");
    ASSERT_EQ(r.parts->onlyIn1.size(), 1u);
    EXPECT_EQ(r.parts->onlyIn1[0].reference, "R2");
    ASSERT_EQ(r.parts->onlyIn2.size(), 1u);
    EXPECT_EQ(r.parts->onlyIn2[0].name, "1U");
    EXPECT_EQ(r.concern.subject, Subject::None);
    EXPECT_FALSE(test::fileExists(fx.dir / RunLock::fileName));
}

TEST(RunFacts, AStopSaysWhichFileOrValueItConcerns) {
    struct Case {
        const char* name;
        std::function<void(ComparisonFixture&)> change;
        RunOutcome outcome;
        Subject subject;
        int side;
    };
    const std::vector<Case> cases{
        {"missing side 2", [](ComparisonFixture& fx) { fx.inputs.path2 += ".absent"; },
         RunOutcome::FileNotFound, Subject::Side2File, 2},
        {"side 2 not of its format",
         [](ComparisonFixture& fx) { test::writeFile(fx.inputs.path2, "nothing\r\n"); },
         RunOutcome::FormatMismatch, Subject::Side2File, 2},
        {"unknown format", [](ComparisonFixture& fx) { fx.inputs.format2 = "telesis"; },
         RunOutcome::UnknownFormat, Subject::Side2Format, 2},
        {"missing swap file", [](ComparisonFixture& fx) { fx.inputs.swapPath = "absent.swp"; },
         RunOutcome::FileNotFound, Subject::SwapFile, 1},
        {"bad adjustment", [](ComparisonFixture& fx) { fx.inputs.adjustment = "many"; },
         RunOutcome::BadAdjustment, Subject::Adjustment, 0},
        {"same paths", [](ComparisonFixture& fx) { fx.inputs.path2 = fx.inputs.path1; },
         RunOutcome::InvalidInput, Subject::SamePaths, 0},
        {"missing folder", [](ComparisonFixture& fx) { fx.options.workDir = fx.dir / "absent"; },
         RunOutcome::WriteFailed, Subject::WorkDir, 0},
        {"capacity of side 1", [](ComparisonFixture& fx) { fx.options.limits.netNameSlots = 2; },
         RunOutcome::CapacityExceeded, Subject::None, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComparisonFixture fx;
        fx.setNetlists(kSide1, kSide2);
        c.change(fx);
        const RunResult r = fx.run();
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.concern.subject, c.subject);
        EXPECT_EQ(r.concern.side, c.side);
        EXPECT_FALSE(test::fileExists(fx.dir / RunLock::fileName));
    }
}

TEST(RunLockFile, IsRemovedOnReleaseAndASecondRunHearsThatItWaits) {
    test::TempDir dir;
    test::RecordingObserver observer;
    struct Waiting : test::RecordingObserver {
        void waitingForOtherRun(std::string_view workDir) override {
            folders.emplace_back(workDir);
        }
        std::vector<std::string> folders;
    } waiting;
    {
        const RunLock first(dir.path(), 0);
        ASSERT_TRUE(first.acquired());
        EXPECT_TRUE(test::fileExists(dir / RunLock::fileName));
        const RunLock second(dir.path(), 120, &waiting);
        EXPECT_FALSE(second.acquired());
        ASSERT_EQ(waiting.folders.size(), 1u); // said once, however long it waits
        EXPECT_EQ(waiting.folders[0], dir.path().string());
    }
    EXPECT_FALSE(test::fileExists(dir / RunLock::fileName));
    // A run that waits takes over once the first is done, and leaves nothing either.
    auto first = std::make_unique<RunLock>(dir.path(), 0);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        first.reset();
    });
    {
        const RunLock second(dir.path(), 5000, &waiting);
        EXPECT_TRUE(second.acquired());
        release.join();
        // Whoever comes now finds the lock held, although the first run removed its file.
        const RunLock third(dir.path(), 0);
        EXPECT_FALSE(third.acquired());
    }
    EXPECT_FALSE(test::fileExists(dir / RunLock::fileName));
}

} // namespace
} // namespace lintora
