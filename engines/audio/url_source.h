// The bytes of an http(s) resource, downloaded by a thread of its own while the stream plays.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <string>

#include "engines/audio/audio_library.h"
#include "engines/audio/byte_source.h"

namespace lumoset::audio {

class UrlSource final : public ByteSource {
  public:
    // Starts downloading `url` from byte `offset` on.
    UrlSource(std::string url, std::uint64_t offset, AudioDownloadCallback* download, void* user);
    // Ends the download at once and waits for its thread.
    ~UrlSource() override;
    UrlSource(const UrlSource&) = delete;
    UrlSource& operator=(const UrlSource&) = delete;

    std::uint64_t available() const override;
    bool finished() const override;
    std::size_t read(std::uint64_t offset, unsigned char* into, std::size_t count) const override;

    // Whether the download failed before it brought anything (an error status, no connection).
    bool failed() const;

    // Waits until more than `known` bytes are there or the download has finished.
    void waitForMore(std::uint64_t known) const;

  private:
    struct Download;
    std::unique_ptr<Download> download_;
};

}  // namespace lumoset::audio
