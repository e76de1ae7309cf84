#include "reading/ui/link_preview.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QUrl>

#include "base/errors.h"
#include "base/files.h"
#include "base/ui/preview_popup.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_view.h"
#include "reading/link_target.h"
#include "reading/page_preview.h"

namespace teluri {

LinkPreview::LinkPreview(PageView& html,
                         std::function<std::string(const std::string& number)> pageFile)
    : QObject(&html),
      html_(html),
      pageFile_(std::move(pageFile)),
      timer_(new QTimer(this)),
      popup_(new PreviewPopup(html)) {
    timer_->setObjectName("tmrLinkPreview");
    timer_->setSingleShot(true);
    timer_->setInterval(kRestDelay);
    connect(&html_, qOverload<const QUrl&>(&QTextBrowser::highlighted), this,
            [this](const QUrl& link) { Hovered(link); });
    connect(timer_, &QTimer::timeout, this, [this] { Rested(); });
    // Presses anywhere in the program, also in the menus and in the
    // preview itself.
    qApp->installEventFilter(this);
}

bool LinkPreview::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool menuOpens = type == QEvent::Show && qobject_cast<QMenu*>(watched) != nullptr;
    if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress ||
        type == QEvent::ContextMenu || menuOpens) {
        timer_->stop();
        popup_->hide();
    }
    return QObject::eventFilter(watched, event);
}

QString LinkPreview::PreviewText(const std::string& number) const {
    std::optional<std::string> content;
    try {
        content = ReadFileHead(pageFile_(number), kPreviewBytes);
    } catch (const IoError&) {
    }
    if (!content) {
        return MissingPageNote(number);
    }
    // As rich text, so that long lines wrap in the popup.
    return Qt::convertFromPlainText(FromCp932(PagePreview(number, *content)), Qt::WhiteSpaceNormal);
}

void LinkPreview::Hovered(const QUrl& link) {
    timer_->stop();
    const LinkTarget target = LinkTargetOf(link.toEncoded().toStdString());
    if (target.kind != LinkTarget::Kind::kBoardPage) {
        popup_->hide();
        return;
    }
    number_ = target.value;
    timer_->start();
}

void LinkPreview::Rested() {
    // The link is also highlighted when the keyboard moves onto it; only a
    // pointer resting on it shows the preview.
    const QPoint at = html_.viewport()->mapFromGlobal(QCursor::pos());
    if (QApplication::activePopupWidget() != nullptr || !html_.viewport()->rect().contains(at) ||
        LinkTargetOf(html_.anchorAt(at).toStdString()).value != number_) {
        return;
    }
    popup_->ShowText(PreviewText(number_), QRect(QCursor::pos(), QSize(1, 16)));
}

}  // namespace teluri
