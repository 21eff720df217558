#pragma once

#include "base/workspace.h"

#include <string_view>

namespace lintora::fuzz {

// A workspace in a private directory on a memory file system (when there is one), made once
// per process, so that every input can be handed to code that reads and writes files.
Workspace& workspace();

// Writes `bytes` to a file of the workspace and returns its path.
std::string writeInput(std::string_view name, const uint8_t* data, size_t size);

} // namespace lintora::fuzz
