#pragma once
// Text as the bytes an editor saves, built without the INI layer's own encoder.
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvel::test {

inline std::string Utf16LEBytes(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

inline std::string Utf16BEBytes(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

// Windows-1252 agrees with Latin-1 outside 0x80..0x9F, which is all these tests use.
inline std::string Latin1Bytes(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        if (unit > 0xFF || (unit >= 0x80 && unit <= 0x9F)) {
            throw std::invalid_argument("not a Latin-1 text outside the C1 range");
        }
        bytes += static_cast<char>(unit);
    }
    return bytes;
}

} // namespace orvel::test
