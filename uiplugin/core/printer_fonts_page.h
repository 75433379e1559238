#pragma once
// The "Fonte" printer page (template 119): the printer's resident fonts that
// the driver offers to applications, each with the point size to choose
// there to get it. The page reads and keeps nothing; what it shows is fixed.
#include <array>
#include <string_view>

#include "core/list_column.h"
#include "core/font_tree.h"
#include "ports/controls.h"

namespace plugin {

// The tree's pictures, as image indexes of the tree's image list.
constexpr int kFontRootImage = 0;
constexpr int kFontFaceImage = 1;
constexpr int kFontSizeImage = 2;

constexpr std::string_view kFontTreeTitle = "Fontes da Impressora e Tamanho das Fontes";
constexpr std::array<std::string_view, 3> kFontFaces{"Font A", "Font B", "Control Font"};

struct ResidentFont {
    std::size_t face;         // index into kFontFaces
    std::string_view name;    // the name applications list
    std::string_view points;  // the size that selects it
    // The tree's text: name and size with the blanks the page has always
    // shown between them (not one rule for all rows, so kept as written).
    std::string_view treeText;
};

constexpr std::array<ResidentFont, 15> kResidentFonts{{
    {0, "FontA11", "9.5", "FontA11    9.5"},
    {0, "FontA12", "19.0", "FontA12    19.0"},
    {0, "FontA21", "9.5", "FontA21    9.5"},
    {0, "FontA22", "19.0", "FontA22   19.0"},
    {0, "FontA24", "38.5", "FontA24   38.5"},
    {0, "FontA42", "19.0", "FontA42   19.0"},
    {0, "FontA44", "38.5", "FontA44   38.5"},
    {1, "FontB11", "7.0", "FontB11    7.0"},
    {1, "FontB12", "13.5", "FontB12    13.5"},
    {1, "FontB21", "7.0", "FontB21    7.0"},
    {1, "FontB22", "13.5", "FontB22   13.5"},
    {1, "FontB24", "27.0", "FontB24   27.0"},
    {1, "FontB42", "13.5", "FontB42   13.5"},
    {1, "FontB44", "27.0", "FontB44   27.0"},
    {2, "Control", "1.0", "Control    1.0"},
}};

// The hidden list's columns, in order: the font's name, its size.
constexpr std::array<ListColumn, 2> kFontColumns{{{"Font Name", 80}, {"Point", 50}}};
constexpr int kFontNameColumn = 0;
constexpr int kFontPointColumn = 1;

class PrinterFontsPage : public plat::DialogHandler {
public:
    explicit PrinterFontsPage(FontTree& tree) : tree_(tree) {}

    // Fills the tree and the list afresh, whatever they held.
    void OnInit(plat::Controls& controls) override;
    // Commands, clicks and apply change nothing: the defaults answer.

private:
    FontTree& tree_;
};

}  // namespace plugin
