// The parts comparison: pairs the parts of both sides by reference designator and lists
// every reference whose part name differs, then the parts side 2 lacks and the parts side
// 1 lacks, in cmpprt.txt.

#include "base/errors.h"
#include "base/parts_line.h"
#include "base/text_file.h"
#include "passes/passes.h"

#include <deque>
#include <unordered_map>
#include <vector>

namespace lintora {

namespace {

// A side's parts in file order, up to the first empty line (which ends the side).
std::vector<PartRecord> readParts(const Workspace& ws, std::string_view fileName) {
    const std::string text = readFileBytes(ws.file(fileName));
    std::vector<PartRecord> parts;
    std::size_t linesRead = 0;
    bool ended = false;
    LineReader lines(text);
    std::string_view line;
    while (lines.next(line)) {
        // Every line takes a table slot, and the slot after the last part stays empty.
        if (++linesRead > ws.limits.partsSlots)
            throw CapacityExceeded("parts of a side");
        if (line.empty())
            ended = true;
        if (ended)
            continue;
        splitPartsLine(parts.emplace_back(), line);
    }
    return parts;
}

void appendLeftovers(std::string& report, std::string_view heading,
                     const std::vector<PartRecord>& parts, const std::vector<bool>& paired,
                     std::vector<UnpairedPart>* unpaired) {
    bool headed = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (paired[i])
            continue;
        if (unpaired != nullptr)
            unpaired->push_back({parts[i].reference, parts[i].name});
        if (!headed) {
            report += heading;
            report += "\r\n";
            headed = true;
        }
        report += "部品番号=" + parts[i].reference + "   部品名=" + parts[i].name + "\r\n";
    }
}

} // namespace

bool compareParts(Workspace& ws, PartsFindings* findings) {
    const std::vector<PartRecord> side1 = readParts(ws, files::parts1);
    const std::vector<PartRecord> side2 = readParts(ws, files::parts2);
    if (findings != nullptr)
        *findings = PartsFindings{side1.size(), side2.size(), {}, {}, {}};

    // Side-2 parts by reference, in file order: each side-1 part takes the first one not
    // yet taken.
    std::unordered_map<std::string, std::deque<std::size_t>> byReference;
    for (std::size_t j = 0; j < side2.size(); ++j)
        byReference[side2[j].reference].push_back(j);

    std::string report;
    std::vector<bool> paired1(side1.size(), false);
    std::vector<bool> paired2(side2.size(), false);
    for (std::size_t i = 0; i < side1.size(); ++i) {
        const auto it = byReference.find(side1[i].reference);
        if (it == byReference.end() || it->second.empty())
            continue;
        const std::size_t j = it->second.front();
        it->second.pop_front();
        if (side1[i].name != side2[j].name) {
            report += "**********" + side1[i].reference + "**********\r\n";
            report += "比較１パーツ名=" + side1[i].name + "\r\n";
            report += "比較２パーツ名=" + side2[j].name + "\r\n";
            report += "\r\n";
            if (findings != nullptr)
                findings->mismatches.push_back({side1[i].reference, side1[i].name, side2[j].name});
        }
        paired1[i] = true;
        paired2[j] = true;
    }
    appendLeftovers(report, "**********ネット２に無い部品**********", side1, paired1,
                    findings != nullptr ? &findings->onlyIn1 : nullptr);
    appendLeftovers(report, "**********ネット１に無い部品**********", side2, paired2,
                    findings != nullptr ? &findings->onlyIn2 : nullptr);

    if (!report.empty())
        ws.observer.message("部品の異なる箇所がありました。部品比較結果ボタンで確認してください。");
    printTextFile(ws.file(files::partsReport), report, ws.reportEncoding);
    return !report.empty();
}

} // namespace lintora
