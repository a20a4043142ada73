#pragma once
// TForm: a top-level window with its life cycle hooks, window state, border, position mode,
// menu, alpha blending, screen snapping, key preview, modal showing and message dispatch.
#include "toolkit/Toolkit.Control.h"

#include <optional>
#include <utility>

namespace toolkit {

class TMainMenu;
struct TMonitor;

// What a form's native window is created with; a form may change it in CreateParams.
struct TCreateParams {
    std::u16string Caption;
    std::u16string WinClassName; // the window class; empty lets the backend choose
    TRect Bounds;
};

// Life of a form, in order:
//   1. the derived constructor creates and sets up its components (Loading() is true);
//   2. FinishConstruction(): Loaded(), then DoCreate() (OnCreate) — NewForm / CreateForm call it;
//   3. Show / ShowModal / Hide, messages through Dispatch();
//   4. Close(): CloseQuery(), then DoClose(Action), then hide, minimise or release by the action;
//      closing the application's main form terminates the application;
//   5. Free() or Release(): DoDestroy() (OnDestroy) first, while the whole form is alive, then the
//      destructors; the form leaves the screen's list and its queued calls are dropped.
class TForm : public TControl {
public:
    explicit TForm(TComponent* AOwner);
    explicit TForm(TApplication& App);
    ~TForm() override;

    std::u16string ClassName() const override { return u"TForm"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckForm; }

    // Runs the after-construction steps; see the life above.
    void FinishConstruction();
    bool Loading() const override { return FLoading; }

    // --- window ---
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    // Null again when the menu is freed; the window then drops its bar.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value);
    std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(std::uint8_t Value);
    bool ScreenSnap() const { return FScreenSnap; }
    void SetScreenSnap(bool Value) { FScreenSnap = Value; }
    int SnapBuffer() const { return FSnapBuffer; }
    void SetSnapBuffer(int Value) { FSnapBuffer = Value; }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value) { FAutoScroll = Value; }
    // Size limits of the whole window; 0 means none.
    TSize MinSize() const { return FMinSize; }
    void SetMinSize(TSize Value);
    TSize MaxSize() const { return FMaxSize; }
    void SetMaxSize(TSize Value);
    // The window this one stays above (owner window), or null.
    TForm* PopupParent() const { return FPopupParent; }
    void SetPopupParent(TForm* Value);
    // The control that has the focus on this form (gets typed characters), or null.
    TControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TControl* Value);

    // The client area the controls are laid out in: the one the window is shown with while the
    // backend reports one (maximised), else the bounds less the backend's frame, caption and menu
    // bar.
    TRect ClientRect() const override;
    // The client size of a window shown at other than its bounds (maximised), which stay the ones
    // it is restored to; nothing while it is shown at them.
    [[nodiscard]] std::optional<TSize> ShownClientSize() const { return FShownClientSize; }
    // The backend reports the client size the window is shown at while maximised, and nothing once
    // it is back at its bounds; a minimised window reports nothing new (its controls keep the
    // layout it is restored to). The controls are laid out again when the size changed.
    void ShownClientSizeChanged(std::optional<TSize> ClientSize);
    void SetClientSize(int AWidth, int AHeight);
    // Where the client area starts inside the window: the left frame, and the caption, top frame
    // and menu bar above it.
    TPoint ClientOrigin() const;
    // Keeps the size within MinSize and MaxSize.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The monitor that shows most of the form (the nearest when none does).
    TMonitor Monitor() const;
    // Whether the window, minimised, would come back maximised (Windows' restore-to-maximised
    // placement flag); false while the form has no window.
    bool RestoresMaximized() const;

    // --- showing and closing ---
    void SetVisible(bool Value) override;
    void Close();
    // Shows the form and runs a nested loop until ModalResult is set or the application ends;
    // returns ModalResult and hides the form. A form freed inside its own loop ends it with
    // mrCancel (or with the result its OnClose freed it after).
    int ShowModal();
    bool Modal() const { return FModal; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    void BringToFront();
    // Shows the form on top of the others, restored if it was minimised, without taking the
    // keyboard focus from the window the user types into: a window that comes up by itself (a
    // log on an error) must not take over keystrokes meant for another program.
    void ShowWithoutFocus();
    // True while ShowWithoutFocus runs: the backend shows and raises the window without
    // activating it.
    bool ShowingWithoutFocus() const { return FWithoutFocus; }
    // Frees the form from the message loop, after the current handler has returned.
    void Release();

    // --- hooks ---
    // Called before the native window is created; descendants may rename the window class (at
    // most 255 characters are used).
    virtual void CreateParams(TCreateParams& Params);
    // Called once, inside construction, after the components are set up.
    virtual void Loaded() {}
    // True allows closing; asks OnCloseQuery.
    virtual bool CloseQuery();
    // Runs OnClose, which may change Action.
    virtual void DoClose(TCloseAction& Action);
    virtual void DoCreate();
    // First step of destruction; runs OnDestroy.
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();

    // --- messages ---
    // One window message. Descendants handle the numbers they know and pass the rest on to the
    // inherited Dispatch, which ends in DefaultHandler.
    virtual void Dispatch(TMessage& Msg);
    // What the window does with a message nobody handled (the backend's default, e.g. a system
    // command minimises, maximises or closes).
    void DefaultHandler(TMessage& Msg);
    // Dispatches at once and returns the result.
    std::intptr_t Perform(std::uint32_t Msg, std::uintptr_t WParam = 0, std::intptr_t LParam = 0);
    // Queues the message behind the pending ones; it is dispatched from the message loop.
    void PostMessage(std::uint32_t Msg, std::uintptr_t WParam = 0, std::intptr_t LParam = 0);

    // A character typed while the form or one of its controls has the focus; with KeyPreview the
    // form's OnKeyPress sees it first.
    void KeyPress(char16_t& Key) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TKeyPressEvent OnKeyPress;

protected:
    // "Caption" and "Hint".
    std::span<const TTextProperty> TextProperties() const override;
    void BeforeDestruction() override;
    void CreatePeer() override;

private:
    void InitForm();
    void MenuFreed();
    // The modal loop ended with a result: asks CloseQuery and DoClose; false keeps the form open.
    bool CloseModal();

    bool FLoading = true;
    TWindowState FWindowState = TWindowState::wsNormal;
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = TPosition::poDefaultPosOnly;
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    TComponentRef<TMainMenu> FMenu{[this] { MenuFreed(); }};
    TComponentRef<TControl> FActiveControl;
    bool FKeyPreview = false;
    bool FAlphaBlend = false;
    std::uint8_t FAlphaBlendValue = 255;
    bool FScreenSnap = false;
    int FSnapBuffer = 10;
    bool FAutoScroll = false;
    TSize FMinSize;
    TSize FMaxSize;
    std::optional<TSize> FShownClientSize;
    TComponentRef<TForm> FPopupParent;
    bool FModal = false;
    bool FWithoutFocus = false;
    int FModalResult = mrNone;
};

// Builds a form and runs its after-construction steps.
template <class T, class... TArgs> T* NewForm(TArgs&&... Args) {
    T* form = new T(std::forward<TArgs>(Args)...);
    try {
        form->FinishConstruction();
    } catch (...) {
        form->Free();
        throw;
    }
    return form;
}

} // namespace toolkit
