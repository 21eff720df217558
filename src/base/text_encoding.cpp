#include "base/text_encoding.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace lintora {

namespace {

// RAII holder of one iconv conversion descriptor.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

} // namespace

namespace {

// Length of the valid multi-byte UTF-8 sequence at s[i] (whose byte is 0x80 or above), or 0
// when the bytes there are not one.
std::size_t validSequenceLength(const unsigned char* s, std::size_t n, std::size_t i) {
    const unsigned char b = s[i];
    std::size_t len;
    unsigned int cp;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (len > n - i)
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((s[i + k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF are not UTF-8.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

// Where the next byte of 0x80 or above stands, from `i` on; n when there is none. Most text
// is ASCII: it is stepped over eight bytes at a time.
std::size_t nextNonAscii(const unsigned char* s, std::size_t n, std::size_t i) {
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, s + i, 8);
        if ((word & 0x8080808080808080ULL) != 0)
            break;
        i += 8;
    }
    while (i < n && s[i] < 0x80)
        ++i;
    return i;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = nextNonAscii(s, n, 0); i < n; i = nextNonAscii(s, n, i)) {
        const std::size_t len = validSequenceLength(s, n, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::size_t utf8MultiByteLength(std::string_view text, std::size_t i) {
    const std::size_t len =
        validSequenceLength(reinterpret_cast<const unsigned char*>(text.data()), text.size(), i);
    return len == 0 ? 1 : len;
}

namespace {

// Converts the whole of `bytes` into `out` at once. `bound` is how many output bytes one
// input byte can become at the most, so the buffer is never too small.
bool convertWhole(const char* to, const char* from, std::size_t bound, std::string_view bytes,
                  std::string& out) {
    Converter cd(to, from);
    if (!cd.valid())
        return false;
    out.assign(bytes.size() * bound + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd.get(), &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1))
        return false;
    out.resize(out.size() - outLeft);
    return true;
}

// UTF-16 takes its byte order from the byte-order mark.
bool utf16ToUtf8(std::string_view bytes, std::string& out) {
    return convertWhole("UTF-8", "UTF-16", 2, bytes, out);
}

} // namespace

bool cp932ToUtf8(std::string_view bytes, std::string& out) {
    out.clear();
    return bytes.empty() || convertWhole("UTF-8", "CP932", 3, bytes, out);
}

bool decodeInputText(std::string&& bytes, std::string& text) {
    if (!bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF") &&
        bytes.find('\0') == std::string::npos && isValidUtf8(bytes)) {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.erase(0, 3);
        text = std::move(bytes); // nothing to convert: no copy either
        return true;
    }
    return decodeInputText(std::string_view(bytes), text);
}

bool decodeInputText(std::string_view bytes, std::string& text) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return utf16ToUtf8(bytes, text) && text.find('\0') == std::string::npos;
    if (bytes.find('\0') != std::string_view::npos)
        return false;
    if (isValidUtf8(bytes)) {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        text.assign(bytes);
        return true;
    }
    return cp932ToUtf8(bytes, text);
}

std::string utf8ToCp932(std::string_view text) {
    std::string out;
    if (text.empty())
        return out;
    Converter cd("CP932", "UTF-8");
    if (!cd.valid())
        return std::string(text);
    out.resize(text.size() * 2 + 16);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd.get(), &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            const std::size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // A character CP932 has no code for, or a byte that is no UTF-8 (one character of
        // its own): write "?" and go on after it.
        const std::size_t skip = utf8CharLength(std::string_view(in, inLeft), 0);
        in += skip;
        inLeft -= skip;
        if (outLeft == 0) {
            const std::size_t used = out.size();
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = out.size() - used;
        }
        *dst++ = '?';
        --outLeft;
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::string encodeText(std::string_view text, TextEncoding encoding) {
    return encoding == TextEncoding::Cp932 ? utf8ToCp932(text) : std::string(text);
}

namespace {

constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Eight ASCII bytes (no high bit set) with every a-z turned into A-Z. A byte's high bit
// after adding 0x80 - 'a' says it is 'a' or above, after adding 0x80 - ('z' + 1) that it
// is above 'z'; neither sum carries into the next byte.
inline std::uint64_t upperCasedAsciiWord(std::uint64_t word) {
    const std::uint64_t fromA = word + kEachByte * (0x80 - 'a');
    const std::uint64_t pastZ = word + kEachByte * (0x80 - 'z' - 1);
    const std::uint64_t lower = fromA & ~pastZ & kHighBits;
    return word ^ (lower >> 2); // 0x80 >> 2 is the case bit 0x20
}

} // namespace

namespace {

// Upper-cases `n` bytes read from `in` into `out`, which already holds those bytes (it may be
// `in` itself). Only the bytes that change are written, so a copy that was just made is not
// read back, and text that is already upper-case is not written at all.
void upperCaseOver(const char* in, char* out, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        std::uint64_t word;
        // Most netlist text is ASCII: eight bytes at a time while there is no other byte.
        if (i + 8 <= n && (std::memcpy(&word, in + i, 8), (word & kHighBits) == 0)) {
            const std::uint64_t upper = upperCasedAsciiWord(word);
            if (upper != word)
                std::memcpy(out + i, &upper, 8);
            i += 8;
            continue;
        }
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            if (static_cast<unsigned>(b - 'a') < 26u)
                out[i] = static_cast<char>(b - 'a' + 'A');
        } else if (b == 0xEF && i + 2 < n && static_cast<unsigned char>(in[i + 1]) == 0xBD) {
            // Full-width ａ (U+FF41, EF BD 81) to ｚ (U+FF5A, EF BD 9A) become
            // Ａ (U+FF21, EF BC A1) to Ｚ (U+FF3A, EF BC BA).
            const auto t = static_cast<unsigned char>(in[i + 2]);
            if (t >= 0x81 && t <= 0x9A) {
                out[i + 1] = static_cast<char>(0xBC);
                out[i + 2] = static_cast<char>(t + 0x20);
                i += 2;
            }
        }
        ++i;
    }
}

} // namespace

void upperCaseInPlace(std::string& text) {
    upperCaseOver(text.data(), text.data(), text.size());
}

void appendUpperCased(std::string& text, std::string_view from) {
    const std::size_t start = text.size();
    text.append(from);
    upperCaseOver(from.data(), text.data() + start, from.size());
}

std::string upperCased(std::string_view text) {
    std::string out(text);
    upperCaseInPlace(out);
    return out;
}

std::size_t charCount(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t count = 0;
    std::size_t i = 0;
    for (;;) {
        const std::size_t next = nextNonAscii(s, n, i);
        count += next - i;
        if (next == n)
            return count;
        i = next + utf8CharLength(text, next);
        ++count;
    }
}

std::size_t byteOffsetOfChar(std::string_view text, std::size_t charIndex) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); i += utf8CharLength(text, i)) {
        if (seen == charIndex)
            return i;
        ++seen;
    }
    return text.size();
}

} // namespace lintora
