// termsim's screens against the real CLI's: each case drives the model with the keys that led to a
// captured screen (captures/*.txt) and compares the rows Tarvin reads, row for row, and the caret.
#include "base/Base.Unicode.h"
#include "tests/tools/termsim/Termsim.Driver.h"
#include "tests/tools/termsim/Termsim.Printers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace termsim::test {
namespace {

std::vector<std::u16string> Capture(const std::string& name) {
    std::ifstream file(std::string(TERMSIM_CAPTURES) + "/" + name + ".txt", std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    std::vector<std::u16string> rows;
    std::string line;
    while (std::getline(content, line)) {
        rows.push_back(base::Utf8ToUtf16(line));
    }
    return rows;
}

struct TRowRange {
    int First;
    int Last;
};

struct TCaptureCase {
    const char* Name;
    std::function<void(TSetup&)> Setup;
    std::function<void(TDriver&)> Act;
    std::vector<TRowRange> Rows;
    std::optional<TScreenCell> Caret; // row, column
    int FromColumn = 0;               // compare each row from this column on (a glyph that turns)
    // Rows compared with another row of the capture (termsim's row, the capture's), where the CLI
    // drew more above them.
    std::vector<std::pair<int, int>> Moved = {};
};

void PrintTo(const TCaptureCase& c, std::ostream* os) {
    *os << c.Name;
}

class RealScreens : public testing::TestWithParam<TCaptureCase> {};

TEST_P(RealScreens, DrawTheRowsTarvinReadsAsTheCliDid) {
    const TCaptureCase& c = GetParam();
    const std::vector<std::u16string> captured = Capture(c.Name);
    ASSERT_EQ(captured.size(), 30u) << "capture " << c.Name << " not found or not 30 rows";
    TSetup setup;
    setup.Folder = u"/work/cc/proj";
    if (c.Setup) {
        c.Setup(setup);
    }
    TDriver driver(setup);
    c.Act(driver);

    const TScreen screen = driver.Screen(100, 30);
    const std::vector<std::u16string> rows = screen.TrimmedRows();
    ASSERT_EQ(rows.size(), 30u);
    for (const TRowRange& range : c.Rows) {
        for (int r = range.First; r <= range.Last; ++r) {
            const auto index = static_cast<std::size_t>(r);
            const auto from = static_cast<std::size_t>(c.FromColumn);
            EXPECT_EQ(base::Utf16ToUtf8(rows[index].substr(std::min(from, rows[index].size()))),
                      base::Utf16ToUtf8(captured[index].substr(std::min(from, captured[index].size()))))
                << "row " << r;
        }
    }
    for (const auto& [own, theirs] : c.Moved) {
        EXPECT_EQ(base::Utf16ToUtf8(rows[static_cast<std::size_t>(own)]),
                  base::Utf16ToUtf8(captured[static_cast<std::size_t>(theirs)]))
            << "row " << own << " against the capture's row " << theirs;
    }
    EXPECT_EQ(screen.Caret, c.Caret);
}

TKeys Times(TKey key, int count) {
    return Repeat(key, count);
}

std::u16string Words(int from, int to) {
    std::u16string text;
    for (int i = from; i <= to; ++i) {
        if (!text.empty()) {
            text += u' ';
        }
        text += u"word" + std::u16string(1, static_cast<char16_t>(u'0' + i / 10)) +
                std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
    }
    return text;
}

std::u16string Digits(int count) {
    std::u16string text;
    for (int i = 1; i <= count; ++i) {
        text += static_cast<char16_t>(u'0' + i % 10);
    }
    return text;
}

std::u16string PastedLines(int count, bool trailingBreak) {
    std::u16string text;
    for (int i = 1; i <= count; ++i) {
        text += u"pasted line " + base::AsciiToUtf16(std::to_string(i));
        if (i < count || trailingBreak) {
            text += u'\n';
        }
    }
    return text;
}

// Lines typed with a backslash and Enter between them, as the capture script typed them.
void TypeLines(TDriver& d, const std::vector<std::u16string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        d.Type(lines[i]);
        if (i + 1 < lines.size()) {
            d.Type(u"\\").Press(TKey::Enter);
        }
    }
}

std::vector<std::u16string> NumberedLines(int count) {
    std::vector<std::u16string> lines;
    for (int i = 1; i <= count; ++i) {
        lines.push_back(u"line " + base::AsciiToUtf16(std::to_string(i)));
    }
    return lines;
}

constexpr std::uint64_t Settled = 9000; // the capture script's pause after start-up

void NoIndicator(TSetup& s) {
    s.IndicatorMs = 0;
}

TScreenCell At(int row, int column) {
    return {row, column};
}

INSTANTIATE_TEST_SUITE_P(
    Captures, RealScreens,
    testing::Values(
        TCaptureCase{"a_idle_fresh_t15s", nullptr, [](TDriver& d) { d.Wait(15000); }, {{25, 29}}, At(27, 2)},
        // The conversation fills the screen: its last commands stand row for row above the box.
        TCaptureCase{"a_effort_low_indicator", nullptr,
                     [](TDriver& d) {
                         d.Wait(15000);
                         for (std::u16string_view level : {u"xhigh", u"max", u"medium", u"high", u"bogus", u"low"}) {
                             d.Type(u"/effort " + std::u16string(level)).Press(TKey::Enter);
                         }
                     },
                     {{2, 29}}, At(27, 2)},
        TCaptureCase{"b_draft_left4", nullptr,
                     [](TDriver& d) { d.Wait(Settled).Type(u"fix the parser").Press(Times(TKey::Left, 4)); },
                     {{25, 29}}, At(27, 12)},
        TCaptureCase{"c_multiline_end", NoIndicator,
                     [](TDriver& d) { TypeLines(d, {u"first line", u"second line", u"third line"}); }, {{23, 29}},
                     At(27, 12)},
        TCaptureCase{"c_multiline_up1", NoIndicator,
                     [](TDriver& d) {
                         TypeLines(d, {u"first line", u"second line", u"third line"});
                         d.Press(TKey::Up);
                     },
                     {{23, 29}}, At(26, 12)},
        TCaptureCase{"d_12lines_end", nullptr, [](TDriver& d) { TypeLines(d, NumberedLines(12)); }, {{16, 29}},
                     At(27, 9)},
        TCaptureCase{"d_12lines_top", nullptr,
                     [](TDriver& d) {
                         TypeLines(d, NumberedLines(12));
                         d.Press(Times(TKey::Up, 11));
                     },
                     {{16, 29}}, At(18, 8)},
        TCaptureCase{"d_12lines_down10", nullptr,
                     [](TDriver& d) {
                         TypeLines(d, NumberedLines(12));
                         d.Press(Times(TKey::Up, 11)).Wait(10000).Press(Times(TKey::Down, 10));
                     },
                     {{16, 29}}, At(26, 9)},
        TCaptureCase{"e_wrap_long_line", nullptr, [](TDriver& d) { d.Type(Words(1, 35)); }, {{23, 29}},
                     At(27, 64)},
        TCaptureCase{"e_wrap_nospace", nullptr, [](TDriver& d) { d.Type(Digits(230)); }, {{23, 29}}, At(27, 40)},
        TCaptureCase{"e_wrap_nospace_home", nullptr, [](TDriver& d) { d.Type(Digits(230)).Press(TKey::Home); },
                     {{23, 29}}, At(25, 2)},
        // A word longer than a row starts on a row of its own when that saves a break.
        TCaptureCase{"e_wrap_after_ctrlu_mixed", NoIndicator,
                     [](TDriver& d) { d.Type(u"q").Press(TKey::CtrlU).Type(Words(1, 26) + u" " + Digits(230)); },
                     {{21, 29}}, At(27, 40)},
        TCaptureCase{"f1_after_ctrls", nullptr,
                     [](TDriver& d) { d.Wait(Settled).Type(u"fix the parser").Press(TKey::CtrlS); }, {{25, 29}},
                     At(27, 2)},
        TCaptureCase{"f3_stash_plus_draft", nullptr,
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"fix the parser").Press(Times(TKey::CtrlS, 3)).Type(u"second draft");
                     },
                     {{25, 29}}, At(27, 14)},
        TCaptureCase{"f3_ctrls_empty_nostash", nullptr,
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"second draft").Press(TKey::CtrlU).Press(TKey::CtrlS);
                     },
                     {{25, 29}}, At(27, 2)},
        TCaptureCase{"f4_after_cmd", nullptr,
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"fix the parser").Press(TKey::CtrlS);
                         d.Type(u"/effort high").Press(TKey::Enter);
                     },
                     {{25, 29}}, At(27, 16)},
        TCaptureCase{"g1_pasted30", nullptr, [](TDriver& d) { d.Wait(Settled).Paste(PastedLines(30, true)); },
                     {{25, 29}}, At(27, 28)},
        TCaptureCase{"g3_ctrly", nullptr,
                     [](TDriver& d) {
                         d.Wait(Settled).Paste(PastedLines(30, true)).Wait(3000).Press(TKey::CtrlU).Press(TKey::CtrlY);
                     },
                     {{25, 29}}, At(27, 28)},
        TCaptureCase{"h1_bang", nullptr, [](TDriver& d) { d.Wait(Settled).Type(u"!"); }, {{25, 29}}, At(27, 2)},
        TCaptureCase{"h2_bang_ls", nullptr, [](TDriver& d) { d.Wait(Settled).Type(u"!ls"); }, {{25, 29}},
                     At(27, 4)},
        TCaptureCase{"i3_vim_insert_draft", [](TSetup& s) { s.Vim = TVimMode::Insert; },
                     [](TDriver& d) { d.Wait(Settled).Type(u"fix the parser"); }, {{25, 29}}, At(27, 16)},
        TCaptureCase{"i4_vim_normal_draft", [](TSetup& s) { s.Vim = TVimMode::Insert; },
                     [](TDriver& d) { d.Wait(Settled).Type(u"fix the parser").Press(TKey::Escape); }, {{25, 29}},
                     At(27, 15)},
        TCaptureCase{"i6_vim_normal_typed_effort", [](TSetup& s) { s.Vim = TVimMode::Insert; },
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"fix the parser").Press(TKey::Escape).Type(u"dd").Type(u"/effort low");
                     },
                     {{24, 29}}, At(27, 8)},
        TCaptureCase{"i0_slash_vim_typed", nullptr, [](TDriver& d) { d.Wait(Settled).Type(u"/vim"); }, {{25, 29}},
                     At(27, 6)},
        // The first offer only, which stands lower: the CLI's fuzzy ranking lists two more below it.
        TCaptureCase{"j1_slash_eff", nullptr, [](TDriver& d) { d.Wait(Settled).Type(u"/eff"); }, {{26, 29}},
                     At(27, 6), 0, {{25, 23}}},
        TCaptureCase{"j1b_slash_eff_tab", nullptr, [](TDriver& d) { d.Wait(Settled).Type(u"/eff").Press(TKey::Tab); },
                     {{22, 29}}, At(27, 10)},
        TCaptureCase{"j2_at_menu", nullptr, [](TDriver& d) { d.Wait(Settled).Type(u"@"); }, {{21, 29}}, At(27, 3)},
        TCaptureCase{"j3_question_help", nullptr, [](TDriver& d) { d.Wait(Settled).Type(u"?"); }, {{20, 29}},
                     At(21, 2)},
        TCaptureCase{"n1_change_effort_question",
                     [](TSetup& s) {
                         s.Question = true;
                         s.ManualMode = true;
                     },
                     [](TDriver& d) {
                         d.Type(u"quick question").Press(TKey::Enter).Wait(1500);
                         d.Type(u"/effort low").Press(TKey::Enter).Wait(300);
                     },
                     {{19, 29}}, std::nullopt},
        // The result of the answer; the CLI's conversation above it holds one notice more.
        TCaptureCase{"n4_after_esc",
                     [](TSetup& s) {
                         s.Question = true;
                         s.ManualMode = true;
                         s.IndicatorMs = 0;
                     },
                     [](TDriver& d) {
                         d.Type(u"quick question").Press(TKey::Enter).Wait(1500);
                         d.Type(u"/effort low").Press(TKey::Enter).Wait(300).Press(TKey::Enter);
                         d.Type(u"another question").Press(TKey::Enter).Wait(1500);
                         d.Type(u"/effort high").Press(TKey::Enter).Wait(500).Press(TKey::Escape);
                     },
                     {{25, 29}}, At(27, 2), 0, {{21, 23}, {22, 24}}},
        TCaptureCase{"o1_permission_dialog",
                     [](TSetup& s) {
                         s.Open = TView::Permission;
                         s.ManualMode = true;
                     },
                     [](TDriver& d) { d.Wait(2000); }, {{15, 29}}, std::nullopt},
        TCaptureCase{"l1_model_picker_clean", [](TSetup& s) { s.Open = TView::ModelPicker; },
                     [](TDriver& d) { d.Wait(1000); }, {{15, 29}}, std::nullopt},
        TCaptureCase{"a_effort_noarg", nullptr, [](TDriver& d) { d.Wait(Settled).Type(u"/effort").Press(TKey::Enter); },
                     {{21, 29}}, std::nullopt},
        // The list's rows differ: termsim draws no preview box beside them.
        TCaptureCase{"k1_ctrlr_open",
                     [](TSetup& s) {
                         s.History = {u"one", u"two", u"three", u"four", u"five", u"six", u"seven", u"eight",
                                      u"first prompt alpha", u"second prompt beta"};
                     },
                     [](TDriver& d) { d.Wait(Settled).Press(TKey::CtrlR); }, {{17, 18}, {27, 29}}, At(27, 4)},
        TCaptureCase{"l2_config_open", nullptr, [](TDriver& d) { d.Type(u"/config").Press(TKey::Enter); },
                     {{2, 7}, {29, 29}}, At(5, 4)},
        // The spinner's glyph turns, so its row is compared from the second column.
        TCaptureCase{"m1_busy_t2s",
                     [](TSetup& s) {
                         s.Busy = true;
                         s.IndicatorMs = 0;
                     },
                     [](TDriver& d) { d.Wait(2000); }, {{24, 29}},
                     At(27, 2), 1},
        // During a turn: the command's result above the box, then the level; the draft restored.
        TCaptureCase{"m3_busy_effort_typed", [](TSetup& s) { s.TurnMs = 25000; },
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"slow question").Press(TKey::Enter).Wait(4000).Type(u"/effort low");
                     },
                     {{24, 29}}, At(27, 13), 1},
        TCaptureCase{"m4_busy_effort_entered", [](TSetup& s) { s.TurnMs = 25000; },
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"slow question").Press(TKey::Enter).Wait(4000).Type(u"/effort low");
                         d.Press(TKey::Enter).Wait(1500);
                     },
                     {{24, 29}}, At(27, 2), 1},
        TCaptureCase{"m5_busy_later", [](TSetup& s) { s.TurnMs = 25000; },
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"slow question").Press(TKey::Enter).Wait(4000).Type(u"/effort low");
                         d.Press(TKey::Enter).Wait(4500);
                     },
                     {{25, 29}}, At(27, 2)},
        TCaptureCase{"f7_stash_restore_while_busy", [](TSetup& s) { s.TurnMs = 8000; },
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"fix the parser").Press(TKey::CtrlS).Type(u"slow one");
                         d.Press(TKey::Enter).Wait(1500);
                     },
                     {{25, 29}}, At(27, 16)},
        TCaptureCase{"h3_bang_ls_done", nullptr,
                     [](TDriver& d) { d.Wait(Settled).Type(u"!ls").Press(TKey::Enter).Wait(1000); }, {{25, 29}},
                     At(27, 2)},
        TCaptureCase{"k2_ctrlr_alp",
                     [](TSetup& s) {
                         s.History = {u"one", u"two", u"three", u"four", u"five", u"six", u"seven", u"eight",
                                      u"first prompt alpha", u"second prompt beta"};
                     },
                     [](TDriver& d) { d.Wait(Settled).Press(TKey::CtrlR).Type(u"alp"); }, {{17, 18}, {27, 29}},
                     At(27, 7)},
        TCaptureCase{"g6_pasted_twice", nullptr,
                     [](TDriver& d) {
                         d.Wait(Settled).Paste(PastedLines(30, true)).Wait(3000);
                         d.Press(TKey::CtrlU).Press(TKey::CtrlY).Press(TKey::Enter).Wait(3000);
                         d.Paste(PastedLines(30, false)).Wait(1500).Paste(PastedLines(30, false)).Wait(1500);
                     },
                     {{16, 29}}, At(27, 16)},
        TCaptureCase{"f3_up_history",
                     [](TSetup& s) {
                         s.History = {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10", u"/effort medium"};
                     },
                     [](TDriver& d) {
                         d.Wait(Settled).Type(u"second draft").Press(TKey::CtrlU).Press(TKey::CtrlS).Press(TKey::Up);
                     },
                     {{25, 29}}, At(27, 16)},
        TCaptureCase{"esc2_empty_fast", nullptr,
                     [](TDriver& d) {
                         d.Type(u"submitted text").Press(TKey::Enter).Wait(2000);
                         d.Press(Keys({TKey::Escape, TKey::Escape}), 50);
                     },
                     {{17, 29}}, std::nullopt},
        TCaptureCase{"esc1_hint", nullptr,
                     [](TDriver& d) {
                         d.Type(u"submitted text").Press(TKey::Enter).Wait(2000);
                         TypeLines(d, {u"line one", u"line two"});
                         d.Press(TKey::Escape);
                     },
                     {{24, 29}}, At(27, 2)}),
    [](const testing::TestParamInfo<TCaptureCase>& test) { return std::string(test.param.Name); });

} // namespace
} // namespace termsim::test
