// Input decoding on any bytes: the result is always valid UTF-8 without NUL bytes.
#include "base/text_encoding.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text;
    if (lintora::decodeInputText(bytes, text)) {
        if (!lintora::isValidUtf8(text) || text.find('\0') != std::string::npos)
            std::abort();
        std::string upper = text;
        lintora::upperCaseInPlace(upper);
        if (!lintora::isValidUtf8(upper) || upper.size() != text.size())
            std::abort();
        const std::string back = lintora::utf8ToCp932(text);
        (void)back;
    }
    return 0;
}
