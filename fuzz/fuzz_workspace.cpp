#include "fuzz_workspace.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace lintora::fuzz {

Workspace& workspace() {
    static SilentObserver observer;
    static Workspace ws = [] {
        std::error_code ignored;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ignored))
            base = std::filesystem::temp_directory_path();
        const auto dir = base / ("lintora-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return Workspace{dir, Limits{}, TextEncoding::Utf8, observer};
    }();
    return ws;
}

std::string writeInput(std::string_view name, const uint8_t* data, size_t size) {
    const auto path = workspace().file(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path.string();
}

} // namespace lintora::fuzz
