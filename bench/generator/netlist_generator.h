#pragma once

// Synthetic boards for benchmarks: a generator of realistic netlists of any size, a
// revision step that changes a chosen share of a board (the second side of a comparison),
// and writers for the CAD formats Lintora reads.
//
//   BoardSpec request;
//   request.nets = 20000;
//   const Board board = generateBoard(request);
//   const Revision revision = reviseBoard(board, RevisionSpec{});
//   const std::string side1 = writeNetlist(board, "Telesis");
//   const std::string side2 = writeNetlist(revision.board, "Telesis");
//
// Everything is deterministic for a seed: the same request gives the same bytes on every
// machine (the generator has its own random numbers, not the standard library's
// distributions, whose results differ between libraries).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lintora::bench {

enum class PartKind : std::uint8_t {
    Resistor,
    Capacitor,
    Inductor,
    FerriteBead,
    Diode,
    Transistor,
    Crystal,
    TestPoint,
    Ic,
    Connector,
};

// The part name and footprint that several parts share (10K in R0603, 74LVC00 in SOIC14).
struct PartType {
    std::string value;
    std::string footprint;
};

struct Part {
    std::string reference;  // R123, C45, U7, FB2
    std::uint32_t type = 0; // index into Board::types
    std::uint16_t pinCount = 0;
    PartKind kind = PartKind::Resistor;
    bool gridPins = false; // ball-grid pin names (A1 ... A20, B1 ...) instead of numbers
};

// Pin `pin` (counted from 1) of part `part` (an index into Board::parts).
struct PinRef {
    std::uint32_t part = 0;
    std::uint16_t pin = 0;

    friend bool operator==(const PinRef&, const PinRef&) = default;
};

struct Net {
    std::string name;
    std::vector<PinRef> pins;
    bool power = false; // a power or ground net
};

struct Board {
    std::vector<PartType> types;
    std::vector<Part> parts;
    std::vector<Net> nets;

    // Pins in nets (every pin is in at most one net).
    std::size_t connectedPins() const;
    // Appends the pin's name on its part: "7", or "AB12" for a ball-grid part.
    void appendPinName(std::string& out, PinRef pin) const;
    // "U7.AB12": reference, ".", pin name.
    std::string pinText(PinRef pin) const;
};

struct BoardSpec {
    std::size_t nets = 1000;
    std::size_t parts = 0; // 0: as many as a board of `nets` nets typically has
    unsigned seed = 1;
    // Connected pins wanted (0: what the parts give). A smaller number is reached by
    // leaving pins unconnected: power nets first (each keeps a few hundred pins), then the
    // third and further pins of signal nets; every net keeps at least two pins.
    std::size_t pins = 0;
};

// A board of exactly request.nets nets: resistors, capacitors, ICs of 8 to 400 pins,
// connectors and a few other parts; mostly 2- to 4-pin signal nets, buses (MEM3_D0 ...
// MEM3_D31 between two ICs), and power and ground nets of hundreds to thousands of pins,
// none of more than 8000 pins (larger boards get more of them). Every pin is in at most one
// net; names and pins are upper case letters, digits and "_".
//
// Throws std::invalid_argument when the board cannot be built: no nets, or request.parts too
// few to carry request.nets nets.
Board generateBoard(const BoardSpec& request);

struct RevisionSpec {
    // Share of the nets changed: a quarter each renamed, with a moved pin (a pin leaves
    // one net for another), missing and extra; 0 gives an identical board.
    double changes = 0.10;
    // Renumbers references as well (of renumberShare of the parts, at least one), and
    // writes the swap file that maps side 1's references to the new ones.
    bool renumber = false;
    double renumberShare = 0.05;
    unsigned seed = 2;
};

struct Revision {
    Board board;
    // Lines "OLD NEW" (CR LF): applied to side 1 they rename its references to side 2's.
    // Empty unless renumbered.
    std::string swapText;

    std::size_t renamedNets = 0;
    std::size_t movedPins = 0; // each changes two nets
    std::size_t missingNets = 0;
    std::size_t extraNets = 0;
    std::size_t renumberedReferences = 0;
};

// A changed copy of `board`. Compared with it (and the swap file given), the revision
// shows 2 x movedPins nets with differences, missingNets nets on side 1 only and
// extraNets nets on side 2 only; renamed nets and renumbered references match.
Revision reviseBoard(const Board& board, const RevisionSpec& request);

// The format names writeNetlist() takes: all of Lintora's format box (32).
std::span<const std::string_view> writableFormats();
bool canWrite(std::string_view formatName);
// The usual file extension of a format, without the dot ("tel", "asc").
std::string_view fileExtension(std::string_view formatName);

// The board as a netlist file of the format. Throws std::invalid_argument for a format
// name it does not know.
std::string writeNetlist(const Board& board, std::string_view formatName);

} // namespace lintora::bench
