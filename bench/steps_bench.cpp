// One benchmark per step of a comparison, on generated boards of 1,000, 10,000 and 20,000
// nets with a 10 % revision: every reader (MB/s), the duplicate checks, the sort, the pin
// passes, the swap pass, the comparison (and, beside it, the literal pin-by-pin comparison
// it replaces), the report and the whole run.
#include "base/text_file.h"
#include "generator/netlist_generator.h"
#include "passes/passes.h"
#include "readers/readers.h"
#include "run/comparison_run.h"
#include "run/format_table.h"
#include "run/net_compare.h"
#include "run/report.h"
#include "run/sort_net_file.h"
#include "support/literal_net_compare.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

namespace lintora::bench {
namespace {

constexpr std::size_t kSizes[] = {1000, 10000, 20000};
constexpr std::int64_t kLargeFileNets = 200000; // about 10 MB in most formats

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A generated board and its revision, converted and sorted once, in a scratch directory.
struct Prepared {
    explicit Prepared(std::size_t nets) {
        dir = std::filesystem::temp_directory_path() /
              ("lintora-bench-" + std::to_string(::getpid()) + "-" + std::to_string(nets));
        std::filesystem::create_directories(dir);
        BoardSpec request;
        request.nets = nets;
        board = generateBoard(request);
        RevisionSpec change;
        change.renumber = true;
        revision = reviseBoard(board, change);
        writeBytes(dir / "side1.tel", writeNetlist(board, "Telesis"));
        writeBytes(dir / "side2.tel", writeNetlist(revision.board, "Telesis"));
        writeBytes(dir / "side2.swp", revision.swapText);

        Workspace ws = workspace();
        readTelesis(ws, (dir / "side2.tel").string());
        std::filesystem::copy_file(dir / "net.tmp", dir / "side2.net.tmp");
        std::string sorted;
        sortNetFile(ws, sorted);
        sorted2 = sorted;
        readTelesis(ws, (dir / "side1.tel").string());
        std::filesystem::copy_file(dir / "net.tmp", dir / "side1.net.tmp");
        std::filesystem::copy_file(dir / "parts.tmp", dir / "side1.parts.tmp");
        // Side 1 as a run sees it once the swap file has renamed its renumbered references:
        // what remains are the revision's 10 % of changed nets.
        std::filesystem::copy_file(dir / "parts.tmp", dir / "parts1.tmp");
        std::string errors;
        applySwapFile(ws, (dir / "side2.swp").string(), errors);
        sorted.clear();
        sortNetFile(ws, sorted);
        sorted1 = sorted;
        printTextFile(dir / "net01.tmp", sorted1);
    }
    ~Prepared() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    Workspace workspace() { return Workspace{dir, Limits::unlimited(), TextEncoding::Utf8, observer}; }

    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> result;
        LineReader reader(text);
        std::string_view line;
        while (reader.next(line))
            result.emplace_back(line);
        return result;
    }
    static NetList nets(const std::string& text) {
        NetList result;
        FieldArray fields(Limits::unlimited().fieldSlots);
        for (const auto& line : lines(text))
            result.add(fields, line);
        return result;
    }

