#pragma once
// The common dialogs as components that hold their values. None is shown by this program; Execute
// answers false ("cancelled") until a backend shows them.
#include "toolkit/Toolkit.Component.h"
#include "toolkit/Toolkit.Graphics.h"

#include <string>

namespace toolkit {

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    std::u16string ClassName() const override { return u"TCommonDialog"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckCommonDialog; }

    // True when the user confirmed the dialog.
    virtual bool Execute() { return false; }
};

class TOpenDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    std::u16string ClassName() const override { return u"TOpenDialog"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckOpenDialog; }

    const std::u16string& FileName() const { return FFileName; }
    void SetFileName(const std::u16string& Value) { FFileName = Value; }
    const std::u16string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::u16string& Value) { FInitialDir = Value; }
    // "Description|*.ext|Description|*.a;*.b".
    const std::u16string& Filter() const { return FFilter; }
    void SetFilter(const std::u16string& Value) { FFilter = Value; }
    // 1-based, as Windows counts.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    const std::u16string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::u16string& Value) { FDefaultExt = Value; }
    const std::u16string& Title() const { return FTitle; }
    void SetTitle(const std::u16string& Value) { FTitle = Value; }

private:
    std::u16string FFileName;
    std::u16string FInitialDir;
    std::u16string FFilter;
    int FFilterIndex = 1;
    std::u16string FDefaultExt;
    std::u16string FTitle;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    std::u16string ClassName() const override { return u"TSaveDialog"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckSaveDialog; }
};

class TFontDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    std::u16string ClassName() const override { return u"TFontDialog"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckFontDialog; }

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }

private:
    TFont FFont;
};

class TColorDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    std::u16string ClassName() const override { return u"TColorDialog"; }
    TComponentKind ComponentKind() const override { return TComponentKind::ckColorDialog; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }

private:
    TColor FColor = clBlack;
};

} // namespace toolkit
