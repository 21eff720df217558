#include "base/text_encoding.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::CliResult;
using test::runCli;

const std::string kExamples = LINTORA_EXAMPLES;

// Lines of a text with LF line ends.
std::vector<std::string> lfLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return lines;
}

TEST(CommandLine, ListsEveryFormatInTheWindowsOrderTodaysAfterTheTwentySeven) {
    test::TempDir dir;
    const CliResult r = runCli(dir, "--list-formats");
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> rows; // the lines that begin with a format name
    for (const std::string& line : lfLines(r.out))
        if (!line.empty() && line.find("  ") != std::string::npos && line.front() != ' ')
            rows.push_back(line);
    ASSERT_EQ(rows.size(), 32u);
    EXPECT_TRUE(rows[0].starts_with("ACCEL ")) << rows[0];
    EXPECT_TRUE(rows[13].starts_with("MENTOR ")) << rows[13];
    EXPECT_TRUE(rows[14].starts_with("MM-COLMO_NEO & MM2 ")) << rows[14];
    EXPECT_NE(rows[14].find(" mm2, mm-colmo-neo "), std::string::npos) << rows[14];
    EXPECT_TRUE(rows[19].starts_with("Pcad(wrl) ")) << rows[19];
    EXPECT_NE(rows[19].find("pcad-wrl"), std::string::npos);
    EXPECT_TRUE(rows[26].starts_with("WACOM SIMPLE NET ")) << rows[26];
    EXPECT_NE(rows[25].find("$PACKAGES"), std::string::npos) << rows[25]; // what Telesis reads
    EXPECT_NE(r.out.find("auto"), std::string::npos);
    const std::vector<std::string> today{"KiCad ", "IPC-D-356 ", "Allegro PST ", "OrCAD PCB II ",
                                         "gEDA "};
    for (std::size_t i = 0; i < today.size(); ++i)
        EXPECT_TRUE(rows[27 + i].starts_with(today[i])) << rows[27 + i];
}

TEST(CommandLine, TheExampleComparisonPrintsItsDifferencesAndASummaryAndExitsWithOne) {
    test::TempDir dir;
    const std::string files =
        " '" + kExamples + "/sensor_rev_a.tel' '" + kExamples + "/sensor_rev_b.tel'";
    const CliResult r = runCli(dir, "--format1 Telesis --format2 ALLEGRO" + files);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("ネット名; 　SCL = I2C_SCL\nネット１; 　U1.7, \nネット２;   U1.2, "),
              std::string::npos);
    EXPECT_NE(r.out.find("RESET; 2: C2.1, U1.1, "), std::string::npos);
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
    EXPECT_TRUE(test::fileExists(dir / "cmp.txt"));
    EXPECT_FALSE(test::fileExists(dir / ".lintora.lock"));
    // Standard error: per side what was read, then what was found.
    const auto summary = lfLines(r.err);
    ASSERT_EQ(summary.size(), 3u) << r.err;
    EXPECT_TRUE(summary[0].starts_with("lintora-cli: side 1: Telesis, 8 nets, 29 pins, 11 parts: "))
        << summary[0];
    EXPECT_TRUE(summary[1].starts_with("lintora-cli: side 2: ALLEGRO, 7 nets, 27 pins, 11 parts: "))
        << summary[1];
    EXPECT_EQ(summary[2], "lintora-cli: found: 1 net with differences, 1 net only on side 1, "
                          "0 nets only on side 2");
    // --quiet leaves standard error to messages; standard output stays the same.
    const CliResult quiet = runCli(dir, "--quiet --format1 Telesis --format2 ALLEGRO" + files);
    EXPECT_EQ(quiet.exitCode, 1);
    EXPECT_TRUE(quiet.err.empty()) << quiet.err;
    EXPECT_EQ(quiet.out, r.out);
}

