#include "run/comparison_run.h"

#include "base/errors.h"
#include "base/messages.h"
#include "base/text_file.h"
#include "passes/passes.h"
#include "run/format_table.h"
#include "run/net_compare.h"
#include "run/report.h"
#include "run/run_lock.h"
#include "run/sort_net_file.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <fstream>
#include <new>

namespace lintora {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Reading the adjustment value: full-width digits and signs count like ASCII ones, as a
// Japanese input method may give them.
std::string asciiNumberText(std::string_view text) {
    std::string ascii;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == 0xEF && i + 2 < text.size()) {
            const auto b1 = static_cast<unsigned char>(text[i + 1]);
            const auto b2 = static_cast<unsigned char>(text[i + 2]);
            if (b1 == 0xBC && b2 >= 0x90 && b2 <= 0x99) { // ０ to ９
                ascii += static_cast<char>('0' + (b2 - 0x90));
                i += 3;
                continue;
            }
            if (b1 == 0xBC && (b2 == 0x8B || b2 == 0x8D || b2 == 0x8E)) { // ＋ － ．
                ascii += b2 == 0x8B ? '+' : (b2 == 0x8D ? '-' : '.');
                i += 3;
                continue;
            }
        }
        if (b == 0xE3 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            static_cast<unsigned char>(text[i + 2]) == 0x80) { // ideographic space
            ascii += ' ';
            i += 3;
            continue;
        }
        ascii += static_cast<char>(b);
        ++i;
    }
    return ascii;
}

// Loads a sorted net file's nets, up to the empty line that ends it.
NetList loadSortedNets(const Workspace& ws, std::string_view name) {
    FieldArray fields(ws.limits.fieldSlots);
    return NetList(readFileBytes(ws.file(name)), fields, ws.limits.sideSlots);
}

void sortIntoFile(Workspace& ws, std::string_view name) {
    std::string sorted;
    sortNetFile(ws, sorted);
    printTextFile(ws.file(name), sorted);
}

// Renames parts.tmp to the side's parts file; returns how many parts the reader wrote (the
// lines up to the first empty one, which ends a parts file for every step that reads it).
std::size_t renameParts(const Workspace& ws, std::string_view sideName) {
    const auto target = ws.file(sideName);
    std::error_code ignored;
    if (std::filesystem::exists(target, ignored))
        deleteFile(target);
    renameFile(ws.file(files::parts), target);
    const std::string text = readFileBytes(target);
    std::size_t parts = 0;
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line) && !line.empty())
        ++parts;
    return parts;
}

OptionList upperCasedOptions(const std::string* boxes, std::size_t count) {
    OptionList options;
    for (std::size_t i = 0; i < count; ++i)
        options[i] = upperCased(boxes[i]);
    return options;
}

// The parts to leave out as the user listed them: on the command line, then in the ignore
// file, one a line (blanks around an entry and empty lines do not count).
std::vector<std::string> listedIgnoredParts(const RunInputs& in) {
    std::vector<std::string> entries;
    for (const auto& entry : in.ignoredParts)
        if (!entry.empty())
            entries.push_back(entry);
    if (in.ignoreFile.empty())
        return entries;
    const std::string text = readInputText(in.ignoreFile);
    LineReader lines(text, LineReader::LoneLf::EndsLine);
    std::string_view line;
    while (lines.next(line)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            continue;
        entries.emplace_back(line.substr(first, line.find_last_not_of(" \t") + 1 - first));
    }
    return entries;
}

// Whether net.tmp holds no net: its first line, which ends the nets for every step that
// reads the file, is empty.
bool netFileHoldsNoNet(const Workspace& ws) {
    const auto path = ws.file(files::net);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw FileNotFound(path.string());
    const int first = file.get();
    return first == std::ifstream::traits_type::eof() || first == '\r' || first == '\n';
}

