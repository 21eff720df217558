#include "readers/reader_support.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace lintora {

LineReader netlistLines(std::string_view text) {
    return LineReader(text, text.find('\r') == std::string_view::npos
                                ? LineReader::LoneLf::EndsLine
                                : LineReader::LoneLf::StaysInLine);
}

void ReaderOutput::reserveFor(std::size_t inputBytes) {
    m_netText.reserve(inputBytes + inputBytes / 8);
    m_partsText.reserve(inputBytes / 2);
}

void ReaderOutput::addNet() {
    appendNetLine(fields, m_netText);
    m_netText.append("\r\n", 2);
}

void ReaderOutput::addPart() {
    appendPartLine(fields, m_partsText);
    m_partsText.append("\r\n", 2);
}

void ReaderOutput::writeNetFile() const {
    printTextFile(m_workspace.file(files::net), m_netText);
}

void ReaderOutput::writePartsFile() const {
    printTextFile(m_workspace.file(files::parts), m_partsText);
}

void convertFirstSeparator(std::string& pin, char separator) {
    const std::size_t at = pin.find(separator, 1);
    if (at != std::string::npos)
        pin[at] = '.';
}

void convertAllSeparators(std::string& pin, std::string_view separators) {
    char* const text = pin.data();
    const std::size_t size = pin.size();
    if (separators.size() == 1) {
        const char separator = separators.front();
        for (std::size_t i = 1; i < size; ++i)
            if (text[i] == separator)
                text[i] = '.';
        return;
    }
    for (std::size_t i = 1; i < size; ++i) {
        for (const char separator : separators) {
            if (text[i] == separator) {
                text[i] = '.';
                break;
            }
        }
    }
}

namespace {

// The separators each field may not hold: for each byte, the fields (as bits of the
// LineField values) that must not hold it.
constexpr unsigned char bitOf(LineField field) {
    return static_cast<unsigned char>(1u << static_cast<unsigned>(field));
}
constexpr std::array<unsigned char, 256> kFieldsNotHolding = [] {
    const unsigned char netLine = bitOf(LineField::NetName) | bitOf(LineField::PinName);
    const unsigned char partsLine = bitOf(LineField::PartName) | bitOf(LineField::Footprint);
    const unsigned char reference = bitOf(LineField::Reference);
    std::array<unsigned char, 256> fields{};
    fields[';'] = netLine | reference | partsLine;
    fields[':'] = netLine | reference | partsLine;
    fields[','] = netLine | reference;
    fields['!'] = reference | partsLine;
    fields['?'] = reference | partsLine;
    return fields;
}();

std::string_view fullWidthFormOf(char separator) {
    switch (separator) {
    case ';':
        return "\xEF\xBC\x9B"; // ；
    case ':':
        return "\xEF\xBC\x9A"; // ：
    case ',':
        return "\xEF\xBC\x8C"; // ，
    case '!':
        return "\xEF\xBC\x81"; // ！
    default:
        return "\xEF\xBC\x9F"; // ？
    }
}

} // namespace

void appendLineField(std::string& out, std::string_view text, LineField field) {
    const unsigned char bit = bitOf(field);
    std::size_t from = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if ((kFieldsNotHolding[static_cast<unsigned char>(text[at])] & bit) == 0)
            continue;
        out.append(text.substr(from, at - from));
        out.append(fullWidthFormOf(text[at]));
        from = at + 1;
    }
    out.append(text.substr(from));
}

std::string lineField(std::string_view text, LineField field) {
    std::string out;
    out.reserve(text.size());
    appendLineField(out, text, field);
    return out;
}

void appendPin(std::string& out, std::string_view reference, std::string_view pin) {
    appendLineField(out, reference, LineField::Reference);
    out += '.';
    appendLineField(out, pin, LineField::PinName);
}

std::string_view footprintWithoutLibrary(std::string_view footprint) {
    const std::size_t colon = footprint.rfind(':');
    return colon == std::string_view::npos ? footprint : footprint.substr(colon + 1);
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlankOrTab(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrTab(text.back()))
        text.remove_suffix(1);
    return text;
}

namespace {

// The bytes of `word` that equal `byte`, as their high bits. The lowest one marked is
// always right (a mark above a true one may be false), which is all the caller uses.
std::uint64_t bytesEqualTo(std::uint64_t word, char byte) {
    constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;
    const std::uint64_t x = word ^ (kEachByte * static_cast<unsigned char>(byte));
    return (x - kEachByte) & ~x & (kEachByte << 7);
}

} // namespace

std::string normalisedUpperCaseCopy(std::string_view input) {
    // Every line is preceded by CR LF, and inside a line every lone LF becomes CR LF too; so
    // each line end of the input (CR LF, CR, LF) turns into CR LF, except the input's last
    // one, after which no line follows. A file with CRs has a line end at its close only if
    // it ends in CR or CR LF: a last lone LF there stays inside its line.
    if (input.empty())
        return std::string();
    const bool hasCr = input.find('\r') != std::string_view::npos;
    if (input.ends_with("\r\n"))
        input.remove_suffix(2);
    else if (input.back() == '\r' || (!hasCr && input.back() == '\n'))
        input.remove_suffix(1);

    // Room for the copy: one more byte for every CR and LF (a CR LF needs none, so this is a
    // little more than it takes).
    const std::size_t lineEnds = static_cast<std::size_t>(
        std::count_if(input.begin(), input.end(), [](char c) { return c == '\r' || c == '\n'; }));
    std::string copy;
    copy.resize(2 + input.size() + lineEnds + 8);
    char* out = copy.data();
    *out++ = '\r';
    *out++ = '\n';
    const char* in = input.data();
    const char* const end = in + input.size();
    while (in != end) {
        // Eight bytes at a time: copied whole, and kept up to the first line end among them.
        if (end - in >= 8) {
            std::uint64_t word;
            std::memcpy(&word, in, 8);
            std::memcpy(out, &word, 8); // the 8 spare bytes at the end make room for this
            const std::uint64_t ends = bytesEqualTo(word, '\r') | bytesEqualTo(word, '\n');
            const std::size_t kept = ends == 0 ? 8 : std::countr_zero(ends) / 8;
            in += kept;
            out += kept;
            if (kept == 8)
                continue;
        }
        const char c = *in++;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && in != end && *in == '\n')
                ++in;
            *out++ = '\r';
            *out++ = '\n';
        } else {
            *out++ = c;
        }
    }
    copy.resize(static_cast<std::size_t>(out - copy.data()));
    upperCaseInPlace(copy);
    return copy;
}

LineReader normalisedCopyLines(std::string_view upperCasedInput) {
    return LineReader(upperCasedInput, LineReader::LoneLf::EndsLine,
                      LineReader::Framing::NormalisedCopy);
}

ReaderResult convertThroughNormalisedCopy(Workspace& ws, const std::string& path,
                                          CopySection readParts,
                                          void (*readNets)(LineReader&, ReaderOutput&)) {
    ReaderInput input(path);
    input.upperCase();
    LineReader copyLines = normalisedCopyLines(input.text());
    ReaderOutput out(ws);
    out.reserveFor(input.text().size());

    const bool foundNets = readParts(copyLines, out);
    out.writePartsFile();
    if (!foundNets) {
        // Not a file of this format: net.tmp is left holding the normalised copy.
        printTextFile(ws.file(files::net), normalisedUpperCaseCopy(input.text()));
        ws.observer.hideProgress();
        return ReaderResult::NotRecognised;
    }
    out.fields.clear();
    readNets(copyLines, out);
    out.writeNetFile();
    return ReaderResult::Recognised;
}

} // namespace lintora
