#pragma once

#include "base/limits.h"
#include "base/observer.h"
#include "base/text_encoding.h"
#include "passes/passes.h"
#include "run/net_compare.h"
#include "run/swap_proposal.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lintora {

// Everything the user fills in before starting a comparison, as typed.
struct RunInputs {
    std::string path1;  // netlist of side 1
    std::string path2;  // netlist of side 2
    std::string format1;
    std::string format2;
    std::string swapPath;            // empty: no swap pass
    std::string adjustment = "49";   // percent of shared pins that pairs two nets
    bool compareParts = false;
    std::array<std::string, 10> nonPolar;  // references of non-polar parts
    std::array<std::string, 30> pinChange; // references 0-9, before 10-19, after 20-29
    // Parts left out of both sides (letter prefix or reference), and a file of more of them,
    // one a line (empty: none); nets of a single pin left out of both sides.
    std::vector<std::string> ignoredParts;
    std::string ignoreFile;
    bool skipOnePinNets = false;
};

// Where and how a run works.
struct RunOptions {
    std::filesystem::path workDir = "."; // scratch files and reports
    TextEncoding reportEncoding = TextEncoding::Utf8;
    Limits limits;
    // How long a run waits for another run in the same directory to finish.
    int lockPatienceMs = 3000;
    // Whether the run also proposes the swap file from connectivity (RunResult::proposal),
    // after the pin-number changes and before the comparison; `Only` stops there, without
    // comparing or writing any report (cmp.txt, cmpprt.txt, errlog.txt).
    enum class SwapProposal { Off, AlongsideComparison, Only };
    SwapProposal swapProposal = SwapProposal::Off;
};

enum class RunOutcome {
    Completed,
    InvalidInput,     // a missing path or format, or the same path twice
    BadAdjustment,    // the adjustment value is not a whole number in range
    UnknownFormat,    // a format name without a reader
    FormatMismatch,   // a file that is not of its format
    FileNotFound,
    CapacityExceeded,
    ResultTooLarge,   // cmp.txt is complete but too large to show
    UndecodableInput, // neither UTF-8 nor CP932
    WriteFailed,
    Busy,             // another run is working in the same directory
    Unexpected,
};

// What a side's netlist gave, as read (before the swap file and the other adjustments).
struct SideFacts {
    bool read = false;          // the side's reader accepted the file
    std::size_t nets = 0;       // net lines the reader wrote
    std::size_t pins = 0;       // pins in them
    std::size_t parts = 0;      // parts lines the reader wrote
    DuplicateFindings duplicateNetNames; // as errlog.txt lists them
    DuplicateFindings duplicatePins;
};

// What a stopped run's message concerns, so that a front end can say which file, folder or
// value it was about.
struct RunConcern {
    enum class Subject {
        None,
        Side1File,   // `text`: the path of side 1's netlist
        Side2File,
        SwapFile,
        WorkDir,     // `text`: the working directory (cannot be written, or busy)
        ReportFile,  // `text`: the path of cmp.txt, cmpprt.txt or errlog.txt
        ScratchFile, // `text`: a scratch file's path
        OtherFile,   // `text`: any other file the inputs name
        Side1Format, // `text`: the format name given for side 1
        Side2Format,
        Adjustment,  // `text`: the adjustment value as given
        SamePaths,   // `text`: the path given for both sides
    };
    Subject subject = Subject::None;
    std::string text;
    int side = 0;          // the side being worked on when the run stopped (0: neither)
    std::string capacity;  // for a capacity overrun: which table overran
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Unexpected;
    // The result box: the reflowed cmp.txt, with the full-match banner on top when
    // nothing differs. Empty unless the run completed.
    std::string resultText;
    bool allClear = false;     // no difference block and no unpaired net
    bool partsDiffer = false;  // the parts comparison ran and found differences
    std::size_t differenceBlocks = 0;
    std::size_t unpaired1 = 0;
    std::size_t unpaired2 = 0;
    // 1 or 2 when that side's netlist yielded no net, which stops the run as a format
    // mismatch; 0 otherwise.
    int sideWithoutNets = 0;

    // The facts behind the reports, for front ends that show or pass them on.
    std::array<SideFacts, 2> sides;
    std::vector<SkippedSwapLine> swapSkipped; // swap-file lines passed over (errlog.txt)
    long adjustment = 0;                      // the adjustment value as the comparison took it
    NetComparison comparison;                 // the findings of cmp.txt, complete once the
                                              // run completed
    std::optional<PartsFindings> parts;       // the findings of cmpprt.txt, when compared
    std::optional<SwapProposal> proposal;     // when RunOptions::swapProposal asked for it
    RunConcern concern;                       // what a stop concerns

    // Duplicate net names or pins on either side (the run goes on; errlog.txt lists them).
    bool hasDuplicates() const;
};

// Runs one comparison from the inputs to the reports in the working directory: validates,
// converts both sides, checks, adjusts and sorts them, compares the nets and writes
// cmp.txt (and errlog.txt, and cmpprt.txt when asked). Every message, question and
// progress step goes to the observer; failures end the run with their message.
RunResult runComparison(const RunInputs& inputs, const RunOptions& options,
                        RunObserver& observer);

// Reads the adjustment value: a number, rounded to the nearest whole number (halves to the
// even neighbour), in -32768..32767. False when the text is not such a number.
bool parseAdjustment(std::string_view text, long& value);

} // namespace lintora
