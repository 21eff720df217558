#include "readers/reader_support.h"

namespace lintora {

void ReaderOutput::addNet() {
    mntsout(fields, m_line);
    m_netText += m_line;
    m_netText += "\r\n";
}

void ReaderOutput::addPart() {
    mptsout(fields, m_line);
    m_partsText += m_line;
    m_partsText += "\r\n";
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
    for (std::size_t i = 1; i < pin.size(); ++i)
        if (separators.find(pin[i]) != std::string_view::npos)
            pin[i] = '.';
}

// ---- readers-b (Protel, Protel 2.0, Tango, FUTURE) ----

bool AnyEndLineReader::next(std::string_view& line) {
    if (m_pos >= m_text.size())
        return false;
    const std::size_t end = m_text.find_first_of("\r\n", m_pos);
    if (end == std::string_view::npos) {
        line = m_text.substr(m_pos);
        m_pos = m_text.size();
        return true;
    }
    line = m_text.substr(m_pos, end - m_pos);
    m_pos = end + 1;
    if (m_text[end] == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
        ++m_pos;
    return true;
}

} // namespace lintora

// ---- Readers group D (Expedition PCB, CADVANCE, INTERGRA, MM-COLMO_NEO & MM2) ----
namespace lintora {

std::string normalisedUpperCaseCopy(std::string_view input) {
    std::string copy;
    copy.reserve(input.size() + input.size() / 16 + 2);
    LineReader lines(input);
    std::string_view line;
    while (lines.next(line)) {
        copy += "\r\n";
        for (const char c : line) {
            if (c == '\n')
                copy += "\r\n";
            else
                copy += c;
        }
    }
    upperCaseInPlace(copy);
    return copy;
}

} // namespace lintora
