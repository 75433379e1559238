// The printer pages that have a class of their own, made for the page
// binding: each on the printer the driver opened for its sheet, but for the
// fonts page, which needs none.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "core/download_page.h"
#include "core/printer_fonts_page.h"
#include "core/utility_page.h"
#include "resource.h"
#include "win32/control_font_file.h"
#include "win32/page_binding.h"
#include "win32/encoding.h"
#include "win32/manifest_context.h"
#include "win32/plugin_module.h"
#include "win32/property_sheets.h"
#include "win32/system_library.h"
#include "win32/win32_logo_files.h"
#include "win32/win32_spooler.h"

namespace plugin_win32 {

namespace {
// The utility page with the spooler and the control-font file it works
// through, which live as long as it.
class BoundUtilityPage : private win32::Win32Spooler, private Win32ControlFontFile, public plugin::UtilityPage {
public:
    explicit BoundUtilityPage(plat::PrinterHandle printer)
        : UtilityPage(static_cast<win32::Win32Spooler&>(*this), printer, static_cast<Win32ControlFontFile&>(*this)) {}
};

// The download page with its spooler and files. Its window side draws the
// preview: the frame is owner-drawn, so it is drawn from the selected row's
// file every time the frame is painted, also after being covered.
class BoundDownloadPage : private win32::Win32Spooler,
                          private Win32LogoFiles,
                          public plugin::DownloadPage,
                          public PageWindowHook {
public:
    explicit BoundDownloadPage(plat::PrinterHandle printer)
        : DownloadPage(static_cast<win32::Win32Spooler&>(*this), printer, static_cast<Win32LogoFiles&>(*this)) {}

    void OnInit(plat::Controls& controls) override {
        SetUpReportList(GetDlgItem(reinterpret_cast<HWND>(controls.Window()), IDC_DL_LOGOS), plugin::kLogoColumns);
        DownloadPage::OnInit(controls);
    }

    bool OnWindowMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override {
        if (message == WM_DRAWITEM && wParam == IDC_DL_PREVIEW) {
            PageControls controls(page);
            DrawLogoPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), SelectedLogoPath(controls));
            *result = TRUE;
            return true;
        }
        if (message == WM_NOTIFY) {
            // A click, a selection moved by the keyboard or a row deleted:
            // the frame is drawn again for the row now selected.
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.idFrom == IDC_DL_LOGOS &&
                (header.code == NM_CLICK || header.code == LVN_ITEMCHANGED || header.code == LVN_DELETEITEM)) {
                InvalidateRect(GetDlgItem(page, IDC_DL_PREVIEW), nullptr, FALSE);
            }
        }
        return false;
    }
};

// The image lists of the common controls the pages' windows are made of:
// version 6 where the plug-in's manifest applies, else the process's (a
// static import would bind whatever version the process had loaded first).
// The library is held while a list of it may live.
class PageImageLists {
public:
    bool Bind() {
        if (library_) return true;
        if (HANDLE context = ActivationContext()) {
            // With the plug-in's context active the name leads to the
            // version-6 library of the side-by-side store, not to a search.
            const win32::ActivatedContext activation(context);
            library_.reset(LoadLibraryW(L"comctl32.dll"));
        } else if (HMODULE loaded = GetModuleHandleW(L"comctl32.dll")) {
            // No contexts (before Windows XP): the library the sheet itself
            // is of, held by its path.
            wchar_t path[MAX_PATH] = {};
            if (GetModuleFileNameW(loaded, path, MAX_PATH)) library_.reset(LoadLibraryW(path));
        }
        create.Bind(library_.get(), "ImageList_Create");
        replaceIcon.Bind(library_.get(), "ImageList_ReplaceIcon");
        destroy.Bind(library_.get(), "ImageList_Destroy");
        return create && replaceIcon && destroy;
    }

    win32::Entry<decltype(&ImageList_Create)> create;
    win32::Entry<decltype(&ImageList_ReplaceIcon)> replaceIcon;
    win32::Entry<decltype(&ImageList_Destroy)> destroy;

private:
    win32::ScopedLibrary library_;
};

