#pragma once

#include "base/limits.h"
#include "base/observer.h"
#include "base/text_encoding.h"

#include <filesystem>
#include <string_view>

namespace lintora {

// Names of the scratch files and reports, all in the working directory.
namespace files {
inline constexpr std::string_view net = "net.tmp";
inline constexpr std::string_view parts = "parts.tmp";
inline constexpr std::string_view parts1 = "parts1.tmp";
inline constexpr std::string_view parts2 = "parts2.tmp";
inline constexpr std::string_view net01 = "net01.tmp";
inline constexpr std::string_view net02 = "net02.tmp";
inline constexpr std::string_view report = "cmp.txt";
inline constexpr std::string_view partsReport = "cmpprt.txt";
inline constexpr std::string_view errorLog = "errlog.txt";
} // namespace files

// Where a comparison keeps its files, the capacities it works to, and who is watching.
// Every step of a run gets this one record.
struct Workspace {
    std::filesystem::path dir;
    Limits limits;
    TextEncoding reportEncoding; // of cmp.txt, cmpprt.txt and errlog.txt
    RunObserver& observer;

    std::filesystem::path file(std::string_view name) const { return dir / name; }
};

} // namespace lintora
