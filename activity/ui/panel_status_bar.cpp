#include "activity/ui/panel_status_bar.h"

#include <QPainter>

namespace teluri {

PanelStatusBar::PanelStatusBar(QWidget* parent, std::vector<int> panelWidths)
    : QWidget(parent), panelWidths_(std::move(panelWidths)) {
    setObjectName("StatusBar1");
    setFixedHeight(19);
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
}

}  // namespace teluri
