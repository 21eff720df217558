#include "base/errors.h"
#include "readers/readers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace lintora {
namespace {

test::Conversion convert(std::string_view text) {
    return test::convertWith(&readIpcD356, text, "input.ipc");
}

// The same in one workspace for many inputs, as the survival tests convert thousands.
class Survival {
public:
    void operator()(std::string_view text) {
        test::writeFile(m_sw.dir / "input.ipc", text);
        readIpcD356(m_sw.ws, (m_sw.dir / "input.ipc").string());
    }

private:
    test::ScratchWorkspace m_sw;
};

// A test record: code, net name in columns 4-17, reference in 21-26, "-", pin in 28-31,
// then a pad description.
std::string record(std::string_view code, std::string_view net, std::string_view reference,
                   std::string_view pin) {
    std::string line(code);
    line += std::string(net) + std::string(14 - net.size(), ' ') + "   ";
    line += std::string(reference) + std::string(6 - reference.size(), ' ') + "-";
    line += std::string(pin) + std::string(4 - pin.size(), ' ');
    return line + "      A01X+018150Y+014083X0394Y0315     S2";
}

TEST(IpcD356Reader, ReadsPinsOfTheTestRecordsOnly) {
    const auto c = convert(test::readFile(test::dataFile("readers/ipc_d356/board.ipc")));
    EXPECT_EQ(c.result, ReaderResult::Recognised);
    // Vias, pads without a net (N/C or empty), non-plated holes and continuation records add
    // no pin; the pad listed twice counts once; the shortened name reads in full.
    EXPECT_EQ(c.net,
              test::writtenFile({"GND; 4: U1.7, U2.7, C1.2, J1.2, ",
                                 "/POWER/VCC_MAIN_SUPPLY; 5: U1.14, U2.14, C1.1, R1.1, J1.1, ",
                                 "CLK; 3: U1.3, U2.1, R1.2, ", "OUT; 2: U1.1, U2.3, ",
                                 "NET-(U2-PAD6); 1: U2.6, "}));
    EXPECT_EQ(c.parts, test::writtenFile({})); // the file has no values
}

TEST(IpcD356Reader, FullNamesWhetherTheRecordsHoldTheWholeKeyOrItsEnd) {
    // Eagle writes the whole key in the net field; a net that only looks like the end of a
    // key keeps its own name then. LF line ends, and "999" ends the file.
    const auto eagle = convert(
        "P  UNITS CUST 0\nP  NNAME1 A_REALLY_LONG_NET_NAME\n" + record("327", "NNAME1", "R1", "1") +
        "\n" + record("327", "1", "R2", "1") + "\n999\n" + record("327", "LATE", "R3", "1") + "\n");
    EXPECT_EQ(eagle.net, test::writtenFile({"A_REALLY_LONG_NET_NAME; 1: R1.1, ", "1; 1: R2.1, "}));
    // Allegro writes the key without "NNAME"; its name is upper-cased like everything.
    const auto allegro =
        convert("P  NNAMEm0000 Long:Name,With;Separators\r\n" + record("317", "m0000", "J1", "5") +
                "\r\n" + record("307", "m0001", "J1", "6") + "\r\n999\r\n");
    EXPECT_EQ(allegro.net,
              test::writtenFile({"LONG：NAME，WITH；SEPARATORS; 1: J1.5, ", "M0001; 1: J1.6, "}));
}

TEST(IpcD356Reader, ReadsColumnsAsCharactersAndShortRecords) {
    // A name with a character of several bytes keeps the columns after it; a record cut
    // after its reference gives a pin with an empty name.
    const auto c = convert("P  UNITS CUST 0\r\n327電源" + std::string(12, ' ') +
                           "   C1    -2         A01X+018150Y+014083X0394Y0315\r\n" +
                           "327GND              C2    -1\r\n" + "317GND              C3\r\n" +
                           "327GND              C3    -\r\n" + "327GND\r\n");
    EXPECT_EQ(c.net, test::writtenFile({"電源; 1: C1.2, ", "GND; 2: C2.1, C3., "}));
}

TEST(IpcD356Reader, AFileWithoutUnitsOrEndIsNotAnIpcNetlist) {
    for (const std::string& text :
         {std::string(), std::string("$PACKAGES\r\n$NETS\r\nGND ; U1.7\r\n$END\r\n"),
          record("317", "GND", "U1", "7") + "\r\n", std::string("9999\r\nP  UNIT\r\n")}) {
        SCOPED_TRACE(text);
        const auto c = convert(text);
        EXPECT_EQ(c.result, ReaderResult::NotRecognised);
        EXPECT_EQ(c.hides, 1);
        EXPECT_EQ(c.net, "(none)");
    }
    // A file cut off before "999" is still one by its units line.
    EXPECT_EQ(convert("P  UNITS SI\r\n" + record("317", "GND", "U1", "7")).net,
              test::writtenFile({"GND; 1: U1.7, "}));
}

TEST(IpcD356Reader, SmallBoardMatchesItsTelesisVersion) {
    test::expectFullMatchWithTelesis("readers/ipc_d356/board.ipc", "IPC-D-356",
                                     "readers/ipc_d356/board.tel");
}

TEST(IpcD356Reader, SurvivesTruncatedGarbledAndHugeInput) {
    const std::vector<std::string> pieces{"317",      "327",   "017", "999", "P  NNAME",
                                          "P  UNITS", "m0000", "VIA", "N/C", " ",
                                          "-",        "\r\n",  "\n",  "電",  std::string(1, '\0')};
    Survival survival;
    // Cut anywhere: inside the aliases, a record, its columns and the end.
    const std::string board = "P  UNITS CUST 0\r\nP  NNAMEm0000 LONG_NAME\r\n" +
                              record("317", "m0000", "U1", "14") + "\r\n" +
                              record("327", "GND", "C1", "2") + "\r\n" +
                              record("317", "GND", "VIA", "") + "\r\n999\r\n";
    test::convertSurvivingEach(std::ref(survival), test::randomSoups(pieces, 50, 300, 13), board);
    std::string hugeNet = "P  UNITS CUST 0\r\n";
    for (int i = 0; i < 20000; ++i)
        hugeNet += record("317", "BIG", "U" + std::to_string(i), "1") + "\r\n";
    EXPECT_THROW(convert(hugeNet), CapacityExceeded);
}

} // namespace
} // namespace lintora
