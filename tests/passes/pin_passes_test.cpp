#include "passes/passes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

// Runs a pin pass over one net file and returns the file afterwards.
template <typename Pass>
std::string afterPass(Pass pass, std::string_view netFile, const OptionList& options) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "net01.tmp", netFile);
    pass(sw.ws, "net01.tmp", options);
    return test::readFile(sw.dir / "net01.tmp");
}

OptionList nonPolar(std::initializer_list<std::string> references) {
    OptionList options;
    std::size_t i = 0;
    for (const auto& reference : references)
        options[i++] = reference;
    return options;
}

OptionList pinRules(std::initializer_list<std::array<std::string, 3>> rules) {
    OptionList options;
    std::size_t r = 0;
    for (const auto& [reference, before, after] : rules) {
        options[r] = reference;
        options[10 + r] = before;
        options[20 + r] = after;
        ++r;
    }
    return options;
}

TEST(NonPolarPass, ALetterPrefixListsEveryPartWithItAndAReferenceJustThatPart) {
    const std::string file = "A; 4: C1.1, C12.2, C120.1, U1A.3, \r\nB; 1: R1.1, \r\n\r\n";
    EXPECT_EQ(afterPass(makeNonPolar, file, nonPolar({"C"})),
              "A; 4: C1.*, C12.*, C120.*, U1A.3, \r\nB; 1: R1.1, \r\n\r\n");
    EXPECT_EQ(afterPass(makeNonPolar, file, nonPolar({"C12"})),
              "A; 4: C1.1, C12.*, C120.1, U1A.3, \r\nB; 1: R1.1, \r\n\r\n");
    // The letter prefix of U1A is UA; a changed pin is written letters first: UA1.
    EXPECT_EQ(afterPass(makeNonPolar, file, nonPolar({"UA"})),
              "A; 4: C1.1, C12.2, C120.1, UA1.*, \r\nB; 1: R1.1, \r\n\r\n");
}

TEST(NonPolarPass, EmptyEntriesListNothingAndPinsWithoutFullStopStay) {
    const std::string file = "A; 3: 12.1, 7-3, R1.1, \r\nN0; 0: \r\n\r\n";
    EXPECT_EQ(afterPass(makeNonPolar, file, nonPolar({})), file);
    OptionList onlyBox4;
    onlyBox4[4] = "R";
    EXPECT_EQ(afterPass(makeNonPolar, file, onlyBox4),
              "A; 3: 12.1, 7-3, R1.*, \r\nN0; 0: \r\n\r\n");
}

TEST(PinNumberChange, RenamesMatchingPinsOfTheLetterPrefix) {
    EXPECT_EQ(afterPass(changePinNumbers, "A; 3: D1.1, D25.1, D1.2, \r\n\r\n",
                        pinRules({{"D", "1", "ANODE"}})),
              "A; 3: D1.ANODE, D25.ANODE, D1.2, \r\n\r\n");
    // Only the letter prefix is compared: "D1" never matches.
    EXPECT_EQ(afterPass(changePinNumbers, "A; 1: D1.1, \r\n\r\n", pinRules({{"D1", "1", "ANODE"}})),
              "A; 1: D1.1, \r\n\r\n");
}

TEST(PinNumberChange, LaterRulesSeeTheWholeResultOfEarlierOnes) {
    EXPECT_EQ(afterPass(changePinNumbers, "A; 2: D3.1, D3.2, \r\n\r\n",
                        pinRules({{"D", "1", "2"}, {"D", "2", "1"}})),
              "A; 2: D3.1, D3.1, \r\n\r\n");
    EXPECT_EQ(afterPass(changePinNumbers, "A; 1: D3.1, \r\n\r\n",
                        pinRules({{"D", "1", "A"}, {"D", "A", "K"}})),
              "A; 1: D3.K, \r\n\r\n");
    // A rule that made the name longer is seen whole by the next one.
    EXPECT_EQ(afterPass(changePinNumbers, "A; 1: D3.1, \r\n\r\n",
                        pinRules({{"D", "1", "AN"}, {"D", "AN", "ANODE"}})),
              "A; 1: D3.ANODE, \r\n\r\n");
}

TEST(PinNumberChange, ARuleWithoutReferenceChangesNothing) {
    EXPECT_EQ(afterPass(changePinNumbers, "A; 2: 12.1, D1.1, \r\n\r\n", pinRules({{"", "1", "X"}})),
              "A; 2: 12.1, D1.1, \r\n\r\n");
}

} // namespace
} // namespace lintora
