#pragma once

#include <string>
#include <string_view>

namespace lintora {

// One part read back from a parts line.
struct PartRecord {
    std::string attribute;
    std::string name;      // part name (device, type or value)
    std::string reference; // reference designator
    std::string footprint;
};

// splitPartsLine: reads a parts line "attribute! name; reference: footprint? " back into its four
// fields. Blanks and TABs are dropped wherever they stand, so "10K 1%" reads as "10K1%".
// The record is cleared first, so a malformed line never keeps an earlier part's fields.
void splitPartsLine(PartRecord& part, std::string_view line);

} // namespace lintora
