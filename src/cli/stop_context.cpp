#include "cli/stop_context.h"

#include "base/workspace.h"

#include <filesystem>

namespace lintora::cli {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string fileLabel(int side, const std::string& path) {
    return "FILE" + std::to_string(side) + " (" + path + ")";
}

std::string reportPath(const CliOptions& options, std::string_view name) {
    return (std::filesystem::path(options.workDir) / name).lexically_normal().string();
}

std::string fileConcern(const RunResult& result, const CliOptions& options, std::string_view what) {
    using Subject = RunConcern::Subject;
    const RunConcern& c = result.concern;
    switch (c.subject) {
    case Subject::Side1File:
        return fileLabel(1, c.text) + " " + std::string(what);
    case Subject::Side2File:
        return fileLabel(2, c.text) + " " + std::string(what);
    case Subject::SwapFile:
        return "the swap file (" + c.text + ") " + std::string(what);
    case Subject::ReportFile:
        return "the report " + c.text + " " + std::string(what);
    case Subject::ScratchFile:
        return "the scratch file " + c.text + " in the working folder " + std::string(what);
    case Subject::WorkDir:
        return "the working folder " + c.text + " " + std::string(what);
    case Subject::OtherFile:
        return "the file " + c.text + " " + std::string(what);
    default:
        break;
    }
    (void)options;
    return c.text.empty() ? std::string() : c.text + " " + std::string(what);
}

std::string sideLabel(const RunResult& result, const CliOptions& options) {
    switch (result.concern.side) {
    case 1:
        return "reading " + fileLabel(1, options.inputs.path1);
    case 2:
        return "reading " + fileLabel(2, options.inputs.path2);
    default:
        return "comparing";
    }
}

} // namespace

std::string stopContext(const RunResult& result, const CliOptions& options,
                        const FormatChoice& formats) {
    using Subject = RunConcern::Subject;
    const RunConcern& c = result.concern;
    const RunInputs& in = options.inputs;
    switch (result.outcome) {
    case RunOutcome::Completed:
        return {};
    case RunOutcome::InvalidInput:
        switch (c.subject) {
        case Subject::Side1File:
            return "no FILE1 given: lintora-cli [options] FILE1 FILE2";
        case Subject::Side2File:
            return "no FILE2 given: lintora-cli [options] FILE1 FILE2";
        case Subject::Side1Format:
            return "--format1 is empty: give a name from lintora-cli --list-formats, or leave the "
                   "option out to have the format recognised";
        case Subject::Side2Format:
            return "--format2 is empty: give a name from lintora-cli --list-formats, or leave the "
                   "option out to have the format recognised";
        case Subject::SamePaths:
            return "FILE1 and FILE2 are both " + c.text;
        default:
            return {};
        }
    case RunOutcome::BadAdjustment:
        return "--adjust " + quoted(c.text) +
               " is not a number from -32768 to 32767 (the default is 49)";
    case RunOutcome::UnknownFormat: {
        const int side = c.subject == Subject::Side2Format ? 2 : 1;
        return unknownFormatLine(side, formats.sides[side - 1].typed);
    }
    case RunOutcome::FormatMismatch: {
        const int side = c.subject == Subject::Side2File ? 2 : 1;
        const std::string& format = side == 1 ? in.format1 : in.format2;
        if (result.sideWithoutNets != 0)
            return "no net was found in " + c.text + " (" + fileLabel(side, c.text) +
                   ", read as " + format + ")";
        std::string line = fileLabel(side, c.text) + " is not read as a " + format + " netlist";
        if (formats.sides[side - 1].detected)
            line += ", although its content looked like one; name its format with --format" +
                    std::to_string(side);
        else
            line += "; check --format" + std::to_string(side) +
                    " (lintora-cli --list-formats), or leave it out to have the format recognised";
        return line;
    }
    case RunOutcome::FileNotFound:
        if (c.subject == Subject::ScratchFile)
            return "the scratch file " + c.text +
                   " vanished from the working folder during the run";
        return fileConcern(result, options, "does not exist or cannot be read");
    case RunOutcome::UndecodableInput:
        return fileConcern(result, options, "is neither UTF-8 nor Shift_JIS (CP932) text") +
               (c.subject == Subject::SwapFile ? "" : ": is it a netlist?");
    case RunOutcome::WriteFailed:
        if (c.subject == Subject::WorkDir) {
            std::error_code ignored;
            if (!std::filesystem::is_directory(c.text, ignored))
                return "the working folder " + c.text +
                       " does not exist (--workdir must name "
                       "an existing folder)";
            return "the working folder " + c.text + " cannot be written: no permission";
        }
        if (c.subject == Subject::ReportFile)
            return "the report " + c.text +
                   " cannot be replaced: it is write-protected, or the disk is full";
        return fileConcern(result, options,
                           "cannot be written: the disk is full or a file-size limit is reached");
    case RunOutcome::CapacityExceeded:
        return sideLabel(result, options) + " overran a capacity (" + c.capacity +
               "); --no-limits lifts every capacity";
    case RunOutcome::ResultTooLarge:
        if (c.subject == Subject::ReportFile)
            return "the report is complete in " + reportPath(options, files::report) +
                   "; read it there";
        return "the run ran out of memory while " + sideLabel(result, options);
    case RunOutcome::Busy:
        return "another comparison has been working in the folder " + c.text +
               " for too long; run again when it has finished, or use another --workdir";
    case RunOutcome::Unexpected:
        return "an internal error stopped the run while " + sideLabel(result, options) +
               "; please report it with the two netlists";
    }
    return {};
}

} // namespace lintora::cli
