#pragma once
// The scene the form persistence tests run in: a simulated machine, the headless toolkit on it,
// and the one application data core, whose INI file the forms are saved to.
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.INIFile.h"
#include "framework/ui/OrvelVcl.Common.IniFile.h"
#include "platform/sim/Sim.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/headless/Headless.Backend.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace orvel::testing {

inline const std::u16string Missing = u"<missing>";

class TIniFormScene : public ::testing::Test {
protected:
    TIniFormScene() {
        Forget();
        Core = std::make_unique<TAppDataCore>(u"Tarvin", u"TarvinWndClass", false, Os);
        AppDataCore = Core.get();
    }
    ~TIniFormScene() override {
        AppDataCore = nullptr;
        Core.reset();
        Forget();
    }
    static void Forget() {
        AppDataCore = nullptr;
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
    }

    // A form owned by the application, not its main form, at designed position.
    toolkit::TForm* MakeForm(const std::u16string& Name, int Left = 100, int Top = 50, int Width = 400,
                             int Height = 300) {
        auto* form = toolkit::NewForm<toolkit::TForm>(static_cast<toolkit::TComponent*>(&App));
        form->SetName(Name);
        form->SetPosition(toolkit::TPosition::poDesigned);
        form->SetBounds(Left, Top, Width, Height);
        return form;
    }

    // One monitor of 1920 x 1080 with a 40-pixel taskbar, at the given density.
    void SetPpi(int Ppi) {
        toolkit::TMonitor monitor;
        monitor.BoundsRect = toolkit::TRect{0, 0, 1920, 1080};
        monitor.WorkareaRect = toolkit::TRect{0, 0, 1920, 1040};
        monitor.PixelsPerInch = Ppi;
        monitor.Primary = true;
        Backend.SetMonitors({monitor});
    }

    std::u16string Stored(const std::u16string& Section, const std::u16string& Key) {
        TIniFileEx ini(u"Any", TAppDataCore::IniFile(), Sim.Files);
        return ini.ValueExists(Section, Key) ? ini.ReadString(Section, Key, u"") : Missing;
    }
    void Store(const std::u16string& Section, const std::u16string& Key, const std::u16string& Value) {
        TIniFileEx ini(u"Any", TAppDataCore::IniFile(), Sim.Files);
        ini.WriteString(Section, Key, Value);
    }

    void Save(toolkit::TForm* Form, TAutoState State) {
        TIniFileApp ini(Form->Name(), u"");
        ini.SaveForm(Form, State);
    }
    void Load(toolkit::TForm* Form, TAutoState State) {
        TIniFileApp ini(Form->Name(), u"");
        ini.LoadForm(Form, State);
    }

    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
    toolkit::headless::THeadlessBackend Backend{Sim};
    toolkit::TApplication App{Backend, Sim.MainThread};
    std::unique_ptr<TAppDataCore> Core;
};

} // namespace orvel::testing
