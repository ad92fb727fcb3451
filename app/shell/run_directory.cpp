#include "app/shell/run_directory.h"

#include <mutex>
#include <system_error>

namespace lumoset {

namespace fs = std::filesystem;

namespace {

std::mutex runDirectoryMutex;
fs::path overriddenRunDirectory;

}  // namespace

fs::path runDirectory() {
    {
        std::lock_guard lock(runDirectoryMutex);
        if (!overriddenRunDirectory.empty()) {
            return overriddenRunDirectory;
        }
    }
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : executable.parent_path();
}

void setRunDirectory(const fs::path& folder) {
    std::lock_guard lock(runDirectoryMutex);
    overriddenRunDirectory = folder;
}

fs::path cacheFolder() { return runDirectory() / u8"缓存"; }
fs::path uploadFolder() { return cacheFolder() / u8"上传"; }
fs::path downloadFolder() { return cacheFolder() / u8"下载"; }
fs::path audioFolder() { return runDirectory() / u8"音频"; }

}  // namespace lumoset
