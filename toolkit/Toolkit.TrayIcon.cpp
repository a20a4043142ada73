#include "toolkit/Toolkit.TrayIcon.h"

#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.Classes.h"
#include "toolkit/Toolkit.Menus.h"

namespace toolkit {

TTrayIcon::TTrayIcon(TComponent* AOwner) : TComponent(AOwner) {}

TTrayIcon::~TTrayIcon() {
    // The peer takes the icon off the notification area; it must go before the values it reads.
    FPeer.reset();
}

void TTrayIcon::BeforeDestruction() {
    FPeer.reset();
    TComponent::BeforeDestruction();
}

void TTrayIcon::SetHint(const std::u16string& Value) {
    if (UpdateField(FHint, Value)) {
        Changed(TChange::Hint);
    }
}

void TTrayIcon::SetVisible(bool Value) {
    if (!UpdateField(FVisible, Value)) {
        return;
    }
    if (FVisible && FPeer == nullptr && !Destroying()) {
        FPeer = Application().Backend().CreateComponentPeer(*this);
    }
    Changed(TChange::Visible);
}

void TTrayIcon::SetIcon(const TIcon& Value) {
    if (!(FIcon == Value)) {
        FIcon = Value;
        Changed(TChange::State);
    }
}

void TTrayIcon::SetPopupMenu(TPopupMenu* Value) {
    if (FPopupMenu == Value) {
        return;
    }
    FPopupMenu = Value;
    Changed(TChange::Items);
}

void TTrayIcon::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TTrayIcon::DblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TTrayIcon::Changed(TChange What) {
    if (FPeer != nullptr && !Destroying()) {
        FPeer->Sync(What);
    }
}

std::span<const TTextProperty> TTrayIcon::TextProperties() const {
    static constexpr TTextProperty properties[] = {
        TextProperty<TTrayIcon, &TTrayIcon::Hint, &TTrayIcon::SetHint>(u"Hint"),
    };
    return properties;
}

} // namespace toolkit
