#include "framework/ui/FormAbout.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"

namespace orvel {

using namespace toolkit;

std::u16string DpiAwarenessName(platform::TDpiAwareness Awareness) {
    using platform::TDpiAwareness;
    switch (Awareness) {
    case TDpiAwareness::PerMonitorV2:
        return u"Per-Monitor Aware V2";
    case TDpiAwareness::PerMonitor:
        return u"Per-Monitor Aware";
    case TDpiAwareness::System:
        return u"System Aware";
    case TDpiAwareness::UnawareGdiScaled:
        return u"Unaware (GDI-scaled)";
    case TDpiAwareness::Unaware:
        return u"Unaware";
    case TDpiAwareness::AwareLegacy:
        return u"Aware (legacy)";
    case TDpiAwareness::Unknown:
        break;
    }
    return u"Unknown";
}

TfrmAboutApp::TfrmAboutApp(toolkit::TComponent* AOwner) : TOrvelForm(AOwner) {
    BuildLayout();
}

void TfrmAboutApp::BuildLayout() {
    SetName(FormName);
    SetCaption(u"About");
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu);
    SetClientSize(ClientWidthPx, ClientHeightPx);
    SetAlphaBlend(true);
    SetAlphaBlendValue(250);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetKeyPreview(true);
    SetPosition(TPosition::poDesigned);
    SetScreenSnap(true);
    SetSnapBuffer(3);
    SetShowHint(true);
    SetDoubleBuffered(true);
    Font().SetName(u"Tahoma");
    Font().SetHeight(-11);

    Container = new TPanel(this);
    Container->SetName(u"Container");
    Container->SetParent(this);
    Container->SetCaption(u"");
    Container->SetShowCaption(false);
    Container->SetBevelOuter(TBevelCut::bvNone);
    Container->SetMargins(TMargins{15, 15, 15, 15});
    Container->SetAlignWithMargins(true);
    Container->SetAlign(TAlign::alClient);

    // Declared in the resource's order; placed top to bottom as the box reads: name, version,
    // link, logo, motto.
    imgLogo = new TImage(this);
    imgLogo->SetName(u"imgLogo");
    lblCompany = new TInternetLabel(this, TAppDataCore::Services().ShellOpen);
    lblCompany->SetName(u"lblCompany");
    lblAppName = new TLabel(this);
    lblAppName->SetName(u"lblAppName");
    lblChildren = new TLabel(this);
    lblChildren->SetName(u"lblChildren");
    lblVersion = new TLabel(this);
    lblVersion->SetName(u"lblVersion");

    lblAppName->SetParent(Container);
    lblAppName->SetAutoSize(false);
    lblAppName->SetHeight(24);
    lblAppName->SetMargins(TMargins{3, 12, 3, 3});
    lblAppName->SetAlignWithMargins(true);
    lblAppName->SetAlign(TAlign::alTop);
    lblAppName->SetAlignment(TAlignment::taCenter);
    lblAppName->Font().SetName(u"MS UI Gothic");
    lblAppName->Font().SetHeight(-24);
    lblAppName->Font().SetStyle(fsBold);
    lblAppName->Font().SetColor(clNavy);

    lblVersion->SetParent(Container);
    lblVersion->SetAlign(TAlign::alTop);
    lblVersion->SetAlignment(TAlignment::taCenter);
    lblVersion->SetCaption(u"Version [Runtime]");

    lblCompany->SetParent(Container);
    lblCompany->SetAlign(TAlign::alTop);
    lblCompany->SetAlignment(TAlignment::taCenter);
    lblCompany->SetCaption(u"Home page");
    lblCompany->Font().SetName(u"MS Sans Serif");
    lblCompany->Font().SetHeight(-11);
    lblCompany->Font().SetStyle(fsUnderline);

    lblChildren->SetParent(Container);
    lblChildren->SetAlign(TAlign::alBottom);
    lblChildren->SetAlignment(TAlignment::taCenter);
    lblChildren->SetTransparent(true);
    lblChildren->SetCaption(Motto);
    lblChildren->Font().SetName(u"Tahoma");
    lblChildren->Font().SetHeight(-11);
    lblChildren->Font().SetColor(clTeal);

    // Centred and scaled down to fit, never distorted or blown up past its own size.
    imgLogo->SetParent(Container);
    imgLogo->SetAlign(TAlign::alClient);
    imgLogo->SetCenter(true);
    imgLogo->SetProportional(true);

    OnCreate = [this](TComponent* Sender) { FormCreate(Sender); };
    OnKeyPress = [this](TComponent* Sender, char16_t& Key) { FormKeyPress(Sender, Key); };
}

void TfrmAboutApp::FormCreate(toolkit::TComponent*) {
    if (AppData != nullptr) {
        lblCompany->SetCaption(AppData->CompanyName);
        lblCompany->SetLink(AppData->ProductHome);
    }
    lblAppName->SetCaption(TAppDataCore::AppName());
    lblVersion->SetCaption(TAppData::GetVersionInfoV() + DpiSeparator + DpiAwarenessText());
    LoadLogo();
}

void TfrmAboutApp::LoadLogo() {
    if (imgLogo->Picture().Empty()) {
        const std::u16string logoFile = TAppDataCore::AppSysDir() + LogoFileName;
        if (TAppDataCore::Services().Files.FileExists(logoFile)) {
            try {
                imgLogo->Picture().LoadFromFile(logoFile);
            } catch (const std::exception& Error) {
                Application().HandleException(Error);
            }
        }
    }
    // Without a picture of its own the box shows the program's icon, the same glyph the tray and
    // Explorer show.
    if (imgLogo->Picture().Empty()) {
        if (auto icon = Application().Backend().ApplicationIcon(LogoSize)) {
            imgLogo->Picture().Assign(std::move(*icon));
        }
    }
}

void TfrmAboutApp::FormKeyPress(toolkit::TComponent*, char16_t& Key) {
    if (Key == u'\r' || Key == u'\x1B') {
        Close();
    }
}

std::u16string TfrmAboutApp::DpiAwarenessText() {
    return DpiAwarenessName(TAppDataCore::Services().Dpi.Awareness());
}

TfrmAboutApp* TfrmAboutApp::CreateFormModal() {
    Assert(AppData != nullptr, u"TfrmAboutApp.CreateFormModal: AppData is not created");
    TfrmAboutApp* box = AppData->CreateForm<TfrmAboutApp>(false, asFull);
    box->ShowModal();
    return box;
}

} // namespace orvel