// Runs the reader of `format` on `path` for side `side`. Returns false (after the message)
// when the run must stop.
bool convertSide(Workspace& ws, int side, const std::string& format, const std::string& path,
                 std::string_view unknownMessage, std::string_view mismatchMessage,
                 RunResult& result) {
    const bool side1 = result.concern.side == 1;
    const ReaderFunction reader = findReader(format);
    if (reader == nullptr) {
        ws.observer.message(unknownMessage);
        ws.observer.hideProgress();
        result.outcome = RunOutcome::UnknownFormat;
        result.concern.subject =
            side1 ? RunConcern::Subject::Side1Format : RunConcern::Subject::Side2Format;
        result.concern.text = format;
        return false;
    }
    if (reader(ws, path) == ReaderResult::NotRecognised) {
        ws.observer.message(mismatchMessage);
        ws.observer.hideProgress();
        result.outcome = RunOutcome::FormatMismatch;
        result.concern.subject =
            side1 ? RunConcern::Subject::Side1File : RunConcern::Subject::Side2File;
        result.concern.text = path;
        return false;
    }
    // A netlist without a single net is no netlist of its format, however weak the
    // format's landmark: two of them would otherwise compare as a full match.
    if (netFileHoldsNoNet(ws)) {
        ws.observer.message(mismatchMessage);
        ws.observer.hideProgress();
        result.outcome = RunOutcome::FormatMismatch;
        result.sideWithoutNets = side;
        result.concern.subject =
            side1 ? RunConcern::Subject::Side1File : RunConcern::Subject::Side2File;
        result.concern.text = path;
        return false;
    }
    return true;
}

// The duplicate checks of the side in net.tmp, which also count its nets and pins.
void checkSide(Workspace& ws, std::string& errorText, SideFacts& side) {
    checkDuplicateNetNames(ws, errorText, &side.duplicateNetNames);
    checkDuplicatePins(ws, errorText, &side.duplicatePins);
    side.nets = side.duplicateNetNames.itemsRead;
    side.pins = side.duplicatePins.itemsRead;
}

// The steps after validation; throws the failures the caller turns into messages.
// Proposes the swap file from the sides as the comparison would see them.
SwapProposal proposeSwapForSides(const Workspace& ws, std::vector<SwapPair> userPairs) {
    const std::string net1 = readFileBytes(ws.file(files::net01));
    const std::string net2 = readFileBytes(ws.file(files::net02));
    const std::string parts1 = readFileBytes(ws.file(files::parts1));
    const std::string parts2 = readFileBytes(ws.file(files::parts2));
    return proposeSwap({net1, parts1}, {net2, parts2}, std::move(userPairs));
}

