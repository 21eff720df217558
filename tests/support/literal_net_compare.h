#pragma once

// A deliberately literal net comparison: every remaining side-1 net against every
// remaining side-2 net, every pin against every pin, exactly as the comparison is defined
// (with settled nets and shared pins marked beside the data, not inside it). Slow on
// purpose; the tests and benchmarks hold the real comparison against it.

#include "run/net_compare.h"

#include <string>
#include <vector>

namespace lintora::test {

struct LiteralComparison {
    std::vector<DifferenceBlock> differences;
    std::vector<std::string> unpaired1; // full net lines
    std::vector<std::string> unpaired2;
};

// `lines1` and `lines2` are the lines of the two sorted net files, up to the empty line.
LiteralComparison literalCompareNets(const std::vector<std::string>& lines1,
                                     const std::vector<std::string>& lines2, long threshold);

} // namespace lintora::test
