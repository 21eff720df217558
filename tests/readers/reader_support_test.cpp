// The mechanics every reader shares: the normalised copy and its lines, upper-casing the
// input, token runs, separator conversion and the output texts.

#include "base/parts_line.h"
#include "readers/reader_support.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace lintora {
namespace {

std::vector<std::string> linesOf(LineReader reader) {
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    return lines;
}

TEST(NormalisedCopy, PutsALineEndBeforeEachLineAndTurnsEveryLineEndIntoCrLf) {
    const struct {
        const char* input;
        const char* copy;
    } cases[] = {
        {"", ""},
        {"A", "\r\nA"},
        {"A\r\n", "\r\nA"},
        {"A\r\nB\rC\nD", "\r\nA\r\nB\r\nC\r\nD"},
        {"A\n\n", "\r\nA\r\n"},          // no CR: LF ends lines, the last one closes the text
        {"A\rB\n", "\r\nA\r\nB\r\n"},    // with CRs a last lone LF stands inside its line
        {"A\r\nB\n\n", "\r\nA\r\nB\r\n\r\n"},
        {"X\r\r", "\r\nX\r\n"},
        {"net gnd: u1-7,\nr1-2.\r\n", "\r\nNET GND: U1-7,\r\nR1-2."},
        {"long line of text\nand more text here ａｂ\r\n",
         "\r\nLONG LINE OF TEXT\r\nAND MORE TEXT HERE ＡＢ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.input)));
        EXPECT_EQ(normalisedUpperCaseCopy(c.input), c.copy);
    }
}

// Every text of up to seven characters from "A", CR and LF: the lines read from the
// upper-cased text itself are the lines of its copy.
TEST(NormalisedCopy, ItsLinesAreReadFromTheInputWithoutTheCopy) {
    std::vector<std::string> texts{""};
    for (std::size_t from = 0, length = 0; length < 7; ++length) {
        const std::size_t to = texts.size();
        for (std::size_t i = from; i < to; ++i)
            for (const char c : {'A', '\r', '\n'})
                texts.push_back(texts[i] + c);
        from = to;
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text));
        const std::string copy = normalisedUpperCaseCopy(text);
        ASSERT_EQ(linesOf(normalisedCopyLines(text)), linesOf(LineReader(copy)));
    }
}

TEST(ReaderSupport, UpperCasingTheWholeInputGivesEveryLineUpperCased) {
    for (std::size_t shift = 0; shift < 9; ++shift) {
        const std::string prefix(shift, '-');
        SCOPED_TRACE(shift);
        // Long enough for eight bytes at a time, with the letters' neighbours in ASCII.
        EXPECT_EQ(upperCased(prefix + "gnd_vcc-net.abz{`@[ ａｚ ä\r\nxyz"),
                  prefix + "GND_VCC-NET.ABZ{`@[ ＡＺ ä\r\nXYZ");
    }

    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net", "first line\r\nsecond ａ line\nstill second\r\nthird");
    ReaderInput input((sw.dir / "in.net").string());
    std::string_view line;
    ASSERT_TRUE(input.next(line));
    EXPECT_EQ(line, "first line");
    input.upperCase(); // where the reader stands stays put
    std::vector<std::string> rest;
    while (input.next(line))
        rest.emplace_back(line);
    EXPECT_EQ(rest, (std::vector<std::string>{"SECOND Ａ LINE\nSTILL SECOND", "THIRD"}));
}

TEST(ReaderSupport, RunsOfPlainCharactersEndAtTheFirstOtherOne) {
    const auto notBlank = [](char c) { return !isBlankOrTab(c); };
    EXPECT_EQ(endOfRun("U1-7 U2-7", 0, notBlank), 4u);
    EXPECT_EQ(endOfRun("U1-7 U2-7", 5, notBlank), 9u);
    EXPECT_EQ(endOfRun("U1-7", 4, notBlank), 4u);
    EXPECT_EQ(endOfRun("", 0, notBlank), 0u);
}

TEST(ReaderSupport, SeparatorsAfterThePinsFirstCharacterBecomeFullStops) {
    std::string pin = "-U1-A-1";
    convertAllSeparators(pin, "-");
    EXPECT_EQ(pin, "-U1.A.1");
    pin = "U1-A,1/2";
    convertAllSeparators(pin, "-,");
    EXPECT_EQ(pin, "U1.A.1/2");
    pin = "-U1-A-1";
    convertFirstSeparator(pin, '-');
    EXPECT_EQ(pin, "-U1.A-1");
}

