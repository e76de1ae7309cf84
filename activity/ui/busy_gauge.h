// The busy gauge: a non-visual component that draws a gradient band into
// one panel of a status bar, moved one step each time its owner writes
// Position or calls Advance. The track follows every write; the screen gets
// it inside the write at most once per display frame, so that the band moves
// while its caller holds the GUI thread, and the last position is drawn when
// the event loop next runs.
#pragma once

#include <QColor>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include "activity/gauge_drawing.h"
#include "activity/ui/panel_status_bar.h"

namespace teluri {

class GaugeView;

class BusyGauge : public QObject {
  public:
    static constexpr int kStepPerFile = 4;

    explicit BusyGauge(QObject* owner);
    ~BusyGauge() override;

    int Position() const { return position_; }
    // Stores value mod 1000 (with the value's sign) and draws, but only while
    // the gauge is attached to a status bar with the panel `GaugeIndex`.
    virtual void SetPosition(int value);
    virtual void Advance(int amount);
    // One step of a run over files, and back to rest at the run's end.
    void Step() { Advance(kStepPerFile); }
    void Reset() { SetPosition(0); }

    PanelStatusBar* Control() const { return control_; }
    // Attaches the gauge to a status bar and draws; detached again when the
    // status bar is destroyed.
    void SetControl(PanelStatusBar* statusBar);

    std::uint32_t GaugeIndex() const { return gaugeIndex_; }
    void SetGaugeIndex(std::uint32_t index) {
        gaugeIndex_ = index;
        panelFound_ = false;
    }

    // The track's background, and the band's ends: it fades from the tail
    // into the head.
    const QColor& TrackColor() const { return trackColor_; }
    const QColor& BandHeadColor() const { return bandHeadColor_; }
    const QColor& BandTailColor() const { return bandTailColor_; }
    // The strips are rendered anew.
    void SetColors(const QColor& track, const QColor& bandHead, const QColor& bandTail);

    // The band as drawn on the track; made when asked for (by the view's
    // paint, or for inspection), not at every step.
    const Pixels& Track() const;

  private:
    std::optional<GaugeRect> PanelRect() const;
    void BuildStrips();
    void DrawGauge();
    // `panel`: PanelRect's answer, already asked for.
    void DrawGauge(const GaugeRect& panel);

    int position_ = 0;
    QPointer<PanelStatusBar> control_;
    QMetaObject::Connection controlDestroyed_;
    std::uint32_t gaugeIndex_ = 0;
    // Whether the last full step found the panel: the steps after it within
    // a display frame need not look again.
    bool panelFound_ = false;
    QColor trackColor_{192, 192, 192};
    QColor bandHeadColor_{128, 128, 128};
    QColor bandTailColor_{192, 192, 192};
    mutable Pixels track_{kTrackWidth, 1};
    mutable bool trackOutdated_ = false;
    Pixels forward_{kStripWidth, 1};
    Pixels backward_{kStripWidth, 1};
    QPointer<GaugeView> view_;
};

}  // namespace teluri
