#include "base/net_line.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

FieldArray netRecord(std::vector<std::string> slots) {
    FieldArray fields;
    for (std::size_t i = 0; i < slots.size(); ++i)
        fields[i] = slots[i];
    return fields;
}

TEST(NetLineWriter, WritesNameCountAndEveryPinWithTrailingCommaBlank) {
    std::string line = "old text";
    writeNetLine(netRecord({"VCC", "3", "C1.1", "U1.14", "U2.14"}), line);
    EXPECT_EQ(line, "VCC; 3: C1.1, U1.14, U2.14, ");

    writeNetLine(netRecord({"N0", "0"}), line);
    EXPECT_EQ(line, "N0; 0: ");
}

TEST(NetLineWriter, TakesThePinCountFromSlotOneWhateverElseTheSlotsHold) {
    std::string line;
    writeNetLine(netRecord({"A", "1", "P1", "STALE"}), line);
    EXPECT_EQ(line, "A; 1: P1, ");
    writeNetLine(netRecord({"A", "2x", "P1", "P2"}), line); // leading digits only
    EXPECT_EQ(line, "A; 2x: P1, P2, ");
    writeNetLine(netRecord({"A", "", "P1"}), line); // no digits counts 0
    EXPECT_EQ(line, "A; : ");
}

TEST(NetLineWriter, APinBeyondTheLastSlotIsACapacityFailure) {
    FieldArray fields(10);
    fields[0] = "A";
    fields[1] = "8"; // slots 2..9: fits
    std::string line;
    EXPECT_NO_THROW(writeNetLine(fields, line));
    fields[1] = "9"; // would need slot 10
    EXPECT_THROW(writeNetLine(fields, line), CapacityExceeded);
}

TEST(PartsLineWriter, WritesTheFourSlotsWithTheirSeparators) {
    std::string line;
    writePartsLine(netRecord({"", "10K", "R1", "1608"}), line);
    EXPECT_EQ(line, "! 10K; R1: 1608? ");
}

TEST(NetLineSplitter, SplitsAWrittenLineAndFillsOneEmptySlotAfterTheLastPin) {
    FieldArray fields = netRecord({"", "", "", "", "", "KEEP5", "KEEP6"});
    const std::size_t written = splitNetLine(fields, "GND; 2: U1.7, U2.7, ");
    EXPECT_EQ(fields.at(0), "GND");
    EXPECT_EQ(fields.at(1), "2");
    EXPECT_EQ(fields.at(2), "U1.7");
    EXPECT_EQ(fields.at(3), "U2.7");
    EXPECT_EQ(fields.at(4), "");
    EXPECT_EQ(fields.at(5), "KEEP5"); // untouched
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(splitPinCount(fields, written), 2u);
}

TEST(NetLineSplitter, ACountOfZeroLeavesOnlyTheEmptyPinSlot) {
    FieldArray fields;
    splitNetLine(fields, "N0; 0: ");
    EXPECT_EQ(fields.at(0), "N0");
    EXPECT_EQ(fields.at(1), "0");
    EXPECT_EQ(fields.at(2), "");
}

TEST(NetLineSplitter, DropsBlanksAndSkipsTheCharacterAfterEachSeparator) {
    FieldArray fields;
    splitNetLine(fields, "A B; 1: U 1.1, ");
    EXPECT_EQ(fields.at(0), "AB");
    EXPECT_EQ(fields.at(2), "U1.1");

    splitNetLine(fields, "N1;2:R1.1,");
    EXPECT_EQ(fields.at(0), "N1");
    EXPECT_EQ(fields.at(1), "");
    EXPECT_EQ(fields.at(2), "1.1");
    EXPECT_EQ(fields.at(3), "");
}

TEST(NetLineSplitter, ASeparatorAtTheEndSkipsTheEndPositionToo) {
    FieldArray fields;
    EXPECT_EQ(splitNetLine(fields, "NAME;"), 1u);
    EXPECT_EQ(fields.at(0), "NAME"); // no empty last field overwrites the name
    EXPECT_EQ(splitNetLine(fields, "N; 3:"), 2u);
    EXPECT_EQ(fields.at(1), "3");
}

TEST(NetLineSplitter, SkipsAWholeMultiByteCharacterAfterASeparator) {
    FieldArray fields;
    splitNetLine(fields, "N;あ2:あX, ");
    EXPECT_EQ(fields.at(0), "N");
    EXPECT_EQ(fields.at(1), "2");
    EXPECT_EQ(fields.at(2), "X");
}

TEST(NetLineSplitter, NeverReportsMorePinsThanTheLineHolds) {
    FieldArray fields;
    splitNetLine(fields, "BIG; 3: A, B, C, D, ");
    std::size_t written = splitNetLine(fields, "SMALL; 5: X");
    EXPECT_EQ(splitPinCount(fields, written), 1u);
    // The empty field after a trailing comma is the line's own, never "C" of the line before.
    written = splitNetLine(fields, "SMALL; 5: X, ");
    ASSERT_EQ(splitPinCount(fields, written), 2u);
    EXPECT_EQ(fields.at(3), "");
}

TEST(NetLineSplitter, RoundTripsEveryWrittenLine) {
    const FieldArray original = netRecord({"SIG-1", "4", "U1.1", "U1.10", "J2.A3", "TP1.1"});
    std::string line;
    writeNetLine(original, line);
    FieldArray split;
    const std::size_t written = splitNetLine(split, line);
    ASSERT_EQ(splitPinCount(split, written), 4u);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(split.at(i), original.at(i)) << "slot " << i;
}

TEST(NetLineSplitter, TooManyPinsForTheFieldArrayIsACapacityFailure) {
    FieldArray fields(6); // slots 0-5: three pins and the empty slot after them
    EXPECT_NO_THROW(splitNetLine(fields, "A; 3: P1, P2, P3, "));
    EXPECT_THROW(splitNetLine(fields, "A; 4: P1, P2, P3, P4, "), CapacityExceeded);
}

} // namespace
} // namespace lintora
