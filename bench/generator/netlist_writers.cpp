// writeNetlist(): a board in the syntax of each CAD format Lintora reads, the way the CAD
// systems write them: parts first where the format has parts, long nets wrapped over
// continuation lines, each format's own pin separator ("U1.7", "U1-7", "U1/7", "U1(7)",
// "'U1'/'7'", "\U1\-\7\").

#include "generator/netlist_generator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <stdexcept>

namespace lintora::bench {

namespace {

constexpr std::size_t kPinsPerLine = 8;
constexpr std::size_t kReferencesPerLine = 10;

class Writer {
public:
    Writer(const Board& board, std::string_view lineEnd) : m_board(board), m_eol(lineEnd) {
        // About 12 bytes a pin and 24 a part cover every format but the pin lists.
        m_out.reserve(board.connectedPins() * 14 + board.parts.size() * 32 + 1024);
    }

    Writer& operator<<(std::string_view text) {
        m_out.append(text);
        return *this;
    }
    Writer& operator<<(char c) {
        m_out += c;
        return *this;
    }
    Writer& operator<<(std::size_t number) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
        m_out.append(buffer, result.ptr);
        return *this;
    }
    void endLine() {
        m_out.append(m_eol);
        m_lineStart = m_out.size();
    }
    // Pads the current line with blanks to `column` characters, at least one blank.
    void padTo(std::size_t column) {
        const std::size_t length = m_out.size() - m_lineStart;
        m_out.append(length < column ? column - length : 1, ' ');
    }

    std::string_view reference(PinRef pin) const { return m_board.parts[pin.part].reference; }
    void pinName(PinRef pin) { m_board.appendPinName(m_out, pin); }
    // Reference, separator, pin name: "U1.7", "U1-7", "U1/7".
    void pin(PinRef pin, char separator) {
        m_out.append(reference(pin));
        m_out += separator;
        pinName(pin);
    }

    const Board& board() const { return m_board; }
    const PartType& type(const Part& part) const { return m_board.types[part.type]; }
    std::string take() { return std::move(m_out); }

    // The parts of each part type, in the order the types first appear.
    std::vector<std::vector<std::uint32_t>> partsByType() const {
        std::vector<std::vector<std::uint32_t>> groups(m_board.types.size());
        for (std::size_t p = 0; p < m_board.parts.size(); ++p)
            groups[m_board.parts[p].type].push_back(static_cast<std::uint32_t>(p));
        return groups;
    }

private:
    const Board& m_board;
    std::string_view m_eol;
    std::string m_out;
    std::size_t m_lineStart = 0;
};

// Calls `line(first, last)` for each run of at most `perLine` items of `count`.
template <typename Line>
void inLines(std::size_t count, std::size_t perLine, Line line) {
    for (std::size_t first = 0; first < count; first += perLine)
        line(first, std::min(count, first + perLine));
}

std::string_view kindDescription(PartKind kind) {
    switch (kind) {
    case PartKind::Resistor: return "RESISTOR";
    case PartKind::Capacitor: return "CAPACITOR";
    case PartKind::Inductor: return "INDUCTOR";
    case PartKind::FerriteBead: return "FERRITE BEAD";
    case PartKind::Diode: return "DIODE";
    case PartKind::Transistor: return "TRANSISTOR";
    case PartKind::Crystal: return "CRYSTAL";
    case PartKind::TestPoint: return "TEST POINT";
    case PartKind::Ic: return "INTEGRATED CIRCUIT";
    case PartKind::Connector: return "CONNECTOR";
    }
    return "PART";
}

// Telesis (and ALLEGRO's Telesis export):
//   $PACKAGES
//   R0603 ! 10K ; R1 R7 R12 ,
//       R15
//   $NETS
//   GND ; U1.7 C1.2 ,
//       C2.2
//   $END
std::string writeTelesis(const Board& board, std::string_view lineEnd) {
    Writer w(board, lineEnd);
    w << "$PACKAGES";
    w.endLine();
    const auto groups = w.partsByType();
    for (std::size_t t = 0; t < groups.size(); ++t) {
        if (groups[t].empty())
            continue;
        w << board.types[t].footprint << " ! " << board.types[t].value << " ;";
        inLines(groups[t].size(), kReferencesPerLine, [&](std::size_t first, std::size_t last) {
            if (first > 0)
                w << "    ";
            for (std::size_t i = first; i < last; ++i)
                w << ' ' << board.parts[groups[t][i]].reference;
            if (last < groups[t].size())
                w << " ,";
            w.endLine();
        });
    }
    w << "$NETS";
    w.endLine();
    for (const Net& net : board.nets) {
        w << net.name << " ;";
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first > 0)
                w << "   ";
            for (std::size_t i = first; i < last; ++i) {
                w << ' ';
                w.pin(net.pins[i], '.');
            }
            if (last < net.pins.size())
                w << " ,";
            w.endLine();
        });
    }
    w << "$END";
    w.endLine();
    return w.take();
}

