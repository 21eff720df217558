#include "run/run_lock.h"

#include "base/errors.h"

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace lintora {

namespace {

// Whether `fd` is still the file that `path` names: a run that held the lock removes the file
// before it lets go, so a lock taken on the removed file keeps nobody out.
bool stillNamed(int fd, const std::filesystem::path& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

RunLock::RunLock(const std::filesystem::path& dir, int patienceMs, RunObserver* observer)
    : m_path(dir / fileName) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    bool told = false;
    for (;;) {
        m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0)
            throw WriteFailed(dir.string());
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            if (stillNamed(m_fd, m_path)) {
                m_acquired = true;
                return;
            }
            ::close(m_fd); // the run before removed it meanwhile: take the file there now
            m_fd = -1;
            continue;
        }
        ::close(m_fd);
        m_fd = -1;
        if (!told && observer != nullptr) {
            observer->waitingForOtherRun(dir.string());
            told = true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

RunLock::~RunLock() {
    if (m_fd < 0)
        return;
    if (m_acquired)
        ::unlink(m_path.c_str()); // removed while still held, so nobody takes a stale file
    ::close(m_fd);                // closing releases the lock
}

} // namespace lintora
