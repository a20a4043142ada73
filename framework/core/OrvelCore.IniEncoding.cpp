#include "framework/core/OrvelCore.IniEncoding.h"

#include "base/Base.Unicode.h"

#include <algorithm>
#include <array>

namespace orvel {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LEBom = "\xFF\xFE";
constexpr std::string_view Utf16BEBom = "\xFE\xFF";

// Windows-1252 bytes 0x80 to 0x9F; every other byte is the Latin-1 character of the same number.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t FromWindows1252(std::uint8_t Byte) {
    return Byte >= 0x80 && Byte <= 0x9F ? Windows1252High[Byte - 0x80] : static_cast<char16_t>(Byte);
}

std::optional<std::uint8_t> ToWindows1252(char16_t Unit) {
    if (Unit < 0x80 || (Unit >= 0xA0 && Unit <= 0xFF)) {
        return static_cast<std::uint8_t>(Unit);
    }
    const auto found = std::find(Windows1252High.begin(), Windows1252High.end(), Unit);
    if (found == Windows1252High.end()) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(0x80 + (found - Windows1252High.begin()));
}

char16_t Utf16UnitAt(std::string_view Bytes, std::size_t Offset, bool BigEndian) {
    const auto first = static_cast<std::uint8_t>(Bytes[Offset]);
    const auto second = static_cast<std::uint8_t>(Bytes[Offset + 1]);
    return BigEndian ? static_cast<char16_t>(first << 8 | second)
                     : static_cast<char16_t>(second << 8 | first);
}

} // namespace

TIniTextForm DetectIniTextForm(std::string_view Bytes) {
    if (Bytes.starts_with(Utf8Bom)) {
        return {TIniEncoding::Utf8, true};
    }
    if (Bytes.starts_with(Utf16LEBom)) {
        return {TIniEncoding::Utf16LE, true};
    }
    if (Bytes.starts_with(Utf16BEBom)) {
        return {TIniEncoding::Utf16BE, true};
    }
    return {base::IsValidUtf8(Bytes) ? TIniEncoding::Utf8 : TIniEncoding::Ansi, false};
}

std::string_view ByteOrderMarkOf(TIniEncoding Encoding) {
    switch (Encoding) {
    case TIniEncoding::Utf8:
        return Utf8Bom;
    case TIniEncoding::Utf16LE:
        return Utf16LEBom;
    case TIniEncoding::Utf16BE:
        return Utf16BEBom;
    case TIniEncoding::Ansi:
        break;
    }
    return {};
}

std::size_t CodeUnitSize(TIniEncoding Encoding) {
    return Encoding == TIniEncoding::Utf16LE || Encoding == TIniEncoding::Utf16BE ? 2 : 1;
}

char16_t CodeUnitAt(std::string_view Bytes, std::size_t Offset, TIniEncoding Encoding) {
    switch (Encoding) {
    case TIniEncoding::Utf16LE:
        return Utf16UnitAt(Bytes, Offset, false);
    case TIniEncoding::Utf16BE:
        return Utf16UnitAt(Bytes, Offset, true);
    case TIniEncoding::Utf8:
    case TIniEncoding::Ansi:
        break;
    }
    // Good enough for the ASCII units it is asked about: in UTF-8 no byte of a longer sequence
    // is below 0x80, and in ANSI every byte is one character.
    return static_cast<std::uint8_t>(Bytes[Offset]);
}

std::u16string DecodeIniText(std::string_view Bytes, TIniEncoding Encoding) {
    switch (Encoding) {
    case TIniEncoding::Utf8:
        return base::Utf8ToUtf16(Bytes);
    case TIniEncoding::Utf16LE:
    case TIniEncoding::Utf16BE: {
        std::u16string text;
        text.reserve(Bytes.size() / 2);
        for (std::size_t offset = 0; offset + 1 < Bytes.size(); offset += 2) {
            text += CodeUnitAt(Bytes, offset, Encoding);
        }
        return text;
    }
    case TIniEncoding::Ansi:
        break;
    }
    std::u16string text;
    text.reserve(Bytes.size());
    for (const char byte : Bytes) {
        text += FromWindows1252(static_cast<std::uint8_t>(byte));
    }
    return text;
}

std::optional<std::string> EncodeIniText(std::u16string_view Text, TIniEncoding Encoding) {
    switch (Encoding) {
    case TIniEncoding::Utf8:
        return base::Utf16ToUtf8(Text);
    case TIniEncoding::Utf16LE:
    case TIniEncoding::Utf16BE: {
        const bool bigEndian = Encoding == TIniEncoding::Utf16BE;
        std::string bytes;
        bytes.reserve(Text.size() * 2);
        for (const char16_t unit : Text) {
            const auto high = static_cast<char>(unit >> 8);
            const auto low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? high : low;
            bytes += bigEndian ? low : high;
        }
        return bytes;
    }
    case TIniEncoding::Ansi:
        break;
    }
    std::string bytes;
    bytes.reserve(Text.size());
    for (const char16_t unit : Text) {
        const auto byte = ToWindows1252(unit);
        if (!byte) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

} // namespace orvel
