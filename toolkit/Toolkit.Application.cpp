#include "toolkit/Toolkit.Application.h"

#include "base/Base.Unicode.h"
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.Exceptions.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace toolkit {

namespace {

long long OverlapArea(const TRect& A, const TRect& B) {
    const long long width = std::min(A.Right, B.Right) - std::max(A.Left, B.Left);
    const long long height = std::min(A.Bottom, B.Bottom) - std::max(A.Top, B.Top);
    return (width > 0 && height > 0) ? width * height : 0;
}

// Squared gap between two rectangles; 0 when they touch or overlap.
long long GapSquared(const TRect& A, const TRect& B) {
    const long long dx = std::max({0, B.Left - A.Right, A.Left - B.Right});
    const long long dy = std::max({0, B.Top - A.Bottom, A.Top - B.Bottom});
    return dx * dx + dy * dy;
}

} // namespace

// --- TScreen ---

std::vector<TMonitor> TScreen::Monitors() const {
    return FBackend.Monitors();
}

TMonitor TScreen::PrimaryMonitor() const {
    const std::vector<TMonitor> monitors = Monitors();
    for (const TMonitor& monitor : monitors) {
        if (monitor.Primary) {
            return monitor;
        }
    }
    return monitors.empty() ? TMonitor{} : monitors.front();
}

TMonitor TScreen::MonitorFromRect(const TRect& Rect) const {
    const std::vector<TMonitor> monitors = Monitors();
    if (monitors.empty()) {
        return TMonitor{};
    }
    const TMonitor* best = nullptr;
    long long bestArea = 0;
    for (const TMonitor& monitor : monitors) {
        const long long area = OverlapArea(Rect, monitor.BoundsRect);
        if (area > bestArea) {
            best = &monitor;
            bestArea = area;
        }
    }
    if (best != nullptr) {
        return *best;
    }
    long long bestGap = std::numeric_limits<long long>::max();
    for (const TMonitor& monitor : monitors) {
        const long long gap = GapSquared(Rect, monitor.BoundsRect);
        if (gap < bestGap) {
            best = &monitor;
            bestGap = gap;
        }
    }
    return *best;
}

TRect TScreen::DesktopRect() const {
    const std::vector<TMonitor> monitors = Monitors();
    if (monitors.empty()) {
        return TRect{};
    }
    TRect all = monitors.front().BoundsRect;
    for (const TMonitor& monitor : monitors) {
        all.Left = std::min(all.Left, monitor.BoundsRect.Left);
        all.Top = std::min(all.Top, monitor.BoundsRect.Top);
        all.Right = std::max(all.Right, monitor.BoundsRect.Right);
        all.Bottom = std::max(all.Bottom, monitor.BoundsRect.Bottom);
    }
    return all;
}

int TScreen::Width() const {
    return PrimaryMonitor().BoundsRect.Width();
}

int TScreen::Height() const {
    return PrimaryMonitor().BoundsRect.Height();
}

void TScreen::AddForm(TForm* Form) {
    FForms.push_back(Form);
}

void TScreen::RemoveForm(TForm* Form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
}

// --- TApplication ---

TApplication::TApplication(IBackend& Backend, platform::IMainThread& MainThread)
    : TComponent(*this), FBackend(Backend), FMainThread(MainThread), FScreen(Backend) {
    // Forms without a parent follow the default font for as long as their ParentFont is on.
    FDefaultFont.OnChange = [this] {
        for (TForm* form : FScreen.Forms()) {
            if (form->Parent() == nullptr && form->ParentFont()) {
                form->SetParentFont(false);
                form->SetParentFont(true);
            }
        }
    };
}

// Forms without an owner cannot outlive the application they reach through it; they go after
// the owned components, the last created first.
TApplication::~TApplication() {
    MarkDestroying();
    DestroyComponents();
    while (!FScreen.Forms().empty()) {
        TForm* last = FScreen.Forms().back();
        try {
            last->Free();
        } catch (const std::exception& Error) {
            HandleException(Error);
        }
    }
    FMainThread.RemoveQueued(this);
}

void TApplication::SetMainForm(TForm* Form) {
    if (Form == FMainForm) {
        return;
    }
    FMainForm = Form;
}

void TApplication::SetTitle(const std::u16string& Value) {
    FTitle = Value;
}

void TApplication::Run() {
    if (FMainForm != nullptr && FShowMainForm) {
        if (FMainForm->WindowState() == TWindowState::wsMinimized) {
            Minimize();
        } else if (!FMinimized) {
            FMainForm->Show();
        }
    }
    FBackend.RunLoop(*this);
}

void TApplication::Terminate() {
    FTerminated = true;
    FBackend.WakeUp();
}

void TApplication::ProcessMessages() {
    FBackend.ProcessMessages(*this);
}

void TApplication::Minimize() {
    if (FMinimized) {
        return;
    }
    FMinimized = true;
    FBackend.MinimizeApplication(*this);
}

void TApplication::Restore() {
    if (!FMinimized) {
        return;
    }
    FMinimized = false;
    FBackend.RestoreApplication(*this);
}

void TApplication::BringToFront() {
    FBackend.BringApplicationToFront(*this);
}

void TApplication::Queue(std::function<void()> Call, const void* Owner) {
    FMainThread.Queue(std::move(Call), Owner);
}

void TApplication::RemoveQueued(const void* Owner) {
    FMainThread.RemoveQueued(Owner);
}

// The active form is the innermost modal one while a modal loop runs, else the main form.
int TApplication::MessageBox(const std::u16string& Text, const std::u16string& Caption, std::uint32_t Flags) {
    TForm* owner = FMainForm;
    for (TForm* form : FScreen.Forms()) {
        if (form->Modal() && form->Visible()) {
            owner = form;
        }
    }
    return FBackend.MessageBox(owner, Text, Caption, Flags);
}

void TApplication::HandleException(const std::exception& Error) {
    if (OnException) {
        OnException(Error);
        return;
    }
    MessageBox(base::ExceptionMessage(Error), FTitle, mbOk | mbIconError);
}

void TApplication::HandleException(std::exception_ptr Error) {
    if (!Error) {
        return;
    }
    try {
        std::rethrow_exception(Error);
    } catch (const std::exception& Caught) {
        HandleException(Caught);
    } catch (...) {
        HandleException(std::runtime_error("an unknown exception escaped a handler"));
    }
}

} // namespace toolkit