// PADS PowerPCB:
//   !PADS-POWERPCB-V5.0-MILS! DESIGN
//   *PART*       ITEMS
//   U1      74LVC00@SOIC14
//   *NET*
//   *SIGNAL* GND
//   U1.7 C1.2
//   *END*     OF ASCII OUTPUT FILE
std::string writePadsPcb(const Board& board) {
    Writer w(board, "\r\n");
    w << "!PADS-POWERPCB-V5.0-MILS! DESIGN";
    w.endLine();
    w.endLine();
    w << "*PART*       ITEMS";
    w.endLine();
    for (const Part& part : board.parts) {
        w << part.reference;
        w.padTo(8);
        w << w.type(part).value << '@' << w.type(part).footprint;
        w.endLine();
    }
    w.endLine();
    w << "*NET*";
    w.endLine();
    for (const Net& net : board.nets) {
        w << "*SIGNAL* " << net.name;
        w.endLine();
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            for (std::size_t i = first; i < last; ++i) {
                w.pin(net.pins[i], '.');
                w << ' ';
            }
            w.endLine();
        });
    }
    w.endLine();
    w << "*END*     OF ASCII OUTPUT FILE";
    w.endLine();
    return w.take();
}

// PADS2000: the same layout with a plain part list and indented pin lines.
std::string writePads2000(const Board& board) {
    Writer w(board, "\r\n");
    w << "*PADS2000*";
    w.endLine();
    w << "*PART*";
    w.endLine();
    for (const Part& part : board.parts) {
        w << part.reference << ' ' << w.type(part).value;
        w.endLine();
    }
    w << "*NET*";
    w.endLine();
    for (const Net& net : board.nets) {
        w << "*SIGNAL* " << net.name;
        w.endLine();
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            for (std::size_t i = first; i < last; ++i) {
                w << ' ';
                w.pin(net.pins[i], '.');
            }
            w.endLine();
        });
    }
    w << "*END*";
    w.endLine();
    return w.take();
}

// P-CAD netlist:
//   %PARTS
//   10K = R1, R7,
//       R12;
//   %NETS
//   GND = U1/7 C1/2
//         C2/2;
std::string writePcadNlt(const Board& board) {
    Writer w(board, "\r\n");
    w << "P-CAD netlist BOARD";
    w.endLine();
    w << "%PARTS";
    w.endLine();
    // P-CAD lists parts by part name alone: parts of one name in several footprints
    // share the entry.
    std::vector<std::vector<std::uint32_t>> byValue;
    {
        std::vector<std::size_t> valueOfType(board.types.size());
        std::vector<std::string_view> values;
        for (std::size_t t = 0; t < board.types.size(); ++t) {
            const auto found = std::find(values.begin(), values.end(), board.types[t].value);
            valueOfType[t] = static_cast<std::size_t>(found - values.begin());
            if (found == values.end())
                values.push_back(board.types[t].value);
        }
        byValue.resize(values.size());
        for (std::size_t p = 0; p < board.parts.size(); ++p)
            byValue[valueOfType[board.parts[p].type]].push_back(static_cast<std::uint32_t>(p));
    }
    for (const auto& group : byValue) {
        if (group.empty())
            continue;
        w << board.types[board.parts[group.front()].type].value << " =";
        inLines(group.size(), kReferencesPerLine, [&](std::size_t first, std::size_t last) {
            if (first > 0)
                w << "   ";
            for (std::size_t i = first; i < last; ++i)
                w << ' ' << board.parts[group[i]].reference << (i + 1 < group.size() ? "," : ";");
            w.endLine();
        });
    }
    w << "%NETS";
    w.endLine();
    for (const Net& net : board.nets) {
        w << net.name << " =";
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            // A line end does not end a pin here: the next line starts with blanks.
            if (first > 0)
                w << "     ";
            for (std::size_t i = first; i < last; ++i) {
                w << ' ';
                w.pin(net.pins[i], '/');
            }
            if (last == net.pins.size())
                w << ';';
            w.endLine();
        });
    }
    return w.take();
}

// P-CAD wire list: the name from the third column, continuation lines indented.
std::string writePcadWrl(const Board& board) {
    Writer w(board, "\r\n");
    w << "% P-CAD wire list BOARD";
    w.endLine();
    w << "% net name             pins";
    w.endLine();
    for (const Net& net : board.nets) {
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first == 0) {
                w << "  " << net.name;
                w.padTo(24);
            } else {
                w << std::string_view("                        ");
            }
            for (std::size_t i = first; i < last; ++i) {
                w.pin(net.pins[i], '-');
                w << ' ';
            }
            w.endLine();
        });
    }
    return w.take();
}

