#include "toolkit/Toolkit.Control.h"

#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.Exceptions.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Menus.h"

#include <algorithm>

namespace toolkit {

namespace {

// An edge that is not anchored on either side keeps the control centred: it takes half the change.
void FollowParent(int& Position, int& Extent, int Delta, bool NearAnchor, bool FarAnchor) {
    if (NearAnchor && FarAnchor) {
        Extent += Delta;
    } else if (FarAnchor) {
        Position += Delta;
    } else if (!NearAnchor) {
        Position += Delta / 2;
    }
}

} // namespace

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    FFont.OnChange = [this] { OwnFontChanged(); };
}

TControl::TControl(TApplication& App) : TComponent(App) {
    FFont.OnChange = [this] { OwnFontChanged(); };
}

TControl::~TControl() {
    MarkDestroying();
    // The owned components still reach this control's child list and peer while they go.
    DestroyComponents();
    const std::vector<TControl*> children = FControls;
    for (TControl* child : children) {
        child->DestroyPeerTree();
        child->FParent = nullptr;
    }
    FControls.clear();
    FPeer.reset();
    if (FParent != nullptr) {
        auto& siblings = FParent->FControls;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        if (!FParent->Destroying()) {
            FParent->ControlsChanged();
        }
        FParent = nullptr;
    }
}

// --- parent and children ---

void TControl::SetParent(TControl* Value) {
    if (Value == FParent) {
        return;
    }
    for (TControl* up = Value; up != nullptr; up = up->FParent) {
        if (up == this) {
            throw EInvalidOperation(u"A control cannot be placed inside itself");
        }
    }
    // A native child window belongs to its parent's window, so it is made again under the new one.
    DestroyPeerTree();
    if (FParent != nullptr) {
        TControl* old = FParent;
        old->FControls.erase(std::remove(old->FControls.begin(), old->FControls.end(), this),
                             old->FControls.end());
        FParent = nullptr;
        old->ControlsChanged();
    }
    FParent = Value;
    if (Value != nullptr) {
        Value->FControls.push_back(this);
        if (FParentFont) {
            TakeParentFont(Value->FFont);
        }
        if (Value->HandleAllocated()) {
            CreatePeerTree();
        }
        Value->ControlsChanged();
    }
}

TForm* TControl::ParentForm() const {
    for (const TControl* control = this; control != nullptr; control = control->FParent) {
        if (auto* form = dynamic_cast<const TForm*>(control)) {
            return const_cast<TForm*>(form);
        }
    }
    return nullptr;
}

// --- bounds ---

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    ApplyBounds(ALeft, ATop, AWidth, AHeight, true);
}

void TControl::BoundsChangedByUser(const TRect& Bounds) {
    ApplyBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height(), false);
}

void TControl::ApplyBounds(int ALeft, int ATop, int AWidth, int AHeight, bool TellPeer) {
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) {
        return;
    }
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (TellPeer) {
        Changed(TChange::Bounds);
    }
    if (resized) {
        ClientSizeChanged();
        Resize();
    }
    // The parent lays its aligned children out again, unless it is the one placing this control.
    if (FParent != nullptr && FAlign != TAlign::alNone && !FParent->FAligning) {
        FParent->ControlsChanged();
    }
}

void TControl::ClientSizeChanged() {
    const TRect client = ClientRect();
    const TSize old = FLaidOutClientSize;
    if (client.Width() == old.Width && client.Height() == old.Height) {
        return;
    }
    FLaidOutClientSize = TSize{client.Width(), client.Height()};
    AnchorChildren(old.Width, old.Height);
    Realign();
}

// Every control's client origin is its position inside its parent's client area, plus, for a
// form, its left frame and its caption, top frame and menu bar.
TPoint TControl::ClientToScreen(TPoint Point) const {
    TPoint result = Point;
    for (const TControl* control = this; control != nullptr; control = control->FParent) {
        if (auto* form = dynamic_cast<const TForm*>(control)) {
            const TPoint origin = form->ClientOrigin();
            result.X += origin.X;
            result.Y += origin.Y;
        }
        result.X += control->FLeft;
        result.Y += control->FTop;
    }
    return result;
}

