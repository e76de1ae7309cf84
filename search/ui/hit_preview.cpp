#include "search/ui/hit_preview.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QTimer>

#include "base/errors.h"
#include "base/files.h"
#include "base/paths.h"
#include "base/ui/preview_popup.h"
#include "base/ui/qtext.h"
#include "search/hit_context.h"

namespace teluri {
namespace {

const char* const kNotInText = "本文に見つかりません";
const QString kCut = QString::fromUtf8("…");

QString Escaped(std::string_view bytes) {
    return FromCp932(std::string(bytes)).toHtmlEscaped();
}

QString LineHtml(const ContextLine& line) {
    QString html = line.cutBefore ? kCut : QString();
    std::size_t at = 0;
    for (const auto& [begin, end] : line.marks) {
        html += Escaped(std::string_view(line.text).substr(at, begin - at));
        html += "<b>" + Escaped(std::string_view(line.text).substr(begin, end - begin)) + "</b>";
        at = end;
    }
    html += Escaped(std::string_view(line.text).substr(at));
    if (line.cutAfter) {
        html += kCut;
    }
    return html;
}

}  // namespace

HitPreview::HitPreview(QAbstractItemView& list, const Archive& archive)
    : QObject(&list),
      list_(list),
      viewport_(list.viewport()),
      archive_(archive),
      popup_(new PreviewPopup(list)),
      timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    timer_->setInterval(kRestDelay);
    connect(timer_, &QTimer::timeout, this, &HitPreview::Rested);
    list_.setMouseTracking(true);
    list_.viewport()->installEventFilter(this);
    connect(list_.selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                // Rows chosen while the window is hidden (the next hit from
                // the main window) are not previewed.
                if (!current.isValid() || !list_.isVisible()) {
                    Hide();
                    return;
                }
                emit rowWanted(current.row());
            });
    connect(list_.model(), &QAbstractItemModel::modelReset, this, &HitPreview::Hide);
}

QString HitPreview::PreviewText(const std::string& number, const std::string& title,
                                const std::optional<std::string>& content,
                                const std::string& text) {
    if (!content) {
        return MissingPageNote(number);
    }
    QString html = "<div>" + Escaped(number + " " + title) + "</div><hr>";
    const std::vector<ContextLine> lines = HitContext(*content, text);
    if (lines.empty()) {
        html += "<div>" + QString::fromUtf8(kNotInText) + "</div>";
    }
    for (const ContextLine& line : lines) {
        html += "<div>" + LineHtml(line) + "</div>";
    }
    return html;
}

void HitPreview::Show(int row, const std::string& number, const std::string& title,
                      const std::string& text) {
    const std::string folder = IncludeTrailingDelimiter(archive_.files.Folder());
    std::optional<std::string> content;
    try {
        content = ReadFileHead(PageFile(folder, PageNumberOf(number)), kContextReadBytes);
    } catch (const IoError&) {
    }
    const QModelIndex index = list_.model()->index(row, 0);
    QRect rowRect = list_.visualRect(index);
    rowRect.setLeft(0);
    rowRect.setRight(list_.viewport()->width());
    const QRect anchor(list_.viewport()->mapToGlobal(rowRect.topLeft()), rowRect.size());
    popup_->ShowText(PreviewText(number, title, content, text), anchor);
}

void HitPreview::Hide() {
    timer_->stop();
    restRow_ = -1;
    popup_->hide();
}

bool HitPreview::eventFilter(QObject* watched, QEvent* event) {
    // The viewport kept from the start: events also come while the list is
    // destroyed, when it can no longer be asked for it.
    if (watched == viewport_) {
        if (event->type() == QEvent::MouseMove) {
            const int row =
                list_.indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()).row();
            if (row != restRow_) {
                restRow_ = row;
                timer_->stop();
                if (row >= 0) {
                    timer_->start();
                }
            }
        } else if (event->type() == QEvent::Leave) {
            timer_->stop();
            restRow_ = -1;
        }
    }
    return QObject::eventFilter(watched, event);
}

void HitPreview::Rested() {
    if (restRow_ >= 0 && list_.isVisible()) {
        emit rowWanted(restRow_);
    }
}

}  // namespace teluri
