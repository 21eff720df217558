#include "cli/console_observer.h"

#include "base/workspace.h"

#include <filesystem>
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

void printLine(std::string_view text) {
    writeLine(stderr, text);
}

void printNote(std::string_view text) {
    std::string line = "lintora-cli: ";
    line += text;
    writeLine(stderr, line);
}

void ConsoleObserver::message(std::string_view text) {
    m_messages.emplace_back(text);
    writeLine(stderr, text);
    // The window's buttons that these messages point at show the files named here.
    const auto report = [&](std::string_view name) {
        return (std::filesystem::path(m_workDir) / name).lexically_normal().string();
    };
    if (text.find("エラー情報ボタン") != std::string_view::npos)
        printNote("the details are in " + report(files::errorLog));
    else if (text.find("部品比較結果ボタン") != std::string_view::npos)
        printNote("the parts differences are in " + report(files::partsReport));
}

bool ConsoleObserver::question(std::string_view text) {
    m_messages.emplace_back(text);
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

void ConsoleObserver::waitingForOtherRun(std::string_view workDir) {
    printNote("another comparison is working in " + std::string(workDir) +
              "; waiting for it to finish");
}

} // namespace lintora
