#include "toolkit/headless/Headless.Backend.h"

#include "toolkit/Toolkit.Clipboard.h"
#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/Toolkit.Timer.h"

#include <algorithm>
#include <cstdlib>

namespace toolkit::headless {

// --- THeadlessPeer ---

THeadlessPeer::THeadlessPeer(THeadlessBackend& Backend, TComponent& Component, platform::TWindowHandle Handle)
    : FBackend(Backend), FComponent(Component), FHandle(Handle) {
    if (const auto* form = dynamic_cast<const TForm*>(&Component)) {
        FWindowState = form->WindowState();
    }
}

void THeadlessPeer::Sync(TChange What) {
    ++FSyncs[What];
    auto* form = dynamic_cast<TForm*>(&FComponent);
    if (form == nullptr || form->Destroying()) {
        return;
    }
    if (What == TChange::ZOrder) {
        ++(form->ShowingWithoutFocus() ? FQuietRaises : FFocusingRaises);
    }
    if (What == TChange::State && form->WindowState() != FWindowState) {
        if (form->WindowState() == TWindowState::wsMinimized) {
            FRestoresMaximized = FWindowState == TWindowState::wsMaximized;
        }
        FWindowState = form->WindowState();
    }
    ReportShownSize(*form);
}

// As Windows' WM_SIZE: a window shown maximised has the client area its monitor gives it (which a
// new border, menu bar or monitor changes), a normal one is at its bounds; a hidden window does not
// change state, and a minimised one keeps the layout it comes back to.
void THeadlessPeer::ReportShownSize(TForm& Form) {
    switch (Form.WindowState()) {
    case TWindowState::wsNormal:
        Form.ShownClientSizeChanged(std::nullopt);
        break;
    case TWindowState::wsMaximized:
        if (Form.Visible()) {
            Form.ShownClientSizeChanged(FBackend.MaximizedClientSize(Form));
        }
        break;
    case TWindowState::wsMinimized:
        break;
    }
}

THeadlessPeer::~THeadlessPeer() {
    FBackend.PeerDestroyed(*this);
}

int THeadlessPeer::SyncCount(TChange What) const {
    const auto found = FSyncs.find(What);
    return found == FSyncs.end() ? 0 : found->second;
}

int THeadlessPeer::SyncTotal() const {
    int total = 0;
    for (const auto& [what, count] : FSyncs) {
        total += count;
    }
    return total;
}

// --- THeadlessBackend ---

THeadlessBackend::THeadlessBackend(platform::sim::TSimPlatform& Sim) : FSim(Sim) {
    TMonitor primary;
    primary.MonitorNum = 0;
    primary.BoundsRect = TRect{0, 0, 1920, 1080};
    primary.WorkareaRect = TRect{0, 0, 1920, 1040};
    primary.PixelsPerInch = 96;
    primary.Primary = true;
    FMonitors.push_back(primary);
}

THeadlessBackend::~THeadlessBackend() = default;

std::uint64_t THeadlessBackend::NowMs() const {
    return FSim.Desktop.MonotonicMs();
}

bool THeadlessBackend::HasPendingWork() const {
    return !FPosted.empty() || FSim.MainThread.PendingCount() != 0;
}

std::size_t THeadlessBackend::Step() {
    std::size_t ran = 0;
    while (HasPendingWork()) {
        while (!FPosted.empty()) {
            TPosted posted = FPosted.front();
            FPosted.pop_front();
            posted.Form->Dispatch(posted.Msg);
            ++ran;
        }
        ran += FSim.MainThread.Drain();
    }
    return ran;
}

void THeadlessBackend::AdvanceTime(std::uint64_t Ms) {
    AdvanceTo(NowMs() + Ms, nullptr);
}

std::optional<std::uint64_t> THeadlessBackend::NextTimerDue() const {
    std::optional<std::uint64_t> next;
    for (const auto& [timer, armed] : FTimers) {
        if (!next || armed.Due < *next) {
            next = armed.Due;
        }
    }
    return next;
}

TTimer* THeadlessBackend::NextDueTimer(std::uint64_t Until) const {
    const TTimer* best = nullptr;
    const TArmedTimer* bestArmed = nullptr;
    for (const auto& [timer, armed] : FTimers) {
        if (armed.Due > Until) {
            continue;
        }
        if (bestArmed == nullptr || armed.Due < bestArmed->Due ||
            (armed.Due == bestArmed->Due && armed.Sequence < bestArmed->Sequence)) {
            best = timer;
            bestArmed = &armed;
        }
    }
    return const_cast<TTimer*>(best);
}

// The timer is re-armed before its handler runs, so a handler that stops it or changes its
// interval has the last word.
void THeadlessBackend::AdvanceTo(std::uint64_t Target, TApplication* RouteErrorsTo) {
    while (TTimer* timer = NextDueTimer(Target)) {
        TArmedTimer& armed = FTimers.at(timer);
        const std::uint64_t due = armed.Due;
        if (due > NowMs()) {
            FSim.Desktop.AdvanceMs(due - NowMs());
        }
        armed.Due = due + armed.Interval;
        armed.Sequence = ++FTimerSequence;
        try {
            timer->Fire();
            Step();
        } catch (const std::exception& Error) {
            if (RouteErrorsTo == nullptr) {
                throw;
            }
            RouteErrorsTo->HandleException(Error);
        }
    }
    if (Target > NowMs()) {
        FSim.Desktop.AdvanceMs(Target - NowMs());
    }
}

template <class TDone> void THeadlessBackend::Loop(TApplication& App, TDone Done) {
    for (;;) {
        try {
            Step();
        } catch (const std::exception& Error) {
            App.HandleException(Error);
            continue;
        }
        if (Done()) {
            return;
        }
        if (HasPendingWork()) {
            continue;
        }
        const std::optional<std::uint64_t> next = NextTimerDue();
        if (!next) {
            throw EInvalidOperation(u"headless loop would wait forever");
        }
        AdvanceTo(std::max(*next, NowMs()), &App);
        if (Done()) {
            return;
        }
    }
}

void THeadlessBackend::RunLoop(TApplication& App) {
    Loop(App, [&App] { return App.Terminated(); });
}

// A handler may free the form inside its own loop; then the loop ends without reading it.
void THeadlessBackend::RunModal(TApplication& App, TForm& Form) {
    const TFreeWatch watch(Form);
    Loop(App, [&] { return App.Terminated() || watch.Freed() || Form.ModalResult() != mrNone; });
}

void THeadlessBackend::ProcessMessages(TApplication& App) {
    for (;;) {
        try {
            Step();
            return;
        } catch (const std::exception& Error) {
            App.HandleException(Error);
        }
    }
}

std::unique_ptr<IPeer> THeadlessBackend::CreatePeer(TControl& Control) {
    return CreateComponentPeer(Control);
}

std::unique_ptr<IPeer> THeadlessBackend::CreateComponentPeer(TComponent& Component) {
    auto peer = std::make_unique<THeadlessPeer>(*this, Component, FNextHandle);
    FNextHandle += 4;
    ++FPeersCreated;
    FPeers.push_back(peer.get());
    return peer;
}

const THeadlessPeer* THeadlessBackend::PeerOf(const TControl& Control) const {
    return dynamic_cast<const THeadlessPeer*>(Control.Peer());
}

// Posted messages die with their window.
void THeadlessBackend::PeerDestroyed(THeadlessPeer& Peer) {
    FPeers.erase(std::remove(FPeers.begin(), FPeers.end(), &Peer), FPeers.end());
    TComponent* gone = &Peer.Component();
    std::erase_if(FPosted,
                  [gone](const TPosted& Posted) { return static_cast<TComponent*>(Posted.Form) == gone; });
}

void THeadlessBackend::PostFormMessage(TForm& Form, const TMessage& Msg) {
    if (!Form.HandleAllocated()) {
        return;
    }
    FPosted.push_back(TPosted{&Form, Msg});
}

void THeadlessBackend::DefaultHandler(TForm& Form, TMessage& Msg) {
    FDefaultHandled.push_back(Msg);
    Msg.Result = 0;
    if (Msg.Msg != msgSysCommand) {
        return;
    }
    // The low four bits of a system command are the system's own.
    switch (Msg.WParam & 0xFFF0u) {
    case scMinimize:
        Form.SetWindowState(TWindowState::wsMinimized);
        break;
    case scMaximize:
        Form.SetWindowState(TWindowState::wsMaximized);
        break;
    case scRestore:
        Form.SetWindowState(TWindowState::wsNormal);
        break;
    case scClose:
        Form.Close();
        break;
    default:
        break;
    }
}

void THeadlessBackend::StartTimer(TTimer& Timer, std::uint32_t IntervalMs) {
    FTimers[&Timer] = TArmedTimer{IntervalMs, NowMs() + IntervalMs, ++FTimerSequence};
}

void THeadlessBackend::StopTimer(TTimer& Timer) {
    FTimers.erase(&Timer);
}

bool THeadlessBackend::RestoresMaximized(const TForm& Form) const {
    const THeadlessPeer* peer = PeerOf(Form);
    return peer != nullptr && Form.WindowState() == TWindowState::wsMinimized && peer->RestoresMaximized();
}

// The window covers the work area with its frame pushed past the edges (the frame is as wide at the
// top and bottom as at the sides), as Windows places a maximised window, unless MaxSize makes it
// smaller.
TSize THeadlessBackend::MaximizedClientSize(const TForm& Form) const {
    const TSize frame = NonClientSize(Form);
    const TRect work = Form.Monitor().WorkareaRect;
    int width = work.Width() + frame.Width;
    int height = work.Height() + frame.Width;
    if (Form.MaxSize().Width > 0) {
        width = std::min(width, Form.MaxSize().Width);
    }
    if (Form.MaxSize().Height > 0) {
        height = std::min(height, Form.MaxSize().Height);
    }
    return TSize{std::max(0, width - frame.Width), std::max(0, height - frame.Height)};
}

TSize THeadlessBackend::NonClientSize(const TForm& Form) const {
    TSize frame;
    switch (Form.BorderStyle()) {
    case TFormBorderStyle::bsNone:
        frame = TSize{0, 0};
        break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsDialog:
        frame = TSize{6, 29};
        break;
    case TFormBorderStyle::bsSizeable:
        frame = TSize{16, 39};
        break;
    case TFormBorderStyle::bsToolWindow:
        frame = TSize{6, 23};
        break;
    case TFormBorderStyle::bsSizeToolWin:
        frame = TSize{16, 33};
        break;
    }
    if (Form.Menu() != nullptr) {
        frame.Height += 20;
    }
    return frame;
}

void THeadlessBackend::MinimizeApplication(TApplication&) {
    ++FMinimizeCount;
}

void THeadlessBackend::RestoreApplication(TApplication&) {
    ++FRestoreCount;
}

void THeadlessBackend::BringApplicationToFront(TApplication&) {
    ++FBringToFrontCount;
}

int THeadlessBackend::MessageBox(TForm* Owner, const std::u16string& Text, const std::u16string& Caption,
                                 std::uint32_t Flags) {
    FMessageBoxes.push_back(TRecordedMessageBox{Owner, Text, Caption, Flags});
    if (FMessageBoxAnswers.empty()) {
        return mrOk;
    }
    const int answer = FMessageBoxAnswers.front();
    FMessageBoxAnswers.pop_front();
    return answer;
}

void THeadlessBackend::ClipboardAttempt() {
    ++FClipboardAttempts;
    if (FClipboardBusyAttempts > 0) {
        --FClipboardBusyAttempts;
        throw EClipboardException();
    }
}

void THeadlessBackend::SetClipboardText(const std::u16string& Text) {
    ClipboardAttempt();
    FClipboard = Text;
}

std::optional<std::u16string> THeadlessBackend::ClipboardText() {
    ClipboardAttempt();
    return FClipboard;
}

void THeadlessBackend::PopupMenu(TPopupMenu& Menu, TPoint ScreenPos) {
    FPopups.push_back(TRecordedPopup{&Menu, ScreenPos});
}

TTextMetrics THeadlessBackend::MeasureText(const TFont& Font, std::u16string_view Text) {
    const int pixels = std::max(1, std::abs(Font.Height()));
    const int averageWidth = (pixels + 1) / 2;
    return TTextMetrics{static_cast<int>(Text.size()) * averageWidth, pixels * 4 / 3, 0};
}

std::optional<TBitmapData> THeadlessBackend::LoadPicture(const std::u16string& FileName) {
    if (!FSim.Files.FileExists(FileName)) {
        return std::nullopt;
    }
    return TBitmapData{16, 16, std::vector<std::uint32_t>(16 * 16, 0xFF808080u)};
}

std::optional<TBitmapData> THeadlessBackend::ApplicationIcon(int) {
    return FApplicationIcon;
}

} // namespace toolkit::headless