TEST(CommandLine, IdenticalNetlistsExitWithZeroAndTheBanner) {
    test::TempDir dir;
    test::writeFile(dir / "copy.tel", test::readFile(kExamples + "/sensor_rev_a.tel"));
    const CliResult r = runCli(dir, "--format1 Telesis --format2 Telesis --workdir out '" +
                                        kExamples + "/sensor_rev_a.tel' copy.tel");
    // The working directory must exist; it is never created behind the user's back.
    EXPECT_EQ(r.exitCode, 2);
    std::filesystem::create_directory(dir / "out");
    const CliResult again = runCli(dir, "--format1 Telesis --format2 Telesis --workdir out '" +
                                            kExamples + "/sensor_rev_a.tel' copy.tel");
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.out.starts_with(std::string(64, '*') + "\n" +
                                      "***********************完全一致しました。"));
    EXPECT_TRUE(test::fileExists(dir / "out" / "cmp.txt"));
    EXPECT_FALSE(test::fileExists(dir / "cmp.txt"));
}

TEST(CommandLine, EveryStopIsExitTwoWithTheMessageAndWhatItConcernsOnStandardError) {
    test::TempDir dir;
    CliResult r = runCli(dir, "--format1 Telesis --format2 Telesis missing.tel other.tel");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "指定ファイルが見つかりません。もう一度確認して実行して下さい。\n"
                     "lintora-cli: FILE1 (missing.tel) does not exist or cannot be read\n");
    EXPECT_TRUE(r.out.empty());

    r = runCli(dir, "--format1 '' --format2 Telesis a.tel b.tel");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.starts_with("比較１のファイルフォーマットを指定してください。\n"
                                  "lintora-cli: --format1 is empty"))
        << r.err;

    r = runCli(dir, "a.tel");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "比較２のファイル名を指定してください。\n"
                     "lintora-cli: no FILE2 given: lintora-cli [options] FILE1 FILE2\n");

    r = runCli(dir, "--format1 Telesis --format2 Telesis --adjust many a.tel b.tel");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("\nlintora-cli: --adjust \"many\" is not a number"), std::string::npos)
        << r.err;
    EXPECT_FALSE(test::fileExists(dir / ".lintora.lock"));
}

TEST(CommandLine, PartsAndOnePinNetsLeftOutOfBothSides) {
    test::TempDir dir;
    test::writeFile(dir / "holes.txt", "MH\n");
    const std::string pair = " '" + test::dataFile("ignore/schematic.net").string() + "' '" +
                             test::dataFile("ignore/board.ipc").string() + "'";
    const std::string formats = "--format1 KiCad --format2 IPC-D-356";
    EXPECT_EQ(runCli(dir, formats + pair).exitCode, 1);
    const CliResult r =
        runCli(dir, formats + " --ignore TP9 --ignore-file holes.txt --skip-one-pin-nets" + pair);
    EXPECT_EQ(r.exitCode, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("\n除外部品　ﾘﾌｧﾚﾝｽ指定：TP9 MH\n"), std::string::npos) << r.out;
}

TEST(CommandLine, ANetlistWithoutNetsStopsWithExitTwoAndNamesTheFile) {
    test::TempDir dir;
    test::writeFile(dir / "a.tel", "$PACKAGES\r\n$NETS\r\n\r\nA ; U1.1 U2.1\r\n$END\r\n");
    test::writeFile(dir / "b.tel", "$PACKAGES\r\n$NETS\r\n\r\nB ; U3.1 U4.1\r\n$END\r\n");
    const CliResult r = runCli(dir, "--format1 Telesis --format2 Telesis a.tel b.tel");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.empty()) << r.out;
    const std::string mismatch =
        "比較１のネットフォーマットが一致していません。もう一度フォーマットを確認してください。";
    EXPECT_EQ(r.err.rfind(mismatch + "\nlintora-cli: no net was found in a.tel", 0), 0u) << r.err;
}

