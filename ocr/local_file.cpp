#include "ocr/local_file.h"

#include <fstream>
#include <iterator>

#include "text/convert.h"

namespace lumoset {

std::filesystem::path localPath(const Text& path) {
    return std::filesystem::path(toUtf8Text(path));
}

Bytes readLocalFile(const Text& path) {
    std::ifstream in(localPath(path), std::ios::binary);
    if (!in) {
        return {};
    }
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return in.bad() ? Bytes{} : bytes;
}

bool writeLocalFile(const Text& path, const Bytes& bytes) {
    std::ofstream out(localPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace lumoset
