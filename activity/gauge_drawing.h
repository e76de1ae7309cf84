// The drawing logic of the busy gauge, free of any toolkit: the two gradient
// strips, the 256-column track with the band at its place,
// and the panel rectangle the track is scaled into.
//
// The band sweeps across the track and back in a cycle of 1000 positions:
// 0-499 to the right with the forward strip, 500-999 back to the left with
// the backward strip; the head is the band's darker end.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace teluri {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Right and bottom exclusive.
struct GaugeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const GaugeRect&, const GaugeRect&) = default;
};

// A picture of width x height pixels, row by row.
struct Pixels {
    Pixels(int width, int height) : width(width), height(height), data(width * height) {}
    Rgb& At(int x, int y) { return data[static_cast<std::size_t>(y * width + x)]; }
    const Rgb& At(int x, int y) const { return data[static_cast<std::size_t>(y * width + x)]; }

    int width;
    int height;
    std::vector<Rgb> data;
};

inline constexpr int kTrackWidth = 256;
inline constexpr int kStripWidth = 128;

// A horizontal linear gradient into `rect` of `target`: column i holds, in
// each channel, a + (b - a) * i / width truncated toward zero, so column 0 is
// exactly `a` and the last column stops short of `b`.
void PaintGradient(Pixels& target, const GaugeRect& rect, Rgb a, Rgb b);

// The track for a position: the background `color`, the band copied from
// the forward strip at (s - 128, s) or from the backward strip at
// (512 - s, 640 - s), s = position * 512 / 1000, clipped to the track.
void DrawTrack(Pixels& track, int position, Rgb color, const Pixels& forward,
               const Pixels& backward);

// The first column of the band on the track (may lie outside it).
int BandLeft(int position);

// The rectangle of panel `gaugeIndex` of a status bar with panels of the
// given widths and height: left = widths before it + inset (1 for the first
// panel, 3 for the others), top 3, right = that + width - 1, bottom = height
// - 1. Nothing when the index is not below the panel count.
std::optional<GaugeRect> PanelRect(const std::vector<int>& panelWidths, int statusBarHeight,
                                   std::uint32_t gaugeIndex);

// The area the track is drawn into: the panel rectangle shrunk by one pixel
// on every side.
GaugeRect DrawnArea(const GaugeRect& panel);

}  // namespace teluri
