// Small helpers shared by the tests of every subsystem.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QString;
class QWidget;

namespace lumoset::test {

// A fresh, empty folder below the test's temporary folder, removed when it goes out of scope.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);

// Dispatches events until `done` holds or `limit` passes; returns whether `done` held.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

// Puts the library file `built` into the private library folder as `fileName`. It is copied
// under another name and renamed into place, so a copy this process has already loaded keeps its
// file intact.
void installLibrary(const std::filesystem::path& built, const std::string& fileName);

// Types `text` into `control` as a person would: ASCII key by key, a line break as Return, and
// every other character as an input method commits it.
void typeText(QWidget* control, const QString& text);

// Saves a picture of `widget` as PNG into $LUMOSET_SCREENSHOT_DIR when that is set.
void saveScreenshot(QWidget& widget, const std::string& name);

// A child process's exit code and what it wrote to standard error.
struct ChildResult {
    int exitCode = -1;
    std::string errorOutput;
};

// Runs `body` in a forked child process and reports how it ended. The child exits 0 when
// `body` returns.
ChildResult runInChild(const std::function<void()>& body);

}  // namespace lumoset::test