// ACCEL ASCII netlist: a compInst per part, a net with one node per pin; "))" closes a net
// and ")))" the net list.
std::string writeAccel(const Board& board) {
    Writer w(board, "\r\n");
    const auto line = [&](std::string_view text) {
        w << text;
        w.endLine();
    };
    line("ACCEL_ASCII \"BOARD.NET\"");
    w.endLine();
    line("(asciiHeader");
    line("  (asciiVersion 3 0)");
    line("  (program \"Lintora bench\" \"1.0\")");
    line("  (fileUnits Mil)");
    line(")");
    line("(netlist \"BOARD\"");
    for (const Part& part : board.parts) {
        w << "  (compInst \"" << part.reference << '"';
        w.endLine();
        w << "    (compRef \"" << w.type(part).value << "\")";
        w.endLine();
        w << "    (patternName \"" << w.type(part).footprint << "\")";
        w.endLine();
        w << "    (compValue \"" << w.type(part).value << "\")";
        w.endLine();
        line("  )");
    }
    for (std::size_t n = 0; n < board.nets.size(); ++n) {
        const Net& net = board.nets[n];
        w << "  (net \"" << net.name << '"';
        w.endLine();
        for (std::size_t i = 0; i < net.pins.size(); ++i) {
            w << "    (node \"" << w.reference(net.pins[i]) << "\" \"";
            w.pinName(net.pins[i]);
            w << "\")";
            if (i + 1 == net.pins.size())
                w << (n + 1 == board.nets.size() ? "))" : ")");
            w.endLine();
        }
    }
    return w.take();
}

// The net blocks of the Protel and Tango formats: "(", name, one pin per line, ")".
void bracketNets(Writer& w) {
    for (const Net& net : w.board().nets) {
        w << '(';
        w.endLine();
        w << net.name;
        w.endLine();
        for (const PinRef& pin : net.pins) {
            w.pin(pin, '-');
            w.endLine();
        }
        w << ')';
        w.endLine();
    }
}

// Protel: "[", designator, footprint, part name, description, "]".
std::string writeProtel(const Board& board) {
    Writer w(board, "\r\n");
    for (const Part& part : board.parts) {
        w << '[';
        w.endLine();
        w << part.reference;
        w.endLine();
        w << w.type(part).footprint;
        w.endLine();
        w << w.type(part).value;
        w.endLine();
        w << kindDescription(part.kind);
        w.endLine();
        w.endLine();
        w.endLine();
        w << ']';
        w.endLine();
    }
    bracketNets(w);
    return w.take();
}

// Protel 2.0: keyword lines name the value on the next line.
std::string writeProtel2(const Board& board) {
    Writer w(board, "\r\n");
    w << "PROTEL NETLIST 2.0";
    w.endLine();
    for (const Part& part : board.parts) {
        w << '[';
        w.endLine();
        w << "DESIGNATOR";
        w.endLine();
        w << part.reference;
        w.endLine();
        w << "FOOTPRINT";
        w.endLine();
        w << w.type(part).footprint;
        w.endLine();
        w << "PARTTYPE";
        w.endLine();
        w << w.type(part).value;
        w.endLine();
        w << "DESCRIPTION";
        w.endLine();
        w << kindDescription(part.kind);
        w.endLine();
        w << ']';
        w.endLine();
    }
    bracketNets(w);
    return w.take();
}

// Tango: "[", designator, footprint, part name, "]".
std::string writeTango(const Board& board) {
    Writer w(board, "\r\n");
    for (const Part& part : board.parts) {
        w << '[';
        w.endLine();
        w << part.reference;
        w.endLine();
        w << w.type(part).footprint;
        w.endLine();
        w << w.type(part).value;
        w.endLine();
        w << ']';
        w.endLine();
    }
    bracketNets(w);
    return w.take();
}

// Mentor: component lines (each value followed by a blank), then "NET" lines; a long net
// is spread over several lines of the same name.
std::string writeMentor(const Board& board) {
    Writer w(board, "\r\n");
    w << "# Mentor netlist, board BOARD";
    w.endLine();
    for (const Part& part : board.parts) {
        w << part.reference << ' ' << w.type(part).footprint << ' ' << w.type(part).value
          << ' ';
        w.endLine();
    }
    for (const Net& net : board.nets) {
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            w << "NET '" << net.name << '\'';
            for (std::size_t i = first; i < last; ++i) {
                w << ' ';
                w.pin(net.pins[i], '-');
            }
            w.endLine();
        });
    }
    return w.take();
}

// FutureNet pin list: a symbol record per part with every pin, connected or not.
std::string writeFuture(const Board& board) {
    std::vector<std::size_t> firstPin(board.parts.size() + 1, 0);
    for (std::size_t p = 0; p < board.parts.size(); ++p)
        firstPin[p + 1] = firstPin[p] + board.parts[p].pinCount;
    constexpr std::uint32_t noNet = UINT32_MAX;
    std::vector<std::uint32_t> netOf(firstPin.back(), noNet);
    for (std::size_t n = 0; n < board.nets.size(); ++n)
        for (const PinRef& pin : board.nets[n].pins)
            netOf[firstPin[pin.part] + pin.pin - 1] = static_cast<std::uint32_t>(n);

    Writer w(board, "\r\n");
    w << "PINLIST,2";
    w.endLine();
    w << "(DRAWING,BOARD.PIN,1-1";
    w.endLine();
    for (std::size_t p = 0; p < board.parts.size(); ++p) {
        const Part& part = board.parts[p];
        w << "(SYM," << (p + 1);
        w.endLine();
        w << "DATA,2," << part.reference;
        w.endLine();
        w << "DATA,3," << w.type(part).value;
        w.endLine();
        w << "DATA,4," << w.type(part).footprint;
        w.endLine();
        for (std::uint16_t pin = 1; pin <= part.pinCount; ++pin) {
            const std::uint32_t net = netOf[firstPin[p] + pin - 1];
            w << "PIN," << std::size_t{pin} << ','
              << (net == noNet ? std::string_view() : std::string_view(board.nets[net].name))
              << ",1-1,5,23,";
            w.pinName({static_cast<std::uint32_t>(p), pin});
            w.endLine();
        }
        w << ')';
        w.endLine();
    }
    w << ')';
    w.endLine();
    return w.take();
}

