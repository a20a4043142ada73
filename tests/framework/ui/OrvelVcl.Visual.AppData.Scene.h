#pragma once
// A fresh process for the application shell: the sim platform, the headless toolkit, the
// executable "C:\Program Files\Tarvin\Tarvin.exe" at version 1.4.0, and the application object
// made on demand. A main form that notes what it saw while it was built.
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.IniStore.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "framework/ui/OrvelVcl.Visual.AppDataForm.h"
#include "platform/sim/Sim.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/headless/Headless.Backend.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvel::testing {

inline const std::u16string ExeFolder = u"C:\\Program Files\\Tarvin\\";
inline const std::u16string ExePath = ExeFolder + u"Tarvin.exe";
inline const std::u16string DataFolder = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\";
inline const std::u16string IniPath = DataFolder + u"Tarvin.ini";

// What the main form saw; kept outside the form so that it outlives it.
struct TMainJournal {
    bool LogWindowExistedAtConstruction = false;
    std::vector<std::u16string> CaptionsWhenShown;
    int PostInits = 0;
};

class TShellMainForm : public TOrvelForm {
public:
    TShellMainForm(toolkit::TComponent* AOwner, TMainJournal& Journal)
        : TOrvelForm(AOwner), FJournal(Journal) {
        SetName(u"MainForm");
        SetPosition(toolkit::TPosition::poDesigned);
        SetBounds(100, 100, 500, 400);
        FJournal.LogWindowExistedAtConstruction = AppData != nullptr && AppData->LogWindow() != nullptr;
        OnShow = [this](toolkit::TComponent*) { FJournal.CaptionsWhenShown.push_back(Caption()); };
    }
    void FormPostInitialize() override {
        TOrvelForm::FormPostInitialize();
        ++FJournal.PostInits;
    }

private:
    TMainJournal& FJournal;
};

class ShellScene : public ::testing::Test {
protected:
    ShellScene() { Forget(); }
    ~ShellScene() override {
        Application.reset();
        Forget();
    }
    static void Forget() {
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
        AppDataCore = nullptr;
    }

    // A second run: an INI file exists (with Text in it).
    void ExistingIni(const std::string& Text = "[AppData Settings]\r\nOpacity=255\r\n") {
        Sim.Files.AddFile(IniPath, Text);
    }
    TAppData& MakeApplication() {
        Sim.Versions.SetFileVersion(ExePath, {0x00010004, 0x00000011});
        Application = std::make_unique<TAppData>(u"Tarvin", u"TarvinWndClass", false, Os, App);
        return *Application;
    }
    TShellMainForm* MakeMainForm(TAutoState State = asPosOnly) {
        return Application->CreateMainForm<TShellMainForm>(State, Journal);
    }
    // The lines of the application's log at Level, in order.
    std::vector<std::u16string> LogLines(TLogVerbLvl Level) const {
        std::vector<std::u16string> lines;
        const TAbstractLogLines& all = Application->RamLog->Lines();
        for (int i = 0; i < all.Count(); ++i) {
            if (all.getItem(i)->Level == Level) {
                lines.push_back(all.getItem(i)->Msg);
            }
        }
        return lines;
    }
    std::optional<std::u16string> IniValue(const std::u16string& Section, const std::u16string& Key) const {
        const auto bytes = Sim.Files.Contents(IniPath);
        if (!bytes) {
            return std::nullopt;
        }
        return TIniStore::Parse(*bytes).Get(Section, Key);
    }

    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
    toolkit::headless::THeadlessBackend Backend{Sim};
    toolkit::TApplication App{Backend, Sim.MainThread};
    TMainJournal Journal;
    std::unique_ptr<TAppData> Application;
};

} // namespace orvel::testing
