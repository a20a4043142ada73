#pragma once
// TAction: a command with a caption, hint, checked, enabled and visible state that any number of
// controls and menu items show; TActionLink is the client's end of that tie.
#include "toolkit/Toolkit.Component.h"
#include "toolkit/Toolkit.Types.h"

#include <functional>
#include <string>
#include <vector>

namespace toolkit {

class TActionLink;

class TAction : public TComponent {
public:
    explicit TAction(TComponent* AOwner);
    // Clears the links of every client still tied to it, so none keeps a dangling action.
    ~TAction() override;

    std::u16string ClassName() const override { return u"TAction"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckAction; }

    const std::u16string& Caption() const { return FCaption; }
    void SetCaption(const std::u16string& Value);
    const std::u16string& Hint() const { return FHint; }
    void SetHint(const std::u16string& Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    TNotifyEvent OnExecute;

    int ClientCount() const { return static_cast<int>(FLinks.size()); }

protected:
    // "Caption" and "Hint".
    std::span<const TTextProperty> TextProperties() const override;

private:
    friend class TActionLink;
    void AddLink(TActionLink* Link);
    void RemoveLink(TActionLink* Link);
    void Changed();

    std::u16string FCaption;
    std::u16string FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    std::vector<TActionLink*> FLinks;
};

// Held by a control or menu item that has an `Action` property. Apply copies the action's values
// into the client: once when the action is set and again after every change of the action.
class TActionLink {
public:
    explicit TActionLink(std::function<void(const TAction&)> Apply) : FApply(std::move(Apply)) {}
    ~TActionLink();
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TAction* Action() const { return FAction; }
    // Ties the client to Value (or to nothing) and applies Value's state.
    void SetAction(TAction* Value);
    // Runs the action; false without one.
    bool Execute();

private:
    friend class TAction;
    void ActionChanged();
    void ActionDestroyed() { FAction = nullptr; }

    std::function<void(const TAction&)> FApply;
    TAction* FAction = nullptr;
};

} // namespace toolkit
