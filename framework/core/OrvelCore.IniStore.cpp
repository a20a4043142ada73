#include "framework/core/OrvelCore.IniStore.h"

#include "base/Base.Text.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"

#include <algorithm>

namespace orvel {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

template <typename TChar> std::basic_string_view<TChar> TrimBlanks(std::basic_string_view<TChar> text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool HasLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

} // namespace

TIniStore::TLine TIniStore::ParseLine(std::string raw) {
    TLine line;
    line.Raw = std::move(raw);
    const std::string_view text = TrimBlanks(std::string_view(line.Raw));
    if (text.empty() || text.front() == ';' || text.front() == '#') {
        return line;
    }
    if (text.front() == '[') {
        // The last ']' closes the name, so names holding ']' read back as written.
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.Kind = TLineKind::Section;
            line.Name = base::Utf8ToUtf16(TrimBlanks(text.substr(1, close - 1)));
        }
        return line;
    }
    const std::size_t equals = line.Raw.find('=');
    if (equals == std::string::npos) {
        return line; // a key without '=' is no key
    }
    const std::string_view key = TrimBlanks(std::string_view(line.Raw).substr(0, equals));
    if (key.empty()) {
        return line;
    }
    line.Kind = TLineKind::Value;
    line.Name = base::Utf8ToUtf16(key);
    line.ValueStart = equals + 1;
    return line;
}

TIniStore TIniStore::Parse(std::string_view bytes) {
    TIniStore store;
    if (bytes.starts_with(Utf8Bom)) {
        store.FHasBom = true;
        bytes.remove_prefix(Utf8Bom.size());
    }
    // CR LF, LF and a lone CR all end a line, as text editors show them; otherwise a stray CR would
    // stay inside a value that can then never be written back.
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        const std::string_view raw = bytes.substr(0, end);
        std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end != std::string_view::npos && bytes[end] == '\r' && next < bytes.size() &&
            bytes[next] == '\n') {
            ++next;
        }
        bytes.remove_prefix(next);
        store.FLines.push_back(ParseLine(std::string(raw)));
    }
    return store;
}

std::string TIniStore::Serialize() const {
    std::string out;
    if (FHasBom) {
        out += Utf8Bom;
    }
    for (const TLine& line : FLines) {
        out += line.Raw;
        out += "\r\n";
    }
    return out;
}

std::optional<std::size_t> TIniStore::FindKey(std::u16string_view section, std::u16string_view key) const {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    bool inSection = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TLine& line = FLines[i];
        if (line.Kind == TLineKind::Section) {
            inSection = base::SameTextAscii(line.Name, section);
        } else if (inSection && line.Kind == TLineKind::Value && base::SameTextAscii(line.Name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::u16string> TIniStore::Get(std::u16string_view section, std::u16string_view key) const {
    const auto index = FindKey(section, key);
    if (!index) {
        return std::nullopt;
    }
    const TLine& line = FLines[*index];
    return base::Utf8ToUtf16(std::string_view(line.Raw).substr(line.ValueStart));
}

bool TIniStore::KeyExists(std::u16string_view section, std::u16string_view key) const {
    return FindKey(section, key).has_value();
}

bool TIniStore::SectionExists(std::u16string_view section) const {
    section = TrimBlanks(section);
    return std::any_of(FLines.begin(), FLines.end(), [&](const TLine& line) {
        return line.Kind == TLineKind::Section && base::SameTextAscii(line.Name, section);
    });
}

std::vector<std::u16string> TIniStore::Keys(std::u16string_view section) const {
    section = TrimBlanks(section);
    std::vector<std::u16string> keys;
    bool inSection = false;
    for (const TLine& line : FLines) {
        if (line.Kind == TLineKind::Section) {
            inSection = base::SameTextAscii(line.Name, section);
        } else if (inSection && line.Kind == TLineKind::Value &&
                   std::none_of(keys.begin(), keys.end(), [&](const std::u16string& known) {
                       return base::SameTextAscii(known, line.Name);
                   })) {
            keys.push_back(line.Name);
        }
    }
    return keys;
}

std::vector<std::u16string> TIniStore::Sections() const {
    std::vector<std::u16string> sections;
    for (const TLine& line : FLines) {
        if (line.Kind == TLineKind::Section &&
            std::none_of(sections.begin(), sections.end(), [&](const std::u16string& known) {
                return base::SameTextAscii(known, line.Name);
            })) {
            sections.push_back(line.Name);
        }
    }
    return sections;
}

TIniEntryFault TIniStore::CheckEntry(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view value) {
    if (HasLineBreak(section)) {
        return TIniEntryFault::LineBreakInSection;
    }
    if (HasLineBreak(key)) {
        return TIniEntryFault::LineBreakInKey;
    }
    if (HasLineBreak(value)) {
        return TIniEntryFault::LineBreakInValue;
    }
    const std::u16string_view name = TrimBlanks(key);
    if (name.empty() || name.find(u'=') != std::u16string_view::npos || name.front() == u'[' ||
        name.front() == u';' || name.front() == u'#') {
        return TIniEntryFault::InvalidKey;
    }
    return TIniEntryFault::None;
}

void TIniStore::Set(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    Assert(CheckEntry(section, key, value) == TIniEntryFault::None,
           u"TIniStore.Set: the entry cannot be stored");
    section = TrimBlanks(section);
    key = TrimBlanks(key);

    if (const auto index = FindKey(section, key)) {
        // Keep the key as the file spells it, with its spacing; replace only what follows '='.
        TLine& line = FLines[*index];
        line.Raw.resize(line.ValueStart);
        line.Raw += base::Utf16ToUtf8(value);
        return;
    }

    std::string entry = base::Utf16ToUtf8(key);
    entry.push_back('=');
    entry += base::Utf16ToUtf8(value);
    TLine added = ParseLine(std::move(entry));
    std::optional<std::size_t> insertAfter;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TLine& line = FLines[i];
        if (line.Kind == TLineKind::Section) {
            if (insertAfter) {
                break; // the end of the section's first block
            }
            if (base::SameTextAscii(line.Name, section)) {
                insertAfter = i;
            }
        } else if (insertAfter && line.Kind == TLineKind::Value) {
            insertAfter = i;
        }
    }
    if (insertAfter) {
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(*insertAfter + 1), std::move(added));
        return;
    }

    if (!FLines.empty() && !TrimBlanks(std::string_view(FLines.back().Raw)).empty()) {
        FLines.push_back(ParseLine(std::string()));
    }
    std::string header = base::Utf16ToUtf8(section);
    header.insert(header.begin(), '[');
    header.push_back(']');
    FLines.push_back(ParseLine(std::move(header)));
    FLines.push_back(std::move(added));
}

} // namespace orvel
