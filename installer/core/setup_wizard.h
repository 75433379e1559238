#pragma once
// The wizard (dialog 102): its four pages in a fixed order, Next and Back with
// the checks made when a page is left, and Install, which hands the collected
// request to the worker behind the progress window and reports the result.
#include <string>
#include <vector>

#include "core/driver_key_reader.h"
#include "core/install_request.h"
#include "core/install_type_page.h"
#include "core/install_worker.h"
#include "core/module_page.h"
#include "core/os_page.h"
#include "core/port_page.h"
#include "ports/clock.h"
#include "ports/desktop.h"
#include "ports/files.h"
#include "ports/profile.h"
#include "ports/registry.h"
#include "ports/system_info.h"
#include "ports/usb_library.h"
#include "setup_fixed_text.h"

namespace setup {

// The wizard's window side: the pages as child windows and the left picture.
class WizardWindow {
public:
    virtual ~WizardWindow() = default;
    // The controls of page `index` (in the page table's order).
    virtual plat::Controls& PageControls(int index) = 0;
    virtual void ShowPageWindow(int index, bool visible) = 0;
    // Loads DRVCONFIG\Left.bmp relative to the current folder.
    virtual bool LoadLeftPicture() = 0;
};

struct WizardPages {
    ModulePage& module;
    InstallTypePage& installType;
    OsPage& os;
    PortPage& port;
};

struct WizardServices {
    plat::Profile& profile;
    plat::Desktop& desktop;
    plat::SystemInfo& system;
    plat::Clock& clock;
    plat::UsbLibrary& usb;
    plat::FilesInstall& files;
    plat::Registry& registry;
    InstallWorkerFn worker;
    // The progress window's waits, when they need a clock of their own (one
    // that lets the window paint while it waits); `clock` otherwise.
    plat::Clock* progressClock = nullptr;
};

class SetupWizard : public plat::DialogHandler {
public:
    SetupWizard(WizardPages pages, WizardWindow& window, WizardServices services, std::string configFolder);

    void OnInit(plat::Controls& frame) override;
    void OnCommand(plat::Controls& frame, int id, int notifyCode) override;
    bool OnSysCommand(plat::Controls& frame, int command) override;
    void OnHelp(plat::Controls& frame) override;

    // Leaves the current page and shows page `index`; false when the current
    // page's values do not validate, `index` names no page, or the model does
    // not support the system (the OS page then stays).
    bool ShowPage(plat::Controls& frame, int index);

    int currentPage() const { return current_; }
    // The page table, for the window side that creates the pages.
    WizardPage& page(int index) { return *table_[index].page; }
    int pageTemplate(int index) const { return table_[index].templateId; }
    int pageCount() const { return static_cast<int>(table_.size()); }
    const InstallRequest& request() const { return request_; }
    bool baudPresetPending() const { return baudPresetPending_; }

    // Positions in the page table.
    static constexpr int kModulePageIndex = 0;
    static constexpr int kInstallTypePageIndex = 1;
    static constexpr int kOsPageIndex = 2;
    static constexpr int kPortPageIndex = 3;

private:
    struct Entry {
        WizardPage* page;
        int templateId;
    };
    void Next(plat::Controls& frame);
    void Back(plat::Controls& frame);
    void Install(plat::Controls& frame);
    // The USB steps before the worker: the printer's identity, the port
    // registered for it and the port record. False when the wizard must stay
    // on its page.
    bool PrepareUsbPort(plat::Controls& frame);
    // Runs the worker on its own thread behind the progress window.
    void RunWorker(plat::Controls& frame);
    bool LeaveModulePage();
    bool LeaveOsPage(plat::Controls& frame);
    int ReadPortFlag(std::string_view key);
    void Tell(plat::Controls& frame, std::string_view text, unsigned style = plat::kMbOk);
    void SaveAllPages();

    WizardPages pages_;
    WizardWindow& window_;
    WizardServices services_;
    std::string configFolder_;
    std::vector<Entry> table_;
    int current_ = -1;
    bool baudPresetPending_ = true;
    InstallRequest request_;
    InstallProgress progress_;
};

// Texts of the wizard that are not in its string table; the buttons' first
// texts come from the same definitions through the template.
constexpr std::string_view kBackText = SETUP_TEXT_BACK;
constexpr std::string_view kNextText = SETUP_TEXT_NEXT;
constexpr std::string_view kInstallText = SETUP_TEXT_INSTALL;
constexpr std::string_view kCancelText = SETUP_TEXT_CANCEL;
constexpr std::string_view kMustBeAdministrator = "Você deve estar logado como administrador";
constexpr std::string_view kHelpViewerCaption = "Printer Driver Installer";
constexpr std::string_view kHelpFile = ".\\Guide.CHM";

}  // namespace setup
