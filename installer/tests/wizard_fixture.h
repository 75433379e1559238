#pragma once
// A whole wizard on a simulated machine: the four pages with their template
// states, the frame's controls, and a worker whose report the test chooses.
#include <array>
#include <new>
#include <optional>

#include "core/driver_key_reader.h"
#include "core/setup_wizard.h"
#include "resource.h"
#include "sim/sim_machine.h"
#include "tests/sample_package.h"

namespace setup_test {

class SimWizardWindow : public setup::WizardWindow {
public:
    plat::Controls& PageControls(int index) override { return pages[index]; }
    void ShowPageWindow(int index, bool visible) override { shown[index] = visible; }
    bool LoadLeftPicture() override { return leftPicture; }

    std::array<sim::SimControls, 4> pages;
    std::array<bool, 4> shown{};
    bool leftPicture = true;
};

struct WizardFixture {
    explicit WizardFixture(plat::OsVersion version = {plat::kPlatformNt, 6, 1}, bool loadPackage = true) {
        machine.system.version = version;
        if (loadPackage) LoadSamplePackage(machine.files);
        // What the templates say before any code runs.
        frame.controls[IDC_BACK].enabled = false;
        frame.controls[plat::kIdOk].enabled = false;
        window.pages[setup::SetupWizard::kModulePageIndex].controls[IDC_MODELS_EMBEDDED].sorted = true;
        window.pages[setup::SetupWizard::kInstallTypePageIndex].controls[IDC_COMMENT2].visible = false;
        window.pages[setup::SetupWizard::kInstallTypePageIndex].controls[IDC_COMMENT3].visible = false;
        window.pages[setup::SetupWizard::kPortPageIndex].controls[IDC_PORTS].sorted = true;
        window.pages[setup::SetupWizard::kPortPageIndex].controls[IDC_RASTER].enabled = false;
        for (int note : {IDC_NOTE1, IDC_NOTE2, IDC_NOTE3, IDC_NOTE4}) {
            window.pages[setup::SetupWizard::kPortPageIndex].controls[note].visible = false;
        }
    }

    // Creates the pages as the window side does, then starts the wizard.
    void Start() {
        for (int index = 0; index < wizard.pageCount(); ++index) PageOf(index).OnInit(window.pages[index]);
        wizard.OnInit(frame);
    }
    setup::WizardPage& PageOf(int index) { return wizard.page(index); }
    sim::SimControls& Page(int index) { return window.pages[index]; }
    void Press(int id) { wizard.OnCommand(frame, id, plat::kBnClicked); }
    void Click(int page, int id) { PageOf(page).OnCommand(Page(page), id, plat::kBnClicked); }
    void Choose(int page, int list, std::string_view item) {
        sim::SimControls& controls = Page(page);
        for (int i = 0; i < controls.ItemCount(list); ++i) {
            if (controls.ItemText(list, i) == item) controls.Select(list, i);
        }
        PageOf(page).OnCommand(controls, list, plat::kCbnSelChange);
    }
    void ChooseModel(int module, std::string_view model) {
        Click(0, setup::ModulePage::RadioOf(module));
        Choose(0, setup::ModulePage::ListOf(module), model);
    }
    void OfferPort(std::string_view port) {
        sim::SimControls& controls = Page(setup::SetupWizard::kPortPageIndex);
        controls.Select(IDC_PORTS, controls.AddItem(IDC_PORTS, port));
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : machine.desktop.boxes) texts.push_back(box.text);
        return texts;
    }

    sim::SimMachine machine;
    SimWizardWindow window;
    sim::SimControls frame;
    setup::DriverKeyReader reader{machine.profile, setup::MakeReaderPaths(kPackageFolder)};
    setup::ModulePage modulePage{reader};
    setup::InstallTypePage installTypePage;
    setup::OsPage osPage{machine.system, machine.registry, machine.desktop};
    setup::PortPage portPage{
        {machine.profile, machine.usb, machine.desktop, machine.files, machine.system}, osPage, kPackageFolder};
    std::optional<setup::InstallRequest> workerSaw;
    setup::InstallProgress::State workerState = setup::InstallProgress::kDone;
    std::string workerMessage;
    bool workerThrows = false;
    // The real installation engine on the simulated machine instead of the
    // scripted report.
    bool realWorker = false;
    setup::SetupWizard wizard{
        {modulePage, installTypePage, osPage, portPage},
        window,
        {machine.profile, machine.desktop, machine.system, machine.clock, machine.usb, machine.files, machine.registry,
         [this](const setup::InstallRequest& request, setup::InstallProgress& progress) {
             workerSaw = request;
             if (workerThrows) throw std::bad_alloc();
             if (realWorker) {
                 setup::InstallWorker({machine.profile, machine.registry, machine.files, machine.spooler,
                                       machine.services, machine.system, machine.clock, machine.desktop},
                                      request, progress);
                 return;
             }
             progress.Finish(workerState, workerMessage);
         }},
        kPackageFolder};
};

}  // namespace setup_test
