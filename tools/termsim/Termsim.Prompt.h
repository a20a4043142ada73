#pragma once
// The input prompt of a Claude Code terminal as it behaves under the keys Tarvin sends.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace termsim {

// Line and column (in UTF-16 units) of the prompt's cursor.
struct TCursor {
    std::size_t Line = 0;
    std::size_t Column = 0;

    friend bool operator==(const TCursor&, const TCursor&) = default;
};

enum class TKey { Char, CtrlE, CtrlU, CtrlY, Right, Backspace, Enter, ShiftEnter };

// One key as the prompt receives it; Char carries the typed UTF-16 unit.
struct TKeyEvent {
    TKey Key = TKey::Char;
    char16_t Char = 0;

    friend bool operator==(const TKeyEvent&, const TKeyEvent&) = default;
};

// What a key did beyond editing: Enter may submit text, ask the confirmation question, set the
// effort level or fail a command. Text is the submitted text, the question, the level word or
// the command's error.
struct TPromptOutcome {
    enum class TKind { None, Submitted, Question, EffortSet, CommandFailed };
    TKind Kind = TKind::None;
    std::u16string Text;

    friend bool operator==(const TPromptOutcome&, const TPromptOutcome&) = default;
};

inline constexpr char16_t EffortQuestion[] = u"Change effort level?";

class TPrompt {
public:
    // Text holds its line breaks as '\n'; the cursor is clamped into the text.
    // With confirmEffort, "/effort <level>" asks EffortQuestion and waits for one more Enter.
    explicit TPrompt(std::u16string_view text = {}, TCursor cursor = {}, bool confirmEffort = false);

    // The cursor at the very end of text, as a prompt is left after typing it.
    static TCursor EndOf(std::u16string_view text);

    TPromptOutcome Apply(const TKeyEvent& key);

    std::u16string Text() const;
    TCursor Cursor() const { return FCursor; }
    const std::u16string& KillBuffer() const { return FKillBuffer; }
    // What a previous edit left in the kill buffer, before any key arrives.
    void SeedKillBuffer(std::u16string text) { FKillBuffer = std::move(text); }
    bool Asking() const { return !FAskedLevel.empty(); }
    // The last level set, empty while none was.
    const std::u16string& EffortLevel() const { return FEffortLevel; }

private:
    void Insert(std::u16string_view text);
    void EndOfLine();
    void Right();
    void KillToLineStart();
    void Backspace();
    // Removes the line break in front of the cursor's line; the cursor stays before the same text.
    void JoinWithPreviousLine();
    // Enter, as Claude Code's prompt takes it: a backslash at the very end of the text makes it a
    // line break; blanks alone are not sent; text starting with "/" (after blanks) runs as a
    // command; anything else is sent without its trailing blanks and line breaks.
    TPromptOutcome Enter();
    // The trimmed text of a command, which has already left the prompt.
    TPromptOutcome RunCommand(std::u16string_view command);

    std::vector<std::u16string> FLines;
    TCursor FCursor;
    std::u16string FKillBuffer;
    // A Ctrl+U right after a deleting Ctrl+U adds to the kill buffer instead of replacing it.
    bool FKillChain = false;
    bool FConfirmEffort = false;
    std::u16string FAskedLevel;
    std::u16string FEffortLevel;
};

} // namespace termsim
