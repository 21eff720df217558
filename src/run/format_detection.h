#pragma once

#include "run/format_table.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace lintora {

// What a netlist's content says about its format.
struct FormatDetection {
    enum class Verdict {
        Detected,     // exactly one format's landmark holds: `format`
        Ambiguous,    // the landmarks of several formats hold: `candidates`
        Unrecognised, // no format's landmark holds
    };
    Verdict verdict = Verdict::Unrecognised;
    const FormatEntry* format = nullptr;
    std::vector<const FormatEntry*> candidates; // in table order
};

// Recognises the format of a netlist's text (decoded to UTF-8) by the landmarks of the format
// table. A format is named only when the evidence is unambiguous; formats that share a reader
// count as one, named by the entry that carries the landmark. Reads the text once, line by
// line, looking at each line's first character before anything else. `formats` is the format
// table, or another one for tests.
FormatDetection detectFormat(std::string_view text,
                             std::span<const FormatEntry> formats = formatTable());

// The same for a file, read and decoded as the readers read it. Throws FileNotFound or
// UndecodableInput when it cannot be read.
FormatDetection detectFileFormat(const std::filesystem::path& path);

} // namespace lintora
