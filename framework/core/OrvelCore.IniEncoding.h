#pragma once
// The encodings an INI file may be in: what Notepad saves ("UTF-8", "UTF-8 with BOM", "Unicode",
// "Unicode big endian", "ANSI") and Windows' profile functions read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvel {

enum class TIniEncoding : std::uint8_t {
    Utf8,
    Utf16LE,
    Utf16BE,
    // Windows-1252 on every platform, so a file means the same wherever it is read. Its five
    // unassigned bytes stand for the C1 controls of the same number, as Windows maps them, which
    // makes every byte read back as itself.
    Ansi,
};

// How a file's bytes hold its text.
struct TIniTextForm {
    TIniEncoding Encoding = TIniEncoding::Utf8;
    bool ByteOrderMark = false;

    friend bool operator==(const TIniTextForm&, const TIniTextForm&) = default;
};

// A byte-order mark decides (UTF-8, UTF-16 LE or BE); without one the text is UTF-8 when it is
// well-formed UTF-8 throughout, and ANSI otherwise. Files without a mark are never taken for
// UTF-16, as Windows' profile functions do not take them for it either.
[[nodiscard]] TIniTextForm DetectIniTextForm(std::string_view Bytes);
// The mark of an encoding; ANSI has none.
[[nodiscard]] std::string_view ByteOrderMarkOf(TIniEncoding Encoding);
// Bytes per code unit: 2 for UTF-16, else 1.
[[nodiscard]] std::size_t CodeUnitSize(TIniEncoding Encoding);
// The code unit that starts at byte Offset; there must be a whole unit there. CR, LF, '=' and NUL
// are single units in every encoding, so lines and keys are found on units without decoding.
[[nodiscard]] char16_t CodeUnitAt(std::string_view Bytes, std::size_t Offset, TIniEncoding Encoding);

// Encoded text without its mark to UTF-16. Ill-formed UTF-8 becomes U+FFFD; UTF-16 is taken unit
// by unit, lone surrogates included, and a last odd byte is no unit and is left out.
[[nodiscard]] std::u16string DecodeIniText(std::string_view Bytes, TIniEncoding Encoding);
// UTF-16 to the encoding, without a mark. Nothing when the encoding has no bytes for one of the
// characters, which only happens with ANSI.
[[nodiscard]] std::optional<std::string> EncodeIniText(std::u16string_view Text, TIniEncoding Encoding);

} // namespace orvel
