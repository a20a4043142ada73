#include "tools/termsim/Termsim.Vim.h"

#include <algorithm>

namespace termsim {

namespace {

enum class TClass { Blank, Word, Punctuation };

TClass ClassOf(char16_t unit) {
    if (unit == u' ' || unit == u'\t') {
        return TClass::Blank;
    }
    const bool word = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
                      (unit >= u'0' && unit <= u'9') || unit == u'_' || unit >= 0x80;
    return word ? TClass::Word : TClass::Punctuation;
}

const std::u16string& LineOf(const TDraft& draft, std::size_t line) {
    return draft.Lines()[line];
}

std::size_t LastColumn(const std::u16string& line) {
    return line.empty() ? 0 : line.size() - 1;
}

std::size_t FirstNonBlank(const std::u16string& line) {
    std::size_t column = 0;
    while (column < line.size() && ClassOf(line[column]) == TClass::Blank) {
        ++column;
    }
    return column;
}

// The start of the next word, crossing line ends; the text's end when there is none.
TCursor NextWordStart(const TDraft& draft, TCursor at) {
    const auto& lines = draft.Lines();
    const std::u16string* line = &lines[at.Line];
    if (at.Column < line->size()) {
        const TClass start = ClassOf((*line)[at.Column]);
        while (at.Column < line->size() && start != TClass::Blank && ClassOf((*line)[at.Column]) == start) {
            ++at.Column;
        }
    }
    for (;;) {
        while (at.Column < line->size() && ClassOf((*line)[at.Column]) == TClass::Blank) {
            ++at.Column;
        }
        if (at.Column < line->size() || at.Line + 1 >= lines.size()) {
            return at;
        }
        at = {at.Line + 1, 0};
        line = &lines[at.Line];
        if (line->empty()) {
            return at;
        }
    }
}

TCursor WordEnd(const TDraft& draft, TCursor at) {
    const auto& lines = draft.Lines();
    auto next = [&](TCursor c, bool& moved) {
        moved = true;
        if (c.Column + 1 < lines[c.Line].size()) {
            return TCursor{c.Line, c.Column + 1};
        }
        if (c.Line + 1 < lines.size()) {
            return TCursor{c.Line + 1, 0};
        }
        moved = false;
        return c;
    };
    bool moved = false;
    TCursor c = next(at, moved);
    if (!moved) {
        return at;
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

TCursor PreviousWordStart(const TDraft& draft, TCursor at) {
    const auto& lines = draft.Lines();
    auto prev = [&](TCursor c, bool& moved) {
        moved = true;
        if (c.Column > 0) {
            return TCursor{c.Line, std::min(c.Column, lines[c.Line].size()) - 1};
        }
        if (c.Line > 0) {
            const std::size_t length = lines[c.Line - 1].size();
            return TCursor{c.Line - 1, length == 0 ? 0 : length - 1};
        }
        moved = false;
        return c;
    };
    bool moved = false;
    TCursor c = prev(at, moved);
    if (!moved) {
        return at;
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

bool Before(TCursor a, TCursor b) {
    return a.Line < b.Line || (a.Line == b.Line && a.Column < b.Column);
}

} // namespace

void TVimNormal::ClampCaret(TDraft& draft) {
    const TCursor at = draft.Cursor();
    draft.SetCursor({at.Line, std::min(at.Column, LastColumn(LineOf(draft, at.Line)))});
}

void TVimNormal::LeaveInsert(TDraft& draft) {
    const TCursor at = draft.Cursor();
    if (at.Column > 0) {
        draft.SetCursor({at.Line, at.Column - 1});
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

TVimNormal::TResult TVimNormal::Char(char16_t unit, TDraft& draft) {
    const TResult result = Command(unit, draft);
    if (result == TResult::Stay && FWaits == TWaits::Nothing) {
        ClampCaret(draft);
    }
    return result;
}

bool TVimNormal::Motion(char16_t unit, const TDraft& draft, int count, TCursor& target, bool& linewise) const {
    const TCursor at = draft.Cursor();
    const std::u16string& line = LineOf(draft, at.Line);
    const std::size_t lines = draft.Lines().size();
    linewise = false;
    target = at;
    switch (unit) {
    case u'h':
        target.Column = at.Column - std::min<std::size_t>(at.Column, static_cast<std::size_t>(count));
        return true;
    case u'l':
    case u' ':
        target.Column = std::min(line.size(), at.Column + static_cast<std::size_t>(count));
        return true;
    case u'0':
        target.Column = 0;
        return true;
    case u'^':
        target.Column = FirstNonBlank(line);
        return true;
    case u'$':
        target.Column = line.size();
        return true;
    case u'w':
        for (int i = 0; i < count; ++i) {
            target = NextWordStart(draft, target);
        }
        return true;
    case u'e':
        for (int i = 0; i < count; ++i) {
            target = WordEnd(draft, target);
        }
        ++target.Column; // inclusive: an operator takes the last character too
        return true;
    case u'b':
        for (int i = 0; i < count; ++i) {
            target = PreviousWordStart(draft, target);
        }
        return true;
    case u'j':
        linewise = true;
        target.Line = std::min(lines - 1, at.Line + static_cast<std::size_t>(count));
        return true;
    case u'k':
        linewise = true;
        target.Line = at.Line - std::min<std::size_t>(at.Line, static_cast<std::size_t>(count));
        return true;
    case u'G':
        linewise = true;
        target.Line = lines - 1;
        return true;
    default:
        return false;
    }
}

void TVimNormal::DeleteRange(TDraft& draft, TCursor from, TCursor to, bool store) {
    if (Before(to, from)) {
        std::swap(from, to);
    }
    std::u16string taken;
    draft.SetCursor(from);
    // Delete forward unit by unit: the draft keeps its own rules for pairs and line breaks.
    const auto& lines = draft.Lines();
    std::size_t remaining = 0;
    for (std::size_t l = from.Line; l <= to.Line && l < lines.size(); ++l) {
        const std::size_t start = l == from.Line ? from.Column : 0;
        const std::size_t end = l == to.Line ? std::min(to.Column, lines[l].size()) : lines[l].size();
        taken += lines[l].substr(start, end > start ? end - start : 0);
        remaining += end > start ? end - start : 0;
        if (l != to.Line) {
            taken += u'\n';
            ++remaining;
        }
    }
    for (std::size_t i = 0; i < remaining; ++i) {
        draft.DeleteForward();
    }
    if (store && !taken.empty()) {
        FRegister = taken;
    }
}

void TVimNormal::DeleteLines(TDraft& draft, std::size_t first, std::size_t count, bool store) {
    const auto& lines = draft.Lines();
    const std::size_t last = std::min(lines.size() - 1, first + count - 1);
    std::u16string taken;
    for (std::size_t l = first; l <= last; ++l) {
        taken += lines[l];
        taken += u'\n';
    }
    if (store) {
        FRegister = taken;
    }
    if (last + 1 < lines.size()) {
        draft.SetCursor({first, 0});
        DeleteRange(draft, {first, 0}, {last + 1, 0}, false);
    } else if (first > 0) {
        draft.SetCursor({first - 1, lines[first - 1].size()});
        DeleteRange(draft, {first - 1, lines[first - 1].size()}, {last, lines[last].size()}, false);
        draft.SetCursor({first - 1, 0});
    } else {
        DeleteRange(draft, {0, 0}, {last, lines[last].size()}, false);
    }
    draft.SetCursor({draft.Cursor().Line, FirstNonBlank(LineOf(draft, draft.Cursor().Line))});
}

TVimNormal::TResult TVimNormal::ApplyOperator(char16_t unit, TDraft& draft, int count) {
    const char16_t op = FOperator;
    FWaits = TWaits::Nothing;
    FOperator = 0;
    const TCursor at = draft.Cursor();
    if (unit == op) { // dd, cc, yy: whole lines
        if (op == u'y') {
            FRegister.clear();
            for (std::size_t l = at.Line; l < std::min(draft.Lines().size(), at.Line + count); ++l) {
                FRegister += LineOf(draft, l) + u'\n';
            }
            return TResult::Stay;
        }
        if (op == u'c') {
            draft.SetCursor({at.Line, 0});
            DeleteRange(draft, {at.Line, 0}, {at.Line, LineOf(draft, at.Line).size()}, true);
            return TResult::Insert;
        }
        DeleteLines(draft, at.Line, static_cast<std::size_t>(count), true);
        return TResult::Stay;
    }
    TCursor target;
    bool linewise = false;
    // "cw" changes to the word's end, as vim does.
    const char16_t motion = op == u'c' && unit == u'w' ? u'e' : unit;
    if (!Motion(motion, draft, count, target, linewise)) {
        return TResult::Stay;
    }
    if (op == u'y') {
        TDraft copy = draft;
        TVimNormal scratch;
        scratch.DeleteRange(copy, at, target, true);
        FRegister = scratch.FRegister;
        return TResult::Stay;
    }
    if (linewise) {
        const std::size_t first = std::min(at.Line, target.Line);
        const std::size_t last = std::max(at.Line, target.Line);
        DeleteLines(draft, first, last - first + 1, true);
    } else {
        DeleteRange(draft, at, target, true);
    }
    return op == u'c' ? TResult::Insert : TResult::Stay;
}

TVimNormal::TResult TVimNormal::Command(char16_t unit, TDraft& draft) {
    const TCursor at = draft.Cursor();
    const std::u16string& line = LineOf(draft, at.Line);
    switch (FWaits) {
    case TWaits::FindForward:
    case TWaits::TillForward: {
        const bool till = FWaits == TWaits::TillForward;
        FWaits = TWaits::Nothing;
        int count = TakeCount();
        for (std::size_t column = at.Column + 1; column < line.size(); ++column) {
            if (line[column] == unit && --count == 0) {
                draft.SetCursor({at.Line, till ? column - 1 : column});
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
            if (line[column] == unit && --count == 0) {
                draft.SetCursor({at.Line, till ? column + 1 : column});
                break;
            }
        }
        return TResult::Stay;
    }
    case TWaits::Replace: {
        FWaits = TWaits::Nothing;
        const std::size_t count = static_cast<std::size_t>(TakeCount());
        if (at.Column + count <= line.size()) {
            draft.SetCursor({at.Line, at.Column});
            for (std::size_t i = 0; i < count; ++i) {
                draft.DeleteForward();
            }
            draft.Insert(std::u16string(count, unit));
            draft.SetCursor({at.Line, at.Column + count - 1});
        }
        return TResult::Stay;
    }
    case TWaits::G:
        FWaits = TWaits::Nothing;
        TakeCount();
        if (unit == u'g') {
            draft.SetCursor({0, FirstNonBlank(LineOf(draft, 0))});
        }
        return TResult::Stay;
    case TWaits::Operator:
        if (unit >= u'1' && unit <= u'9') {
            FCount += unit;
            return TResult::Stay;
        }
        return ApplyOperator(unit, draft, TakeCount());
    case TWaits::Nothing:
        break;
    }

    if ((unit >= u'1' && unit <= u'9') || (unit == u'0' && !FCount.empty())) {
        FCount += unit;
        return TResult::Stay;
    }
    switch (unit) {
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
        FOperator = unit;
        return TResult::Stay;
    default:
        break;
    }
    const int count = TakeCount();
    switch (unit) {
    case u'i':
        return TResult::Insert;
    case u'a':
        draft.SetCursor({at.Line, std::min(line.size(), at.Column + 1)});
        return TResult::Insert;
    case u'I':
        draft.SetCursor({at.Line, FirstNonBlank(line)});
        return TResult::Insert;
    case u'A':
        draft.LineEnd();
        return TResult::Insert;
    case u'o':
        draft.LineEnd();
        draft.Insert(u"\n");
        return TResult::Insert;
    case u'O':
        draft.LineStart();
        draft.Insert(u"\n");
        draft.Up();
        return TResult::Insert;
    case u'x':
        if (!line.empty()) {
            DeleteRange(draft, at, {at.Line, std::min(line.size(), at.Column + count)}, true);
        }
        return TResult::Stay;
    case u'X':
        DeleteRange(draft, {at.Line, at.Column - std::min<std::size_t>(at.Column, count)}, at, true);
        return TResult::Stay;
    case u's':
        if (!line.empty()) {
            DeleteRange(draft, at, {at.Line, std::min(line.size(), at.Column + count)}, true);
        }
        return TResult::Insert;
    case u'S':
        FOperator = u'c';
        return ApplyOperator(u'c', draft, count);
    case u'D':
        DeleteRange(draft, at, {at.Line, line.size()}, true);
        return TResult::Stay;
    case u'C':
        DeleteRange(draft, at, {at.Line, line.size()}, true);
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
            if (unit == u'p') {
                draft.LineEnd();
                draft.Insert(u"\n" + text);
                draft.SetCursor({at.Line + 1, 0});
            } else {
                draft.LineStart();
                draft.Insert(text + u"\n");
                draft.SetCursor({at.Line, 0});
            }
            return TResult::Stay;
        }
        if (unit == u'p' && !line.empty()) {
            draft.SetCursor({at.Line, at.Column + 1});
        }
        draft.Insert(text);
        draft.Left();
        return TResult::Stay;
    }
    default:
        break;
    }
    TCursor target;
    bool linewise = false;
    if (Motion(unit, draft, count, target, linewise)) {
        if (unit == u'e' && target.Column > 0) {
            --target.Column;
        }
        if (linewise && unit != u'G') {
            target.Column = std::min(at.Column, LastColumn(LineOf(draft, target.Line)));
        } else if (unit == u'G') {
            target.Column = FirstNonBlank(LineOf(draft, target.Line));
        }
        draft.SetCursor(target);
    }
    // Any other letter is no command in this model: it does nothing.
    return TResult::Stay;
}

} // namespace termsim
