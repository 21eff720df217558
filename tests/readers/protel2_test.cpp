#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::readFile;

std::string partsOf(const std::string& components) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net",
                    "PROTEL NETLIST 2.0\r\n" + components + "(\r\nGND\r\nU1-7\r\n)\r\n");

    ReaderResult result = readProtel2(sw.ws, (sw.dir / "in.net").string());
    EXPECT_EQ(result, ReaderResult::Recognised);
    return readFile(sw.dir / "parts.tmp");
}

TEST(Protel2Reader, KeywordLinesNameTheValueOnTheNextLine) {
    // Further attribute lines (as exporters add them) are passed over; quotes and blanks
    // are dropped from values.
    EXPECT_EQ(partsOf("[\r\nDesignator\r\n\"U1\"\r\nFootprint\r\nDIP 14\r\nPartType\r\n"
                      "74LS00\r\nDescription\r\nQuad NAND\r\nSupplier\r\nACME\r\n]\r\n"),
              crlfText({"! 74LS00; U1: DIP14? ", ""}));
}

TEST(Protel2Reader, EachBlockKeepsItsOwnValuesWhateverTheKeywordOrder) {
    // The part type comes first in the second block: it still gets its own designator and
    // footprint, and the third block, without a footprint, inherits none.
    EXPECT_EQ(partsOf("[\r\nDESIGNATOR\r\nU1\r\nFOOTPRINT\r\nDIP14\r\nPARTTYPE\r\n74LS00\r\n]\r\n"
                      "[\r\nPARTTYPE\r\n10K\r\nDESIGNATOR\r\nR1\r\nFOOTPRINT\r\n0603\r\n]\r\n"
                      "[\r\nDESIGNATOR\r\nR2\r\nPARTTYPE\r\n22K\r\n]\r\n"),
              crlfText({"! 74LS00; U1: DIP14? ", "! 10K; R1: 0603? ", "! 22K; R2: ? ", ""}));
}

TEST(Protel2Reader, ABlockWithoutClosingBracketIsWrittenWhenTheNextOneOpens) {
    EXPECT_EQ(partsOf("[\r\nDESIGNATOR\r\nU1\r\nPARTTYPE\r\n74LS00\r\n"
                      "[\r\nDESIGNATOR\r\nU2\r\nPARTTYPE\r\n74LS04\r\n"),
              crlfText({"! 74LS00; U1: ? ", "! 74LS04; U2: ? ", ""}));
}

TEST(Protel2Reader, APartWithoutAPartTypeIsKept) {
    // An empty part type line, or none at all: the part still pairs by its designator.
    EXPECT_EQ(partsOf("[\r\nDESIGNATOR\r\nJ1\r\nFOOTPRINT\r\nCONN2\r\nPARTTYPE\r\n\r\n]\r\n"
                      "[\r\nDESIGNATOR\r\nTP1\r\n]\r\n"
                      "[\r\nFOOTPRINT\r\nX\r\n]\r\n"),
              crlfText({"! ; J1: CONN2? ", "! ; TP1: ? ", ""}));
}

} // namespace
} // namespace lintora
