// The link preview with extreme pages: it reads only a page's first 64 KB
// and cuts a long title as the tree does, so that a page of hundreds of
// megabytes or a title of megabytes cannot hold the window.
#include <QApplication>
#include <QTest>

#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "htmlview/ui/page_view.h"
#include "reading/page_preview.h"
#include "reading/ui/link_preview.h"
#include "tests/support/pages.h"
#include "tests/support/peak_memory.h"
#include "tests/support/temp_folder.h"

namespace teluri {

class LinkPreviewTest : public QObject {
    Q_OBJECT

  private slots:
    // A 9 MB title took minutes at full load; a 300 MB page was read whole.
    void hugePagesAndTitlesGiveAShortPreviewFromTheirStart() {
        test::TempFolder folder;
        PageView view;
        LinkPreview preview(
            view, [&folder](const std::string& number) { return folder / (number + ".msg"); });
        std::string title;
        while (title.size() < 9'000'000) {
            title += test::Sjis("質問");
        }
        test::WriteFile(folder / "1001.msg", test::Page("1001", title));
        const auto start = std::chrono::steady_clock::now();
        const QString text = preview.PreviewText("1001");
        QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::seconds(5));
        QVERIFY2(text.startsWith("<p>1001 " + QString::fromUtf8("質問")),
                 qPrintable(text.left(100)));
        QVERIFY(text.contains(QChar(0x2026)));
        QVERIFY(text.size() < 1000);

        // 300 MB, most of it a hole: only the start is read.
        std::string page = test::Page("1002", "big") + "line<br>\r\n";
        test::WriteFile(folder / "1002.msg", page);
        std::filesystem::resize_file(folder / "1002.msg", 300u << 20);
        QString big;
        const std::size_t growth =
            test::PeakMemoryGrowth([&] { big = preview.PreviewText("1002"); });
        QVERIFY2(growth < (test::UnderAddressSanitizer() ? 64u : 16u) << 20,
                 std::to_string(growth).c_str());
        QVERIFY(big.startsWith("<p>1002 big"));
        QVERIFY(big.contains("line"));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::LinkPreviewTest)
#include "link_preview_test.moc"
