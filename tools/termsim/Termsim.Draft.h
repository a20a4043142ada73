#pragma once
// What the prompt holds: lines of text, the caret, and the pasted blocks its placeholders stand
// for. A placeholder ("[Pasted text #1 +29 lines]") whose block the draft holds is one token: the
// caret never stands inside it, one Backspace takes it whole, and sending expands it.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace termsim {

// Line and column (in UTF-16 units) of the caret.
struct TCursor {
    std::size_t Line = 0;
    std::size_t Column = 0;

    friend bool operator==(const TCursor&, const TCursor&) = default;
};

// The placeholder text of pasted block Id with LineBreaks line breaks.
std::u16string PlaceholderText(int Id, std::size_t LineBreaks);

// A placeholder found in a line: where it stands and the block it names.
struct TPlaceholder {
    std::size_t Start = 0;
    std::size_t Length = 0;
    int Id = 0;
};
std::vector<TPlaceholder> FindPlaceholders(std::u16string_view Line);

class TDraft {
public:
    // Text holds its line breaks as '\n'; the cursor is clamped into the text.
    explicit TDraft(std::u16string_view Text = {}, TCursor Cursor = {});

    static TCursor EndOf(std::u16string_view Text);

    std::u16string Text() const;
    TCursor Cursor() const { return FCursor; }
    const std::vector<std::u16string>& Lines() const { return FLines; }
    bool Empty() const { return FLines.size() == 1 && FLines.front().empty(); }
    // The caret, clamped, and moved to a token's end when it would stand inside one.
    void SetCursor(TCursor Cursor);
    void Clear();

    // --- pasted blocks ---
    const std::map<int, std::u16string>& Pastes() const { return FPastes; }
    // Puts the placeholder of a new block at the caret.
    void InsertPaste(int Id, std::u16string Content);
    // Replaces the placeholder of block Id with its content; false when it is not in the text.
    bool ExpandPaste(int Id);
    // The text as it is sent: placeholders of held blocks expanded. Unknown receives the
    // placeholders that name no held block, which go out as they stand.
    std::u16string SentText(std::vector<std::u16string>* Unknown = nullptr) const;

    // --- edits; each leaves the caret after what it did ---
    void Insert(std::u16string_view Text);
    // One character (a surrogate pair or a token whole) or the line break before the caret.
    void DeleteBack();
    void DeleteForward();
    // Back to the start of the word before the caret, or the line break at a line's start.
    std::u16string DeleteWordBack();
    // From column From of the caret's line (its start, or where its row begins when the line
    // wraps) to the caret; at a line's start, the line break before it. Empty when there is
    // nothing before the caret.
    std::u16string KillToLineStart(std::size_t From = 0);
    // From the caret to the line's end; at a line's end, the line break after it.
    std::u16string KillToLineEnd();

    // --- caret ---
    void Right(); // at a line's end: the start of the next line
    void Left();  // at a line's start: the end of the previous line
    void LineStart();
    void LineEnd();
    // To the line above or below, at the column the caret had before it began to move up or down
    // (as far as the line reaches); false at the edge.
    bool Up();
    bool Down();
    // Whether the caret stands right after a backslash.
    bool BackslashBeforeCaret() const;

private:
    // The token covering Column of Line strictly inside it, if any.
    const TPlaceholder* TokenInside(std::size_t Line, std::size_t Column, std::vector<TPlaceholder>& Found) const;
    // The held block's placeholder ending right at Column of Line.
    bool TokenEndingAt(std::size_t Line, std::size_t Column, TPlaceholder& Token) const;
    bool TokenStartingAt(std::size_t Line, std::size_t Column, TPlaceholder& Token) const;
    void EraseInLine(std::size_t Line, std::size_t Start, std::size_t Length);
    void JoinWithNext(std::size_t Line);

    // Moves the caret between lines, keeping the goal column.
    bool MoveToLine(std::size_t Line);

    std::vector<std::u16string> FLines;
    TCursor FCursor;
    std::map<int, std::u16string> FPastes;
    // The column Up and Down aim for; any other move or edit forgets it.
    std::optional<std::size_t> FGoal;
};

} // namespace termsim
