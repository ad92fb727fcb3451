// The run directory and the working folders below it.
#pragma once

#include <filesystem>

namespace lumoset {

// The folder of the program's executable.
std::filesystem::path runDirectory();

// Points the run directory elsewhere; the tests give each program instance a folder of its own.
void setRunDirectory(const std::filesystem::path& folder);

// The working folders below the run directory.
std::filesystem::path cacheFolder();     // 缓存: removed when the start window closes
std::filesystem::path uploadFolder();    // 缓存/上传: the last recording
std::filesystem::path downloadFolder();  // 缓存/下载: per-sentence speech
std::filesystem::path audioFolder();     // 音频: saved speech, kept

}  // namespace lumoset
