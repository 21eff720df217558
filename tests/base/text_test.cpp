#include "base/errors.h"
#include "base/text_encoding.h"
#include "base/text_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    LineReader reader(text);
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    return lines;
}

TEST(LineReader, CrAndCrLfEndALineWhileALoneLfStaysInside) {
    EXPECT_EQ(linesOf("a\r\nb\rc\nd\r\n"), (std::vector<std::string>{"a", "b", "c\nd"}));
    EXPECT_EQ(linesOf("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(linesOf("x\r\r\n"), (std::vector<std::string>{"x", ""}));
}

TEST(LineReader, InputFilesEndALineAtALoneLfToo) {
    std::vector<std::string> lines;
    LineReader reader = inputLines("a\r\nb\nc\rd\n\ne\r\n\nf\n");
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e", "", "f"}));
}

TEST(LineReader, EmptyTextHasNoLinesAndAFinalLineEndAddsNoEmptyLine) {
    EXPECT_TRUE(linesOf("").empty());
    EXPECT_EQ(linesOf("only\r\n"), std::vector<std::string>{"only"});
    EXPECT_EQ(linesOf("\r\n"), std::vector<std::string>{""});
}

TEST(TextEncoding, ValidatesUtf8Strictly) {
    EXPECT_TRUE(isValidUtf8("plain ASCII, 電源, Ω"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(isValidUtf8("\xE3\x81"));         // cut short
    EXPECT_FALSE(isValidUtf8("\x93\x64\x8C\xB9")); // Shift_JIS
}

TEST(TextEncoding, ConvertsBetweenUtf8AndCp932) {
    std::string utf8;
    ASSERT_TRUE(cp932ToUtf8("\x93\x64\x8C\xB9 A", utf8));
    EXPECT_EQ(utf8, "電源 A");
    EXPECT_EQ(utf8ToCp932("電源 A"), "\x93\x64\x8C\xB9 A");
    EXPECT_FALSE(cp932ToUtf8("\xFF\xFE\x80", utf8));
    // A character CP932 cannot hold becomes "?", the rest survives.
    EXPECT_EQ(utf8ToCp932("A😀B"), "A?B");
}

TEST(TextEncoding, UpperCasesAsciiAndFullWidthLatinOnly) {
    EXPECT_EQ(upperCased("gnd ａｂｚ ä 電源 ω"), "GND ＡＢＺ ä 電源 ω");
}

TEST(TextEncoding, UpperCasingGivesTheSameWhereverEightByteStepsFall) {
    // Pieces: their upper-cased forms, written out by hand. Letters at the ends of the ranges,
    // the characters just outside them, full-width letters and other UTF-8, put at every
    // offset from an eight-byte step, upper-cased in place and while appended.
    const std::vector<std::pair<std::string, std::string>> pieces = {
        {"abc", "ABC"}, {"xyz{`", "XYZ{`"}, {"@[AZ", "@[AZ"},       {"0-9_", "0-9_"},
        {"ａ", "Ａ"},   {"ｚ", "Ｚ"},       {"｛", "｛"},           {"Ａ", "Ａ"},
        {"é", "é"},     {"日", "日"},       {" \t\r\n", " \t\r\n"}, {"mnopqrst", "MNOPQRST"}};
    for (std::size_t lead = 0; lead < 9; ++lead) {
        for (const auto& [piece, pieceUpper] : pieces) {
            for (const auto& [other, otherUpper] : pieces) {
                const std::string text = std::string(lead, 'q') + piece + "mnop" + other;
                const std::string expected =
                    std::string(lead, 'Q') + pieceUpper + "MNOP" + otherUpper;
                SCOPED_TRACE(text);
                std::string inPlace = text;
                upperCaseInPlace(inPlace);
                EXPECT_EQ(inPlace, expected);
                std::string appended = "ab";
                appendUpperCased(appended, text);
                EXPECT_EQ(appended, "ab" + expected);
            }
        }
    }
}

TEST(TextEncoding, CountsCharactersNotBytes) {
    EXPECT_EQ(charCount("ネット１：A"), 6u);
    EXPECT_EQ(byteOffsetOfChar("aネb", 2), 4u);
    EXPECT_EQ(byteOffsetOfChar("ab", 5), 2u);
}

TEST(TextEncoding, AByteThatIsNoUtf8IsOneCharacterWhereverTextIsWalked) {
    // Latin-1 "é", Shift_JIS "電源", a sequence cut short, a stray continuation byte: each
    // byte that begins no valid sequence is one character, and stepping through the text
    // by characters visits exactly the characters counted.
    // (Octal escapes where a letter follows: \351 is E9, \343\201 is E3 81.)
    const std::string texts[] = {"\351ab",         "\x93\x64\x8C\xB9",
                                 "\343\201A",      "\x80x\xE3\x81\x82",
                                 "ok\xF0\x9F\x98", "\xC0\xAF/"};
    const std::size_t counts[] = {3, 4, 3, 3, 5, 3};
    for (std::size_t t = 0; t < std::size(texts); ++t) {
        const std::string& text = texts[t];
        SCOPED_TRACE(t);
        EXPECT_EQ(charCount(text), counts[t]);
        std::size_t steps = 0;
        for (std::size_t i = 0; i < text.size(); i += utf8CharLength(text, i)) {
            EXPECT_EQ(byteOffsetOfChar(text, steps), i);
            ++steps;
        }
        EXPECT_EQ(steps, counts[t]);
        EXPECT_EQ(byteOffsetOfChar(text, steps), text.size());
    }
    EXPECT_EQ(utf8CharLength("\xE3\x81\x82", 0), 3u); // valid UTF-8 stays one character
    // Written as CP932, such a byte becomes "?" and what follows it survives.
    EXPECT_EQ(utf8ToCp932("\351ab"), "?ab");
    EXPECT_EQ(utf8ToCp932("\343\201AB"), "??AB");
}

TEST(InputFiles, DecodeUtf8OrShiftJisAndRejectAnythingElse) {
    test::TempDir dir;
    test::writeFile(dir / "utf8.net", "\xEF\xBB\xBF電源");
    test::writeFile(dir / "sjis.net", "\x93\x64\x8C\xB9");
    test::writeFile(dir / "binary.net", std::string("\x80\xFF\xFE\x00\x81", 5));
    EXPECT_EQ(readInputText(dir / "utf8.net"), "電源"); // without its byte-order mark
    EXPECT_EQ(readInputText(dir / "sjis.net"), "電源");
    EXPECT_THROW(readInputText(dir / "binary.net"), UndecodableInput);
    EXPECT_THROW(readInputText(dir / "absent.net"), FileNotFound);
    EXPECT_THROW(readInputText(dir.path()), FileNotFound); // a directory is not a netlist
}

TEST(InputFiles, DecodeUtf16WithByteOrderMarkAndRefuseNulBytes) {
    std::string text;
    ASSERT_TRUE(decodeInputText(std::string("\xFF\xFE"
                                            "A\0;\0\xFB\x96",
                                            8),
                                text));
    EXPECT_EQ(text, "A;電");
    ASSERT_TRUE(decodeInputText(std::string("\xFE\xFF\0A", 4), text));
    EXPECT_EQ(text, "A");
    EXPECT_FALSE(decodeInputText(std::string("A\0B", 3), text));
}

TEST(OutputFiles, PrintAddsOneFinalLineEndAndReplacesTheFileWhole) {
    test::TempDir dir;
    test::writeFile(dir / "out.txt", "old contents that are longer");
    printTextFile(dir / "out.txt", "a\r\nb\r\n");
    EXPECT_EQ(test::readFile(dir / "out.txt"), "a\r\nb\r\n\r\n");
    EXPECT_FALSE(test::fileExists(dir / "out.txt.partial"));
    printTextFile(dir / "sjis.txt", "電源\r\n", TextEncoding::Cp932);
    EXPECT_EQ(test::readFile(dir / "sjis.txt"), "\x93\x64\x8C\xB9\r\n\r\n");
}

TEST(OutputFiles, AReadOnlyTargetOrAMissingDirectoryIsAWriteFailure) {
    test::TempDir dir;
    test::writeFile(dir / "locked.txt", "keep me");
    std::filesystem::permissions(dir / "locked.txt", std::filesystem::perms::owner_read);
    EXPECT_THROW(printTextFile(dir / "locked.txt", "new"), WriteFailed);
    EXPECT_EQ(test::readFile(dir / "locked.txt"), "keep me");
    EXPECT_THROW(printTextFile(dir / "no" / "such.txt", "x"), WriteFailed);
}

} // namespace
} // namespace lintora
