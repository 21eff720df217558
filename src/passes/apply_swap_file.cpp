// The swap pass: renames side 1's references and pins before it is sorted, so that a
// schematic whose parts were renumbered or whose gates and pins were swapped on the board
// compares with the board. A swap file holds one pair per line:
//
//   U1    U7        every pin of U1 becomes a pin of U7, and the part U1 becomes U7
//   U7.3  U7.5      the one pin U7.3 becomes U7.5
//
// Names are taken exactly as written (the netlists are upper case). A pin changes at most
// once, by the first pair that names it or its reference.

#include "base/net_line.h"
#include "base/parts_line.h"
#include "base/text_file.h"
#include "passes/passes.h"

#include <limits>
#include <unordered_map>
#include <vector>

namespace lintora {

namespace {

constexpr std::size_t kNoPair = std::numeric_limits<std::size_t>::max();

class SwapTable {
public:
    void add(std::string oldName, std::string newName) {
        m_firstPair.emplace(oldName, m_pairs.size()); // keeps the first pair of a name
        m_pairs.push_back({std::move(oldName), std::move(newName)});
    }
    std::size_t size() const { return m_pairs.size(); }
    // The index of the first pair whose old name is `name`; kNoPair when none.
    std::size_t find(const std::string& name) const {
        const auto it = m_firstPair.find(name);
        return it == m_firstPair.end() ? kNoPair : it->second;
    }
    const std::string& newName(std::size_t pair) const { return m_pairs[pair].newName; }
    std::vector<SwapPair> takePairs() { return std::move(m_pairs); }

private:
    std::unordered_map<std::string, std::size_t> m_firstPair;
    std::vector<SwapPair> m_pairs;
};

// Each line stands alone: its first two names, separated by blanks or TABs, are a pair;
// anything after them is ignored. A line with a single name is skipped and listed in
// `skipped`, so that it cannot pair with the next line's name.
SwapTable readSwapFile(const Workspace& ws, const std::string& path, std::string& skipped,
                       std::vector<SkippedSwapLine>* skippedLines) {
    const std::string text = readInputText(path);
    SwapTable table;
    LineReader lines = inputLines(text); // CR LF, CR or LF line ends, as the netlists
    std::string_view line;
    std::size_t lineNumber = 0;
    while (lines.next(line)) {
        ++lineNumber;
        if (table.size() >= ws.limits.swapPairs)
            throw CapacityExceeded("swap pairs");
        std::vector<std::string> names;
        std::string token;
        for (std::size_t i = 0; i <= line.size() && names.size() < 2; ++i) {
            if (i == line.size() || line[i] == ' ' || line[i] == '\t') {
                if (!token.empty())
                    names.push_back(std::move(token));
                token.clear();
            } else {
                token += line[i];
            }
        }
        if (names.size() == 2) {
            table.add(std::move(names[0]), std::move(names[1]));
        } else if (!names.empty()) {
            skipped += std::to_string(lineNumber) + "行目：" + std::string(line) +
                       "・・・・・新しい名前が無いため読み飛ばしました。\r\n";
            if (skippedLines != nullptr)
                skippedLines->push_back({lineNumber, std::string(line)});
        }
    }
    return table;
}

// The new form of a pin, or the pin itself when no pair names it or its reference. The
// reference is what stands before the pin's first full stop, as for the pin-number change:
// U1.A.3 is pin A.3 of U1.
void swapPin(const SwapTable& table, std::string& pin) {
    const std::size_t wholePin = table.find(pin);
    std::size_t byReference = kNoPair;
    std::string_view pinName;
    const std::size_t firstStop = pin.find('.');
    if (firstStop != std::string::npos) {
        byReference = table.find(pin.substr(0, firstStop));
        pinName = std::string_view(pin).substr(firstStop + 1);
    }
    if (wholePin == kNoPair && byReference == kNoPair)
        return;
    if (wholePin <= byReference)
        pin = table.newName(wholePin);
    else
        pin = table.newName(byReference) + "." + std::string(pinName);
}

void swapNetFile(Workspace& ws, const SwapTable& table) {
    const auto path = ws.file(files::net);
    const std::string text = readFileBytes(path);
    FieldArray fields(ws.limits.swapFieldSlots);
    std::string rewritten;
    std::string line;
    LineReader lines(text);
    std::string_view original;
    while (lines.next(original) && !original.empty()) {
        const std::size_t written = splitNetLine(fields, original);
        const std::size_t count = splitPinCount(fields, written);
        if (count != leadingNumber(fields.at(1)))
            fields[1] = std::to_string(count);
        for (std::size_t i = 2; i < count + 2; ++i)
            swapPin(table, fields[i]);
        writeNetLine(fields, line);
        rewritten += line;
        rewritten += "\r\n";
    }
    printTextFile(path, rewritten);
}

void swapPartsFile(Workspace& ws, const SwapTable& table) {
    const auto path = ws.file(files::parts1);
    const std::string text = readFileBytes(path);
    FieldArray fields(4);
    PartRecord part;
    std::string rewritten;
    std::string line;
    LineReader lines(text);
    std::string_view original;
    while (lines.next(original) && !original.empty()) {
        splitPartsLine(part, original);
        const std::size_t pair = table.find(part.reference);
        if (pair != kNoPair)
            part.reference = table.newName(pair);
        fields[0] = part.attribute;
        fields[1] = part.name;
        fields[2] = part.reference;
        fields[3] = part.footprint;
        writePartsLine(fields, line);
        rewritten += line;
        rewritten += "\r\n";
    }
    printTextFile(path, rewritten);
}

} // namespace

std::vector<SwapPair> applySwapFile(Workspace& ws, const std::string& swapPath,
                                    std::string& errorText,
                                    std::vector<SkippedSwapLine>* skippedLines) {
    std::string skipped;
    SwapTable table = readSwapFile(ws, swapPath, skipped, skippedLines);
    if (!skipped.empty()) {
        ws.observer.message("スワップファイルに読み飛ばした行があります。処理終了後にエラー情報ボタ"
                            "ンを押して確認してください。");
        errorText += "**************スワップファイル読込情報**************\r\n\r\n";
        errorText += skipped;
        errorText += "\r\n";
    }
    swapNetFile(ws, table);
    swapPartsFile(ws, table);
    return table.takePairs();
}

} // namespace lintora
