#include "toolkit/Toolkit.ComCtrls.h"

#include "base/Base.Format.h"

#include <algorithm>

namespace toolkit {

namespace {

EListError IndexError(int Index) {
    return EListError(base::Format(u"List index out of bounds ({0})", Index));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// List view columns and items

void TListColumn::SetCaption(const std::u16string& Value) {
    if (UpdateField(FCaption, Value)) {
        FOwner.ContentChanged();
    }
}

void TListColumn::SetWidth(int Value) {
    if (UpdateField(FWidth, Value)) {
        FOwner.ContentChanged();
    }
}

void TListColumn::SetAlignment(TAlignment Value) {
    if (UpdateField(FAlignment, Value)) {
        FOwner.ContentChanged();
    }
}

TListColumn& TListColumns::Items(int Index) const {
    if (Index < 0 || Index >= Count()) {
        throw IndexError(Index);
    }
    return *FColumns[static_cast<std::size_t>(Index)];
}

TListColumn& TListColumns::Add() {
    FColumns.push_back(std::unique_ptr<TListColumn>(new TListColumn(FOwner)));
    FOwner.ContentChanged();
    return *FColumns.back();
}

void TListColumns::Delete(int Index) {
    Items(Index);
    FColumns.erase(FColumns.begin() + Index);
    FOwner.ContentChanged();
}

void TListColumns::Clear() {
    if (!FColumns.empty()) {
        FColumns.clear();
        FOwner.ContentChanged();
    }
}

TListItem::TListItem(TListView& Owner) : FOwner(Owner) {
    FSubItems.OnChange = [this] { FOwner.ContentChanged(); };
}

void TListItem::SetCaption(const std::u16string& Value) {
    if (UpdateField(FCaption, Value)) {
        FOwner.ContentChanged();
    }
}

int TListItem::Index() const {
    return FOwner.Items().IndexOf(*this);
}

TListItem& TListItems::Item(int Index) const {
    if (Index < 0 || Index >= Count()) {
        throw IndexError(Index);
    }
    return *FItems[static_cast<std::size_t>(Index)];
}

TListItem& TListItems::Add() {
    FItems.push_back(std::unique_ptr<TListItem>(new TListItem(FOwner)));
    FOwner.ContentChanged();
    return *FItems.back();
}

void TListItems::Delete(int Index) {
    Item(Index);
    FItems.erase(FItems.begin() + Index);
    FOwner.ContentChanged();
}

void TListItems::Clear() {
    if (!FItems.empty()) {
        FItems.clear();
        FOwner.ContentChanged();
    }
}

int TListItems::IndexOf(const TListItem& Item) const {
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].get() == &Item) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TListItems::BeginUpdate() {
    FOwner.BeginUpdate();
}
void TListItems::EndUpdate() {
    FOwner.EndUpdate();
}

// ---------------------------------------------------------------------------------------------
// TListView

TListView::TListView(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 250, 150);
    SetColor(clWindow);
}

void TListView::SetViewStyle(TViewStyle Value) {
    SetField(FViewStyle, Value, TChange::Style);
}

void TListView::SetReadOnly(bool Value) {
    SetField(FReadOnly, Value, TChange::Style);
}

void TListView::SetRowSelect(bool Value) {
    SetField(FRowSelect, Value, TChange::Style);
}

void TListView::SetGridLines(bool Value) {
    SetField(FGridLines, Value, TChange::Style);
}

void TListView::SetShowColumnHeaders(bool Value) {
    SetField(FShowColumnHeaders, Value, TChange::Style);
}

void TListView::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FItems.Count()) {
        Value = -1;
    }
    if (UpdateField(FItemIndex, Value)) {
        Changed(TChange::State);
    }
}

TListItem* TListView::Selected() const {
    return FItemIndex >= 0 ? &FItems.Item(FItemIndex) : nullptr;
}

void TListView::SelectByUser(int Index) {
    SetItemIndex(Index);
    if (OnSelectItem) {
        OnSelectItem(this);
    }
}

