#include "reading/ui/reading_status.h"

#include <QTextDocument>

#include "activity/ui/panel_status_bar.h"
#include "analysis/page_reader.h"
#include "base/errors.h"
#include "base/paths.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_view.h"
#include "reading/link_target.h"
#include "reading/ui/read_mark_file.h"
#include "reading/ui/tree_outline.h"
#include "threads/ui/thread_tree_model.h"

namespace teluri {
namespace {

// Where the texts go: the second and third panels and the space after them.
constexpr int kNumberPanel = 1;
constexpr int kDepthPanel = 2;
constexpr int kRest = 3;

QString NumberText(int number) {
    return QString("No.%1").arg(number, 4, 10, QChar('0'));
}

// The title a node text ("1234:title") holds.
QString NodeTitle(const QModelIndex& node) {
    const QByteArray bytes = NodeBytes(node);
    const qsizetype colon = bytes.indexOf(':');
    return ShownText(bytes.mid(colon < 0 ? 0 : colon + 1).toStdString());
}

// The title of a page without a node, from its file.
QString FileTitle(const std::string& path) {
    PageReader reader;
    try {
        if (reader.Load(path)) {
            return ShownText(reader.Title());
        }
    } catch (const TeluriError&) {
    }
    return {};
}

}  // namespace

ReadingStatus::ReadingStatus(PanelStatusBar& bar, PageView& page, TreeOutline& outline,
                             const ReadMarkFile& marks)
    : bar_(bar), page_(page), outline_(outline), marks_(marks) {}

bool ReadingStatus::IsRead(int number) const {
    return marks_.Marks().IsRead(marksKey_, number);
}

void ReadingStatus::PageShown(const QString& url, const QModelIndex& node,
                              const std::string& marksKey) {
    marksKey_ = marksKey;
    url_ = url;
    node_ = node;
    counts_ = false;
    ShowPage();
}

void ReadingStatus::FolderLoaded(const std::string& marksKey) {
    marksKey_ = marksKey;
    counts_ = true;
    ShowCounts();
}

void ReadingStatus::Clear() {
    url_.clear();
    node_ = QPersistentModelIndex();
    counts_ = false;
    for (int place : {kNumberPanel, kDepthPanel, kRest}) {
        bar_.SetText(place, {});
    }
}

void ReadingStatus::Refresh() {
    if (counts_) {
        ShowCounts();
    } else if (!url_.isEmpty()) {
        ShowPage();
    }
}

void ReadingStatus::Tell(const QString& note) {
    bar_.SetText(kRest, note);
}

void ReadingStatus::ShowCounts() {
    const TreeCounts counts =
        outline_.Outline().Count([this](int number) { return IsRead(number); });
    bar_.SetText(kNumberPanel, {});
    bar_.SetText(kDepthPanel, {});
    bar_.SetText(kRest, QString::fromUtf8("%1 ページ　%2 スレッド　未読 %3")
                            .arg(counts.pages)
                            .arg(counts.threads)
                            .arg(counts.unread));
}

void ReadingStatus::ShowPage() {
    const std::string path = LocalPathOfUrl(url_.toStdString());
    const std::optional<std::string> number = PageNumberOfPath(path);
    const std::optional<int> value = number ? PageNumberValue(*number) : std::nullopt;
    bar_.SetText(kNumberPanel, value ? NumberText(*value) : QString());
    const std::optional<std::size_t> position = outline_.PositionOf(node_);
    if (!position || *position >= outline_.Outline().Size()) {
        bar_.SetText(kDepthPanel, {});
        bar_.SetText(kRest, value ? FileTitle(path) : page_.documentTitle());
        return;
    }
    const ThreadOutline& outline = outline_.Outline();
    const auto isRead = [this](int page) { return IsRead(page); };
    const ThreadPlace place = outline.PlaceOf(*position, isRead);
    const TreeCounts counts = outline.Count(isRead);
    bar_.SetText(kDepthPanel, QString::fromUtf8("深さ%1").arg(place.depth));
    bar_.SetText(kRest,
                 QString::fromUtf8("%1　｜　スレッド %2　%3 / %4　｜　未読 スレッド %5・全体 %6")
                     .arg(NodeTitle(node_))
                     .arg(place.firstNumber, 4, 10, QChar('0'))
                     .arg(place.position)
                     .arg(place.count)
                     .arg(place.unread)
                     .arg(counts.unread));
}

}  // namespace teluri
