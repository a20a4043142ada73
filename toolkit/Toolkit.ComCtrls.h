#pragma once
// The common controls: list view, track bar, page control with tab sheets, hot-key edit.
#include "toolkit/Toolkit.Classes.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <memory>
#include <string>
#include <vector>

namespace toolkit {

class TListView;

// ---------------------------------------------------------------------------------------------
// List view

class TListColumn {
public:
    const std::u16string& Caption() const { return FCaption; }
    void SetCaption(const std::u16string& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

private:
    friend class TListColumns;
    explicit TListColumn(TListView& Owner) : FOwner(Owner) {}

    TListView& FOwner;
    std::u16string FCaption;
    int FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
};

class TListColumns {
public:
    explicit TListColumns(TListView& Owner) : FOwner(Owner) {}
    int Count() const { return static_cast<int>(FColumns.size()); }
    // Raises EListError for an index out of range.
    TListColumn& Items(int Index) const;
    TListColumn& operator[](int Index) const { return Items(Index); }
    TListColumn& Add();
    void Delete(int Index);
    void Clear();

private:
    TListView& FOwner;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
};

// One row: its caption is the first column, SubItems the others; Data is the program's pointer.
class TListItem {
public:
    const std::u16string& Caption() const { return FCaption; }
    void SetCaption(const std::u16string& Value);
    TStrings& SubItems() { return FSubItems; }
    const TStrings& SubItems() const { return FSubItems; }
    void* Data() const { return FData; }
    void SetData(void* Value) { FData = Value; }
    // Its position in the list.
    int Index() const;

private:
    friend class TListItems;
    explicit TListItem(TListView& Owner);

    TListView& FOwner;
    std::u16string FCaption;
    TStrings FSubItems;
    void* FData = nullptr;
};

class TListItems {
public:
    explicit TListItems(TListView& Owner) : FOwner(Owner) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for an index out of range.
    TListItem& Item(int Index) const;
    TListItem& operator[](int Index) const { return Item(Index); }
    TListItem& Add();
    void Delete(int Index);
    void Clear();
    int IndexOf(const TListItem& Item) const;
    void BeginUpdate();
    void EndUpdate();

private:
    TListView& FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
};

enum class TViewStyle : std::uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };

// Rows of items under column headers (in the report style). Every change of columns or items is
// handed to the peer as Changed(Items); inside BeginUpdate/EndUpdate once, at the end.
class TListView : public TControl {
public:
    explicit TListView(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TListView"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckListView; }

    TListColumns& Columns() { return FColumns; }
    const TListColumns& Columns() const { return FColumns; }
    TListItems& Items() { return FItems; }
    const TListItems& Items() const { return FItems; }

    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle Value);
    // Captions cannot be edited in place.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool Value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);

    // The selected row (-1: none); a value out of range selects nothing.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TListItem* Selected() const;
    // The user selected a row: select it, then OnSelectItem.
    void SelectByUser(int Index);
    TNotifyEvent OnSelectItem;

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

private:
    friend class TListColumn;
    friend class TListColumns;
    friend class TListItem;
    friend class TListItems;
    // Columns or rows changed; removing rows may drop the selection.
    void ContentChanged();

    TListColumns FColumns{*this};
    TListItems FItems{*this};
    TViewStyle FViewStyle = TViewStyle::vsIcon;
    bool FReadOnly = false;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FShowColumnHeaders = true;
    int FItemIndex = -1;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

// ---------------------------------------------------------------------------------------------
// Track bar

enum class TTrackBarOrientation : std::uint8_t { trHorizontal, trVertical };

// A slider. A range whose maximum lies below its minimum is ignored.
class TTrackBar : public TRangeControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TTrackBar"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckTrackBar; }

    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    int LineSize() const { return FLineSize; }
    void SetLineSize(int Value) { FLineSize = Value; }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value) { FPageSize = Value; }
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);

private:
    int FFrequency = 1;
    int FLineSize = 1;
    int FPageSize = 2;
    TTrackBarOrientation FOrientation = TTrackBarOrientation::trHorizontal;
};

// ---------------------------------------------------------------------------------------------
// Page control

class TPageControl;

// One page of a page control; its Caption is the tab's text. SetPageControl makes it the control's
// last page (and its child).
class TTabSheet : public TControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TTabSheet"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckTabSheet; }

    TPageControl* PageControl() const;
    void SetPageControl(TPageControl* Value);
    // Position among the page control's pages, or -1.
    int PageIndex() const;

protected:
    // "Caption" and "Hint".
    std::span<const TTextProperty> TextProperties() const override;
};

// Pages under tabs; the pages are the child tab sheets in child order. Only the active page is
// visible. ActivePageIndex is -1 without pages or after an index out of range; the first page added
// while none is active becomes active, and removing the active page activates the first one left.
class TPageControl : public TControl {
public:
    explicit TPageControl(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TPageControl"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckPageControl; }

    int PageCount() const;
    // Raises EListError for an index out of range.
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* Value);
    int ActivePageIndex() const;
    // A value out of range activates no page.
    void SetActivePageIndex(int Value);

    TNotifyEvent OnChange;

protected:
    void ControlsChanged() override;

private:
    std::vector<TTabSheet*> SheetList() const;
    void ShowActivePage();

    TTabSheet* FActivePage = nullptr;
    bool FShowingPages = false; // ShowActivePage may come back through ControlsChanged
    int FKnownPageCount = 0;    // a page added while none is active becomes the active one
};

// ---------------------------------------------------------------------------------------------
// Hot-key edit

// Edits one shortcut: virtual-key code in bits 0 to 7, scShift, scCtrl, scAlt.
class THotKey : public TControl {
public:
    explicit THotKey(TComponent* AOwner);
    std::u16string ClassName() const override { return u"THotKey"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckHotKey; }

    TShortCut HotKey() const { return FHotKey; }
    void SetHotKey(TShortCut Value);
    // The user typed a new combination: take it, then OnChange.
    void HotKeyChangedByUser(TShortCut Value);

    TNotifyEvent OnChange;

private:
    TShortCut FHotKey = 0;
};

} // namespace toolkit
