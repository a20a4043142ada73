#include "app/Tarvin.Screen.h"

#include <algorithm>
#include <array>

namespace tarvin {

namespace {

using platform::TConsoleScreen;
using platform::TScreenCell;

constexpr char16_t Rule = u'\u2500';        // ─
constexpr char16_t PromptGlyph = u'\u276F'; // ❯
constexpr char16_t BashGlyph = u'!';
constexpr char16_t NoBreakSpace = u'\u00A0';

// A rule of the input box runs across the screen; a scrolled box's rule carries a label in it
// ("─── ↓ 2 more ────"). Short runs of "─" belong to other drawings (the effort slider).
bool IsRule(std::u16string_view Row) {
    if (Row.size() < 20 || Row.front() != Rule) {
        return false;
    }
    const auto rules = static_cast<std::size_t>(std::count(Row.begin(), Row.end(), Rule));
    return rules * 2 >= Row.size();
}

bool RuleSaysMore(std::u16string_view Row) {
    return Row.find(u" more") != std::u16string_view::npos;
}

bool Contains(std::u16string_view Row, std::u16string_view Text) {
    return Row.find(Text) != std::u16string_view::npos;
}

bool AnyRowContains(const std::vector<std::u16string>& Rows, std::size_t From, std::u16string_view Text) {
    for (std::size_t i = From; i < Rows.size(); ++i) {
        if (Contains(Rows[i], Text)) {
            return true;
        }
    }
    return false;
}

std::u16string_view TrimmedStart(std::u16string_view Row) {
    while (!Row.empty() && (Row.front() == u' ' || Row.front() == NoBreakSpace)) {
        Row.remove_prefix(1);
    }
    return Row;
}

// The first row of the box: the prompt glyph, then a blank (a no-break space, as drawn).
bool IsPromptRow(std::u16string_view Row, TPromptMode& Mode) {
    if (Row.empty() || (Row.front() != PromptGlyph && Row.front() != BashGlyph)) {
        return false;
    }
    if (Row.size() > 1 && Row[1] != u' ' && Row[1] != NoBreakSpace) {
        return false;
    }
    Mode = Row.front() == BashGlyph ? pmBash : pmNormal;
    return true;
}

// "● high · /effort" at the right of the row above the box; the word before " · /effort".
std::u16string EffortShown(std::u16string_view Row) {
    constexpr std::u16string_view tail = u" \u00B7 /effort";
    const std::size_t end = Row.rfind(tail);
    if (end == std::u16string_view::npos) {
        return {};
    }
    const std::size_t start = Row.rfind(u' ', end == 0 ? 0 : end - 1);
    if (start == std::u16string_view::npos || start + 1 >= end) {
        return {};
    }
    return std::u16string(Row.substr(start + 1, end - start - 1));
}

// The screens that take the keys instead of the box, each known by a text only it shows.
struct TDialogMark {
    TScreenKind Kind;
    std::u16string_view Text;
};

// The first match counts, so the more particular texts come first.
constexpr std::array DialogMarks = {
    TDialogMark{skEffortQuestion, u"Change effort level?"},
    TDialogMark{skPermission, u"Do you want to proceed?"},
    TDialogMark{skPermission, u"Do you want to make this edit"},
    TDialogMark{skPermission, u"Do you want to create"},
    TDialogMark{skPermission, u"tab to amend"},
    TDialogMark{skHistorySearch, u"Search prompts"},
    TDialogMark{skPicker, u"Select model"},
    TDialogMark{skPicker, u"to adjust"},
    TDialogMark{skPicker, u"esc to cancel"},
    TDialogMark{skPicker, u"esc to go back"},
};

// The bottom-most "Set effort level to <word>" the transcript shows: the level the last change
// set, for when no indicator stands above the box.
std::u16string LastEffortMessage(const std::vector<std::u16string>& Rows, std::size_t Before) {
    constexpr std::u16string_view message = u"Set effort level to ";
    for (std::size_t i = std::min(Before, Rows.size()); i-- > 0;) {
        const std::size_t at = Rows[i].find(message);
        if (at == std::u16string::npos) {
            continue;
        }
        const std::size_t start = at + message.size();
        std::size_t end = start;
        while (end < Rows[i].size() && Rows[i][end] >= u'a' && Rows[i][end] <= u'z') {
            ++end;
        }
        return Rows[i].substr(start, end - start);
    }
    return {};
}

} // namespace

std::u16string TPromptView::Text() const {
    std::u16string text;
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        if (i > 0) {
            text += u'\n';
        }
        text += Rows[i];
    }
    return text;
}

