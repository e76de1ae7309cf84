// The gauge component on a real status bar, offscreen.
#include "activity/ui/busy_gauge.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include <functional>

#include "activity/ui/panel_status_bar.h"

namespace teluri {
namespace {

// Calls `painted` before each paint of a widget.
class PaintWatch : public QObject {
  public:
    PaintWatch(QWidget& widget, std::function<void()> painted) : painted_(std::move(painted)) {
        widget.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted_();
        }
        return false;
    }

  private:
    std::function<void()> painted_;
};

}  // namespace

class BusyGaugeTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QWidget> window_;
    PanelStatusBar* bar_ = nullptr;
    BusyGauge* gauge_ = nullptr;

  private slots:
    void init() {
        window_ = std::make_unique<QWidget>();
        window_->resize(300, 40);
        bar_ = new PanelStatusBar(window_.get(), {75, 80, 50});
        bar_->setGeometry(0, 21, 300, 19);
        window_->show();
        gauge_ = new BusyGauge(window_.get());
        gauge_->SetControl(bar_);
    }

    void cleanup() { window_.reset(); }

    void initialValues() {
        BusyGauge fresh(nullptr);
        QCOMPARE(fresh.Position(), 0);
        QCOMPARE(fresh.Control(), nullptr);
        QCOMPARE(fresh.GaugeIndex(), 0u);
        QCOMPARE(fresh.TrackColor(), QColor(192, 192, 192));
        QCOMPARE(fresh.BandHeadColor(), QColor(128, 128, 128));
        QCOMPARE(fresh.BandTailColor(), QColor(192, 192, 192));
        // Detached: writes are ignored.
        fresh.SetPosition(40);
        fresh.Advance(4);
        QCOMPARE(fresh.Position(), 0);
    }

    void positionKeepsTheRemainder() {
        const std::pair<int, int> writes[] = {{1000, 0}, {1003, 3}, {-4, -4}, {499, 499}};
        for (const auto& [written, stored] : writes) {
            gauge_->SetPosition(written);
            QCOMPARE(gauge_->Position(), stored);
        }
        gauge_->SetPosition(996);
        gauge_->Advance(4);
        QCOMPARE(gauge_->Position(), 0);
        for (int i = 0; i < 250; ++i) {
            gauge_->Advance(4);
        }
        QCOMPARE(gauge_->Position(), 0);
    }

    void panelIndexOutOfRangeIgnoresWrites() {
        gauge_->SetPosition(12);
        gauge_->SetGaugeIndex(3);
        gauge_->SetPosition(40);
        QCOMPARE(gauge_->Position(), 12);
    }

    void destroyedStatusBarDetaches() {
        gauge_->SetPosition(8);
        delete bar_;
        QCOMPARE(gauge_->Control(), nullptr);
        gauge_->Advance(4);
        QCOMPARE(gauge_->Position(), 8);
    }

    void coloursRenderTheBandAnew() {
        gauge_->SetPosition(300);
        const Pixels before = gauge_->Track();
        const QColor silver(192, 192, 192);
        gauge_->SetColors(silver, QColor(128, 128, 128), silver);
        QVERIFY(gauge_->Track().data == before.data);
        gauge_->SetColors(silver, QColor(255, 0, 0), silver);  // the head turns red
        QVERIFY(!(gauge_->Track().data == before.data));
        QCOMPARE(gauge_->BandHeadColor(), QColor(255, 0, 0));
    }

    // Steps come thousands of times a second: within a display frame of a
    // drawing, a step only moves the position, and the drawing that follows
    // shows where the last one left the gauge.
    void stepsWithinAFrameAreDrawnWhereTheLastLeftIt() {
        auto* view = bar_->findChild<QWidget*>("DynamicGauge1View");
        QVERIFY(view != nullptr);
        QList<int> painted;
        PaintWatch watch(*view, [&] { painted.append(gauge_->Position()); });
        gauge_->SetPosition(0);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 200; ++i) {
            gauge_->Advance(4);
        }
        if (clock.elapsed() >= 16) {
            QSKIP("the steps took longer than a display frame on this machine");
        }
        QVERIFY(painted.size() <= 2);  // at the first step, at most
        QTRY_VERIFY(!painted.isEmpty() && painted.back() == 800);
        QCOMPARE(gauge_->Position(), 800);
    }

    void bandShowsOnTheStatusBar() {
        gauge_->SetPosition(250);
        const QImage picture = bar_->grab().toImage();
        // The drawn area is (2, 4)-(73, 17); track columns 0-127 hold the band
        // with its head (grey 128) at the middle of the area.
        const QColor head = picture.pixelColor(36, 10);
        QVERIFY2(head.red() < 140, qPrintable(head.name()));
        QCOMPARE(picture.pixelColor(60, 10), QColor(192, 192, 192));
        // The tail fades into the background.
        QVERIFY(picture.pixelColor(2, 10).red() >= 190);
        gauge_->SetPosition(0);
        const QImage rest = bar_->grab().toImage();
        for (int x = 2; x < 73; ++x) {
            QCOMPARE(rest.pixelColor(x, 10), QColor(192, 192, 192));
        }
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::BusyGaugeTest)
#include "busy_gauge_test.moc"
