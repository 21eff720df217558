#pragma once

#include "readers/reader_support.h"

#include <span>
#include <string_view>

namespace lintora {

struct FormatEntry {
    std::string_view name;
    ReaderFunction reader; // null while the format's reader is not built
};

// The 27 format names in lookup order, each with its reader.
std::span<const FormatEntry> formatTable();

// The reader of the first entry whose name equals `name` exactly; null when no name
// matches (or the reader is not built).
ReaderFunction findReader(std::string_view name);

// The 27 names in the order the format boxes list them.
std::span<const std::string_view> formatNamesForDisplay();

} // namespace lintora
