#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <utility>

namespace lintora {
namespace {

struct Conversion {
    ReaderResult result = ReaderResult::NotRecognised;
    std::string net, parts; // a file not written reads as empty
    int hides = 0;
};

Conversion convert(std::string_view input) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "board.sfx", input);
    Conversion r;
    r.result = readSfx(sw.ws, (sw.dir / "board.sfx").string());
    for (auto [name, text] : {std::pair{"net.tmp", &r.net}, {"parts.tmp", &r.parts}})
        if (test::fileExists(sw.dir / name))
            *text = test::readFile(sw.dir / name);
    r.hides = sw.observer.hides;
    return r;
}

std::string fileOf(const std::vector<std::string>& lines) {
    return test::crlfText(lines) + "\r\n";
}

std::string partsOf(std::string_view lines) {
    return convert("*PARTS\r\n" + std::string(lines) + "*NET\r\n").parts;
}

std::string netsOf(std::string_view lines) {
    return convert("*PARTS\r\n*NET\r\n" + std::string(lines)).net;
}

TEST(SfxReader, ConvertsPartsAndNets) {
    const auto r = convert("# board CTRL-01\r\n*parts\r\n"
                           "'u1' '74hc00' 'SOP' '14'\r\n"
                           "# a comment writes no part\r\n"
                           "'R1'\t'10K'\t''\t'R1608'\r\n"
                           "*net\r\n'GND' *\r\n'U1'/'7' 'R1'/'2'\r\n\r\n"
                           "# a comment does not end the net\r\n"
                           "'C1'/'2'\r\n'VCC'*\r\n'U1'/'14'\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    EXPECT_EQ(r.parts, fileOf({"! 74HC00; U1: SOP14? ", "! 10K; R1: R1608? "}));
    EXPECT_EQ(r.net, fileOf({"GND; 3: U1.7, R1.2, C1.2, ", "VCC; 1: U1.14, "}));
}

TEST(SfxReader, PartValuesAreTakenByTheirQuotes) {
    for (const auto& [line, part] : {
             std::pair{"'R1' '' '' ''", "! X; R1: ? "},
             {"'R1','10K','',''", "! ,10K; R1: ,,? "}, // commas go into the next value
             {"'R 1' 'A B' 'C' 'D'", "! AB; R1: CD? "},
         }) {
        SCOPED_TRACE(line);
        EXPECT_EQ(partsOf(std::string(line) + "\r\n"), fileOf({part}));
    }
    // A line without any value describes no part.
    EXPECT_EQ(partsOf("\r\n  \r\n'R1' '10K'\r\n\r\n"), fileOf({"! 10K; R1: ? "}));
}

TEST(SfxReader, OnlyNamedNetsAreWrittenWithEveryPinTheyHold) {
    // Pins before the first header and after a header without a name belong to no net.
    EXPECT_EQ(netsOf("'U9'/'1'\r\n'GND' *\r\n'U1'/'7'\r\n'' *\r\n'U2'/'7'\r\n"),
              fileOf({"GND; 1: U1.7, "}));
    // A net section without a header writes nothing, and so does a file without one.
    EXPECT_EQ(netsOf("'U1'/'7'\r\n"), "\r\n");
    EXPECT_EQ(convert("*PARTS\r\n'R1' '10K' '' ''\r\n").net, "\r\n");
    // Nets without pins are written alike, the first of the file as well as later ones.
    EXPECT_EQ(netsOf("'NC1' *\r\n'GND' *\r\n'U1'/'7'\r\n'NC2' *\r\n"),
              fileOf({"NC1; 0: ", "GND; 1: U1.7, ", "NC2; 0: "}));
}

TEST(SfxReader, ThePartsHeadingMustComeBeforeTheNetHeading) {
    for (const char* text : {"*NET\r\n*PARTS\r\n'R1' '10K' '' ''\r\n", "'GND' *\r\n'U1'/'7'\r\n"}) {
        SCOPED_TRACE(text);
        const auto r = convert(text);
        EXPECT_EQ(r.result, ReaderResult::NotRecognised);
        EXPECT_EQ(r.net + r.parts, ""); // nothing written
        EXPECT_EQ(r.hides, 1);
    }
}

TEST(SfxReader, EachFormatNameMatchesTheTelesisBoardAndRejectsATelesisFile) {
    for (const auto& [format, file] : {std::pair{"SFX", "readers/sfx/board.sfx"},
                                       {"CADIX XID", "readers/sfx/board.xid"},
                                       {"OHM-3", "readers/sfx/board.oh3"}}) {
        SCOPED_TRACE(format);
        test::expectFullMatchWithTelesis(file, format, "readers/sfx/board.tel");
    }
}

TEST(SfxReader, SurvivesTruncatedBinaryAndOversizedInput) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    const std::string quotes(1 << 20, '\'');
    static constexpr char kNulBytes[] = "*PARTS\r\n'\0'\r\n*NET\r\n'\0' *\r\n'\0'/'1'";
    test::convertSurvivingEach(convert,
                               {"*PARTS\r\n" + binary + "\r\n*NET\r\n'A' *\r\n" + binary,
                                "*PARTS\r\n" + quotes + "\r\n*NET\r\n'A' *\r\n" + quotes,
                                std::string(kNulBytes, sizeof kNulBytes - 1)},
                               test::readFile(test::dataFile("readers/sfx/board.sfx")));
}

} // namespace
} // namespace lintora
