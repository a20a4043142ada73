#include "toolkit/Toolkit.Form.h"

#include <utility>

#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/Toolkit.Menus.h"

#include <algorithm>

namespace toolkit {

namespace {

int Limit(int Value, int Minimum, int Maximum) {
    if (Minimum > 0) {
        Value = std::max(Value, Minimum);
    }
    if (Maximum > 0) {
        Value = std::min(Value, Maximum);
    }
    return Value;
}

} // namespace

TForm::TForm(TComponent* AOwner) : TControl(AOwner) {
    InitForm();
}

TForm::TForm(TApplication& App) : TControl(App) {
    InitForm();
}

// A new form is hidden until shown, starts with the application's default font (it has no
// parent to take one from) and is on the screen's list.
void TForm::InitForm() {
    TControl::SetVisible(false);
    TakeParentFont(Application().DefaultFont());
    Application().Screen().AddForm(this);
}

TForm::~TForm() {
    MarkDestroying();
    // A form freed without Free() still has its window: it goes now, while the form is one, because
    // every message the window gets is handed to Dispatch (the children's windows, going, tell it).
    DestroyPeerTree();
    Application().Screen().RemoveForm(this);
}

void TForm::FinishConstruction() {
    if (!FLoading) {
        throw EInvalidOperation(u"The form " + Name() + u" is already constructed");
    }
    FLoading = false;
    Loaded();
    DoCreate();
}

// --- window ---

void TForm::SetWindowState(TWindowState Value) {
    SetField(FWindowState, Value, TChange::State);
}

// The window keeps its size; the client area takes the difference.
void TForm::SetBorderStyle(TFormBorderStyle Value) {
    if (Value == FBorderStyle) {
        return;
    }
    FBorderStyle = Value;
    Changed(TChange::Style);
    ClientSizeChanged();
}

void TForm::SetBorderIcons(TBorderIcons Value) {
    SetField(FBorderIcons, Value, TChange::Style);
}

void TForm::SetPosition(TPosition Value) {
    FPosition = Value;
}

void TForm::SetFormStyle(TFormStyle Value) {
    SetField(FFormStyle, Value, TChange::Style);
}

void TForm::SetMenu(TMainMenu* Value) {
    if (Value == FMenu) {
        return;
    }
    FMenu = Value;
    Changed(TChange::Items);
    ClientSizeChanged();
}

// The window drops the freed menu's bar, which also gives a maximised one a taller client area.
void TForm::MenuFreed() {
    if (!Destroying()) {
        Changed(TChange::Items);
        ClientSizeChanged();
    }
}

void TForm::SetAlphaBlend(bool Value) {
    SetField(FAlphaBlend, Value, TChange::Style);
}

void TForm::SetAlphaBlendValue(std::uint8_t Value) {
    SetField(FAlphaBlendValue, Value, TChange::Style);
}

void TForm::SetMinSize(TSize Value) {
    FMinSize = Value;
    SetBounds(Left(), Top(), Width(), Height());
}

void TForm::SetMaxSize(TSize Value) {
    FMaxSize = Value;
    SetBounds(Left(), Top(), Width(), Height());
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TControl::SetBounds(ALeft, ATop, Limit(AWidth, FMinSize.Width, FMaxSize.Width),
                        Limit(AHeight, FMinSize.Height, FMaxSize.Height));
}

void TForm::SetPopupParent(TForm* Value) {
    if (Value == FPopupParent) {
        return;
    }
    if (Value == this) {
        throw EInvalidOperation(u"A form cannot be its own pop-up parent");
    }
    FPopupParent = Value;
    Changed(TChange::Style);
}

void TForm::SetActiveControl(TControl* Value) {
    if (Value == FActiveControl) {
        return;
    }
    if (Value != nullptr && (Value == this || Value->ParentForm() != this)) {
        throw EInvalidOperation(u"The active control must be a control on the form " + Name());
    }
    FActiveControl = Value;
}

TRect TForm::ClientRect() const {
    if (FShownClientSize) {
        return TRect{0, 0, FShownClientSize->Width, FShownClientSize->Height};
    }
    const TSize frame = Application().Backend().NonClientSize(*this);
    return TRect{0, 0, std::max(0, Width() - frame.Width), std::max(0, Height() - frame.Height)};
}

void TForm::ShownClientSizeChanged(std::optional<TSize> ClientSize) {
    if (ClientSize) {
        ClientSize = TSize{std::max(0, ClientSize->Width), std::max(0, ClientSize->Height)};
    }
    if (ClientSize == FShownClientSize) {
        return;
    }
    const TRect oldClient = ClientRect();
    FShownClientSize = ClientSize;
    ClientSizeChanged();
    const TRect client = ClientRect();
    if (client.Width() != oldClient.Width() || client.Height() != oldClient.Height()) {
        Resize();
    }
}

// Sets the normal bounds; a maximised window keeps its size until it is restored.
void TForm::SetClientSize(int AWidth, int AHeight) {
    const TSize frame = Application().Backend().NonClientSize(*this);
    SetBounds(Left(), Top(), AWidth + frame.Width, AHeight + frame.Height);
}

// The frame is as wide at the bottom as at the sides; the rest of the height is above the client.
TPoint TForm::ClientOrigin() const {
    const TSize frame = Application().Backend().NonClientSize(*this);
    const int side = frame.Width / 2;
    return TPoint{side, frame.Height - side};
}

TMonitor TForm::Monitor() const {
    TRect onScreen = BoundsRect();
    if (Parent() != nullptr) {
        const TPoint topLeft = Parent()->ClientToScreen(TPoint{Left(), Top()});
        onScreen = RectOf(topLeft.X, topLeft.Y, Width(), Height());
    }
    return Application().Screen().MonitorFromRect(onScreen);
}

bool TForm::RestoresMaximized() const {
    return HandleAllocated() && Application().Backend().RestoresMaximized(*this);
}

// --- showing and closing ---

void TForm::SetVisible(bool Value) {
    if (Value == Visible()) {
        if (Value) {
            BringToFront();
        }
        return;
    }
    if (Value) {
        HandleNeeded();
        TControl::SetVisible(true);
        DoShow();
    } else {
        TControl::SetVisible(false);
        DoHide();
    }
}

// A modal form only sets its result; its loop then asks the close questions. A handler that frees
// the form has closed it (misuse, but nothing of the freed form is read afterwards).
void TForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    TApplication& app = Application();
    const bool wasMainForm = app.MainForm() == this;
    const TFreeWatch watch(*this);
    const bool canClose = CloseQuery();
    TCloseAction action = TCloseAction::caHide;
    if (canClose && !watch.Freed()) {
        DoClose(action);
    }
    if (watch.Freed()) {
        if (wasMainForm) {
            app.Terminate();
        }
        return;
    }
    if (!canClose || action == TCloseAction::caNone) {
        return;
    }
    if (app.MainForm() == this) {
        app.Terminate();
        if (action == TCloseAction::caFree) {
            Release();
        }
        return;
    }
    switch (action) {
    case TCloseAction::caHide:
        Hide();
        break;
    case TCloseAction::caMinimize:
        SetWindowState(TWindowState::wsMinimized);
        break;
    case TCloseAction::caFree:
        Release();
        break;
    case TCloseAction::caNone:
        break;
    }
}

