#pragma once
// Drawing for the watermark page's tests: a fixed list of faces, text
// measured at 10 x 20 pixels a character, the text picture a black block
// where the text starts, and every frame painting recorded.
#include <string>
#include <vector>

#include "core/watermark_graphics.h"

namespace plugin_test {

class FakeWatermarkGraphics : public plugin::WatermarkGraphics {
public:
    std::vector<std::string> TrueTypeFaces() override { return faces; }
    plugin::PixelSize MeasureText(const plugin::TextFont&, std::string_view text) override {
        return {static_cast<int>(10 * text.size()), 20};
    }
    plugin::Picture RenderText(const plugin::TextFont& font, std::string_view text, int x, int y) override {
        drawn.push_back({font, std::string(text), x, y});
        plugin::Picture picture;
        picture.width = picture.height = plugin::kTextPictureSide;
        picture.pixels.assign(picture.Stride() * picture.height, 0xFF);
        for (int row = std::max(0, y - 20); row < std::min(y, picture.height); ++row) {
            for (int column = std::max(0, x); column < std::min<int>(x + 10 * text.size(), picture.width); ++column) {
                const std::size_t at = (picture.height - 1 - row) * picture.Stride() + 3 * column;
                picture.pixels[at] = picture.pixels[at + 1] = picture.pixels[at + 2] = 0;
            }
        }
        return picture;
    }
    plugin::PixelSize FrameSize() override { return frame; }
    void PaintFrame(const plugin::Picture& picture, std::span<const plugin::Blit> blits, bool text) override {
        painted.push_back({picture, {blits.begin(), blits.end()}, text});
    }

    struct Drawn {
        plugin::TextFont font;
        std::string text;
        int x, y;
    };
    struct Painting {
        plugin::Picture picture;
        std::vector<plugin::Blit> blits;
        bool text;
    };
    std::vector<std::string> faces = {"Arial", "Courier New", "Times New Roman"};
    plugin::PixelSize frame = {100, 140};
    std::vector<Drawn> drawn;
    std::vector<Painting> painted;
};

}  // namespace plugin_test
