#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace lintora {
namespace {

test::Conversion convert(std::string_view text) {
    return test::convertWith(&readAllegroPst, text, "pstxnet.dat");
}

// The same in one workspace for many inputs, as the survival tests convert thousands.
class Survival {
public:
    void operator()(std::string_view text) {
        test::writeFile(m_sw.dir / "pstxnet.dat", text);
        readAllegroPst(m_sw.ws, (m_sw.dir / "pstxnet.dat").string());
    }

private:
    test::ScratchWorkspace m_sw;
};

// A net block as Capture writes it: the name, its path and signal lines, then the nodes.
std::string net(std::string_view name, const std::vector<std::string>& nodes) {
    std::string text = "NET_NAME\r\n'" + std::string(name) + "'\r\n '@B.S(SCH_1):N1':\r\n" +
                       " C_SIGNAL='@b.s(sch_1):n1';\r\n";
    for (const auto& node : nodes)
        text +=
            "NODE_NAME\t" + node + "\r\n '@B.S(SCH_1):INS1@LIB.P.NORMAL(CHIPS)':\r\n 'PIN':;\r\n";
    return text;
}

constexpr std::string_view kHeader =
    "FILE_TYPE = EXPANDEDNETLIST;\r\n{ Using PSTWRITER 17.2.0 }\r\n";

TEST(AllegroPstReader, ReadsNetsAndThePartsFileBesideThem) {
    test::ScratchWorkspace sw;
    const auto result =
        readAllegroPst(sw.ws, test::dataFile("readers/allegro_pst/pstxnet.dat").string());
    EXPECT_EQ(result, ReaderResult::Recognised);
    // The node line names the pin by number (the quoted line below it by name); the net NC
    // of pins left open on purpose is left out, Allegro's one-pin "_d_" nets stay.
    EXPECT_EQ(test::readFile(sw.dir / "net.tmp"),
              test::writtenFile({"GND; 4: U1.7, U2.7, C1.2, J1.2, ",
                                 "/POWER/VCC; 5: U1.14, U2.14, C1.1, R1.1, J1.1, ",
                                 "CLK; 3: U1.3, U2.1, R1.2, ", "OUT; 2: U1.1, U2.3, ",
                                 "_D_5ADB610; 1: U2.5, "}));
    EXPECT_EQ(
        test::readFile(sw.dir / "parts.tmp"),
        test::writtenFile({"! CAP-NP_1_CC0603_0.1UF_？; C1: ? ", "! CONN 2; J1: ? ",
                           "! RES_10K_0603; R1: ? ", "! 74LS00; U1: ? ", "! 74LS00; U2: ? "}));
}

TEST(AllegroPstReader, WithoutAPartsFileThePartsAreEmpty) {
    const auto c = convert(std::string(kHeader) + net("A", {"U1 1", "U2  7"}) + "END.\r\n");
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    EXPECT_EQ(c.net, test::writtenFile({"A; 2: U1.1, U2.7, "}));
    EXPECT_EQ(c.parts, test::writtenFile({}));
}

TEST(AllegroPstReader, NamesQuotesAndTruncation) {
    // A doubled quote stands for one; separators in a name are replaced; a node before any
    // net belongs to none; a file cut off before "END." keeps its last net; text after
    // "END." is not read.
    const auto c =
        convert(std::string(kHeader) + "NODE_NAME\tX1 1\r\n" + net("IT''S:A,NET", {"R1 2"}) +
                net("nc", {"U9 1"}) + net("LAST", {"C1 1", "C2"}));
    EXPECT_EQ(c.net, test::writtenFile({"IT'S：A，NET; 1: R1.2, ", "LAST; 2: C1.1, C2., "}));
    const auto ended =
        convert(std::string(kHeader) + net("A", {"U1 1"}) + "END.\r\n" + net("B", {"U2 1"}));
    EXPECT_EQ(ended.net, test::writtenFile({"A; 1: U1.1, "}));
}

TEST(AllegroPstReader, AFileWithoutTheNetlistHeaderIsRefused) {
    for (const std::string& text :
         {std::string(), net("A", {"U1 1"}),
          std::string("FILE_TYPE = EXPANDEDPARTLIST;\r\nPART_NAME\r\n U1 'X':;\r\n"),
          std::string("$PACKAGES\r\n$NETS\r\nA ; U1.1\r\n")}) {
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.result, ReaderResult::NotRecognised);
        EXPECT_EQ(c.hides, 1);
        EXPECT_EQ(c.net, "(none)");
        EXPECT_EQ(c.parts, "(none)");
    }
}

TEST(AllegroPstReader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/allegro_pst/pstxnet.dat", "Allegro PST",
                                     "readers/allegro_pst/board.tel");
}

TEST(AllegroPstReader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::vector<std::string> pieces{std::string(kHeader),
                                          "NET_NAME",
                                          "NODE_NAME",
                                          "END.",
                                          "'",
                                          "''",
                                          "\t",
                                          " ",
                                          "\r\n",
                                          "\n",
                                          "U1 1",
                                          "NC",
                                          "電"};
    Survival survival;
    test::convertSurvivingEach(std::ref(survival), test::randomSoups(pieces, 50, 300, 17),
                               std::string(kHeader) + net("A'B", {"U1 1", "U2 7"}) +
                                   net("NC", {"U3 1"}) + "END.\r\n");
    std::vector<std::string> nodes;
    for (int i = 0; i < 20000; ++i)
        nodes.push_back("U" + std::to_string(i) + " 1");
    EXPECT_THROW(convert(std::string(kHeader) + net("BIG", nodes)), CapacityExceeded);
}

} // namespace
} // namespace lintora
