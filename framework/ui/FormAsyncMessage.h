#pragma once
// Telling the user something without the log window: a small stay-on-top message form that is
// shown without blocking the caller and frees itself when closed, and modal message boxes whose
// title always carries the application's title.
#include "toolkit/Toolkit.ExtCtrls.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <string>

namespace orvel {

class TfrmShowMsgAsync : public toolkit::TForm {
public:
    static constexpr int ClientWidthPx = 408;
    static constexpr int ClientHeightPx = 112;
    static constexpr int PanelHeight = 41;
    static constexpr int MessageTopMargin = 20;
    static constexpr int MessageSideMargin = 9;

    explicit TfrmShowMsgAsync(toolkit::TComponent* AOwner);
    std::u16string ClassName() const override { return u"TfrmShowMsgAsync"; }

    // Shows Text, wrapped at the form's width; the form's height follows it within its limits
    // (whole window 140 to 300 pixels high, 150 to 700 wide).
    void SetMessage(const std::u16string& Text);

    toolkit::TLabel* lblMessage = nullptr;
    toolkit::TPanel* Panel1 = nullptr;
    toolkit::TButton* btnOK = nullptr;

private:
    void FitToText();
    void btnOKClick(toolkit::TComponent* Sender);
    // Enter and Escape close the form.
    void FormKeyPress(toolkit::TComponent* Sender, char16_t& Key);
    // Every close frees the form.
    void FormClose(toolkit::TComponent* Sender, toolkit::TCloseAction& Action);
};

// A new message form titled Caption showing Text, owned by the application's main form (by the
// application while there is none), staying above PopupParent (the main form when none is given),
// centred on its owner form and shown without waiting. It frees itself when the user closes it.
// Needs the application object.
void ShowMessageAsync(const std::u16string& Text, const std::u16string& Caption,
                      toolkit::TForm* PopupParent = nullptr);
// ShowMessageAsync titled "Info".
void ShowInfoAsync(const std::u16string& Text, toolkit::TForm* PopupParent = nullptr);

// A modal message box owned by the application's active window: title the application's title,
// with " - " and Caption when one is given; the word CRLF in Text becomes a line break; a
// negative Flags means the information icon. Returns the button pressed, or 0 when Text is empty
// or there is no application object, and nothing was shown.
int ShowAppMessage(const std::u16string& Text, const std::u16string& Caption, int Flags);
// The information icon, no caption of its own.
int ShowAppInfo(const std::u16string& Text, const std::u16string& Caption = u"");
// The warning icon, captioned "Warning" unless Caption says otherwise.
int ShowAppWarning(const std::u16string& Text, const std::u16string& Caption = u"");
// The error icon, captioned "Error" unless Caption says otherwise.
int ShowAppError(const std::u16string& Text, const std::u16string& Caption = u"");

} // namespace orvel
