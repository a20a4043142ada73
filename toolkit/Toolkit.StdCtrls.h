#pragma once
// The standard controls: labels, buttons, check boxes, radio buttons, edits (plain and with a
// label of their own), memos, combo and list boxes, group boxes and scroll bars.
#include "toolkit/Toolkit.ActnList.h"
#include "toolkit/Toolkit.Classes.h"
#include "toolkit/Toolkit.Control.h"
#include "toolkit/Toolkit.RangeControl.h"

#include <memory>
#include <string>

namespace toolkit {

enum class TBorderStyle : std::uint8_t { bsNone, bsSingle };

// ---------------------------------------------------------------------------------------------
// Labels

// Text on the parent's surface. With AutoSize the label takes the size of its caption in its font:
// one line per line break, or, with WordWrap, lines broken at blanks to fit the current width
// (then only the height follows).
class TCustomLabel : public TControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomLabel"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomLabel; }

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // The control that takes the focus for the label's accelerator key.
    TControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TControl* Value);

    // The caption broken into the lines the label shows, measured in its font.
    std::vector<std::u16string> WrappedLines() const;

protected:
    // "Caption" and "Hint".
    std::span<const TTextProperty> TextProperties() const override;
    void Changed(TChange What) override;
    void FontChanged() override;
    // Resizes the label to its text when AutoSize is on.
    virtual void AdjustBounds();

private:
    bool FWordWrap = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TTextLayout FLayout = TTextLayout::tlTop;
    bool FTransparent = false;
    bool FAutoSize = true;
    TComponentRef<TControl> FFocusControl;
    bool FAdjusting = false;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
    std::u16string ClassName() const override { return u"TLabel"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckLabel; }
};

// ---------------------------------------------------------------------------------------------
// Buttons

// What buttons, check boxes and radio buttons share: the tab stop and the Action property.
// A click runs OnClick when one is set, otherwise the action.
class TButtonControl : public TControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TButtonControl"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckButtonControl; }

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);

    bool HasActionProperty() const override { return true; }
    TAction* Action() const override { return FActionLink.Action(); }
    void SetAction(TAction* Value) { FActionLink.SetAction(Value); }

    void Click() override;

protected:
    // "Caption" and "Hint".
    std::span<const TTextProperty> TextProperties() const override;
    // Copies the action's state; descendants with a checked state add it.
    virtual void ActionChanged(const TAction& Source);

private:
    bool FTabStop = true;
    TActionLink FActionLink;
};

// A push button. A click on a button whose ModalResult is not mrNone sets its form's ModalResult,
// which ends a modal loop. Default buttons answer Enter, Cancel buttons Escape.
class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TButton"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckButton; }

    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }

    void Click() override;

private:
    int FModalResult = mrNone;
    bool FDefault = false;
    bool FCancel = false;
};

// A check box. Setting State or Checked to a different value clicks it (OnClick runs); callers
// that must not trigger the handler detach it around the set. A user's click calls Toggle().
class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCheckBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCheckBox; }

    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool Checked() const { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    // The next state: unchecked, checked, grayed (only with AllowGrayed), unchecked ...
    void Toggle();

protected:
    void ActionChanged(const TAction& Source) override;

private:
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
    bool FClicksDisabled = false;
};

// A radio button. Checking it unchecks the radio buttons that share its parent and clicks it; its
// tab stop follows its checked state. A user's click calls SetChecked(true).
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TRadioButton"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckRadioButton; }

    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);

protected:
    void ActionChanged(const TAction& Source) override;

private:
    bool FChecked = false;
    bool FClicksDisabled = false;
};

// ---------------------------------------------------------------------------------------------
// Edits

// One line of text (kept in the control's Caption). OnChange runs after every change of the text,
// whether the program or the user made it (the backend reports typing through SetText).
class TCustomEdit : public TControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomEdit"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomEdit; }

    const std::u16string& Text() const { return Caption(); }
    void SetText(const std::u16string& Value) { SetCaption(Value); }
    // Grey text shown while the edit is empty.
    const std::u16string& TextHint() const { return FTextHint; }
    void SetTextHint(const std::u16string& Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }

    TNotifyEvent OnChange;

protected:
    // "Hint" and "TextHint" (an edit's text is not a caption to translate).
    std::span<const TTextProperty> TextProperties() const override;
    void Changed(TChange What) override;
    // Runs OnChange.
    virtual void Change();

private:
    std::u16string FTextHint;
    bool FReadOnly = false;
    int FMaxLength = 0;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    bool FTabStop = true;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    std::u16string ClassName() const override { return u"TEdit"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckEdit; }
};

enum class TLabelPosition : std::uint8_t { lpAbove, lpBelow, lpLeft, lpRight };

