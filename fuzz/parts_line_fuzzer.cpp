// The parts-line parser on any text: what it reads, written and read again, stays the same.
#include "base/net_line.h"
#include "base/parts_line.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    lintora::PartRecord part;
    lintora::splitPartsLine(part, line);
    for (const std::string* field : {&part.attribute, &part.name, &part.reference, &part.footprint})
        if (field->find_first_of("!;:? \t") != std::string::npos)
            return 0; // separators inside a field cannot round-trip; nothing to check
    lintora::FieldArray fields(4);
    fields[0] = part.attribute;
    fields[1] = part.name;
    fields[2] = part.reference;
    fields[3] = part.footprint;
    std::string written;
    lintora::writePartsLine(fields, written);
    lintora::PartRecord again;
    lintora::splitPartsLine(again, written);
    if (again.attribute != part.attribute || again.name != part.name ||
        again.reference != part.reference || again.footprint != part.footprint)
        std::abort();
    return 0;
}
