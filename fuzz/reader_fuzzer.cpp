// Any bytes handed to a reader: it must return "good" or "bad" or stop with one of Lintora's
// own failures (missing file, capacity, undecodable text), never crash, hang or read outside
// its data.
#include "fuzz_workspace.h"
#include "readers/readers.h"

#include <cstdlib>

namespace {

void callReader(lintora::Workspace& ws, const std::string& path, std::string& status) {
#ifdef LINTORA_READER_TAKES_PARTS_PATH
    lintora::LINTORA_READER(ws, path, std::string(), status);
#else
    lintora::LINTORA_READER(ws, path, status);
#endif
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintora::Workspace& ws = lintora::fuzz::workspace();
    const std::string path = lintora::fuzz::writeInput("input.net", data, size);
    std::string status;
    try {
        callReader(ws, path, status);
    } catch (const lintora::RunFailure&) {
        return 0;
    }
    if (status != "good" && status != "bad" && !status.empty())
        std::abort(); // a reader may only leave one of the two words (or what it received)
    return 0;
}
