#pragma once
// The prompt's vim NORMAL mode: every typed character is a command. Motions (h l 0 ^ $ w b e j k
// gg G and the space), inserts (i a I A o O s S), deletes (x X D dd d<motion>, C cc c<motion>),
// yank and put (yy y<motion> p P), r<char> and the finds f F t T <char>, each with a count. A
// command that takes a further character waits for it, so "ff" is one find; a letter that is no
// command does nothing.
#include "tools/termsim/Termsim.Draft.h"

#include <string>

namespace termsim {

class TVimNormal {
public:
    enum class TResult { Stay, Insert };

    // One character in NORMAL mode: edits or moves the draft; Insert when INSERT mode begins.
    TResult Char(char16_t Unit, TDraft& Draft);
    // The caret as NORMAL mode shows it: on a character, never past the last one.
    static void ClampCaret(TDraft& Draft);
    // Escape from INSERT mode: the caret steps back onto the character it followed.
    static void LeaveInsert(TDraft& Draft);
    // A pending count or operator is dropped (Escape).
    void Reset();
    bool Pending() const;
    // What the last delete or yank took, for p and P.
    const std::u16string& Register() const { return FRegister; }

private:
    enum class TWaits { Nothing, Operator, FindForward, FindBackward, TillForward, TillBackward, Replace, G };

    TResult Command(char16_t Unit, TDraft& Draft);
    // A motion from the caret; false when Unit is none. Target receives where it leads.
    bool Motion(char16_t Unit, const TDraft& Draft, int Count, TCursor& Target, bool& Linewise) const;
    TResult ApplyOperator(char16_t Unit, TDraft& Draft, int Count);
    void DeleteRange(TDraft& Draft, TCursor From, TCursor To, bool Store);
    void DeleteLines(TDraft& Draft, std::size_t First, std::size_t Count, bool Store);
    int TakeCount();

    std::u16string FCount;
    TWaits FWaits = TWaits::Nothing;
    char16_t FOperator = 0;
    std::u16string FRegister;
};

} // namespace termsim
