#include "app/FormMain.h"

#include "app/Tarvin.Grip.h"
#include "app/Tarvin.Sender.h"
#include "app/Tarvin.Target.h"
#include "base/Base.Format.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/ui/FormAbout.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "toolkit/Toolkit.Application.h"

#include <utility>

namespace tarvin {

using namespace toolkit;
using orvel::TAppDataCore;

namespace {

// Creates a control of the form with its name and parent.
template <class T> T* NewControl(TMainForm* Form, TControl* Parent, const char16_t* Name) {
    T* control = new T(Form);
    control->SetName(Name);
    control->SetParent(Parent);
    return control;
}

TMenuItem* NewMenuItem(TMainForm* Form, TPopupMenu* Menu, const char16_t* Name, const char16_t* Caption) {
    auto* item = new TMenuItem(Form);
    item->SetName(Name);
    item->SetCaption(Caption);
    Menu->Items()->Add(item);
    return item;
}

TTimer* NewTimer(TMainForm* Form, const char16_t* Name, std::uint32_t Interval) {
    auto* timer = new TTimer(Form);
    timer->SetName(Name);
    timer->SetEnabled(false);
    timer->SetInterval(Interval);
    return timer;
}

TMargins MarginsOf(int Left, int Top, int Right, int Bottom) {
    TMargins margins;
    margins.Left = Left;
    margins.Top = Top;
    margins.Right = Right;
    margins.Bottom = Bottom;
    return margins;
}

std::u16string PromptHandlingLine(const TSettings& Settings, const std::u16string& IniPath) {
    if (!Settings.ClearPromptFirst) {
        return base::Format(
            u"Press a hotkey while a Claude Code terminal has the focus AND the prompt is empty "
            u"(ClearPromptFirst is off in {0}).",
            IniPath);
    }
    if (Settings.RestorePromptAfter) {
        return u"Press a hotkey while a Claude Code terminal has the focus. Anything half-typed in the "
               u"prompt is "
               u"put aside and handed back afterwards.";
    }
    return base::Format(
        u"Press a hotkey while a Claude Code terminal has the focus. Anything half-typed in the "
        u"prompt is DISCARDED (RestorePromptAfter is off in {0}).",
        IniPath);
}

std::u16string GripLine(const TSettings& Settings, const std::u16string& IniPath) {
    if (Settings.HotkeyOnlyOnTerminal) {
        return u"Ctrl+Alt+1..5 are taken ONLY while a terminal is in front. Every other program keeps them.";
    }
    return base::Format(u"Ctrl+Alt+1..5 are taken from the whole machine while Tarvin runs "
                        u"(HotkeyOnlyOnTerminal is off in {0}).",
                        IniPath);
}

} // namespace

TMainForm::TMainForm(TComponent* AOwner) : orvel::TOrvelForm(AOwner), FOs(TAppDataCore::Services()) {
    SetName(u"MainForm");
    SetCaption(u"Tarvin");
    SetPosition(TPosition::poDesigned);
    SetClientSize(640, 420);
    SetMinSize(TSize{480, 320});
    // Until a saved position says otherwise, the window opens in the middle of the main screen.
    const TRect work = Application().Screen().WorkAreaRect();
    SetBounds(work.Left + (work.Width() - Width()) / 2, work.Top + (work.Height() - Height()) / 2, Width(),
              Height());
    Font().SetName(u"Segoe UI");
    Font().SetHeight(-13);
    SetDoubleBuffered(true);
    SetScreenSnap(true);
    SetSnapBuffer(5);
    SetShowHint(true);
    BuildControls();
    BuildTrayIcon();
    tmrEnter = NewTimer(this, u"tmrEnter", 250);
    tmrEnter->OnTimer = [this](TComponent* Sender) { tmrEnterTimer(Sender); };
    tmrFocus = NewTimer(this, u"tmrFocus", 200);
    tmrFocus->OnTimer = [this](TComponent* Sender) { tmrFocusTimer(Sender); };
    OnClose = [this](TComponent* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

void TMainForm::BuildControls() {
    pnlTop = NewControl<TPanel>(this, this, u"pnlTop");
    pnlTop->SetAlign(TAlign::alTop);
    pnlTop->SetHeight(49);
    pnlTop->SetBevelOuter(TBevelCut::bvNone);

    lblIntro = NewControl<TLabel>(this, pnlTop, u"lblIntro");
    lblIntro->SetAutoSize(false);
    lblIntro->SetWordWrap(true);
    lblIntro->SetBounds(10, 8, 620, 34);
    lblIntro->SetMargins(MarginsOf(10, 8, 10, 4));
    lblIntro->SetAlignWithMargins(true);
    lblIntro->SetAlign(TAlign::alClient);
    lblIntro->SetCaption(
        u"Press a hotkey below while a Claude Code terminal has the focus: Tarvin looks at its screen, puts "
        u"your half-typed draft aside, types the /effort command and hands the draft back.");

    lvHotkeys = NewControl<TListView>(this, this, u"lvHotkeys");
    lvHotkeys->SetMargins(MarginsOf(10, 3, 10, 3));
    lvHotkeys->SetAlignWithMargins(true);
    lvHotkeys->SetAlign(TAlign::alTop);
    lvHotkeys->SetHeight(145);
    lvHotkeys->SetViewStyle(TViewStyle::vsReport);
    lvHotkeys->SetReadOnly(true);
    lvHotkeys->SetRowSelect(true);
    lvHotkeys->SetHint(u"The five system-wide hotkeys. Change them in the INI file, then restart Tarvin.");
    for (const auto& [caption, width] : {std::pair{u"Hotkey", 140}, {u"Types", 200}, {u"Status", 260}}) {
        TListColumn& column = lvHotkeys->Columns().Add();
        column.SetCaption(caption);
        column.SetWidth(width);
    }

    mmoLog = NewControl<TMemo>(this, this, u"mmoLog");
    mmoLog->SetMargins(MarginsOf(10, 3, 10, 3));
    mmoLog->SetAlignWithMargins(true);
    mmoLog->SetAlign(TAlign::alClient);
    mmoLog->SetReadOnly(true);
    // Lines wrap at the box's edge: a message cut off behind a horizontal scroll bar is half read.
    mmoLog->SetScrollBars(TScrollStyle::ssVertical);
    mmoLog->SetWordWrap(true);
    mmoLog->SetHint(u"What Tarvin did, and why it refused when it refused.");

    pnlBottom = NewControl<TPanel>(this, this, u"pnlBottom");
    pnlBottom->SetAlign(TAlign::alBottom);
    pnlBottom->SetHeight(41);
    pnlBottom->SetBevelOuter(TBevelCut::bvNone);

    chkAutoStart = NewControl<TCheckBox>(this, pnlBottom, u"chkAutoStart");
    chkAutoStart->SetBounds(10, 11, 220, 21);
    chkAutoStart->SetCaption(u"Start Tarvin when Windows starts");
    chkAutoStart->SetHint(
        u"Writes Tarvin into HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run, "
        u"so Windows starts it at every logon. Move or rename the EXE and you must tick this again.");
    chkAutoStart->OnClick = [this](TComponent* Sender) { chkAutoStartClick(Sender); };

    btnAbout = NewControl<TButton>(this, pnlBottom, u"btnAbout");
    btnAbout->SetBounds(pnlBottom->ClientWidth() - 110, 6, 100, 29);
    btnAbout->SetAnchors(akTop | akRight);
    btnAbout->SetCaption(u"About");
    btnAbout->OnClick = [this](TComponent* Sender) { btnAboutClick(Sender); };
}

void TMainForm::BuildTrayIcon() {
    mnuTray = new TPopupMenu(this);
    mnuTray->SetName(u"mnuTray");
    mnuShow = NewMenuItem(this, mnuTray, u"mnuShow", u"Show Tarvin");
    mnuShow->SetDefault(true);
    mnuShow->OnClick = [this](TComponent* Sender) { mnuShowClick(Sender); };
    mnuAbout = NewMenuItem(this, mnuTray, u"mnuAbout", u"About Tarvin");
    mnuAbout->OnClick = [this](TComponent* Sender) { btnAboutClick(Sender); };
    mnuSep = NewMenuItem(this, mnuTray, u"mnuSep", u"-");
    mnuExit = NewMenuItem(this, mnuTray, u"mnuExit", u"Exit");
    mnuExit->OnClick = [this](TComponent* Sender) { mnuExitClick(Sender); };

    TrayIcon = new TTrayIcon(this);
    TrayIcon->SetName(u"TrayIcon");
    TrayIcon->SetHint(u"Tarvin - click to bring the window back");
    TrayIcon->SetPopupMenu(mnuTray);
    TrayIcon->OnClick = [this](TComponent* Sender) { TrayIconClick(Sender); };
    TrayIcon->OnDblClick = [this](TComponent* Sender) { TrayIconClick(Sender); };
}

TMainForm::~TMainForm() {
    // The watch calls back into this window; a window freed without its shutdown step must not be
    // called afterwards.
    FOs.Foreground.Stop();
}

// --- life cycle ---

void TMainForm::CreateParams(TCreateParams& Params) {
    orvel::TOrvelForm::CreateParams(Params);
    if (orvel::AppData != nullptr) {
        orvel::AppData->SetSingleInstanceName(Params);
    }
}

void TMainForm::FormPostInitialize() {
    orvel::TOrvelForm::FormPostInitialize();
    FBurst.Stop();
    FSettings = std::make_unique<TSettings>();
    FSettings->Load(TAppDataCore::IniFile(), FOs.Files);
    FTraceGrip = FSettings->TraceGrip;
    TrayIcon->SetIcon(TIcon::ApplicationIcon());
    TrayIcon->SetVisible(true);
    tmrEnter->SetInterval(static_cast<std::uint32_t>(FSettings->EnterDelayMs));
    ShowAutoStart(orvel::AppDataCore != nullptr && orvel::AppDataCore->AutoStartUp);
    if (FSettings->HotkeyOnlyOnTerminal) {
        // A chord pressed the moment a terminal comes forward must already find the hotkeys held.
        // The poll slows down only once the watch has shown that it hears the system: some
        // systems (Wine among them) accept the watch and never call it.
        (void)FOs.Foreground.Start([this] {
            tmrFocus->SetInterval(GripSafetyPollMs);
            UpdateHotkeyGrip();
        });
        tmrFocus->SetInterval(GripPollMs);
        tmrFocus->SetEnabled(true);
    }
    UpdateHotkeyGrip();
    FillHotkeyList();
    WriteStartupLines();
    if (orvel::AppDataCore != nullptr && !orvel::AppDataCore->RunningFirstTime()) {
        Hide();
    }
}

void TMainForm::WriteStartupLines() {
    const std::u16string ini = TAppDataCore::IniFile();
    LogLine(u"Tarvin started. Tarvin itself runs at " + IntegrityLevelName(OwnIntegrityLevel(FOs.Integrity)) +
            u" integrity.");
    LogLine(PromptHandlingLine(*FSettings, ini));
    LogLine(GripLine(*FSettings, ini));
}

void TMainForm::FormPreRelease() {
    FOs.Foreground.Stop();
    tmrFocus->SetEnabled(false);
    tmrEnter->SetEnabled(false);
    FBurst.Stop();
    ReleaseHotkeys();
    if (FSettings != nullptr) {
        const std::u16string ini = TAppDataCore::IniFile();
        // Reading first keeps what the user edited while the program ran; the save then fills in
        // every missing key with its effective value.
        FSettings->Load(ini, FOs.Files);
        try {
            FSettings->Save(ini, FOs.Files);
        } catch (const orvel::EIniFileException& Error) {
            TAppDataCore::LogError(
                base::Format(u"Tarvin could not write its settings to {0}: {1}", ini, Error.Message()));
        }
        FSettings.reset();
    }
    orvel::TOrvelForm::FormPreRelease();
}

void TMainForm::Dispatch(TMessage& Msg) {
    switch (Msg.Msg) {
    case msgHotKey:
        WMHotKey(Msg);
        return;
    case WM_SHOW_FROM_SECOND_COPY:
        WMShowFromSecondCopy(Msg);
        return;
    case msgSysCommand:
        WMSysCommand(Msg);
        return;
    default:
        orvel::TOrvelForm::Dispatch(Msg);
        return;
    }
}

// --- the hotkey grip ---

void TMainForm::UpdateHotkeyGrip() {
    if (FSettings == nullptr || FBurst.Running()) {
        return;
    }
    const bool hold = !FSettings->HotkeyOnlyOnTerminal ||
                      ForegroundIsTerminal(FOs.Windows, &FSettings->FAcceptedClasses,
                                           &FSettings->FTitleMarkers, FSettings->RequireTitleMarker);
    if (hold == FHotkeysHeld) {
        return;
    }
    if (FTraceGrip) {
        LogLine(GripTraceLine(WindowClassOf(FOs.Windows, FOs.Windows.ForegroundWindow()), hold));
    }
    if (hold) {
        RegisterHotkeys();
    } else {
        ReleaseHotkeys();
    }
    FillHotkeyList();
}

void TMainForm::tmrFocusTimer(TComponent*) {
    UpdateHotkeyGrip();
}

void TMainForm::RegisterHotkeys() {
    FHotkeyWindow = Handle();
    for (TEffortLevel level : AllEffortLevels) {
        FRegistered[level] = false;
        const TShortCut shortCut = FSettings->Hotkey[level];
        const std::uint32_t key = HotkeyKeyCode(shortCut);
        if (key == 0) {
            LogLine(InvalidShortcutLine(level, FSettings->HotkeyText[level]));
            continue;
        }
        // Clears a registration left under this identifier, which Windows would keep beside the new one.
        FOs.Hotkeys.UnregisterHotKey(FHotkeyWindow, HotkeyId(level));
        FRegistered[level] =
            FOs.Hotkeys.RegisterHotKey(FHotkeyWindow, HotkeyId(level), HotkeyModifierFlags(shortCut), key);
        if (!FRegistered[level]) {
            LogLine(RefusedHotkeyLine(level, FSettings->HotkeyText[level], TAppDataCore::IniFile()));
        }
    }
    FHotkeysHeld = true;
}

void TMainForm::ReleaseHotkeys() {
    for (TEffortLevel level : AllEffortLevels) {
        if (FRegistered[level]) {
            FOs.Hotkeys.UnregisterHotKey(FHotkeyWindow, HotkeyId(level));
            FRegistered[level] = false;
        }
    }
    FHotkeysHeld = false;
}

void TMainForm::FillHotkeyList() {
    if (FSettings == nullptr) {
        return;
    }
    lvHotkeys->BeginUpdate();
    lvHotkeys->Items().Clear();
    for (TEffortLevel level : AllEffortLevels) {
        TListItem& item = lvHotkeys->Items().Add();
        item.SetCaption(FSettings->HotkeyText[level]);
        item.SubItems().Add(EffortCommandText(level));
        item.SubItems().Add(HotkeyStatusText(FRegistered[level], FSettings->Hotkey[level], FHotkeysHeld));
    }
    lvHotkeys->EndUpdate();
}

// --- the send sequencer ---

void TMainForm::WMHotKey(TMessage& Msg) {
    if (Msg.WParam >= 1 && Msg.WParam <= EffortLevelCount) {
        StartBurst(static_cast<TEffortLevel>(Msg.WParam - 1));
        Msg.Result = 0;
        return;
    }
    orvel::TOrvelForm::Dispatch(Msg);
}

void TMainForm::StartBurst(TEffortLevel Level) {
    if (FSettings == nullptr || FBurst.Running()) {
        return;
    }
    TTargetInfo target;
    CheckForegroundTarget(FOs.Windows, FOs.Integrity, &FSettings->FAcceptedClasses, &FSettings->FTitleMarkers,
                          FSettings->RequireTitleMarker, target);
    if (!TargetAccepted(target)) {
        Refuse(VerdictText(target));
        return;
    }
    CarryOut(FBurst.Start(Level, TBurstTarget{target.Handle, target.WindowClass, target.Title},
                          TBurstSettings::From(*FSettings, TAppDataCore::IniFile()),
                          FOs.Clock.MonotonicMs()));
}

void TMainForm::tmrEnterTimer(TComponent*) {
    if (FSettings == nullptr || !FBurst.Running()) {
        ResetBurst();
        return;
    }
    TBurstTick facts;
    facts.NowMs = FOs.Clock.MonotonicMs();
    facts.TargetInFront = FOs.Windows.ForegroundWindow() == FBurst.Target().Handle;
    facts.ModifierDown = facts.TargetInFront && AnyModifierDown(FOs.Input);
    if (facts.TargetInFront && FBurst.WantsScreen()) {
        facts.Screen = FOs.Screens.ReadScreen(FBurst.Target().Handle);
    }
    CarryOut(FBurst.Tick(facts));
}

void TMainForm::CarryOut(TBurstStep Step) {
    if (Step.ReleaseModifiers) {
        ReleaseModifiers(FOs.Input);
    }
    for (const TKeyBatch& batch : Step.Batches) {
        const TSendResult result = SendKeys(FOs.Input, batch);
        if (!SendSucceeded(result)) {
            Step = FBurst.SendFellShort(batch, result);
            break;
        }
    }
    for (const std::u16string& line : Step.Lines) {
        LogLine(line);
    }
    if (Step.Beep && FSettings != nullptr && FSettings->BeepOnRefusal) {
        FOs.Sound.MessageBeep(platform::BeepIconHand);
    }
    if (Step.Ends() || !FBurst.Running()) {
        ResetBurst();
        return;
    }
    tmrEnter->SetInterval(*Step.NextTickMs);
    tmrEnter->SetEnabled(true);
}

void TMainForm::ResetBurst() {
    tmrEnter->SetEnabled(false);
    FBurst.Stop();
    UpdateHotkeyGrip();
}

void TMainForm::Refuse(const std::u16string& Msg) {
    LogLine(Msg);
    if (FSettings != nullptr && FSettings->BeepOnRefusal) {
        FOs.Sound.MessageBeep(platform::BeepIconHand);
    }
}

void TMainForm::LogLine(const std::u16string& Msg) {
    TStrings& lines = mmoLog->Lines();
    lines.BeginUpdate();
    lines.Add(FOs.TimeFormat.LongTimeText(FOs.Clock.Now()) + u"  " + Msg);
    while (lines.Count() > LogBoxLineLimit) {
        lines.Delete(0);
    }
    lines.EndUpdate();
    TAppDataCore::LogInfo(Msg);
}

// --- window, tray and menu ---

void TMainForm::WMShowFromSecondCopy(TMessage& Msg) {
    mnuShowClick(this);
    LogLine(u"A second copy of Tarvin was started. It brought this window up and then closed itself.");
    Msg.Result = 0;
}

void TMainForm::WMSysCommand(TMessage& Msg) {
    // The low four bits of a system command are the system's own.
    if ((Msg.WParam & 0xFFF0u) == scMinimize) {
        Hide();
        Msg.Result = 0;
        return;
    }
    orvel::TOrvelForm::Dispatch(Msg);
}

void TMainForm::FormClose(TComponent*, TCloseAction& Action) {
    Action = TCloseAction::caFree;
}

void TMainForm::TrayIconClick(TComponent* Sender) {
    mnuShowClick(Sender);
}

void TMainForm::mnuShowClick(TComponent*) {
    Show();
    SetWindowState(TWindowState::wsNormal);
    Application().BringToFront();
}

void TMainForm::mnuExitClick(TComponent*) {
    Close();
}

void TMainForm::btnAboutClick(TComponent*) {
    ShowAboutBox();
}

void TMainForm::chkAutoStartClick(TComponent*) {
    const bool wanted = chkAutoStart->Checked();
    if (RunSelfAtStartUp(wanted)) {
        if (orvel::AppDataCore != nullptr) {
            orvel::AppDataCore->AutoStartUp = wanted;
        }
        LogLine(wanted ? u"Tarvin will start with Windows." : u"Tarvin will no longer start with Windows.");
        return;
    }
    ShowAutoStart(orvel::AppDataCore != nullptr && orvel::AppDataCore->AutoStartUp);
    Refuse(u"Windows refused to change the startup entry. An antivirus usually guards that registry key.");
}

void TMainForm::ShowAutoStart(bool Checked) {
    TNotifyEvent handler = std::move(chkAutoStart->OnClick);
    chkAutoStart->OnClick = nullptr;
    chkAutoStart->SetChecked(Checked);
    chkAutoStart->OnClick = std::move(handler);
}

bool TMainForm::RunSelfAtStartUp(bool Active) {
    return orvel::AppData != nullptr && orvel::AppData->RunSelfAtStartUp(Active);
}

void TMainForm::ShowAboutBox() {
    orvel::TfrmAboutApp::CreateFormModal();
}

} // namespace tarvin
