#include "cli/console_observer.h"

#include <string>

namespace lintora {

namespace {

void writeLine(std::FILE* stream, std::string_view text) {
    std::string line;
    for (const char c : text) // one line each, whatever the text holds
        line += (c == '\r' || c == '\n') ? ' ' : c;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fflush(stream);
}

} // namespace

void ConsoleObserver::message(std::string_view text) { writeLine(stderr, text); }

bool ConsoleObserver::question(std::string_view text) {
    writeLine(stderr, text);
    return false;
}

void ConsoleObserver::progress(int value, std::string_view caption) {
    if (!m_showProgress)
        return;
    std::string line = "[";
    line += std::to_string(value);
    line += "%] ";
    line += caption;
    writeLine(stderr, line);
}

} // namespace lintora
