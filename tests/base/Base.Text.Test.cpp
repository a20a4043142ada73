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
