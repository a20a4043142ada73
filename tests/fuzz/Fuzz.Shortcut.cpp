// Shortcut texts from the INI file: arbitrary UTF-16, read by TextToShortCut.
#include "app/Tarvin.Settings.h"
#include "tests/fuzz/Fuzz.Support.h"

using tarvin::TShortCut;

namespace {

std::u16string UpperAscii(std::u16string text) {
    for (auto& c : text) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = fuzz::BytesToUtf16(data, size);
    const TShortCut sc = tarvin::TextToShortCut(text);
    // Names compare ignoring ASCII case, so the upper-cased text must mean the same shortcut.
    FUZZ_CHECK(tarvin::TextToShortCut(UpperAscii(text)) == sc);
    if (sc != 0) {
        // A valid shortcut always names a key; one more modifier prefix only adds its bit.
        FUZZ_CHECK((sc & tarvin::scKeyMask) != 0);
        FUZZ_CHECK(tarvin::TextToShortCut(u"Shift+" + text) == (sc | tarvin::scShift));
        FUZZ_CHECK(tarvin::TextToShortCut(u"^" + text) == (sc | tarvin::scCtrl));
        FUZZ_CHECK(tarvin::TextToShortCut(u"alt+" + text) == (sc | tarvin::scAlt));
    }
    return 0;
}
