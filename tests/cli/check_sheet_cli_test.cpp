#include "support/test_support.h"

#include <gtest/gtest.h>

namespace lintora {
namespace {

using test::CliResult;
using test::runCli;

const std::string kExamples = LINTORA_EXAMPLES;
const std::string kPair = "--format1 Telesis --format2 ALLEGRO '" + kExamples +
                          "/sensor_rev_a.tel' '" + kExamples + "/sensor_rev_b.tel'";

TEST(CommandLineCheckSheet, WritesTheWorkbookWhereAskedWithoutAsking) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "work");
    const CliResult r = runCli(dir, "-q --workdir work --check-sheet review.xlsx " + kPair);
    EXPECT_EQ(r.exitCode, 1); // the revisions differ
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_NE(r.out.find("ネット名; 　SCL = I2C_SCL"), std::string::npos);
    ASSERT_TRUE(test::fileExists(dir / "review.xlsx")); // relative to the current directory
    EXPECT_EQ(test::readFile(dir / "review.xlsx").substr(0, 2), "PK");
    EXPECT_FALSE(test::fileExists(dir / "work" / "cmp.xlsx"));

    if (std::system("/usr/bin/python3 -c 'import openpyxl' > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    const std::string dump = "/usr/bin/python3 '" LINTORA_TEST_DATA "/../support/dump_xlsx.py' '" +
                             (dir / "review.xlsx").string() + "' > '" +
                             (dir / "dump.txt").string() + "'";
    ASSERT_EQ(std::system(dump.c_str()), 0);
    const std::string cells = test::readFile(dir / "dump.txt");
    EXPECT_NE(cells.find("cell\t16\t1\ts\t@\t-\t＜異なるネット＞\n"), std::string::npos) << cells;
    EXPECT_NE(cells.find("\t1\ts\t@\t-\tネット名; 　SCL = I2C_SCL\n"), std::string::npos);
    EXPECT_NE(cells.find("\t2\ts\t@\tFFFF0000\tU1.7\n"), std::string::npos);
    EXPECT_NE(cells.find("\t1\ts\t@\t-\tRESET;2\n"), std::string::npos);
}

TEST(CommandLineCheckSheet, AWorkbookThatCannotBeWrittenStopsWithExitTwo) {
    test::TempDir dir;
    const CliResult r = runCli(dir, "-q --check-sheet missing/review.xlsx " + kPair);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.starts_with("ファイルを書き込めませんでした。：missing/review.xlsx\n"
                                  "lintora-cli: the check sheet missing/review.xlsx cannot be "
                                  "written"))
        << r.err;
    EXPECT_NE(r.out.find("ネット名; 　SCL = I2C_SCL"), std::string::npos); // the run completed
    EXPECT_TRUE(test::fileExists(dir / "cmp.txt"));
}

TEST(CommandLineCheckSheet, ARunThatStopsWritesNoWorkbook) {
    test::TempDir dir;
    const CliResult r = runCli(dir, "--check-sheet review.xlsx --format1 Telesis --format2 "
                                    "ALLEGRO missing.tel '" +
                                        kExamples + "/sensor_rev_b.tel'");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(test::fileExists(dir / "review.xlsx"));
}

} // namespace
} // namespace lintora
