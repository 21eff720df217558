#pragma once

#include "base/observer.h"

#include <cstdio>

namespace lintora {

// The command line's face of a run: every message box becomes one line on standard
// error; progress is shown only when asked for; questions are answered No (nothing
// interactive happens in batch use).
class ConsoleObserver : public RunObserver {
public:
    explicit ConsoleObserver(bool showProgress) : m_showProgress(showProgress) {}
    void message(std::string_view text) override;
    bool question(std::string_view text) override;
    void progress(int value, std::string_view caption) override;
    void hideProgress() override {}

private:
    bool m_showProgress;
};

} // namespace lintora
