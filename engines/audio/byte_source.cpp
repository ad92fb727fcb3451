#include "engines/audio/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lumoset::audio {

namespace {

class FileSource final : public ByteSource {
  public:
    FileSource(int fd, std::uint64_t start, std::uint64_t size)
        : fd_(fd), start_(start), size_(size) {}
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t available() const override { return size_; }
    bool finished() const override { return true; }

    std::size_t read(std::uint64_t offset, unsigned char* into, std::size_t count) const override {
        count = readableCount(offset, count, size_);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n =
                ::pread(fd_, into + done, count - done, static_cast<off_t>(start_ + offset + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

  private:
    int fd_;
    std::uint64_t start_;
    std::uint64_t size_;
};

class MemorySource final : public ByteSource {
  public:
    MemorySource(const unsigned char* data, std::uint64_t size) : data_(data), size_(size) {}
    std::uint64_t available() const override { return size_; }
    bool finished() const override { return true; }

    std::size_t read(std::uint64_t offset, unsigned char* into, std::size_t count) const override {
        count = readableCount(offset, count, size_);
        std::memcpy(into, data_ + offset, count);
        return count;
    }

  private:
    const unsigned char* data_;
    std::uint64_t size_;
};

}  // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& path, std::uint64_t offset,
                                           std::uint64_t length) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        offset > static_cast<std::uint64_t>(info.st_size)) {
        ::close(fd);
        return nullptr;
    }
    std::uint64_t size = static_cast<std::uint64_t>(info.st_size) - offset;
    if (length != 0) {
        size = std::min(size, length);
    }
    return std::make_unique<FileSource>(fd, offset, size);
}

std::unique_ptr<ByteSource> memorySource(const unsigned char* data, std::uint64_t size) {
    return std::make_unique<MemorySource>(data, size);
}

}  // namespace lumoset::audio
