#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::crlfText;
using test::readFile;

using Converted = test::Conversion;

Converted convert(std::string_view text) {
    return test::convertWith(&readFuture, text, "in.pin", "");
}

TEST(FutureReader, RecordsGivePartsAndPinsMergedIntoNetsInFileOrder) {
    const Converted r = convert("PINLIST,2\r\n"
                                "(DRAWING,BOARD.PIN,1-1\r\n"
                                "(SYM,1\r\n"
                                "DATA,2,U1\r\n"
                                "DATA,3,74ls00\r\n"
                                "DATA,4,DIP14\r\n"
                                "PIN,1,GND,A,B,C,7\r\n"
                                "PIN,2,VCC,A,B,C,14\r\n"
                                ")\r\n"
                                "(SYM,2\r\n"
                                "DATA,2,R 1\r\n"
                                "DATA,3,10K\r\n"
                                "PIN,,VCC,1-1,5,23,1\r\n"
                                "PIN,,GND,1-1,5,23,2\r\n"
                                ")\r\n"
                                ")\r\n"
                                "SIG,GND,1-1,5,GND\r\n");
    EXPECT_EQ(r.result, ReaderResult::Recognised);
    // R1 has no footprint line: it gets an empty footprint, not the one of U1.
    EXPECT_EQ(r.parts, crlfText({"! 74LS00; U1: DIP14? ", "! 10K; R1: ? ", ""}));
    EXPECT_EQ(r.net, crlfText({"GND; 2: U1.7, R1.2, ", "VCC; 2: U1.14, R1.1, ", ""}));
}

TEST(FutureReader, TheLandmarkLineMustBeExact) {
    for (const char* first : {"pinlist,2", " PINLIST,2", "PINLIST,2 ", "PINLIST"}) {
        SCOPED_TRACE(first);
        const Converted r = convert(std::string(first) + "\r\n(SYM,1\r\nDATA,2,U1\r\n"
                                                         "PIN,,GND,A,B,C,7\r\n)\r\n");
        EXPECT_EQ(r.result, ReaderResult::NotRecognised);
        EXPECT_EQ(r.hides, 1);
        EXPECT_EQ(r.parts, "\r\n"); // written empty
        EXPECT_EQ(r.net, "");       // not written
    }
}

TEST(FutureReader, LowerCaseRecordsAndLfLineEndsConvertLikeTheUsualForm) {
    const Converted usual =
        convert("PINLIST,2\r\n(SYM,1\r\nDATA,2,U1\r\nDATA,3,X\r\nPIN,,GND,A,B,C,7\r\n)\r\n");
    const Converted relaxed =
        convert("PINLIST,2\n(sym,1\ndata,2,u1\ndata,3,x\npin,,gnd,a,b,c,7\n)\n");
    EXPECT_EQ(relaxed.result, ReaderResult::Recognised);
    EXPECT_EQ(relaxed.net, usual.net);
    EXPECT_EQ(relaxed.parts, usual.parts);
    EXPECT_EQ(usual.net, crlfText({"GND; 1: U1.7, ", ""}));
}

TEST(FutureReader, AClosingParenthesisInsideAValueDoesNotEndTheRecord) {
    const Converted r = convert("PINLIST,2\r\n(SYM,1\r\nDATA,2,C1\r\nDATA,3,10UF(X7R)\r\n"
                                "PIN,,GND,A,B,C,2\r\n  )\r\nPIN,,GND,A,B,C,9\r\n");
    EXPECT_EQ(r.parts, crlfText({"! 10UF(X7R; C1: ? ", ""}));
    // The pin after the record's own ")" line belongs to no record.
    EXPECT_EQ(r.net, crlfText({"GND; 1: C1.2, ", ""}));
}

TEST(FutureReader, PinsOfNoNetAndPinsBeforeTheReferenceLine) {
    const Converted r = convert("PINLIST,2\r\n(SYM,1\r\nPIN,,A,1-1,5,23,1\r\nDATA,2,U1\r\n"
                                "PIN,,,1-1,5,23,2\r\nPIN,,A,1-1,5,23,3\r\n)\r\n");
    // The first pin comes before its record's reference; the empty net field connects
    // nothing.
    EXPECT_EQ(r.net, crlfText({"A; 2: 1, U1.3, ", ""}));
}

