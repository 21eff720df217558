// Placing the net comparison report on the check sheet. The report, as cmp.txt holds it:
//
//   ****************************************************************
//   ネット１：　　　board_a.net                     (settings header, 13 lines)
//   ...
//   ****************************************************************
//   ＜異なるネット＞
//   ネット名; 　GND = GND
//   ネット１; 　U1.7, U2.7, U3.7, U4.7, U5.7, U6.7,
//   ネット２;
//   同一個所;   C1.2,
//   ----------------------------
//   ＜ネット２に存在しないネット１のネット＞
//   VCC; 3: U1.14, U2.14, U3.14,
//
//
//   ---------------------------------
//
//   ＜ネット１に存在しないネット２のネット＞
//
// Long lines were cut by the reflow after 70 characters and then every 62, each piece on a
// line of its own behind 12 blanks; they are joined again before anything is placed.
#include "run/check_sheet.h"

#include "base/text_encoding.h"
#include "base/text_file.h"

namespace lintora {

namespace {

constexpr std::string_view kDifferencesHeading = "＜異なるネット＞";
constexpr std::string_view kUnpaired1Heading = "＜ネット２に存在しないネット１のネット＞";
constexpr std::string_view kUnpaired2Heading = "＜ネット１に存在しないネット２のネット＞";
constexpr std::string_view kNameLabel = "ネット名;";
constexpr std::string_view kOnly1Label = "ネット１;";
constexpr std::string_view kOnly2Label = "ネット２;";
constexpr std::string_view kSharedLabel = "同一個所;";
// Block rules have 28 dashes and entry rules 33; 22 of them are enough to know a rule.
constexpr std::string_view kRuleToken = "----------------------";
constexpr std::string_view kStarRule =
    "****************************************************************"; // 64
constexpr std::string_view kIdeographicSpace = "\u3000";
constexpr std::string_view kContinuationIndent = "            "; // 12 blanks

// Settings header: star rule, two paths and formats, swap file, title, pin-number changes
// and non-polar parts with their headings, an empty line, star rule.
constexpr std::size_t kHeaderLines = 13;
constexpr std::uint32_t kFirstHeaderRow = 2;
constexpr std::uint32_t kLastHeaderRow = kFirstHeaderRow + kHeaderLines - 1;
constexpr std::uint16_t kLabelColumn = 1;
constexpr std::uint16_t kFirstPinColumn = 2;
constexpr std::uint16_t kLastPinColumn = 6;

// The report's lines with the reflow undone: a line the reflow cut is followed by lines of
// 12 blanks and the rest. A first piece that is continued has 70 characters, or 69 when the
// line had exactly 69 (the reflow then adds a line of 12 blanks only); a continued
// continuation has 12 + 62 characters, or 12 + 61.
class JoinedLines {
public:
    explicit JoinedLines(std::string_view text) : m_lines(text) { m_more = m_lines.next(m_ahead); }

    bool next(std::string_view& line) {
        if (!m_more)
            return false;
        std::string_view piece = m_ahead;
        m_more = m_lines.next(m_ahead);
        if (!continues(piece, true)) {
            line = piece;
            return true;
        }
        m_joined.assign(piece);
        do {
            piece = m_ahead;
            m_joined.append(piece.substr(kContinuationIndent.size()));
            m_more = m_lines.next(m_ahead);
        } while (continues(piece, false));
        line = m_joined;
        return true;
    }

private:
    bool continues(std::string_view piece, bool first) const {
        if (!m_more || !m_ahead.starts_with(kContinuationIndent))
            return false;
        const std::size_t chars = charCount(piece);
        const std::size_t full = first ? 70 : kContinuationIndent.size() + 62;
        return chars == full || chars == full - 1;
    }

    LineReader m_lines;
    std::string_view m_ahead;
    bool m_more = false;
    std::string m_joined;
};

bool isSpace(std::string_view ch) {
    return ch == " " || ch == "\t" || ch == "\r" || ch == "\n" || ch == kIdeographicSpace;
}

// Places the body, upper-cased, one token at a time. A token is the run of characters that
// are not blanks; the tests below are made at every character and at the position after a
// line's last one, before the character joins the token.
class BodyPlacer {
public:
    explicit BodyPlacer(std::vector<SheetCell>& cells) : m_cells(cells) {}

    void place(std::string_view line) {
        m_line = upperCased(line);
        const std::string_view text = m_line;
        m_token.clear();
        for (std::size_t i = 0;;) {
            const std::size_t n =
                i < text.size() ? utf8SequenceLength(static_cast<unsigned char>(text[i])) : 0;
            const std::string_view ch = text.substr(i, n);
            if (!test(ch))
                break; // the line was written whole
            if (i >= text.size())
                break;
            i += ch.size();
        }
        // A pin list or an unpaired net's pins end with their line (cut lines were joined).
        m_list = PinList::None;
    }

private:
    enum class Section { None, Differences, Unpaired };
    enum class PinList { None, Only1, Only2, Shared, UnpairedNet };
    enum class Label { Only1, Only2, Shared, None }; // the list label a block expects next

