#include "app/stale_temporaries.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::TempFolder;
using test::WriteFile;

// Only the temporary files of the program's own files go; the files
// themselves, copies kept aside and other people's files stay.
TEST(StaleTemporariesTest, RemovesOnlyTheProgramsOwnTemporaryFiles) {
    TempFolder folder;
    const char* removed[] = {"Tree.dat.AbC123",     "Teluri.ini.zzzzzz",   "finddata.txt.QWErt0",
                             "Bookmark.dat.000000", "Find%2F..dat.x1Y2z3", "Window.ini.a1b2c3"};
    const char* kept[] = {
        "Tree.dat",         "Teluri.ini",    "Bookmark.dat.nul", "Bookmark.dat.unreadable",
        "notes.txt.abcdef", "Tree.dat.ab12", "Tree.dat.ab-123",  "Tree.dat.abc1234",
        ".dat.abcdef",      "Findx.dat"};
    for (const char* name : removed) {
        WriteFile(folder / name, "x");
    }
    for (const char* name : kept) {
        WriteFile(folder / name, "x");
    }
    std::filesystem::create_directory(folder / "Read.dat.folder");
    std::filesystem::create_symlink("Tree.dat", folder / "Tree.dat.link12");
    RemoveStaleTemporaryFiles(folder.Path());
    for (const char* name : removed) {
        EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    }
    for (const char* name : kept) {
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "Read.dat.folder"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "Tree.dat.link12"));
    // A folder that cannot be listed is no error.
    RemoveStaleTemporaryFiles(folder / "none/");
}

}  // namespace
}  // namespace teluri
