#include "toolkit/win32/Win32Ui.Backend.h"

#include "platform/win32/Win32.Errors.h"
#include "platform/win32/Win32.Text.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.Timer.h"
#include "toolkit/win32/Win32Ui.Clipboard.h"
#include "toolkit/win32/Win32Ui.Colors.h"
#include "toolkit/win32/Win32Ui.ControlPeers.h"
#include "toolkit/win32/Win32Ui.FormPeer.h"
#include "toolkit/win32/Win32Ui.Menus.h"
#include "toolkit/win32/Win32Ui.Monitors.h"
#include "toolkit/win32/Win32Ui.Picture.h"
#include "toolkit/win32/Win32Ui.WindowPeer.h"

#include <commctrl.h>

namespace toolkit::win32 {

namespace {

using platform::win32::AsWide;
using platform::win32::ThrowLastError;

// The message-box values the OS-free headers copied; a wrong one fails the build.
static_assert(mrOk == IDOK && mrCancel == IDCANCEL);
static_assert(mbOk == MB_OK);
static_assert(mbIconError == MB_ICONERROR);
static_assert(mbIconWarning == MB_ICONWARNING);
static_assert(mbIconInformation == MB_ICONINFORMATION);

HWND WindowOf(TControl* Control) {
    return Control != nullptr && Control->HandleAllocated()
               ? reinterpret_cast<HWND>(Control->Peer()->Handle())
               : nullptr;
}

// The visible, enabled top-level windows of this thread that a modal form disables.
struct TDisabledWindows {
    HWND Modal = nullptr;
    std::vector<HWND> Windows;
};

BOOL CALLBACK DisableOthers(HWND Window, LPARAM State) {
    auto& state = *reinterpret_cast<TDisabledWindows*>(State);
    if (Window != state.Modal && ::IsWindowVisible(Window) && ::IsWindowEnabled(Window)) {
        ::EnableWindow(Window, FALSE);
        state.Windows.push_back(Window);
    }
    return TRUE;
}

} // namespace

TWin32Backend::TWin32Backend() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    if (!FClasses.Ensure(UtilityClassName))
        ThrowLastError(u"RegisterClassExW for the toolkit's utility window");
    FUtility.Create();
}

TWin32Backend::~TWin32Backend() {
    for (const auto& [id, timer] : FTimers)
        ::KillTimer(FUtility.Window(), id);
}

// --- peers ---

std::unique_ptr<IPeer> TWin32Backend::CreatePeer(TControl& Control) {
    return CreateControlPeer(*this, Control);
}

std::unique_ptr<IPeer> TWin32Backend::CreateComponentPeer(TComponent& Component) {
    return CreateNonControlPeer(*this, Component);
}

// --- the loop ---

bool TWin32Backend::PreviewChar(MSG& Msg) {
    HWND root = ::GetAncestor(Msg.hwnd, GA_ROOT);
    if (!IsToolkitWindow(root))
        return true;
    TWindowPeer* peer = TWindowPeer::FromWindow(root);
    auto* form = peer != nullptr ? dynamic_cast<TForm*>(&peer->Control()) : nullptr;
    if (form == nullptr)
        return true;
    auto key = static_cast<char16_t>(Msg.wParam);
    try {
        // The window with the focus is the form's active control when it is one of ours.
        if (TWindowPeer* focused = TWindowPeer::FromOwnWindow(Msg.hwnd);
            focused != nullptr && &focused->Control() != form && focused->Control().ParentForm() == form)
            form->SetActiveControl(&focused->Control());
        form->KeyPress(key);
    } catch (...) {
        // The preview runs outside any window procedure; its errors are reported all the same.
        form->Application().HandleException(std::current_exception());
    }
    if (key == 0)
        return false;
    Msg.wParam = key;
    return true;
}

bool TWin32Backend::PumpOne(TApplication& App, bool Wait) {
    MSG msg{};
    if (Wait) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // WM_QUIT (or a broken queue): the application ends.
            App.Terminate();
            return false;
        }
    } else if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    } else if (msg.message == WM_QUIT) {
        App.Terminate();
        return false;
    }
    if (msg.message == WM_CHAR && !PreviewChar(msg))
        return true;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}

void TWin32Backend::RunLoop(TApplication& App) {
    while (!App.Terminated())
        PumpOne(App, true);
}