    // Returns false when the line has been written whole.
    bool test(std::string_view ch) {
        if (m_token == kDifferencesHeading) {
            writeLine();
            m_section = Section::Differences;
            m_nextLabel = Label::Only1;
            return false;
        }
        if (m_section == Section::Differences) {
            if (m_token == kNameLabel) {
                writeLine();
                m_nextLabel = Label::Only1;
                return false;
            }
            if (startsList(kOnly1Label, Label::Only1, PinList::Only1, Label::Only2) ||
                startsList(kOnly2Label, Label::Only2, PinList::Only2, Label::Shared) ||
                startsList(kSharedLabel, Label::Shared, PinList::Shared, Label::None))
                return true;
        }
        if (m_list != PinList::None && ch == ",") {
            placePin(m_list == PinList::Shared ? CellColour::Blue : CellColour::Red);
            return true;
        }
        if (m_list == PinList::None && m_section != Section::None &&
            (m_token == kUnpaired1Heading || m_token == kUnpaired2Heading)) {
            writeToken();
            m_section = Section::Unpaired;
            return true;
        }
        // The colon after the count: the token is "NAME;COUNT". A colon inside a net name
        // comes before the semicolon and one inside a pin after this one; neither starts a net.
        if (m_section == Section::Unpaired && m_list == PinList::None && ch == ":" &&
            m_token.find(';') != std::string::npos) {
            writeToken();
            m_list = PinList::UnpairedNet;
            return true;
        }
        if (m_list == PinList::None && m_token == kRuleToken) {
            writeLine();
            m_nextLabel = Label::Only1; // after a block rule the next block begins
            return false;
        }
        if (!ch.empty() && !isSpace(ch))
            m_token += ch;
        return true;
    }

    bool startsList(std::string_view label, Label expected, PinList list, Label next) {
        if (m_nextLabel != expected || m_token != label)
            return false;
        writeToken();
        m_list = list;
        m_nextLabel = next;
        return true;
    }

    void newRow(std::string_view text) {
        ++m_row;
        m_column = kLabelColumn;
        if (!text.empty())
            m_cells.push_back({m_row, kLabelColumn, std::string(text), CellColour::Template});
    }
    void writeLine() {
        newRow(m_line);
        m_token.clear();
    }
    void writeToken() {
        newRow(m_token);
        m_token.clear();
    }
    void placePin(CellColour colour) {
        if (m_column == kLastPinColumn) {
            ++m_row;
            m_column = kFirstPinColumn;
        } else {
            ++m_column;
        }
        m_cells.push_back({m_row, m_column, m_token, colour});
        m_token.clear();
    }

    std::vector<SheetCell>& m_cells;
    std::uint32_t m_row = kCheckSheetTemplateRow;
    std::uint16_t m_column = kLabelColumn;
    Section m_section = Section::None;
    PinList m_list = PinList::None;
    Label m_nextLabel = Label::None;
    std::string m_token;
    std::string m_line;
};

} // namespace

std::vector<SheetCell> layOutCheckSheet(std::string_view reportText) {
    std::vector<std::string> lines;
    {
        JoinedLines joined(reportText);
        std::string_view line;
        while (joined.next(line))
            lines.emplace_back(line);
    }

    // The header is everything above the heading of the differences, which follows the
    // header's closing star rule (a setting typed as that heading is not it); a text without
    // them is taken to have the usual 13 header lines.
    std::size_t headerEnd = 1;
    while (headerEnd < lines.size() &&
           (lines[headerEnd] != kDifferencesHeading || lines[headerEnd - 1] != kStarRule))
        ++headerEnd;
    if (headerEnd >= lines.size())
        headerEnd = std::min(lines.size(), kHeaderLines);

    std::vector<SheetCell> cells;
    cells.reserve(lines.size() * 2);
    // The header, as written. Lines beyond the usual 13 (only a setting that itself held a
    // line break makes them) share the last header row rather than the template row.
    for (std::size_t i = 0; i < headerEnd; ++i) {
        const std::uint32_t row =
            kFirstHeaderRow + static_cast<std::uint32_t>(std::min(i, kHeaderLines - 1));
        if (row == kLastHeaderRow && !cells.empty() && cells.back().row == row) {
            cells.back().text += ' ';
            cells.back().text += lines[i];
        } else if (!lines[i].empty()) {
            cells.push_back({row, kLabelColumn, lines[i], CellColour::Template});
        }
    }

    BodyPlacer body(cells);
    for (std::size_t i = headerEnd; i < lines.size(); ++i)
        body.place(lines[i]);
    return cells;
}

} // namespace lintora
