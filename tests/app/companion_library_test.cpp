// Writing the companion libraries into the private library folder and binding them by name.
#include "app/shell/companion_library.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/shell/run_directory.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;
using namespace lumoset;
using lumoset::test::readFile;
using lumoset::test::runInChild;
using lumoset::test::TempDir;
using lumoset::test::writeFile;

namespace {

std::string imageText(std::span<const unsigned char> image) {
    return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

// Points $TMPDIR at a fresh folder for one test and gives back the private folder below it.
class LibraryFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("TMPDIR", tmp_.path().c_str(), 1); }
    fs::path privateFolder() const {
        return tmp_.path() / ("lumoset-" + std::to_string(::getuid()));
    }
    TempDir tmp_;
};

}  // namespace

TEST_F(LibraryFolderTest, FirstRunWritesBothLibrariesByteForByte) {
    ASSERT_GT(audioLibraryImage().size(), 1000u);
    ASSERT_GT(speechLibraryImage().size(), 1000u);
    // The images are the libraries this build made.
    EXPECT_EQ(imageText(audioLibraryImage()), readFile(runDirectory() / "../../libbass.so"));
    EXPECT_EQ(imageText(speechLibraryImage()), readFile(runDirectory() / "../../libmsc.so"));

    ensureCompanionLibrary(audioLibraryFile, audioLibraryImage());
    ensureCompanionLibrary(speechLibraryFile, speechLibraryImage());

    EXPECT_EQ(readFile(privateFolder() / "libbass.so"), imageText(audioLibraryImage()));
    EXPECT_EQ(readFile(privateFolder() / "libmsc.so"), imageText(speechLibraryImage()));
    EXPECT_EQ(libraryFolder(), privateFolder());
    struct stat info;
    ASSERT_EQ(::stat(privateFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // No leftovers of the write.
    EXPECT_EQ(std::distance(fs::directory_iterator(privateFolder()), fs::directory_iterator()), 2);
}

TEST_F(LibraryFolderTest, PresentFileIsNeverComparedOrReplaced) {
    fs::create_directory(privateFolder());
    fs::permissions(privateFolder(), fs::perms::owner_all, fs::perm_options::replace);
    const std::string truncated = imageText(audioLibraryImage()).substr(0, 100);
    writeFile(privateFolder() / "libbass.so", truncated);
    writeFile(privateFolder() / "libmsc.so", "");

    ensureCompanionLibrary(audioLibraryFile, audioLibraryImage());
    ensureCompanionLibrary(speechLibraryFile, speechLibraryImage());

    EXPECT_EQ(readFile(privateFolder() / "libbass.so"), truncated);
    EXPECT_EQ(readFile(privateFolder() / "libmsc.so"), "");
}

TEST_F(LibraryFolderTest, FolderOpenToOthersIsNotUsed) {
    fs::create_directory(privateFolder());
    fs::permissions(privateFolder(), fs::perms::all, fs::perm_options::replace);

    ensureCompanionLibrary(audioLibraryFile, audioLibraryImage());

    EXPECT_FALSE(fs::exists(privateFolder() / "libbass.so"));
    EXPECT_TRUE(libraryFolder().empty());
}

TEST_F(LibraryFolderTest, FolderOwnedByAnotherAccountIsNotUsed) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "handing a folder to another account needs root";
    }
    fs::create_directory(privateFolder());
    fs::permissions(privateFolder(), fs::perms::owner_all, fs::perm_options::replace);
    ASSERT_EQ(::chown(privateFolder().c_str(), 65534, 65534), 0);

    ensureCompanionLibrary(audioLibraryFile, audioLibraryImage());

    EXPECT_FALSE(fs::exists(privateFolder() / "libbass.so"));
    EXPECT_TRUE(libraryFolder().empty());
}

// Each binding case runs in a child process: a process keeps a library once it is loaded.
TEST_F(LibraryFolderTest, SearchBeginsInTheLibraryFolderThenTheRunDirectory) {
    TempDir run;
    fs::create_directory(privateFolder());
    fs::permissions(privateFolder(), fs::perms::owner_all, fs::perm_options::replace);
    fs::copy_file(fs::path(PROBE_DIR) / "libprobe_library_folder.so", privateFolder() / "libprobe.so");
    fs::copy_file(fs::path(PROBE_DIR) / "libprobe_run_directory.so", run.path() / "libprobe.so");

    auto originInChild = [&](bool withLibraryFolder) {
        return runInChild([&] {
            setRunDirectory(run.path());
            if (withLibraryFolder) {
                ensureCompanionLibrary("libprobe.so", {});
            }
            auto origin = bindFunction<const char*()>("libprobe.so", "probe_origin");
            std::fprintf(stderr, "%s", origin());
        });
    };

    const auto both = originInChild(true);
    EXPECT_EQ(both.exitCode, 0);
    EXPECT_EQ(both.errorOutput, "library_folder");

    // Before any library was ensured there is no library folder yet.
    const auto runOnly = originInChild(false);
    EXPECT_EQ(runOnly.exitCode, 0);
    EXPECT_EQ(runOnly.errorOutput, "run_directory");
}

TEST_F(LibraryFolderTest, MissingFunctionOrLibraryStopsWithMinusOne) {
    TempDir run;
    fs::copy_file(fs::path(PROBE_DIR) / "libprobe_run_directory.so", run.path() / "libprobe.so");

    const auto missingFunction = runInChild([&] {
        setRunDirectory(run.path());
        bindLibraryFunction("libprobe.so", "probe_absent");
    });
    EXPECT_EQ(missingFunction.exitCode, 255);
    EXPECT_NE(missingFunction.errorOutput.find("libprobe.so"), std::string::npos);
    EXPECT_NE(missingFunction.errorOutput.find("probe_absent"), std::string::npos);

    const auto missingLibrary = runInChild([&] {
        setRunDirectory(run.path());
        bindLibraryFunction("libnowhere.so", "anything");
    });
    EXPECT_EQ(missingLibrary.exitCode, 255);
    EXPECT_NE(missingLibrary.errorOutput.find("libnowhere.so"), std::string::npos);
    EXPECT_NE(missingLibrary.errorOutput.find("anything"), std::string::npos);
}
