#pragma once

#include <string_view>

namespace lintora {

// What a comparison shows the user. The core never prints or opens windows itself; the
// desktop window and the command line each implement this. Calls arrive in the order the
// user would see them.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // A message box with an OK button; the run waits until it returns.
    virtual void message(std::string_view text) = 0;
    // A Yes/No question; true means Yes.
    virtual bool question(std::string_view text) = 0;
    // The progress window: bar value 0 to 100 and its caption.
    virtual void progress(int value, std::string_view caption) = 0;
    virtual void hideProgress() = 0;
    // The run found another comparison working in the same folder and waits for it to end
    // (for a while; then it stops with its message). Nothing to show by default.
    virtual void waitingForOtherRun(std::string_view workDir) { (void)workDir; }
};

// An observer that shows nothing and answers No; for tests and tools.
class SilentObserver : public RunObserver {
public:
    void message(std::string_view) override {}
    bool question(std::string_view) override { return false; }
    void progress(int, std::string_view) override {}
    void hideProgress() override {}
};

} // namespace lintora
