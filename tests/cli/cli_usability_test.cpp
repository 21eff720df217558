// What a new user meets first: format names as they come to mind, files whose format is
// recognised, warnings for options that cannot do what was meant, --strict, --help, and a
// second run in the same folder.
#include "run/run_lock.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace lintora {
namespace {

using test::CliResult;
using test::runCli;

std::string readerFile(std::string_view relative) {
    return "'" + test::dataFile(std::string("readers/") + std::string(relative)).string() + "'";
}

TEST(CommandLineNames, NamesAndAliasesInAnyCaseNeedNoShellQuoting) {
    test::TempDir dir;
    struct Case {
        std::string typed;
        std::string name; // as the report's header gives it
        std::string board;
    };
    const std::vector<Case> cases{
        {"pcad-wrl", "Pcad(wrl)", "pcad_wrl/board.wrl"},
        {"PCAD-NLT", "Pcad(nlt)", "pcad_nlt/board.nlt"},
        {"mm2", "MM-COLMO_NEO & MM2", "mm/board.net"},
        {"cadlus-pc", "CADLUS-PC(Reverse Net)", "cadlus/board.clp"},
        {"expedition", "Expedition PCB", "expedition/board.kyn"},
        {"'expedition pcb'", "Expedition PCB", "expedition/board.kyn"},
        {"wacom", "WACOM SIMPLE NET", "wacom/board.wac"},
        {"cadix-xid", "CADIX XID", "sfx/board.xid"},
        {"d2cad", "D2 CAD", "d2cad/board.d2c"},
        {"ohm-3", "OHM-3", "sfx/board.oh3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string folder = c.board.substr(0, c.board.find('/'));
        const CliResult r =
            runCli(dir, "-q --format1 " + c.typed + " --format2 telesis " + readerFile(c.board) +
                            " " + readerFile(folder + "/board.tel"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        const std::string report = test::readFile(dir / "cmp.txt");
        EXPECT_NE(report.find("フォーマット：　" + c.name + "\r\n"), std::string::npos);
        EXPECT_NE(report.find("フォーマット：　Telesis\r\n"), std::string::npos);
    }
}

TEST(CommandLineNames, AnUnknownNameGivesTheMessageThenTheNamesAndTheClosestOnes) {
    test::TempDir dir;
    const CliResult r =
        runCli(dir, "-q --format1 telesys --format2 telesis " + readerFile("telesis/board.tel") +
                        " " + readerFile("pads/board.tel"));
    EXPECT_EQ(r.exitCode, 2);
    const std::string message = "比較１ファイルのネットフォーマットを指定して下さい。\n";
    ASSERT_TRUE(r.err.starts_with(message)) << r.err;
    const std::string context = r.err.substr(message.size());
    EXPECT_TRUE(context.starts_with("lintora-cli: --format1 \"telesys\" is no format name; did "
                                    "you mean \"Telesis\"?"))
        << context;
    EXPECT_NE(context.find("ACCEL, ALLEGRO, CADIX XID"), std::string::npos);
    EXPECT_EQ(context.find('\n'), context.size() - 1);
    EXPECT_FALSE(test::fileExists(dir / ".lintora.lock"));
    // A beginning shared by several names suggests them all.
    const CliResult pads =
        runCli(dir, "-q --format1 telesis --format2 pads " + readerFile("telesis/board.tel") + " " +
                        readerFile("pads/board.asc"));
    EXPECT_EQ(pads.exitCode, 2);
    EXPECT_NE(pads.err.find("did you mean \"PADS2000\" or \"PADSPCB\"?"), std::string::npos)
        << pads.err;
}

TEST(CommandLineDetection, TwoFilesOfRecognisableFormatsNeedNoFormatOptions) {
    test::TempDir dir;
    const CliResult r =
        runCli(dir, readerFile("accel/board.net") + " " + readerFile("pads/board.asc"));
    EXPECT_EQ(r.exitCode, 0) << r.err; // one board in two formats
    EXPECT_NE(r.err.find("FILE1 (" + test::dataFile("readers/accel/board.net").string() +
                         "): recognised as ACCEL by its content"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("recognised as PADSPCB by its content"), std::string::npos);
    EXPECT_NE(test::readFile(dir / "cmp.txt").find("フォーマット：　PADSPCB"), std::string::npos);
    // "auto" says the same as leaving the option out.
    EXPECT_EQ(runCli(dir, "-q --format1 auto --format2 AUTO " + readerFile("accel/board.net") +
                              " " + readerFile("accel/board.tel"))
                  .exitCode,
              0);
}

TEST(CommandLineDetection, AFileThatCouldBeSeveralFormatsIsLeftToTheUser) {
    test::TempDir dir;
    const CliResult r =
        runCli(dir, readerFile("protel/board.net") + " " + readerFile("protel/board.tel"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("cannot tell the format of FILE1"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("it could be PROTEL or TANGO; name it with --format1"), std::string::npos)
        << r.err;
    EXPECT_FALSE(test::fileExists(dir / "cmp.txt"));
    EXPECT_EQ(runCli(dir, "-q --format1 protel " + readerFile("protel/board.net") + " " +
                              readerFile("protel/board.tel"))
                  .exitCode,
              0);
}

TEST(CommandLineWarnings, OptionsThatCannotDoWhatWasMeantAreNamedAndTheRunGoesOn) {
    test::TempDir dir;
    test::writeFile(dir / "a.tel", "$PACKAGES\r\n$NETS\r\nA ; R1.1 U1.1\r\n$END\r\n");
    test::writeFile(dir / "b.tel", "$PACKAGES\r\n$NETS\r\nA ; R1.1 U1.1\r\n$END\r\n");
    const CliResult r =
        runCli(dir, "-q --adjust 150 --pin-change U1:7:2 --nonpolar '' a.tel b.tel");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("lintora-cli: warning: --adjust 150 is above 100"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("lintora-cli: warning: --pin-change U1:7:2: a rule matches the letters"),
              std::string::npos);
    EXPECT_NE(r.err.find("lintora-cli: warning: --nonpolar with an empty value"),
              std::string::npos);
    const CliResult negative = runCli(dir, "-q --adjust -5 a.tel b.tel");
    EXPECT_NE(negative.err.find("--adjust -5 is below 0"), std::string::npos) << negative.err;
    EXPECT_TRUE(
        runCli(dir, "-q --adjust 100 --pin-change U:7:2 --nonpolar C a.tel b.tel").err.empty());
}

TEST(CommandLineStrict, DuplicatesFailTheRunOnlyWhenAskedTo) {
    test::TempDir dir;
    const std::string netlist = "$PACKAGES\r\n$NETS\r\nA ; R1.1 U1.1\r\nA ; R1.2 U1.1\r\n$END\r\n";
    test::writeFile(dir / "a.tel", netlist);
    test::writeFile(dir / "b.tel", netlist);
    const CliResult plain = runCli(dir, "-q a.tel b.tel");
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_NE(plain.out.find("完全一致しました。"), std::string::npos);
    // The duplicate warnings send the user to a window button: the next line names the file.
    EXPECT_NE(plain.err.find("エラー情報ボタンを押して確認してください。\n"
                             "lintora-cli: the details are in errlog.txt\n"),
              std::string::npos)
        << plain.err;
    const CliResult strict = runCli(dir, "--strict a.tel b.tel");
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_EQ(strict.out, plain.out);
    EXPECT_NE(strict.err.find("(duplicates: 1 net name, 1 pin)"), std::string::npos) << strict.err;
}

TEST(CommandLineLock, ASecondRunSaysItWaitsAndNoLockFileStays) {
    test::TempDir dir;
    test::writeFile(dir / "a.tel", "$PACKAGES\r\n$NETS\r\nA ; R1.1 U1.1\r\n$END\r\n");
    test::writeFile(dir / "b.tel", "$PACKAGES\r\n$NETS\r\nB ; R1.1 U1.1\r\n$END\r\n");
    CliResult r;
    auto first = std::make_unique<RunLock>(dir.path(), 0);
    ASSERT_TRUE(first->acquired());
    std::thread second([&] { r = runCli(dir, "-q a.tel b.tel"); });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    first.reset(); // the first run ends; the second goes on
    second.join();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("lintora-cli: another comparison is working in ."), std::string::npos)
        << r.err;
    EXPECT_FALSE(test::fileExists(dir / ".lintora.lock"));
}

TEST(CommandLineHelp, SaysEverythingInPlainEnglish) {
    test::TempDir dir;
    const CliResult r = runCli(dir, "--help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* part : {"Usage:",
                             "[FILE1] [FILE2]",
                             "--format1",
                             "--list-formats",
                             "auto",
                             "--swap",
                             "--adjust",
                             "--parts",
                             "--nonpolar",
                             "--pin-change",
                             "--workdir",
                             "--encoding",
                             "--json",
                             "--propose-swap",
                             "Swap proposal",
                             "--strict",
                             "--quiet",
                             "--no-limits",
                             "--progress",
                             "--version",
                             "Exit status:",
                             "cmp.txt",
                             "cmpprt.txt",
                             "errlog.txt",
                             "docs/json-report.md",
                             "Swap file",
                             "U7.3 U7.5",
                             "Japanese"}) {
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
    }
}

} // namespace
} // namespace lintora