// --- layout ---

void TControl::SetAlign(TAlign Value) {
    if (!UpdateField(FAlign, Value)) {
        return;
    }
    if (FParent != nullptr) {
        FParent->ControlsChanged();
    }
}

void TControl::SetAlignWithMargins(bool Value) {
    if (!UpdateField(FAlignWithMargins, Value)) {
        return;
    }
    if (FParent != nullptr && FAlign != TAlign::alNone) {
        FParent->ControlsChanged();
    }
}

void TControl::SetMargins(const TMargins& Value) {
    if (!UpdateField(FMargins, Value)) {
        return;
    }
    if (FParent != nullptr && FAlign != TAlign::alNone && FAlignWithMargins) {
        FParent->ControlsChanged();
    }
}

void TControl::SetAnchors(TAnchors Value) {
    FAnchors = Value;
}

void TControl::Realign() {
    if (FAlignDisabled > 0 || FAligning) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    AlignChildren();
}

void TControl::EnableAlign() {
    if (FAlignDisabled > 0 && --FAlignDisabled == 0 && FAlignPending) {
        Realign();
    }
}

void TControl::AlignChildren() {
    FAligning = true;
    TRect rest = ClientRect();
    for (TAlign group :
         {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (TControl* child : FControls) {
            if (!child->FVisible || child->FAlign != group) {
                continue;
            }
            const TMargins m = child->FAlignWithMargins ? child->FMargins : TMargins{0, 0, 0, 0};
            const int width = std::max(0, rest.Width() - m.Left - m.Right);
            const int height = std::max(0, rest.Height() - m.Top - m.Bottom);
            switch (group) {
            case TAlign::alTop:
                child->SetBounds(rest.Left + m.Left, rest.Top + m.Top, width, child->FHeight);
                rest.Top = std::min(rest.Bottom, rest.Top + m.Top + child->FHeight + m.Bottom);
                break;
            case TAlign::alBottom:
                child->SetBounds(rest.Left + m.Left, rest.Bottom - m.Bottom - child->FHeight, width,
                                 child->FHeight);
                rest.Bottom = std::max(rest.Top, rest.Bottom - m.Top - child->FHeight - m.Bottom);
                break;
            case TAlign::alLeft:
                child->SetBounds(rest.Left + m.Left, rest.Top + m.Top, child->FWidth, height);
                rest.Left = std::min(rest.Right, rest.Left + m.Left + child->FWidth + m.Right);
                break;
            case TAlign::alRight:
                child->SetBounds(rest.Right - m.Right - child->FWidth, rest.Top + m.Top, child->FWidth,
                                 height);
                rest.Right = std::max(rest.Left, rest.Right - m.Left - child->FWidth - m.Right);
                break;
            case TAlign::alClient:
                child->SetBounds(rest.Left + m.Left, rest.Top + m.Top, width, height);
                break;
            case TAlign::alNone:
                break;
            }
        }
    }
    FAligning = false;
}

// While the form is still being built its controls get their final places, so nothing follows.
void TControl::AnchorChildren(int OldClientWidth, int OldClientHeight) {
    if (Loading()) {
        return;
    }
    const int deltaX = ClientWidth() - OldClientWidth;
    const int deltaY = ClientHeight() - OldClientHeight;
    FAligning = true;
    for (TControl* child : FControls) {
        if (child->FAlign != TAlign::alNone) {
            continue;
        }
        int left = child->FLeft;
        int top = child->FTop;
        int width = child->FWidth;
        int height = child->FHeight;
        FollowParent(left, width, deltaX, (child->FAnchors & akLeft) != 0, (child->FAnchors & akRight) != 0);
        FollowParent(top, height, deltaY, (child->FAnchors & akTop) != 0, (child->FAnchors & akBottom) != 0);
        child->SetBounds(left, top, std::max(0, width), std::max(0, height));
    }
    FAligning = false;
}

void TControl::ControlsChanged() {
    if (!Destroying()) {
        Realign();
    }
}

// --- state ---

void TControl::SetVisible(bool Value) {
    if (!UpdateField(FVisible, Value)) {
        return;
    }
    Changed(TChange::Visible);
    if (FParent != nullptr) {
        FParent->ControlsChanged();
    }
}

bool TControl::Showing() const {
    if (!FVisible) {
        return false;
    }
    if (FParent != nullptr) {
        return FParent->Showing();
    }
    return dynamic_cast<const TForm*>(this) != nullptr;
}

void TControl::SetEnabled(bool Value) {
    SetField(FEnabled, Value, TChange::Enabled);
}

void TControl::SetHint(const std::u16string& Value) {
    SetField(FHint, Value, TChange::Hint);
}

void TControl::SetShowHint(bool Value) {
    SetField(FShowHint, Value, TChange::Hint);
}

void TControl::SetCaption(const std::u16string& Value) {
    SetField(FCaption, Value, TChange::Text);
}

void TControl::SetParentFont(bool Value) {
    if (!UpdateField(FParentFont, Value)) {
        return;
    }
    if (!Value) {
        return;
    }
    if (FParent != nullptr) {
        TakeParentFont(FParent->FFont);
    } else if (dynamic_cast<const TForm*>(this) != nullptr) {
        TakeParentFont(Application().DefaultFont());
    }
}

void TControl::TakeParentFont(const TFont& Source) {
    FTakingParentFont = true;
    try {
        FFont.Assign(Source);
    } catch (...) {
        FTakingParentFont = false;
        throw;
    }
    FTakingParentFont = false;
}

void TControl::OwnFontChanged() {
    if (!FTakingParentFont) {
        FParentFont = false;
    }
    FontChanged();
}

void TControl::FontChanged() {
    Changed(TChange::Font);
    for (TControl* child : FControls) {
        if (child->FParentFont) {
            child->TakeParentFont(FFont);
        }
    }
}

void TControl::SetColor(TColor Value) {
    SetField(FColor, Value, TChange::Color);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    FPopupMenu = Value;
}

int TControl::CurrentPPI() const {
    const TForm* form = ParentForm();
    return form != nullptr ? form->Monitor().PixelsPerInch : 96;
}

// --- peer ---

void TControl::HandleNeeded() {
    if (FPeer != nullptr || Destroying()) {
        return;
    }
    if (FParent != nullptr && !FParent->HandleAllocated()) {
        // The parent makes the peers of all its children, this one included.
        FParent->HandleNeeded();
        if (FPeer != nullptr) {
            return;
        }
    }
    CreatePeerTree();
}

platform::TWindowHandle TControl::Handle() {
    HandleNeeded();
    return FPeer != nullptr ? FPeer->Handle() : 0;
}

void TControl::Invalidate() {
    Changed(TChange::Paint);
}

void TControl::CreatePeer() {
    FPeer = Application().Backend().CreatePeer(*this);
}

void TControl::DestroyPeer() {
    FPeer.reset();
}

// A control with a peer has peers for all its children.
void TControl::CreatePeerTree() {
    if (FPeer == nullptr) {
        CreatePeer();
    }
    for (TControl* child : FControls) {
        if (child->FPeer == nullptr) {
            child->CreatePeerTree();
        }
    }
}

void TControl::DestroyPeerTree() {
    for (TControl* child : FControls) {
        child->DestroyPeerTree();
    }
    DestroyPeer();
}

void TControl::Changed(TChange What) {
    if (FPeer != nullptr) {
        FPeer->Sync(What);
    }
}

// --- events ---

void TControl::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TControl::DblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TControl::KeyPress(char16_t&) {}

void TControl::MouseEnter() {
    if (OnMouseEnter) {
        OnMouseEnter(this);
    }
}

void TControl::MouseLeave() {
    if (OnMouseLeave) {
        OnMouseLeave(this);
    }
}

void TControl::Resize() {
    if (OnResize) {
        OnResize(this);
    }
}

// --- text properties ---

std::span<const TTextProperty> TControl::TextProperties() const {
    return {&ControlHintProperty, 1};
}

// The native side goes while the whole object is alive, so a backend that reports back during
// its teardown reaches a complete control.
void TControl::BeforeDestruction() {
    DestroyPeerTree();
    TComponent::BeforeDestruction();
}

} // namespace toolkit
