// Whatever file a designer points Lintora at, it ends with a clear message, a line saying what
// it concerns, and exit status 2; the reports of the previous run stay exactly as they were,
// and no lock file is left behind.
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace lintora {
namespace {

const std::string kGood = "$PACKAGES\r\n0603 ! 10K ; R1\r\n$NETS\r\nA ; R1.1 U1.1\r\n$END\r\n";

class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        // The test directory must be reachable by an unprivileged user (see below).
        std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
        test::writeFile(dir / "good.tel", kGood);
        test::writeFile(dir / "cmp.txt", "previous cmp");
        test::writeFile(dir / "cmpprt.txt", "previous cmpprt");
        test::writeFile(dir / "errlog.txt", "previous errlog");
    }

    // Runs the command line in the test directory; `prefix` goes before the command
    // (a ulimit, a change of user).
    int run(const std::string& arguments, const std::string& prefix = "") {
        const std::string command = "cd '" + dir.path().string() + "' && " + prefix + " '" +
                                    LINTORA_CLI + "' --quiet --parts " + arguments +
                                    " > cli.out 2> cli.err";
        const int status = std::system(("sh -c \"" + command + "\"").c_str());
        err = test::readFile(dir / "cli.err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int compareWithGood(const std::string& side1, const std::string& prefix = "") {
        return run("--format1 Telesis --format2 Telesis " + side1 + " good.tel", prefix);
    }
    // The message, then one line of context that holds `concerning`.
    void expectStopped(int exitCode, std::string_view message, std::string_view concerning,
                       const std::filesystem::path& workDir = {}) {
        EXPECT_EQ(exitCode, 2);
        EXPECT_TRUE(err.starts_with(message)) << err;
        const std::size_t firstEnd = err.find('\n');
        ASSERT_NE(firstEnd, std::string::npos) << err;
        const std::string context = err.substr(firstEnd + 1);
        EXPECT_TRUE(context.starts_with("lintora-cli: ")) << err;
        EXPECT_EQ(context.find('\n'), context.size() - 1) << "two lines: " << err;
        EXPECT_NE(context.find(concerning), std::string::npos) << err;
        const std::filesystem::path reports = workDir.empty() ? dir.path() : workDir;
        EXPECT_EQ(test::readFile(reports / "cmp.txt"), "previous cmp");
        EXPECT_EQ(test::readFile(reports / "cmpprt.txt"), "previous cmpprt");
        EXPECT_EQ(test::readFile(reports / "errlog.txt"), "previous errlog");
        EXPECT_FALSE(test::fileExists(reports / ".lintora.lock"));
    }

    test::TempDir dir;
    std::string err;
};

const std::string kNotFound = "指定ファイルが見つかりません。もう一度確認して実行して下さい。";
const std::string kMismatch =
    "比較１のネットフォーマットが一致していません。もう一度フォーマットを確認してください。";
const std::string kUndecodable = "ファイルの文字コードを読み取れません。";
const std::string kWriteFailed = "ファイルを書き込めませんでした。：";

TEST_F(BadInput, AMissingFile) {
    expectStopped(compareWithGood("absent.tel"), kNotFound, "FILE1 (absent.tel)");
    // The same when the format is to be recognised: the run says what it always says.
    expectStopped(run("good.tel absent.tel"), kNotFound, "FILE2 (absent.tel)");
}

TEST_F(BadInput, ADirectoryGivenAsAFile) {
    std::filesystem::create_directory(dir / "folder.tel");
    expectStopped(compareWithGood("folder.tel"), kNotFound, "FILE1 (folder.tel)");
}

TEST_F(BadInput, AnEmptyFile) {
    test::writeFile(dir / "empty.tel", "");
    expectStopped(compareWithGood("empty.tel"), kMismatch, "FILE1 (empty.tel)");
}

TEST_F(BadInput, ABinaryFile) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 131 + 7) % 256);
    test::writeFile(dir / "binary.tel", bytes);
    expectStopped(compareWithGood("binary.tel"), kUndecodable, "FILE1 (binary.tel)");
    expectStopped(run("good.tel binary.tel"), kUndecodable, "FILE2 (binary.tel)");
}

