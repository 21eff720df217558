#pragma once

// What every netlist reader shares: reading the input, the field array with the two texts
// it fills, and writing net.tmp and parts.tmp. A reader file holds only its format's rules.

#include "base/field_array.h"
#include "base/net_line.h"
#include "base/text_encoding.h"
#include "base/text_file.h"
#include "base/workspace.h"

#include <string>
#include <string_view>

namespace lintora {

// Whether a reader recognised its format in the file. Most readers recognise a file by a
// landmark of their format (a section keyword, a header line); a few claim nothing
// themselves and accept every file except one that yields nothing they can use. A file
// that is not recognised stops the run with the side's format-mismatch message.
enum class ReaderResult { Recognised, NotRecognised };

// Every reader has this signature: (workspace, input path) -> whether it recognised the file.
using ReaderFunction = ReaderResult (*)(Workspace& workspace, const std::string& path);

// The lines of a netlist: CR and CR LF end a line, and a lone LF stays inside its line,
// except in a file without any CR: such a file was written with LF line ends (on Linux,
// by many web tools) and would otherwise be one single line.
LineReader netlistLines(std::string_view text);

// The input of a reader: the whole file decoded to UTF-8, walked line by line as
// netlistLines() says. Throws FileNotFound or UndecodableInput.
class ReaderInput {
public:
    explicit ReaderInput(const std::string& path)
        : m_text(readInputText(path)), m_lines(netlistLines(m_text)) {}
    bool next(std::string_view& line) { return m_lines.next(line); }
    const std::string& text() const { return m_text; }
    // Upper-cases the whole text at once (see upperCaseInPlace), for a reader that reads
    // every line upper-cased: the same lines as upper-casing each one, without the copies.
    // The position in the text stays where it is.
    void upperCase() { upperCaseInPlace(m_text); }

private:
    std::string m_text;
    LineReader m_lines;
};

// The record a reader fills and the net and parts texts it builds; each completed net or
// part is appended as one line ended by CR LF. Nothing touches the disk until the reader
// asks for a file to be written.
class ReaderOutput {
public:
    explicit ReaderOutput(const Workspace& workspace)
        : fields(workspace.limits.fieldSlots), m_workspace(workspace) {}

    FieldArray fields;

    // Appends the net line of slots 0 to count + 1.
    void addNet();
    // Appends the parts line of slots 0 to 3.
    void addPart();

    // Makes room for the texts read from an input of `inputBytes` bytes at once, so that
    // they need not grow (and be copied) step by step: net.tmp is seldom longer than its
    // input. Room that is never written costs no memory.
    void reserveFor(std::size_t inputBytes);

    std::string& netText() { return m_netText; }
    std::string& partsText() { return m_partsText; }

    void writeNetFile() const;   // net.tmp
    void writePartsFile() const; // parts.tmp

private:
    const Workspace& m_workspace;
    std::string m_netText;
    std::string m_partsText;
};

// Token tests of the reader loops.
inline bool isBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// Stands for the empty character after a line's end, which a reader loop reads as the last
// character of every line.
constexpr char kEndOfLine = '\0';

// True when nothing but blanks and TABs follows position `i` of the line: a "," there ends
// the line and continues its entry on the next one.
inline bool onlyBlanksAfter(std::string_view line, std::size_t i) {
    for (std::size_t k = i + 1; k < line.size(); ++k)
        if (!isBlankOrTab(line[k]))
            return false;
    return true;
}

// The end of the run of characters from position `from` on for which `plain` holds: a
// reader takes such a run into its token at once instead of character by character.
template <typename Plain>
std::size_t endOfRun(std::string_view line, std::size_t from, Plain plain) {
    while (from < line.size() && plain(line[from]))
        ++from;
    return from;
}

// Adds the character at `i` to the token and returns the position of the last character taken.
// A reader tests its keywords at every character, so a token that starts like a keyword grows
// one character at a time; any other token takes the run of `plain` characters after it at once.
// It sits in every reader's innermost loop, so it is always inlined.
template <typename KeywordStart, typename Plain>
[[gnu::always_inline]] inline std::size_t takeIntoToken(std::string& token, std::string_view line, std::size_t i,
                          KeywordStart startsKeyword, Plain plain) {
    if (startsKeyword(token.empty() ? line[i] : token.front())) {
        token += line[i];
        return i;
    }
    const std::size_t next = endOfRun(line, i + 1, plain);
    token.append(line.substr(i, next - i));
    return next - 1;
}

// Converts a pin token's separator to ".": the first `separator` that is not the token's
// first character ("U1-A-1" -> "U1.A-1").
void convertFirstSeparator(std::string& pin, char separator);
// Converts every character of `separators` after the token's first character
// ("U1-A,1" -> "U1.A.1").
void convertAllSeparators(std::string& pin, std::string_view separators);

// The separators of the net and parts lines (";", ":", ",", "!" and "?") inside what a
// reader takes from a format that allows them. Each field gets the rule that keeps its line
// whole, in one place for every reader that needs it:
//   net name, pin name:   ";" ":" ","          (the net line's separators)
//   reference:            ";" ":" "," "!" "?"  (it stands in net lines and parts lines)
//   part name, footprint: "!" ";" ":" "?"      (the parts line's separators)
// each replaced by its full-width form (；：，！？), which reads the same in a report and
// survives CP932. Blanks stay: both line splitters drop them, as for every format.
enum class LineField { NetName, PinName, Reference, PartName, Footprint };

// Appends `text` to `out` as a field of that kind.
void appendLineField(std::string& out, std::string_view text, LineField field);
// `text` as a field of that kind.
std::string lineField(std::string_view text, LineField field);
// Appends the pin "reference.pin" to `out`, each part under its own rule.
void appendPin(std::string& out, std::string_view reference, std::string_view pin);
// A footprint named with its library, "LIBRARY:NAME", is its name ("NAME"): the library is
// where the footprint is kept, not what it is. A footprint without ":" stays as it is.
std::string_view footprintWithoutLibrary(std::string_view footprint);

// The text without the blanks and TABs at its ends.
std::string_view trimBlanks(std::string_view text);

// The form the Telesis, CADVANCE and INTERGRA readers walk instead of their input: every
// line preceded by CR LF (so the copy starts with an empty line), upper-cased, and every
// lone LF turned into a real line break.
std::string normalisedUpperCaseCopy(std::string_view input);
// The lines of that copy, read from the upper-cased input itself without making the copy.
LineReader normalisedCopyLines(std::string_view upperCasedInput);

// The frame of the readers that walk that copy: the parts section up to the nets keyword
// (`readParts` says whether it found it), parts.tmp, then the nets section and net.tmp.
// Without the keyword the file is not recognised and net.tmp is left holding the copy.
using CopySection = bool (*)(LineReader& copy, ReaderOutput& out);
ReaderResult convertThroughNormalisedCopy(Workspace& ws, const std::string& path,
                                          CopySection readParts,
                                          void (*readNets)(LineReader&, ReaderOutput&));

} // namespace lintora
