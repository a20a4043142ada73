#include "toolkit/Toolkit.ExtCtrls.h"

#include "toolkit/Toolkit.Application.h"

#include <algorithm>

namespace toolkit {

// ---------------------------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetShowCaption(bool Value) {
    SetField(FShowCaption, Value, TChange::Text);
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    SetField(FBevelOuter, Value, TChange::Style);
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    SetField(FBevelInner, Value, TChange::Style);
}

void TCustomPanel::SetBevelWidth(int Value) {
    if (Value >= 1 && FBevelWidth != Value) {
        FBevelWidth = Value;
        Changed(TChange::Style);
    }
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    SetField(FAlignment, Value, TChange::Style);
}

void TCustomPanel::SetParentBackground(bool Value) {
    SetField(FParentBackground, Value, TChange::Color);
}

std::span<const TTextProperty> TCustomPanel::TextProperties() const {
    return CaptionedControlProperties;
}

// ---------------------------------------------------------------------------------------------
// TPicture and TImage

void TPicture::LoadFromFile(const std::u16string& FileName) {
    std::optional<TBitmapData> bitmap = FBackend.LoadPicture(FileName);
    if (!bitmap.has_value()) {
        throw EInvalidGraphic(u"The picture \"" + FileName + u"\" could not be read");
    }
    Assign(std::move(*bitmap));
}

void TPicture::Assign(TBitmapData Bitmap) {
    FBitmap = std::move(Bitmap);
    Changed();
}

void TPicture::Clear() {
    if (!Empty()) {
        FBitmap = TBitmapData{};
        Changed();
    }
}

void TPicture::Changed() {
    if (OnChange) {
        OnChange();
    }
}

TImage::TImage(TComponent* AOwner) : TControl(AOwner), FPicture(AOwner->Application().Backend()) {
    SetBounds(0, 0, 105, 105);
    FPicture.OnChange = [this] { Changed(TChange::Paint); };
}

void TImage::SetCenter(bool Value) {
    SetField(FCenter, Value, TChange::Paint);
}

void TImage::SetStretch(bool Value) {
    SetField(FStretch, Value, TChange::Paint);
}

void TImage::SetProportional(bool Value) {
    SetField(FProportional, Value, TChange::Paint);
}

void TImage::SetTransparent(bool Value) {
    SetField(FTransparent, Value, TChange::Paint);
}

TRect TImage::DestRect() const {
    if (FPicture.Empty()) {
        return TRect{};
    }
    const TRect client = ClientRect();
    int w = FPicture.Width();
    int h = FPicture.Height();
    const int cw = client.Width();
    const int ch = client.Height();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            // Fit inside the client area keeping the picture's aspect.
            const long long byWidth = static_cast<long long>(cw) * h;
            const long long byHeight = static_cast<long long>(ch) * w;
            if (byWidth <= byHeight) {
                h = static_cast<int>(byWidth / w);
                w = cw;
            } else {
                w = static_cast<int>(byHeight / h);
                h = ch;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    int x = client.Left;
    int y = client.Top;
    if (FCenter) {
        x += (cw - w) / 2;
        y += (ch - h) / 2;
    }
    return RectOf(x, y, w, h);
}

// ---------------------------------------------------------------------------------------------
// TBrush, TShape, TSplitter

void TBrush::SetColor(TColor Value) {
    if (UpdateField(FColor, Value)) {
        if (OnChange) {
            OnChange();
        }
    }
}

TShape::TShape(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 65, 65);
    FBrush.OnChange = [this] { Changed(TChange::Color); };
}

void TShape::SetPenColor(TColor Value) {
    SetField(FPenColor, Value, TChange::Color);
}

void TShape::SetShape(TShapeType Value) {
    SetField(FShape, Value, TChange::Paint);
}

TSplitter::TSplitter(TComponent* AOwner) : TControl(AOwner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(TAlign::alLeft);
    SetCursor(TCursor::crDefault);
}

void TSplitter::Moved() {
    if (OnMoved) {
        OnMoved(this);
    }
}

// ---------------------------------------------------------------------------------------------
// TCustomRadioGroup

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner) {
    FItems.OnChange = [this] { ItemsChanged(); };
}

void TCustomRadioGroup::SetItemIndex(int Value) {
    if (Value < -1 || Value >= FItems.Count()) {
        Value = -1;
    }
    if (!UpdateField(FItemIndex, Value)) {
        return;
    }
    Changed(TChange::State);
    Click();
}

void TCustomRadioGroup::SetColumns(int Value) {
    Value = std::clamp(Value, 1, 16);
    if (UpdateField(FColumns, Value)) {
        Changed(TChange::Style);
    }
}

void TCustomRadioGroup::ItemsChanged() {
    Changed(TChange::Items);
    if (FItemIndex >= FItems.Count()) {
        SetItemIndex(-1);
    }
}

} // namespace toolkit