// CR-2000: a net line starts with two blanks and the name; continuation lines start with
// one blank, so that their second column is not blank.
std::string writeCr2000(const Board& board) {
    Writer w(board, "\r\n");
    w << "CR-2000 NET LIST   BOARD";
    w.endLine();
    w << "NETS";
    w.endLine();
    for (const Net& net : board.nets) {
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first == 0) {
                w << "  " << net.name;
                w.padTo(11);
            } else {
                w << ' ';
            }
            for (std::size_t i = first; i < last; ++i) {
                w.pin(net.pins[i], '-');
                if (i + 1 < net.pins.size())
                    w << (i + 1 < last ? ", " : ",");
            }
            w.endLine();
        });
    }
    w << "END";
    w.endLine();
    return w.take();
}

// CR-3000 / CR-5000 CCF: definitions, then NET, POWER and GROUND blocks of REF(PIN) lists.
std::string writeCr5000(const Board& board, bool lowerCase) {
    Writer w(board, "\r\n");
    w << "/* CR-5000 Board Designer net list, board BOARD */";
    w.endLine();
    w << "$CCF{";
    w.endLine();
    w << "    DEFINITION{";
    w.endLine();
    const auto groups = w.partsByType();
    for (std::size_t t = 0; t < groups.size(); ++t) {
        if (groups[t].empty())
            continue;
        w << "        " << board.types[t].value << ':';
        inLines(groups[t].size(), kReferencesPerLine, [&](std::size_t first, std::size_t last) {
            if (first > 0)
                w << "           ";
            for (std::size_t i = first; i < last; ++i)
                w << ' ' << board.parts[groups[t][i]].reference
                  << (i + 1 < groups[t].size() ? "," : ";");
            w.endLine();
        });
    }
    w << "    }";
    w.endLine();
    const auto block = [&](std::string_view keyword, auto belongs) {
        w << "    " << keyword << '{';
        w.endLine();
        for (const Net& net : board.nets) {
            if (!belongs(net))
                continue;
            w << "        " << net.name << ':';
            inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
                if (first > 0)
                    w << "           ";
                for (std::size_t i = first; i < last; ++i) {
                    w << ' ' << w.reference(net.pins[i]) << '(';
                    w.pinName(net.pins[i]);
                    w << ')' << (i + 1 < net.pins.size() ? "," : ";");
                }
                w.endLine();
            });
        }
        w << "    }";
        w.endLine();
    };
    const auto isGround = [](const Net& net) { return net.power && net.name.starts_with("GND"); };
    block("NET", [](const Net& net) { return !net.power; });
    block("POWER", [&](const Net& net) { return net.power && !isGround(net); });
    block("GROUND", isGround);
    w << '}';
    w.endLine();
    std::string text = w.take();
    if (lowerCase)
        for (char& c : text)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// SFX / CADIX XID / OHM-3: quoted values; a net is a "'NAME' *" line and lines of
// 'REF'/'PIN' pairs.
std::string writeSfx(const Board& board, std::string_view lineEnd, char separator,
                     bool lowerCase, std::string_view title) {
    Writer w(board, lineEnd);
    w << "# " << title << " net list   board BOARD";
    w.endLine();
    w << "*PARTS";
    w.endLine();
    for (const Part& part : board.parts) {
        w << '\'' << part.reference << '\'' << separator << '\'' << w.type(part).value << '\''
          << separator << "''" << separator << '\'' << w.type(part).footprint << '\'';
        w.endLine();
    }
    w << "*NET";
    w.endLine();
    for (const Net& net : board.nets) {
        w << '\'' << net.name << "' *";
        w.endLine();
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            for (std::size_t i = first; i < last; ++i) {
                if (i > first)
                    w << separator;
                w << '\'' << w.reference(net.pins[i]) << "'/'";
                w.pinName(net.pins[i]);
                w << '\'';
            }
            w.endLine();
        });
    }
    std::string text = w.take();
    if (lowerCase)
        for (char& c : text)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Expedition PCB keyin netlist: backslash-quoted names, "*" continuation lines.
std::string writeExpedition(const Board& board) {
    Writer w(board, "\r\n");
    w << "%NET";
    w.endLine();
    w << "%Prior=1";
    w.endLine();
    for (const Net& net : board.nets) {
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first == 0)
                w << '\\' << net.name << '\\';
            else
                w << '*';
            for (std::size_t i = first; i < last; ++i) {
                w << "  \\" << w.reference(net.pins[i]) << "\\-\\";
                w.pinName(net.pins[i]);
                w << '\\';
            }
            w.endLine();
        });
    }
    w << "%Part";
    w.endLine();
    const auto groups = w.partsByType();
    for (std::size_t t = 0; t < groups.size(); ++t) {
        if (groups[t].empty())
            continue;
        inLines(groups[t].size(), kReferencesPerLine, [&](std::size_t first, std::size_t last) {
            if (first == 0)
                w << '\\' << board.types[t].value << '\\';
            else
                w << '*';
            for (std::size_t i = first; i < last; ++i)
                w << "  \\" << board.parts[groups[t][i]].reference << '\\';
            w.endLine();
        });
    }
    return w.take();
}

