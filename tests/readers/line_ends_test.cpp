// Line ends: every reader takes CR LF, CR and a lone LF alike, also mixed in one file (files
// edited on two systems, exports put together), so a board converts the same whatever ends
// its lines.

#include "run/format_table.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace lintora {
namespace {

// Every reader's board, by the format it is read as.
constexpr std::pair<const char*, const char*> kBoards[] = {
    {"ACCEL", "accel/board.net"},
    {"CADLUS-PC(Reverse Net)", "cadlus/board.clp"},
    {"CADVANCE", "cadvance/board.net"},
    {"CR2000", "cr2000/board.cr2"},
    {"CR5000", "cr5000/board.ccf"},
    {"CSi", "csi/board.csi"},
    {"D2 CAD", "d2cad/board.d2c"},
    {"Expedition PCB", "expedition/board.kyn"},
    {"FUTURE", "future/board.pin"},
    {"INTERGRA", "intergra/board.net"},
    {"MENTOR", "mentor/board.net"},
    {"MM-COLMO_NEO & MM2", "mm/board.net"},
    {"MYPCB", "mypcb/board.myp"},
    {"PADSPCB", "pads/board.asc"},
    {"PADS2000", "pads2000/board.asc"},
    {"Pcad(nlt)", "pcad_nlt/board.nlt"},
    {"Pcad(wrl)", "pcad_wrl/board.wrl"},
    {"PROTEL", "protel/board.net"},
    {"PROTEL2", "protel2/board.net"},
    {"SFX", "sfx/board.sfx"},
    {"CADIX XID", "sfx/board.xid"},
    {"OHM-3", "sfx/board.oh3"},
    {"TANGO", "tango/board.net"},
    {"Telesis", "telesis/board.tel"},
    {"WACOM SIMPLE NET", "wacom/board.wac"},
};

// The lines of a text whatever ends them (CR LF, CR or LF), and whether the last one has
// a line end.
std::vector<std::string> linesOf(const std::string& text, bool& endsWithLineEnd) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    endsWithLineEnd = line.empty();
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// The lines joined again, line i followed by lineEnd(i).
std::string joined(const std::vector<std::string>& lines, bool endsWithLineEnd,
                   const std::function<const char*(std::size_t)>& lineEnd) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || endsWithLineEnd)
            text += lineEnd(i);
    }
    return text;
}

TEST(LineEnds, EveryReaderConvertsItsBoardAlikeWithCrLfCrLfAndMixedLineEnds) {
    const std::vector<std::pair<const char*, std::function<const char*(std::size_t)>>> styles = {
        {"LF", [](std::size_t) { return "\n"; }},
        {"CR", [](std::size_t) { return "\r"; }},
        // A CR LF file whose later lines end in a lone LF.
        {"CR LF, then LF", [](std::size_t i) { return i == 0 ? "\r\n" : "\n"; }},
        // An LF file with one CR LF among its lines.
        {"LF, one CR LF", [](std::size_t i) { return i == 2 ? "\r\n" : "\n"; }},
        {"CR LF and LF in turn", [](std::size_t i) { return i % 2 == 0 ? "\r\n" : "\n"; }},
        {"CR and LF in turn", [](std::size_t i) { return i % 2 == 0 ? "\r" : "\n"; }},
    };
    for (const auto& [format, board] : kBoards) {
        SCOPED_TRACE(format);
        const ReaderFunction reader = findReader(format);
        ASSERT_NE(reader, nullptr);
        bool endsWithLineEnd = false;
        const auto lines = linesOf(test::readFile(test::dataFile(std::string("readers/") + board)),
                                   endsWithLineEnd);
        const auto crlf = [](std::size_t) { return "\r\n"; };
        const test::Conversion expected =
            test::convertWith(reader, joined(lines, endsWithLineEnd, crlf), "board");
        ASSERT_EQ(expected.result, ReaderResult::Recognised);
        ASSERT_NE(expected.net, test::writtenFile({}));
        for (const auto& [style, lineEnd] : styles) {
            SCOPED_TRACE(style);
            const test::Conversion got =
                test::convertWith(reader, joined(lines, endsWithLineEnd, lineEnd), "board");
            EXPECT_EQ(got.result, expected.result);
            EXPECT_EQ(got.net, expected.net);
            EXPECT_EQ(got.parts, expected.parts);
        }
    }
}

} // namespace
} // namespace lintora
