#include "base/text_hash.h"
#include "run/net_compare.h"
#include "support/literal_net_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace lintora {
namespace {

using Pins = std::vector<std::string>;

NetComparison compareLines(const std::vector<std::string>& lines1,
                           const std::vector<std::string>& lines2, long threshold) {
    FieldArray fields;
    NetList side1;
    NetList side2;
    for (const auto& line : lines1)
        side1.add(fields, line);
    for (const auto& line : lines2)
        side2.add(fields, line);
    return pairSimilarNets(side1, side2, dropIdenticalNets(side1, side2), threshold);
}


TEST(NetList, ReadsAFileLikeTheSplitterReadsEachLine) {
    const std::vector<std::string> lines{
        "GND; 2: U1.7, U2.7, ", "N0; 0: ", "; 1: A.1, ",      // as the writer makes them
        "A B; 1: U 1.1, ", "N1;2:R1.1,", "N; 3: A, B, ",      // other forms: the splitter decides
        "X; 1: P, Q, ", "Y; 2: A:B, C, ", "Z; 1x: P, ", "W; 1: P,, "};
    std::string file;
    for (const auto& line : lines)
        file += line + "\r\n";
    file += "\r\nAFTER; 1: IGNORED, \r\n";
    FieldArray fields;
    const NetList fromFile(file, fields, 100);
    NetList oneByOne;
    for (const auto& line : lines)
        oneByOne.add(fields, line);
    ASSERT_EQ(fromFile.size(), lines.size());
    for (std::size_t n = 0; n < lines.size(); ++n) {
        SCOPED_TRACE(lines[n]);
        EXPECT_EQ(fromFile.line(n), oneByOne.line(n));
        ASSERT_EQ(fromFile.pinCount(n), oneByOne.pinCount(n));
        for (std::size_t i = 0; i < fromFile.pinCount(n); ++i)
            EXPECT_EQ(fromFile.pinHash(n, i), hashText(oneByOne.pin(n, i)));
    }
    EXPECT_THROW(NetList(file, fields, 5), CapacityExceeded);
}

TEST(NetComparison, SameConnectionsUnderOtherNamesAreIdentical) {
    const auto result = compareLines({"GND; 2: U1.7, U2.7, ", "VCC; 2: U1.14, U2.14, "},
                                     {"N$1; 2: U1.14, U2.14, ", "N$2; 2: U1.7, U2.7, "}, 49);
    EXPECT_TRUE(result.identical());
}

TEST(NetComparison, NetsSharingMoreThanTheThresholdBecomeOneDifferenceBlock) {
    const std::vector<std::string> side1{"N1; 3: R1.1, R2.1, U1.3, "};
    const std::vector<std::string> side2{"N1; 3: R1.1, R2.1, U1.4, "};
    const auto at49 = compareLines(side1, side2, 49);
    ASSERT_EQ(at49.differences.size(), 1u);
    const DifferenceBlock& block = at49.differences[0];
    EXPECT_EQ(block.name1, "N1");
    EXPECT_EQ(block.name2, "N1");
    EXPECT_EQ(block.only1, Pins{"U1.3"});
    EXPECT_EQ(block.only2, Pins{"U1.4"});
    EXPECT_EQ(block.shared, (Pins{"R1.1", "R2.1"}));
    EXPECT_TRUE(at49.unpaired1.empty());

    // 2 shared pins are not more than 70 % of 3 (2.1): both nets stay unpaired.
    const auto at70 = compareLines(side1, side2, 70);
    EXPECT_TRUE(at70.differences.empty());
    EXPECT_EQ(at70.unpaired1, side1);
    EXPECT_EQ(at70.unpaired2, side2);
}

TEST(NetComparison, TheThresholdIsStrict) {
    const std::vector<std::string> side1{"A; 2: P1.1, P2.1, "};
    const std::vector<std::string> side2{"B; 2: P1.1, P3.1, "};
    EXPECT_EQ(compareLines(side1, side2, 49).differences.size(), 1u); // 1 > 0.98
    EXPECT_EQ(compareLines(side1, side2, 50).differences.size(), 0u); // 1 is not > 1.0
    EXPECT_EQ(compareLines(side1, side2, 0).differences.size(), 1u);
    EXPECT_EQ(compareLines(side1, side2, -5).differences.size(), 1u);
    EXPECT_EQ(compareLines({"A; 1: P1.1, "}, {"B; 2: P1.1, P1.1, "}, 100).differences.size(),
              0u);
}

TEST(NetComparison, ASubsetNetListsOnlyTheExtraPinsOfTheLargerNet) {
    const auto result =
        compareLines({"BIG; 4: A.1, B.1, C.1, D.1, "}, {"SMALL; 3: A.1, B.1, C.1, "}, 49);
    ASSERT_EQ(result.differences.size(), 1u);
    EXPECT_EQ(result.differences[0].only1, Pins{"D.1"});
    EXPECT_TRUE(result.differences[0].only2.empty());
}

TEST(NetComparison, EqualNetsOnOneSideAllMatchTheFirstEqualNetOfTheOther) {
    // Two equal side-1 nets both count as identical to one side-2 net.
    EXPECT_TRUE(compareLines({"A; 1: P.1, ", "B; 1: P.1, "}, {"C; 1: P.1, "}, 49).identical());
    // One side-1 net matches the first of two equal side-2 nets; the second stays.
    const auto result = compareLines({"A; 1: P.1, "}, {"C; 1: P.1, ", "D; 1: P.1, "}, 49);
    EXPECT_EQ(result.unpaired2, std::vector<std::string>{"D; 1: P.1, "});
}

TEST(NetComparison, EachSideOneNetTakesTheFirstAcceptablePartnerNotTheBest) {
    const auto result =
        compareLines({"A; 3: P.1, P.2, P.3, "}, {"X; 3: P.1, P.2, Q.9, ", "Y; 4: P.1, P.2, P.3, Q.8, "},
                     49);
    ASSERT_EQ(result.differences.size(), 1u);
    EXPECT_EQ(result.differences[0].name2, "X");
}

TEST(NetComparison, PinsPairOneToOne) {
    const auto result = compareLines({"A; 3: P.1, P.1, Q.1, "}, {"B; 2: P.1, Q.1, "}, 49);
    ASSERT_EQ(result.differences.size(), 1u);
    EXPECT_EQ(result.differences[0].shared, (Pins{"P.1", "Q.1"}));
    EXPECT_EQ(result.differences[0].only1, Pins{"P.1"});
}

TEST(NetComparison, NamesAndPinsThatLookLikeMarksAreOrdinaryData) {
    // A net called "*" is compared like any other, and a pin called "-" is just a pin.
    const auto result = compareLines({"*; 2: -, U1.1, "}, {"N; 2: -, U1.2, "}, 49);
    ASSERT_EQ(result.differences.size(), 1u);
    EXPECT_EQ(result.differences[0].name1, "*");
    EXPECT_EQ(result.differences[0].shared, Pins{"-"});
}

TEST(NetComparison, ANetWithAnEmptyNameDoesNotEndItsSidesList) {
    const auto result = compareLines({"; 1: A.1, ", "Z; 1: B.1, "}, {"Q; 1: C.1, "}, 49);
    EXPECT_EQ(result.unpaired1, (std::vector<std::string>{"; 1: A.1, ", "Z; 1: B.1, "}));
}

// Random sorted net files with the situations that make the comparison subtle: shared
// pins, pins twice in a net, equal bodies on either side, empty and repeated names.
class RandomBoard {
public:
    explicit RandomBoard(unsigned seed) : m_random(seed) {}

