#include "base/parts_line.h"

namespace lintora {

void splitPartsLine(PartRecord& part, std::string_view line) {
    part = PartRecord{};
    std::string token;
    for (const char c : line) {
        switch (c) {
        case '!':
            part.attribute = std::move(token);
            token.clear();
            break;
        case ';':
            part.name = std::move(token);
            token.clear();
            break;
        case ':':
            part.reference = std::move(token);
            token.clear();
            break;
        case '?':
            part.footprint = std::move(token);
            token.clear();
            break;
        case ' ':
        case '\t':
            break;
        default:
            token += c;
        }
    }
}

} // namespace lintora