TEST(CommandLine, AnOptionThatIsNoUtf8IsReportedAsTyped) {
    test::TempDir dir;
    test::writeFile(dir / "copy.tel", test::readFile(kExamples + "/sensor_rev_a.tel"));
    // (The shell is sh: printf writes the byte E9, a Latin-1 "é".)
    const CliResult r = runCli(dir, "--format1 Telesis --format2 Telesis "
                                    "--nonpolar \"$(printf '\\351ab')\" '" +
                                        kExamples + "/sensor_rev_a.tel' copy.tel");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("＜無極性部品＞\n\351ab\n"), std::string::npos);
}

TEST(CommandLine, WrongOptionsAreUsageErrors) {
    test::TempDir dir;
    std::string elevenNonPolar;
    for (int i = 0; i < 11; ++i)
        elevenNonPolar += " --nonpolar C" + std::to_string(i);
    const std::vector<std::string> wrong{"--frobnicate", "--encoding latin1 a b",
                                         "--pin-change D:1 a b", elevenNonPolar + " a b",
                                         "a b c"};
    for (const std::string& args : wrong) {
        SCOPED_TRACE(args);
        EXPECT_EQ(runCli(dir, args).exitCode, 2);
    }
}

TEST(CommandLine, WritesTheReportsInShiftJisOnRequest) {
    test::TempDir dir;
    const CliResult r = runCli(dir, "--format1 Telesis --format2 Telesis --encoding cp932 '" +
                                        kExamples + "/sensor_rev_a.tel' '" + kExamples +
                                        "/sensor_rev_b.tel'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(isValidUtf8(r.out)); // the terminal still gets UTF-8
    std::string decoded;
    ASSERT_TRUE(cp932ToUtf8(test::readFile(dir / "cmp.txt"), decoded));
    EXPECT_NE(decoded.find("SCL = I2C_SCL"), std::string::npos);
}

} // namespace
} // namespace lintora

namespace lintora {
namespace {

const std::string kSwapData = std::string(LINTORA_TEST_DATA) + "/swap";

TEST(CommandLine, ASwapFileMakesARenumberedBoardAFullMatch) {
    test::TempDir dir;
    const std::string files = " '" + kSwapData + "/schematic.tel' '" + kSwapData + "/board.tel'";
    EXPECT_EQ(runCli(dir, "--format1 Telesis --format2 Telesis --parts" + files).exitCode, 1);
    const CliResult r = runCli(dir, "--quiet --format1 Telesis --format2 Telesis --parts --swap '" +
                                        kSwapData + "/renumbered.swp'" + files);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("完全一致しました。"), std::string::npos);
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(CommandLine, PartDifferencesAloneMakeTheExitStatusOne) {
    test::TempDir dir;
    test::writeFile(dir / "a.tel", "$PACKAGES\r\nR0603 ! 10K ; R1\r\n$NETS\r\nA ; R1.1\r\n$END\r\n");
    test::writeFile(dir / "b.tel", "$PACKAGES\r\nR0603 ! 22K ; R1\r\n$NETS\r\nA ; R1.1\r\n$END\r\n");
    const CliResult r = runCli(dir, "-q --format1 Telesis --format2 Telesis --parts a.tel b.tel");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("完全一致しました。"), std::string::npos); // the nets do match
    // The message sends the user to a window button: the next line names the file instead.
    EXPECT_EQ(r.err, "部品の異なる箇所がありました。部品比較結果ボタンで確認してください。\n"
                     "lintora-cli: the parts differences are in cmpprt.txt\n");
    EXPECT_EQ(runCli(dir, "--format1 Telesis --format2 Telesis a.tel b.tel").exitCode, 0);
}

TEST(CommandLine, PinChangeAndNonPolarOptionsFillTheirBoxesInOrder) {
    test::TempDir dir;
    test::writeFile(dir / "a.tel", "$PACKAGES\r\n$NETS\r\nA ; D1.1 C1.1\r\nB ; D1.2 C1.2\r\n$END\r\n");
    test::writeFile(dir / "b.tel", "$PACKAGES\r\n$NETS\r\nA ; D1.A C1.2\r\nB ; D1.K C1.1\r\n$END\r\n");
    const CliResult r = runCli(dir, "--format1 Telesis --format2 Telesis --adjust 100 "
                                    "--pin-change D:1:A --pin-change D:2:K --nonpolar C a.tel b.tel");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("DXX.1-->DXX.A DXX.2-->DXX.K \n"), std::string::npos);
}

} // namespace
} // namespace lintora

