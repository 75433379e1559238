#pragma once
// The user-interface plug-in as the driver holds it: its library, its
// IPrintOemUI object and the helper interface the driver hands it, and the
// calls that size its private device mode and add its pages to a sheet.
#include <windows.h>

#include <string>
#include <vector>

#include "win32/oem_interfaces.h"

namespace unidrv {

// The captions of the two sheets as the driver titles them.
constexpr const wchar_t* kDocumentSheetCaption = L"Preferências de impressão";
constexpr const wchar_t* kPrinterSheetCaption = L"Propriedades da impressora";

class PluginHost {
public:
    PluginHost() = default;
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Loads the library by path and creates the plug-in through its exports,
    // as the driver does; publishes the driver's helper interface to it.
    bool Load(const wchar_t* path);
    bool loaded() const { return plugin_ != nullptr; }
    HMODULE library() const { return library_; }

    // Bytes of the plug-in's private device mode; 0 without a plug-in.
    DWORD PrivateSize() const { return privateSize_; }
    // Writes the defaults into `out` (PrivateSize() bytes).
    bool WriteDefaults(BYTE* out);
    // Takes the settings of `in` into `out`; both are PrivateSize() bytes.
    bool Merge(const BYTE* in, BYTE* out);

    // CommonUIProp, then the plug-in's sheet function with the init reason:
    // its pages go to `sheet` through the sheet's own page function.
    HRESULT AddPages(bool document, const PROPSHEETUI_INFO& sheet, HANDLE printer, PWSTR printerName,
                     DEVMODEW* publicDevmode, BYTE* privateDevmode);
    // The destroy reason; `result` is the sheet's (nonzero: accepted).
    void DestroyPages(LPARAM result);

    // The public device mode of the sheet being shown.
    DEVMODEW* PublicDevmode() const { return publicDevmode_; }
    // The driver's paper-size item as the plug-in sees it.
    const OPTITEM& PaperSizeItem() const { return paperSize_; }
    // The object the driver hands the plug-in for its interface calls.
    static constexpr ULONG_PTR kUiObject = 0x0E1;

    // Wine ignores the pages' PSP_USEFUSIONCONTEXT, so whoever shows the sheet
    // activates the plug-in's own manifest on its thread around it.
    void ActivateManifest();
    void DeactivateManifest();

private:
    // One DMPUB_FORMNAME item whose choices are the spooler's forms, its
    // selection the public device mode's form.
    void MakePaperSizeItem(HANDLE printer, const DEVMODEW* publicDevmode);

    HMODULE library_ = nullptr;
    IPrintOemUI* plugin_ = nullptr;
    DWORD privateSize_ = 0;
    bool document_ = true;
    bool pagesAdded_ = false;
    OEMCUIPPARAM common_{};
    OEMUIPSPARAM sheetParam_{};
    PROPSHEETUI_INFO info_{};
    DEVMODEW* publicDevmode_ = nullptr;
    std::vector<std::wstring> forms_;
    std::vector<OPTPARAM> params_;
    OPTTYPE type_{};
    OPTITEM paperSize_{};
    HANDLE activation_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    bool activated_ = false;
};

}  // namespace unidrv
