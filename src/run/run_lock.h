#pragma once

#include <filesystem>

namespace lintora {

// Keeps a second comparison out of a working directory while one is working there, so two
// runs never clobber the same scratch files. Held for the lifetime of the object.
class RunLock {
public:
    // Waits up to `patienceMs` for the directory to be free. Throws WriteFailed when the
    // lock file cannot be created (an unwritable directory).
    RunLock(const std::filesystem::path& dir, int patienceMs);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    bool acquired() const { return m_acquired; }

private:
    int m_fd = -1;
    bool m_acquired = false;
};

} // namespace lintora