// CADVANCE: a COMPONENTS block and a NETS block in braces.
std::string writeCadvance(const Board& board) {
    Writer w(board, "\r\n");
    const auto line = [&](std::string_view text) {
        w << text;
        w.endLine();
    };
    line("CADVANCE NETLIST FILE");
    line("COMPONENTS");
    line("{");
    for (const Part& part : board.parts) {
        w << part.reference << " [" << w.type(part).footprint << "] " << w.type(part).value
          << ',';
        w.endLine();
    }
    line("}");
    line("NETS");
    line("{");
    for (const Net& net : board.nets) {
        w << net.name << " =";
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first > 0)
                w << "     ";
            for (std::size_t i = first; i < last; ++i) {
                w << ' ';
                w.pin(net.pins[i], '-');
                w << (i + 1 < net.pins.size() ? ',' : ';');
            }
            w.endLine();
        });
    }
    line("}");
    return w.take();
}

// INTERGRA: part names in a 16-column field, nets with "*" continuation lines.
std::string writeIntergra(const Board& board) {
    Writer w(board, "\r\n");
    w << "INTERGRA NETLIST";
    w.endLine();
    w << "%PART";
    w.endLine();
    for (const Part& part : board.parts) {
        w << w.type(part).value;
        w.padTo(16);
        w << part.reference;
        w.endLine();
    }
    w << "%NET";
    w.endLine();
    for (const Net& net : board.nets) {
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            w << (first == 0 ? std::string_view(net.name) : std::string_view("*  "));
            for (std::size_t i = first; i < last; ++i) {
                w << ' ';
                w.pin(net.pins[i], '-');
            }
            w.endLine();
        });
    }
    return w.take();
}

// MM-COLMO_NEO / MM2: "NAME; P-1, P-2," with a line-ending "," continuing the net.
std::string writeMm2(const Board& board) {
    Writer w(board, "\r\n");
    w << "MM2 NET LIST   BOARD";
    w.endLine();
    w << "$NET";
    w.endLine();
    for (const Net& net : board.nets) {
        w << net.name << ';';
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first > 0)
                w << "    ";
            for (std::size_t i = first; i < last; ++i) {
                w << ' ';
                w.pin(net.pins[i], '-');
                if (i + 1 < net.pins.size())
                    w << ',';
            }
            w.endLine();
        });
    }
    w << "$END";
    w.endLine();
    return w.take();
}

// CSi: ".COM" component lines, ".NET" with one "REF PIN" line per pin.
std::string writeCsi(const Board& board) {
    Writer w(board, "\r\n");
    w << "* CSi netlist - board BOARD";
    w.endLine();
    w << ".COM";
    w.endLine();
    for (const Part& part : board.parts) {
        w << part.reference << ' ' << w.type(part).value << ' ' << w.type(part).footprint;
        w.endLine();
    }
    w << ".EODCOM";
    w.endLine();
    w << ".NET";
    w.endLine();
    for (const Net& net : board.nets) {
        w << ':' << net.name << " {";
        w.endLine();
        for (const PinRef& pin : net.pins) {
            w << w.reference(pin) << ' ';
            w.pinName(pin);
            w.endLine();
        }
        w << '}';
        w.endLine();
    }
    return w.take();
}

// MYPCB: part lines, then after "NET*" a name line and lines of REF.PIN.
std::string writeMypcb(const Board& board) {
    Writer w(board, "\r\n");
    w << "* MYPCB netlist - board BOARD";
    w.endLine();
    for (const Part& part : board.parts) {
        w << part.reference << ' ' << w.type(part).value;
        w.endLine();
    }
    w << "NET*";
    w.endLine();
    for (const Net& net : board.nets) {
        w << net.name;
        w.endLine();
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            for (std::size_t i = first; i < last; ++i) {
                if (i > first)
                    w << ' ';
                w.pin(net.pins[i], '.');
            }
            if (last < net.pins.size())
                w << ',';
            w.endLine();
        });
    }
    w << "END*";
    w.endLine();
    return w.take();
}

// WACOM SIMPLE NET (LF line ends): "NAME: P-1, P-2," ... "P-9." per net.
std::string writeWacom(const Board& board) {
    Writer w(board, "\n");
    w << "* WACOM SIMPLE NET - board BOARD";
    w.endLine();
    for (const Net& net : board.nets) {
        w << net.name << ':';
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first > 0)
                w << "    ";
            for (std::size_t i = first; i < last; ++i) {
                w << ' ';
                w.pin(net.pins[i], '-');
                w << (i + 1 < net.pins.size() ? ',' : '.');
            }
            w.endLine();
        });
    }
    return w.take();
}

