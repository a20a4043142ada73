#pragma once
// TIniFileEx: a short-lived handle on one INI file, bound to a default section.
#include "platform/Platform.FileSystem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvel {

class TIniStore;

using TDateTime = platform::TDateTime;

// Font style bits held in one byte.
inline constexpr std::uint8_t fsBold = 0x01;
inline constexpr std::uint8_t fsItalic = 0x02;
inline constexpr std::uint8_t fsUnderline = 0x04;
inline constexpr std::uint8_t fsStrikeOut = 0x08;

// A font description independent of any UI object.
struct FontStruct {
    std::u16string Name;
    std::int32_t Size = 0;
    std::uint8_t Style = 0;
    std::uint32_t Color = 0; // 0x00BBGGRR; system colours have the top byte 0xFF

    friend bool operator==(const FontStruct&, const FontStruct&) = default;
};

// A value as the typed reads see it: blanks around it dropped, then one pair of matching double or
// single quotes around what is left, as Windows' profile functions read "7" or '7'. The string
// reads give values as written, so a text whose own syntax uses quotes (a list of quoted items)
// keeps them, and a string the program writes reads back unchanged.
[[nodiscard]] std::u16string_view UnquotedValue(std::u16string_view Value);
// What to write so that UnquotedValue gives Text back: Text itself when UnquotedValue leaves it
// alone, else Text in one more pair of double quotes.
[[nodiscard]] std::u16string QuotedValue(std::u16string_view Text);
// The integer a value holds as ReadInteger reads it: decimal, "$" or "0x" hexadecimal, after
// UnquotedValue. Nothing when it holds none.
[[nodiscard]] std::optional<std::int32_t> IntegerValue(std::u16string_view Value);

// Every read reads the file as it is now; every write reads it, changes one key and replaces the
// whole file at once, creating it on the first write. A refused write raises EIniFileException
// "Unable to write to {file}", and so does a write to a file that exists but cannot be read,
// which would otherwise be replaced by one holding only the new key. An entry that would break
// the file's lines (a CR or LF in the section, key or value, a NUL, or a section or key that
// would not read back as itself) raises it too, and nothing is written. The file keeps its
// encoding (TIniStore); a new file is UTF-8 without a byte-order mark. Integers read as decimal,
// "$" or "0x" hexadecimal, blanks and one pair of quotes around them allowed; floats are written
// with a decimal point (a decimal comma is read too); dates as yyyy-mm-dd.
class TIniFileEx {
public:
    // Creates the folder of FileName (with its parents) when it has one; a failure raises and no
    // object results.
    TIniFileEx(std::u16string SectionName, std::u16string FileName, platform::IFileSystem& Files);
    virtual ~TIniFileEx();
    TIniFileEx(const TIniFileEx&) = delete;
    TIniFileEx& operator=(const TIniFileEx&) = delete;

    const std::u16string& FileName() const { return FFileName; }
    const std::u16string& Section() const { return FSection; }

    // --- the default section ---
    bool Read(const std::u16string& Ident, bool Default);
    std::int32_t Read(const std::u16string& Ident, std::int32_t Default);
    // The plain read: at most 2047 characters come back.
    std::u16string Read(const std::u16string& Ident, const std::u16string& Default);
    std::u16string Read(const std::u16string& Ident, const char16_t* Default);
    double Read(const std::u16string& Ident, double Default);
    TDateTime ReadDate(const std::u16string& Ident, TDateTime Default);

    void Write(const std::u16string& Ident, bool Value);
    void Write(const std::u16string& Ident, std::int32_t Value);
    void Write(const std::u16string& Ident, const std::u16string& Value);
    void Write(const std::u16string& Ident, const char16_t* Value);
    void Write(const std::u16string& Ident, double Value);
    void WriteDate(const std::u16string& Ident, TDateTime Value);

    bool ValueExists(const std::u16string& Ident);

    FontStruct ReadFont(const std::u16string& Ident);
    void WriteFont(const std::u16string& Ident, const FontStruct& Font);

    // --- any section ---
    // The long-value read: values of any length up to 2,097,152 characters.
    virtual std::u16string ReadString(const std::u16string& Section, const std::u16string& Ident,
                                      const std::u16string& Default);
    void WriteString(const std::u16string& Section, const std::u16string& Ident, const std::u16string& Value);
    std::int32_t ReadInteger(const std::u16string& Section, const std::u16string& Ident,
                             std::int32_t Default);
    void WriteInteger(const std::u16string& Section, const std::u16string& Ident, std::int32_t Value);
    bool ReadBool(const std::u16string& Section, const std::u16string& Ident, bool Default);
    void WriteBool(const std::u16string& Section, const std::u16string& Ident, bool Value);
    double ReadFloat(const std::u16string& Section, const std::u16string& Ident, double Default);
    void WriteFloat(const std::u16string& Section, const std::u16string& Ident, double Value);
    TDateTime ReadDateIn(const std::u16string& Section, const std::u16string& Ident, TDateTime Default);
    void WriteDateIn(const std::u16string& Section, const std::u16string& Ident, TDateTime Value);
    // True when the key is listed in the section, even with an empty value.
    bool ValueExists(const std::u16string& Section, const std::u16string& Ident);

protected:
    platform::IFileSystem& Files() { return FFiles; }

private:
    // The file's current content; a missing or unreadable file reads as empty. The file is read
    // every time, but parsed again only when its bytes changed: one object often reads a dozen
    // keys of an unchanged file in a row.
    const TIniStore& Load() const;
    void Remember(std::string Bytes, TIniStore Store) const;
    // Reads the file, sets one key and writes the whole file back in one atomic replace.
    void Store(const std::u16string& Section, const std::u16string& Ident, const std::u16string& Value);

    std::u16string FSection;
    std::u16string FFileName;
    platform::IFileSystem& FFiles;
    mutable std::string FParsedBytes;           // the bytes FParsed was parsed from
    mutable std::unique_ptr<TIniStore> FParsed; // null until the first read of an existing file
    std::unique_ptr<TIniStore> FEmpty;          // what a missing file reads as
};

} // namespace orvel
