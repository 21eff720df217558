#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace lintora {
namespace {

test::Conversion convert(std::string_view text) {
    return test::convertWith(&readOrcadPcb2, text, "input.net");
}

// The same in one workspace for many inputs, as the survival tests convert thousands.
class Survival {
public:
    void operator()(std::string_view text) {
        test::writeFile(m_sw.dir / "input.net", text);
        readOrcadPcb2(m_sw.ws, (m_sw.dir / "input.net").string());
    }

private:
    test::ScratchWorkspace m_sw;
};

TEST(OrcadPcb2Reader, ReadsComponentBlocksAndGathersTheirPinsByNet) {
    const auto c = convert(test::readFile(test::dataFile("readers/orcad_pcb2/board.net")));
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    // "$noname" is no footprint, a library before ":" is left out, and a comment may span
    // lines.
    EXPECT_EQ(c.parts,
              test::writtenFile({"! 74LS00; U1: DIP14? ", "! 74LS00; U2: DIP14? ", "! 10K; R1: ? ",
                                 "! 0.1UF; C1: C_0603? ", "! CONN_01X02; J1: PINHEADER_1X02? "}));
    // Nets in the order their names first appear; "?" is no net; the pin list after the
    // components (with its X9.9) is not read; "Net-(U2-Pad6)" keeps its parentheses.
    EXPECT_EQ(c.net, test::writtenFile({"OUT; 2: U1.1, U2.3, ", "CLK; 3: U1.3, U2.1, R1.2, ",
                                        "GND; 4: U1.7, U2.7, C1.2, J1.2, ",
                                        "/POWER/VCC; 5: U1.14, U2.14, R1.1, C1.1, J1.1, ",
                                        "NET-(U2-PAD6); 1: U2.6, "}));
}

TEST(OrcadPcb2Reader, ShortHeadersSeparatorsAndNestedLists) {
    // OrCAD Capture writes no braces; a header without a value gives an empty part name, one
    // without a reference no part and no pins; a list inside a pin entry adds nothing.
    const auto c =
        convert("(\r\n ( 00000001 DIP14 U1 74LS00\r\n  ( 1 A;B ) ( 2 ( X Y ) A;B )\r\n )\r\n"
                " ( 00000002 SIP2 R:1\r\n  ( 1 A;B )\r\n )\r\n"
                " ( 00000003 SIP2\r\n  ( 1 A;B )\r\n )\r\n)\r\n");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.parts, test::writtenFile({"! 74LS00; U1: DIP14? ", "! ; R：1: SIP2? "}));
    EXPECT_EQ(c.net, test::writtenFile({"A；B; 3: U1.1, U1.2, R：1.1, "}));
}

TEST(OrcadPcb2Reader, AFileWithoutComponentBlocksIsRefused) {
    for (const char* text :
         {"", "# EESchema Netlist\r\n", "(export (version D))\r\n", "$PACKAGES\r\n$NETS\r\n",
          "[\r\nU1\r\n]\r\n(\r\nGND\r\nU1-1\r\n)\r\n", "( { comment only } )\r\n", ")\r\n"}) {
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.result, ReaderResult::NotRecognised);
        EXPECT_EQ(c.hides, 1);
        EXPECT_EQ(c.net, "(none)");
    }
    // A file cut off inside a block keeps the pins read so far.
    EXPECT_EQ(convert("( ( 1 DIP U1 X\r\n ( 1 N1 )\r\n ( 2 N1").net,
              test::writtenFile({"N1; 1: U1.1, "}));
}

TEST(OrcadPcb2Reader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/orcad_pcb2/board.net", "OrCAD PCB II",
                                     "readers/orcad_pcb2/board.tel");
}

TEST(OrcadPcb2Reader, SurvivesTruncatedGarbledDeepAndHugeInput) {
    const std::vector<std::string> pieces{"(",  ")", "{",  "}",       "#",      " ", "\r\n",
                                          "\n", "?", "U1", "$noname", "Lib:Fp", "電"};
    std::vector<std::string> inputs;
    for (const auto& soup : test::randomSoups(pieces, 50, 300, 19))
        inputs.push_back("( ( " + soup);
    std::string deep = "( ( 1 F U1 V";
    for (int i = 0; i < 50000; ++i)
        deep += " (";
    inputs.push_back(deep);
    Survival survival;
    test::convertSurvivingEach(std::ref(survival), inputs,
                               test::readFile(test::dataFile("readers/orcad_pcb2/board.net")));
    std::string hugeNet = "(\r\n";
    for (int i = 0; i < 20000; ++i)
        hugeNet += " ( 1 F U" + std::to_string(i) + " V\r\n  ( 1 BIG )\r\n )\r\n";
    EXPECT_THROW(convert(hugeNet + ")\r\n"), CapacityExceeded);
}

} // namespace
} // namespace lintora
