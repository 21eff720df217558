#pragma once

#include "cli/format_choice.h"
#include "cli/options.h"
#include "run/comparison_run.h"

#include <string>
#include <vector>

namespace lintora::cli {

// The short summary of a completed run for people: a line per side (format, nets, pins and
// parts read, path), then a line of what the comparison found.
std::vector<std::string> summaryLines(const RunResult& result, const CliOptions& options,
                                      const FormatChoice& formats);

// The summary of a swap proposal (--propose-swap): what it pairs, how many side-1 nets match
// before and after it, the parts it leaves out and why, and, when `written`, the file and
// what to do with it.
std::vector<std::string> proposalSummaryLines(const SwapProposal& proposal,
                                              const CliOptions& options, bool written);

// Warnings about a proposal that the run it is meant for cannot take as it is: more pairs
// than `limits` let a swap file hold.
std::vector<std::string> proposalWarnings(const SwapProposal& proposal, const CliOptions& options,
                                          const Limits& limits);

// Warnings about what a completed run read: a side without any net was most likely read
// with the wrong format.
std::vector<std::string> resultWarnings(const RunResult& result, const CliOptions& options);

} // namespace lintora::cli
