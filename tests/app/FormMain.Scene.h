#pragma once
// The main window on the headless toolkit and the simulated desktop: a fresh process with the
// application object, the window built and started the way the application object does it, a
// Claude Code console in front, and the user's hotkey presses as the simulated system delivers them.
#include "app/FormMain.h"
#include "app/Tarvin.Grip.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.LogRam.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "platform/sim/Sim.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/headless/Headless.Backend.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarvin::test {

inline const std::u16string IniPath = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\Tarvin.ini";
inline constexpr platform::TProcessId ConsolePid = 4100;
inline constexpr std::uint16_t VkControl = 0x11;
inline constexpr std::uint16_t VkMenu = 0x12;

// The window with the application object's services scripted: the answers the start-up entry
// gives, and how often the About box was asked for.
class TScriptedMainForm : public TMainForm {
public:
    using TMainForm::TMainForm;

    std::deque<bool> StartUpAnswers;
    std::vector<bool> StartUpRequests;
    int AboutBoxes = 0;

protected:
    bool RunSelfAtStartUp(bool Active) override {
        StartUpRequests.push_back(Active);
        if (StartUpAnswers.empty()) {
            return true;
        }
        const bool answer = StartUpAnswers.front();
        StartUpAnswers.pop_front();
        return answer;
    }
    void ShowAboutBox() override { ++AboutBoxes; }
};

class TMainWindowScene {
public:
    TMainWindowScene() {
        Forget();
        Console = Sim.Desktop.AddWindow(u"ConsoleWindowClass", u"\u2733 Claude Code", ConsolePid);
        Sim.Desktop.AddProcess(ConsolePid, 0x2000);
        Notepad = Sim.Desktop.AddWindow(u"Notepad", u"notes.txt - Notepad", 4200);
        Sim.Desktop.AddProcess(4200, 0x2000);
    }
    ~TMainWindowScene() {
        // The window goes while the application object lives: closing it saves it. The log
        // window belongs to the application object, which frees it itself.
        const std::vector<toolkit::TForm*> forms = App.Screen().Forms();
        for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
            toolkit::TForm* form = *it;
            if (AppObject == nullptr || form != AppObject->LogWindow()) {
                form->Free();
            }
        }
        AppObject.reset();
        Forget();
    }
    TMainWindowScene(const TMainWindowScene&) = delete;
    TMainWindowScene& operator=(const TMainWindowScene&) = delete;

    // An INI file from an earlier run; without one the start is the first run.
    void WriteIni(const std::string& Text) { Sim.Files.AddFile(IniPath, Text); }

    // The application object, then the main window as the application object builds it: created,
    // its position loaded, shown, captioned and its post-initialization queued and run.
    TScriptedMainForm& Start() {
        AppObject = std::make_unique<orvel::TAppData>(u"Tarvin", u"TarvinWndClass", false, Os, App);
        AppObject->RamLog->ShowOnError = false; // no log window in this scene
        Form = App.CreateForm<TScriptedMainForm>();
        Form->SetAutoState(orvel::asPosOnly);
        Form->LoadForm();
        Form->Show();
        Form->MainFormCaption(u"");
        Form->SchedulePostInitialize();
        Backend.Step();
        return *Form;
    }

    // The user presses the chord of a shortcut text such as "Ctrl+Alt+3". The modifiers are down
    // while the chord goes in, as a user's fingers are; Windows hands the press to the window that
    // holds the combination. True when it reached the main window.
    bool Press(std::u16string_view ShortCutText) {
        const TShortCut shortCut = TextToShortCut(ShortCutText);
        if ((shortCut & scCtrl) != 0) {
            Sim.Desktop.SetKeyDown(VkControl, true);
        }
        if ((shortCut & scAlt) != 0) {
            Sim.Desktop.SetKeyDown(VkMenu, true);
        }
        const auto delivery = Sim.Hotkeys.Press(HotkeyModifierFlags(shortCut) & ~platform::HotkeyModNoRepeat,
                                                HotkeyKeyCode(shortCut));
        if (!delivery || Form == nullptr || delivery->Window != Form->Handle()) {
            return false;
        }
        Form->PostMessage(toolkit::msgHotKey, static_cast<std::uintptr_t>(delivery->Id));
        Backend.Step();
        return true;
    }

    void Focus(platform::TWindowHandle Window) { Sim.Desktop.SetForeground(Window); }
    void Advance(std::uint64_t Ms) { Backend.AdvanceTime(Ms); }
    std::uint64_t Now() const { return Backend.NowMs(); }

    // The log box without its time stamps.
    std::vector<std::u16string> LogBox() const {
        std::vector<std::u16string> messages;
        for (const std::u16string& line : Form->mmoLog->Lines().Lines()) {
            const std::size_t gap = line.find(u"  ");
            messages.push_back(gap == std::u16string::npos ? line : line.substr(gap + 2));
        }
        return messages;
    }
    std::u16string LastLogLine() const {
        const auto lines = LogBox();
        return lines.empty() ? std::u16string() : lines.back();
    }
    // The RAM log's lines of one level, in order.
    std::vector<std::u16string> RamLog(orvel::TLogVerbLvl Level) const {
        std::vector<std::u16string> messages;
        const orvel::TAbstractLogLines& lines = AppObject->RamLog->Lines();
        for (int i = 0; i < lines.Count(); ++i) {
            if (lines.getItem(i)->Level == Level) {
                messages.push_back(lines.getItem(i)->Msg);
            }
        }
        return messages;
    }
    std::vector<std::u16string> Statuses() const {
        std::vector<std::u16string> statuses;
        const toolkit::TListItems& items = Form->lvHotkeys->Items();
        for (int i = 0; i < items.Count(); ++i) {
            statuses.push_back(items[i].SubItems()[1]);
        }
        return statuses;
    }
    std::optional<std::string> Ini() const { return Sim.Files.Contents(IniPath); }

    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
    toolkit::headless::THeadlessBackend Backend{Sim};
    toolkit::TApplication App{Backend, Sim.MainThread};
    std::unique_ptr<orvel::TAppData> AppObject;
    TScriptedMainForm* Form = nullptr;
    platform::TWindowHandle Console = 0;
    platform::TWindowHandle Notepad = 0;

private:
    static void Forget() {
        orvel::TAppDataCore::ClearIdentity();
        orvel::TAppDataCore::ResetConstructionFlagForTests();
        orvel::AppDataCore = nullptr;
    }
};

} // namespace tarvin::test
