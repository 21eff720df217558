#include "base/text_file.h"

#include "base/errors.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

namespace lintora {

std::string readFileBytes(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileNotFound(path.string());
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileNotFound(path.string());
    }
    // One byte more than the file holds, so that the read which finds the end needs no larger
    // buffer: growing it would copy the whole file once more.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() + 65536); // the file grew while we read it
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            throw FileNotFound(path.string());
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

std::string readInputText(const std::filesystem::path& path) {
    std::string bytes = readFileBytes(path);
    std::string text;
    if (!decodeInputText(std::move(bytes), text))
        throw UndecodableInput(path.string());
    return text;
}

namespace {

// The bytes of `word` that equal `byte`, as their high bits. The lowest one marked is
// always right (a mark above a true one may be false), which is all the callers use.
std::uint64_t bytesEqualTo(std::uint64_t word, char byte) {
    constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;
    const std::uint64_t x = word ^ (kEachByte * static_cast<unsigned char>(byte));
    return (x - kEachByte) & ~x & (kEachByte << 7);
}

// Position of the first CR (and LF, when `lf` says so) from `from` on; text.size() when
// there is none. Eight bytes at a time: lines are often short, so a library search per line
// costs more than the line.
std::size_t findLineEnd(std::string_view text, std::size_t from, bool lf) {
    const char* const data = text.data();
    std::size_t i = from;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        const std::uint64_t ends = bytesEqualTo(word, '\r') | (lf ? bytesEqualTo(word, '\n') : 0);
        if (ends != 0)
            return i + static_cast<std::size_t>(std::countr_zero(ends)) / 8;
    }
    for (; i < text.size(); ++i)
        if (data[i] == '\r' || (lf && data[i] == '\n'))
            return i;
    return text.size();
}

} // namespace

bool LineReader::next(std::string_view& line) {
    if (m_emptyFirstLine) {
        m_emptyFirstLine = false;
        line = std::string_view();
        return true;
    }
    if (m_pos >= m_text.size())
        return false;
    const std::size_t start = m_pos;
    const std::size_t end = findLineEnd(m_text, start, m_loneLfEndsLine);
    if (end >= m_text.size()) {
        line = m_text.substr(start);
        m_pos = m_text.size();
        return true;
    }
    line = m_text.substr(start, end - start);
    m_pos = end + 1;
    if (m_text[end] == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
        ++m_pos;
    // In the normalised copy the text's last line end is followed by nothing.
    if (m_lineEndsBefore && line.empty() && m_pos >= m_text.size() &&
        (m_text[end] == '\r' || m_text.find('\r') == std::string_view::npos))
        return false;
    return true;
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void ensureReplaceable(const std::filesystem::path& path) {
    // Respect a file the user write-protected: renaming over it would succeed (and root may
    // write anything), so look at its mode bits as well.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 &&
        (::access(path.c_str(), W_OK) != 0 || (existing.st_mode & 0222) == 0))
        throw WriteFailed(path.string());
}

namespace {

// Writes the pieces one after the other as the whole file at `path` (see
// writeFileAtomically).
void writePiecesAtomically(const std::filesystem::path& path,
                           std::initializer_list<std::string_view> pieces) {
    ensureReplaceable(path);
    std::filesystem::path temporary = path;
    temporary += ".partial";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw WriteFailed(path.string());
    bool written = true;
    for (const std::string_view piece : pieces)
        written = written && writeAll(fd, piece);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw WriteFailed(path.string());
    }
}

} // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    writePiecesAtomically(path, {bytes});
}

void printTextFile(const std::filesystem::path& path, std::string_view text,
                   TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        // The text is written as it is, followed by the closing line end: no copy of it.
        writePiecesAtomically(path, {text, "\r\n"});
        return;
    }
    std::string whole;
    whole.reserve(text.size() + 2);
    whole.append(text);
    whole.append("\r\n");
    writeFileAtomically(path, encodeText(whole, encoding));
}

void deleteFile(const std::filesystem::path& path) {
    if (::unlink(path.c_str()) != 0)
        throw FileNotFound(path.string());
}

void renameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw FileNotFound(from.string());
}

} // namespace lintora
