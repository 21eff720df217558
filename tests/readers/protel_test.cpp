#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::readFile;

std::string partsOf(const std::string& components, ReaderResult* readerResult = nullptr) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net", components + "(\r\nGND\r\nU1-7\r\n)\r\n");
    const ReaderResult result = readProtel(sw.ws, (sw.dir / "in.net").string());
    if (readerResult != nullptr)
        *readerResult = result;
    return readFile(sw.dir / "parts.tmp");
}

TEST(ProtelReader, AComponentBlockIsDesignatorFootprintPartNameAndDescription) {
    ReaderResult result = ReaderResult::NotRecognised;
    EXPECT_EQ(partsOf("[\r\nU1\r\nDIP14\r\n74ls00\r\nQUAD NAND\r\nEXTRA\r\n\r\n]\r\n"
                      "[\r\nR1\r\n0603\r\n10 K\r\n\r\n]\r\n",
                      &result),
              crlfText({"! 74LS00; U1: DIP14? ", "! 10 K; R1: 0603? ", ""}));
    EXPECT_EQ(result, ReaderResult::Recognised);
}

TEST(ProtelReader, ABlockWithFewerThanFourLinesTakesItsBracketAsDataAndYieldsNoPart) {
    // "]" becomes the part name of the short block; the next "]" then closes nothing.
    EXPECT_EQ(partsOf("[\r\nU1\r\nDIP14\r\n]\r\n[\r\nR1\r\n0603\r\n10K\r\nRES\r\n]\r\n"),
              crlfText({"! 10K; R1: 0603? ", ""}));
}

} // namespace
} // namespace lintora
