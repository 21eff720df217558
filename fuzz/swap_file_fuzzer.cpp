// Any bytes as a swap file over a small side 1: the pass reads what it can and rewrites the
// files, or stops with one of Lintora's own failures.
#include "base/errors.h"
#include "base/text_file.h"
#include "fuzz_workspace.h"
#include "passes/passes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintora::Workspace& ws = lintora::fuzz::workspace();
    const std::string swapPath = lintora::fuzz::writeInput("swap.txt", data, size);
    lintora::printTextFile(ws.file("net.tmp"), "GND; 3: U1.7, U2.7, R1.2, \r\nIN; 2: U1.1, R1.1, \r\n");
    lintora::printTextFile(ws.file("parts1.tmp"), "! 74HC00; U1: DIP14? \r\n! 10K; R1: 0603? \r\n");
    std::string errorText;
    try {
        lintora::applySwapFile(ws, swapPath, errorText);
    } catch (const lintora::RunFailure&) {
    }
    return 0;
}
