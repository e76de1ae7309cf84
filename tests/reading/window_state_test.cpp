#include "reading/window_state.h"

#include <gtest/gtest.h>

#include <climits>

#include "settings/settings_file.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(WindowStateTest, WrittenAndReadBack) {
    TempFolder folder;
    SettingsFile ini(folder / "Window.ini");
    EXPECT_FALSE(ReadWindowState(ini));
    WriteWindowState(ini, {{-8, 20, 900, 700}, true, 300, true});
    EXPECT_EQ(ReadFile(folder / "Window.ini"),
              "[Window]\r\nLeft=-8\r\nTop=20\r\nWidth=900\r\nHeight=700\r\nMaximized=1\r\n"
              "TreeWidth=300\r\nToolBarFolded=1\r\n");
    const std::optional<WindowState> state = ReadWindowState(ini);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->normal.left, -8);
    EXPECT_EQ(state->normal.top, 20);
    EXPECT_EQ(state->normal.width, 900);
    EXPECT_EQ(state->normal.height, 700);
    EXPECT_TRUE(state->maximized);
    EXPECT_EQ(state->treeWidth, 300);
    EXPECT_TRUE(state->toolBarFolded);
}

TEST(WindowStateTest, AFileWithoutAUsableSizeIsNoState) {
    TempFolder folder;
    const std::string path = folder / "Window.ini";
    WriteFile(path, "[Window]\r\nWidth=800\r\n");
    EXPECT_FALSE(ReadWindowState(SettingsFile(path)));
    WriteFile(path, "[Window]\r\nWidth=800\r\nHeight=0\r\n");
    EXPECT_FALSE(ReadWindowState(SettingsFile(path)));
    WriteFile(path, "[Window]\r\nWidth=wide\r\nHeight=600\r\n");
    EXPECT_FALSE(ReadWindowState(SettingsFile(path)));
    // The other keys have their defaults.
    WriteFile(path, "[window]\r\nwidth=800\r\nheight=600\r\n");
    const std::optional<WindowState> state = ReadWindowState(SettingsFile(path));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->normal.left, 0);
    EXPECT_FALSE(state->maximized);
    EXPECT_EQ(state->treeWidth, 0);
    EXPECT_FALSE(state->toolBarFolded);
}

TEST(WindowStateTest, APositionMustShowEnoughOnSomeScreen) {
    const std::vector<ScreenRect> screens = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    EXPECT_TRUE(FitOnScreens({100, 100, 714, 508}, screens));
    EXPECT_TRUE(FitOnScreens({2000, 500, 714, 508}, screens));
    // 48 x 24 pixels left on the first screen, and one pixel less.
    EXPECT_TRUE(FitOnScreens({-666, 1000, 714, 508}, screens));
    EXPECT_FALSE(FitOnScreens({-667, 1000, 714, 508}, screens));
    EXPECT_FALSE(FitOnScreens({-666, 1001, 714, 508}, screens));
    // Off every screen, and at the ends of the number range.
    EXPECT_FALSE(FitOnScreens({5000, 0, 714, 508}, screens));
    EXPECT_FALSE(FitOnScreens({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, screens));
    EXPECT_FALSE(FitOnScreens({INT_MIN, INT_MIN, 100, 100}, screens));
    EXPECT_FALSE(FitOnScreens({0, 0, 714, 508}, {}));
}

// A saved size larger than the screen that shows the window (a damaged or
// hostile Window.ini: 100000 x 60000, 10^9, 2^31-1) is cut to that screen's
// available area and the window moved into it along that side; a window
// that fits keeps its place, partly off the screen as it may be.
TEST(WindowStateTest, SizesAreCutToTheScreenThatShowsTheWindow) {
    const std::vector<ScreenRect> screens = {{0, 0, 1280, 1000}, {1280, 0, 1920, 1050}};
    const auto fitted = [&screens](ScreenRect window) {
        return FitOnScreens(window, screens).value_or(ScreenRect{-1, -1, -1, -1});
    };
    EXPECT_EQ(fitted({100, 100, 714, 508}), (ScreenRect{100, 100, 714, 508}));
    EXPECT_EQ(fitted({-600, 900, 714, 508}), (ScreenRect{-600, 900, 714, 508}));
    // On the screen that shows the most of it.
    EXPECT_EQ(fitted({0, 0, 100000, 60000}), (ScreenRect{1280, 0, 1920, 1050}));
    EXPECT_EQ(fitted({0, 0, 1300, 60000}), (ScreenRect{0, 0, 1280, 1000}));
    EXPECT_EQ(fitted({1300, 10, 1'000'000'000, 1'000'000'000}), (ScreenRect{1280, 0, 1920, 1050}));
    EXPECT_EQ(fitted({40, 30, INT_MAX, INT_MAX}), (ScreenRect{1280, 0, 1920, 1050}));
    EXPECT_EQ(fitted({-50000, 200, 100000, 400}), (ScreenRect{1280, 200, 1920, 400}));
    // Only the side that does not fit.
    EXPECT_EQ(fitted({300, 500, 800, 5000}), (ScreenRect{300, 0, 800, 1000}));
    EXPECT_EQ(fitted({-500, 100, 714, 508}), (ScreenRect{-500, 100, 714, 508}));
}

}  // namespace
}  // namespace teluri
