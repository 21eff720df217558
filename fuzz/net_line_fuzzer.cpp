// The net-line splitter on any text, and the writer on what it split: a written line splits
// back into the same record, and writing that again gives the same line.
#include "base/errors.h"
#include "base/net_line.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    lintora::FieldArray fields(64);
    try {
        const std::size_t written = lintora::splitNetLine(fields, line);
        const std::size_t pins = lintora::splitPinCount(fields, written);
        if (pins + 2 > 64)
            return 0;
        if (pins != lintora::leadingNumber(fields.at(1)))
            fields[1] = std::to_string(pins);
        std::string once;
        lintora::writeNetLine(fields, once);
        lintora::FieldArray again(64);
        lintora::splitNetLine(again, once);
        std::string twice;
        lintora::writeNetLine(again, twice);
        if (once != twice)
            std::abort();
    } catch (const lintora::CapacityExceeded&) {
    }
    return 0;
}
