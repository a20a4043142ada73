#include "framework/core/OrvelCore.INIFile.h"

#include "base/Base.Format.h"
#include "base/Base.Numbers.h"
#include "base/Base.Text.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IO.h"
#include "framework/core/OrvelCore.IniStore.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace orvel {

namespace {

// The plain read hands over a buffer of 2048 characters, one of them for the terminator.
constexpr std::size_t PlainReadLimit = 2047;
// The long read grows its buffer up to 2,097,152 characters, one of them for the terminator.
constexpr std::size_t LongReadLimit = 2'097'151;

// Days from 30 December 1899 to 1 January 1970.
constexpr std::int64_t UnixEpochDays = 25569;
// The dates that yyyy-mm-dd can show: 0001-01-01 to 9999-12-31.
constexpr std::int64_t FirstDate = -693593;
constexpr std::int64_t LastDate = 2958465;

using base::TrimBlanks;

// Cuts to at most `Limit` units without leaving half of a surrogate pair at the end.
std::u16string CutTo(std::u16string Text, std::size_t Limit) {
    if (Text.size() > Limit) {
        std::size_t size = Limit;
        if (size > 0 && base::IsHighSurrogate(Text[size - 1])) {
            --size;
        }
        Text.resize(size);
    }
    return Text;
}

// Narrows to ASCII; anything else cannot be part of a number.
std::optional<std::string> AsciiOnly(std::u16string_view Text) {
    std::string out;
    out.reserve(Text.size());
    for (const char16_t c : Text) {
        if (c > 0x7F) {
            return std::nullopt;
        }
        out += static_cast<char>(c);
    }
    return out;
}

// Hexadecimal digits up to 32 bits.
std::optional<std::uint32_t> ParseHex(std::string_view Digits) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), value, 16);
    if (Digits.empty() || error != std::errc() || end != Digits.data() + Digits.size()) {
        return std::nullopt;
    }
    return value;
}

// "0x"/"0X" + hex digits; else an optional sign, then "$" + hex digits or decimal digits.
// Blanks around the number are accepted, because values keep the blanks a hand edit leaves
// around "=". Hexadecimal gives the 32-bit pattern, so "$FFFFFFFF" is -1; decimal text outside
// the 32-bit range is no number.
std::optional<std::int32_t> ParseInteger(std::u16string_view Value) {
    const auto ascii = AsciiOnly(TrimBlanks(Value));
    if (!ascii) {
        return std::nullopt;
    }
    std::string_view text = *ascii;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const auto bits = ParseHex(text.substr(2));
        return bits ? std::optional<std::int32_t>(static_cast<std::int32_t>(*bits)) : std::nullopt;
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '$') {
        const auto bits = ParseHex(text.substr(1));
        if (!bits) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(negative ? 0u - *bits : *bits);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt; // from_chars would take a second sign
    }
    std::int64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    const std::int64_t number = negative ? -magnitude : magnitude;
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(number);
}

// Written with a decimal point whatever the locale, so the file reads the same on every machine;
// a decimal comma from a hand edit is read as well.
std::optional<double> ParseFloat(std::u16string_view Value) {
    auto ascii = AsciiOnly(TrimBlanks(Value));
    if (!ascii || ascii->empty()) {
        return std::nullopt;
    }
    std::string& text = *ascii;
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos) {
        if (text.find('.') != std::string::npos || text.find(',', comma + 1) != std::string::npos) {
            return std::nullopt;
        }
        text[comma] = '.';
    }
    std::string_view digits = text;
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-') {
        digits.remove_prefix(1);
    }
    return base::ParseDouble(digits);
}

std::u16string FormatFloat(double Value) {
    return base::AsciiToUtf16(base::FormatDouble(Value, 15));
}

// Civil calendar from and to days since 1970-01-01 (proleptic Gregorian).
struct TCivilDate {
    std::int64_t Year;
    unsigned Month;
    unsigned Day;
};

