#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

std::string written(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

TEST(Pads2000Reader, KeepsPartsBeforePartKeywordAndReadsRemarkAsData) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "input.asc", "*remark* HELLO\r\nR1 10K\r\n*PART*\r\nC1 1UF\r\n"
                                          "*NET*\r\n*SIGNAL* N1\r\nR1.1 C1.1\r\n");

    ReaderResult result = readPads2000(sw.ws, (sw.dir / "input.asc").string());
    EXPECT_EQ(result, ReaderResult::Recognised);
    EXPECT_EQ(test::readFile(sw.dir / "parts.tmp"),
              written({"! HELLO; *REMARK*: HELLO? ", "! 10K; R1: 10K? ", "! 1UF; C1: 1UF? "}));
    EXPECT_EQ(test::readFile(sw.dir / "net.tmp"), written({"N1; 2: R1.1, C1.1, "}));
}

TEST(Pads2000Reader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/pads2000/board.asc", "PADS2000",
                                     "readers/pads2000/board.tel");
}

} // namespace
} // namespace lintora
