#include "app/single_copy_place.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::TempFolder;

// XDG_RUNTIME_DIR set for one test, as it was afterwards.
class RuntimeFolder {
  public:
    explicit RuntimeFolder(const char* path) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            old_ = old;
        }
        path ? ::setenv("XDG_RUNTIME_DIR", path, 1) : ::unsetenv("XDG_RUNTIME_DIR");
    }
    ~RuntimeFolder() {
        old_ ? ::setenv("XDG_RUNTIME_DIR", old_->c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    }

  private:
    std::optional<std::string> old_;
};

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    ::lstat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// The socket's folder is one nobody else may enter, so that no other user
// can take the socket's name or answer in the running copy's place.
TEST(SingleCopyPlaceTest, TheSocketLivesInAPrivateFolder) {
    TempFolder runtime;
    TempFolder home;
    const std::string runtimeFolder = runtime.Path().substr(0, runtime.Path().size() - 1);
    ::chmod(runtimeFolder.c_str(), 0700);
    {
        const RuntimeFolder set(runtimeFolder.c_str());
        const std::string path = SingleCopySocketPath(home.Path());
        EXPECT_TRUE(path.starts_with(runtime.Path() + "teluri-")) << path;
        // One socket per program folder.
        EXPECT_NE(SingleCopySocketPath(home / "other/"), path);
        EXPECT_EQ(SingleCopySocketPath(home.Path()), path);
    }
    const std::string own = home / kSocketFolderName;
    // A runtime folder others may enter, a relative one, a link, none.
    ::chmod(runtimeFolder.c_str(), 0777);
    std::filesystem::create_directory(runtime / "private");
    ::chmod((runtime / "private").c_str(), 0700);
    std::filesystem::create_directory_symlink(runtime / "private", runtime / "link");
    for (const char* folder : {runtimeFolder.c_str(), "relative", (runtime / "link").c_str(),
                               static_cast<const char*>(nullptr)}) {
        const RuntimeFolder set(folder);
        EXPECT_TRUE(SingleCopySocketPath(home.Path()).starts_with(own + "/teluri-"));
        EXPECT_EQ(ModeOf(own), 0700u);
    }
    // The program folder's own: its permissions are taken back; a link or a
    // file in its place gives no socket at all.
    const RuntimeFolder none(nullptr);
    ::chmod(own.c_str(), 0755);
    EXPECT_TRUE(SingleCopySocketPath(home.Path()).starts_with(own + "/"));
    EXPECT_EQ(ModeOf(own), 0700u);
    std::filesystem::remove(own);
    std::filesystem::create_directory_symlink(runtime / "private", own);
    EXPECT_EQ(SingleCopySocketPath(home.Path()), "");
    std::filesystem::remove(own);
    test::WriteFile(own, "");
    EXPECT_EQ(SingleCopySocketPath(home.Path()), "");
}

TEST(SingleCopyPlaceTest, PeersOfAnotherUserAreKnownByTheirCredentials) {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    EXPECT_TRUE(PeerRunsAs(ends[0], ::geteuid()));
    EXPECT_FALSE(PeerRunsAs(ends[0], ::geteuid() + 1));
    ::close(ends[0]);
    ::close(ends[1]);
    EXPECT_FALSE(PeerRunsAs(ends[0], ::geteuid()));  // no socket
}

}  // namespace
}  // namespace teluri
