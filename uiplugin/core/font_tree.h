#pragma once
// The tree view of the "Fonte" page: items appended under a parent, each
// with one picture of the page's image list for both its normal and its
// selected state.
#include <string_view>

namespace plugin {

// The parent of the tree's top-level items.
constexpr int kFontTreeTop = -1;

class FontTree {
public:
    virtual ~FontTree() = default;
    // Every item removed.
    virtual void Clear() = 0;
    // The page's three pictures (printer, font face, size) given to the tree
    // as its images 0, 1 and 2.
    virtual void AttachImages() = 0;
    // Appends an item as the last child of `parent` (kFontTreeTop: at the top
    // level); the item's number for the calls below, or a negative number
    // when the tree took no item.
    virtual int Add(int parent, std::string_view text, int image) = 0;
    virtual void Expand(int item) = 0;
    virtual void Select(int item) = 0;
};

}  // namespace plugin
