#pragma once
// The arithmetic of the watermark's preview: where the picture goes in the
// frame for a size and a position, and where a rotated text starts so that
// it is centred on the text picture.
#include <vector>

#include "core/watermark_graphics.h"

namespace plugin {

// The tiled position, and the smallest size it takes.
inline constexpr int kTiledPosition = 9;
inline constexpr int kTiledMinimumSize = 20;

// The bands of a `picture` of that size stretched onto a `frame`, at `size`
// percent of the frame's width and at `position` 0..8 (rows top, middle,
// bottom; columns left, centre, right) or tiled (9). Nothing when the
// picture or the frame is empty.
std::vector<Blit> PreviewLayout(PixelSize frame, PixelSize picture, int size, int position);

// The baseline start of a text of extent `text` rotated by `angle` degrees
// so that it is centred on the 300 x 300 text picture.
struct TextOrigin {
    int x = 0;
    int y = 0;
    bool operator==(const TextOrigin&) const = default;
};
TextOrigin CentredTextOrigin(PixelSize text, int angle);

}  // namespace plugin