// A form freed inside its own loop (misuse) ends the loop: with the result that was set when its
// OnClose freed it, else cancelled; nothing of the freed form is read.
int TForm::ShowModal() {
    if (Visible() || FModal) {
        throw EInvalidOperation(u"Cannot make a visible window modal");
    }
    TApplication& app = Application();
    const TFreeWatch watch(*this);
    FModalResult = mrNone;
    FModal = true;
    try {
        Show();
        while (!watch.Freed()) {
            app.Backend().RunModal(app, *this);
            if (watch.Freed()) {
                break;
            }
            if (app.Terminated()) {
                if (FModalResult == mrNone) {
                    FModalResult = mrCancel;
                }
                FModal = false;
                Hide();
                return FModalResult;
            }
            if (FModalResult == mrNone) {
                continue;
            }
            const int result = FModalResult;
            const bool closed = CloseModal();
            if (watch.Freed()) {
                return result;
            }
            if (closed) {
                FModal = false;
                Hide();
                return FModalResult;
            }
        }
    } catch (...) {
        if (!watch.Freed()) {
            FModal = false;
            Hide();
        }
        throw;
    }
    return mrCancel;
}

bool TForm::CloseModal() {
    const TFreeWatch watch(*this);
    TCloseAction action = TCloseAction::caNone;
    if (CloseQuery() && !watch.Freed()) {
        action = TCloseAction::caHide;
        DoClose(action);
    }
    if (watch.Freed()) {
        return true;
    }
    switch (action) {
    case TCloseAction::caNone:
        FModalResult = mrNone;
        return false;
    case TCloseAction::caFree:
        Release();
        return true;
    case TCloseAction::caHide:
    case TCloseAction::caMinimize:
        return true;
    }
    return true;
}

