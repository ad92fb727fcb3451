// Where a stream's WAV bytes come from: a file, a block of memory, or a download in progress.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lumoset::audio {

class ByteSource {
  public:
    virtual ~ByteSource() = default;

    // How many bytes from the start of the WAV can be read now.
    virtual std::uint64_t available() const = 0;

    // Whether `available()` is final: no more bytes will come.
    virtual bool finished() const = 0;

    // Copies up to `count` bytes from `offset` into `into`; returns how many were copied.
    virtual std::size_t read(std::uint64_t offset, unsigned char* into,
                             std::size_t count) const = 0;
};

// How many of `count` bytes from `offset` lie within `size` bytes.
inline std::size_t readableCount(std::uint64_t offset, std::size_t count, std::uint64_t size) {
    return offset >= size ? 0
                          : static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset));
}

// The bytes of a file from `offset` on, `length` of them (0: to the end of the file). Null when
// the file can't be opened or `offset` lies beyond its end.
std::unique_ptr<ByteSource> openFileSource(const std::string& path, std::uint64_t offset,
                                           std::uint64_t length);

// `size` bytes at `data` that the caller keeps alive.
std::unique_ptr<ByteSource> memorySource(const unsigned char* data, std::uint64_t size);

}  // namespace lumoset::audio
