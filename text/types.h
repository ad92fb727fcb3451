// The program's two ordinary value types.
#pragma once

#include <string>
#include <vector>

namespace lumoset {

// A byte string in GBK, the program's ordinary string. Some values hold UTF-8 bytes
// instead (answers of web services taken byte for byte); their callers say so.
using Text = std::string;

// A byte array of known length: file contents, bodies, audio, pictures.
using Bytes = std::vector<unsigned char>;

inline Bytes toBytes(const Text& text) { return Bytes(text.begin(), text.end()); }
inline Text toText(const Bytes& bytes) { return Text(bytes.begin(), bytes.end()); }

}  // namespace lumoset
