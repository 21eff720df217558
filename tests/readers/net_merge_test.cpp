#include "readers/net_merge.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;

struct Line {
    std::string name;
    std::size_t pinCount;
    std::string pins;
};

std::string merged(const std::vector<Line>& lines, Limits limits = Limits{}) {
    SilentObserver observer;
    Workspace ws{std::filesystem::temp_directory_path(), limits, TextEncoding::Utf8, observer};
    NetMerger merger(ws, 0);
    for (const Line& line : lines)
        merger.add(line.name, line.pinCount, line.pins);
    std::string text;
    merger.appendTo(text);
    return text;
}

TEST(NetMerger, LinesOfOneNameBecomeOneNetWhereTheNameFirstCame) {
    EXPECT_EQ(merged({{"GND", 2, "U1.7, U2.7, "}, {"VCC", 1, "U1.14, "}, {"GND", 1, "U3.7, "}}),
              crlfText({"GND; 3: U1.7, U2.7, U3.7, ", "VCC; 1: U1.14, "}));
    EXPECT_EQ(merged({}), "");
}

TEST(NetMerger, NamesAndPinsHoldingTheSplittersMarksAreTakenAsTheSplitterReadsThem) {
    // "A B" is the net AB; a net of one line is written as it came. "Q:" leaves no name of
    // its own to the splitter, which keeps the name of the line before. "T;1" names the net
    // T, which is not S.
    EXPECT_EQ(merged({{"A B", 1, "P.1, "},
                      {"N", 2, "X.1,Y.1, "},
                      {"AB", 1, "P.2, "},
                      {"Q", 1, "R.1, "},
                      {"Q:", 1, "R.2, "},
                      {"S", 1, "T;1, "},
                      {"S", 1, "T.2, "}}),
              crlfText({"AB; 2: P.1, P.2, ", "N; 2: X.1,Y.1, ", "Q; 2: R.1, R.2, ", "S; 1: T;1, ",
                        "S; 1: T.2, "}));
    EXPECT_EQ(merged({{"A B", 1, "P.1, "}}), crlfText({"A B; 1: P.1, "}));
}

TEST(NetMerger, TheFirstCapacityFailureIsKeptUntilTheNetsAreAskedFor) {
    SilentObserver observer;
    Limits limits;
    limits.sideSlots = 3; // three lines, two names
    Workspace ws{std::filesystem::temp_directory_path(), limits, TextEncoding::Utf8, observer};
    NetMerger merger(ws, 0);
    merger.add("A", 1, "P.1, ");
    merger.add("B", 1, "P.2, ");
    merger.add("C", 1, "P.3, "); // a third name
    merger.add("A", 1, "P.4, "); // a fourth line, ignored
    EXPECT_THROW(merger.catchUp(), CapacityExceeded);
    std::string text;
    try {
        merger.appendTo(text);
        FAIL() << "no capacity failure";
    } catch (const CapacityExceeded& e) {
        EXPECT_STREQ(e.what(), "capacity exceeded: merged nets");
    }
    Limits tight;
    tight.fieldSlots = 4; // a line of two pins fills slots 0 to 4 when it is split
    EXPECT_THROW(merged({{"A", 2, "P.1, P.2, "}}, tight), CapacityExceeded);
}

TEST(NameTable, NumbersNamesInTheOrderTheyFirstCameAsTheTableGrows) {
    NameTable names;
    const auto nameOf = [](std::size_t i) {
        return i == 0 ? std::string() : "N" + std::to_string(i * 7);
    };
    for (std::size_t i = 0; i < 20000; ++i) {
        const auto [number, isNew] = names.insert(nameOf(i));
        ASSERT_TRUE(isNew);
        ASSERT_EQ(number, i);
    }
    for (std::size_t i = 0; i < 20000; ++i) {
        const auto [number, isNew] = names.insert(nameOf(i));
        ASSERT_FALSE(isNew);
        ASSERT_EQ(number, i);
        ASSERT_EQ(names.name(i), nameOf(i));
    }
    EXPECT_EQ(names.size(), 20000u);
}

TEST(NetMergeText, ByteSearchesFindTheFirstOfTheirBytes) {
    constexpr ByteSet set(",;");
    for (std::size_t size = 0; size < 40; ++size) {
        for (std::size_t at = 0; at <= size; ++at) {
            std::string text(size, 'x');
            if (at < size)
                text[at] = at % 2 == 0 ? ',' : ';';
            if (at + 3 < size)
                text[at + 3] = ',';
            SCOPED_TRACE(text);
            for (std::size_t from = 0; from <= at; ++from) {
                EXPECT_EQ(set.findIn(text, from), at);
                EXPECT_EQ((findAnyOfInLongText<',', ';'>(text, from)), at);
            }
        }
    }
}

} // namespace
} // namespace lintora
