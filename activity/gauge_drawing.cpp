#include "activity/gauge_drawing.h"

#include <algorithm>

namespace teluri {
namespace {

std::uint8_t Blend(std::uint8_t a, std::uint8_t b, double t) {
    // The difference is a signed 16-bit number; the sum is truncated.
    const auto difference = static_cast<std::int16_t>(b - a);
    return static_cast<std::uint8_t>(static_cast<int>(a + difference * t));
}

}  // namespace

void PaintGradient(Pixels& target, const GaugeRect& rect, Rgb a, Rgb b) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    for (int i = 0; i < width; ++i) {
        const double t = static_cast<double>(i) / width;
        const Rgb color{Blend(a.red, b.red, t), Blend(a.green, b.green, t),
                        Blend(a.blue, b.blue, t)};
        for (int y = 0; y < height; ++y) {
            const int tx = rect.left + i;
            const int ty = rect.top + y;
            if (tx >= 0 && tx < target.width && ty >= 0 && ty < target.height) {
                target.At(tx, ty) = color;
            }
        }
    }
}

int BandLeft(int position) {
    const int s = position * 512 / 1000;
    return position < 500 ? s - kStripWidth : 512 - s;
}

void DrawTrack(Pixels& track, int position, Rgb color, const Pixels& forward,
               const Pixels& backward) {
    std::fill(track.data.begin(), track.data.end(), color);
    const Pixels& strip = position < 500 ? forward : backward;
    const int left = BandLeft(position);
    for (int x = 0; x < strip.width; ++x) {
        const int column = left + x;
        if (column >= 0 && column < track.width) {
            for (int y = 0; y < std::min(strip.height, track.height); ++y) {
                track.At(column, y) = strip.At(x, y);
            }
        }
    }
}

std::optional<GaugeRect> PanelRect(const std::vector<int>& panelWidths, int statusBarHeight,
                                   std::uint32_t gaugeIndex) {
    // Compared as signed numbers: an index of 2^31 or more is negative and
    // so below any count; it is then taken as out of range all the same.
    const auto index = static_cast<std::int32_t>(gaugeIndex);
    if (index < 0 || index >= static_cast<std::int32_t>(panelWidths.size())) {
        return std::nullopt;
    }
    int x = 0;
    for (std::int32_t i = 0; i < index; ++i) {
        x += panelWidths[static_cast<std::size_t>(i)];
    }
    const int inset = index == 0 ? 1 : 3;
    return GaugeRect{x + inset, 3, x + panelWidths[static_cast<std::size_t>(index)] - 1,
                     statusBarHeight - 1};
}

GaugeRect DrawnArea(const GaugeRect& panel) {
    return {panel.left + 1, panel.top + 1, panel.right - 1, panel.bottom - 1};
}

}  // namespace teluri
