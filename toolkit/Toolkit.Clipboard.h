#pragma once
// The clipboard's text, through the application's backend.
#include "framework/core/OrvelCore.Exceptions.h"

#include <string>

namespace toolkit {

class TApplication;

// Another program holds the clipboard open; trying again a moment later usually succeeds, so
// callers that can wait retry on this kind.
class EClipboardException : public orvel::EOrvelException {
public:
    EClipboardException() : EOrvelException(BusyMessage) {}
    using EOrvelException::EOrvelException;

    static constexpr const char16_t* BusyMessage =
        u"Cannot open clipboard: the clipboard is held by another program";
};

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