void TWin32Backend::RunModal(TApplication& App, TForm& Form) {
    TDisabledWindows disabled;
    disabled.Modal = WindowOf(&Form);
    ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOthers, reinterpret_cast<LPARAM>(&disabled));
    // The other windows come back on every way out, before the modal form is hidden, so that
    // activation returns to them.
    struct TReEnable {
        std::vector<HWND>& Windows;
        ~TReEnable() {
            for (auto it = Windows.rbegin(); it != Windows.rend(); ++it)
                if (::IsWindow(*it))
                    ::EnableWindow(*it, TRUE);
        }
    } reEnable{disabled.Windows};
    // A handler may free the form inside its own loop; then the loop ends without reading it.
    const TFreeWatch watch(Form);
    while (!watch.Freed() && Form.ModalResult() == mrNone && !App.Terminated())
        PumpOne(App, true);
}

void TWin32Backend::ProcessMessages(TApplication& App) {
    while (PumpOne(App, false)) {
    }
}

void TWin32Backend::WakeUp() {
    ::PostMessageW(FUtility.Window(), WM_NULL, 0, 0);
}

void TWin32Backend::PostFormMessage(TForm& Form, const TMessage& Msg) {
    ::PostMessageW(reinterpret_cast<HWND>(Form.Handle()), Msg.Msg, Msg.WParam, Msg.LParam);
}

// The form's peer does the toolkit's part; a form without a window answers 0.
void TWin32Backend::DefaultHandler(TForm& Form, TMessage& Msg) {
    TFormPeer* peer = TFormPeer::Of(Form);
    if (peer == nullptr || peer->Window() == nullptr) {
        Msg.Result = 0;
        return;
    }
    peer->DefaultMessage(Msg);
}

// --- timers ---

void TWin32Backend::StartTimer(TTimer& Timer, std::uint32_t IntervalMs) {
    if (IntervalMs == 0) {
        StopTimer(Timer);
        return;
    }
    auto found = FTimerIds.find(&Timer);
    UINT_PTR id = found != FTimerIds.end() ? found->second : FNextTimerId++;
    FTimerIds[&Timer] = id;
    FTimers[id] = &Timer;
    // SetTimer on an id that runs already replaces it, which starts the countdown afresh.
    ::SetTimer(FUtility.Window(), id, IntervalMs, nullptr);
}

void TWin32Backend::StopTimer(TTimer& Timer) {
    auto found = FTimerIds.find(&Timer);
    if (found == FTimerIds.end())
        return;
    ::KillTimer(FUtility.Window(), found->second);
    FTimers.erase(found->second);
    FTimerIds.erase(found);
}

void TWin32Backend::TimerFired(UINT_PTR Id) {
    auto found = FTimers.find(Id);
    if (found == FTimers.end()) {
        ::KillTimer(FUtility.Window(), Id);
        return;
    }
    TTimer& timer = *found->second;
    try {
        timer.Fire();
    } catch (...) {
        timer.Application().HandleException(std::current_exception());
    }
}

void TWin32Backend::TUtilityWindow::Create() {
    // A hidden top-level window rather than a message-only one: pop-up menus need a window that
    // can take the foreground as their owner.
    FWindow.Reset(::CreateWindowExW(WS_EX_TOOLWINDOW, UtilityClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, ::GetModuleHandleW(nullptr),
                                    static_cast<IWindowHandler*>(this)));
    if (!FWindow)
        ThrowLastError(u"CreateWindowExW for the toolkit's utility window");
}

LRESULT TWin32Backend::TUtilityWindow::HandleMessage(HWND Window, UINT Message, WPARAM WParam,
                                                     LPARAM LParam) {
    if (Message == WM_TIMER) {
        FOwner.TimerFired(WParam);
        return 0;
    }
    return ::DefWindowProcW(Window, Message, WParam, LParam);
}

void TWin32Backend::TUtilityWindow::HandleException(std::exception_ptr) noexcept {
    // TimerFired hands every exception of a timer's handler to its application; nothing else here
    // runs the program's code.
}

// --- screen ---

std::vector<TMonitor> TWin32Backend::Monitors() const {
    return EnumerateMonitors(FDpi);
}

