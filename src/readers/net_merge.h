#pragma once

// Gathers net lines that carry the same net name into one net, for formats that spread a
// net over several lines or records (Mentor "NET" lines, FUTURE "PIN" lines).

#include "readers/reader_support.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lintora {

class NetMerger {
public:
    explicit NetMerger(const Workspace& workspace);

    // Takes one net line as the net-line writer builds it. Its name is compared as the
    // splitter returns it (blanks dropped), exactly; a name seen before adds the line's pins
    // after that net's pins. Throws CapacityExceeded past the table sizes of the limits.
    void add(std::string_view netLine);

    // Appends the merged nets to `netText`, in the order their names first appeared, each
    // followed by CR LF. A net that came from one line keeps that line as it was.
    void appendTo(std::string& netText) const;

private:
    struct Net {
        std::string firstLine;         // as given, while the net has one line
        std::string name;              // as split
        std::vector<std::string> pins; // as split, once a second line was merged in
        bool merged = false;
    };

    Limits m_limits;
    FieldArray m_split;
    std::vector<Net> m_nets;
    std::unordered_map<std::string, std::size_t> m_byName;
    std::size_t m_lines = 0;
};

} // namespace lintora
