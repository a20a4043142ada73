#include "framework/ui/InternetLabel.h"

namespace orvel {

using namespace toolkit;

TInternetLabel::TInternetLabel(toolkit::TComponent* AOwner, platform::IShellOpen& Shell)
    : TLabel(AOwner), FShell(Shell) {
    SetCursor(TCursor::crHandPoint);
    Font().SetColor(FNVisitedCl);
    Font().SetStyle(0);
}

void TInternetLabel::SetLink(const std::u16string& Value) {
    FLink = Value;
    if (FAutoHint) {
        SetHint(Value);
    }
}

void TInternetLabel::ShowRestingColor() {
    Font().SetColor(FVisited ? FVisitedCl : FNVisitedCl);
}

void TInternetLabel::SetVisited(bool Value) {
    FVisited = Value;
    ShowRestingColor();
}

void TInternetLabel::SetVisitedColor(toolkit::TColor Value) {
    FVisitedCl = Value;
    if (FVisited && !FMouseOver) {
        Font().SetColor(Value);
    }
}

void TInternetLabel::SetNotVisitedColor(toolkit::TColor Value) {
    FNVisitedCl = Value;
    if (!FVisited && !FMouseOver) {
        Font().SetColor(Value);
    }
}

void TInternetLabel::SetOverColor(toolkit::TColor Value) {
    FOverCl = Value;
    if (FMouseOver) {
        Font().SetColor(Value);
    }
}

void TInternetLabel::MouseEnter() {
    FMouseOver = true;
    Font().SetColor(FOverCl);
    Font().SetStyle(static_cast<TFontStyles>(Font().Style() | fsUnderline));
    TLabel::MouseEnter();
}

void TInternetLabel::MouseLeave() {
    FMouseOver = false;
    Font().SetStyle(static_cast<TFontStyles>(Font().Style() & ~fsUnderline));
    ShowRestingColor();
    TLabel::MouseLeave();
}

void TInternetLabel::Click() {
    TLabel::Click();
    Visit();
}

bool TInternetLabel::CanVisit() {
    bool canActivate = !FLink.empty();
    if (OnLinkActivating) {
        OnLinkActivating(this, canActivate);
    }
    return canActivate;
}

void TInternetLabel::Visit() {
    if (!CanVisit()) {
        return;
    }
    const platform::TShellOpenResult result = FShell.Open(FLink);
    SetVisited(result.Ok);
}

} // namespace orvel
