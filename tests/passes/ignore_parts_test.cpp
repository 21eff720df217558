#include "passes/passes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

struct Ignored {
    std::string nets;
    std::string parts;
};

// Runs the pass over one side's net.tmp and parts.tmp and returns both files afterwards.
Ignored afterIgnoring(std::string_view nets, std::string_view parts, const IgnoreList& ignored) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "net.tmp", nets);
    test::writeFile(sw.dir / "parts.tmp", parts);
    ignoreParts(sw.ws, ignored);
    return {test::readFile(sw.dir / "net.tmp"), test::readFile(sw.dir / "parts.tmp")};
}

const std::string kNets = test::writtenFile({
    "GND; 4: U1.7, MH1.1, C1.2, MH12.1, ",
    "HOLES; 2: MH3.1, MH4.1, ", // a net of listed pins only
    "SIG; 2: U1.1, TP3.1, ",
    "NEAR; 2: TP30.1, M1.1, ", // neither TP3 nor MH
    "ONE; 1: U2.5, ", "NONE; 0: ",
    "ODD; 2: MH5, U1.9, ", // a pin without a full stop names no part
});
const std::string kParts =
    test::writtenFile({"! HOLE; MH1: MTG? ", "! 74LS00; U1: DIP14? ", "! TP; TP3: TP? ",
                       "! TP; TP30: TP? ", "! X; M1: ? "});

TEST(IgnoreParts, ListedPartsLeaveTheNetsAndThePartsByPrefixOrReference) {
    const Ignored after = afterIgnoring(kNets, kParts, IgnoreList{{"MH", "TP3"}, false});
    EXPECT_EQ(after.nets, test::writtenFile({"GND; 2: U1.7, C1.2, ", "SIG; 1: U1.1, ",
                                             "NEAR; 2: TP30.1, M1.1, ", "ONE; 1: U2.5, ",
                                             "NONE; 0: ", "ODD; 2: MH5, U1.9, "}));
    EXPECT_EQ(after.parts,
              test::writtenFile({"! 74LS00; U1: DIP14? ", "! TP; TP30: TP? ", "! X; M1: ? "}));
}

TEST(IgnoreParts, OnePinNetsGoAfterTheListedPinsHaveGone) {
    const Ignored after = afterIgnoring(kNets, kParts, IgnoreList{{"TP3"}, true});
    EXPECT_EQ(after.nets,
              test::writtenFile({"GND; 4: U1.7, MH1.1, C1.2, MH12.1, ", "HOLES; 2: MH3.1, MH4.1, ",
                                 "NEAR; 2: TP30.1, M1.1, ", "NONE; 0: ", "ODD; 2: MH5, U1.9, "}));
    // Without listed parts the parts stay as they were.
    EXPECT_EQ(afterIgnoring(kNets, kParts, IgnoreList{{}, true}).parts, kParts);
}

TEST(IgnoreParts, AnEmptyListLeavesTheFilesUntouched) {
    // Not even rewritten: a name with blanks keeps them (the sort drops them later).
    const std::string nets = "A B; 1: U1.1, \r\n\r\n";
    const Ignored after = afterIgnoring(nets, kParts, IgnoreList{});
    EXPECT_EQ(after.nets, nets);
    EXPECT_EQ(after.parts, kParts);
    // Entries that are empty name no part.
    EXPECT_EQ(afterIgnoring(kNets, kParts, IgnoreList{{""}, false}).nets, kNets);
}

} // namespace
} // namespace lintora
