#pragma once

#include "run/workspace.h"

#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// Shared by both duplicate checks: lists, in sorted order, each name that occurs m times
// m - 1 times (empty names never count) and, when there is one, shows `warning` and appends
// the block `title`, empty line, one line per repeat, empty line to the error text.
void reportDuplicates(Workspace& ws, std::vector<std::string> names, std::string_view suffix,
                      std::string_view title, std::string_view warning, std::string& errorText);

} // namespace lintora
