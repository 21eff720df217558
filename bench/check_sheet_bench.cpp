// The check sheet of a large report: a generated board of 20,000 nets against a revision
// that changes half of them (thousands of difference blocks and unpaired nets), compared
// once; then the report is placed on the sheet and written as a workbook.
#include "base/text_file.h"
#include "generator/netlist_generator.h"
#include "run/check_sheet.h"
#include "run/comparison_run.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

namespace lintora::bench {
namespace {

// A compared pair and its cmp.txt, in a scratch directory.
struct ComparedPair {
    ComparedPair(std::size_t nets, double changes) {
        dir = std::filesystem::temp_directory_path() /
              ("lintora-sheet-bench-" + std::to_string(::getpid()) + "-" + std::to_string(nets));
        std::filesystem::create_directories(dir);
        BoardSpec request;
        request.nets = nets;
        const Board board = generateBoard(request);
        RevisionSpec change;
        change.changes = changes;
        const Revision revision = reviseBoard(board, change);
        writeFileAtomically(dir / "side1.tel", writeNetlist(board, "Telesis"));
        writeFileAtomically(dir / "side2.tel", writeNetlist(revision.board, "Telesis"));
        RunInputs inputs;
        inputs.path1 = (dir / "side1.tel").string();
        inputs.path2 = (dir / "side2.tel").string();
        inputs.format1 = inputs.format2 = "Telesis";
        RunOptions options;
        options.workDir = dir;
        options.limits = Limits::unlimited();
        SilentObserver observer;
        result = runComparison(inputs, options, observer);
        report = readFileBytes(dir / "cmp.txt");
        pins = board.connectedPins();
    }
    ~ComparedPair() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    std::filesystem::path dir;
    RunResult result;
    std::string report;
    std::size_t pins = 0;
};

ComparedPair& compared(std::size_t nets) {
    static std::map<std::size_t, std::unique_ptr<ComparedPair>> cache;
    auto& slot = cache[nets];
    if (!slot)
        slot = std::make_unique<ComparedPair>(nets, 0.5);
    return *slot;
}

void setCounters(benchmark::State& state, const ComparedPair& p, std::size_t cells) {
    state.counters["nets"] = static_cast<double>(state.range(0));
    state.counters["pins"] = static_cast<double>(p.pins);
    state.counters["blocks"] = static_cast<double>(p.result.differenceBlocks);
    state.counters["unpaired"] = static_cast<double>(p.result.unpaired1 + p.result.unpaired2);
    state.counters["cells"] = static_cast<double>(cells);
    state.counters["reportMB"] = static_cast<double>(p.report.size()) / 1e6;
}

void CheckSheetLayout(benchmark::State& state) {
    ComparedPair& p = compared(static_cast<std::size_t>(state.range(0)));
    std::size_t cells = 0;
    for (auto _ : state) {
        const auto placed = layOutCheckSheet(p.report);
        cells = placed.size();
        benchmark::DoNotOptimize(placed.data());
    }
    setCounters(state, p, cells);
}

void CheckSheetWorkbook(benchmark::State& state) {
    ComparedPair& p = compared(static_cast<std::size_t>(state.range(0)));
    const auto cells = layOutCheckSheet(p.report);
    for (auto _ : state)
        writeCheckSheet(p.dir / "sheet.xlsx", cells);
    setCounters(state, p, cells.size());
}

// What the window's action and --check-sheet do after a run: read cmp.txt, place it, write
// the workbook.
void CheckSheetFromReport(benchmark::State& state) {
    ComparedPair& p = compared(static_cast<std::size_t>(state.range(0)));
    SilentObserver observer;
    for (auto _ : state) {
        if (!writeCheckSheetFile(p.dir, p.dir / "cmp.xlsx", observer))
            state.SkipWithError("the check sheet was not written");
    }
    setCounters(state, p, layOutCheckSheet(p.report).size());
}

BENCHMARK(CheckSheetLayout)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckSheetWorkbook)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckSheetFromReport)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lintora::bench
