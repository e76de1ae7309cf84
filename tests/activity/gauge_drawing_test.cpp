#include "activity/gauge_drawing.h"

#include <gtest/gtest.h>

namespace teluri {
namespace {

std::uint8_t Grey(const Rgb& pixel) {
    EXPECT_EQ(pixel.red, pixel.green);
    EXPECT_EQ(pixel.green, pixel.blue);
    return pixel.red;
}

struct Strips {
    Pixels forward{kStripWidth, 1};
    Pixels backward{kStripWidth, 1};
    Strips() {
        const Rgb silver{192, 192, 192};
        const Rgb gray{128, 128, 128};
        PaintGradient(forward, {0, 0, kStripWidth, 1}, silver, gray);
        PaintGradient(backward, {0, 0, kStripWidth, 1}, gray, silver);
    }
};

TEST(GaugeStripTest, DefaultStripsRunBetweenTheColours) {
    const Strips strips;
    const int forward[] = {192, 191, 191, 190, 190, 189};
    const int backward[] = {128, 128, 129, 129, 130, 130};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Grey(strips.forward.At(i, 0)), forward[i]) << i;
        EXPECT_EQ(Grey(strips.backward.At(i, 0)), backward[i]) << i;
    }
    EXPECT_EQ(Grey(strips.forward.At(127, 0)), 128);
    EXPECT_EQ(Grey(strips.backward.At(127, 0)), 191);
}

TEST(GaugeStripTest, FallingChannelsTruncateTowardZero) {
    Pixels strip(4, 1);
    PaintGradient(strip, {0, 0, 4, 1}, Rgb{0, 255, 10}, Rgb{255, 0, 10});
    EXPECT_EQ(strip.At(1, 0), (Rgb{63, 191, 10}));
    EXPECT_EQ(strip.At(3, 0), (Rgb{191, 63, 10}));
}

TEST(GaugeTrackTest, BandPlaceOverOneCycle) {
    // Position -> first band column; the band is 128 columns wide.
    const std::pair<int, int> cases[] = {{0, -128},  {1, -128},  {2, -127},  {250, 0}, {499, 127},
                                         {500, 256}, {501, 256}, {502, 255}, {999, 1}};
    for (const auto& [position, left] : cases) {
        EXPECT_EQ(BandLeft(position), left) << position;
    }
}

TEST(GaugeTrackTest, BackgroundOnlyAtTheTurningPoints) {
    const Strips strips;
    const Rgb silver{192, 192, 192};
    Pixels track(kTrackWidth, 1);
    for (const int position : {0, 1, 500, 501, -4}) {
        DrawTrack(track, position, silver, strips.forward, strips.backward);
        for (int x = 0; x < kTrackWidth; ++x) {
            ASSERT_EQ(track.At(x, 0), silver) << position << " " << x;
        }
    }
}

TEST(GaugeTrackTest, HeadLeadsInTheDirectionOfTravel) {
    const Strips strips;
    const Rgb silver{192, 192, 192};
    Pixels track(kTrackWidth, 1);
    // Moving right at position 250: columns 0-127 hold the forward strip,
    // its head (grey 128) at column 127.
    DrawTrack(track, 250, silver, strips.forward, strips.backward);
    EXPECT_EQ(Grey(track.At(0, 0)), 192);
    EXPECT_EQ(Grey(track.At(127, 0)), 128);
    EXPECT_EQ(track.At(128, 0), silver);
    // Moving left at position 999: s = 511, band 1-128, head at column 1.
    DrawTrack(track, 999, silver, strips.forward, strips.backward);
    EXPECT_EQ(track.At(0, 0), silver);
    EXPECT_EQ(Grey(track.At(1, 0)), 128);
    EXPECT_EQ(Grey(track.At(128, 0)), 191);
    EXPECT_EQ(track.At(129, 0), silver);
}

TEST(GaugeRectTest, PanelRectanglesAndInsets) {
    const std::vector<int> widths = {75, 80, 50};
    EXPECT_EQ(PanelRect(widths, 19, 0), (GaugeRect{1, 3, 74, 18}));
    EXPECT_EQ(PanelRect(widths, 19, 1), (GaugeRect{78, 3, 154, 18}));
    EXPECT_EQ(DrawnArea(*PanelRect(widths, 19, 0)), (GaugeRect{2, 4, 73, 17}));
    EXPECT_EQ(DrawnArea(*PanelRect(widths, 19, 1)), (GaugeRect{79, 4, 153, 17}));
    EXPECT_FALSE(PanelRect(widths, 19, 3).has_value());
    EXPECT_FALSE(PanelRect(widths, 19, 0x80000000u).has_value());
    EXPECT_FALSE(PanelRect({}, 19, 0).has_value());
}

}  // namespace
}  // namespace teluri
