// The report reflow on any text, UTF-8 or not (a path or an option typed in another encoding
// reaches the report as typed): no reflowed line is longer than 70 characters, or 12 blanks
// and 62 characters on a continuation line, and no character is lost or added.
#include "base/text_encoding.h"
#include "base/text_file.h"
#include "run/report.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string reflowed = lintora::reflowReport(text);
    std::size_t inputChars = 0;
    std::size_t inputLines = 0;
    lintora::LineReader in(text);
    std::string_view line;
    while (in.next(line)) {
        inputChars += lintora::charCount(line);
        ++inputLines;
    }
    std::size_t outputChars = 0;
    std::size_t outputLines = 0;
    lintora::LineReader out(reflowed);
    while (out.next(line)) {
        const std::size_t n = lintora::charCount(line);
        if (n > 74)
            std::abort();
        outputChars += n;
        ++outputLines;
    }
    // Every line beyond the input's own is a continuation that starts with 12 inserted blanks.
    if (outputLines < inputLines || outputChars != inputChars + 12 * (outputLines - inputLines))
        std::abort();
    return 0;
}