void runSteps(const RunInputs& in, const RunOptions& options, Workspace& ws, long threshold,
              RunResult& result) {
    RunObserver& ui = ws.observer;
    const std::vector<std::string> ignoredParts = listedIgnoredParts(in);
    IgnoreList ignored{{}, in.skipOnePinNets};
    for (const auto& entry : ignoredParts)
        ignored.parts.push_back(upperCased(entry));
    ui.progress(0, messages::kConvertingSide1);

    // Side 1: convert, check, apply the swap file, sort.
    result.concern.side = 1;
    if (!convertSide(ws, 1, in.format1, in.path1, messages::kUnknownFormat1,
                     messages::kFormatMismatch1, result))
        return;
    SideFacts& facts1 = result.sides[0];
    facts1.read = true;
    ignoreParts(ws, ignored);
    facts1.parts = renameParts(ws, files::parts1);
    std::string errorText;
    errorText.append(messages::kErrorLogTitle).append(kCrLf);
    errorText.append(messages::kErrorLogSide1).append(kCrLf);
    checkSide(ws, errorText, facts1);
    std::vector<SwapPair> userPairs;
    if (!in.swapPath.empty())
        userPairs = applySwapFile(ws, in.swapPath, errorText, &result.swapSkipped);
    ui.progress(10, messages::kSortingSide1);
    sortIntoFile(ws, files::net01);

    // Side 2: convert, compare the parts, check, write errlog.txt, sort.
    result.concern.side = 2;
    ui.progress(20, messages::kSortingSide2);
    if (!convertSide(ws, 2, in.format2, in.path2, messages::kUnknownFormat2,
                     messages::kFormatMismatch2, result))
        return;
    SideFacts& facts2 = result.sides[1];
    facts2.read = true;
    ignoreParts(ws, ignored);
    facts2.parts = renameParts(ws, files::parts2);
    ui.progress(25, messages::kMatchingParts);
    // A run that only proposes the swap file leaves every report as the last comparison
    // wrote it, so that the reports never mix two runs.
    const bool writesReports = options.swapProposal != RunOptions::SwapProposal::Only;
    if (in.compareParts && writesReports) {
        result.concern.side = 0;
        result.parts.emplace();
        result.partsDiffer = compareParts(ws, &*result.parts);
        result.concern.side = 2;
    }
    errorText.append(messages::kErrorLogSide2).append(kCrLf);
    checkSide(ws, errorText, facts2);
    if (writesReports)
        printTextFile(ws.file(files::errorLog), errorText, ws.reportEncoding);
    ui.progress(30, messages::kSortingSide2);
    sortIntoFile(ws, files::net02);
    result.concern.side = 0;

    // Non-polar parts on both sides, then side 1's pin-number changes.
    const OptionList nonPolar = upperCasedOptions(in.nonPolar.data(), in.nonPolar.size());
    makeNonPolar(ws, files::net01, nonPolar);
    makeNonPolar(ws, files::net02, nonPolar);
    const OptionList pinChanges = upperCasedOptions(in.pinChange.data(), in.pinChange.size());
    changePinNumbers(ws, files::net01, pinChanges);

    if (options.swapProposal != RunOptions::SwapProposal::Off) {
        ui.progress(35, messages::kProposingSwap);
        result.proposal = proposeSwapForSides(ws, std::move(userPairs));
        if (options.swapProposal == RunOptions::SwapProposal::Only) {
            for (const auto name : {files::net, files::net01, files::net02, files::parts1,
                                    files::parts2})
                deleteFile(ws.file(name));
            ui.progress(100, messages::kFinished);
            result.outcome = RunOutcome::Completed;
            return;
        }
    }

    // Compare.
    ui.progress(40, messages::kComparing);
    const NetList side1 = loadSortedNets(ws, files::net01);
    const NetList side2 = loadSortedNets(ws, files::net02);
    const RemainingNets remaining = dropIdenticalNets(side1, side2);
    ui.progress(60, messages::kComparing);
    NetComparison comparison = pairSimilarNets(side1, side2, remaining, threshold);
    ui.progress(80, messages::kComparing);

    // Report: written reflowed; the result box shows what the file holds.
    const ReportSettings settings{in.path1,    in.format1,   in.path2,    in.format2,
                                  in.swapPath, in.pinChange, in.nonPolar, ignoredParts};
    std::string fileText = buildReport(settings, comparison);
    fileText += kCrLf;
    const std::string reflowed = reflowReport(fileText);
    printTextFile(ws.file(files::report), reflowed, ws.reportEncoding);

    result.allClear = comparison.identical();
    result.differenceBlocks = comparison.differences.size();
    result.unpaired1 = comparison.unpaired1.size();
    result.unpaired2 = comparison.unpaired2.size();
    std::string shown;
    if (result.allClear)
        shown += fullMatchBanner();
    shown += reflowed;
    shown += kCrLf; // the empty line the print adds at the end of the file
    if (charCount(shown) > ws.limits.resultBoxChars)
        throw ResultTooLarge();
    result.resultText = std::move(shown);

    deleteFile(ws.file(files::net));
    deleteFile(ws.file(files::net01));
    deleteFile(ws.file(files::net02));
    deleteFile(ws.file(files::parts1));
    deleteFile(ws.file(files::parts2));
    result.comparison = std::move(comparison);
    ui.progress(100, messages::kFinished);
    result.outcome = RunOutcome::Completed;
}

// Which of the run's files `path` is.
RunConcern::Subject subjectOf(const RunInputs& in, const RunOptions& options,
                              const std::string& path) {
    using Subject = RunConcern::Subject;
    if (path == in.path1)
        return Subject::Side1File;
    if (path == in.path2)
        return Subject::Side2File;
    if (!in.swapPath.empty() && path == in.swapPath)
        return Subject::SwapFile;
    if (path == options.workDir.string())
        return Subject::WorkDir;
    const std::filesystem::path file(path);
    const std::string name = file.filename().string();
    if (file.parent_path() != options.workDir)
        return Subject::OtherFile;
    if (name == files::report || name == files::partsReport || name == files::errorLog)
        return Subject::ReportFile;
    return name.ends_with(".tmp") || name.ends_with(".partial") ? Subject::ScratchFile
                                                                : Subject::OtherFile;
}


void fail(RunObserver& ui, RunResult& result, RunOutcome outcome, std::string_view message,
          std::string_view detail = {}) {
    ui.hideProgress();
    std::string text(message);
    text += detail;
    ui.message(text);
    result.outcome = outcome;
}

} // namespace

