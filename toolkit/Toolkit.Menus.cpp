#include "toolkit/Toolkit.Menus.h"

#include "base/Base.Format.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"

#include <algorithm>

namespace toolkit {

// ---------------------------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner)
    : TComponent(AOwner), FActionLink([this](const TAction& Source) { ActionChanged(Source); }) {}

TMenuItem::~TMenuItem() {
    // The children are owned by the form, not by this item: they stay, without a parent.
    for (TMenuItem* child : FItems) {
        child->FParent = nullptr;
    }
    FItems.clear();
    if (FParent != nullptr) {
        FParent->Remove(this);
    }
}

void TMenuItem::SetCaption(const std::u16string& Value) {
    if (UpdateField(FCaption, Value)) {
        Changed();
    }
}

void TMenuItem::SetHint(const std::u16string& Value) {
    if (UpdateField(FHint, Value)) {
        Changed();
    }
}

void TMenuItem::SetChecked(bool Value) {
    if (!UpdateField(FChecked, Value)) {
        return;
    }
    if (Value && FRadioItem) {
        TurnSiblingsOff();
    }
    Changed();
}

void TMenuItem::TurnSiblingsOff() {
    if (FParent == nullptr) {
        return;
    }
    for (TMenuItem* sibling : FParent->FItems) {
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) {
            sibling->SetChecked(false);
        }
    }
}

void TMenuItem::SetEnabled(bool Value) {
    if (UpdateField(FEnabled, Value)) {
        Changed();
    }
}

void TMenuItem::SetVisible(bool Value) {
    if (UpdateField(FVisible, Value)) {
        Changed();
    }
}

void TMenuItem::SetDefault(bool Value) {
    if (UpdateField(FDefault, Value)) {
        Changed();
    }
}

void TMenuItem::SetRadioItem(bool Value) {
    if (UpdateField(FRadioItem, Value)) {
        if (FRadioItem && FChecked) {
            TurnSiblingsOff();
        }
        Changed();
    }
}

void TMenuItem::SetGroupIndex(int Value) {
    if (UpdateField(FGroupIndex, Value)) {
        if (FRadioItem && FChecked) {
            TurnSiblingsOff();
        }
        Changed();
    }
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (UpdateField(FShortCut, Value)) {
        Changed();
    }
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count()) {
        throw EListError(base::Format(u"Menu index out of range ({0})", Index));
    }
    return FItems[static_cast<std::size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (Item == nullptr) {
        throw EInvalidOperation(u"A menu item to insert is missing");
    }
    for (const TMenuItem* up = this; up != nullptr; up = up->FParent) {
        if (up == Item) {
            throw EInvalidOperation(u"A menu item cannot be inserted under itself");
        }
    }
    if (Item->FParent != nullptr) {
        Item->FParent->Remove(Item);
    }
    if (Index < 0 || Index > Count()) {
        throw EListError(base::Format(u"Menu index out of range ({0})", Index));
    }
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    if (Item->FRadioItem && Item->FChecked) {
        Item->TurnSiblingsOff();
    }
    Changed();
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = Items(Index);
    FItems.erase(FItems.begin() + Index);
    item->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
    const int index = IndexOf(Item);
    if (index >= 0) {
        Delete(index);
    }
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    const auto found = std::find(FItems.begin(), FItems.end(), Item);
    return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

TMenuItem* TMenuItem::DefaultItem() const {
    for (TMenuItem* item : FItems) {
        if (item->FDefault) {
            return item;
        }
    }
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent != nullptr) {
        item = item->FParent;
    }
    return item->FMenu;
}

void TMenuItem::Click() {
    if (!FEnabled) {
        return;
    }
    if (FAutoCheck) {
        SetChecked(!FChecked);
    }
    if (!OnClick && FActionLink.Action() != nullptr) {
        FActionLink.Execute();
    } else if (OnClick) {
        OnClick(this);
    }
}

void TMenuItem::ActionChanged(const TAction& Source) {
    SetCaption(Source.Caption());
    SetHint(Source.Hint());
    SetChecked(Source.Checked());
    SetEnabled(Source.Enabled());
    SetVisible(Source.Visible());
}

void TMenuItem::Changed() {
    if (TMenu* menu = GetParentMenu()) {
        menu->MenuChanged(this);
    }
}

std::span<const TTextProperty> TMenuItem::TextProperties() const {
    static constexpr TTextProperty properties[] = {
        TextProperty<TMenuItem, &TMenuItem::Caption, &TMenuItem::SetCaption>(u"Caption"),
        TextProperty<TMenuItem, &TMenuItem::Hint, &TMenuItem::SetHint>(u"Hint"),
    };
    return properties;
}

// ---------------------------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner) {
    FItems = new TMenuItem(this);
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    if (FItems != nullptr) {
        FItems->FMenu = nullptr;
    }
    FPeer.reset();
}

void TMenu::BeforeDestruction() {
    FPeer.reset();
    TComponent::BeforeDestruction();
}

void TMenu::HandleNeeded() {
    if (FPeer == nullptr) {
        FPeer = Application().Backend().CreateComponentPeer(*this);
    }
}

void TMenu::MenuChanged(TMenuItem*) {
    if (FPeer != nullptr && !Destroying()) {
        FPeer->Sync(TChange::Items);
    }
}

// ---------------------------------------------------------------------------------------------
// TPopupMenu

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) {
        OnPopup(this);
    }
    Application().Backend().PopupMenu(*this, TPoint{X, Y});
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    if (FPopupComponent == Value) {
        return;
    }
    FPopupComponent = Value;
}

} // namespace toolkit
