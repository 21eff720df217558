#pragma once

#include "run/text_encoding.h"

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
// and stays inside it, unless asked to end lines too. Text that ends with a line end has no
// empty line after it.
class LineReader {
public:
    enum class LoneLf { StaysInLine, EndsLine };
    explicit LineReader(std::string_view text, LoneLf loneLf = LoneLf::StaysInLine)
        : m_text(text), m_loneLfEndsLine(loneLf == LoneLf::EndsLine) {}
    // Sets `line` to the next line; false at the end of the text.
    bool next(std::string_view& line);
    bool atEnd() const { return m_pos >= m_text.size(); }

private:
    std::string_view m_text;
    bool m_loneLfEndsLine;
    std::size_t m_pos = 0;
};

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
