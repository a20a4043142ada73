#pragma once
// The clipboard's text, through the application's backend.
#include "toolkit/Toolkit.Exceptions.h"

#include <string>

namespace toolkit {

class TApplication;

class TClipboard {
public:
    explicit TClipboard(TApplication& App) : FApplication(App) {}

    // Both raise EClipboardException while another program holds the clipboard.
    void SetAsText(const std::u16string& Text);
    // Empty when the clipboard holds no text.
    std::u16string AsText() const;

private:
    TApplication& FApplication;
};

} // namespace toolkit
