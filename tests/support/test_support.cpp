#include "support/test_support.h"

#include "base/errors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace lintora::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    m_path = base / ("lintora-test-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

CliResult runCli(const TempDir& dir, const std::string& arguments) {
    const std::string command = "cd '" + dir.path().string() + "' && '" LINTORA_CLI "' " +
                                arguments + " > cli.out 2> cli.err";
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(dir / "cli.out");
    result.err = readFile(dir / "cli.err");
    return result;
}

std::filesystem::path dataFile(std::string_view relative) {
    return std::filesystem::path(LINTORA_TEST_DATA) / relative;
}

std::vector<std::string> crlfLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string crlfText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::string writtenFile(const std::vector<std::string>& lines) { return crlfText(lines) + "\r\n"; }

Conversion convertWith(ReaderFunction reader, std::string_view input, std::string_view fileName,
                       std::string_view notWritten, const Limits& limits) {
    ScratchWorkspace sw;
    sw.ws.limits = limits;
    writeFile(sw.dir / fileName, input);
    const ReaderResult result = reader(sw.ws, (sw.dir / fileName).string());
    const auto contents = [&](std::string_view name) {
        return fileExists(sw.dir / name) ? readFile(sw.dir / name) : std::string(notWritten);
    };
    return {result, contents("net.tmp"), contents("parts.tmp"), sw.observer.hides};
}

ComparisonFixture::ComparisonFixture() { options.workDir = dir.path(); }

void ComparisonFixture::setNetlists(std::string_view side1, std::string_view side2,
                                    std::string_view format) {
    writeFile(dir / "side1.net", side1);
    writeFile(dir / "side2.net", side2);
    inputs.path1 = (dir / "side1.net").string();
    inputs.path2 = (dir / "side2.net").string();
    inputs.format1 = format;
    inputs.format2 = format;
}

RunResult ComparisonFixture::run() { return runComparison(inputs, options, observer); }

namespace {

RunResult compareFiles(std::string_view file1, std::string_view format1, std::string_view file2,
                       std::string_view format2) {
    ComparisonFixture fx;
    fx.inputs.path1 = dataFile(file1).string();
    fx.inputs.format1 = format1;
    fx.inputs.path2 = dataFile(file2).string();
    fx.inputs.format2 = format2;
    return fx.run();
}

} // namespace

void expectFullMatchWithTelesis(std::string_view boardFile, std::string_view format,
                                std::string_view telesisFile) {
    SCOPED_TRACE(boardFile);
    const RunResult forward = compareFiles(boardFile, format, telesisFile, "Telesis");
    EXPECT_EQ(forward.outcome, RunOutcome::Completed);
    EXPECT_TRUE(forward.allClear);
    const RunResult backward = compareFiles(telesisFile, "Telesis", boardFile, format);
    EXPECT_EQ(backward.outcome, RunOutcome::Completed);
    EXPECT_TRUE(backward.allClear);

    // Side 2 is read only after side 1 was taken, so each side needs a run of its own.
    EXPECT_EQ(compareFiles(telesisFile, format, boardFile, format).outcome,
              RunOutcome::FormatMismatch)
        << "Telesis version on side 1";
    EXPECT_EQ(compareFiles(boardFile, format, telesisFile, format).outcome,
              RunOutcome::FormatMismatch)
        << "Telesis version on side 2";
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (auto& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

std::vector<std::string> randomSoups(const std::vector<std::string>& pieces, int count, int length,
                                     unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> soups(static_cast<std::size_t>(count));
    for (auto& soup : soups)
        for (int i = 0; i < length; ++i)
            soup += pieces[random() % pieces.size()];
    return soups;
}

void convertSurvivingEach(const std::function<void(std::string_view)>& convert,
                          const std::vector<std::string>& inputs, std::string_view board) {
    const auto survives = [&](std::string_view text) {
        try {
            convert(text);
        } catch (const RunFailure&) {
        }
    };
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE("input " + std::to_string(i));
        survives(inputs[i]);
    }
    for (std::size_t n = 0; n <= board.size(); ++n) {
        SCOPED_TRACE("the board's first " + std::to_string(n) + " bytes");
        survives(board.substr(0, n));
    }
}

} // namespace lintora::test
