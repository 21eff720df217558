#pragma once

namespace lintora::cli {

// The exit statuses, as diff has them.
constexpr int kExitSame = 0;      // nothing differs
constexpr int kExitDifferent = 1; // the comparison found differences (or --strict duplicates)
constexpr int kExitStopped = 2;   // the run stopped with a message, or a bad command line

} // namespace lintora::cli
