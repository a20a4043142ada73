#pragma once
// TfrmAboutApp: the framework's About box: the application's name, its version with the process's
// high-DPI mode, the maker's name as a link to the product's home page, the logo and a motto.
#include "framework/ui/InternetLabel.h"
#include "framework/ui/OrvelVcl.Visual.AppDataForm.h"
#include "platform/Platform.DpiAwareness.h"
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <string>

namespace orvel {

class TfrmAboutApp : public TOrvelForm {
public:
    static constexpr char16_t FormName[] = u"frmAboutApp";
    static constexpr char16_t LogoFileName[] = u"Logo.png";
    static constexpr char16_t Motto[] =
        u" We have not inherited the earth from our parents, we've borrowed it from our children";
    static constexpr char16_t DpiSeparator[] = u"   |   High-DPI: ";
    static constexpr int ClientWidthPx = 535;
    static constexpr int ClientHeightPx = 445;
    // The logo drawn from the program's icon at its largest size.
    static constexpr int LogoSize = 256;

    // The layout of the box; the texts are filled in by FormCreate once it is built.
    explicit TfrmAboutApp(toolkit::TComponent* AOwner);
    std::u16string ClassName() const override { return u"TfrmAboutApp"; }

    // A new About box made through the application object (state asFull, not shown, no parent),
    // shown modally; returns once the user closed it. The box stays, hidden, owned by the
    // application. Fails like CreateForm when there is no application object or main form.
    static TfrmAboutApp* CreateFormModal();

    // The process's high-DPI mode as the version line names it.
    static std::u16string DpiAwarenessText();

    toolkit::TPanel* Container = nullptr;
    toolkit::TImage* imgLogo = nullptr;
    TInternetLabel* lblCompany = nullptr;
    toolkit::TLabel* lblAppName = nullptr;
    toolkit::TLabel* lblChildren = nullptr;
    toolkit::TLabel* lblVersion = nullptr;

private:
    void BuildLayout();
    // Name, version line and link from the application; the logo from "Logo.png" in the
    // application's system folder, else the program's own icon. A logo file that is no picture is
    // reported and the box opens with the icon.
    void FormCreate(toolkit::TComponent* Sender);
    // Enter and Escape close the box.
    void FormKeyPress(toolkit::TComponent* Sender, char16_t& Key);
    void LoadLogo();
};

// The text of one mode: "Per-Monitor Aware V2", "Per-Monitor Aware", "System Aware",
// "Unaware (GDI-scaled)", "Unaware", "Aware (legacy)" or "Unknown".
std::u16string DpiAwarenessName(platform::TDpiAwareness Awareness);

} // namespace orvel
