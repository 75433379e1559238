#include "core/printer_fonts_page.h"

#include "resource.h"

namespace plugin {

void PrinterFontsPage::OnInit(plat::Controls& controls) {
    controls.ClearItems(IDC_FONT_LIST);

    tree_.AttachImages();
    tree_.Clear();
    const int root = tree_.Add(kFontTreeTop, kFontTreeTitle, kFontRootImage);
    if (root >= 0) {
        std::array<int, kFontFaces.size()> faces{};
        for (std::size_t i = 0; i < kFontFaces.size(); ++i) {
            faces[i] = tree_.Add(root, kFontFaces[i], kFontFaceImage);
            // A size goes under its own face only: one whose face the tree
            // did not take is left out rather than shown at the wrong level.
            if (faces[i] < 0) continue;
            for (const ResidentFont& font : kResidentFonts) {
                if (font.face == i) tree_.Add(faces[i], font.treeText, kFontSizeImage);
            }
        }
        tree_.Expand(root);
        for (int face : faces) {
            if (face >= 0) tree_.Expand(face);
        }
        tree_.Select(root);
    }

    for (const ResidentFont& font : kResidentFonts) {
        const int row = controls.AddItem(IDC_FONT_LIST, font.name);
        controls.SetItemText(IDC_FONT_LIST, row, kFontPointColumn, font.points);
    }
}

}  // namespace plugin
