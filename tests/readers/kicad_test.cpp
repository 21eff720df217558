#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace lintora {
namespace {

test::Conversion convert(std::string_view text) {
    return test::convertWith(&readKicad, text, "input.net");
}

// The same in one workspace for many inputs, as the survival tests convert thousands.
class Survival {
public:
    void operator()(std::string_view text) {
        test::writeFile(m_sw.dir / "input.net", text);
        readKicad(m_sw.ws, (m_sw.dir / "input.net").string());
    }

private:
    test::ScratchWorkspace m_sw;
};

test::Conversion convertFile(std::string_view name) {
    return convert(
        test::readFile(test::dataFile(std::string("readers/kicad/") + std::string(name))));
}

TEST(KicadReader, ReadsTheQuotedFormAndPassesOverEveryOtherList) {
    const auto c = convertFile("board.net");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    // The footprint without its library; the libparts' (pin (num ...)) and the fields'
    // (name ...) are no pins and no net names.
    EXPECT_EQ(c.parts, test::writtenFile({"! 74LS00; U1: DIP14? ", "! 74LS00; U2: DIP14? ",
                                          "! 10K; R1: R_0603? ", "! 0.1UF; C1: C_0603? ",
                                          "! CONN_01X02; J1: PINHEADER_1X02? "}));
    // One-pin nets stay; the "unconnected-(" mark of a pin left open on purpose goes.
    EXPECT_EQ(c.net, test::writtenFile({"GND; 4: U1.7, U2.7, C1.2, J1.2, ",
                                        "/POWER/VCC; 5: U1.14, U2.14, C1.1, R1.1, J1.1, ",
                                        "CLK; 3: U1.3, U2.1, R1.2, ", "OUT; 2: U1.1, U2.3, ",
                                        "NET-(U2-PAD6); 1: U2.6, "}));
}

TEST(KicadReader, ReadsTheOlderBareFormAndAnEmptyValue) {
    const auto c = convertFile("version_d.net");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.parts, test::writtenFile({"! BSS138; Q1: SOT-23? ", "! ; TP1: ? "}));
    EXPECT_EQ(c.net, test::writtenFile({"/GATE; 2: Q1.G, TP1.1, ", "GND; 1: Q1.S, ",
                                        "NET-(Q1-PADD); 1: Q1.D, "}));
}

TEST(KicadReader, SeparatorsInNamesAndEscapesInQuotedAtomsKeepEveryLineWhole) {
    const auto c =
        convert("(export (version \"E\")\n"
                " (components (comp (ref \"R;1\") (value \"1k:1%, \\\"x\\\"!?\")"
                " (footprint \"Lib:Sub:R:0603\")))\n"
                " (nets (net (code \"1\") (name \"/a:b,c;d!\")\n"
                "  (node (ref \"R;1\") (pin \"1,2\")) (node (ref \"U\\\\1\") (pin \"A 1\")))))\n");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.parts, test::writtenFile({"! 1K：1%, \"X\"！？; R；1: 0603? "}));
    // A blank inside a pin stays: the splitter of every net line drops it.
    EXPECT_EQ(c.net, test::writtenFile({"/A：B，C；D!; 2: R；1.1，2, U\\1.A 1, "}));
}

TEST(KicadReader, AFileThatIsNotAKicadNetlistIsRefusedAndNothingIsWritten) {
    for (const char* text : {"", "(kicad_sch (version 20231120))", "$PACKAGES\r\n$NETS\r\n",
                             "export (nets)", ")(export"}) {
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.result, ReaderResult::NotRecognised);
        EXPECT_EQ(c.hides, 1);
        EXPECT_EQ(c.net, "(none)");
        EXPECT_EQ(c.parts, "(none)");
    }
}

TEST(KicadReader, ATruncatedFileKeepsWhatItClosed) {
    // Cut inside the third net: the nets and parts closed before stay, the open one goes.
    const std::string board = test::readFile(test::dataFile("readers/kicad/board.net"));
    const auto c = convert(board.substr(0, board.find("(node (ref \"R1\") (pin \"2\")")));
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(test::crlfLines(c.parts).size(), 6u);
    EXPECT_EQ(c.net, test::writtenFile({"GND; 4: U1.7, U2.7, C1.2, J1.2, ",
                                        "/POWER/VCC; 5: U1.14, U2.14, C1.1, R1.1, J1.1, "}));
    // Text after the export list is not read.
    EXPECT_EQ(convert("(export (nets (net (name A) (node (ref U1) (pin 1)))))\n"
                      "(nets (net (name B) (node (ref U2) (pin 1))))")
                  .net,
              test::writtenFile({"A; 1: U1.1, "}));
}

TEST(KicadReader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/kicad/board.net", "KiCad", "readers/kicad/board.tel");
}

TEST(KicadReader, SurvivesTruncatedGarbledDeepAndHugeInput) {
    const std::vector<std::string> pieces{
        "(",           ")",     "(export", "(nets", "(net", "(name", "(node", "(ref", "(pin",
        "(components", "(comp", "\"",      "\\",    " ",    "\n",    "\r",    "U1",   "~"};
    std::vector<std::string> inputs = test::randomSoups(pieces, 50, 300, 11);
    inputs.push_back("(export " + std::string(50000, '('));
    inputs.push_back("(export (nets (net (name \"" + std::string(50000, '\\'));
    Survival survival;
    test::convertSurvivingEach(std::ref(survival), inputs,
                               test::readFile(test::dataFile("readers/kicad/version_d.net")));

    std::string hugeNet = "(export (nets (net (name BIG)";
    for (int i = 0; i < 20000; ++i)
        hugeNet += " (node (ref U" + std::to_string(i) + ") (pin 1))";
    EXPECT_THROW(convert(hugeNet + ")))"), CapacityExceeded);
}

} // namespace
} // namespace lintora
