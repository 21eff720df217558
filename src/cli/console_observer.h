#pragma once

#include "base/observer.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// The command line's face of a run: every message box becomes one line on standard
// error; progress is shown only when asked for; questions are answered No (nothing
// interactive happens in batch use). A message that sends the user to a window button is
// followed by a line naming the file to read instead.
class ConsoleObserver : public RunObserver {
public:
    // `workDir`: where the reports go, for the lines that name them.
    ConsoleObserver(bool showProgress, std::string workDir)
        : m_showProgress(showProgress), m_workDir(std::move(workDir)) {}
    void message(std::string_view text) override;
    bool question(std::string_view text) override;
    void progress(int value, std::string_view caption) override;
    void hideProgress() override {}
    void waitingForOtherRun(std::string_view workDir) override;

    // Every message shown, in order.
    const std::vector<std::string>& messages() const { return m_messages; }

private:
    bool m_showProgress;
    std::string m_workDir;
    std::vector<std::string> m_messages;
};

// Writes one line to standard error (line ends inside the text become blanks).
void printLine(std::string_view text);
// The same, after "lintora-cli: ".
void printNote(std::string_view text);

} // namespace lintora
