#include "tools/termsim/Termsim.Vim.h"

#include <algorithm>

namespace termsim {

namespace {

enum class TClass { Blank, Word, Punctuation };

TClass ClassOf(char16_t Unit) {
    if (Unit == u' ' || Unit == u'\t') {
        return TClass::Blank;
    }
    const bool word = (Unit >= u'a' && Unit <= u'z') || (Unit >= u'A' && Unit <= u'Z') ||
                      (Unit >= u'0' && Unit <= u'9') || Unit == u'_' || Unit >= 0x80;
    return word ? TClass::Word : TClass::Punctuation;
}

const std::u16string& LineOf(const TDraft& Draft, std::size_t Line) {
    return Draft.Lines()[Line];
}

std::size_t LastColumn(const std::u16string& Line) {
    return Line.empty() ? 0 : Line.size() - 1;
}

std::size_t FirstNonBlank(const std::u16string& Line) {
    std::size_t column = 0;
    while (column < Line.size() && ClassOf(Line[column]) == TClass::Blank) {
        ++column;
    }
    return column;
}

// The start of the next word, crossing line ends; the text's end when there is none.
TCursor NextWordStart(const TDraft& Draft, TCursor At) {
    const auto& lines = Draft.Lines();
    const std::u16string* line = &lines[At.Line];
    if (At.Column < line->size()) {
        const TClass start = ClassOf((*line)[At.Column]);
        while (At.Column < line->size() && start != TClass::Blank && ClassOf((*line)[At.Column]) == start) {
            ++At.Column;
        }
    }
    for (;;) {
        while (At.Column < line->size() && ClassOf((*line)[At.Column]) == TClass::Blank) {
            ++At.Column;
        }
        if (At.Column < line->size() || At.Line + 1 >= lines.size()) {
            return At;
        }
        At = {At.Line + 1, 0};
        line = &lines[At.Line];
        if (line->empty()) {
            return At;
        }
    }
}

TCursor WordEnd(const TDraft& Draft, TCursor At) {
    const auto& lines = Draft.Lines();
    auto next = [&](TCursor C, bool& Moved) {
        Moved = true;
        if (C.Column + 1 < lines[C.Line].size()) {
            return TCursor{C.Line, C.Column + 1};
        }
        if (C.Line + 1 < lines.size()) {
            return TCursor{C.Line + 1, 0};
        }
        Moved = false;
        return C;
    };
    bool moved = false;
    TCursor c = next(At, moved);
    if (!moved) {
        return At;
    }
    while (moved && (lines[c.Line].empty() || ClassOf(lines[c.Line][c.Column]) == TClass::Blank)) {
        const TCursor n = next(c, moved);
        if (!moved) {
            break;
        }
        c = n;
    }
    if (lines[c.Line].empty()) {
        return c;
    }
    const TClass cls = ClassOf(lines[c.Line][c.Column]);
    while (c.Column + 1 < lines[c.Line].size() && ClassOf(lines[c.Line][c.Column + 1]) == cls) {
        ++c.Column;
    }
    return c;
}

TCursor PreviousWordStart(const TDraft& Draft, TCursor At) {
    const auto& lines = Draft.Lines();
    auto prev = [&](TCursor C, bool& Moved) {
        Moved = true;
        if (C.Column > 0) {
            return TCursor{C.Line, std::min(C.Column, lines[C.Line].size()) - 1};
        }
        if (C.Line > 0) {
            const std::size_t length = lines[C.Line - 1].size();
            return TCursor{C.Line - 1, length == 0 ? 0 : length - 1};
        }
        Moved = false;
        return C;
    };
    bool moved = false;
    TCursor c = prev(At, moved);
    if (!moved) {
        return At;
    }
    while (moved && !lines[c.Line].empty() && ClassOf(lines[c.Line][c.Column]) == TClass::Blank) {
        const TCursor p = prev(c, moved);
        if (!moved) {
            return c;
        }
        c = p;
    }
    if (lines[c.Line].empty()) {
        return c;
    }
    const TClass cls = ClassOf(lines[c.Line][c.Column]);
    while (c.Column > 0 && ClassOf(lines[c.Line][c.Column - 1]) == cls) {
        --c.Column;
    }
    return c;
}

bool Before(TCursor A, TCursor B) {
    return A.Line < B.Line || (A.Line == B.Line && A.Column < B.Column);
}

} // namespace

void TVimNormal::ClampCaret(TDraft& Draft) {
    const TCursor at = Draft.Cursor();
    Draft.SetCursor({at.Line, std::min(at.Column, LastColumn(LineOf(Draft, at.Line)))});
}

void TVimNormal::LeaveInsert(TDraft& Draft) {
    const TCursor at = Draft.Cursor();
    if (at.Column > 0) {
        Draft.SetCursor({at.Line, at.Column - 1});
    }
}

void TVimNormal::Reset() {
    FCount.clear();
    FWaits = TWaits::Nothing;
    FOperator = 0;
}

bool TVimNormal::Pending() const {
    return !FCount.empty() || FWaits != TWaits::Nothing;
}

int TVimNormal::TakeCount() {
    int count = 0;
    for (char16_t digit : FCount) {
        count = std::min(count * 10 + (digit - u'0'), 9999);
    }
    FCount.clear();
    return count == 0 ? 1 : count;
}

TVimNormal::TResult TVimNormal::Char(char16_t Unit, TDraft& Draft) {
    const TResult result = Command(Unit, Draft);
    if (result == TResult::Stay && FWaits == TWaits::Nothing) {
        ClampCaret(Draft);
    }
    return result;
}

bool TVimNormal::Motion(char16_t Unit, const TDraft& Draft, int Count, TCursor& Target, bool& Linewise) const {
    const TCursor at = Draft.Cursor();
    const std::u16string& line = LineOf(Draft, at.Line);
    const std::size_t lines = Draft.Lines().size();
    Linewise = false;
    Target = at;
    switch (Unit) {
    case u'h':
        Target.Column = at.Column - std::min<std::size_t>(at.Column, static_cast<std::size_t>(Count));
        return true;
    case u'l':
    case u' ':
        Target.Column = std::min(line.size(), at.Column + static_cast<std::size_t>(Count));
        return true;
    case u'0':
        Target.Column = 0;
        return true;
    case u'^':
        Target.Column = FirstNonBlank(line);
        return true;
    case u'$':
        Target.Column = line.size();
        return true;
    case u'w':
        for (int i = 0; i < Count; ++i) {
            Target = NextWordStart(Draft, Target);
        }
        return true;
    case u'e':
        for (int i = 0; i < Count; ++i) {
            Target = WordEnd(Draft, Target);
        }
        ++Target.Column; // inclusive: an operator takes the last character too
        return true;
    case u'b':
        for (int i = 0; i < Count; ++i) {
            Target = PreviousWordStart(Draft, Target);
        }
        return true;
    case u'j':
        Linewise = true;
        Target.Line = std::min(lines - 1, at.Line + static_cast<std::size_t>(Count));
        return true;
    case u'k':
        Linewise = true;
        Target.Line = at.Line - std::min<std::size_t>(at.Line, static_cast<std::size_t>(Count));
        return true;
    case u'G':
        Linewise = true;
        Target.Line = lines - 1;
        return true;
    default:
        return false;
    }
}

void TVimNormal::DeleteRange(TDraft& Draft, TCursor From, TCursor To, bool Store) {
    if (Before(To, From)) {
        std::swap(From, To);
    }
    std::u16string taken;
    Draft.SetCursor(From);
    // Delete forward unit by unit: the draft keeps its own rules for pairs and line breaks.
    const auto& lines = Draft.Lines();
    std::size_t remaining = 0;
    for (std::size_t l = From.Line; l <= To.Line && l < lines.size(); ++l) {
        const std::size_t start = l == From.Line ? From.Column : 0;
        const std::size_t end = l == To.Line ? std::min(To.Column, lines[l].size()) : lines[l].size();
        taken += lines[l].substr(start, end > start ? end - start : 0);
        remaining += end > start ? end - start : 0;
        if (l != To.Line) {
            taken += u'\n';
            ++remaining;
        }
    }
    for (std::size_t i = 0; i < remaining; ++i) {
        Draft.DeleteForward();
    }
    if (Store && !taken.empty()) {
        FRegister = taken;
    }
}

void TVimNormal::DeleteLines(TDraft& Draft, std::size_t First, std::size_t Count, bool Store) {
    const auto& lines = Draft.Lines();
    const std::size_t last = std::min(lines.size() - 1, First + Count - 1);
    std::u16string taken;
    for (std::size_t l = First; l <= last; ++l) {
        taken += lines[l];
        taken += u'\n';
    }
    if (Store) {
        FRegister = taken;
    }
    if (last + 1 < lines.size()) {
        Draft.SetCursor({First, 0});
        DeleteRange(Draft, {First, 0}, {last + 1, 0}, false);
    } else if (First > 0) {
        Draft.SetCursor({First - 1, lines[First - 1].size()});
        DeleteRange(Draft, {First - 1, lines[First - 1].size()}, {last, lines[last].size()}, false);
        Draft.SetCursor({First - 1, 0});
    } else {
        DeleteRange(Draft, {0, 0}, {last, lines[last].size()}, false);
    }
    Draft.SetCursor({Draft.Cursor().Line, FirstNonBlank(LineOf(Draft, Draft.Cursor().Line))});
}

TVimNormal::TResult TVimNormal::ApplyOperator(char16_t Unit, TDraft& Draft, int Count) {
    const char16_t op = FOperator;
    FWaits = TWaits::Nothing;
    FOperator = 0;
    const TCursor at = Draft.Cursor();
    if (Unit == op) { // dd, cc, yy: whole lines
        if (op == u'y') {
            FRegister.clear();
            for (std::size_t l = at.Line; l < std::min(Draft.Lines().size(), at.Line + Count); ++l) {
                FRegister += LineOf(Draft, l) + u'\n';
            }
            return TResult::Stay;
        }
        if (op == u'c') {
            Draft.SetCursor({at.Line, 0});
            DeleteRange(Draft, {at.Line, 0}, {at.Line, LineOf(Draft, at.Line).size()}, true);
            return TResult::Insert;
        }
        DeleteLines(Draft, at.Line, static_cast<std::size_t>(Count), true);
        return TResult::Stay;
    }
    TCursor target;
    bool linewise = false;
    // "cw" changes to the word's end, as vim does.
    const char16_t motion = op == u'c' && Unit == u'w' ? u'e' : Unit;
    if (!Motion(motion, Draft, Count, target, linewise)) {
        return TResult::Stay;
    }
    if (op == u'y') {
        TDraft copy = Draft;
        TVimNormal scratch;
        scratch.DeleteRange(copy, at, target, true);
        FRegister = scratch.FRegister;
        return TResult::Stay;
    }
    if (linewise) {
        const std::size_t first = std::min(at.Line, target.Line);
        const std::size_t last = std::max(at.Line, target.Line);
        DeleteLines(Draft, first, last - first + 1, true);
    } else {
        DeleteRange(Draft, at, target, true);
    }
    return op == u'c' ? TResult::Insert : TResult::Stay;
}

TVimNormal::TResult TVimNormal::Command(char16_t Unit, TDraft& Draft) {
    const TCursor at = Draft.Cursor();
    const std::u16string& line = LineOf(Draft, at.Line);
    switch (FWaits) {
    case TWaits::FindForward:
    case TWaits::TillForward: {
        const bool till = FWaits == TWaits::TillForward;
        FWaits = TWaits::Nothing;
        int count = TakeCount();
        for (std::size_t column = at.Column + 1; column < line.size(); ++column) {
            if (line[column] == Unit && --count == 0) {
                Draft.SetCursor({at.Line, till ? column - 1 : column});
                break;
            }
        }
        return TResult::Stay;
    }
    case TWaits::FindBackward:
    case TWaits::TillBackward: {
        const bool till = FWaits == TWaits::TillBackward;
        FWaits = TWaits::Nothing;
        int count = TakeCount();
        for (std::size_t column = std::min(at.Column, line.size()); column-- > 0;) {
            if (line[column] == Unit && --count == 0) {
                Draft.SetCursor({at.Line, till ? column + 1 : column});
                break;
            }
        }
        return TResult::Stay;
    }
    case TWaits::Replace: {
        FWaits = TWaits::Nothing;
        const std::size_t count = static_cast<std::size_t>(TakeCount());
        if (at.Column + count <= line.size()) {
            Draft.SetCursor({at.Line, at.Column});
            for (std::size_t i = 0; i < count; ++i) {
                Draft.DeleteForward();
            }
            Draft.Insert(std::u16string(count, Unit));
            Draft.SetCursor({at.Line, at.Column + count - 1});
        }
        return TResult::Stay;
    }
    case TWaits::G:
        FWaits = TWaits::Nothing;
        TakeCount();
        if (Unit == u'g') {
            Draft.SetCursor({0, FirstNonBlank(LineOf(Draft, 0))});
        }
        return TResult::Stay;
    case TWaits::Operator:
        if (Unit >= u'1' && Unit <= u'9') {
            FCount += Unit;
            return TResult::Stay;
        }
        return ApplyOperator(Unit, Draft, TakeCount());
    case TWaits::Nothing:
        break;
    }

    if ((Unit >= u'1' && Unit <= u'9') || (Unit == u'0' && !FCount.empty())) {
        FCount += Unit;
        return TResult::Stay;
    }
    switch (Unit) {
    case u'f':
        FWaits = TWaits::FindForward;
        return TResult::Stay;
    case u'F':
        FWaits = TWaits::FindBackward;
        return TResult::Stay;
    case u't':
        FWaits = TWaits::TillForward;
        return TResult::Stay;
    case u'T':
        FWaits = TWaits::TillBackward;
        return TResult::Stay;
    case u'r':
        FWaits = TWaits::Replace;
        return TResult::Stay;
    case u'g':
        FWaits = TWaits::G;
        return TResult::Stay;
    case u'd':
    case u'c':
    case u'y':
        FWaits = TWaits::Operator;
        FOperator = Unit;
        return TResult::Stay;
    default:
        break;
    }
    const int count = TakeCount();
    switch (Unit) {
    case u'i':
        return TResult::Insert;
    case u'a':
        Draft.SetCursor({at.Line, std::min(line.size(), at.Column + 1)});
        return TResult::Insert;
    case u'I':
        Draft.SetCursor({at.Line, FirstNonBlank(line)});
        return TResult::Insert;
    case u'A':
        Draft.LineEnd();
        return TResult::Insert;
    case u'o':
        Draft.LineEnd();
        Draft.Insert(u"\n");
        return TResult::Insert;
    case u'O':
        Draft.LineStart();
        Draft.Insert(u"\n");
        Draft.Up();
        return TResult::Insert;
    case u'x':
        if (!line.empty()) {
            DeleteRange(Draft, at, {at.Line, std::min(line.size(), at.Column + count)}, true);
        }
        return TResult::Stay;
    case u'X':
        DeleteRange(Draft, {at.Line, at.Column - std::min<std::size_t>(at.Column, count)}, at, true);
        return TResult::Stay;
    case u's':
        if (!line.empty()) {
            DeleteRange(Draft, at, {at.Line, std::min(line.size(), at.Column + count)}, true);
        }
        return TResult::Insert;
    case u'S':
        FOperator = u'c';
        return ApplyOperator(u'c', Draft, count);
    case u'D':
        DeleteRange(Draft, at, {at.Line, line.size()}, true);
        return TResult::Stay;
    case u'C':
        DeleteRange(Draft, at, {at.Line, line.size()}, true);
        return TResult::Insert;
    case u'p':
    case u'P': {
        if (FRegister.empty()) {
            return TResult::Stay;
        }
        std::u16string text;
        for (int i = 0; i < count; ++i) {
            text += FRegister;
        }
        if (FRegister.back() == u'\n') {
            // A whole line goes below (p) or above (P) the caret's line.
            text.pop_back();
            if (Unit == u'p') {
                Draft.LineEnd();
                Draft.Insert(u"\n" + text);
                Draft.SetCursor({at.Line + 1, 0});
            } else {
                Draft.LineStart();
                Draft.Insert(text + u"\n");
                Draft.SetCursor({at.Line, 0});
            }
            return TResult::Stay;
        }
        if (Unit == u'p' && !line.empty()) {
            Draft.SetCursor({at.Line, at.Column + 1});
        }
        Draft.Insert(text);
        Draft.Left();
        return TResult::Stay;
    }
    default:
        break;
    }
    TCursor target;
    bool linewise = false;
    if (Motion(Unit, Draft, count, target, linewise)) {
        if (Unit == u'e' && target.Column > 0) {
            --target.Column;
        }
        if (linewise && Unit != u'G') {
            target.Column = std::min(at.Column, LastColumn(LineOf(Draft, target.Line)));
        } else if (Unit == u'G') {
            target.Column = FirstNonBlank(LineOf(Draft, target.Line));
        }
        Draft.SetCursor(target);
    }
    // Any other letter is no command in this model: it does nothing.
    return TResult::Stay;
}

} // namespace termsim