// D2 CAD: a "$CCF{" header and one "NET{" block of REF(PIN) lists.
std::string writeD2(const Board& board) {
    Writer w(board, "\r\n");
    w << "$CCF{";
    w.endLine();
    w << "  /* board BOARD */";
    w.endLine();
    w << "  NET{";
    w.endLine();
    for (const Net& net : board.nets) {
        w << "    " << net.name << ':';
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first > 0)
                w << "      ";
            for (std::size_t i = first; i < last; ++i) {
                w << ' ' << w.reference(net.pins[i]) << '(';
                w.pinName(net.pins[i]);
                w << ')' << (i + 1 < net.pins.size() ? ',' : ';');
            }
            w.endLine();
        });
    }
    w << "  }";
    w.endLine();
    w << '}';
    w.endLine();
    return w.take();
}

// CADLUS-PC reverse net list: the name in column 2, pins from column 26; continuation lines
// start with blanks.
std::string writeCadlus(const Board& board) {
    Writer w(board, "\r\n");
    w << "CADLUS-PC REVERSE NET LIST   BOARD: BOARD";
    w.endLine();
    w << "NET NAME                 PINS";
    w.endLine();
    for (const Net& net : board.nets) {
        inLines(net.pins.size(), kPinsPerLine, [&](std::size_t first, std::size_t last) {
            if (first == 0) {
                w << ' ' << net.name;
                w.padTo(25);
            } else {
                w << std::string_view("                         ");
            }
            for (std::size_t i = first; i < last; ++i) {
                if (i > first)
                    w << ' ';
                w.pin(net.pins[i], '-');
            }
            w.endLine();
        });
    }
    return w.take();
}

// KiCad schematic netlist, today's quoted form: components with their library footprints,
// then nets of nodes.
//   (export (version "E")
//     (components
//       (comp (ref "R1") (value "10K") (footprint "Lib:R0603") ...))
//     (nets
//       (net (code "1") (name "GND") (class "Default")
//         (node (ref "U1") (pin "7") (pintype "passive")))))
std::string writeKicad(const Board& board) {
    Writer w(board, "\n");
    w << "(export (version \"E\")";
    w.endLine();
    w << "  (design";
    w.endLine();
    w << "    (source \"/home/designer/board/board.kicad_sch\")";
    w.endLine();
    w << "    (tool \"Eeschema 9.0.0\"))";
    w.endLine();
    w << "  (components";
    for (const Part& part : board.parts) {
        w.endLine();
        w << "    (comp (ref \"" << part.reference << "\")";
        w.endLine();
        w << "      (value \"" << w.type(part).value << "\")";
        w.endLine();
        w << "      (footprint \"Lib:" << w.type(part).footprint << "\")";
        w.endLine();
        w << "      (libsource (lib \"Lib\") (part \"" << w.type(part).value
          << "\") (description \"" << kindDescription(part.kind) << "\"))";
        w.endLine();
        w << "      (sheetpath (names \"/\") (tstamps \"/\")))";
    }
    w << ')';
    w.endLine();
    w << "  (nets";
    for (std::size_t n = 0; n < board.nets.size(); ++n) {
        const Net& net = board.nets[n];
        w.endLine();
        w << "    (net (code \"" << (n + 1) << "\") (name \"" << net.name
          << "\") (class \"Default\")";
        for (const PinRef& pin : net.pins) {
            w.endLine();
            w << "      (node (ref \"" << w.reference(pin) << "\") (pin \"";
            w.pinName(pin);
            w << "\") (pintype \"passive\"))";
        }
        w << ')';
    }
    w << "))";
    w.endLine();
    return w.take();
}

// IPC-D-356A test netlist, one record per pin in fixed columns; names longer than the net
// field are given in full by "P  NNAME" lines and written by their key, as Allegro does.
//   P  NNAMEm0000 A_VERY_LONG_NET_NAME
//   317GND              U1    -7       D0400PA00X+001000Y+001554X0620Y0620R180 S3
//   327m0000            R1    -2             A01X+003000Y+014083X0394Y0315     S2
std::string writeIpcD356(const Board& board) {
    constexpr std::size_t netWidth = 14;
    Writer w(board, "\r\n");
    w << "C  IPC-D-356A netlist of the generated board";
    w.endLine();
    w << "P  JOB   BOARD";
    w.endLine();
    w << "P  CODE  00";
    w.endLine();
    w << "P  UNITS CUST 0";
    w.endLine();
    std::vector<std::string> netField(board.nets.size());
    std::size_t aliases = 0;
    for (std::size_t n = 0; n < board.nets.size(); ++n) {
        const std::string& name = board.nets[n].name;
        if (name.size() <= netWidth) {
            netField[n] = name;
            continue;
        }
        std::string key = std::to_string(aliases++);
        netField[n] = "m" + std::string(key.size() < 4 ? 4 - key.size() : 0, '0') + key;
        w << "P  NNAME" << netField[n] << ' ' << name;
        w.endLine();
    }
    std::size_t x = 0;
    for (std::size_t n = 0; n < board.nets.size(); ++n) {
        for (const PinRef& pin : board.nets[n].pins) {
            const Part& part = board.parts[pin.part];
            std::string name;
            board.appendPinName(name, pin);
            if (part.reference.size() > 6 || name.size() > 4)
                throw std::invalid_argument("IPC-D-356 holds references of 6 characters and "
                                            "pins of 4 at most: " +
                                            board.pinText(pin));
            const bool surface = part.kind != PartKind::Connector;
            // Code, net field, three blanks, reference field, "-", pin field.
            std::string fields(surface ? "327" : "317");
            fields += netField[n];
            fields.resize(20, ' ');
            fields += part.reference;
            fields.resize(26, ' ');
            fields += '-';
            fields += name;
            fields.resize(31, ' ');
            w << fields;
            char coordinates[40];
            std::snprintf(coordinates, sizeof coordinates, "X+%06zuY+%06zu", x % 999999,
                          (x / 999999) % 999999);
            ++x;
            w << (surface ? "      A01" : " D0400PA00") << std::string_view(coordinates)
              << (surface ? "X0394Y0315     S2" : "X0620Y0620R180 S3");
            w.endLine();
        }
    }
    w << "999";
    w.endLine();
    return w.take();
}

