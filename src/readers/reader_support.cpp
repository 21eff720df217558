#include "readers/reader_support.h"

namespace lintora {

LineReader netlistLines(std::string_view text) {
    return LineReader(text, text.find('\r') == std::string_view::npos
                                ? LineReader::LoneLf::EndsLine
                                : LineReader::LoneLf::StaysInLine);
}

void ReaderOutput::addNet() {
    mntsout(fields, m_line);
    m_netText.append(m_line).append("\r\n");
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

std::string normalisedUpperCaseCopy(std::string_view input) {
    std::string copy;
    copy.reserve(input.size() + input.size() / 16 + 2);
    LineReader lines = netlistLines(input);
    std::string_view line;
    while (lines.next(line)) {
        copy += "\r\n";
        for (std::size_t lf; (lf = line.find('\n')) != std::string_view::npos;) {
            copy.append(line.substr(0, lf));
            copy += "\r\n";
            line.remove_prefix(lf + 1);
        }
        copy.append(line);
    }
    upperCaseInPlace(copy);
    return copy;
}

void convertThroughNormalisedCopy(Workspace& ws, const std::string& path, std::string& status,
                                  CopySection readParts, void (*readNets)(LineReader&, ReaderOutput&)) {
    status = kStatusBad;
    const ReaderInput input(path);
    const std::string copy = normalisedUpperCaseCopy(input.text());
    LineReader copyLines(copy);
    ReaderOutput out(ws);

    const bool foundNets = readParts(copyLines, out);
    out.writePartsFile();
    if (!foundNets) {
        // Not a file of this format: net.tmp is left holding the normalised copy.
        printTextFile(ws.file(files::net), copy);
        ws.observer.hideProgress();
        return;
    }
    status = kStatusGood;
    out.fields.clear();
    readNets(copyLines, out);
    out.writeNetFile();
}

} // namespace lintora
