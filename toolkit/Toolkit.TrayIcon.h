#pragma once
// TTrayIcon: the program's icon in the notification area, with a hint, a pop-up menu and clicks.
#include "toolkit/Toolkit.Control.h"

#include <memory>
#include <string>

namespace toolkit {

class TPopupMenu;

// Which icon the tray shows: none, the application's own, or an icon resource by number.
struct TIcon {
    enum class TKind : std::uint8_t { None, Application, Resource };
    TKind Kind = TKind::None;
    int ResourceId = 0;

    static TIcon ApplicationIcon() { return TIcon{TKind::Application, 0}; }
    static TIcon FromResource(int Id) { return TIcon{TKind::Resource, Id}; }
    bool Empty() const { return Kind == TKind::None; }
    friend bool operator==(const TIcon&, const TIcon&) = default;
};

// The model keeps every value; the backend's peer (from CreateComponentPeer, made when the icon
// first becomes visible) shows it and is told each change through Sync: Visible, Hint, State (the
// icon) and Items (the pop-up menu). The backend reports the user's clicks through Click() and
// DblClick(); a right click pops up PopupMenu.
class TTrayIcon : public TComponent {
public:
    explicit TTrayIcon(TComponent* AOwner);
    ~TTrayIcon() override;

    std::u16string ClassName() const override { return u"TTrayIcon"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckTrayIcon; }

    const std::u16string& Hint() const { return FHint; }
    void SetHint(const std::u16string& Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    const TIcon& Icon() const { return FIcon; }
    void SetIcon(const TIcon& Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    void Click();
    void DblClick();

    IPeer* Peer() const { return FPeer.get(); }

protected:
    // "Hint".
    std::span<const TTextProperty> TextProperties() const override;
    void BeforeDestruction() override;

private:
    void Changed(TChange What);

    std::u16string FHint;
    bool FVisible = false;
    TIcon FIcon;
    // A freed menu leaves the icon without one.
    TComponentRef<TPopupMenu> FPopupMenu{[this] { Changed(TChange::Items); }};
    std::unique_ptr<IPeer> FPeer;
};

} // namespace toolkit
