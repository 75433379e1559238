#pragma once
// A column of a report-style list view, as a page describes it.
#include <string_view>

namespace plugin {

struct ListColumn {
    std::string_view header;
    int width;  // pixels
};

}  // namespace plugin
