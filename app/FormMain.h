#pragma once
// TMainForm: the program's only permanent window. It holds the hotkey grip (which hotkeys are
// registered, polled every 200 ms), the send sequencer (one hotkey press becomes a timed burst of
// keystrokes into the focused terminal), the log box, the start-up check box and the tray icon.
//
// The grip and the sequencer decide on plain values; the OS is reached through the platform
// services of the application's identity, and time passes through the toolkit's timers, so whole
// bursts run natively on the headless toolkit and the simulated desktop.
#include "app/Tarvin.Burst.h"
#include "app/Tarvin.Settings.h"
#include "framework/ui/OrvelVcl.Visual.AppDataForm.h"
#include "platform/Platform.Services.h"
#include "toolkit/Toolkit.ComCtrls.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/Toolkit.Timer.h"
#include "toolkit/Toolkit.TrayIcon.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tarvin {

// Sent by a second copy of the program to bring this window up (WM_USER + 65).
inline constexpr std::uint32_t WM_SHOW_FROM_SECOND_COPY = toolkit::msgUser + 65;

// The grip follows the foreground window as it changes; once the watch has been heard, the poll
// only catches what it might miss. Until then the grip polls every 200 ms.
inline constexpr std::uint32_t GripSafetyPollMs = 1000;
inline constexpr std::uint32_t GripPollMs = 200;

// The log box keeps this many newest lines; the RAM log keeps them all.
inline constexpr int LogBoxLineLimit = 1000;

class TMainForm : public orvel::TOrvelForm {
public:
    // Builds the window's components as designed. The application object must exist: the form
    // reaches the system through the services of the application's identity.
    explicit TMainForm(toolkit::TComponent* AOwner);
    ~TMainForm() override;

    std::u16string ClassName() const override { return u"TMainForm"; }

    // --- components, in design order ---
    toolkit::TPanel* pnlTop = nullptr;
    toolkit::TLabel* lblIntro = nullptr;
    toolkit::TListView* lvHotkeys = nullptr;
    toolkit::TMemo* mmoLog = nullptr;
    toolkit::TPanel* pnlBottom = nullptr;
    toolkit::TCheckBox* chkAutoStart = nullptr;
    toolkit::TButton* btnAbout = nullptr;
    toolkit::TTrayIcon* TrayIcon = nullptr;
    toolkit::TPopupMenu* mnuTray = nullptr;
    toolkit::TMenuItem* mnuShow = nullptr;
    toolkit::TMenuItem* mnuAbout = nullptr;
    toolkit::TMenuItem* mnuSep = nullptr;
    toolkit::TMenuItem* mnuExit = nullptr;
    toolkit::TTimer* tmrEnter = nullptr;
    toolkit::TTimer* tmrFocus = nullptr;

    // --- life cycle ---
    // The window class is the application's single-instance class name, so a second copy of the
    // program finds this window.
    void CreateParams(toolkit::TCreateParams& Params) override;
    // Loads the settings, shows the tray icon, starts the focus timer, takes or releases the
    // hotkeys, writes the start-up lines and, except on the first run, hides the window.
    void FormPostInitialize() override;
    // Stops the timers, releases the hotkeys, and reloads and rewrites the settings so that the
    // file holds every key and keeps what the user edited while the program ran.
    void FormPreRelease() override;
    // WM_HOTKEY, the second copy's bring-forward message and WM_SYSCOMMAND; the rest goes on.
    void Dispatch(toolkit::TMessage& Msg) override;

    // --- the hotkey grip ---
    // Holds the hotkeys while an accepted terminal is in front (or always, with
    // HotkeyOnlyOnTerminal off); does nothing while a burst runs or when nothing changed.
    void UpdateHotkeyGrip();
    void tmrFocusTimer(toolkit::TComponent* Sender);
    // Registers every level with a valid shortcut; a refused one is logged and stays unregistered.
    void RegisterHotkeys();
    void ReleaseHotkeys();
    void FillHotkeyList();

    // --- the send sequencer ---
    // Checks the focused window and, when it is accepted, starts a burst for Level. Ignored while
    // a burst runs.
    void StartBurst(TEffortLevel Level);
    // Hands the tick's facts to the burst: is the terminal still in front, is a modifier down, and
    // the terminal's screen when the burst looks at it.
    void tmrEnterTimer(toolkit::TComponent* Sender);
    // Back to idle with the timer off; the grip catches up with the focus changes of the burst.
    void ResetBurst();
    // Logs Msg and, with BeepOnRefusal, plays the critical-stop sound.
    void Refuse(const std::u16string& Msg);
    // One line in the log box (local time, two blanks, Msg) and Msg in the RAM log.
    void LogLine(const std::u16string& Msg);

    // --- window, tray and menu ---
    void FormClose(toolkit::TComponent* Sender, toolkit::TCloseAction& Action);
    void TrayIconClick(toolkit::TComponent* Sender);
    void mnuShowClick(toolkit::TComponent* Sender);
    void mnuExitClick(toolkit::TComponent* Sender);
    void btnAboutClick(toolkit::TComponent* Sender);
    // Adds Tarvin to the per-user start-up list or removes it; a refusal puts the box back.
    void chkAutoStartClick(toolkit::TComponent* Sender);

    // --- state, for whoever watches the window ---
    TSendPhase Phase() const { return FBurst.Phase(); }
    bool HotkeysHeld() const { return FHotkeysHeld; }
    bool Registered(TEffortLevel Level) const { return FRegistered[Level]; }
    // Null before the post-initialization and after the pre-release step.
    const TSettings* Settings() const { return FSettings.get(); }
    platform::TWindowHandle BurstTarget() const { return FBurst.Target().Handle; }

protected:
    // What the window asks of the application object beyond the form base: the start-up entry,
    // and the modal About box. Virtual so that tests can script the answers.
    virtual bool RunSelfAtStartUp(bool Active);
    virtual void ShowAboutBox();

private:
    // The components of the window, as designed: panels, label, list, log box, check box, button;
    // then the tray icon with its menu.
    void BuildControls();
    void BuildTrayIcon();
    void WMHotKey(toolkit::TMessage& Msg);
    void WMShowFromSecondCopy(toolkit::TMessage& Msg);
    void WMSysCommand(toolkit::TMessage& Msg);
    // Sets the check box without running its click handler.
    void ShowAutoStart(bool Checked);
    // Carries out a step of the burst: modifiers, key batches, log lines, sound, the next tick.
    void CarryOut(TBurstStep Step);
    void WriteStartupLines();

    platform::TServices FOs;

    std::unique_ptr<TSettings> FSettings;
    std::array<bool, EffortLevelCount> FRegistered{};
    TBurst FBurst;
    // The window the hotkeys were registered to, so that they are released from the same one.
    platform::TWindowHandle FHotkeyWindow = 0;
    bool FHotkeysHeld = false;
    bool FTraceGrip = false;
};

} // namespace tarvin
