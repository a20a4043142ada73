#include "toolkit/Toolkit.StdCtrls.h"

#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.Form.h"

#include <algorithm>

namespace toolkit {

namespace {

// Splits at CR LF, LF or a lone CR; an empty text is one empty line.
std::vector<std::u16string> SplitLines(std::u16string_view Text) {
    TStrings lines;
    lines.SetText(Text);
    std::vector<std::u16string> result = lines.Lines();
    if (result.empty()) {
        result.emplace_back();
    }
    return result;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 65, 17);
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (UpdateField(FWordWrap, Value)) {
        Changed(TChange::Style);
        AdjustBounds();
    }
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    SetField(FAlignment, Value, TChange::Style);
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    SetField(FLayout, Value, TChange::Style);
}

void TCustomLabel::SetTransparent(bool Value) {
    SetField(FTransparent, Value, TChange::Style);
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (UpdateField(FAutoSize, Value)) {
        AdjustBounds();
    }
}

void TCustomLabel::SetFocusControl(TControl* Value) {
    if (FFocusControl == Value) {
        return;
    }
    FFocusControl = Value;
}

std::vector<std::u16string> TCustomLabel::WrappedLines() const {
    std::vector<std::u16string> paragraphs = SplitLines(Caption());
    if (!FWordWrap) {
        return paragraphs;
    }
    IBackend& backend = Application().Backend();
    const int limit = Width();
    std::vector<std::u16string> result;
    for (const std::u16string& paragraph : paragraphs) {
        std::u16string line;
        std::size_t pos = 0;
        while (pos <= paragraph.size()) {
            std::size_t blank = paragraph.find(u' ', pos);
            if (blank == std::u16string::npos) {
                blank = paragraph.size();
            }
            const std::u16string word = paragraph.substr(pos, blank - pos);
            const std::u16string candidate = line.empty() ? word : line + u" " + word;
            if (!line.empty() && backend.MeasureText(Font(), candidate).Width > limit) {
                result.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            pos = blank + 1;
        }
        result.push_back(line);
    }
    return result;
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || FAdjusting || Align() == TAlign::alClient) {
        return;
    }
    FAdjusting = true;
    IBackend& backend = Application().Backend();
    int textWidth = 0;
    int lineHeight = backend.MeasureText(Font(), u"Wg").Height;
    const std::vector<std::u16string> lines = WrappedLines();
    for (const std::u16string& line : lines) {
        const TTextMetrics metrics = backend.MeasureText(Font(), line);
        textWidth = std::max(textWidth, metrics.Width + metrics.Overhang);
        lineHeight = std::max(lineHeight, metrics.Height);
    }
    const int textHeight = lineHeight * static_cast<int>(lines.size());
    // A wrapping label keeps its width and grows downwards; an aligned one keeps the size its
    // alignment gives it along that side.
    const bool keepWidth = FWordWrap || Align() == TAlign::alTop || Align() == TAlign::alBottom;
    const bool keepHeight = Align() == TAlign::alLeft || Align() == TAlign::alRight;
    SetBounds(Left(), Top(), keepWidth ? Width() : textWidth, keepHeight ? Height() : textHeight);
    FAdjusting = false;
}

void TCustomLabel::Changed(TChange What) {
    TControl::Changed(What);
    if (What == TChange::Text || (What == TChange::Bounds && FWordWrap)) {
        AdjustBounds();
    }
}

void TCustomLabel::FontChanged() {
    TControl::FontChanged();
    AdjustBounds();
}

std::span<const TTextProperty> TCustomLabel::TextProperties() const {
    return CaptionedControlProperties;
}

// ---------------------------------------------------------------------------------------------
// Buttons

TButtonControl::TButtonControl(TComponent* AOwner)
    : TControl(AOwner), FActionLink([this](const TAction& Source) { ActionChanged(Source); }) {}

void TButtonControl::SetTabStop(bool Value) {
    FTabStop = Value;
}

void TButtonControl::Click() {
    if (!OnClick && FActionLink.Action() != nullptr) {
        FActionLink.Execute();
    } else {
        TControl::Click();
    }
}

void TButtonControl::ActionChanged(const TAction& Source) {
    SetCaption(Source.Caption());
    SetHint(Source.Hint());
    SetEnabled(Source.Enabled());
    SetVisible(Source.Visible());
}

std::span<const TTextProperty> TButtonControl::TextProperties() const {
    return CaptionedControlProperties;
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool Value) {
    SetField(FDefault, Value, TChange::Style);
}

void TButton::Click() {
    if (FModalResult != mrNone) {
        if (TForm* form = ParentForm()) {
            form->SetModalResult(FModalResult);
        }
    }
    TButtonControl::Click();
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetState(TCheckBoxState Value) {
    if (!UpdateField(FState, Value)) {
        return;
    }
    Changed(TChange::State);
    if (!FClicksDisabled) {
        Click();
    }
}

void TCheckBox::SetChecked(bool Value) {
    SetState(Value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TCheckBox::Toggle() {
    switch (FState) {
    case TCheckBoxState::cbUnchecked:
        SetState(TCheckBoxState::cbChecked);
        break;
    case TCheckBoxState::cbChecked:
        SetState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
        break;
    case TCheckBoxState::cbGrayed:
        SetState(TCheckBoxState::cbUnchecked);
        break;
    }
}

void TCheckBox::ActionChanged(const TAction& Source) {
    TButtonControl::ActionChanged(Source);
    // The action's state is shown, not a click of the box.
    FClicksDisabled = true;
    SetChecked(Source.Checked());
    FClicksDisabled = false;
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
}

void TRadioButton::SetChecked(bool Value) {
    if (!UpdateField(FChecked, Value)) {
        return;
    }
    // Only the checked button of a group is reached with the Tab key.
    SetTabStop(Value);
    Changed(TChange::State);
    if (!Value) {
        return;
    }
    if (Parent() != nullptr) {
        const std::vector<TControl*> siblings = Parent()->Controls();
        for (TControl* sibling : siblings) {
            auto* radio = dynamic_cast<TRadioButton*>(sibling);
            if (radio != nullptr && radio != this) {
                radio->SetChecked(false);
            }
        }
    }
    if (!FClicksDisabled) {
        Click();
    }
}

void TRadioButton::ActionChanged(const TAction& Source) {
    TButtonControl::ActionChanged(Source);
    FClicksDisabled = true;
    SetChecked(Source.Checked());
    FClicksDisabled = false;
}

// ---------------------------------------------------------------------------------------------
// Edits

TCustomEdit::TCustomEdit(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
}

void TCustomEdit::SetTextHint(const std::u16string& Value) {
    SetField(FTextHint, Value, TChange::Hint);
}

void TCustomEdit::SetReadOnly(bool Value) {
    SetField(FReadOnly, Value, TChange::Style);
}

void TCustomEdit::SetMaxLength(int Value) {
    SetField(FMaxLength, Value, TChange::Style);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    SetField(FBorderStyle, Value, TChange::Style);
}

void TCustomEdit::Changed(TChange What) {
    TControl::Changed(What);
    if (What == TChange::Text) {
        Change();
    }
}

void TCustomEdit::Change() {
    if (OnChange) {
        OnChange(this);
    }
}

std::span<const TTextProperty> TCustomEdit::TextProperties() const {
    static constexpr TTextProperty properties[] = {
        ControlHintProperty,
        TextProperty<TCustomEdit, &TCustomEdit::TextHint, &TCustomEdit::SetTextHint>(u"TextHint"),
    };
    return properties;
}

TBoundLabel::TBoundLabel(TComponent* AOwner) : TCustomLabel(AOwner) {
    SetName(u"SubLabel");
}

TCustomLabeledEdit::TCustomLabeledEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    FEditLabel = new TBoundLabel(this);
    PlaceLabel();
}

void TCustomLabeledEdit::SetLabelPosition(TLabelPosition Value) {
    if (UpdateField(FLabelPosition, Value)) {
        PlaceLabel();
    }
}

void TCustomLabeledEdit::SetLabelSpacing(int Value) {
    if (UpdateField(FLabelSpacing, Value)) {
        PlaceLabel();
    }
}

void TCustomLabeledEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceLabel();
}

void TCustomLabeledEdit::SetVisible(bool Value) {
    TCustomEdit::SetVisible(Value);
    if (FEditLabel != nullptr) {
        FEditLabel->SetVisible(Value);
    }
}

void TCustomLabeledEdit::PlaceLabel() {
    if (FEditLabel == nullptr || Destroying()) {
        return;
    }
    if (FEditLabel->Parent() != Parent()) {
        FEditLabel->SetParent(Parent());
    }
    const int labelWidth = FEditLabel->Width();
    const int labelHeight = FEditLabel->Height();
    int x = Left();
    int y = Top();
    switch (FLabelPosition) {
    case TLabelPosition::lpAbove:
        y = Top() - labelHeight - FLabelSpacing;
        break;
    case TLabelPosition::lpBelow:
        y = Top() + Height() + FLabelSpacing;
        break;
    case TLabelPosition::lpLeft:
        x = Left() - labelWidth - FLabelSpacing;
        y = Top() + (Height() - labelHeight) / 2;
        break;
    case TLabelPosition::lpRight:
        x = Left() + Width() + FLabelSpacing;
        y = Top() + (Height() - labelHeight) / 2;
        break;
    }
    FEditLabel->SetBounds(x, y, labelWidth, labelHeight);
    FEditLabel->SetVisible(Visible());
}

void TCustomLabeledEdit::SetParent(TControl* Value) {
    TCustomEdit::SetParent(Value);
    PlaceLabel();
}

TMemo::TMemo(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 185, 89);
    SetColor(clWindow);
    FLines.OnChange = [this] { LinesChanged(); };
}

std::u16string TMemo::Text() const {
    std::u16string result;
    for (int i = 0; i < FLines.Count(); ++i) {
        if (i > 0) {
            result += u"\r\n";
        }
        result += FLines[i];
    }
    return result;
}

void TMemo::SetReadOnly(bool Value) {
    SetField(FReadOnly, Value, TChange::Style);
}

void TMemo::SetScrollBars(TScrollStyle Value) {
    SetField(FScrollBars, Value, TChange::Style);
}

void TMemo::SetWordWrap(bool Value) {
    SetField(FWordWrap, Value, TChange::Style);
}

void TMemo::SetBorderStyle(TBorderStyle Value) {
    SetField(FBorderStyle, Value, TChange::Style);
}

void TMemo::SetTextHint(const std::u16string& Value) {
    SetField(FTextHint, Value, TChange::Hint);
}

void TMemo::LinesChanged() {
    Changed(TChange::Text);
    if (OnChange) {
        OnChange(this);
    }
}

std::span<const TTextProperty> TMemo::TextProperties() const {
    static constexpr TTextProperty properties[] = {
        ControlHintProperty,
        TextProperty<TMemo, &TMemo::TextHint, &TMemo::SetTextHint>(u"TextHint"),
    };
    return properties;
}

// ---------------------------------------------------------------------------------------------
// Lists

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 145, 23);
    SetColor(clWindow);
    FItems.OnChange = [this] { ItemsChanged(); };
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FItems.Count()) {
        Value = -1;
    }
    if (!UpdateField(FItemIndex, Value)) {
        return;
    }
    Changed(TChange::State);
    SetCaption(Value >= 0 ? FItems[Value] : std::u16string());
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    SetField(FStyle, Value, TChange::Style);
}