// Allegro pstxnet.dat from OrCAD Capture: a net block per net, a node per pin with the path
// of its part and the pin's name.
std::string writeAllegroPst(const Board& board) {
    Writer w(board, "\r\n");
    w << "FILE_TYPE = EXPANDEDNETLIST;";
    w.endLine();
    w << "{ Using PSTWRITER 17.2.0 d001Dec-28-2016 at 16:10:04 }";
    w.endLine();
    for (const Net& net : board.nets) {
        w << "NET_NAME";
        w.endLine();
        w << '\'' << net.name << '\'';
        w.endLine();
        w << " '@BOARD.SCHEMATIC1(SCH_1):" << net.name << "':";
        w.endLine();
        w << " C_SIGNAL='@board.schematic1(sch_1):" << net.name << "';";
        w.endLine();
        for (const PinRef& pin : net.pins) {
            w << "NODE_NAME\t" << w.reference(pin) << ' ';
            w.pinName(pin);
            w.endLine();
            w << " '@BOARD.SCHEMATIC1(SCH_1):INS" << w.reference(pin) << "@LIB."
              << w.type(board.parts[pin.part]).value << ".NORMAL(CHIPS)':";
            w.endLine();
            w << " 'P";
            w.pinName(pin);
            w << "':;";
            w.endLine();
        }
    }
    w << "END.";
    w.endLine();
    return w.take();
}

// OrCAD PCB II (as KiCad writes it): a block per part with every pin and its net, "?" for a
// pin on no net, then the pin list by nets, which readers pass over.
std::string writeOrcadPcb2(const Board& board) {
    std::vector<std::size_t> firstPin(board.parts.size() + 1, 0);
    for (std::size_t p = 0; p < board.parts.size(); ++p)
        firstPin[p + 1] = firstPin[p] + board.parts[p].pinCount;
    constexpr std::uint32_t noNet = UINT32_MAX;
    std::vector<std::uint32_t> netOf(firstPin.back(), noNet);
    for (std::size_t n = 0; n < board.nets.size(); ++n)
        for (const PinRef& pin : board.nets[n].pins)
            netOf[firstPin[pin.part] + pin.pin - 1] = static_cast<std::uint32_t>(n);

    Writer w(board, "\r\n");
    w << "# EESchema Netlist Version 1.1 created  1/1/2025 00:00:00";
    w.endLine();
    w << "( { EESchema Netlist Version 1.1  created  1/1/2025 00:00:00 }";
    w.endLine();
    for (std::size_t p = 0; p < board.parts.size(); ++p) {
        const Part& part = board.parts[p];
        w << " ( /" << (0x5F000000 + p) << " Lib:" << w.type(part).footprint << "  "
          << part.reference << ' ' << w.type(part).value << " {Lib=" << w.type(part).value << '}';
        w.endLine();
        for (std::uint16_t pin = 1; pin <= part.pinCount; ++pin) {
            const std::uint32_t net = netOf[firstPin[p] + pin - 1];
            w << "  (    ";
            w.pinName({static_cast<std::uint32_t>(p), pin});
            w << ' '
              << (net == noNet ? std::string_view("?") : std::string_view(board.nets[net].name))
              << " )";
            w.endLine();
        }
        w << " )";
        w.endLine();
    }
    w << ')';
    w.endLine();
    w << '*';
    w.endLine();
    w << "{ Pin List by Nets";
    w.endLine();
    for (std::size_t n = 0; n < board.nets.size() && n < 3; ++n) {
        w << "Net " << (n + 1) << " \"" << board.nets[n].name << '"';
        w.endLine();
    }
    w << '}';
    w.endLine();
    w << "#End";
    w.endLine();
    return w.take();
}

// gEDA / lepton netlist: components with their device, then one line per net.
//   START nets
//   GND : C1 2, U1 7
//   END nets
std::string writeGeda(const Board& board) {
    Writer w(board, "\n");
    for (const std::string_view line : {"START header", "", "gEDA's netlist format", "",
                                        "END header", "", "START components", ""}) {
        w << line;
        w.endLine();
    }
    for (const Part& part : board.parts) {
        w << part.reference << " device=" << w.type(part).value;
        w.endLine();
    }
    for (const std::string_view line : {"", "END components", "", "START nets", ""}) {
        w << line;
        w.endLine();
    }
    for (const Net& net : board.nets) {
        w << net.name << " : ";
        for (std::size_t i = 0; i < net.pins.size(); ++i) {
            if (i > 0)
                w << ", ";
            w << w.reference(net.pins[i]) << ' ';
            w.pinName(net.pins[i]);
        }
        w.endLine();
    }
    w.endLine();
    w << "END nets";
    w.endLine();
    return w.take();
}

