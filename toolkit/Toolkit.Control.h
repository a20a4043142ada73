#pragma once
// TControl: a visible component with a parent, bounds in pixels, alignment with margins, anchors,
// visibility, font, colour, hint and a pop-up menu. Every control may hold child controls.
#include "platform/Platform.Types.h"
#include "toolkit/Toolkit.Component.h"
#include "toolkit/Toolkit.Graphics.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace toolkit {

class IPeer;
class TForm;
class TPopupMenu;

// Which facet of a component changed, so that a backend's peer updates only that.
enum class TChange : std::uint8_t {
    Bounds, // Left/Top/Width/Height (and a form's client size)
    Text,   // Caption / Text / lines
    Visible,
    Enabled,
    Font,
    Color,
    Hint,
    State,  // the class's own value: checked state, position, selection, window state ...
    Items,  // rows, columns, menu items, list contents
    Style,  // border, alignment of text, scroll bars, form style, alpha blending ...
    ZOrder, // brought to front
    Paint   // repaint only
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    explicit TControl(TApplication& App);
    ~TControl() override;

    std::u16string ClassName() const override { return u"TControl"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckControl; }

    // --- parent and children ---
    TControl* Parent() const { return FParent; }
    // Moves the control into Value's child list (last), or out of any list for null. Virtual so
    // that a control with a companion (a labeled edit's label) can take it along; overrides call
    // the inherited one.
    virtual void SetParent(TControl* Value);
    const std::vector<TControl*>& Controls() const { return FControls; }
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    // The form this control is on (itself for a form), or null.
    TForm* ParentForm() const;

    // --- bounds, pixels relative to the parent's client area (forms: to the virtual desktop) ---
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return RectOf(FLeft, FTop, FWidth, FHeight); }
    // The area children are laid out in, from (0, 0).
    virtual TRect ClientRect() const { return TRect{0, 0, FWidth, FHeight}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    // Screen coordinates of a point of the client area.
    TPoint ClientToScreen(TPoint Point) const;

    // --- layout ---
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    bool AlignWithMargins() const { return FAlignWithMargins; }
    void SetAlignWithMargins(bool Value);
    const TMargins& Margins() const { return FMargins; }
    void SetMargins(const TMargins& Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    // Lays out the aligned children now: top, bottom, left, right, then client, each group in
    // child order, margins taken off where the child asks for them; anchored children follow
    // their parent's size changes.
    void Realign();
    void DisableAlign() { ++FAlignDisabled; }
    void EnableAlign();

    // --- state ---
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to a visible form too.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    const std::u16string& Hint() const { return FHint; }
    void SetHint(const std::u16string& Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);

    // The control's own text (caption of a label, button or form; text of an edit).
    const std::u16string& Caption() const { return FCaption; }
    void SetCaption(const std::u16string& Value);

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    // While true the control copies its parent's font whenever that one changes; setting the
    // font directly turns it off.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

    // Null again when the menu is freed.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    // Pixel density of the monitor the control is on (96 at 100 %).
    int CurrentPPI() const;

    // --- the backend's counterpart ---
    IPeer* Peer() const { return FPeer.get(); }
    bool HandleAllocated() const { return FPeer != nullptr; }
    // Creates the counterparts of this control's parent chain and of itself when missing.
    void HandleNeeded();
    // The native window handle (0 in a backend without windows); creates it when missing.
    platform::TWindowHandle Handle();
    void Invalidate();

    // --- events and what the backend reports ---
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    // Runs OnClick; descendants add their own behaviour around it.
    virtual void Click();
    virtual void DblClick();
    // A character typed while this control has the focus; descendants that take text override it.
    virtual void KeyPress(char16_t& Key);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // The user moved or resized the native window: the model takes the new bounds.
    void BoundsChangedByUser(const TRect& Bounds);

protected:
    // "Hint" for every control; descendants add "Caption" or "TextHint".
    std::span<const TTextProperty> TextProperties() const override;
    // A setter's whole work: stores Value and hands the facet to the peer when it changed.
    template <class T> void SetField(T& Field, const T& Value, TChange What) {
        if (UpdateField(Field, Value)) {
            Changed(What);
        }
    }
    // Hands the change to the peer when there is one. Virtual so that a descendant can follow its
    // own changes (a label sizing itself to a new caption); overrides call the inherited one.
    virtual void Changed(TChange What);
    virtual void Resize();
    virtual void FontChanged();
    // A child was added or removed, or an aligned child changed size: lay out again.
    virtual void ControlsChanged();
    void BeforeDestruction() override;
    // Creates this control's peer (parent's peer exists); descendants without a native window
    // of their own may return with none.
    virtual void CreatePeer();
    void DestroyPeer();
    // This control's peer and its children's, children first.
    void DestroyPeerTree();
    // Takes the font a parent (or, for a form, the application) hands down, keeping ParentFont.
    void TakeParentFont(const TFont& Source);
    // The client area may have changed size (bounds, border, menu, a maximised window): anchored
    // children follow the difference to the size they were last laid out for, aligned ones are laid
    // out again. Measured against that size rather than a caller's "before", so that two reports of
    // one change (a menu bar that also resizes a maximised window) move the anchors once.
    void ClientSizeChanged();

private:
    void AlignChildren();
    void AnchorChildren(int OldClientWidth, int OldClientHeight);
    void OwnFontChanged();
    void CreatePeerTree();
    void ApplyBounds(int ALeft, int ATop, int AWidth, int AHeight, bool TellPeer);

    TControl* FParent = nullptr;
    std::vector<TControl*> FControls;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = TAlign::alNone;
    bool FAlignWithMargins = false;
    TMargins FMargins;
    TAnchors FAnchors = akLeft | akTop;
    int FAlignDisabled = 0;
    // The client size the children were last laid out for.
    TSize FLaidOutClientSize;
    bool FVisible = true;
    bool FEnabled = true;
    std::u16string FHint;
    bool FShowHint = false;
    std::u16string FCaption;
    TFont FFont;
    bool FParentFont = true;
    TColor FColor = clBtnFace;
    TCursor FCursor = TCursor::crDefault;
    bool FDoubleBuffered = false;
    TComponentRef<TPopupMenu> FPopupMenu;
    std::unique_ptr<IPeer> FPeer;
    bool FAligning = false;
    bool FAlignPending = false;
    bool FTakingParentFont = false;
};

// Every control publishes its "Hint"; one whose caption is text to translate (a label, a button, a
// panel, a group box, a tab sheet, a form) its "Caption" too.
inline constexpr TTextProperty ControlHintProperty =
    TextProperty<TControl, &TControl::Hint, &TControl::SetHint>(u"Hint");
inline constexpr TTextProperty CaptionedControlProperties[] = {
    ControlHintProperty,
    TextProperty<TControl, &TControl::Caption, &TControl::SetCaption>(u"Caption"),
};

} // namespace toolkit
