#include "base/Base.Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace base {
namespace {

struct TCompareCase {
    std::u16string A;
    std::u16string B;
    bool Same;
};

// Only A-Z and a-z fold; letters outside ASCII and the characters next to the ASCII letters in the
// code table ('@', '[', '`', '{') must not be taken for letters.
const std::vector<TCompareCase> CompareCases = {
    {u"", u"", true},
    {u"Caption", u"caption", true},
    {u"CASCADIA_HOSTING_WINDOW_CLASS", u"cascadia_hosting_window_class", true},
    {u"Hint", u"Hints", false},
    {u"\u00C9t\u00E9", u"\u00E9T\u00C9", false},
    {u"@", u"`", false},
    {u"[", u"{", false},
    {u"Z", u"z", true},
    {u"a", u"A", true},
};

TEST(BaseText, SameTextAsciiFoldsOnlyAsciiLetters) {
    for (const auto& c : CompareCases) {
        EXPECT_EQ(SameTextAscii(c.A, c.B), c.Same);
        EXPECT_EQ(SameTextAscii(c.B, c.A), c.Same);
        EXPECT_EQ(FoldedAscii(c.A) == FoldedAscii(c.B), c.Same);
    }
}

TEST(BaseText, StartsWithTextAsciiComparesOnlyThePrefix) {
    EXPECT_TRUE(StartsWithTextAscii(u"ctrl+Alt+1", u"Ctrl+"));
    EXPECT_TRUE(StartsWithTextAscii(u"Alt", u""));
    EXPECT_FALSE(StartsWithTextAscii(u"Ctr", u"Ctrl+"));
    EXPECT_FALSE(StartsWithTextAscii(u"\u00C9x", u"\u00E9"));
}

TEST(BaseText, UpperAsciiRaisesOnlyAsciiLetters) {
    const std::u16string from = u"az AZ09@[`{\u00E9\u00FF";
    const std::u16string to = u"AZ AZ09@[`{\u00E9\u00FF";
    for (std::size_t i = 0; i < from.size(); ++i) {
        EXPECT_EQ(UpperAscii(from[i]), to[i]) << i;
        EXPECT_EQ(FoldAscii(UpperAscii(from[i])), FoldAscii(from[i])) << i;
    }
}

TEST(BaseText, TrimBlanksDropsSpacesAndTabsAtBothEndsOnly) {
    struct TCase {
        std::u16string_view Text;
        std::u16string_view Trimmed;
    };
    const TCase cases[] = {
        {u"", u""},
        {u" \t ", u""},
        {u"\tKey = Value  ", u"Key = Value"},
        {u"inner  blanks", u"inner  blanks"},
        // Line breaks, NULs and the no-break space are text to an INI file, not blanks.
        {u"\r\nx\n", u"\r\nx\n"},
        {u"\u00A0x\u00A0", u"\u00A0x\u00A0"},
        {std::u16string_view(u" \0 ", 3), std::u16string_view(u"\0", 1)},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(TrimBlanks(c.Text), c.Trimmed);
    }
    EXPECT_TRUE(IsBlank(u' '));
    EXPECT_TRUE(IsBlank(u'\t'));
    EXPECT_FALSE(IsBlank(u'\v'));
    EXPECT_FALSE(IsBlank(u'\u3000'));
}

TEST(BaseText, FoldedAsciiLeavesOtherCodeUnitsAlone) {
    EXPECT_EQ(FoldedAscii(u"HKCU\\Software\\\u00C9DITEUR"), u"hkcu\\software\\\u00C9diteur");
}

// The test goes sixteen units a step with the last step overlapping the one before: a break at
// any place of texts around those sizes must be found, and none where there is none.
TEST(BaseText, HasLineBreakFindsABreakWhereverItStands) {
    for (const char16_t brk : {u'\r', u'\n'}) {
        for (std::size_t length = 1; length <= 40; ++length) {
            EXPECT_FALSE(HasLineBreak(std::u16string(length, u'x'))) << length;
            // Units next to CR and LF in value, and the same low byte in a wider unit.
            EXPECT_FALSE(HasLineBreak(std::u16string(length, static_cast<char16_t>(brk + 1))));
            EXPECT_FALSE(HasLineBreak(std::u16string(length, static_cast<char16_t>(brk | 0x0100))));
            for (std::size_t at = 0; at < length; ++at) {
                std::u16string text(length, u'x');
                text[at] = brk;
                EXPECT_TRUE(HasLineBreak(text)) << "length " << length << ", break at " << at;
            }
        }
    }
    EXPECT_FALSE(HasLineBreak(u""));
}

} // namespace
} // namespace base
