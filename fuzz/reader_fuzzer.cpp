// Any bytes handed to a reader: it must say whether it recognised them or stop with one of
// Lintora's own failures (missing file, capacity, undecodable text), never crash, hang or read
// outside its data.
#include "fuzz_workspace.h"
#include "readers/readers.h"

#include <cstdlib>

namespace {

lintora::ReaderResult callReader(lintora::Workspace& ws, const std::string& path) {
#ifdef LINTORA_READER_TAKES_PARTS_PATH
    return lintora::LINTORA_READER(ws, path, std::string());
#else
    return lintora::LINTORA_READER(ws, path);
#endif
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintora::Workspace& ws = lintora::fuzz::workspace();
    const std::string path = lintora::fuzz::writeInput("input.net", data, size);
    try {
        const lintora::ReaderResult result = callReader(ws, path);
        if (result != lintora::ReaderResult::Recognised &&
            result != lintora::ReaderResult::NotRecognised)
            std::abort(); // a reader may only give one of the two answers
    } catch (const lintora::RunFailure&) {
        return 0;
    }
    return 0;
}
