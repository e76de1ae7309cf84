#include "activity/ui/panel_status_bar.h"

#include <QPainter>

namespace teluri {
namespace {

// The text's distance from its panel's bevel.
constexpr int kTextMargin = 3;

}  // namespace

PanelStatusBar::PanelStatusBar(QWidget* parent, std::vector<int> panelWidths)
    : QWidget(parent), panelWidths_(std::move(panelWidths)), texts_(panelWidths_.size() + 1) {
    setObjectName("StatusBar1");
    setFixedHeight(19);
}

void PanelStatusBar::SetText(int place, const QString& text) {
    if (place <= 0 || place > PanelCount()) {
        return;
    }
    QString& held = texts_[static_cast<std::size_t>(place)];
    if (held != text) {
        held = text;
        update(TextRect(place));
    }
}

QString PanelStatusBar::TextAt(int place) const {
    return place >= 0 && place <= PanelCount() ? texts_[static_cast<std::size_t>(place)]
                                               : QString();
}

QRect PanelStatusBar::TextRect(int place) const {
    int left = 0;
    for (int i = 0; i < place; ++i) {
        left += PanelWidth(i);
    }
    const int width = place < PanelCount() ? PanelWidth(place) - 2 : this->width() - left;
    return QRect(left + kTextMargin, 3, std::max(0, width - 2 * kTextMargin), height() - 4);
}

void PanelStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    int left = 0;
    for (int i = 0; i < PanelCount(); ++i) {
        const int width = PanelWidth(i);
        if (i + 1 < PanelCount()) {
            // A sunken bevel inside the panel, two pixels below the top.
            const QRect panel(left, 2, width - 2, height() - 2);
            painter.setPen(shadow);
            painter.drawLine(panel.topLeft(), panel.topRight());
            painter.drawLine(panel.topLeft(), panel.bottomLeft());
            painter.setPen(light);
            painter.drawLine(panel.bottomLeft(), panel.bottomRight());
            painter.drawLine(panel.topRight(), panel.bottomRight());
        }
        left += width;
    }
    painter.setPen(palette().color(QPalette::WindowText));
    for (int place = 1; place <= PanelCount(); ++place) {
        const QString& text = texts_[static_cast<std::size_t>(place)];
        if (!text.isEmpty()) {
            const QRect at = TextRect(place);
            painter.drawText(at, Qt::AlignLeft | Qt::AlignVCenter,
                             fontMetrics().elidedText(text, Qt::ElideRight, at.width()));
        }
    }
}

}  // namespace teluri
