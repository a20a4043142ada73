#pragma once
// Panels, images, shapes, splitters and radio groups.
#include "toolkit/Toolkit.Backend.h"
#include "toolkit/Toolkit.Classes.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <functional>
#include <string>

namespace toolkit {

enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// A container with an optional caption in its middle and a bevel of two edges.
class TCustomPanel : public TControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomPanel"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomPanel; }

    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // Draws the parent's background (a themed parent shows through) instead of Color.
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool Value);

protected:
    // "Caption" and "Hint".
    std::span<const TTextProperty> TextProperties() const override;

private:
    bool FShowCaption = true;
    TBevelCut FBevelOuter = TBevelCut::bvRaised;
    TBevelCut FBevelInner = TBevelCut::bvNone;
    int FBevelWidth = 1;
    TAlignment FAlignment = TAlignment::taCenter;
    bool FParentBackground = true;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    std::u16string ClassName() const override { return u"TPanel"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckPanel; }
};

// A decoded picture (32-bit BGRA) or nothing. Loading goes through the backend's decoder.
class TPicture {
public:
    explicit TPicture(IBackend& Backend) : FBackend(Backend) {}

    bool Empty() const { return FBitmap.Width <= 0 || FBitmap.Height <= 0; }
    int Width() const { return FBitmap.Width; }
    int Height() const { return FBitmap.Height; }
    const TBitmapData& Bitmap() const { return FBitmap; }
    // Raises EInvalidGraphic when the backend cannot read FileName; the picture is then unchanged.
    void LoadFromFile(const std::u16string& FileName);
    void Assign(TBitmapData Bitmap);
    void Clear();

    std::function<void()> OnChange;

private:
    void Changed();

    IBackend& FBackend;
    TBitmapData FBitmap;
};

// Shows a picture: at its own size from the top left corner, centred (Center), scaled to the
// control (Stretch) and, with Proportional, scaled keeping its aspect (never enlarged unless
// Stretch is on too).
class TImage : public TControl {
public:
    explicit TImage(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TImage"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckImage; }

    TPicture& Picture() { return FPicture; }
    const TPicture& Picture() const { return FPicture; }
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    // Where the picture goes inside the client area; empty for an empty picture.
    TRect DestRect() const;

private:
    TPicture FPicture;
    bool FCenter = false;
    bool FStretch = false;
    bool FProportional = false;
    bool FTransparent = false;
};

// The fill of a shape.
class TBrush {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    std::function<void()> OnChange;

private:
    TColor FColor = clWhite;
};

enum class TShapeType : std::uint8_t {
    stRectangle,
    stSquare,
    stRoundRect,
    stRoundSquare,
    stEllipse,
    stCircle
};

class TShape : public TControl {
public:
    explicit TShape(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TShape"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckShape; }

    TBrush& Brush() { return FBrush; }
    const TBrush& Brush() const { return FBrush; }
    TColor PenColor() const { return FPenColor; }
    void SetPenColor(TColor Value);
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType Value);

private:
    TBrush FBrush;
    TColor FPenColor = clBlack;
    TShapeType FShape = TShapeType::stRectangle;
};

// A bar the user drags to resize the control aligned before it; aligned left by default. The
// backend reports the drag by moving it (BoundsChangedByUser) and calling Moved().
class TSplitter : public TControl {
public:
    explicit TSplitter(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TSplitter"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckSplitter; }

    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value; }
    void Moved();
    TNotifyEvent OnMoved;

private:
    int FMinSize = 30;
};

// A group of radio buttons, one per line of Items; ItemIndex is the checked one (-1: none).
// A change of ItemIndex clicks the group.
class TCustomRadioGroup : public TCustomGroupBox {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    std::u16string ClassName() const override { return u"TCustomRadioGroup"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCustomRadioGroup; }

    TStrings& Items() { return FItems; }
    const TStrings& Items() const { return FItems; }
    int ItemIndex() const { return FItemIndex; }
    // A value out of range checks nothing.
    void SetItemIndex(int Value);
    int Columns() const { return FColumns; }
    void SetColumns(int Value);

private:
    void ItemsChanged();

    TStrings FItems;
    int FItemIndex = -1;
    int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    using TCustomRadioGroup::TCustomRadioGroup;
    std::u16string ClassName() const override { return u"TRadioGroup"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckRadioGroup; }
};

} // namespace toolkit
