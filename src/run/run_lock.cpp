#include "run/run_lock.h"

#include "base/errors.h"

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace lintora {

RunLock::RunLock(const std::filesystem::path& dir, int patienceMs) {
    const std::filesystem::path lockPath = dir / ".lintora.lock";
    m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0)
        throw WriteFailed(lockPath.string());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    for (;;) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            m_acquired = true;
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

RunLock::~RunLock() {
    if (m_fd >= 0)
        ::close(m_fd); // closing releases the lock
}

} // namespace lintora
