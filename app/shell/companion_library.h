// The two companion libraries: written once into a private library folder, then bound by name.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace lumoset {

inline constexpr const char* audioLibraryFile = "libbass.so";
inline constexpr const char* speechLibraryFile = "libmsc.so";

// The library images that the executable carries.
std::span<const unsigned char> audioLibraryImage();
std::span<const unsigned char> speechLibraryImage();

// The per-user library folder below $TMPDIR (or /tmp), created with mode 0700. Empty when it
// can't be made, is owned by another account or is open to others: such a folder could hold
// a library somebody else planted.
std::filesystem::path privateTemporaryFolder();

// Where library lookups begin; empty until the first ensureCompanionLibrary, or when the
// private folder was refused.
std::filesystem::path libraryFolder();

// Writes `image` as `fileName` into the private folder unless a file of that name is already
// there (an existing file is never compared or replaced), then makes that folder the library
// folder.
void ensureCompanionLibrary(const std::string& fileName, std::span<const unsigned char> image);

// The address of `function` in the companion library `fileName`, looked up on first use and
// cached. The library is searched in the library folder, then the run directory, then by the
// system's own search. A library or function that can't be bound ends the program with an
// error box naming both, exit code -1.
void* bindLibraryFunction(const std::string& fileName, const std::string& function);

template <class Function>
Function* bindFunction(const std::string& fileName, const std::string& function) {
    return reinterpret_cast<Function*>(bindLibraryFunction(fileName, function));
}

// The file the library `fileName` was loaded from; empty when it is not loaded.
std::filesystem::path loadedLibraryPath(const std::string& fileName);

}  // namespace lumoset
