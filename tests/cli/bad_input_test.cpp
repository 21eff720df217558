// Whatever file a designer points Lintora at, it ends with a clear message and exit status 2,
// and the reports of the previous run stay exactly as they were.
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
                                    LINTORA_CLI + "' --parts " + arguments +
                                    " > cli.out 2> cli.err";
        const int status = std::system(("sh -c \"" + command + "\"").c_str());
        err = test::readFile(dir / "cli.err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int compareWithGood(const std::string& side1, const std::string& prefix = "") {
        return run("--format1 Telesis --format2 Telesis " + side1 + " good.tel", prefix);
    }
    void expectStopped(int exitCode, std::string_view message) {
        EXPECT_EQ(exitCode, 2);
        EXPECT_TRUE(err.starts_with(message)) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
        EXPECT_EQ(test::readFile(dir / "cmp.txt"), "previous cmp");
        EXPECT_EQ(test::readFile(dir / "cmpprt.txt"), "previous cmpprt");
        EXPECT_EQ(test::readFile(dir / "errlog.txt"), "previous errlog");
    }

    test::TempDir dir;
    std::string err;
};

const std::string kNotFound = "指定ファイルが見つかりません。もう一度確認して実行して下さい。";
const std::string kMismatch =
    "比較１のネットフォーマットが一致していません。もう一度フォーマットを確認してください。";
const std::string kUndecodable = "ファイルの文字コードを読み取れません。";
const std::string kWriteFailed = "ファイルを書き込めませんでした。：";

TEST_F(BadInput, AMissingFile) { expectStopped(compareWithGood("absent.tel"), kNotFound); }

TEST_F(BadInput, ADirectoryGivenAsAFile) {
    std::filesystem::create_directory(dir / "folder.tel");
    expectStopped(compareWithGood("folder.tel"), kNotFound);
}

TEST_F(BadInput, AnEmptyFile) {
    test::writeFile(dir / "empty.tel", "");
    expectStopped(compareWithGood("empty.tel"), kMismatch);
}

TEST_F(BadInput, ABinaryFile) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 131 + 7) % 256);
    test::writeFile(dir / "binary.tel", bytes);
    expectStopped(compareWithGood("binary.tel"), kUndecodable);
}

TEST_F(BadInput, AFiftyMegabyteFileOfOneLine) {
    test::writeFile(dir / "huge.tel", std::string(50u << 20, 'A'));
    expectStopped(compareWithGood("huge.tel"), kMismatch);
}

TEST_F(BadInput, BytesThatAreNeitherUtf8NorShiftJis) {
    test::writeFile(dir / "latin.tel", "$PACKAGES\r\n$NETS\r\nA ; R1.1 \xFF\xFD\xA0.1\r\n");
    expectStopped(compareWithGood("latin.tel"), kUndecodable);
}

TEST_F(BadInput, NulBytes) {
    test::writeFile(dir / "nul.tel", std::string("$PACKAGES\r\n$NETS\r\nA ; R1.1\0U1.1\r\n", 32));
    expectStopped(compareWithGood("nul.tel"), kUndecodable);
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
                  kUndecodable);
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
    EXPECT_EQ(code, 2);
    EXPECT_NE(err.find(kWriteFailed), std::string::npos) << err;
    EXPECT_EQ(test::readFile(dir / "locked" / "cmp.txt"), "previous cmp");
}

TEST_F(BadInput, AReadOnlyReport) {
    test::writeFile(dir / "copy.tel", kGood);
    std::filesystem::permissions(dir / "cmp.txt", std::filesystem::perms::owner_read);
    expectStopped(compareWithGood("copy.tel"), kWriteFailed);
}

TEST_F(BadInput, AFullDisk) {
    // A file-size limit of 64 KiB: the scratch copy of a 1 MB netlist cannot be written.
    std::string big = "$PACKAGES\r\n$NETS\r\n";
    for (int i = 0; big.size() < (1u << 20); ++i)
        big += "N" + std::to_string(i) + " ; R" + std::to_string(i) + ".1 R" + std::to_string(i) +
               ".2\r\n";
    test::writeFile(dir / "big.tel", big);
    expectStopped(compareWithGood("big.tel", "ulimit -f 64;"), kWriteFailed);
    EXPECT_FALSE(test::fileExists(dir / "net.tmp.partial"));
}

} // namespace
} // namespace lintora