// The fonts page's tree view. Items are numbered in the order they were
// added since the last Clear. The image list is the page's: the tree does
// not destroy it, so it goes with this object, which lives until the page's
// last message, after its controls are gone.
class Win32FontTree : public plugin::FontTree {
public:
    Win32FontTree() = default;
    Win32FontTree(const Win32FontTree&) = delete;
    Win32FontTree& operator=(const Win32FontTree&) = delete;
    ~Win32FontTree() override {
        if (images_) lists_.destroy(images_);
    }

    void SetWindow(HWND tree) { tree_ = tree; }

    void Clear() override {
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        items_.clear();
    }

    void AttachImages() override {
        // The list must be of the common controls the page's tree is.
        if (!lists_.Bind()) return;
        HIMAGELIST images = lists_.create(16, 16, ILC_MASK | ILC_COLOR24, 3, 0);
        if (!images) return;
        for (int id : {IDI_FONT_ROOT, IDI_FONT_FACE, IDI_FONT_SIZE}) {
            auto icon = static_cast<HICON>(
                LoadImageW(ModuleHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
            // Without its picture every later image would move to the wrong index.
            if (!icon || lists_.replaceIcon(images, -1, icon) < 0) {
                if (icon) DestroyIcon(icon);
                lists_.destroy(images);
                return;
            }
            DestroyIcon(icon);
        }
        SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
        // A second initialisation replaces the list the tree showed until now.
        if (images_) lists_.destroy(images_);
        images_ = images;
    }

    int Add(int parent, std::string_view text, int image) override {
        if (parent != plugin::kFontTreeTop && (parent < 0 || static_cast<std::size_t>(parent) >= items_.size())) {
            return -1;
        }
        std::wstring wide = win32::Utf8ToWide(text);
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent == plugin::kFontTreeTop ? TVI_ROOT : items_[static_cast<std::size_t>(parent)];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = wide.data();
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        auto item =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (!item) return -1;
        items_.push_back(item);
        return static_cast<int>(items_.size()) - 1;
    }

    void Expand(int item) override {
        if (HTREEITEM handle = Handle(item)) {
            SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle));
        }
    }

    void Select(int item) override {
        if (HTREEITEM handle = Handle(item)) {
            SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
        }
    }

private:
    HTREEITEM Handle(int item) const {
        return item >= 0 && static_cast<std::size_t>(item) < items_.size() ? items_[static_cast<std::size_t>(item)]
                                                                           : nullptr;
    }

    PageImageLists lists_;
    HWND tree_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::vector<HTREEITEM> items_;
};

// The fonts page with its tree. The hidden list's columns and whole-row
// selection are set up here, before the class fills the rows.
class BoundFontsPage : private Win32FontTree, public plugin::PrinterFontsPage {
public:
    BoundFontsPage() : PrinterFontsPage(static_cast<Win32FontTree&>(*this)) {}

    void OnInit(plat::Controls& controls) override {
        const auto page = reinterpret_cast<HWND>(controls.Window());
        SetWindow(GetDlgItem(page, IDC_FONT_TREE));
        SetUpReportList(GetDlgItem(page, IDC_FONT_LIST), plugin::kFontColumns);
        PrinterFontsPage::OnInit(controls);
    }
};

// The printer the driver opened for the sheet; the pages never close it.
plat::PrinterHandle PrinterOf(const DevicePageContext& context) {
    return context.commonUiParam ? reinterpret_cast<plat::PrinterHandle>(context.commonUiParam->hPrinter) : 0;
}
}  // namespace

bool HasDevicePageClass(int templateId) {
    return templateId == IDD_UTILITY_PAGE || templateId == IDD_DOWNLOAD_PAGE || templateId == IDD_FONT_PAGE;
}

std::unique_ptr<plat::DialogHandler> MakeDevicePage(int templateId, DevicePageContext& context) {
    // What the fonts page shows is the same for every printer.
    if (templateId == IDD_FONT_PAGE) return std::make_unique<BoundFontsPage>();
    const plat::PrinterHandle printer = PrinterOf(context);
    if (!printer) return nullptr;
    switch (templateId) {
        case IDD_UTILITY_PAGE:
            return std::make_unique<BoundUtilityPage>(printer);
        case IDD_DOWNLOAD_PAGE:
            return std::make_unique<BoundDownloadPage>(printer);
    }
    return nullptr;
}

}  // namespace plugin_win32
