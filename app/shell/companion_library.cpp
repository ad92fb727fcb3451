#include "app/shell/companion_library.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "app/shell/run_directory.h"

extern "C" {
extern const unsigned char lumoset_audio_library_image[];
extern const unsigned long lumoset_audio_library_image_size;
extern const unsigned char lumoset_speech_library_image[];
extern const unsigned long lumoset_speech_library_image_size;
}

namespace lumoset {

namespace fs = std::filesystem;

namespace {

struct LoadedLibrary {
    void* handle = nullptr;
    fs::path path;
    std::map<std::string, void*> functions;
};

std::mutex libraryMutex;
fs::path currentLibraryFolder;
std::map<std::string, LoadedLibrary> loadedLibraries;

bool writeWhole(int fd, std::span<const unsigned char> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes the image under a private name and links it into place, so another copy of the
// program never sees a half-written library and an existing file is never replaced.
void writeIfMissing(const fs::path& target, std::span<const unsigned char> image) {
    struct stat existing;
    if (::lstat(target.c_str(), &existing) == 0) {
        return;
    }
    const fs::path partial =
        target.parent_path() / (target.filename().string() + ".part" + std::to_string(::getpid()));
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0700);
    if (fd < 0) {
        return;
    }
    const bool written = writeWhole(fd, image);
    ::close(fd);
    if (written) {
        ::link(partial.c_str(), target.c_str());
    }
    ::unlink(partial.c_str());
}

[[noreturn]] void stopForMissing(const std::string& fileName, const std::string& function) {
    const std::string message =
        "无法调用库文件 " + fileName + " 中的函数 " + function + "，程序将退出。";
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    // A box needs a screen and the UI thread; without them the message above is all there is.
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app != nullptr && QThread::currentThread() == app->thread() &&
        QGuiApplication::platformName() != QLatin1String("offscreen")) {
        QMessageBox::critical(nullptr, QStringLiteral("错误"), QString::fromStdString(message));
    }
    std::_Exit(-1);
}

void* openLibrary(const std::string& fileName, fs::path& openedFrom) {
    std::vector<fs::path> candidates;
    if (!currentLibraryFolder.empty()) {
        candidates.push_back(currentLibraryFolder / fileName);
    }
    candidates.push_back(runDirectory() / fileName);
    for (const fs::path& candidate : candidates) {
        if (void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            openedFrom = candidate;
            return handle;
        }
    }
    void* handle = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) {
        openedFrom = fileName;
    }
    return handle;
}

}  // namespace

std::span<const unsigned char> audioLibraryImage() {
    return {lumoset_audio_library_image, lumoset_audio_library_image_size};
}

std::span<const unsigned char> speechLibraryImage() {
    return {lumoset_speech_library_image, lumoset_speech_library_image_size};
}

fs::path privateTemporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    fs::path root = (base != nullptr && *base != '\0') ? fs::path(base) : fs::path("/tmp");
    const fs::path folder = root / ("lumoset-" + std::to_string(::getuid()));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat info;
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return {};
    }
    return folder;
}

fs::path libraryFolder() {
    std::lock_guard lock(libraryMutex);
    return currentLibraryFolder;
}

void ensureCompanionLibrary(const std::string& fileName, std::span<const unsigned char> image) {
    const fs::path folder = privateTemporaryFolder();
    if (!folder.empty()) {
        writeIfMissing(folder / fileName, image);
    }
    std::lock_guard lock(libraryMutex);
    currentLibraryFolder = privateTemporaryFolder();
}

void* bindLibraryFunction(const std::string& fileName, const std::string& function) {
    std::unique_lock lock(libraryMutex);
    LoadedLibrary& library = loadedLibraries[fileName];
    if (library.handle == nullptr) {
        library.handle = openLibrary(fileName, library.path);
        if (library.handle == nullptr) {
            lock.unlock();
            stopForMissing(fileName, function);
        }
    }
    auto found = library.functions.find(function);
    if (found != library.functions.end()) {
        return found->second;
    }
    void* address = ::dlsym(library.handle, function.c_str());
    if (address == nullptr) {
        lock.unlock();
        stopForMissing(fileName, function);
    }
    library.functions.emplace(function, address);
    return address;
}

fs::path loadedLibraryPath(const std::string& fileName) {
    std::lock_guard lock(libraryMutex);
    auto found = loadedLibraries.find(fileName);
    return found == loadedLibraries.end() ? fs::path() : found->second.path;
}

}  // namespace lumoset