TCivilDate CivilFromDays(std::int64_t Days) {
    Days += 719468;
    const std::int64_t era = (Days >= 0 ? Days : Days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(Days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::int64_t DaysFromCivil(std::int64_t Year, unsigned Month, unsigned Day) {
    Year -= Month <= 2 ? 1 : 0;
    const std::int64_t era = (Year >= 0 ? Year : Year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(Year - era * 400);
    const unsigned dayOfYear = (153 * (Month > 2 ? Month - 3 : Month + 9) + 2) / 5 + Day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

unsigned DaysInMonth(std::int64_t Year, unsigned Month) {
    constexpr unsigned Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
    return Month == 2 && leap ? 29 : Days[Month - 1];
}

// Dates are stored as ISO yyyy-mm-dd: unambiguous and the same on every machine. The time of day
// is not stored; as with TDateTime everywhere, the date part is the value truncated toward zero.
std::optional<std::u16string> FormatDate(TDateTime Value) {
    if (!std::isfinite(Value) || std::trunc(Value) < static_cast<double>(FirstDate) ||
        std::trunc(Value) > static_cast<double>(LastDate)) {
        return std::nullopt;
    }
    const TCivilDate date = CivilFromDays(static_cast<std::int64_t>(std::trunc(Value)) - UnixEpochDays);
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.Year),
                                     date.Month, date.Day);
    return base::AsciiToUtf16(std::string_view(buffer, static_cast<std::size_t>(length)));
}

std::optional<TDateTime> ParseDate(std::u16string_view Value) {
    const auto ascii = AsciiOnly(TrimBlanks(Value));
    if (!ascii || ascii->size() != 10 || (*ascii)[4] != '-' || (*ascii)[7] != '-') {
        return std::nullopt;
    }
    const std::string_view text = *ascii;
    const auto field = [&](std::size_t Start, std::size_t Length) -> std::optional<unsigned> {
        unsigned number = 0;
        for (const char c : text.substr(Start, Length)) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            number = number * 10 + static_cast<unsigned>(c - '0');
        }
        return number;
    };
    const auto year = field(0, 4);
    const auto month = field(5, 2);
    const auto day = field(8, 2);
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
        *day > DaysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return static_cast<TDateTime>(DaysFromCivil(*year, *month, *day) + UnixEpochDays);
}

std::u16string Quoted(const std::u16string& Text) {
    return u"\"" + Text + u"\"";
}

} // namespace

std::u16string_view UnquotedValue(std::u16string_view Value) {
    Value = TrimBlanks(Value);
    if (Value.size() >= 2 && (Value.front() == u'"' || Value.front() == u'\'') &&
        Value.back() == Value.front()) {
        Value.remove_prefix(1);
        Value.remove_suffix(1);
    }
    return Value;
}

std::u16string QuotedValue(std::u16string_view Text) {
    if (UnquotedValue(Text).size() == Text.size()) {
        return std::u16string(Text);
    }
    return u"\"" + std::u16string(Text) + u"\"";
}

std::optional<std::int32_t> IntegerValue(std::u16string_view Value) {
    return ParseInteger(UnquotedValue(Value));
}

TIniFileEx::TIniFileEx(std::u16string SectionName, std::u16string FileName, platform::IFileSystem& Files)
    : FSection(std::move(SectionName)), FFileName(std::move(FileName)), FFiles(Files),
      FEmpty(std::make_unique<TIniStore>()) {
    const std::u16string folder = ExtractFolder(FFileName, true);
    if (!folder.empty()) {
        CreateFolderTree(FFiles, folder);
    }
}

TIniFileEx::~TIniFileEx() = default;

const TIniStore& TIniFileEx::Load() const {
    auto bytes = FFiles.ReadFile(FFileName);
    if (!bytes) {
        return *FEmpty;
    }
    if (!FParsed || *bytes != FParsedBytes) {
        TIniStore store = TIniStore::Parse(*bytes);
        Remember(std::move(*bytes), std::move(store));
    }
    return *FParsed;
}

void TIniFileEx::Remember(std::string Bytes, TIniStore Store) const {
    FParsedBytes = std::move(Bytes);
    FParsed = std::make_unique<TIniStore>(std::move(Store));
}

void TIniFileEx::Store(const std::u16string& Section, const std::u16string& Ident,
                       const std::u16string& Value) {
    switch (TIniStore::CheckEntry(Section, Ident, Value)) {
    case TIniEntryFault::None:
        break;
    case TIniEntryFault::LineBreakInValue:
        throw EIniFileException(u"Cannot write " + Quoted(Ident) + u" to " + FFileName +
                                u": the value contains a line break");
    case TIniEntryFault::LineBreakInSection:
        throw EIniFileException(u"Cannot write " + Quoted(Ident) + u" to " + FFileName +
                                u": the section name " + Quoted(Section) + u" contains a line break");
    case TIniEntryFault::LineBreakInKey:
    case TIniEntryFault::InvalidKey:
        throw EIniFileException(u"Cannot write " + Quoted(Ident) + u" to " + FFileName +
                                u": the key is not a valid INI key");
    case TIniEntryFault::InvalidSection:
        throw EIniFileException(u"Cannot write " + Quoted(Ident) + u" to " + FFileName +
                                u": the section name " + Quoted(Section) +
                                u" is not a valid INI section name");
    case TIniEntryFault::NulInValue:
        throw EIniFileException(u"Cannot write " + Quoted(Ident) + u" to " + FFileName +
                                u": the value contains a NUL character");
    }

    const std::u16string failure = u"Unable to write to " + FFileName;
    // A file that exists but cannot be read must not be replaced by one holding just this key.
    auto bytes = FFiles.ReadFile(FFileName);
    if (!bytes && FFiles.FileExists(FFileName)) {
        throw EIniFileException(failure);
    }
    // The remembered parse is changed in place: copying it for every write would cost more than
    // the write. Until the new text is on disk it no longer matches FParsedBytes, so it is dropped
    // when the write fails.
    if (!bytes) {
        Remember(std::string(), TIniStore());
    } else if (!FParsed || *bytes != FParsedBytes) {
        TIniStore parsed = TIniStore::Parse(*bytes);
        Remember(std::move(*bytes), std::move(parsed));
    }
    FParsed->Set(Section, Ident, Value);
    std::string text = FParsed->Serialize();
    if (!FFiles.WriteFileAtomic(FFileName, text).Ok) {
        FParsed.reset();
        throw EIniFileException(failure);
    }
    FParsedBytes = std::move(text);
}

// --- any section ---

std::u16string TIniFileEx::ReadString(const std::u16string& Section, const std::u16string& Ident,
                                      const std::u16string& Default) {
    return CutTo(Load().Get(Section, Ident).value_or(Default), LongReadLimit);
}

void TIniFileEx::WriteString(const std::u16string& Section, const std::u16string& Ident,
                             const std::u16string& Value) {
    Store(Section, Ident, Value);
}

std::int32_t TIniFileEx::ReadInteger(const std::u16string& Section, const std::u16string& Ident,
                                     std::int32_t Default) {
    return IntegerValue(ReadString(Section, Ident, std::u16string())).value_or(Default);
}

void TIniFileEx::WriteInteger(const std::u16string& Section, const std::u16string& Ident,
                              std::int32_t Value) {
    Store(Section, Ident, base::Format(u"{0}", Value));
}

bool TIniFileEx::ReadBool(const std::u16string& Section, const std::u16string& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFileEx::WriteBool(const std::u16string& Section, const std::u16string& Ident, bool Value) {
    Store(Section, Ident, Value ? u"1" : u"0");
}

double TIniFileEx::ReadFloat(const std::u16string& Section, const std::u16string& Ident, double Default) {
    return ParseFloat(UnquotedValue(ReadString(Section, Ident, std::u16string()))).value_or(Default);
}

void TIniFileEx::WriteFloat(const std::u16string& Section, const std::u16string& Ident, double Value) {
    Store(Section, Ident, FormatFloat(Value));
}

TDateTime TIniFileEx::ReadDateIn(const std::u16string& Section, const std::u16string& Ident,
                                 TDateTime Default) {
    return ParseDate(UnquotedValue(ReadString(Section, Ident, std::u16string()))).value_or(Default);
}

void TIniFileEx::WriteDateIn(const std::u16string& Section, const std::u16string& Ident, TDateTime Value) {
    const auto text = FormatDate(Value);
    if (!text) {
        throw EIniFileException(u"Cannot write " + Quoted(Ident) + u" to " + FFileName +
                                u": the date is outside the years 1 to 9999");
    }
    Store(Section, Ident, *text);
}

bool TIniFileEx::ValueExists(const std::u16string& Section, const std::u16string& Ident) {
    return Load().KeyExists(Section, Ident);
}

// --- the default section ---

bool TIniFileEx::Read(const std::u16string& Ident, bool Default) {
    return ReadBool(FSection, Ident, Default);
}

std::int32_t TIniFileEx::Read(const std::u16string& Ident, std::int32_t Default) {
    return ReadInteger(FSection, Ident, Default);
}

std::u16string TIniFileEx::Read(const std::u16string& Ident, const std::u16string& Default) {
    return CutTo(Load().Get(FSection, Ident).value_or(Default), PlainReadLimit);
}

std::u16string TIniFileEx::Read(const std::u16string& Ident, const char16_t* Default) {
    return Read(Ident, std::u16string(Default));
}

double TIniFileEx::Read(const std::u16string& Ident, double Default) {
    return ReadFloat(FSection, Ident, Default);
}

TDateTime TIniFileEx::ReadDate(const std::u16string& Ident, TDateTime Default) {
    return ReadDateIn(FSection, Ident, Default);
}

void TIniFileEx::Write(const std::u16string& Ident, bool Value) {
    WriteBool(FSection, Ident, Value);
}

void TIniFileEx::Write(const std::u16string& Ident, std::int32_t Value) {
    WriteInteger(FSection, Ident, Value);
}

void TIniFileEx::Write(const std::u16string& Ident, const std::u16string& Value) {
    WriteString(FSection, Ident, Value);
}

void TIniFileEx::Write(const std::u16string& Ident, const char16_t* Value) {
    WriteString(FSection, Ident, std::u16string(Value));
}

void TIniFileEx::Write(const std::u16string& Ident, double Value) {
    WriteFloat(FSection, Ident, Value);
}

void TIniFileEx::WriteDate(const std::u16string& Ident, TDateTime Value) {
    WriteDateIn(FSection, Ident, Value);
}

bool TIniFileEx::ValueExists(const std::u16string& Ident) {
    return ValueExists(FSection, Ident);
}

// --- fonts ---

FontStruct TIniFileEx::ReadFont(const std::u16string& Ident) {
    FontStruct font{u"Arial", 8, 0, 0};
    if (ValueExists(FSection, Ident + u"Name")) {
        font.Name = ReadString(FSection, Ident + u"Name", u"Arial");
        font.Color = static_cast<std::uint32_t>(ReadInteger(FSection, Ident + u"Color", 0));
        font.Size = ReadInteger(FSection, Ident + u"Size", 8);
        font.Style = static_cast<std::uint8_t>(ReadInteger(FSection, Ident + u"Style", 0) & 0xFF);
    }
    return font;
}

void TIniFileEx::WriteFont(const std::u16string& Ident, const FontStruct& Font) {
    WriteString(FSection, Ident, std::u16string()); // the marker that ValueExists(Ident) finds
    WriteString(FSection, Ident + u"Name", Font.Name);
    WriteInteger(FSection, Ident + u"Color", static_cast<std::int32_t>(Font.Color));
    WriteInteger(FSection, Ident + u"Size", Font.Size);
    WriteInteger(FSection, Ident + u"Style", Font.Style & (fsBold | fsItalic | fsUnderline | fsStrikeOut));
}

} // namespace orvel
