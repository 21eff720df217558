#pragma once

// What the Protel, Protel 2.0 and Tango readers share: the file holds component blocks
// first and then net blocks,
//
//   (
//   GND
//   U1-7
//   U2-7
//   )
//
// that is "(", the net name, one pin per line (its first blank-delimited token), ")". The
// readers differ only in their component blocks and in how a pin's separator is converted.

#include "readers/reader_support.h"

#include <string>

namespace lintora {

// Reads the component blocks up to the line that opens the first net. Returns true when
// such a line was found; the lines after it are the nets. The lines come upper-cased.
using BracketPartsSection = bool (*)(LineReader& lines, ReaderOutput& out);
// Turns a pin token ("U1-7") into Lintora's pin form ("U1.7").
using BracketPinConversion = void (*)(std::string& pin);

// The whole reader: the parts section; then, once the nets start, parts.tmp, the nets and
// net.tmp. A file without nets is not recognised and writes nothing.
ReaderResult convertBracketNetlist(Workspace& ws, const std::string& path,
                                   BracketPartsSection readParts, BracketPinConversion convertPin);

// The net blocks from the line after the one that opened the first net to the end; `lines`
// walks upper-cased text.
void readBracketNets(LineReader& lines, ReaderOutput& out, BracketPinConversion convertPin);

} // namespace lintora
