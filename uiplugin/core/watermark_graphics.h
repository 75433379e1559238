#pragma once
// What the watermark page needs of the screen: the TrueType faces it offers,
// the text picture drawn in a chosen font, and the preview frame painted.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/watermark_picture.h"

namespace plugin {

struct PixelSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// One band of the picture stretched onto the frame. Source rows count from
// the picture's top.
struct Blit {
    PixelRect target;
    PixelRect source;
    bool operator==(const Blit&) const = default;
};

// The font of a text watermark as the page's controls hold it.
struct TextFont {
    std::string face;
    int pointSize = 0;
    int style = 0;  // index of kWatermarkStyles
    int angle = 0;  // degrees, counter-clockwise
};

class WatermarkGraphics {
public:
    virtual ~WatermarkGraphics() = default;
    // The face names of the TrueType fonts the screen reports in the ANSI
    // character set, every face once, in the order reported.
    virtual std::vector<std::string> TrueTypeFaces() = 0;
    // The text's extent in `font`, unrotated.
    virtual PixelSize MeasureText(const TextFont& font, std::string_view text) = 0;
    // A white 300 x 300 canvas with `text` drawn black in `font`, its
    // baseline starting at (x, y), clipped to the canvas.
    virtual Picture RenderText(const TextFont& font, std::string_view text, int x, int y) = 0;
    // The client size of the preview frame.
    virtual PixelSize FrameSize() = 0;
    // Paints the frame white, then each band of `picture` stretched onto it
    // (COLORONCOLOR for a bitmap, BLACKONWHITE for text). No blits: white.
    virtual void PaintFrame(const Picture& picture, std::span<const Blit> blits, bool text) = 0;
};

}  // namespace plugin