// The label built into a labeled edit. It is owned by the edit, named "SubLabel", and sits on the
// edit's parent beside the edit.
class TBoundLabel : public TCustomLabel {
public:
    explicit TBoundLabel(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TBoundLabel"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckBoundLabel; }
};

// An edit with a label of its own (EditLabel) that follows it: same parent, same visibility, placed
// LabelSpacing pixels from the edit on the LabelPosition side.
class TCustomLabeledEdit : public TCustomEdit {
public:
    explicit TCustomLabeledEdit(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomLabeledEdit"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomLabeledEdit; }

    TBoundLabel* EditLabel() const { return FEditLabel; }
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelSpacing() const { return FLabelSpacing; }
    void SetLabelSpacing(int Value);

    void SetParent(TControl* Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    // Puts the label on the edit's parent and beside the edit; runs after every move, new parent
    // or visibility change of the edit.
    void PlaceLabel();

private:
    // The label is the edit's own, but it can be freed apart from it.
    TComponentRef<TBoundLabel> FEditLabel;
    TLabelPosition FLabelPosition = TLabelPosition::lpAbove;
    int FLabelSpacing = 3;
};

class TLabeledEdit : public TCustomLabeledEdit {
public:
    using TCustomLabeledEdit::TCustomLabeledEdit;
    std::u16string ClassName() const override { return u"TLabeledEdit"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckLabeledEdit; }
};

// Several lines of text. Lines().OnChange belongs to the memo: every change of the lines
// is handed to the peer as Changed(Text) and runs OnChange.
class TMemo : public TControl {
public:
    explicit TMemo(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TMemo"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckMemo; }

    TStrings& Lines() { return FLines; }
    const TStrings& Lines() const { return FLines; }
    // The lines joined by CR LF, without a break after the last one.
    std::u16string Text() const;
    void SetText(std::u16string_view Value) { FLines.SetText(Value); }
    void Append(const std::u16string& Line) { FLines.Add(Line); }
    void Clear() { FLines.Clear(); }

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    const std::u16string& TextHint() const { return FTextHint; }
    void SetTextHint(const std::u16string& Value);

    TNotifyEvent OnChange;

protected:
    // "Hint" and "TextHint".
    std::span<const TTextProperty> TextProperties() const override;

private:
    void LinesChanged();

    TStrings FLines;
    bool FReadOnly = false;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
    bool FWordWrap = true;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    std::u16string FTextHint;
};

// ---------------------------------------------------------------------------------------------
// Lists

enum class TComboBoxStyle : std::uint8_t { csDropDown, csSimple, csDropDownList };

// A drop-down list. ItemIndex is -1 (nothing selected) or a valid index; a value out of range
// selects nothing, and removing the selected line clears the selection. With a list style the text
// is the selected item's.
class TCustomComboBox : public TControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomComboBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomComboBox; }

    TStrings& Items() { return FItems; }
    const TStrings& Items() const { return FItems; }
    int ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(int Value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    const std::u16string& Text() const { return Caption(); }
    void SetText(const std::u16string& Value) { SetCaption(Value); }
    const std::u16string& TextHint() const { return FTextHint; }
    void SetTextHint(const std::u16string& Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }

    // The user picked an item: select it, then OnSelect and OnChange.
    void SelectByUser(int Index);

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;

protected:
    // "Hint" and "TextHint".
    std::span<const TTextProperty> TextProperties() const override;
    // Runs OnChange.
    virtual void Change();

private:
    void ItemsChanged();

    TStrings FItems;
    int FItemIndex = -1;
    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    std::u16string FTextHint;
    int FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
    std::u16string ClassName() const override { return u"TComboBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckComboBox; }
};

// A list of lines with at most one selected (ItemIndex, -1 for none).
class TCustomListBox : public TControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomListBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomListBox; }

    TStrings& Items() { return FItems; }
    const TStrings& Items() const { return FItems; }
    int ItemIndex() const { return FItemIndex; }
    // A value out of range selects nothing.
    void SetItemIndex(int Value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    // The user picked an item: select it, then OnClick.
    void SelectByUser(int Index);

private:
    void ItemsChanged();

    TStrings FItems;
    int FItemIndex = -1;
    int FTopIndex = 0;
    int FItemHeight = 16;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
    std::u16string ClassName() const override { return u"TListBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckListBox; }
};

// ---------------------------------------------------------------------------------------------
// Group box and scroll bar

class TCustomGroupBox : public TControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomGroupBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomGroupBox; }

protected:
    // "Caption" and "Hint".
    std::span<const TTextProperty> TextProperties() const override;
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
    std::u16string ClassName() const override { return u"TGroupBox"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckGroupBox; }
};

// A scroll bar. A range whose maximum lies below its minimum raises EInvalidOperation.
class TScrollBar : public TRangeControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TScrollBar"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckScrollBar; }

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = Value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }

protected:
    void ReversedRange() override;

private:
    TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
    int FSmallChange = 1;
    int FLargeChange = 1;
    bool FTabStop = true;
};

} // namespace toolkit
