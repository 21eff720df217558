#pragma once

#include "readers/reader_support.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace lintora {

// One clue of a format's landmark, looked for in a netlist's lines. Lines are taken with
// blanks and TABs trimmed from both ends and compared without regard to the case of ASCII
// letters, except where the clue says otherwise; clue texts are written in upper case. A text
// may offer alternatives separated by "|" ("( {|# EESCHEMA"): any of them is the clue.
struct LineClue {
    enum class Kind : std::uint8_t {
        None,
        LineIs,            // a line is exactly the text
        LineStarts,        // a line starts with the text
        RawLineIs,         // a line, untrimmed and in its own case, is exactly the text
        FirstLineContains, // the first line that is not empty contains the text
    };
    Kind kind = Kind::None;
    std::string_view text;
};

constexpr LineClue lineIs(std::string_view text) { return {LineClue::Kind::LineIs, text}; }
constexpr LineClue lineStarts(std::string_view text) {
    return {LineClue::Kind::LineStarts, text};
}
constexpr LineClue rawLineIs(std::string_view text) { return {LineClue::Kind::RawLineIs, text}; }
constexpr LineClue titleContains(std::string_view text) {
    return {LineClue::Kind::FirstLineContains, text};
}

// What makes a file recognisable as a format by its content: every required clue is found
// in it and no excluded clue is (the excluded clues tell it from formats that look alike).
// A format without required clues is never recognised by content; formats that share a
// reader carry the landmark once, on the one entry that detection names.
struct Landmark {
    std::array<LineClue, 4> required{};
    std::array<LineClue, 4> excluded{};

    bool empty() const { return required[0].kind == LineClue::Kind::None; }
};

// A format the comparison reads: the name the window's format boxes show and the run looks
// up, shell-safe aliases for the command line, a short note on the CAD exports it reads, its
// reader, and its landmark for detection. Adding a format is one entry of the table.
struct FormatEntry {
    std::string_view name;
    std::array<std::string_view, 2> aliases{}; // lower case, letters, digits and "-" only
    std::string_view reads;                    // the exports it reads, for --list-formats
    ReaderFunction reader = nullptr;           // null while the format's reader is not built
    Landmark landmark{};
};

// Every format, in lookup order.
std::span<const FormatEntry> formatTable();

// The reader of the entry whose name equals `name` exactly; null when no name matches (or the
// reader is not built). The run looks names up only this way.
ReaderFunction findReader(std::string_view name);

// The entry whose name or one of whose aliases equals `text` without regard to letter case
// (blanks around it aside); null when there is none. Front ends resolve what the user typed
// to the entry's name before the run.
const FormatEntry* findFormat(std::string_view text);

// The names in the order the format boxes list them: the classic order of the window, then
// every format added since in table order.
std::span<const std::string_view> formatNamesForDisplay();

// The other entries that call the same reader (ALLEGRO for Telesis, ...).
std::vector<const FormatEntry*> sameReaderFormats(const FormatEntry& entry);

} // namespace lintora