void TCustomComboBox::SetTextHint(const std::u16string& Value) {
    SetField(FTextHint, Value, TChange::Hint);
}

void TCustomComboBox::SelectByUser(int Index) {
    SetItemIndex(Index);
    if (OnSelect) {
        OnSelect(this);
    }
    Change();
}

void TCustomComboBox::Change() {
    if (OnChange) {
        OnChange(this);
    }
}

void TCustomComboBox::ItemsChanged() {
    Changed(TChange::Items);
    if (FItemIndex >= FItems.Count()) {
        SetItemIndex(-1);
    }
}

std::span<const TTextProperty> TCustomComboBox::TextProperties() const {
    static constexpr TTextProperty properties[] = {
        ControlHintProperty,
        TextProperty<TCustomComboBox, &TCustomComboBox::TextHint, &TCustomComboBox::SetTextHint>(u"TextHint"),
    };
    return properties;
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    FItems.OnChange = [this] { ItemsChanged(); };
}

void TCustomListBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FItems.Count()) {
        Value = -1;
    }
    if (UpdateField(FItemIndex, Value)) {
        Changed(TChange::State);
    }
}

void TCustomListBox::SetTopIndex(int Value) {
    Value = std::clamp(Value, 0, std::max(0, FItems.Count() - 1));
    if (UpdateField(FTopIndex, Value)) {
        Changed(TChange::State);
    }
}

void TCustomListBox::SetItemHeight(int Value) {
    if (Value > 0 && FItemHeight != Value) {
        FItemHeight = Value;
        Changed(TChange::Style);
    }
}

void TCustomListBox::SelectByUser(int Index) {
    SetItemIndex(Index);
    Click();
}

void TCustomListBox::ItemsChanged() {
    Changed(TChange::Items);
    if (FItemIndex >= FItems.Count()) {
        SetItemIndex(-1);
    }
    if (FTopIndex >= FItems.Count()) {
        SetTopIndex(FItems.Count() - 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Group box and scroll bar

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 185, 105);
}

std::span<const TTextProperty> TCustomGroupBox::TextProperties() const {
    return CaptionedControlProperties;
}

TScrollBar::TScrollBar(TComponent* AOwner) : TRangeControl(AOwner, 100) {
    SetBounds(0, 0, 121, 17);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    SetField(FKind, Value, TChange::Style);
}

void TScrollBar::ReversedRange() {
    throw EInvalidOperation(u"Scroll bar property out of range");
}

} // namespace toolkit
