#include "run/net_line.h"

#include "run/text_encoding.h"

#include <limits>

namespace lintora {

std::size_t leadingNumber(std::string_view text) {
    constexpr std::size_t saturated = std::numeric_limits<std::size_t>::max() / 16;
    std::size_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<std::size_t>(c - '0');
        if (value > saturated)
            return saturated;
    }
    return value;
}

void mntsout(const FieldArray& fields, std::string& line) {
    line.clear();
    line += fields.at(0);
    line += "; ";
    line += fields.at(1);
    line += ": ";
    const std::size_t count = leadingNumber(fields.at(1));
    if (count >= fields.capacity() - 1)
        throw CapacityExceeded("pins of a net");
    for (std::size_t i = 2; i < count + 2; ++i) {
        line += fields.at(i);
        line += ", ";
    }
}

void mptsout(const FieldArray& fields, std::string& line) {
    line.clear();
    line += fields.at(0);
    line += "! ";
    line += fields.at(1);
    line += "; ";
    line += fields.at(2);
    line += ": ";
    line += fields.at(3);
    line += "? ";
}

std::size_t mts1net(FieldArray& fields, std::string_view line) {
    std::string token;
    std::size_t k = 0;
    std::size_t written = 0;
    const auto store = [&](std::size_t slot) {
        fields[slot] = token;
        token.clear();
        if (slot + 1 > written)
            written = slot + 1;
    };
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i <= n) {
        if (i == n) { // the position after the end yields the empty character
            store(k);
            ++k;
            break;
        }
        const char c = line[i];
        if (c == ';') {
            store(0);
            i += 1; // skip the blank the writer puts after ";"
            if (i < n)
                i += utf8SequenceLength(static_cast<unsigned char>(line[i]));
            continue;
        }
        if (c == ':') {
            store(1);
            k = 2;
            i += 1;
            if (i < n)
                i += utf8SequenceLength(static_cast<unsigned char>(line[i]));
            continue;
        }
        if (c == ',') {
            store(k);
            ++k;
        } else if (c != ' ') {
            token += c;
        }
        ++i;
    }
    return written;
}

std::size_t splitPinCount(const FieldArray& fields, std::size_t slotsWritten) {
    const std::size_t count = leadingNumber(fields.at(1));
    const std::size_t split = slotsWritten > 2 ? slotsWritten - 2 : 0;
    return count < split ? count : split;
}

} // namespace lintora