bool parseAdjustment(std::string_view text, long& value) {
    const std::string ascii = asciiNumberText(text);
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < ascii.size() && (ascii[i] == ' ' || ascii[i] == '\t'))
            ++i;
    };
    skipBlanks();
    const std::size_t start = i;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9')
        ++i, ++digits;
    if (i < ascii.size() && ascii[i] == '.') {
        ++i;
        while (i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    const std::string number = ascii.substr(start, i - start);
    skipBlanks();
    if (i != ascii.size())
        return false;
    const double parsed = std::strtod(number.c_str(), nullptr);
    const int previousRounding = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(parsed); // halves go to the even neighbour
    std::fesetround(previousRounding);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return false;
    value = static_cast<long>(rounded);
    return true;
}

RunResult runComparison(const RunInputs& in, const RunOptions& options, RunObserver& ui) {
    RunResult result;
    using Subject = RunConcern::Subject;
    const auto invalid = [&](std::string_view message, Subject subject,
                             const std::string& text = {}) {
        ui.message(message);
        result.outcome = RunOutcome::InvalidInput;
        result.concern.subject = subject;
        result.concern.text = text;
        return result;
    };
    if (in.path1.empty())
        return invalid(messages::kNoPath1, Subject::Side1File);
    if (in.path2.empty())
        return invalid(messages::kNoPath2, Subject::Side2File);
    if (in.format1.empty())
        return invalid(messages::kNoFormat1, Subject::Side1Format);
    if (in.format2.empty())
        return invalid(messages::kNoFormat2, Subject::Side2Format);
    if (in.path1 == in.path2)
        return invalid(messages::kSamePaths, Subject::SamePaths, in.path1);

    long threshold = 0;
    if (!parseAdjustment(in.adjustment, threshold)) {
        fail(ui, result, RunOutcome::BadAdjustment, messages::kBadAdjustment);
        result.concern.subject = Subject::Adjustment;
        result.concern.text = in.adjustment;
        return result;
    }
    result.adjustment = threshold;

    Workspace ws{options.workDir, options.limits, options.reportEncoding, ui};
    const auto concerns = [&](const std::string& path) {
        result.concern.subject = subjectOf(in, options, path);
        result.concern.text = path;
    };
    try {
        const RunLock lock(options.workDir, options.lockPatienceMs, &ui);
        if (!lock.acquired()) {
            fail(ui, result, RunOutcome::Busy, messages::kBusy, options.workDir.string());
            result.concern.subject = Subject::WorkDir;
            result.concern.text = options.workDir.string();
            return result;
        }
        // A report the user write-protected stops the run before any report changes.
        ensureReplaceable(ws.file(files::report));
        ensureReplaceable(ws.file(files::errorLog));
        if (in.compareParts)
            ensureReplaceable(ws.file(files::partsReport));
        runSteps(in, options, ws, threshold, result);
    } catch (const FileNotFound& e) {
        fail(ui, result, RunOutcome::FileNotFound, messages::kFileNotFound);
        concerns(e.path());
    } catch (const CapacityExceeded& e) {
        fail(ui, result, RunOutcome::CapacityExceeded, messages::kCapacity);
        result.concern.capacity = e.table();
    } catch (const ResultTooLarge&) {
        fail(ui, result, RunOutcome::ResultTooLarge, messages::kOutOfMemory);
        concerns(ws.file(files::report).string());
    } catch (const std::bad_alloc&) {
        fail(ui, result, RunOutcome::ResultTooLarge, messages::kOutOfMemory);
    } catch (const WriteFailed& e) {
        fail(ui, result, RunOutcome::WriteFailed, messages::kWriteFailed, e.path());
        concerns(e.path());
    } catch (const UndecodableInput& e) {
        fail(ui, result, RunOutcome::UndecodableInput, messages::kUndecodable, e.path());
        concerns(e.path());
    } catch (const std::exception& e) {
        fail(ui, result, RunOutcome::Unexpected, messages::kUnexpected, e.what());
    }
    return result;
}

bool RunResult::hasDuplicates() const {
    for (const SideFacts& side : sides)
        if (!side.duplicateNetNames.repeats.empty() || !side.duplicatePins.repeats.empty())
            return true;
    return false;
}

} // namespace lintora
