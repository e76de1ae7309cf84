#include "reading/link_target.h"

#include <gtest/gtest.h>

namespace teluri {
namespace {

using Kind = LinkTarget::Kind;

TEST(LinkTargetTest, BoardLinksInBothFormsNameAPage) {
    for (const char* href :
         {"./view3.cgi?1002", "view3.cgi?1002", "http://www.orvak.example/teluri/view3.cgi?1002",
          "https://mirror.example/x/view3.cgi?1002"}) {
        const LinkTarget target = LinkTargetOf(href);
        EXPECT_EQ(target.kind, Kind::kBoardPage) << href;
        EXPECT_EQ(target.value, "1002") << href;
    }
    // Any four bytes, as the page reader takes them.
    EXPECT_EQ(LinkTargetOf("./view3.cgi?12ab").value, "12ab");
}

TEST(LinkTargetTest, BoardLinksThatCouldLeaveTheFolderLeadNowhere) {
    EXPECT_EQ(LinkTargetOf("./view3.cgi?../x").kind, Kind::kNone);
    EXPECT_EQ(LinkTargetOf("./view3.cgi?a\\bc").kind, Kind::kNone);
    EXPECT_EQ(LinkTargetOf(std::string_view("./view3.cgi?1\0"
                                            "23",
                                            16))
                  .kind,
              Kind::kNone);
    // Three or five bytes after the script are no board link.
    EXPECT_EQ(LinkTargetOf("./view3.cgi?100").kind, Kind::kNone);
    EXPECT_EQ(LinkTargetOf("http://h/view3.cgi?10020").kind, Kind::kWeb);
}

TEST(LinkTargetTest, AnchorsWebAddressesAndTheRest) {
    EXPECT_EQ(LinkTargetOf("#code").kind, Kind::kAnchor);
    EXPECT_EQ(LinkTargetOf("#code").value, "code");
    EXPECT_EQ(LinkTargetOf("HTTPS://example.org/").kind, Kind::kWeb);
    EXPECT_EQ(LinkTargetOf("http://example.org/a").value, "http://example.org/a");
    for (const char* href : {"mailto:a@example.org", "./index.html", "file:///etc/passwd",
                             "javascript:alert(1)", "", "ftp://example.org/"}) {
        EXPECT_EQ(LinkTargetOf(href).kind, Kind::kNone) << href;
    }
}

TEST(LinkTargetTest, PageFilesAndTheirNumbers) {
    EXPECT_EQ(FolderOfPath("/data/teluri/1002.msg"), "/data/teluri/");
    EXPECT_EQ(FolderOfPath("1002.msg"), "");
    EXPECT_EQ(PageNumberOfPath("/data/1002.msg"), "1002");
    EXPECT_EQ(PageNumberOfPath("/data/1002.MSG"), "1002");
    EXPECT_EQ(PageNumberOfPath("/data/0042.msg"), "0042");
    EXPECT_FALSE(PageNumberOfPath("/data/tutor.htm"));
    EXPECT_FALSE(PageNumberOfPath("/data/10021.msg"));
    EXPECT_FALSE(PageNumberOfPath("/1002.msg/"));
    EXPECT_EQ(PageNumberValue("0042"), 42);
    EXPECT_EQ(PageNumberValue("9999"), 9999);
    EXPECT_FALSE(PageNumberValue("42:a"));
    EXPECT_FALSE(PageNumberValue(""));
    EXPECT_FALSE(PageNumberValue("-100"));
}

}  // namespace
}  // namespace teluri
