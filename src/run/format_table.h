#pragma once

#include "readers/reader_support.h"

#include <span>
#include <string_view>

namespace lintora {

struct FormatEntry {
    std::string_view name;
    ReaderFunction reader; // null while the format's reader is not built
};

// The format names in lookup order, each with its reader: the 27 of the classic format box,
// then the names of today's CAD tools.
std::span<const FormatEntry> formatTable();

// The reader of the first entry whose name equals `name` exactly; null when no name
// matches (or the reader is not built).
ReaderFunction findReader(std::string_view name);

// The names in the order the format boxes list them, today's after the 27 classic ones.
std::span<const std::string_view> formatNamesForDisplay();

} // namespace lintora