namespace lintora {
namespace {

// Each format name with a small board written in its format; every board has a Telesis
// twin (board.tel beside it) that describes the same connections.
struct FormatBoard {
    const char* format;
    const char* board; // under tests/data/readers
};
constexpr FormatBoard kFormatBoards[] = {
    {"ACCEL", "accel/board.net"},
    {"ALLEGRO", "telesis/board.tel"},
    {"CADIX XID", "sfx/board.xid"},
    {"CADLUS-PC(Reverse Net)", "cadlus/board.clp"},
    {"CADVANCE", "cadvance/board.net"},
    {"CR2000", "cr2000/board.cr2"},
    {"CR3000", "cr5000/board3.ccf"},
    {"CR5000", "cr5000/board.ccf"},
    {"CSi", "csi/board.csi"},
    {"D2 CAD", "d2cad/board.d2c"},
    {"Expedition PCB", "expedition/board.kyn"},
    {"FUTURE", "future/board.pin"},
    {"INTERGRA", "intergra/board.net"},
    {"MM-COLMO_NEO & MM2", "mm/board.net"},
    {"MENTOR", "mentor/board.net"},
    {"MYPCB", "mypcb/board.myp"},
    {"OHM-3", "sfx/board.oh3"},
    {"PADS2000", "pads2000/board.asc"},
    {"PADSPCB", "pads/board.asc"},
    {"Pcad(nlt)", "pcad_nlt/board.nlt"},
    {"Pcad(wrl)", "pcad_wrl/board.wrl"},
    {"PROTEL", "protel/board.net"},
    {"PROTEL2", "protel2/board.net"},
    {"SFX", "sfx/board.sfx"},
    {"TANGO", "tango/board.net"},
    {"Telesis", "telesis/board.tel"},
    {"WACOM SIMPLE NET", "wacom/board.wac"},
    {"KiCad", "kicad/board.net"},
    {"IPC-D-356", "ipc_d356/board.ipc"},
    {"Allegro PST", "allegro_pst/pstxnet.dat"},
    {"OrCAD PCB II", "orcad_pcb2/board.net"},
    {"gEDA", "geda/board.geda"},
};

TEST(CommandLine, EveryFormatReadsItsBoardAsAFullMatchWithTheTelesisVersion) {
    ASSERT_EQ(std::size(kFormatBoards), 32u);
    test::TempDir dir;
    for (const auto& [format, board] : kFormatBoards) {
        SCOPED_TRACE(format);
        const auto own = test::dataFile(std::string("readers/") + board);
        auto telesis = own.parent_path() / "board.tel";
        if (own == telesis) { // ALLEGRO and Telesis: compare the file with a copy of itself
            std::filesystem::copy_file(own, dir / "copy.tel",
                                       std::filesystem::copy_options::overwrite_existing);
            telesis = dir / "copy.tel";
        }
        const CliResult r = runCli(dir, "--format1 '" + std::string(format) + "' --format2 Telesis '" +
                                            own.string() + "' '" + telesis.string() + "'");
        EXPECT_EQ(r.exitCode, 0) << r.err << r.out;
        EXPECT_NE(r.out.find("完全一致しました。"), std::string::npos);
        if (telesis.parent_path() == dir.path())
            continue;
        // And a Telesis file read as this format is refused (or, for the few formats without
        // a landmark of their own, at least not taken for the same board).
        const CliResult swapped =
            runCli(dir, "--format1 '" + std::string(format) + "' --format2 Telesis '" +
                            telesis.string() + "' '" + own.string() + "'");
        EXPECT_NE(swapped.exitCode, 0);
    }
}

} // namespace
} // namespace lintora