TEST_F(BadInput, AFiftyMegabyteFileOfOneLine) {
    test::writeFile(dir / "huge.tel", std::string(50u << 20, 'A'));
    expectStopped(compareWithGood("huge.tel"), kMismatch, "FILE1 (huge.tel)");
}

TEST_F(BadInput, BytesThatAreNeitherUtf8NorShiftJis) {
    test::writeFile(dir / "latin.tel", "$PACKAGES\r\n$NETS\r\nA ; R1.1 \xFF\xFD\xA0.1\r\n");
    expectStopped(compareWithGood("latin.tel"), kUndecodable, "FILE1 (latin.tel)");
}

TEST_F(BadInput, NulBytes) {
    test::writeFile(dir / "nul.tel", std::string("$PACKAGES\r\n$NETS\r\nA ; R1.1\0U1.1\r\n", 32));
    expectStopped(compareWithGood("nul.tel"), kUndecodable, "FILE1 (nul.tel)");
}

TEST_F(BadInput, CrOnlyLineEndsAreLineEndsNotBadInput) {
    // Old Macintosh files end their lines with CR alone; that is a line end like any other,
    // so this file is compared, not refused.
    test::writeFile(dir / "cr.tel", "$PACKAGES\r0603 ! 10K ; R1\r$NETS\rB ; U1.1 R1.1\r$END\r");
    EXPECT_EQ(compareWithGood("cr.tel"), 0) << err;
}

TEST_F(BadInput, ABinarySwapFile) {
    test::writeFile(dir / "copy.tel", kGood);
    test::writeFile(dir / "swap.bin", std::string("\x00\x01\xFF\xFE\x80 \x81", 7));
    expectStopped(run("--format1 Telesis --format2 Telesis --swap swap.bin copy.tel good.tel"),
                  kUndecodable, "swap file (swap.bin)");
}

TEST_F(BadInput, AnUnwritableWorkingDirectory) {
    std::filesystem::create_directory(dir / "locked");
    for (const char* name : {"cmp.txt", "cmpprt.txt", "errlog.txt"})
        std::filesystem::copy_file(dir / name, dir / "locked" / name);
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_exec |
                                                     std::filesystem::perms::others_read |
                                                     std::filesystem::perms::others_exec);
    // root may write anywhere: run as an ordinary user then.
    const std::string asUser =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
    test::writeFile(dir / "copy.tel", kGood);
    const int code =
        run("--workdir locked --format1 Telesis --format2 Telesis good.tel copy.tel", asUser);
    // The folder is named, not the lock file the user never heard of.
    expectStopped(code, kWriteFailed, "working folder locked cannot be written", dir / "locked");
    EXPECT_EQ(err.find(".lintora.lock"), std::string::npos) << err;
}

TEST_F(BadInput, AMissingWorkingDirectory) {
    test::writeFile(dir / "copy.tel", kGood);
    expectStopped(run("--workdir absent good.tel copy.tel"), kWriteFailed,
                  "working folder absent does not exist");
    EXPECT_FALSE(test::fileExists(dir / "absent"));
}

TEST_F(BadInput, AReadOnlyReport) {
    test::writeFile(dir / "copy.tel", kGood);
    std::filesystem::permissions(dir / "cmp.txt", std::filesystem::perms::owner_read);
    expectStopped(compareWithGood("copy.tel"), kWriteFailed, "report ./cmp.txt");
}

TEST_F(BadInput, AFullDisk) {
    // A file-size limit of 64 KiB: the scratch copy of a 1 MB netlist cannot be written.
    std::string big = "$PACKAGES\r\n$NETS\r\n";
    for (int i = 0; big.size() < (1u << 20); ++i)
        big += "N" + std::to_string(i) + " ; R" + std::to_string(i) + ".1 R" + std::to_string(i) +
               ".2\r\n";
    test::writeFile(dir / "big.tel", big);
    expectStopped(compareWithGood("big.tel", "ulimit -f 64;"), kWriteFailed, "net.tmp");
    EXPECT_FALSE(test::fileExists(dir / "net.tmp.partial"));
}

} // namespace
} // namespace lintora