bool TWin32Backend::RestoresMaximized(const TForm& Form) const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!Form.HandleAllocated() ||
        !::GetWindowPlacement(reinterpret_cast<HWND>(Form.Peer()->Handle()), &placement))
        return false;
    return (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
}

TSize TWin32Backend::NonClientSize(const TForm& Form) const {
    const TFormWindowStyle style = FormWindowStyle(Form);
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, style.Style, Form.Menu() != nullptr ? TRUE : FALSE, style.ExStyle);
    return TSize{frame.right - frame.left, frame.bottom - frame.top};
}

void TWin32Backend::MinimizeApplication(TApplication& App) {
    if (HWND main = WindowOf(App.MainForm()))
        ::ShowWindow(main, SW_MINIMIZE);
}

void TWin32Backend::RestoreApplication(TApplication& App) {
    if (HWND main = WindowOf(App.MainForm()); main != nullptr && ::IsIconic(main))
        ::ShowWindow(main, SW_RESTORE);
}

void TWin32Backend::BringApplicationToFront(TApplication& App) {
    if (HWND main = WindowOf(App.MainForm())) {
        HWND popup = ::GetLastActivePopup(main);
        ::SetForegroundWindow(popup != nullptr && ::IsWindowVisible(popup) ? popup : main);
    }
}

int TWin32Backend::MessageBox(TForm* Owner, const std::u16string& Text, const std::u16string& Caption,
                              std::uint32_t Flags) {
    return ::MessageBoxW(WindowOf(Owner), AsWide(Text), AsWide(Caption), Flags);
}

// --- clipboard ---

void TWin32Backend::SetClipboardText(const std::u16string& Text) {
    WriteClipboardText(FUtility.Window(), Text);
}

std::optional<std::u16string> TWin32Backend::ClipboardText() {
    return ReadClipboardText(FUtility.Window());
}

// --- text and pictures ---

TTextMetrics TWin32Backend::MeasureText(const TFont& Font, std::u16string_view Text) {
    TMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        return {};
    TSelection font(dc.Get(), FFonts.Get(Font, Font.PixelsPerInch()));
    return MeasureIn(dc.Get(), Text);
}

TColor TWin32Backend::WindowColor() const {
    return static_cast<TColor>(ToColorRef(clWindow));
}

std::optional<TBitmapData> TWin32Backend::LoadPicture(const std::u16string& FileName) {
    return DecodePicture(FileName);
}

std::optional<TBitmapData> TWin32Backend::ApplicationIcon(int Size) {
    return IconPicture(::GetModuleHandleW(nullptr), ApplicationIconId, Size);
}

HBRUSH TWin32Backend::Brush(COLORREF Color) {
    auto found = FBrushes.find(Color);
    if (found != FBrushes.end())
        return found->second.Get();
    TBrushHandle brush(::CreateSolidBrush(Color));
    HBRUSH result = brush.Get();
    if (result != nullptr)
        FBrushes.emplace(Color, std::move(brush));
    return result;
}

// --- menus ---

TMenuHandle TWin32Backend::BuildMenuBar(TForm& Form) {
    if (Form.Menu() == nullptr || Form.Menu()->Items() == nullptr)
        return TMenuHandle();
    // The menu's own peer passes later changes of its items on to the form.
    Form.Menu()->HandleNeeded();
    return BuildMenu(*Form.Menu()->Items(), false);
}

void TWin32Backend::MenuCommand(HMENU Menu, UINT Id) {
    if (TMenuItem* item = MenuItemOf(Menu, Id))
        item->Click();
}

void TWin32Backend::PopupMenu(TPopupMenu& Menu, TPoint ScreenPos) {
    if (Menu.Items() == nullptr)
        return;
    TMenuHandle menu = BuildMenu(*Menu.Items(), true);
    if (!menu)
        return;
    HWND owner = FUtility.Window();
    // Without the foreground the menu would not close when the user clicks elsewhere; the posted
    // message afterwards lets it close properly the next time (a documented quirk of tray menus).
    ::SetForegroundWindow(owner);
    const auto id =
        static_cast<UINT>(::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                           ScreenPos.X, ScreenPos.Y, 0, owner, nullptr));
    ::PostMessageW(owner, WM_NULL, 0, 0);
    MenuCommand(menu.Get(), id);
}

} // namespace toolkit::win32
