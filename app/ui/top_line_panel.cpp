#include "app/ui/top_line_panel.h"

namespace teluri {

TopLinePanel::TopLinePanel(QWidget* parent, const char* name, const char* lineName, int height)
    : QFrame(parent) {
    setObjectName(name);
    setFixedHeight(height);
    line_ = new QFrame(this);
    line_->setObjectName(lineName);
    line_->setFrameShape(QFrame::HLine);
    line_->setFrameShadow(QFrame::Sunken);
}

void TopLinePanel::resizeEvent(QResizeEvent* event) {
    line_->setGeometry(0, 0, width(), 2);
    QFrame::resizeEvent(event);
}

}  // namespace teluri
