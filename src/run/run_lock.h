#pragma once

#include "base/observer.h"

#include <filesystem>

namespace lintora {

// Keeps a second comparison out of a working directory while one is working there, so two
// runs never clobber the same scratch files. Held for the lifetime of the object; the lock
// file is removed when it is released, so a run leaves nothing of it behind.
class RunLock {
public:
    // Waits up to `patienceMs` for the directory to be free, telling `observer` (when given)
    // once that it waits. Throws WriteFailed naming the directory when the lock file cannot
    // be created there (a missing or unwritable directory).
    RunLock(const std::filesystem::path& dir, int patienceMs, RunObserver* observer = nullptr);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    bool acquired() const { return m_acquired; }

    // The lock file's name in the working directory.
    static constexpr const char* fileName = ".lintora.lock";

private:
    std::filesystem::path m_path;
    int m_fd = -1;
    bool m_acquired = false;
};

} // namespace lintora
