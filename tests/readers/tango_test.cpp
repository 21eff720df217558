#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::readFile;

std::string partsOf(const std::string& components) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net", components + "(\r\nGND\r\nU1-7\r\n)\r\n");

    ReaderResult result = readTango(sw.ws, (sw.dir / "in.net").string());
    EXPECT_EQ(result, ReaderResult::Recognised);
    return readFile(sw.dir / "parts.tmp");
}

TEST(TangoReader, AComponentBlockIsDesignatorFootprintAndPartName) {
    EXPECT_EQ(partsOf("[\r\nU1\r\nDIP14\r\n74ls00\r\nQUAD NAND\r\nGATE\r\n]\r\n"
                      "[\r\nR1\r\n0603\r\n10K\r\n]\r\n"),
              crlfText({"! 74LS00; U1: DIP14? ", "! 10K; R1: 0603? ", ""}));
}

TEST(TangoReader, QuotesBlanksAndClosingParenthesesAreDroppedFromValues) {
    EXPECT_EQ(partsOf("[\r\n\"U1\"\r\n\"DIP 14\"\r\n\"74LS00)\"\r\n]\r\n"),
              crlfText({"! 74LS00; U1: DIP14? ", ""}));
}

TEST(TangoReader, ALineBeginningWithAnOpeningBracketStartsTheNets) {
    // "(GND" opens the nets; what follows it on that line is not read.
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net",
                    "[\r\nU1\r\nDIP14\r\n74LS00\r\n]\r\n(GND\r\nVCC\r\nU1-14\r\n)\r\n");

    ReaderResult result = readTango(sw.ws, (sw.dir / "in.net").string());
    EXPECT_EQ(result, ReaderResult::Recognised);
    EXPECT_EQ(readFile(sw.dir / "net.tmp"), crlfText({"VCC; 1: U1.14, ", ""}));
}

TEST(TangoReader, AnEmptyPartNameLineStillGivesThePart) {
    EXPECT_EQ(partsOf("[\r\nJ1\r\nCONN2\r\n\r\n]\r\n[\r\nR1\r\n0603\r\n10K\r\n]\r\n"),
              crlfText({"! ; J1: CONN2? ", "! 10K; R1: 0603? ", ""}));
}

} // namespace
} // namespace lintora
