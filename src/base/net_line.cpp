#include "base/net_line.h"

#include "base/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace lintora {

std::size_t leadingNumber(std::string_view text) {
    constexpr std::size_t saturated = std::numeric_limits<std::size_t>::max() / 16;
    std::size_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<std::size_t>(c - '0');
        if (value > saturated)
            return saturated;
    }
    return value;
}

namespace {

// Writes a field, its separator and the blank after it; moves `out` past them.
void putField(char*& out, const std::string& field, char separator) {
    std::memcpy(out, field.data(), field.size());
    out += field.size();
    out[0] = separator;
    out[1] = ' ';
    out += 2;
}

} // namespace

void appendNetLine(const FieldArray& fields, std::string& text) {
    const std::size_t count = leadingNumber(fields.at(1));
    if (count >= fields.capacity() - 1)
        throw CapacityExceeded("pins of a net");
    // The whole line is measured first and written into place in one go: this runs once per
    // net of every netlist read.
    const std::string& name = fields.at(0);
    const std::string& countText = fields.at(1);
    std::size_t length = name.size() + 2 + countText.size() + 2;
    for (std::size_t i = 2; i < count + 2; ++i)
        length += fields.at(i).size() + 2;
    const std::size_t start = text.size();
    if (text.capacity() - start < length)
        text.reserve(std::max(start + length, 2 * text.capacity()));
    text.resize(start + length);
    char* out = text.data() + start;
    putField(out, name, ';');
    putField(out, countText, ':');
    for (std::size_t i = 2; i < count + 2; ++i)
        putField(out, fields.at(i), ',');
}

void writeNetLine(const FieldArray& fields, std::string& line) {
    line.clear();
    appendNetLine(fields, line);
}

void appendPartLine(const FieldArray& fields, std::string& text) {
    const std::string& attribute = fields.at(0);
    const std::string& partName = fields.at(1);
    const std::string& reference = fields.at(2);
    const std::string& footprint = fields.at(3);
    const std::size_t start = text.size();
    const std::size_t length =
        attribute.size() + partName.size() + reference.size() + footprint.size() + 8;
    if (text.capacity() - start < length)
        text.reserve(std::max(start + length, 2 * text.capacity()));
    text.resize(start + length);
    char* out = text.data() + start;
    putField(out, attribute, '!');
    putField(out, partName, ';');
    putField(out, reference, ':');
    putField(out, footprint, '?');
}

void writePartsLine(const FieldArray& fields, std::string& line) {
    line.clear();
    appendPartLine(fields, line);
}

namespace {

// What a character is to the splitter: part of a field, a blank to drop, or the end of a
// field.
enum CharClass : unsigned char { kText = 0, kBlank = 1, kFieldEnd = 2 };
constexpr std::array<unsigned char, 256> kClasses = [] {
    std::array<unsigned char, 256> classes{};
    classes[static_cast<unsigned char>(' ')] = kBlank;
    classes[static_cast<unsigned char>(';')] = kFieldEnd;
    classes[static_cast<unsigned char>(':')] = kFieldEnd;
    classes[static_cast<unsigned char>(',')] = kFieldEnd;
    return classes;
}();

} // namespace

std::size_t splitNetLine(FieldArray& fields, std::string_view line) {
    // Walks the line from separator to separator. A field's text ends at ";" (the name),
    // ":" (the count), "," (a pin) or the position after the line's end (a last pin); one
    // character after ";" and after ":" is skipped, and if that was the end of the line no
    // last field follows.
    const std::size_t n = line.size();
    std::size_t k = 0;
    std::size_t written = 0;
    std::size_t i = 0;
    for (;;) {
        std::size_t j = i;
        unsigned char seen = kText;
        for (; j < n; ++j) {
            const unsigned char c = kClasses[static_cast<unsigned char>(line[j])];
            if (c == kFieldEnd)
                break;
            seen |= c;
        }
        const char separator = j < n ? line[j] : '\0';
        const std::size_t slot = separator == ';' ? 0 : separator == ':' ? 1 : k;
        std::string& field = fields[slot];
        field.assign(line.data() + i, j - i);
        if (seen == kBlank)
            std::erase(field, ' '); // blanks are dropped wherever they stand
        written = std::max(written, slot + 1);
        if (j == n)
            break;
        i = j + 1;
        if (separator == ',') {
            ++k;
            continue;
        }
        if (separator == ':')
            k = 2;
        if (i >= n)
            return written; // the skipped position was the end of the line
        i += utf8CharLength(line, i);
    }
    return written;
}

std::size_t splitPinCount(const FieldArray& fields, std::size_t slotsWritten) {
    const std::size_t count = leadingNumber(fields.at(1));
    const std::size_t split = slotsWritten > 2 ? slotsWritten - 2 : 0;
    return count < split ? count : split;
}

} // namespace lintora
