#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace lintora {
namespace {

test::Conversion convert(std::string_view text) {
    return test::convertWith(&readGeda, text, "input.geda");
}

// The same in one workspace for many inputs, as the survival tests convert thousands.
class Survival {
public:
    void operator()(std::string_view text) {
        test::writeFile(m_sw.dir / "input.geda", text);
        readGeda(m_sw.ws, (m_sw.dir / "input.geda").string());
    }

private:
    test::ScratchWorkspace m_sw;
};

TEST(GedaReader, ReadsComponentsAndTheNetsSectionOnly) {
    const auto c = convert(test::readFile(test::dataFile("readers/geda/board.geda")));
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.parts,
              test::writtenFile({"! 74LS00; U1: ? ", "! 74LS00; U2: ? ", "! RESISTOR; R1: ? ",
                                 "! CAPACITOR; C1: ? ", "! CONNECTOR_2; J1: ? "}));
    // The no-connect nets are not nets; the graphical symbol without a reference is no part.
    EXPECT_EQ(c.net, test::writtenFile({"GND; 4: C1.2, J1.2, U1.7, U2.7, ",
                                        "/POWER/VCC; 5: C1.1, J1.1, R1.1, U1.14, U2.14, ",
                                        "CLK; 3: R1.2, U1.3, U2.1, ", "OUT; 2: U1.1, U2.3, ",
                                        "UNNAMED_NET1; 1: U2.6, "}));
}

TEST(GedaReader, OddLinesAddNothingAndSeparatorsAreReplaced) {
    const auto c = convert("START components\r\nU1\r\nR1 value=10k\r\nQ:1 device=NPN?\r\n"
                           "END components\r\nSTART nets\r\nno separator here\r\n"
                           "A;B : U1 1, R1, , Q:1 B,C\r\n : U2 1\r\nEND nets\r\nX : U9 9\r\n");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.parts, test::writtenFile({"! ; R1: ? ", "! NPN？; Q：1: ? "}));
    // "," separates pins, so a pin holds none; an entry without a pin adds nothing.
    EXPECT_EQ(c.net, test::writtenFile({"A；B; 2: U1.1, Q：1.B, ", "; 1: U2.1, "}));
}

TEST(GedaReader, AFileWithoutANetsSectionIsRefused) {
    for (const char* text : {"", "START components\r\nU1 device=X\r\nEND components\r\n",
                             "$PACKAGES\r\n$NETS\r\nGND ; U1.7\r\n", "START netsX\r\n"}) {
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.result, ReaderResult::NotRecognised);
        EXPECT_EQ(c.hides, 1);
        EXPECT_EQ(c.net, "(none)");
    }
    // Cut off before "END nets", it keeps the nets it read.
    EXPECT_EQ(convert("START nets\nA : U1 1\nB : U2").net,
              test::writtenFile({"A; 1: U1.1, ", "B; 0: "}));
}

TEST(GedaReader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/geda/board.geda", "gEDA", "readers/geda/board.tel");
}

TEST(GedaReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::vector<std::string> pieces{"START nets",
                                          "END nets",
                                          "START components",
                                          "END components",
                                          " : ",
                                          ",",
                                          " ",
                                          "\r\n",
                                          "\n",
                                          "U1 1",
                                          "device=",
                                          "電"};
    Survival survival;
    test::convertSurvivingEach(std::ref(survival), test::randomSoups(pieces, 50, 300, 23),
                               test::readFile(test::dataFile("readers/geda/board.geda")));
    std::string hugeNet = "START nets\nBIG : U0 1";
    for (int i = 1; i < 20000; ++i)
        hugeNet += ", U" + std::to_string(i) + " 1";
    EXPECT_THROW(convert(hugeNet + "\n"), CapacityExceeded);
}

} // namespace
} // namespace lintora
