#include "htmlview/ui/page_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QUrl>

#include <algorithm>

#include "base/errors.h"
#include "base/paths.h"
#include "base/ui/fonts.h"
#include "base/ui/qtext.h"
#include "htmlview/page_excerpt.h"
#include "htmlview/page_markup.h"

namespace teluri {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

int DrawingSize(int points) {
    return std::max(points, 1);
}

QString NotFoundDocument(const std::string& path) {
    return QString::fromUtf8(
               "<html><body><h2>ページが見つかりません</h2>"
               "<p>ファイル <b>%1</b> は見つかりません。</p></body></html>")
        .arg(FromLocalPath(path).toHtmlEscaped());
}

// Puts a bold line on a pale yellow ground above the document.
void PutNoteFirst(QTextDocument& document, const QString& note) {
    QTextCursor cursor(&document);
    cursor.insertBlock();
    cursor.movePosition(QTextCursor::Start);
    QTextBlockFormat block;
    block.setBackground(QColor(0xff, 0xff, 0xc0));
    block.setBottomMargin(8);
    cursor.setBlockFormat(block);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(note, bold);
}

QString DecodeDocument(const std::string& bytes) {
    if (std::string_view(bytes).substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        return QString::fromUtf8(bytes.data() + kUtf8Bom.size(),
                                 static_cast<qsizetype>(bytes.size() - kUtf8Bom.size()));
    }
    return FromCp932(bytes);
}

}  // namespace

PageView::PageView(QWidget* parent) : QTextBrowser(parent) {
    // Links of archived pages point at the board's web server: a click on
    // one does not leave the page.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    ApplyFonts();
}

void PageView::LoadUrl(const QString& url) {
    documentUrl_ = url;
    const std::string path = LocalPathOfUrl(url.toStdString());
    const std::optional<ShownPage> page = path.empty() ? std::nullopt : ReadShownPage(path);
    // Relative pictures of the page are found beside it.
    document()->setBaseUrl(QUrl::fromLocalFile(FromLocalPath(path)));
    if (page) {
        ShowPage(*page);
    } else {
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setHtml(NotFoundDocument(path.empty() ? url.toStdString() : path));
    }
    emit pageShown(url);
}

void PageView::ShowNothing() {
    documentUrl_.clear();
    clear();
}

void PageView::ShowPage(const ShownPage& page) {
    setWordWrapMode(page.breakAnywhere || page.asText ? QTextOption::WrapAnywhere
                                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
    if (page.asText) {
        setPlainText(DecodeDocument(page.bytes));
        PutNoteFirst(*document(), QString::fromUtf8("このページはタグの入れ子が深すぎるため、"
                                                    "HTML のソースのまま表示しています。"));
    } else {
        setHtml(DecodeDocument(NormalisePageMarkup(page.bytes)));
    }
    if (page.cut) {
        PutNoteFirst(*document(), QString::fromUtf8("このページは大きすぎるため、最初の %1 KB "
                                                    "だけを表示しています。")
                                      .arg(kShownPageBytes / 1024));
    }
}

QVariant PageView::loadResource(int, const QUrl& name) {
    // Pictures and style sheets come only from regular files of a sensible
    // size: a page may name a device that never ends, or a huge file.
    const QUrl url = document()->baseUrl().resolved(name);
    if (!url.isLocalFile()) {
        return QByteArray("");
    }
    const std::optional<std::string> bytes = ReadPageResource(ToLocalPath(url.toLocalFile()));
    return bytes ? QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()))
                 : QByteArray("");
}

void PageView::SetFontSize(int points) {
    fontSize_ = points;
    ApplyFonts();
}

void PageView::SetFixedFontSize(int points) {
    fixedFontSize_ = points;
    ApplyFonts();
}

void PageView::ApplyFonts() {
    QFont font(JapaneseUiFamily());
    font.setPointSize(DrawingSize(fontSize_));
    document()->setDefaultFont(font);
    // The heading sizes are fixed; the fixed-pitch text follows FixedFont.
    document()->setDefaultStyleSheet(
        QString("pre, tt, code, kbd, samp, xmp, listing { font-family: '%1'; font-size: %2pt; }"
                "h1, h2, h3, h4, h5, h6 { font-family: '%3'; font-weight: bold; }"
                "h1 { font-size: 24pt; } h2 { font-size: 18pt; } h3 { font-size: 14.25pt; }"
                "h4 { font-size: 12pt; } h5 { font-size: 9.75pt; } h6 { font-size: 8.25pt; }")
            .arg(JapaneseFixedFamily())
            .arg(DrawingSize(fixedFontSize_))
            .arg(JapaneseUiFamily()));
}

QString PageView::SelectionText(int, int) const {
    return textCursor().selection().toPlainText();
}

void PageView::SelectAllText() {
    selectAll();
}

void PageView::PrintDocument(QPrinter& printer) {
    document()->print(&printer);
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
        throw IoError("印刷できませんでした");
    }
}

void PageView::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
    QTextBrowser::mousePressEvent(event);
}

void PageView::contextMenuEvent(QContextMenuEvent* event) {
    // The window pops up its own menu on the right button.
    event->accept();
}

}  // namespace teluri