TEST(ReaderSupport, NetAndPartsLinesAreAppendedWhateverRoomWasReserved) {
    for (const std::size_t reserved : {std::size_t{0}, std::size_t{3}, std::size_t{1} << 20}) {
        SCOPED_TRACE(reserved);
        test::ScratchWorkspace sw;
        ReaderOutput out(sw.ws);
        out.reserveFor(reserved);
        for (int net = 0; net < 3; ++net) {
            out.fields[0] = "N" + std::to_string(net);
            out.fields[1] = "2";
            out.fields[2] = "U1.1";
            out.fields[3] = std::string(40, 'P'); // longer than a string holds in place
            out.addNet();
        }
        out.fields.clear();
        out.fields[1] = "74HC00";
        out.fields[2] = "U1";
        out.addPart();
        const std::string pins = "U1.1, " + std::string(40, 'P') + ", ";
        EXPECT_EQ(out.netText(), "N0; 2: " + pins + "\r\nN1; 2: " + pins + "\r\nN2; 2: " + pins +
                                     "\r\n");
        EXPECT_EQ(out.partsText(), "! 74HC00; U1: ? \r\n");
        out.fields[0] = "GND";
        out.fields[1] = "1";
        std::string line = "old";
        writeNetLine(out.fields, line); // the line is built afresh
        EXPECT_EQ(line, "GND; 1: U1, ");
    }
}

// Each field keeps out the separators of the lines it stands in: a name or pin those of the
// net line, a part name or footprint those of the parts line, a reference both.
TEST(LineFields, SeparatorsInsideAFieldBecomeTheirFullWidthForms) {
    const std::string all = "a;b:c,d!e?f g";
    EXPECT_EQ(lineField(all, LineField::NetName), "a；b：c，d!e?f g");
    EXPECT_EQ(lineField(all, LineField::PinName), "a；b：c，d!e?f g");
    EXPECT_EQ(lineField(all, LineField::Reference), "a；b：c，d！e？f g");
    EXPECT_EQ(lineField(all, LineField::PartName), "a；b：c,d！e？f g");
    EXPECT_EQ(lineField(all, LineField::Footprint), "a；b：c,d！e？f g");
    EXPECT_EQ(lineField(";;", LineField::NetName), "；；");
    EXPECT_EQ(lineField("", LineField::Reference), "");
    std::string pin = "was ";
    appendPin(pin, "U:1", "A,1");
    EXPECT_EQ(pin, "was U：1.A，1");
    EXPECT_EQ(footprintWithoutLibrary("Resistor_SMD:R_0603"), "R_0603");
    EXPECT_EQ(footprintWithoutLibrary("A:B:C"), "C");
    EXPECT_EQ(footprintWithoutLibrary("DIP14"), "DIP14");
}

// Whatever a name, reference, pin, part name or footprint holds, the lines built from the
// fields split back into exactly those fields (blanks aside, which every splitter drops).
TEST(LineFields, LinesBuiltFromReplacedFieldsSplitBackIntoThem) {
    const std::vector<std::string> texts{"N;1", "!A", "B?", "X:Y", "P,Q", ";:,!?", "LIB:FP?"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        FieldArray fields;
        fields[0] = lineField(text, LineField::NetName);
        fields[1] = "2";
        fields[2].clear();
        appendPin(fields[2], text, text);
        fields[3].clear();
        appendPin(fields[3], "R1", text);
        std::string line;
        writeNetLine(fields, line);
        FieldArray split;
        splitNetLine(split, line);
        EXPECT_EQ(split.at(0), fields.at(0));
        EXPECT_EQ(split.at(1), "2");
        EXPECT_EQ(split.at(2), fields.at(2));
        EXPECT_EQ(split.at(3), fields.at(3));

        FieldArray part;
        part[1] = lineField(text, LineField::PartName);
        part[2] = lineField(text, LineField::Reference);
        part[3] = lineField(footprintWithoutLibrary(text), LineField::Footprint);
        std::string partsLine;
        writePartsLine(part, partsLine);
        PartRecord record;
        splitPartsLine(record, partsLine);
        EXPECT_EQ(record.attribute, "");
        EXPECT_EQ(record.name, part.at(1));
        EXPECT_EQ(record.reference, part.at(2));
        EXPECT_EQ(record.footprint, part.at(3));
    }
}

} // namespace
} // namespace lintora
