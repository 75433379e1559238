#include "core/watermark_preview.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace plugin {

namespace {
// The degrees-to-radians factor the printing side turns its text by; a hair
// above pi/180, kept so the preview places the text as the print does.
constexpr double kRadiansPerDegree = 0.017453292522222223;

int Narrow(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// One column of tiles of height `tile` from the frame's top: whole tiles,
// then one cut to what is left of the frame's height, showing the top of
// the picture's band.
void TileColumn(std::vector<Blit>& blits, int x, int width, int frameHeight, int tile, PixelRect source) {
    int y = 0;
    for (; y + tile <= frameHeight; y += tile) blits.push_back({{x, y, width, tile}, source});
    const int rest = frameHeight - y;
    if (rest <= 0) return;
    PixelRect cut = source;
    cut.height = Narrow(std::int64_t{source.height} * rest / tile);
    blits.push_back({{x, y, width, rest}, cut});
}
}  // namespace

std::vector<Blit> PreviewLayout(PixelSize frame, PixelSize picture, int size, int position) {
    std::vector<Blit> blits;
    const std::int64_t wp = frame.cx, hp = frame.cy, bw = picture.cx, bh = picture.cy;
    if (wp <= 0 || hp <= 0 || bw <= 0 || bh <= 0) return blits;
    const bool tiled = position == kTiledPosition;
    const std::int64_t s = std::clamp(tiled ? std::max(size, kTiledMinimumSize) : size, 0, 100);

    // The picture's rows that fit the frame's height at this width.
    const std::int64_t h = s == 0 ? bh : std::min(bh, hp * bw * 100 / (wp * s));
    const std::int64_t w = wp * s / 100;
    const std::int64_t d = std::min(hp, s * h * wp / (bw * 100));

    if (tiled) {
        if (d <= 0 || w <= 0) return blits;
        const PixelRect band{0, 0, Narrow(bw), Narrow(h)};
        const std::int64_t columns = 100 / s;
        for (std::int64_t i = 0; i < columns; ++i) {
            TileColumn(blits, Narrow(i * w), Narrow(w), Narrow(hp), Narrow(d), band);
        }
        // The strip right of the whole columns shows the picture's left part.
        const std::int64_t strip = wp - columns * w;
        if (strip > 0) {
            PixelRect left = band;
            left.width = Narrow(bw * strip / w);
            TileColumn(blits, Narrow(columns * w), Narrow(strip), Narrow(hp), Narrow(d), left);
        }
        return blits;
    }

    const int column = std::clamp(position, 0, 8) % 3;
    const int row = std::clamp(position, 0, 8) / 3;
    const std::int64_t x = column == 0 ? 0 : column == 1 ? (wp - w) / 2 : wp - w;
    std::int64_t y = 0, first = 0;
    if (row == 1) {
        y = (hp - d) / 2;
        first = (bh - h) / 2;
    } else if (row == 2) {
        y = hp - d;
        first = bh - h;
    }
    if (w <= 0 || d <= 0) return blits;
    blits.push_back({{Narrow(x), Narrow(y), Narrow(w), Narrow(d)}, {0, Narrow(first), Narrow(bw), Narrow(h)}});
    return blits;
}

TextOrigin CentredTextOrigin(PixelSize text, int angle) {
    const double a = text.cx / 2;
    const double b = text.cy / 2;
    const double theta = angle * kRadiansPerDegree;
    const int dx = static_cast<int>(std::trunc(a * std::cos(theta) - b * std::sin(theta)));
    const int dy = static_cast<int>(std::trunc(a * std::sin(theta) + b * std::cos(theta)));
    const int centre = kTextPictureSide / 2;
    return {centre - dx, centre + dy};
}

}  // namespace plugin