    std::filesystem::path dir;
    SilentObserver observer;
    Board board;
    Revision revision;
    std::string sorted1;
    std::string sorted2;
};

Prepared& prepared(std::size_t nets) {
    static std::map<std::size_t, std::unique_ptr<Prepared>> cache;
    auto& slot = cache[nets];
    if (!slot)
        slot = std::make_unique<Prepared>(nets);
    return *slot;
}

void setPins(benchmark::State& state, const Prepared& p) {
    state.counters["nets"] = static_cast<double>(p.board.nets.size());
    state.counters["pins"] = static_cast<double>(p.board.connectedPins());
}

// Every reader on the board written in its format.
void readerBenchmark(benchmark::State& state, std::string_view format, ReaderFunction reader) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    const std::string text = writeNetlist(p.board, format);
    const auto input = p.dir / ("input." + std::string(fileExtension(format)));
    writeBytes(input, text);
    Workspace ws = p.workspace();
    for (auto _ : state) {
        if (reader(ws, input.string()) == ReaderResult::NotRecognised)
            state.SkipWithError("the reader refused the generated file");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    setPins(state, p);
}

const bool kReadersRegistered = [] {
    std::map<ReaderFunction, std::string_view> firstNameOfReader;
    for (const FormatEntry& entry : formatTable())
        if (entry.reader != nullptr && canWrite(entry.name) && !firstNameOfReader.contains(entry.reader))
            firstNameOfReader[entry.reader] = entry.name;
    for (const auto& [reader, name] : firstNameOfReader) {
        auto* b = benchmark::RegisterBenchmark(("Reader/" + std::string(name)).c_str(),
                                               [reader = reader, name = name](benchmark::State& s) {
                                                   readerBenchmark(s, name, reader);
                                               });
        for (const std::size_t n : kSizes)
            b->Arg(static_cast<std::int64_t>(n));
        b->Arg(kLargeFileNets); // throughput is measured on a large file
        b->Unit(benchmark::kMillisecond);
    }
    return true;
}();

void DuplicateChecks(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    Workspace ws = p.workspace();
    std::filesystem::copy_file(p.dir / "side1.net.tmp", p.dir / "net.tmp",
                               std::filesystem::copy_options::overwrite_existing);
    for (auto _ : state) {
        std::string errors;
        checkDuplicateNetNames(ws, errors);
        checkDuplicatePins(ws, errors);
        benchmark::DoNotOptimize(errors);
    }
    setPins(state, p);
}

void Sort(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    Workspace ws = p.workspace();
    std::filesystem::copy_file(p.dir / "side1.net.tmp", p.dir / "net.tmp",
                               std::filesystem::copy_options::overwrite_existing);
    for (auto _ : state) {
        std::string sorted;
        sortNetFile(ws, sorted);
        benchmark::DoNotOptimize(sorted);
    }
    setPins(state, p);
}

void NonPolarAndPinChange(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    Workspace ws = p.workspace();
    OptionList nonPolar;
    nonPolar[0] = "C";
    nonPolar[1] = "R";
    OptionList pinChange;
    pinChange[0] = "D";
    pinChange[10] = "1";
    pinChange[20] = "ANODE";
    for (auto _ : state) {
        state.PauseTiming();
        printTextFile(p.dir / "net01.tmp", p.sorted1);
        state.ResumeTiming();
        makeNonPolar(ws, "net01.tmp", nonPolar);
        changePinNumbers(ws, "net01.tmp", pinChange);
    }
    setPins(state, p);
}

void Swap(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    Workspace ws = p.workspace();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(p.dir / "side1.net.tmp", p.dir / "net.tmp",
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(p.dir / "side1.parts.tmp", p.dir / "parts1.tmp",
                                   std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();
        std::string errors;
        applySwapFile(ws, (p.dir / "side2.swp").string(), errors);
    }
    setPins(state, p);
}

void Comparison(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    const NetList side1 = Prepared::nets(p.sorted1);
    const NetList side2 = Prepared::nets(p.sorted2);
    for (auto _ : state) {
        NetComparison result = pairSimilarNets(side1, side2, dropIdenticalNets(side1, side2), 49);
        benchmark::DoNotOptimize(result);
    }
    setPins(state, p);
}

// The comparison with the loading of both sorted files' text into its tables, which splits
// every line (the literal comparison below splits its lines itself too).
void ComparisonWithLoading(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    FieldArray fields(Limits::unlimited().fieldSlots);
    for (auto _ : state) {
        const NetList side1(p.sorted1, fields, Limits::unlimited().sideSlots);
        const NetList side2(p.sorted2, fields, Limits::unlimited().sideSlots);
        NetComparison result = pairSimilarNets(side1, side2, dropIdenticalNets(side1, side2), 49);
        benchmark::DoNotOptimize(result);
    }
    setPins(state, p);
}

// The comparison done literally, every remaining net against every other and every pin
// against every pin: the baseline the indexed comparison is measured against.
void LiteralComparison(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    const std::vector<std::string> lines1 = Prepared::lines(p.sorted1);
    const std::vector<std::string> lines2 = Prepared::lines(p.sorted2);
    for (auto _ : state) {
        auto result = test::literalCompareNets(lines1, lines2, 49);
        benchmark::DoNotOptimize(result);
    }
    setPins(state, p);
}

void Report(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    const NetList side1 = Prepared::nets(p.sorted1);
    const NetList side2 = Prepared::nets(p.sorted2);
    const NetComparison comparison = pairSimilarNets(side1, side2, dropIdenticalNets(side1, side2), 49);
    ReportSettings settings;
    settings.path1 = (p.dir / "side1.tel").string();
    settings.path2 = (p.dir / "side2.tel").string();
    settings.format1 = settings.format2 = "Telesis";
    for (auto _ : state) {
        std::string text = buildReport(settings, comparison);
        text += "\r\n";
        const std::string reflowed = reflowReport(text);
        printTextFile(p.dir / "cmp.txt", reflowed);
    }
    setPins(state, p);
}

void WholeRun(benchmark::State& state) {
    Prepared& p = prepared(static_cast<std::size_t>(state.range(0)));
    RunInputs inputs;
    inputs.path1 = (p.dir / "side1.tel").string();
    inputs.path2 = (p.dir / "side2.tel").string();
    inputs.format1 = inputs.format2 = "Telesis";
    inputs.swapPath = (p.dir / "side2.swp").string();
    RunOptions options;
    options.workDir = p.dir;
    options.limits = Limits::unlimited();
    for (auto _ : state) {
        const RunResult result = runComparison(inputs, options, p.observer);
        if (result.outcome != RunOutcome::Completed)
            state.SkipWithError("the run stopped");
    }
    setPins(state, p);
}

BENCHMARK(DuplicateChecks)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(Sort)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(NonPolarAndPinChange)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(Swap)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(Comparison)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(ComparisonWithLoading)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralComparison)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Report)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeRun)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lintora::bench
