#pragma once

#include "base/observer.h"
#include "base/workspace.h"
#include "readers/reader_support.h"
#include "run/comparison_run.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lintora::test {

// Remembers everything a run showed, in order.
class RecordingObserver : public RunObserver {
public:
    void message(std::string_view text) override { messages.emplace_back(text); }
    bool question(std::string_view text) override {
        questions.emplace_back(text);
        return false;
    }
    void progress(int value, std::string_view caption) override {
        steps.emplace_back(value, std::string(caption));
    }
    void hideProgress() override { ++hides; }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::pair<int, std::string>> steps;
    int hides = 0;
};

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view bytes);
bool fileExists(const std::filesystem::path& path);

// What a run of lintora-cli returned and printed.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs lintora-cli with `arguments` (already quoted for the shell) inside `dir`; standard
// output and standard error are kept there as cli.out and cli.err.
CliResult runCli(const TempDir& dir, const std::string& arguments);

// A file of tests/data.
std::filesystem::path dataFile(std::string_view relative);

// Lines of a text with CR LF line ends ("a\r\nb\r\n" -> {"a", "b"}).
std::vector<std::string> crlfLines(std::string_view text);
// Joins lines, each followed by CR LF.
std::string crlfText(const std::vector<std::string>& lines);

// A written file's text: each line followed by CR LF, then the final empty line.
std::string writtenFile(const std::vector<std::string>& lines);

// What a reader made of one input.
struct Conversion {
    ReaderResult result = ReaderResult::NotRecognised;
    std::string net;   // net.tmp
    std::string parts; // parts.tmp
    int hides = 0;     // how often the progress window was hidden
};

// Runs `reader` on `input`, written as `fileName` in a fresh workspace. A file the reader did
// not write reads as `notWritten`.
Conversion convertWith(ReaderFunction reader, std::string_view input, std::string_view fileName,
                       std::string_view notWritten = "(none)", const Limits& limits = Limits{});

// A workspace in a temporary directory with a recording observer.
struct ScratchWorkspace {
    TempDir dir;
    RecordingObserver observer;
    Workspace ws{dir.path(), Limits{}, TextEncoding::Utf8, observer};
};

// Runs a whole comparison of two netlist texts in a temporary directory.
struct ComparisonFixture {
    TempDir dir;
    RecordingObserver observer;
    RunInputs inputs;
    RunOptions options;

    ComparisonFixture();
    // Writes the two netlists as side1.net and side2.net and names them in the inputs.
    void setNetlists(std::string_view side1, std::string_view side2,
                     std::string_view format = "Telesis");
    RunResult run();
    std::string report() const { return readFile(dir / "cmp.txt"); }
};

// The whole run must find the board (a file of tests/data, read as `format`) and its Telesis
// version alike in either order, and must refuse the Telesis version read as `format` on
// either side: a reader that took a foreign file for its own would compare nonsense unwarned.
void expectFullMatchWithTelesis(std::string_view boardFile, std::string_view format,
                                std::string_view telesisFile);

// Bytes no exporter writes, the same for a seed on every machine.
std::string randomBytes(std::size_t size, unsigned seed);
// `count` texts of `length` pieces each, drawn from `pieces`: keywords and separators in
// random order reach far more of a reader's states than random bytes do.
std::vector<std::string> randomSoups(const std::vector<std::string>& pieces, int count, int length,
                                     unsigned seed);

// Converts every input and every prefix of `board` (a file cut off anywhere). A RunFailure is
// Lintora's own report of a file it cannot take and lets the input pass; any other exception,
// or a crash, fails the test.
void convertSurvivingEach(const std::function<void(std::string_view)>& convert,
                          const std::vector<std::string>& inputs, std::string_view board);

} // namespace lintora::test
