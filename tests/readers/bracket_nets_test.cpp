// The net blocks that the Protel, Protel 2.0 and Tango readers share, each case run through
// all three readers.

#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::readFile;

struct BracketFormat {
    const char* name;
    ReaderFunction reader;
    const char* components; // one component block ending in the line that opens the nets
};

const BracketFormat kFormats[] = {
    {"PROTEL", &readProtel, "[\r\nU1\r\nDIP14\r\n74LS00\r\nQUAD NAND\r\n]\r\n(\r\n"},
    {"PROTEL2", &readProtel2,
     "PROTEL NETLIST 2.0\r\n[\r\nDESIGNATOR\r\nU1\r\nFOOTPRINT\r\nDIP14\r\nPARTTYPE\r\n"
     "74LS00\r\n]\r\n(\r\n"},
    {"TANGO", &readTango, "[\r\nU1\r\nDIP14\r\n74LS00\r\n]\r\n(\r\n"},
};

struct Converted {
    ReaderResult result = ReaderResult::NotRecognised;
    std::string nets;
    std::string parts;
};

Converted convert(const BracketFormat& format, std::string_view text) {
    test::ScratchWorkspace sw;
    test::writeFile(sw.dir / "in.net", text);
    Converted result;
    result.result = format.reader(sw.ws, (sw.dir / "in.net").string());
    if (test::fileExists(sw.dir / "net.tmp"))
        result.nets = readFile(sw.dir / "net.tmp");
    if (test::fileExists(sw.dir / "parts.tmp"))
        result.parts = readFile(sw.dir / "parts.tmp");
    return result;
}

// The nets after the component block; the first "(" is already in the block text.
Converted convertNets(const BracketFormat& format, const std::string& nets) {
    return convert(format, format.components + nets);
}

TEST(BracketNets, ANetBlockIsItsNameAndTheFirstTokenOfEachPinLine) {
    for (const auto& format : kFormats) {
        SCOPED_TRACE(format.name);
        const Converted r = convertNets(
            format,
            "GND\r\nU1-7\r\nU2-7 EXTRA WORDS\r\nU3-7\tPASSIVE\r\n)\r\n(\r\nVCC\r\n U1-14\r\n)\r\n");
        EXPECT_EQ(r.result, ReaderResult::Recognised);
        EXPECT_EQ(r.parts, crlfText({"! 74LS00; U1: DIP14? ", ""}));
        EXPECT_EQ(r.nets, crlfText({"GND; 3: U1.7, U2.7, U3.7, ", "VCC; 1: U1.14, ", ""}));
    }
}

TEST(BracketNets, PinSeparatorsAreConvertedAsEachFormatWritesThem) {
    const std::string nets = "N1\r\nU1-A-1\r\nU2,1\r\n-5\r\n)\r\n";
    EXPECT_EQ(convertNets(kFormats[0], nets).nets, crlfText({"N1; 3: U1.A-1, U2,1, -5, ", ""}));
    EXPECT_EQ(convertNets(kFormats[1], nets).nets, crlfText({"N1; 3: U1.A-1, U2,1, -5, ", ""}));
    EXPECT_EQ(convertNets(kFormats[2], nets).nets, crlfText({"N1; 3: U1.A.1, U2.1, -5, ", ""}));
}

TEST(BracketNets, LowerCaseAndLfLineEndsConvertLikeTheUsualForm) {
    for (const auto& format : kFormats) {
        SCOPED_TRACE(format.name);
        const Converted usual = convertNets(format, "GND\r\nU1-7\r\n)\r\n");
        std::string relaxed = std::string(format.components) + "gnd\nu1-7\n)\n";
        for (char& c : relaxed)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::erase(relaxed, '\r');
        const Converted lf = convert(format, relaxed);
        EXPECT_EQ(lf.result, ReaderResult::Recognised);
        EXPECT_EQ(lf.nets, usual.nets);
        EXPECT_EQ(lf.parts, usual.parts);
    }
}

// Every pin of these nets was read before the file or the block went wrong: none is lost.
TEST(BracketNets, AnUnclosedNetKeepsItsPins) {
    for (const auto& format : kFormats) {
        SCOPED_TRACE(format.name);
        // The file ends without ")".
        EXPECT_EQ(convertNets(format, "GND\r\nU1-7\r\nU2-7\r\n").nets,
                  crlfText({"GND; 2: U1.7, U2.7, ", ""}));
        // The next net opens without a ")" before it.
        EXPECT_EQ(convertNets(format, "GND\r\nU1-7\r\n(\r\nVCC\r\nU1-14\r\n)\r\n").nets,
                  crlfText({"GND; 1: U1.7, ", "VCC; 1: U1.14, ", ""}));
        // The last pin stands on the closing line.
        EXPECT_EQ(convertNets(format, "GND\r\nU1-7\r\nU2-7)\r\n").nets,
                  crlfText({"GND; 2: U1.7, U2.7, ", ""}));
    }
}

TEST(BracketNets, AFileWithoutANetBlockIsBadAndWritesNothing) {
    for (const auto& format : kFormats) {
        SCOPED_TRACE(format.name);
        std::string text = format.components;
        text.resize(text.size() - 3); // without the "(" line
        test::ScratchWorkspace sw;
        test::writeFile(sw.dir / "in.net", text);

        ReaderResult result = format.reader(sw.ws, (sw.dir / "in.net").string());
        EXPECT_EQ(result, ReaderResult::NotRecognised);
        EXPECT_EQ(sw.observer.hides, 1);
        EXPECT_FALSE(test::fileExists(sw.dir / "net.tmp"));
        EXPECT_FALSE(test::fileExists(sw.dir / "parts.tmp"));
    }
}

TEST(BracketNets, SurvivesEveryPrefixGarbageLongLinesAndUnbalancedBrackets) {
    for (const auto& format : kFormats) {
        SCOPED_TRACE(format.name);
        std::string garbage;
        for (int i = 0; i < 4096; ++i)
            garbage += static_cast<char>((i * 7919 + 13) % 256);
        test::convertSurvivingEach(
            [&](std::string_view text) {
                const Converted r = convert(format, text);
                EXPECT_TRUE(r.result == ReaderResult::Recognised ||
                            r.result == ReaderResult::NotRecognised);
            },
            {garbage, std::string(format.components) + std::string(300000, 'X') + " Y\r\n",
             "((((\r\n))))\r\n[[[[\r\n]]]]\r\n(\r\n(\r\n)\r\n)\r\n)\r\n",
             std::string(format.components) + "N\r\n" + std::string(1000, '(') +
                 std::string(1000, ')') + "\r\n"},
            std::string(format.components) +
                "GND\r\nU1-7\r\nU2-7\r\n)\r\n(\r\nVCC\r\nU1-14\r\n)\r\n");
    }
}

// The same small board in each bracket format and as a Telesis file, which has no net block.
TEST(BracketNets, EachFormatOfASmallBoardMatchesItsTelesisVersionAndTelesisIsAMismatch) {
    for (const auto& [format, folder] : {std::pair{"PROTEL", "readers/protel/"},
                                         {"PROTEL2", "readers/protel2/"},
                                         {"TANGO", "readers/tango/"}}) {
        SCOPED_TRACE(format);
        test::expectFullMatchWithTelesis(std::string(folder) + "board.net", format,
                                         std::string(folder) + "board.tel");
    }
}

} // namespace
} // namespace lintora
