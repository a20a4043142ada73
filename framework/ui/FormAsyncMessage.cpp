#include "framework/ui/FormAsyncMessage.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.h"
#include "framework/ui/OrvelVcl.Common.CenterControl.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "toolkit/Toolkit.Application.h"

namespace orvel {

using namespace toolkit;

namespace {

constexpr int InformationIcon = 64; // MB_ICONINFORMATION
constexpr int WarningIcon = 48;     // MB_ICONWARNING
constexpr int ErrorIcon = 16;       // MB_ICONERROR

// Centred on Owner's window, or on the main form's monitor when the owner is no form.
void CentreOn(TForm& Form, const TComponent* Owner) {
    const auto* ownerForm = dynamic_cast<const TForm*>(Owner);
    if (ownerForm == nullptr) {
        CenterFormOnMainFormMonitor(&Form);
        return;
    }
    Form.SetBounds(ownerForm->Left() + (ownerForm->Width() - Form.Width()) / 2,
                   ownerForm->Top() + (ownerForm->Height() - Form.Height()) / 2, Form.Width(), Form.Height());
    CorrectFormPositionDesktop(&Form);
}

} // namespace

TfrmShowMsgAsync::TfrmShowMsgAsync(toolkit::TComponent* AOwner) : TForm(AOwner) {
    SetCaption(u"Caption");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetMinSize(TSize{150, 140});
    SetMaxSize(TSize{700, 300});
    SetClientSize(ClientWidthPx, ClientHeightPx);
    SetDoubleBuffered(true);
    Font().SetName(u"Tahoma");
    Font().SetHeight(-11);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poOwnerFormCenter);

    lblMessage = new TLabel(this);
    lblMessage->SetName(u"lblMessage");
    lblMessage->SetParent(this);
    lblMessage->SetMargins(TMargins{MessageSideMargin, MessageTopMargin, MessageSideMargin, 3});
    lblMessage->SetAlignWithMargins(true);
    lblMessage->SetAlign(TAlign::alTop);
    lblMessage->SetWordWrap(true);
    lblMessage->SetLayout(TTextLayout::tlCenter);
    lblMessage->SetShowHint(true);
    lblMessage->SetCaption(u"Msg");

    Panel1 = new TPanel(this);
    Panel1->SetName(u"Panel1");
    Panel1->SetParent(this);
    Panel1->SetCaption(u"");
    Panel1->SetShowCaption(false);
    Panel1->SetBevelOuter(TBevelCut::bvNone);
    Panel1->SetHeight(PanelHeight);
    Panel1->SetAlign(TAlign::alBottom);

    btnOK = new TButton(this);
    btnOK->SetName(u"btnOK");
    btnOK->SetParent(Panel1);
    btnOK->SetCaption(u"Ok");
    btnOK->SetBounds(158, 5, 93, 31);
    // Bottom only: the button keeps its place in proportion when the form's width changes.
    btnOK->SetAnchors(akBottom);
    btnOK->SetDefault(true);

    btnOK->OnClick = [this](TComponent* Sender) { btnOKClick(Sender); };
    OnKeyPress = [this](TComponent* Sender, char16_t& Key) { FormKeyPress(Sender, Key); };
    OnClose = [this](TComponent* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

void TfrmShowMsgAsync::SetMessage(const std::u16string& Text) {
    lblMessage->SetCaption(Text);
    FitToText();
}

void TfrmShowMsgAsync::FitToText() {
    lblMessage->SetAlign(TAlign::alTop); // sized to its text again
    const TMargins& margins = lblMessage->Margins();
    SetClientSize(ClientWidth(), margins.Top + lblMessage->Height() + margins.Bottom + Panel1->Height());
    // A text longer than the tallest form is cut at the button panel instead of running under it.
    if (lblMessage->Top() + lblMessage->Height() + margins.Bottom > Panel1->Top()) {
        lblMessage->SetAlign(TAlign::alClient);
    }
}

void TfrmShowMsgAsync::btnOKClick(toolkit::TComponent*) {
    Close();
}

void TfrmShowMsgAsync::FormKeyPress(toolkit::TComponent*, char16_t& Key) {
    if (Key == u'\r' || Key == u'\x1B') {
        Key = 0;
        Close();
    }
}

void TfrmShowMsgAsync::FormClose(toolkit::TComponent*, toolkit::TCloseAction& Action) {
    Action = TCloseAction::caFree;
}

void ShowMessageAsync(const std::u16string& Text, const std::u16string& Caption,
                      toolkit::TForm* PopupParent) {
    Assert(AppData != nullptr, u"ShowMessageAsync: AppData is not created");
    TApplication& app = AppData->Application();
    TForm* mainForm = app.MainForm();
    TComponent* owner =
        mainForm != nullptr ? static_cast<TComponent*>(mainForm) : static_cast<TComponent*>(&app);
    auto* form = NewForm<TfrmShowMsgAsync>(owner);
    form->SetCaption(Caption);
    form->SetMessage(Text);
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetKeyPreview(true);
    form->SetPopupParent(PopupParent != nullptr ? PopupParent : mainForm);
    CentreOn(*form, owner);
    form->Show();
}

void ShowInfoAsync(const std::u16string& Text, toolkit::TForm* PopupParent) {
    ShowMessageAsync(Text, u"Info", PopupParent);
}

int ShowAppMessage(const std::u16string& Text, const std::u16string& Caption, int Flags) {
    if (Text.empty() || AppData == nullptr) {
        return 0;
    }
    TApplication& app = AppData->Application();
    const std::u16string title = Caption.empty() ? app.Title() : app.Title() + u" - " + Caption;
    const auto flags = static_cast<std::uint32_t>(Flags < 0 ? InformationIcon : Flags);
    return app.MessageBox(ExpandCrlfTokens(Text), title, flags);
}

int ShowAppInfo(const std::u16string& Text, const std::u16string& Caption) {
    return ShowAppMessage(Text, Caption, InformationIcon);
}

int ShowAppWarning(const std::u16string& Text, const std::u16string& Caption) {
    return ShowAppMessage(Text, Caption.empty() ? u"Warning" : Caption, WarningIcon);
}

int ShowAppError(const std::u16string& Text, const std::u16string& Caption) {
    return ShowAppMessage(Text, Caption.empty() ? u"Error" : Caption, ErrorIcon);
}

} // namespace orvel
