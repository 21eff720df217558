#include "cli/format_choice.h"

#include "base/errors.h"
#include "cli/console_observer.h"
#include "cli/exit_status.h"
#include "run/format_detection.h"

#include <algorithm>

namespace lintora::cli {

namespace {

// A name the run reads with a reader that fails only by reading the file: for a side whose
// file could not be read for detection, so that the run stops with its own message on it.
constexpr std::string_view kReadingOnly = "Telesis";

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The entries whose name or alias is within two edits of `typed`, or begins with it.
std::vector<const FormatEntry*> closeFormats(std::string_view typed) {
    const std::string wanted = lowerAscii(typed);
    std::vector<const FormatEntry*> close;
    for (const FormatEntry& entry : formatTable()) {
        std::vector<std::string_view> spellings{entry.name};
        for (const std::string_view alias : entry.aliases)
            if (!alias.empty())
                spellings.push_back(alias);
        for (const std::string_view spelling : spellings) {
            const std::string candidate = lowerAscii(spelling);
            const bool near = editDistance(wanted, candidate) <=
                              std::min<std::size_t>(2, (wanted.size() + 1) / 3);
            const bool begins = wanted.size() >= 3 && candidate.starts_with(wanted);
            if (near || begins) {
                close.push_back(&entry);
                break;
            }
        }
    }
    return close;
}

std::string nameWithAlias(const FormatEntry& entry) {
    std::string text(entry.name);
    if (!entry.aliases[0].empty() && entry.aliases[0] != lowerAscii(entry.name))
        text += " (" + std::string(entry.aliases[0]) + ")";
    return text;
}

std::string fileLabel(int side, const std::string& path) {
    return "FILE" + std::to_string(side) + " (" + path + ")";
}

// Resolves one side; returns an exit status when detection stops the run.
std::optional<int> chooseFormat(int side, bool given, std::string& format, const std::string& path,
                                bool mayDetect, bool quiet, SideFormat& choice,
                                FormatChoice& whole) {
    choice.typed = format;
    const std::string option = "--format" + std::to_string(side);
    const bool automatic = !given || lowerAscii(format) == "auto";
    if (!automatic) {
        choice.given = true;
        if (format.empty())
            return std::nullopt; // the run says the format is missing
        if (const FormatEntry* entry = findFormat(format))
            format = entry->name;
        else
            choice.unknown = true; // the run refuses it with its own message
        return std::nullopt;
    }
    if (!mayDetect) {
        choice.undetermined = true;
        format = kReadingOnly; // the run stops on the paths before it reads anything
        return std::nullopt;
    }
    FormatDetection detection;
    try {
        detection = detectFileFormat(path);
    } catch (const RunFailure&) {
        choice.undetermined = true;
        format = kReadingOnly;
        return std::nullopt;
    }
    switch (detection.verdict) {
    case FormatDetection::Verdict::Detected: {
        format = detection.format->name;
        choice.detected = true;
        if (!quiet) {
            std::string line = fileLabel(side, path) + ": recognised as " +
                               nameWithAlias(*detection.format) + " by its content";
            const auto others = sameReaderFormats(*detection.format);
            for (std::size_t i = 0; i < others.size(); ++i)
                line += (i == 0 ? " (read the same way as " : ", ") + std::string(others[i]->name);
            printNote(others.empty() ? line : line + ")");
        }
        return std::nullopt;
    }
    case FormatDetection::Verdict::Ambiguous: {
        std::string line = "cannot tell the format of " + fileLabel(side, path) +
                           " from its content: it could be ";
        for (std::size_t i = 0; i < detection.candidates.size(); ++i) {
            if (i > 0)
                line += i + 1 == detection.candidates.size() ? " or " : ", ";
            line += nameWithAlias(*detection.candidates[i]);
        }
        whole.stopNote = line + "; name it with " + option;
        for (const FormatEntry* candidate : detection.candidates)
            whole.candidates.emplace_back(candidate->name);
        printNote(whole.stopNote);
        return kExitStopped;
    }
    case FormatDetection::Verdict::Unrecognised:
        whole.stopNote = "cannot tell the format of " + fileLabel(side, path) +
                         ": its content fits no format that Lintora recognises; name it with " +
                         option + " (lintora-cli --list-formats lists them)";
        printNote(whole.stopNote);
        return kExitStopped;
    }
    return std::nullopt;
}

} // namespace

FormatChoice chooseFormats(CliOptions& options) {
    FormatChoice choice;
    RunInputs& in = options.inputs;
    // Nothing is read while the run would stop on the paths anyway.
    const bool pathsUsable = !in.path1.empty() && !in.path2.empty() && in.path1 != in.path2;
    choice.exitStatus = chooseFormat(1, options.format1Given, in.format1, in.path1, pathsUsable,
                                     options.quiet, choice.sides[0], choice);
    if (choice.exitStatus)
        return choice;
    choice.exitStatus = chooseFormat(2, options.format2Given, in.format2, in.path2, pathsUsable,
                                     options.quiet, choice.sides[1], choice);
    return choice;
}

std::string unknownFormatLine(int side, const std::string& typed) {
    std::string line = "--format" + std::to_string(side) + " \"" + typed + "\" is no format name";
    const auto close = closeFormats(typed);
    if (!close.empty()) {
        line += "; did you mean ";
        for (std::size_t i = 0; i < close.size(); ++i) {
            if (i > 0)
                line += i + 1 == close.size() ? " or " : ", ";
            line += "\"" + std::string(close[i]->name) + "\"";
        }
        line += "?";
    }
    line += " The formats:";
    bool first = true;
    for (const std::string_view name : formatNamesForDisplay()) {
        line += first ? " " : ", ";
        line += name;
        first = false;
    }
    return line + " (any letter case; lintora-cli --list-formats shows their aliases)";
}

} // namespace lintora::cli
