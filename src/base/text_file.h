#pragma once

#include "base/text_encoding.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace lintora {

// Reads a whole file as bytes. Throws FileNotFound when the path does not name a readable
// regular file (missing, a directory, no permission).
std::string readFileBytes(const std::filesystem::path& path);

// Reads a netlist or swap file and returns its text as UTF-8: valid UTF-8 is taken as it
// is (without a byte-order mark), anything else is decoded as CP932. Throws
// UndecodableInput when the bytes are neither.
std::string readInputText(const std::filesystem::path& path);

// Walks text line by line. A line ends at CR or at CR LF; a lone LF does not end a line
// and stays inside it, unless asked to end lines too (as every netlist and swap file is
// read: see inputLines()). Text that ends with a line end has no empty line after it.
class LineReader {
public:
    enum class LoneLf { StaysInLine, EndsLine };
    // How the text is framed into lines: as written, or as the readers' normalised copy of
    // it frames them (with LoneLf::EndsLine; see normalisedUpperCaseCopy() in
    // readers/reader_support.h), where a line end stands before every line: a text that is
    // not empty reads an empty line first, and the line end that closes the text starts no
    // empty last line.
    enum class Framing { AsWritten, NormalisedCopy };
    explicit LineReader(std::string_view text, LoneLf loneLf = LoneLf::StaysInLine,
                        Framing framing = Framing::AsWritten)
        : m_text(text), m_loneLfEndsLine(loneLf == LoneLf::EndsLine),
          m_lineEndsBefore(framing == Framing::NormalisedCopy),
          m_emptyFirstLine(m_lineEndsBefore && !text.empty()) {}
    // Sets `line` to the next line; false at the end of the text.
    bool next(std::string_view& line);
    bool atEnd() const { return m_pos >= m_text.size() && !m_emptyFirstLine; }

private:
    std::string_view m_text;
    bool m_loneLfEndsLine;
    bool m_lineEndsBefore;
    bool m_emptyFirstLine; // still to be read
    std::size_t m_pos = 0;
};

// The lines of a file a user gives (a netlist, a swap file): CR, CR LF and a lone LF each
// end a line, whatever else the file holds. Files edited on two systems or put together
// from several exports mix their line ends; a lone LF among CR LF lines is a line end too.
inline LineReader inputLines(std::string_view text) {
    return LineReader(text, LineReader::LoneLf::EndsLine);
}

// Writes `bytes` to `path` as a whole: to a temporary name first, renamed into place when
// complete, so an interrupted write never leaves half a file. A target the user made
// read-only is not replaced. Throws WriteFailed.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Throws WriteFailed when `path` names a file the user write-protected (which
// writeFileAtomically will not replace). A missing file is fine.
void ensureReplaceable(const std::filesystem::path& path);

// Writes a text the way every Lintora file is written: the text (whose lines already end
// in CR LF) followed by one more CR LF, so the file ends with one empty line.
void printTextFile(const std::filesystem::path& path, std::string_view text,
                   TextEncoding encoding = TextEncoding::Utf8);

// Deletes a scratch file; throws FileNotFound when it is not there.
void deleteFile(const std::filesystem::path& path);
// Renames a scratch file; throws FileNotFound when `from` is not there.
void renameFile(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace lintora
