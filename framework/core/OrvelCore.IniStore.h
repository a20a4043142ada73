#pragma once
// TIniStore: the text of one INI file as ordered sections and keys, rewritten with the least change.
#include "framework/core/OrvelCore.IniEncoding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

// Why an entry cannot be stored without breaking the file's line structure or reading back as
// something else.
enum class TIniEntryFault {
    None,
    LineBreakInSection, // a CR or LF in the section name
    LineBreakInKey,     // a CR or LF in the key
    LineBreakInValue,   // a CR or LF in the value
    InvalidKey,         // empty after trimming, holds '=' or NUL, or starts like a section or a comment
    InvalidSection,     // holds ']' (which ends the name) or NUL
    NulInValue,         // a NUL character in the value
};

// Lines keep their original bytes, so that a rewrite changes only the line of the key that was
// set (comments, blank lines, spacing and bytes that are not valid UTF-8 survive untouched).
// Section and key names are trimmed of blanks and compare with ASCII case folding; other
// characters compare exactly. A section name ends at the first ']'; what follows it on the line is
// a comment. A value is the text after the first '=' up to the line end, blanks and quotes
// included. Of duplicate keys (also across repeated sections of one name) the first counts. A line
// that is neither a section, a key nor a comment (no '=', a '[' without ']', a NUL character) is
// no entry; it is kept as it is and reading goes on after it.
class TIniStore {
public:
    // An empty text, in the form of a new file: UTF-8 without a byte-order mark.
    TIniStore() = default;

    // Text in any form DetectIniTextForm recognises, with CR LF, LF or CR line ends.
    static TIniStore Parse(std::string_view Bytes);
    // In the parsed form, with its byte-order mark if it had one, CRLF line ends (the last line's
    // included).
    std::string Serialize() const;
    TIniTextForm TextForm() const { return FForm; }
    // Re-encodes every line into a Unicode form (UTF-8 or UTF-16): lines keep their text, not
    // their bytes. Only the mark changes when the encoding stays.
    void ConvertTo(TIniTextForm Form);

    std::optional<std::u16string> Get(std::u16string_view Section, std::u16string_view Key) const;
    bool KeyExists(std::u16string_view Section, std::u16string_view Key) const;
    bool SectionExists(std::u16string_view Section) const;
    // Keys in file order, each once, spelled as first written.
    std::vector<std::u16string> Keys(std::u16string_view Section) const;
    std::vector<std::u16string> Sections() const;

    static TIniEntryFault CheckEntry(std::u16string_view Section, std::u16string_view Key,
                                     std::u16string_view Value);
    // Updates the first occurrence of the key, or adds it after the last key of the section's
    // first block, or adds the section at the end. An ANSI text that cannot hold a character of
    // the entry becomes UTF-8 with a byte-order mark first, so nothing is lost; so does one whose
    // bytes would read back as UTF-8 once the entry is set (an ANSI file is known only by bytes
    // that are not valid UTF-8), unless it is plain ASCII, which reads the same either way.
    // TextForm() stays what Parse would find in Serialize(). Raises EAssertionFailed for an
    // entry that CheckEntry refuses.
    void Set(std::u16string_view Section, std::u16string_view Key, std::u16string_view Value);

private:
    enum class TLineKind { Other, Section, Value };

    struct TLine {
        std::string Raw; // the line's bytes in the text's encoding, without its line end
        TLineKind Kind = TLineKind::Other;
        std::u16string Name;        // section name or key, trimmed
        std::size_t ValueStart = 0; // for a value line: the byte after the first '='
    };

    void Place(std::u16string_view Section, std::u16string_view Key, std::u16string_view Value);
    void KeepAnsiRecognisable();
    TLine ParseLine(std::string Raw) const;
    std::u16string Decode(std::string_view Bytes) const;
    std::string Encode(std::u16string_view Text) const;
    bool IsBlankLine(const TLine& Line) const;
    // Index of the first value line of `Key` in `Section`, if any.
    std::optional<std::size_t> FindKey(std::u16string_view Section, std::u16string_view Key) const;

    std::vector<TLine> FLines;
    TIniTextForm FForm;
    // A last odd byte of a UTF-16 text is no character; it is kept after the last line.
    std::string FDanglingByte;
};

} // namespace orvel
