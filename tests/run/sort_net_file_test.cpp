#include "base/errors.h"
#include "run/sort_net_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

std::string sortNetFile(std::string_view netTmp) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "net.tmp", netTmp);
    std::string sorted;
    sortNetFile(sw.ws, sorted);
    return sorted;
}

TEST(StringSort, SortsARangeInBinaryOrderAndLeavesTheRestAlone) {
    std::vector<std::string> values{"z", "U1.2", "U1.10", "A;", "A1;", "a", "Z"};
    sortStringRange(values, 1, 5, 0);
    EXPECT_EQ(values, (std::vector<std::string>{"z", "A1;", "A;", "U1.10", "U1.2", "a", "Z"}));
    std::vector<std::string> one{"b", "a"};
    sortStringRange(one, 1, 1, 0);
    sortStringRange(one, 1, 0, 0);
    EXPECT_EQ(one, (std::vector<std::string>{"b", "a"}));
}

TEST(StringSort, AnAlreadySortedLargeRangeDoesNotRecurseDeeply) {
    std::vector<std::string> values;
    for (int i = 0; i < 200000; ++i)
        values.push_back(std::string(1, 'A') + std::to_string(1000000 + i));
    sortStringRange(values, 0, static_cast<long>(values.size()) - 1, 0);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
}

TEST(NetFileSort, SortsPinsInsideEachNetAndThenTheNets) {
    EXPECT_EQ(sortNetFile("B; 2: U2.1, U1.3, \r\nA; 1: R1.1, \r\n\r\n"),
              "A; 1: R1.1, \r\nB; 2: U1.3, U2.1, \r\n");
    EXPECT_EQ(sortNetFile("N; 3: IC1.10, IC1.9, IC1.1, \r\n\r\n"),
              "N; 3: IC1.1, IC1.10, IC1.9, \r\n");
}

TEST(NetFileSort, DropsBlanksKeepsSameNamedNetsAndStopsAtTheFirstEmptyLine) {
    EXPECT_EQ(
        sortNetFile("MY NET; 1: U 1.1, \r\nG; 1: B.1, \r\nG; 1: A.1, \r\n\r\nX; 1: Z.1, \r\n"),
        "G; 1: A.1, \r\nG; 1: B.1, \r\nMYNET; 1: U1.1, \r\n");
    EXPECT_EQ(sortNetFile("\r\n"), "");
}

TEST(NetFileSort, MoreNetsThanASideHoldsIsACapacityFailure) {
    test::ScratchWorkspace sw;
    sw.ws.limits.sideSlots = 4; // three nets and the empty line after them
    test::writeFile(sw.dir / "net.tmp", "A; 0: \r\nB; 0: \r\nC; 0: \r\n\r\n");
    std::string sorted;
    EXPECT_NO_THROW(sortNetFile(sw.ws, sorted));
    test::writeFile(sw.dir / "net.tmp", "A; 0: \r\nB; 0: \r\nC; 0: \r\nD; 0: \r\n\r\n");
    EXPECT_THROW(sortNetFile(sw.ws, sorted), CapacityExceeded);
}

TEST(NetFileSort, AMissingNetFileIsAFileNotFoundFailure) {
    test::ScratchWorkspace sw;
    std::string sorted;
    EXPECT_THROW(sortNetFile(sw.ws, sorted), FileNotFound);
}

} // namespace
} // namespace lintora