struct FormatEntry {
    std::string_view name;
    std::string_view extension;
};

constexpr std::array<FormatEntry, 32> kFormats{{
    {"ACCEL", "net"},
    {"ALLEGRO", "tel"},
    {"CADIX XID", "xid"},
    {"CADLUS-PC(Reverse Net)", "clp"},
    {"CADVANCE", "net"},
    {"CR2000", "cr2"},
    {"CR3000", "ccf"},
    {"CR5000", "ccf"},
    {"CSi", "csi"},
    {"D2 CAD", "d2c"},
    {"Expedition PCB", "kyn"},
    {"FUTURE", "pin"},
    {"INTERGRA", "net"},
    {"MM-COLMO_NEO & MM2", "net"},
    {"MENTOR", "net"},
    {"MYPCB", "myp"},
    {"OHM-3", "oh3"},
    {"PADS2000", "asc"},
    {"PADSPCB", "asc"},
    {"Pcad(nlt)", "nlt"},
    {"Pcad(wrl)", "wrl"},
    {"PROTEL", "net"},
    {"PROTEL2", "net"},
    {"SFX", "sfx"},
    {"TANGO", "net"},
    {"Telesis", "tel"},
    {"WACOM SIMPLE NET", "wac"},
    {"KiCad", "net"},
    {"IPC-D-356", "ipc"},
    {"Allegro PST", "dat"},
    {"OrCAD PCB II", "net"},
    {"gEDA", "geda"},
}};

constexpr auto kFormatNames = [] {
    std::array<std::string_view, kFormats.size()> names{};
    for (std::size_t i = 0; i < kFormats.size(); ++i)
        names[i] = kFormats[i].name;
    return names;
}();

const FormatEntry* findFormat(std::string_view name) {
    for (const auto& entry : kFormats)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

} // namespace

std::span<const std::string_view> writableFormats() { return kFormatNames; }

bool canWrite(std::string_view formatName) { return findFormat(formatName) != nullptr; }

std::string_view fileExtension(std::string_view formatName) {
    const FormatEntry* entry = findFormat(formatName);
    if (entry == nullptr)
        throw std::invalid_argument("unknown netlist format: " + std::string(formatName));
    return entry->extension;
}

std::string writeNetlist(const Board& board, std::string_view formatName) {
    const std::string_view f = formatName;
    if (f == "Telesis")
        return writeTelesis(board, "\r\n");
    if (f == "ALLEGRO")
        return writeTelesis(board, "\n"); // LF line ends, as from a Unix host
    if (f == "PADSPCB")
        return writePadsPcb(board);
    if (f == "PADS2000")
        return writePads2000(board);
    if (f == "Pcad(nlt)")
        return writePcadNlt(board);
    if (f == "Pcad(wrl)")
        return writePcadWrl(board);
    if (f == "ACCEL")
        return writeAccel(board);
    if (f == "PROTEL")
        return writeProtel(board);
    if (f == "PROTEL2")
        return writeProtel2(board);
    if (f == "TANGO")
        return writeTango(board);
    if (f == "MENTOR")
        return writeMentor(board);
    if (f == "FUTURE")
        return writeFuture(board);
    if (f == "CR2000")
        return writeCr2000(board);
    if (f == "CR5000")
        return writeCr5000(board, false);
    if (f == "CR3000")
        return writeCr5000(board, true); // lower case: keywords and names in any case
    if (f == "SFX")
        return writeSfx(board, "\r\n", ' ', false, "SFX");
    if (f == "CADIX XID")
        return writeSfx(board, "\r\n", '\t', true, "CADIX XID");
    if (f == "OHM-3")
        return writeSfx(board, "\r", ' ', false, "OHM-3");
    if (f == "Expedition PCB")
        return writeExpedition(board);
    if (f == "CADVANCE")
        return writeCadvance(board);
    if (f == "INTERGRA")
        return writeIntergra(board);
    if (f == "MM-COLMO_NEO & MM2")
        return writeMm2(board);
    if (f == "CSi")
        return writeCsi(board);
    if (f == "MYPCB")
        return writeMypcb(board);
    if (f == "WACOM SIMPLE NET")
        return writeWacom(board);
    if (f == "D2 CAD")
        return writeD2(board);
    if (f == "CADLUS-PC(Reverse Net)")
        return writeCadlus(board);
    if (f == "KiCad")
        return writeKicad(board);
    if (f == "IPC-D-356")
        return writeIpcD356(board);
    if (f == "Allegro PST")
        return writeAllegroPst(board);
    if (f == "OrCAD PCB II")
        return writeOrcadPcb2(board);
    if (f == "gEDA")
        return writeGeda(board);
    throw std::invalid_argument("unknown netlist format: " + std::string(formatName));
}

} // namespace lintora::bench
