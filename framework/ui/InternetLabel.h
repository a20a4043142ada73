#pragma once
// TInternetLabel: a label that behaves like a web link. It shows its text in the not-visited
// colour, takes the over colour and an underline while the mouse is over it, hands its link to the
// desktop's default handler when clicked, and shows the visited colour once that was accepted.
#include "platform/Platform.ShellOpen.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <functional>
#include <string>

namespace orvel {

// Lets the owner allow or veto opening the link; CanActivate comes in as "the link is not empty".
using TLinkActivatingEvent = std::function<void(toolkit::TComponent* Sender, bool& CanActivate)>;

class TInternetLabel : public toolkit::TLabel {
public:
    static constexpr toolkit::TColor DefaultVisitedColor = toolkit::clPurple;
    static constexpr toolkit::TColor DefaultNotVisitedColor = toolkit::clBlue;
    static constexpr toolkit::TColor DefaultOverColor = toolkit::clRed;

    // Not visited, no link hint, the pointing hand, the not-visited colour and a plain font. Shell
    // opens the link; it must outlive the label.
    TInternetLabel(toolkit::TComponent* AOwner, platform::IShellOpen& Shell);
    std::u16string ClassName() const override { return u"TInternetLabel"; }

    const std::u16string& Link() const { return FLink; }
    // With LinkHint on, the link becomes the hint too.
    void SetLink(const std::u16string& Value);
    // Turning it on later does not copy a stored link into the hint.
    bool LinkHint() const { return FAutoHint; }
    void SetLinkHint(bool Value) { FAutoHint = Value; }
    bool Visited() const { return FVisited; }
    // Shows the visited or not-visited colour at once, also while the mouse is over the label.
    void SetVisited(bool Value);
    toolkit::TColor VisitedColor() const { return FVisitedCl; }
    // Shown now only when visited and the mouse is not over the label.
    void SetVisitedColor(toolkit::TColor Value);
    toolkit::TColor NotVisitedColor() const { return FNVisitedCl; }
    // Shown now only when not visited and the mouse is not over the label.
    void SetNotVisitedColor(toolkit::TColor Value);
    toolkit::TColor OverColor() const { return FOverCl; }
    // Shown now only while the mouse is over the label.
    void SetOverColor(toolkit::TColor Value);
    bool MouseOver() const { return FMouseOver; }

    TLinkActivatingEvent OnLinkActivating;

    // The over colour and an underline (other style bits stay), then OnMouseEnter.
    void MouseEnter() override;
    // No underline (also one the label was given), the visited or not-visited colour, then
    // OnMouseLeave.
    void MouseLeave() override;
    // OnClick first, then Visit.
    void Click() override;
    // True for a non-empty link unless OnLinkActivating says otherwise.
    virtual bool CanVisit();
    // When CanVisit: opens the link and becomes visited exactly when the shell accepted it.
    void Visit();

private:
    void ShowRestingColor();

    platform::IShellOpen& FShell;
    bool FMouseOver = false;
    std::u16string FLink;
    bool FAutoHint = false;
    bool FVisited = false;
    toolkit::TColor FVisitedCl = DefaultVisitedColor;
    toolkit::TColor FNVisitedCl = DefaultNotVisitedColor;
    toolkit::TColor FOverCl = DefaultOverColor;
};

} // namespace orvel