void TListView::EndUpdate() {
    if (FUpdateCount == 0) {
        return;
    }
    if (--FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Changed(TChange::Items);
    }
}

void TListView::ContentChanged() {
    if (FItemIndex >= FItems.Count()) {
        FItemIndex = -1;
    }
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    Changed(TChange::Items);
}

// ---------------------------------------------------------------------------------------------
// TTrackBar

TTrackBar::TTrackBar(TComponent* AOwner) : TRangeControl(AOwner, 10) {
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::SetFrequency(int Value) {
    SetField(FFrequency, Value, TChange::Style);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    SetField(FOrientation, Value, TChange::Style);
}

// ---------------------------------------------------------------------------------------------
// TTabSheet and TPageControl

TTabSheet::TTabSheet(TComponent* AOwner) : TControl(AOwner) {}

TPageControl* TTabSheet::PageControl() const {
    return dynamic_cast<TPageControl*>(Parent());
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    SetParent(Value);
}

int TTabSheet::PageIndex() const {
    TPageControl* pages = PageControl();
    if (pages == nullptr) {
        return -1;
    }
    for (int i = 0; i < pages->PageCount(); ++i) {
        if (pages->Pages(i) == this) {
            return i;
        }
    }
    return -1;
}

std::span<const TTextProperty> TTabSheet::TextProperties() const {
    return CaptionedControlProperties;
}

TPageControl::TPageControl(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 289, 193);
}

std::vector<TTabSheet*> TPageControl::SheetList() const {
    std::vector<TTabSheet*> sheets;
    for (TControl* child : Controls()) {
        if (auto* sheet = dynamic_cast<TTabSheet*>(child)) {
            sheets.push_back(sheet);
        }
    }
    return sheets;
}

int TPageControl::PageCount() const {
    return static_cast<int>(SheetList().size());
}

TTabSheet* TPageControl::Pages(int Index) const {
    const std::vector<TTabSheet*> sheets = SheetList();
    if (Index < 0 || Index >= static_cast<int>(sheets.size())) {
        throw IndexError(Index);
    }
    return sheets[static_cast<std::size_t>(Index)];
}

TTabSheet* TPageControl::ActivePage() const {
    return FActivePage;
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (Value != nullptr && Value->Parent() != this) {
        return;
    }
    if (UpdateField(FActivePage, Value)) {
        ShowActivePage();
        Changed(TChange::State);
    }
}

int TPageControl::ActivePageIndex() const {
    return FActivePage != nullptr ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Value) {
    const std::vector<TTabSheet*> sheets = SheetList();
    SetActivePage(Value >= 0 && Value < static_cast<int>(sheets.size())
                      ? sheets[static_cast<std::size_t>(Value)]
                      : nullptr);
}

void TPageControl::ControlsChanged() {
    TControl::ControlsChanged();
    if (FShowingPages || Destroying()) {
        return;
    }
    const std::vector<TTabSheet*> sheets = SheetList();
    const bool added = static_cast<int>(sheets.size()) > FKnownPageCount;
    FKnownPageCount = static_cast<int>(sheets.size());
    const bool activeRemoved =
        FActivePage != nullptr && std::find(sheets.begin(), sheets.end(), FActivePage) == sheets.end();
    if (activeRemoved || (FActivePage == nullptr && added)) {
        FActivePage = sheets.empty() ? nullptr : sheets.front();
    }
    ShowActivePage();
    Changed(TChange::Items);
}

void TPageControl::ShowActivePage() {
    if (FShowingPages) {
        return;
    }
    FShowingPages = true;
    for (TTabSheet* sheet : SheetList()) {
        sheet->SetVisible(sheet == FActivePage);
    }
    FShowingPages = false;
}

// ---------------------------------------------------------------------------------------------
// THotKey

THotKey::THotKey(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 121, 19);
    SetColor(clWindow);
}

void THotKey::SetHotKey(TShortCut Value) {
    SetField(FHotKey, Value, TChange::State);
}

void THotKey::HotKeyChangedByUser(TShortCut Value) {
    SetHotKey(Value);
    if (OnChange) {
        OnChange(this);
    }
}

} // namespace toolkit
