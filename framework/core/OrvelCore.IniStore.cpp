#include "framework/core/OrvelCore.IniStore.h"

#include "base/Base.Text.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"

#include <algorithm>

namespace orvel {

namespace {

using base::HasLineBreak;
using base::TrimBlanks;

bool HasNul(std::u16string_view Text) {
    return Text.find(u'\0') != std::u16string_view::npos;
}

// The form an ANSI text becomes when an entry needs a character ANSI lacks. The mark tells every
// other reader, Windows' profile functions included, that the file is no longer ANSI.
constexpr TIniTextForm UnicodeFallback{TIniEncoding::Utf8, true};

} // namespace

std::u16string TIniStore::Decode(std::string_view Bytes) const {
    return DecodeIniText(Bytes, FForm.Encoding);
}

std::string TIniStore::Encode(std::u16string_view Text) const {
    auto bytes = EncodeIniText(Text, FForm.Encoding);
    Assert(bytes.has_value(), u"TIniStore: the text cannot be stored in the file's encoding");
    return std::move(*bytes);
}

bool TIniStore::IsBlankLine(const TLine& Line) const {
    return Line.Kind == TLineKind::Other && TrimBlanks(Decode(Line.Raw)).empty();
}

TIniStore::TLine TIniStore::ParseLine(std::string Raw) const {
    TLine line;
    line.Raw = std::move(Raw);
    const std::size_t unit = CodeUnitSize(FForm.Encoding);
    for (std::size_t offset = 0; offset + unit <= line.Raw.size(); offset += unit) {
        if (CodeUnitAt(line.Raw, offset, FForm.Encoding) == u'\0') {
            return line; // readers disagree on what follows a NUL, so the line is no entry
        }
    }
    const std::u16string decoded = Decode(line.Raw);
    const std::u16string_view text = TrimBlanks(decoded);
    if (text.empty() || text.front() == u';' || text.front() == u'#') {
        return line;
    }
    if (text.front() == u'[') {
        // The first ']' ends the name: "[Sending] ; note" is the section Sending with a comment.
        const std::size_t close = text.find(u']');
        if (close != std::u16string_view::npos) {
            line.Kind = TLineKind::Section;
            line.Name = std::u16string(TrimBlanks(text.substr(1, close - 1)));
        }
        return line;
    }
    // Decoding keeps every ASCII unit where it was, so the text before the first '=' is the key
    // whatever the encoding; the value's bytes start one unit after the '=' in the raw line.
    const std::size_t equals = decoded.find(u'=');
    if (equals == std::u16string::npos) {
        return line; // a key without '=' is no key
    }
    const std::u16string_view key = TrimBlanks(std::u16string_view(decoded).substr(0, equals));
    if (key.empty()) {
        return line;
    }
    std::size_t equalsByte = 0;
    while (CodeUnitAt(line.Raw, equalsByte, FForm.Encoding) != u'=') {
        equalsByte += unit;
    }
    line.Kind = TLineKind::Value;
    line.Name = std::u16string(key);
    line.ValueStart = equalsByte + unit;
    return line;
}

TIniStore TIniStore::Parse(std::string_view Bytes) {
    TIniStore store;
    store.FForm = DetectIniTextForm(Bytes);
    const TIniEncoding encoding = store.FForm.Encoding;
    if (store.FForm.ByteOrderMark) {
        Bytes.remove_prefix(ByteOrderMarkOf(encoding).size());
    }
    const std::size_t unit = CodeUnitSize(encoding);
    if (Bytes.size() % unit != 0) {
        store.FDanglingByte = std::string(1, Bytes.back());
        Bytes.remove_suffix(1);
    }
    // CR LF, LF and a lone CR all end a line, as text editors show them; otherwise a stray CR would
    // stay inside a value that can then never be written back.
    std::size_t start = 0;
    std::size_t offset = 0;
    while (offset < Bytes.size()) {
        const char16_t c = CodeUnitAt(Bytes, offset, encoding);
        if (c != u'\r' && c != u'\n') {
            offset += unit;
            continue;
        }
        store.FLines.push_back(store.ParseLine(std::string(Bytes.substr(start, offset - start))));
        offset += unit;
        if (c == u'\r' && offset < Bytes.size() && CodeUnitAt(Bytes, offset, encoding) == u'\n') {
            offset += unit;
        }
        start = offset;
    }
    if (start < Bytes.size()) {
        store.FLines.push_back(store.ParseLine(std::string(Bytes.substr(start))));
    }
    return store;
}

std::string TIniStore::Serialize() const {
    std::string out;
    if (FForm.ByteOrderMark) {
        out += ByteOrderMarkOf(FForm.Encoding);
    }
    const std::string lineEnd = Encode(u"\r\n");
    for (const TLine& line : FLines) {
        out += line.Raw;
        out += lineEnd;
    }
    out += FDanglingByte;
    return out;
}

void TIniStore::ConvertTo(TIniTextForm Form) {
    Assert(Form.Encoding != TIniEncoding::Ansi, u"TIniStore.ConvertTo: ANSI cannot hold every text");
    if (Form.Encoding != FForm.Encoding) {
        std::vector<std::u16string> texts;
        texts.reserve(FLines.size());
        for (const TLine& line : FLines) {
            texts.push_back(Decode(line.Raw));
        }
        FForm = Form;
        for (std::size_t i = 0; i < FLines.size(); ++i) {
            FLines[i] = ParseLine(Encode(texts[i]));
        }
        FDanglingByte.clear(); // half a UTF-16 unit has no text to carry over
    }
    FForm = Form;
}

std::optional<std::size_t> TIniStore::FindKey(std::u16string_view Section, std::u16string_view Key) const {
    Section = TrimBlanks(Section);
    Key = TrimBlanks(Key);
    bool inSection = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TLine& line = FLines[i];
        if (line.Kind == TLineKind::Section) {
            inSection = base::SameTextAscii(line.Name, Section);
        } else if (inSection && line.Kind == TLineKind::Value && base::SameTextAscii(line.Name, Key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::u16string> TIniStore::Get(std::u16string_view Section, std::u16string_view Key) const {
    const auto index = FindKey(Section, Key);
    if (!index) {
        return std::nullopt;
    }
    const TLine& line = FLines[*index];
    return Decode(std::string_view(line.Raw).substr(line.ValueStart));
}

bool TIniStore::KeyExists(std::u16string_view Section, std::u16string_view Key) const {
    return FindKey(Section, Key).has_value();
}

bool TIniStore::SectionExists(std::u16string_view Section) const {
    Section = TrimBlanks(Section);
    return std::any_of(FLines.begin(), FLines.end(), [&](const TLine& Line) {
        return Line.Kind == TLineKind::Section && base::SameTextAscii(Line.Name, Section);
    });
}

std::vector<std::u16string> TIniStore::Keys(std::u16string_view Section) const {
    Section = TrimBlanks(Section);
    std::vector<std::u16string> keys;
    bool inSection = false;
    for (const TLine& line : FLines) {
        if (line.Kind == TLineKind::Section) {
            inSection = base::SameTextAscii(line.Name, Section);
        } else if (inSection && line.Kind == TLineKind::Value &&
                   std::none_of(keys.begin(), keys.end(), [&](const std::u16string& Known) {
                       return base::SameTextAscii(Known, line.Name);
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
            std::none_of(sections.begin(), sections.end(), [&](const std::u16string& Known) {
                return base::SameTextAscii(Known, line.Name);
            })) {
            sections.push_back(line.Name);
        }
    }
    return sections;
}

TIniEntryFault TIniStore::CheckEntry(std::u16string_view Section, std::u16string_view Key,
                                     std::u16string_view Value) {
    if (HasLineBreak(Section)) {
        return TIniEntryFault::LineBreakInSection;
    }
    if (HasLineBreak(Key)) {
        return TIniEntryFault::LineBreakInKey;
    }
    if (HasLineBreak(Value)) {
        return TIniEntryFault::LineBreakInValue;
    }
    if (Section.find(u']') != std::u16string_view::npos || HasNul(Section)) {
        return TIniEntryFault::InvalidSection;
    }
    const std::u16string_view name = TrimBlanks(Key);
    if (name.empty() || name.find(u'=') != std::u16string_view::npos || HasNul(name) ||
        name.front() == u'[' || name.front() == u';' || name.front() == u'#') {
        return TIniEntryFault::InvalidKey;
    }
    if (HasNul(Value)) {
        return TIniEntryFault::NulInValue;
    }
    return TIniEntryFault::None;
}

void TIniStore::Set(std::u16string_view Section, std::u16string_view Key, std::u16string_view Value) {
    Assert(CheckEntry(Section, Key, Value) == TIniEntryFault::None,
           u"TIniStore.Set: the entry cannot be stored");
    Section = TrimBlanks(Section);
    Key = TrimBlanks(Key);
    for (const std::u16string_view text : {Section, Key, Value}) {
        if (!EncodeIniText(text, FForm.Encoding)) {
            ConvertTo(UnicodeFallback);
            break;
        }
    }
    Place(Section, Key, Value);
    KeepAnsiRecognisable();
}

void TIniStore::KeepAnsiRecognisable() {
    if (FForm.Encoding != TIniEncoding::Ansi) {
        return;
    }
    bool nonAscii = false;
    for (const TLine& line : FLines) {
        if (!base::IsValidUtf8(line.Raw)) {
            return; // still read as ANSI
        }
        nonAscii = nonAscii || std::any_of(line.Raw.begin(), line.Raw.end(), [](char Byte) {
                       return static_cast<unsigned char>(Byte) >= 0x80;
                   });
    }
    // Plain ASCII is the same text in UTF-8; other bytes would change their meaning.
    if (nonAscii) {
        ConvertTo(UnicodeFallback);
    } else {
        FForm = {TIniEncoding::Utf8, false};
    }
}

void TIniStore::Place(std::u16string_view Section, std::u16string_view Key, std::u16string_view Value) {
    if (const auto index = FindKey(Section, Key)) {
        // Keep the key as the file spells it, with its spacing; replace only what follows '='.
        TLine& line = FLines[*index];
        line.Raw.resize(line.ValueStart);
        line.Raw += Encode(Value);
        return;
    }

    std::u16string entry(Key);
    entry += u'=';
    entry += Value;
    TLine added = ParseLine(Encode(entry));
    std::optional<std::size_t> insertAfter;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TLine& line = FLines[i];
        if (line.Kind == TLineKind::Section) {
            if (insertAfter) {
                break; // the end of the section's first block
            }
            if (base::SameTextAscii(line.Name, Section)) {
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

    if (!FLines.empty() && !IsBlankLine(FLines.back())) {
        FLines.push_back(ParseLine(std::string()));
    }
    FLines.push_back(ParseLine(Encode(u"[" + std::u16string(Section) + u"]")));
    FLines.push_back(std::move(added));
}

} // namespace orvel
