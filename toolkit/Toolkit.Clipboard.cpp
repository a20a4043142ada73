#include "toolkit/Toolkit.Clipboard.h"

#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Backend.h"

namespace toolkit {

void TClipboard::SetAsText(const std::u16string& Text) {
    FApplication.Backend().SetClipboardText(Text);
}

std::u16string TClipboard::AsText() const {
    return FApplication.Backend().ClipboardText().value_or(std::u16string());
}

} // namespace toolkit