void TForm::BringToFront() {
    HandleNeeded();
    Changed(TChange::ZOrder);
}

void TForm::ShowWithoutFocus() {
    const bool outer = std::exchange(FWithoutFocus, true);
    const TFreeWatch watch(*this);
    if (!Visible()) {
        Show();
    }
    if (!watch.Freed() && WindowState() == TWindowState::wsMinimized) {
        SetWindowState(TWindowState::wsNormal);
    }
    if (!watch.Freed()) {
        BringToFront();
        FWithoutFocus = outer;
    }
}

// Bound to the form, so that freeing it earlier drops the call.
void TForm::Release() {
    Application().Queue([this] { Free(); }, this);
}

// --- hooks ---

void TForm::CreateParams(TCreateParams& Params) {
    Params.Caption = Caption();
    Params.Bounds = BoundsRect();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) {
        OnCloseQuery(this, canClose);
    }
    return canClose;
}

void TForm::DoClose(TCloseAction& Action) {
    if (OnClose) {
        OnClose(this, Action);
    }
}

void TForm::DoCreate() {
    if (OnCreate) {
        OnCreate(this);
    }
}

void TForm::DoDestroy() {
    if (OnDestroy) {
        OnDestroy(this);
    }
}

void TForm::DoShow() {
    if (OnShow) {
        OnShow(this);
    }
}

void TForm::DoHide() {
    if (OnHide) {
        OnHide(this);
    }
}

// --- messages ---

void TForm::Dispatch(TMessage& Msg) {
    DefaultHandler(Msg);
}

void TForm::DefaultHandler(TMessage& Msg) {
    Application().Backend().DefaultHandler(*this, Msg);
}

std::intptr_t TForm::Perform(std::uint32_t Msg, std::uintptr_t WParam, std::intptr_t LParam) {
    TMessage message{Msg, WParam, LParam, 0};
    Dispatch(message);
    return message.Result;
}

// Messages go to the form's window, which is made for it if it has none yet.
void TForm::PostMessage(std::uint32_t Msg, std::uintptr_t WParam, std::intptr_t LParam) {
    HandleNeeded();
    Application().Backend().PostFormMessage(*this, TMessage{Msg, WParam, LParam, 0});
}

// With KeyPreview, or when no control has the focus, the form's handler sees the key first and
// may swallow it by setting it to 0.
void TForm::KeyPress(char16_t& Key) {
    if ((FKeyPreview || FActiveControl == nullptr) && OnKeyPress) {
        OnKeyPress(this, Key);
    }
    if (Key != 0 && FActiveControl != nullptr) {
        FActiveControl->KeyPress(Key);
    }
}

std::span<const TTextProperty> TForm::TextProperties() const {
    return CaptionedControlProperties;
}

// --- life ---

void TForm::BeforeDestruction() {
    DoDestroy();
    TControl::BeforeDestruction();
}

// The owner window is made before this one.
void TForm::CreatePeer() {
    if (FPopupParent != nullptr) {
        FPopupParent->HandleNeeded();
    }
    TControl::CreatePeer();
}

} // namespace toolkit
