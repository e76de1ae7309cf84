#include "base/page_prefetch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "base/errors.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

using test::TempFolder;
using test::WriteFile;

// Files of different sizes, each with its own bytes.
std::vector<std::string> PutFiles(const TempFolder& folder, int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(folder / (std::to_string(1000 + i) + ".msg"));
        WriteFile(paths.back(),
                  std::string(static_cast<std::size_t>(i % 7) * 300, 'x') + std::to_string(i));
    }
    return paths;
}

// Workers read ahead whatever the machine's cores.
constexpr std::size_t kWorkers = 2;

// What Take gives, as a string.
std::optional<std::string> Taken(PagePrefetch& prefetch, std::size_t index,
                                 FileStamp* stamp = nullptr) {
    std::string buffer;
    const std::optional<std::string_view> content = prefetch.Take(index, buffer, stamp);
    return content ? std::optional<std::string>(*content) : std::nullopt;
}

// Gives the workers time to read ahead; the tests hold whether they did or not.
void LetWorkersRead() {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

TEST(PagePrefetchTest, GivesEachFileAsReadInListOrder) {
    TempFolder folder;
    const std::vector<std::string> paths = PutFiles(folder, 300);
    for (const std::size_t window :
         {std::size_t{1}, std::size_t{8}, PagePrefetch::kDefaultWindow}) {
        PagePrefetch prefetch(paths, window, kWorkers);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            FileStamp stamp;
            FileStamp expected;
            const std::optional<std::string> expectedContent =
                ReadFileIfExists(paths[i], &expected);
            EXPECT_EQ(Taken(prefetch, i, &stamp), expectedContent) << paths[i];
            EXPECT_TRUE(stamp == expected) << paths[i];
            prefetch.Pass(i);
        }
    }
}

TEST(PagePrefetchTest, FilesTakenAheadBehindOrTwiceAreStillRight) {
    TempFolder folder;
    const std::vector<std::string> paths = PutFiles(folder, 100);
    PagePrefetch prefetch(paths, 16, kWorkers);
    LetWorkersRead();
    EXPECT_EQ(Taken(prefetch, 10), ReadFileIfExists(paths[10]));  // ahead, in the window
    EXPECT_EQ(Taken(prefetch, 90), ReadFileIfExists(paths[90]));  // beyond the window
    EXPECT_EQ(Taken(prefetch, 10), ReadFileIfExists(paths[10]));  // taken before
    prefetch.Pass(50);
    EXPECT_EQ(Taken(prefetch, 3), ReadFileIfExists(paths[3]));  // passed
    for (std::size_t i = 51; i < paths.size(); ++i) {
        EXPECT_EQ(Taken(prefetch, i), ReadFileIfExists(paths[i]));
        prefetch.Pass(i);
    }
}

TEST(PagePrefetchTest, ChangesAfterTheReadAheadAreSeen) {
    TempFolder folder;
    const std::vector<std::string> paths = PutFiles(folder, 40);
    PagePrefetch prefetch(paths, PagePrefetch::kDefaultWindow, kWorkers);
    LetWorkersRead();
    std::filesystem::remove(paths[10]);
    WriteFile(paths[20], "rewritten, longer than before");
    std::filesystem::remove(paths[30]);
    std::filesystem::create_directory(paths[30]);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::optional<std::string> content = Taken(prefetch, i);
        prefetch.Pass(i);
        if (i == 10 || i == 30) {
            EXPECT_FALSE(content.has_value()) << i;
        } else if (i == 20) {
            EXPECT_EQ(content, "rewritten, longer than before");
        } else {
            EXPECT_EQ(content, ReadFileIfExists(paths[i])) << i;
        }
    }
}

TEST(PagePrefetchTest, ReadErrorsComeWhenTheFileIsTaken) {
    TempFolder folder;
    std::vector<std::string> paths = PutFiles(folder, 20);
    paths[5] = "/proc/self/mem";  // fails to read even for root
    paths[6].clear();             // a place that is never read
    PagePrefetch prefetch(paths, PagePrefetch::kDefaultWindow, kWorkers);
    LetWorkersRead();
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(Taken(prefetch, i).has_value());
        prefetch.Pass(i);
    }
    EXPECT_THROW(Taken(prefetch, 5), IoError);
    EXPECT_EQ(Taken(prefetch, 7), ReadFileIfExists(paths[7]));
}

TEST(PagePrefetchTest, StopsEarlyWithoutTakingEverything) {
    TempFolder folder;
    const std::vector<std::string> paths = PutFiles(folder, 500);
    PagePrefetch prefetch(paths, 64, kWorkers);
    EXPECT_TRUE(Taken(prefetch, 0).has_value());
}

}  // namespace
}  // namespace teluri
