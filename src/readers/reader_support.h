#pragma once

// What every netlist reader shares: reading the input, the field array with the two texts
// it fills, and writing net.tmp and parts.tmp. A reader file holds only its format's rules.

#include "run/field_array.h"
#include "run/net_line.h"
#include "run/text_encoding.h"
#include "run/text_file.h"
#include "run/workspace.h"

#include <string>
#include <string_view>

namespace lintora {

// The reader status word: a reader sets "bad" first and "good" once its format's landmark
// was found. The run treats every value other than "bad" as success.
inline constexpr std::string_view kStatusGood = "good";
inline constexpr std::string_view kStatusBad = "bad";

// Every reader has this signature: (workspace, input path, status word).
using ReaderFunction = void (*)(Workspace& workspace, const std::string& path,
                                std::string& status);

// The input of a reader: the whole file decoded to UTF-8, walked line by line (CR and
// CR LF end a line; a lone LF stays inside it). Throws FileNotFound or UndecodableInput.
class ReaderInput {
public:
    explicit ReaderInput(const std::string& path)
        : m_text(readInputText(path)), m_lines(m_text) {}
    bool next(std::string_view& line) { return m_lines.next(line); }
    const std::string& text() const { return m_text; }

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

    std::string& netText() { return m_netText; }
    std::string& partsText() { return m_partsText; }

    void writeNetFile() const;   // net.tmp
    void writePartsFile() const; // parts.tmp

private:
    const Workspace& m_workspace;
    std::string m_netText;
    std::string m_partsText;
    std::string m_line;
};

// Token tests of the reader loops.
inline bool isBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// Converts a pin token's separator to ".": the first `separator` that is not the token's
// first character ("U1-A-1" -> "U1.A-1").
void convertFirstSeparator(std::string& pin, char separator);
// Converts every character of `separators` after the token's first character
// ("U1-A,1" -> "U1.A.1").
void convertAllSeparators(std::string& pin, std::string_view separators);

// ---- readers-b (Protel, Protel 2.0, Tango, FUTURE) ----

// Walks text line by line where CR, CR LF and a lone LF all end a line. Formats whose
// structure is whole lines (a "[" line, a "PINLIST,2" line) are exported with LF line ends
// as often as with CR LF; read with the plain reader such a file would be one long line.
class AnyEndLineReader {
public:
    explicit AnyEndLineReader(std::string_view text) : m_text(text) {}
    // Sets `line` to the next line; false at the end of the text.
    bool next(std::string_view& line);

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace lintora

// ---- Readers group D (Expedition PCB, CADVANCE, INTERGRA, MM-COLMO_NEO & MM2) ----
namespace lintora {

// The form several readers walk instead of their input: every line preceded by CR LF (so
// the copy starts with an empty line), a lone LF inside a line turned into a real line
// break, and everything upper-cased. A reader that finds no landmark leaves this copy in
// net.tmp.
std::string normalisedUpperCaseCopy(std::string_view input);

} // namespace lintora