TEST(FutureReader, MorePinLinesThanTheTableHoldsIsACapacityFailure) {
    test::ScratchWorkspace sw;
    sw.ws.limits.sideSlots = 3;
    test::writeFile(sw.dir / "in.pin", "PINLIST,2\r\n(SYM,1\r\nDATA,2,U1\r\nPIN,,A,,,,1\r\n"
                                       "PIN,,A,,,,2\r\nPIN,,A,,,,3\r\nPIN,,A,,,,4\r\n)\r\n");
    EXPECT_THROW(readFuture(sw.ws, (sw.dir / "in.pin").string()), CapacityExceeded);
}

TEST(FutureReader, SurvivesEveryPrefixGarbageAndLongLines) {
    std::string garbage = "PINLIST,2\r\n";
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    test::convertSurvivingEach(
        [](std::string_view text) {
            const Converted r = convert(text);
            EXPECT_TRUE(r.result == ReaderResult::Recognised ||
                        r.result == ReaderResult::NotRecognised);
        },
        {garbage,
         "PINLIST,2\r\n(SYM," + std::string(300000, ',') + "\r\nPIN" + std::string(300000, ',') +
             "\r\n((((\r\n))))\r\n",
         "PINLIST,2\r\n" + std::string(300000, ')') + "\r\n(SYM," + std::string(300000, ')') +
             "\r\n"},
        "PINLIST,2\r\n(SYM,1\r\nDATA,2,U1\r\nDATA,3,X\r\nDATA,4,Y\r\nPIN,,GND,A,B,C,7\r\n)\r\n");
}

// The Telesis file has no "PINLIST,2" line.
TEST(FutureReader, ASmallBoardMatchesItsTelesisVersionAndATelesisFileIsAMismatch) {
    test::expectFullMatchWithTelesis("readers/future/board.pin", "FUTURE",
                                     "readers/future/board.tel");
}

TEST(FutureReader, NetNamesHoldingTheSplittersMarksMergeAsTheSplitterReadsThem) {
    // "B:" leaves the splitter no name of its own: its pin joins the net before. A pin that
    // holds ":" counts no pin.
    EXPECT_EQ(convert("PINLIST,2\r\n(SYM,1\r\nDATA,2,U1\r\nPIN,1,A,X,Y,Z,1\r\nPIN,2,B:,X,Y,Z,2\r\n"
                      "PIN,3,C;D,X,Y,Z,3\r\nPIN,4,A,X,Y,Z,4:5\r\n)\r\n")
                  .net,
              crlfText({"A; 2: U1.1, U1.2, ", "C;D; 1: U1.3, ", ""}));
}

TEST(FutureReader, PartsAreWrittenInFullWhenThePinsExceedTheCapacity) {
    test::ScratchWorkspace sw;
    sw.ws.limits.sideSlots = 9;
    std::string text = "PINLIST,2\r\n(SYM,1\r\nDATA,2,U1\r\nDATA,3,X\r\nDATA,4,Y\r\n";
    for (int i = 1; i <= 10; ++i)
        text += "PIN,,A,,,," + std::to_string(i) + "\r\n";
    text += ")\r\n(SYM,2\r\nDATA,2,U2\r\nDATA,3,Z\r\n)\r\n";
    test::writeFile(sw.dir / "in.pin", text);
    EXPECT_THROW(readFuture(sw.ws, (sw.dir / "in.pin").string()), CapacityExceeded);
    EXPECT_EQ(readFile(sw.dir / "parts.tmp"), crlfText({"! X; U1: Y? ", "! Z; U2: ? ", ""}));
    EXPECT_FALSE(test::fileExists(sw.dir / "net.tmp"));
}

TEST(FutureReader, ARecordWithoutAPartNameIsStillAPart) {
    // An empty part name field, or no part name line at all: the part pairs by reference.
    const Converted r = convert("PINLIST,2\r\n"
                                "(SYM,1\r\nDATA,2,J1\r\nDATA,3,\r\nDATA,4,CONN2\r\n"
                                "PIN,1,GND,A,B,C,1\r\n)\r\n"
                                "(SYM,2\r\nDATA,2,TP1\r\nPIN,1,GND,A,B,C,1\r\n)\r\n"
                                "(SYM,3\r\nPIN,1,GND,A,B,C,9\r\n)\r\n");
    EXPECT_EQ(r.parts, crlfText({"! ; J1: CONN2? ", "! ; TP1: ? ", ""}));
}

} // namespace
} // namespace lintora