    std::pair<std::vector<std::string>, std::vector<std::string>> sides() {
        std::vector<Pins> nets1;
        const int netCount = pick(0, 14);
        for (int i = 0; i < netCount; ++i)
            nets1.push_back(randomPins());
        std::vector<Pins> nets2;
        for (const Pins& net : nets1) {
            switch (pick(0, 5)) {
            case 0: // missing on side 2
                break;
            case 1: // moved pins
            {
                Pins changed = net;
                if (!changed.empty())
                    changed[static_cast<std::size_t>(pick(0, static_cast<int>(changed.size()) - 1))] = randomPin();
                if (pick(0, 1))
                    changed.push_back(randomPin());
                nets2.push_back(changed);
                break;
            }
            case 2: // twice on side 2
                nets2.push_back(net);
                nets2.push_back(net);
                break;
            default:
                nets2.push_back(net);
            }
        }
        for (int i = pick(0, 4); i > 0; --i)
            nets2.push_back(randomPins());
        if (pick(0, 3) == 0 && !nets1.empty())
            nets1.push_back(nets1.front()); // equal bodies on side 1
        return {sortedLines(nets1), sortedLines(nets2)};
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }
    std::string randomPin() {
        return "U" + std::to_string(pick(1, 4)) + "." + std::to_string(pick(1, 6));
    }
    Pins randomPins() {
        Pins pins;
        for (int i = pick(0, 6); i > 0; --i)
            pins.push_back(randomPin());
        return pins;
    }
    std::vector<std::string> sortedLines(std::vector<Pins> nets) {
        std::vector<std::string> lines;
        for (Pins& pins : nets) {
            std::sort(pins.begin(), pins.end());
            const int n = pick(0, 7);
            std::string line = n == 0 ? "" : "N" + std::to_string(n);
            line += "; " + std::to_string(pins.size()) + ": ";
            for (const auto& pin : pins)
                line += pin + ", ";
            lines.push_back(line);
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    std::mt19937 m_random;
};

TEST(NetComparison, AgreesWithTheLiteralComparisonOnRandomBoards) {
    for (unsigned seed = 1; seed <= 4000; ++seed) {
        RandomBoard board(seed);
        const auto [lines1, lines2] = board.sides();
        for (const long threshold : {0L, 49L, 50L, 70L, 100L, -20L}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " threshold " + std::to_string(threshold));
            const test::LiteralComparison expected = test::literalCompareNets(lines1, lines2, threshold);
            const NetComparison actual = compareLines(lines1, lines2, threshold);
            ASSERT_EQ(actual.differences.size(), expected.differences.size());
            for (std::size_t i = 0; i < expected.differences.size(); ++i) {
                EXPECT_EQ(actual.differences[i].name1, expected.differences[i].name1);
                EXPECT_EQ(actual.differences[i].name2, expected.differences[i].name2);
                EXPECT_EQ(actual.differences[i].only1, expected.differences[i].only1);
                EXPECT_EQ(actual.differences[i].only2, expected.differences[i].only2);
                EXPECT_EQ(actual.differences[i].shared, expected.differences[i].shared);
            }
            ASSERT_EQ(actual.unpaired1, expected.unpaired1);
            ASSERT_EQ(actual.unpaired2, expected.unpaired2);
        }
    }
}

} // namespace
} // namespace lintora
