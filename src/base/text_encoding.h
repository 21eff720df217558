#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lintora {

// All text inside Lintora is UTF-8. Netlists arrive as UTF-8 or as Shift_JIS (CP932), the
// code page of the Windows CAD stations many of them come from; reports can be written
// back in CP932 for colleagues on Windows.
enum class TextEncoding { Utf8, Cp932 };

bool isValidUtf8(std::string_view bytes);

// Converts CP932 bytes to UTF-8. Returns false (and leaves `out` unspecified) when the
// bytes are not valid CP932.
bool cp932ToUtf8(std::string_view bytes, std::string& out);

// Decodes the bytes of a netlist or swap file to UTF-8: UTF-16 with a byte-order mark,
// valid UTF-8 (without its byte-order mark), or else CP932. False for anything else,
// including text with NUL bytes, which no netlist holds (a binary file, most likely).
bool decodeInputText(std::string_view bytes, std::string& text);
bool decodeInputText(std::string&& bytes, std::string& text);

// Converts UTF-8 to CP932; a character CP932 cannot hold becomes "?".
std::string utf8ToCp932(std::string_view text);

// Encodes UTF-8 text for a file in the given encoding.
std::string encodeText(std::string_view text, TextEncoding encoding);

// Upper-cases ASCII letters and full-width Latin letters (ａ-ｚ); everything else stays.
void upperCaseInPlace(std::string& text);
std::string upperCased(std::string_view text);
// Appends `from` upper-cased (for text that ends with a whole character): the copy is
// upper-cased as it is made, so the text is read once.
void appendUpperCased(std::string& text, std::string_view from);

// Byte length of the UTF-8 sequence that starts with `lead` (1 for a stray byte), for text
// known to be valid UTF-8 (a netlist once decoded). Text that may hold other bytes (a path or
// an option as typed) is walked with utf8CharLength().
inline std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0xC0)
        return 1;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    return 4;
}

// Length of the valid UTF-8 sequence of two to four bytes at byte `i`, or 1 when the bytes
// there are no such sequence.
std::size_t utf8MultiByteLength(std::string_view text, std::size_t i);

// Byte length of the character at byte `i` of `text` (i < text.size()): a valid UTF-8
// sequence is one character; any byte that does not begin one (a Latin-1 or Shift_JIS byte,
// a sequence cut short) is one character of its own.
inline std::size_t utf8CharLength(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]) < 0x80 ? 1 : utf8MultiByteLength(text, i);
}

// Number of characters in text, counted as utf8CharLength() steps through them: the code
// points of valid UTF-8, and one for every byte that is not part of it.
std::size_t charCount(std::string_view text);

// Byte offset of the character with the 0-based index `charIndex` (characters as charCount()
// counts them); text.size() when the text has fewer characters.
std::size_t byteOffsetOfChar(std::string_view text, std::size_t charIndex);

} // namespace lintora