TPromptView ReadPromptView(const TConsoleScreen& Screen) {
    TPromptView view;
    const std::vector<std::u16string>& rows = Screen.Rows;

    // The two lowest rules, with the prompt row right below the upper one.
    std::optional<std::size_t> lower;
    std::optional<std::size_t> upper;
    for (std::size_t i = rows.size(); i-- > 0;) {
        if (!IsRule(rows[i])) {
            continue;
        }
        if (!lower) {
            lower = i;
        } else {
            upper = i;
            break;
        }
    }
    TPromptMode mode = pmNormal;
    // A box scrolled down shows a continuation row first; its prompt row is out of sight.
    const bool box = upper && *lower - *upper >= 2 &&
                     (IsPromptRow(rows[*upper + 1], mode) ||
                      (RuleSaysMore(rows[*upper]) && rows[*upper + 1].starts_with(u"  ")));

    // Whatever takes the keys instead of the box says what it is, in the lower part of the screen
    // (below the box's upper rule when there seems to be one: a dialog may draw a rule of its own).
    const std::size_t from = box ? *upper : rows.size() / 3;
    for (const TDialogMark& mark : DialogMarks) {
        if (AnyRowContains(rows, from, mark.Text)) {
            view.Kind = mark.Kind;
            break;
        }
    }
    if (!box || view.Kind != skUnknown) {
        if (view.Kind == skEffortQuestion) {
            // The focused choice is the first one below the question marked with the glyph.
            std::size_t i = from;
            while (i < rows.size() && !Contains(rows[i], u"Change effort level?")) {
                ++i;
            }
            for (++i; i < rows.size(); ++i) {
                const std::u16string_view row = TrimmedStart(rows[i]);
                if (!row.empty() && row.front() == PromptGlyph) {
                    view.FocusOnYes = Contains(row, u"Yes");
                    break;
                }
            }
        }
        return view;
    }

    view.Kind = skPrompt;
    view.Mode = mode;
    view.Scrolled = RuleSaysMore(rows[*upper]) || RuleSaysMore(rows[*lower]);
    for (std::size_t i = *upper + 1; i < *lower; ++i) {
        std::u16string_view row = rows[i];
        // The glyph and its blank, or the indent of a continuation row.
        row.remove_prefix(std::min<std::size_t>(2, row.size()));
        view.Rows.emplace_back(row);
        if (Contains(row, u"[Pasted text #")) {
            view.HasPastedBlock = true;
        }
    }
    if (Screen.Highlight && Screen.Highlight->Row > static_cast<std::int32_t>(*upper) &&
        Screen.Highlight->Row < static_cast<std::int32_t>(*lower) && Screen.Highlight->Column >= 2) {
        view.Caret = TScreenCell{Screen.Highlight->Row - static_cast<std::int32_t>(*upper) - 1,
                                 Screen.Highlight->Column - 2};
    }
    if (*upper > 0) {
        const std::u16string& above = rows[*upper - 1];
        view.Effort = EffortShown(above);
        view.Stashed = Contains(above, u"draft stashed");
    }
    if (view.Effort.empty()) {
        view.Effort = LastEffortMessage(rows, *upper);
    }
    for (std::size_t i = *lower + 1; i < rows.size(); ++i) {
        if (Contains(rows[i], u"-- INSERT --")) {
            view.Mode = pmVimInsert;
        }
    }
    return view;
}

std::u16string ScreenKindText(TScreenKind Kind) {
    switch (Kind) {
    case skPrompt:
        return u"Claude Code's prompt";
    case skPermission:
        return u"a permission dialog is open, and Enter would approve it";
    case skEffortQuestion:
        return u"the question \"Change effort level?\" is open, and Enter would answer it";
    case skPicker:
        return u"a picker or settings panel is open, and the keys would change its choice";
    case skHistorySearch:
        return u"history search (Ctrl+R) is open, and Enter would submit an earlier prompt";
    case skUnknown:
        break;
    }
    return u"the window shows no Claude Code prompt";
}

std::u16string PromptModeText(TPromptMode Mode) {
    switch (Mode) {
    case pmNormal:
        return u"normal";
    case pmBash:
        return u"bash mode";
    case pmVimInsert:
        return u"vim INSERT mode";
    case pmVimNormal:
        return u"vim NORMAL mode";
    }
    return u"normal";
}

std::u16string WithoutArgumentHint(std::u16string_view Row) {
    // "/name " then the hint: a blank, "[", anything, and "]" at the end of the row.
    if (Row.size() < 2 || Row.front() != u'/' || Row.back() != u']') {
        return std::u16string(Row);
    }
    const std::size_t blank = Row.find(u' ');
    if (blank == std::u16string_view::npos || blank < 2 || Row.substr(blank, 3) != u"  [") {
        return std::u16string(Row);
    }
    return std::u16string(Row.substr(0, blank + 1));
}

} // namespace tarvin
