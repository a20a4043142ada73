#pragma once
// TIniStore: the text of one INI file as ordered sections and keys, rewritten with the least change.
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
    InvalidKey,         // empty after trimming, holds '=', or starts like a section or a comment
};

// Lines keep their original bytes, so that a rewrite changes only the line of the key that was
// set (comments, blank lines, spacing and bytes that are not valid UTF-8 survive untouched).
// Section and key names are trimmed of blanks and compare with ASCII case folding; other
// characters compare exactly. A value is the text after the first '=' up to the line end, blanks
// included. Of duplicate keys (also across repeated sections of one name) the first counts.
class TIniStore {
public:
    TIniStore() = default;

    // UTF-8 text with LF or CRLF line ends, with or without a byte-order mark.
    static TIniStore Parse(std::string_view bytes);
    // CRLF line ends, the last line included; a byte-order mark only when the parsed text had one.
    std::string Serialize() const;

    std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;
    bool KeyExists(std::u16string_view section, std::u16string_view key) const;
    bool SectionExists(std::u16string_view section) const;
    // Keys in file order, each once, spelled as first written.
    std::vector<std::u16string> Keys(std::u16string_view section) const;
    std::vector<std::u16string> Sections() const;

    static TIniEntryFault CheckEntry(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view value);
    // Updates the first occurrence of the key, or adds it after the last key of the section's
    // first block, or adds the section at the end. Raises EAssertionFailed for an entry that
    // CheckEntry refuses.
    void Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

private:
    enum class TLineKind { Other, Section, Value };

    struct TLine {
        std::string Raw; // the line's bytes without its line end
        TLineKind Kind = TLineKind::Other;
        std::u16string Name;        // section name or key, trimmed
        std::size_t ValueStart = 0; // for a value line: the byte after the first '='
    };

    static TLine ParseLine(std::string raw);
    // Index of the first value line of `key` in `section`, if any.
    std::optional<std::size_t> FindKey(std::u16string_view section, std::u16string_view key) const;

    std::vector<TLine> FLines;
    bool FHasBom = false;
};

} // namespace orvel
