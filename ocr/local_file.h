// Whole files named by a GBK path, as the picture feature reads and writes them.
#pragma once

#include <filesystem>

#include "text/types.h"

namespace lumoset {

// The file-system path named by the GBK text `path`.
std::filesystem::path localPath(const Text& path);

// The whole content of the file at `path`; empty when it can't be read.
Bytes readLocalFile(const Text& path);

// Replaces the file at `path` with `bytes`; returns whether every byte was written.
bool writeLocalFile(const Text& path, const Bytes& bytes);

}  // namespace lumoset
