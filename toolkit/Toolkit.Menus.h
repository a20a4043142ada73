#pragma once
// Menus: items in a tree under a menu's root item; the main menu of a form and pop-up menus.
#include "toolkit/Toolkit.ActnList.h"
#include "toolkit/Toolkit.Classes.h"
#include "toolkit/Toolkit.Component.h"

#include <memory>
#include <string>
#include <vector>

namespace toolkit {

class IPeer;
class TMenu;

// One menu entry. Items are components owned by the form (so the persistence walk and the
// translator see them) and children of their parent item; freeing an item takes it out of its
// parent and leaves its children without one. A caption of "-" makes a separator line.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    std::u16string ClassName() const override { return u"TMenuItem"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckMenuItem; }

    const std::u16string& Caption() const { return FCaption; }
    void SetCaption(const std::u16string& Value);
    const std::u16string& Hint() const { return FHint; }
    void SetHint(const std::u16string& Value);
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Shown in bold; a double click on the tray icon picks it.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    // A click flips Checked before OnClick.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    // A separator: the caption is "-".
    bool IsLine() const { return FCaption == u"-"; }

    // --- the tree ---
    TMenuItem* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for an index out of range.
    TMenuItem* Items(int Index) const;
    TMenuItem* operator[](int Index) const { return Items(Index); }
    // Moves Item under this one (last, or at Index); an item already in another parent leaves it.
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the child at Index out of the tree without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    int IndexOf(const TMenuItem* Item) const;
    int MenuIndex() const { return FParent != nullptr ? FParent->IndexOf(this) : -1; }
    // The first direct child whose Default is set, or null.
    TMenuItem* DefaultItem() const;
    // The menu this item is in (through the root item), or null.
    TMenu* GetParentMenu() const;

    // --- the action ---
    bool HasActionProperty() const override { return true; }
    TAction* Action() const override { return FActionLink.Action(); }
    void SetAction(TAction* Value) { FActionLink.SetAction(Value); }

    // AutoCheck, then OnClick, or the action when there is no OnClick. Disabled items do nothing.
    virtual void Click();
    TNotifyEvent OnClick;

protected:
    // "Caption" and "Hint".
    std::span<const TTextProperty> TextProperties() const override;
    // Tells the menu that something it shows changed.
    void Changed();

private:
    friend class TMenu;
    void ActionChanged(const TAction& Source);
    void TurnSiblingsOff();

    std::u16string FCaption;
    std::u16string FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    TShortCut FShortCut = 0;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
    TMenu* FMenu = nullptr; // set on the root item only
    TActionLink FActionLink;
};

// A menu: its entries are the children of Items(), a root item the menu owns. Every change of
// an item in the tree is handed to the menu's peer (when there is one) as Sync(TChange::Items).
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    std::u16string ClassName() const override { return u"TMenu"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckMenu; }

    TMenuItem* Items() const { return FItems; }

    IPeer* Peer() const { return FPeer.get(); }
    // Creates the backend's counterpart when missing.
    void HandleNeeded();

protected:
    friend class TMenuItem;
    virtual void MenuChanged(TMenuItem* Item);
    void BeforeDestruction() override;

private:
    TMenuItem* FItems = nullptr;
    std::unique_ptr<IPeer> FPeer;
};

// The menu bar of a form (TForm::SetMenu).
class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::u16string ClassName() const override { return u"TMainMenu"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckMainMenu; }
};

// A context menu: Popup runs OnPopup (which may change the items) and asks the backend to show
// the menu at a screen point. PopupComponent is the component it was opened for.
class TPopupMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::u16string ClassName() const override { return u"TPopupMenu"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckPopupMenu; }

    void Popup(int X, int Y);
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }

    TNotifyEvent OnPopup;

private:
    TComponentRef<TComponent> FPopupComponent;
    bool FAutoPopup = true;
};

} // namespace toolkit
