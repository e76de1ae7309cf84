#include "activity/ui/busy_gauge.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "activity/ui/panel_status_bar.h"
#include "base/ui/display_frame.h"

namespace teluri {

// The gauge's drawing surface on the status bar: a child over the panel's
// drawn area, showing the gauge's track scaled to its size, each track
// column a vertical bar. The track is turned into an image when painted.
class GaugeView : public QWidget {
  public:
    GaugeView(QWidget* parent, const BusyGauge& gauge) : QWidget(parent), gauge_(gauge) {
        setObjectName("DynamicGauge1View");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // Shows the track over `area`. A screen shows one picture per display
    // frame, and runs step the gauge thousands of times a second while they
    // hold the GUI thread: the view is drawn at once only when a frame has
    // passed since its last drawing; otherwise it is marked for drawing when
    // the event loop next runs, or by a later step after the frame, so that
    // the last picture always reaches the screen.
    void Show(const GaugeRect& area) {
        const QRect rect(area.left, area.top, area.right - area.left, area.bottom - area.top);
        if (geometry() != rect) {
            setGeometry(rect);
        }
        if (isHidden()) {
            show();
        }
        if (DrawnThisFrame()) {
            update();
            updateAsked_ = true;
            return;
        }
        repaint();
        lastDrawn_.start();
    }

    // True when the view was drawn less than a display frame ago and its
    // next drawing is asked for: a step then need not touch the view, as
    // that drawing shows the gauge where it then stands.
    bool DrawingAsked() const { return updateAsked_ && DrawnThisFrame(); }

  protected:
    void paintEvent(QPaintEvent*) override {
        updateAsked_ = false;
        const Pixels& track = gauge_.Track();
        if (image_.width() != track.width || image_.height() != track.height) {
            image_ = QImage(track.width, track.height, QImage::Format_RGB32);
        }
        for (int y = 0; y < track.height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = 0; x < track.width; ++x) {
                const Rgb& pixel = track.At(x, y);
                line[x] = qRgb(pixel.red, pixel.green, pixel.blue);
            }
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(rect(), image_);
    }

  private:
    bool DrawnThisFrame() const {
        return lastDrawn_.isValid() && lastDrawn_.elapsed() < kDisplayFrameMilliseconds;
    }

    const BusyGauge& gauge_;
    QImage image_;
    QElapsedTimer lastDrawn_;
    bool updateAsked_ = false;
};

namespace {

Rgb ToRgb(const QColor& color) {
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

}  // namespace

BusyGauge::BusyGauge(QObject* owner) : QObject(owner) {
    setObjectName("DynamicGauge1");
    BuildStrips();
}

BusyGauge::~BusyGauge() {
    delete view_.data();
}

std::optional<GaugeRect> BusyGauge::PanelRect() const {
    if (control_.isNull()) {
        return std::nullopt;
    }
    std::vector<int> widths;
    for (int i = 0; i < control_->PanelCount(); ++i) {
        widths.push_back(control_->PanelWidth(i));
    }
    return teluri::PanelRect(widths, control_->height(), gaugeIndex_);
}

void BusyGauge::SetPosition(int value) {
    if (panelFound_ && !view_.isNull() && !control_.isNull() && view_->DrawingAsked()) {
        position_ = value % 1000;
        trackOutdated_ = true;
        return;
    }
    const std::optional<GaugeRect> panel = PanelRect();
    panelFound_ = panel.has_value();
    if (!panel) {
        return;
    }
    position_ = value % 1000;
    DrawGauge(*panel);
}

void BusyGauge::Advance(int amount) {
    SetPosition(position_ + amount);
}

void BusyGauge::SetControl(PanelStatusBar* statusBar) {
    disconnect(controlDestroyed_);
    delete view_.data();
    control_ = statusBar;
    if (statusBar == nullptr) {
        return;
    }
    try {
        controlDestroyed_ =
            connect(statusBar, &QObject::destroyed, this, [this] { control_ = nullptr; });
        view_ = new GaugeView(statusBar, *this);
        DrawGauge();
    } catch (...) {
        // Attaching failed: the gauge stays detached and says nothing.
        disconnect(controlDestroyed_);
        control_ = nullptr;
    }
}

void BusyGauge::SetColors(const QColor& track, const QColor& bandHead, const QColor& bandTail) {
    trackColor_ = track;
    bandHeadColor_ = bandHead;
    bandTailColor_ = bandTail;
    BuildStrips();
}

void BusyGauge::BuildStrips() {
    const GaugeRect strip{0, 0, kStripWidth, 1};
    PaintGradient(forward_, strip, ToRgb(bandTailColor_), ToRgb(bandHeadColor_));
    PaintGradient(backward_, strip, ToRgb(bandHeadColor_), ToRgb(bandTailColor_));
    DrawGauge();
}

const Pixels& BusyGauge::Track() const {
    if (trackOutdated_) {
        DrawTrack(track_, position_, ToRgb(trackColor_), forward_, backward_);
        trackOutdated_ = false;
    }
    return track_;
}

void BusyGauge::DrawGauge() {
    if (const std::optional<GaugeRect> panel = PanelRect()) {
        DrawGauge(*panel);
    }
}

void BusyGauge::DrawGauge(const GaugeRect& panel) {
    trackOutdated_ = true;
    if (view_.isNull()) {
        view_ = new GaugeView(control_, *this);
    }
    view_->Show(DrawnArea(panel));
}

}  // namespace teluri
