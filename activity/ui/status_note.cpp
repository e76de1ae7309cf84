#include "activity/ui/status_note.h"

#include <QEvent>
#include <QTimer>

#include <algorithm>

#include "activity/ui/panel_status_bar.h"

namespace teluri {

StatusNote::StatusNote(PanelStatusBar& bar, int panel)
    : QLabel(&bar), bar_(bar), panel_(panel), timer_(new QTimer(this)) {
    setObjectName("StatusNote");
    timer_->setSingleShot(true);
    timer_->setInterval(kShownFor);
    connect(timer_, &QTimer::timeout, this, &QLabel::clear);
    bar_.installEventFilter(this);
    Place();
}

void StatusNote::Say(const QString& text) {
    setText(text);
    if (text.isEmpty()) {
        timer_->stop();
    } else {
        timer_->start();
    }
}

bool StatusNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &bar_ && event->type() == QEvent::Resize) {
        Place();
    }
    return QLabel::eventFilter(watched, event);
}

void StatusNote::Place() {
    int left = 0;
    for (int i = 0; i < panel_ && i < bar_.PanelCount(); ++i) {
        left += bar_.PanelWidth(i);
    }
    // Inside the bevel: two pixels from its edges.
    setGeometry(left + 3, 3, std::max(0, bar_.width() - left - 6), bar_.height() - 4);
}

}  // namespace teluri
