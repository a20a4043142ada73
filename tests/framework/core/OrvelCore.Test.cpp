#include "framework/core/OrvelCore.h"

#include "base/Base.Unicode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

struct TReplaceCase {
    std::u16string Text;
    std::u16string Old;
    std::u16string New;
    std::u16string Expected;
};

TEST(ReplaceAllNoCase, ReplacesEveryOccurrenceIgnoringCase) {
    const std::vector<TReplaceCase> cases = {
        {u"Hello World", u"o", u"0", u"Hell0 W0rld"},
        {u"aAaA", u"a", u"b", u"bbbb"},
        {u"abcABCAbc", u"ABC", u"x", u"xxx"},
        {u"aaa", u"a", u"aa", u"aaaaaa"}, // inserted text is not scanned again
        {u"aaaa", u"aa", u"b", u"bb"},
        {u"aaa", u"aa", u"b", u"ba"},
        {u"keep me", u"zz", u"y", u"keep me"},
        {u"ab", u"abc", u"y", u"ab"},
        {u"remove THIS and this", u"this", u"", u"remove  and "},
        {u"", u"a", u"b", u""},
        {u"\u00C4rger \u00E4rger", u"\u00E4RGER", u"x", u"x x"},
        {u"\u0391\u0392\u0393 \u03B1\u03B2\u03B3", u"\u03B1\u03B2\u03B3", u"x", u"x x"},
        {u"\u041F\u0440\u0438\u0432\u0435\u0442 \u041F\u0420\u0418\u0412\u0415\u0422",
         u"\u043F\u0440\u0438\u0432\u0435\u0442", u"x", u"x x"},
        {u"\u0150z \u0151Z", u"\u0151z", u"x", u"x x"},
        {u"\u00D7 \u00F7", u"\u00F7", u"x", u"\u00D7 x"}, // multiplication and division signs differ
        {u"[Key]", u"[KEY]", u"<k>", u"<k>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Text));
        EXPECT_EQ(ReplaceAllNoCase(c.Text, c.Old, c.New), c.Expected);
    }
}

TEST(ReplaceAllNoCase, EmptyOldLeavesTextUnchanged) {
    EXPECT_EQ(ReplaceAllNoCase(u"abc", u"", u"x"), u"abc");
}

struct TWithCase {
    std::u16string Text;
    std::u16string With;
    std::u16string Expected;
};

void ExpectAll(const std::vector<TWithCase>& cases,
               std::u16string (*routine)(const std::u16string&, const std::u16string&)) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(routine(cases[i].Text, cases[i].With), cases[i].Expected);
    }
}

TEST(ReplaceLineBreaks, EachKindOfLineBreakBecomesOneReplacement) {
    ExpectAll(
        {
            {u"a\r\nb\rc\nd", u" ", u"a b c d"},
            {u"\r\n\r\n", u"|", u"||"},
            {u"\n\r", u"|", u"||"},
            {u"\r\r\n", u"|", u"||"},
            {u"end\r", u"", u"end"},
            {u"no breaks", u" ", u"no breaks"},
            {u"", u" ", u""},
        },
        ReplaceLineBreaks);
}

TEST(ReplaceLineBreaks, ReplacementHoldingLineBreaksIsNotReplacedAgain) {
    ExpectAll(
        {
            {u"a\rb\nc\r\nd", u"\r\n", u"a\r\nb\r\nc\r\nd"},
            {u"a\r\nb", u"\n", u"a\nb"},
            {u"a\nb", u"\r", u"a\rb"},
        },
        ReplaceLineBreaks);
}

TEST(ReplaceWideChars, CodeUnitsAbove255BecomeTheReplacementKeepingLength) {
    const std::u16string text = u"a\u00E9\u00FF\u0100\u20AC\U0001D11E";
    const std::u16string result = ReplaceWideChars(text, u'?');
    EXPECT_EQ(result, u"a\u00E9\u00FF????");
    EXPECT_EQ(result.size(), text.size());
    EXPECT_EQ(ReplaceWideChars(u"", u'?'), u"");
}

TEST(ReplaceLoneCR, OnlyCarriageReturnsWithoutLineFeedAreReplaced) {
    ExpectAll(
        {
            {u"a\rb", u"", u"ab"},
            {u"end\r", u"", u"end"},
            {u"a\r\nb", u"", u"a\r\nb"},
            {u"\r\r\n", u"XY", u"XY\r\n"},
            {u"\r\r", u"<cr>", u"<cr><cr>"},
            {u"a\nb", u"-", u"a\nb"},
            {u"", u"-", u""},
        },
        ReplaceLoneCR);
}

TEST(ReplaceLoneLF, OnlyLineFeedsWithoutCarriageReturnAreReplaced) {
    ExpectAll(
        {
            {u"\nstart", u"", u"start"},
            {u"a\r\nb", u"", u"a\r\nb"},
            {u"a\n\nb", u"-", u"a--b"},
            {u"\r\n\n", u"XY", u"\r\nXY"},
            {u"a\rb", u"-", u"a\rb"},
            {u"", u"-", u""},
        },
        ReplaceLoneLF);
}

TEST(ExpandCrlfTokens, TokenBecomesLineBreakLosingOneBlankEachSide) {
    const std::vector<std::pair<std::u16string, std::u16string>> cases = {
        {u"a CRLF b", u"a\r\nb"},     {u"aCRLFb", u"a\r\nb"},
        {u"a  CRLF  b", u"a \r\n b"}, {u"a CRLF CRLF b", u"a\r\n\r\nb"},
        {u"CRLFCRLF", u"\r\n\r\n"},   {u"xCRLFy", u"x\r\ny"}, // found inside a word
        {u"a crlf b", u"a crlf b"},                           // case-sensitive
        {u"CRL F", u"CRL F"},         {u"", u""},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(text));
        EXPECT_EQ(ExpandCrlfTokens(text), expected);
    }
}

TEST(InsertCrlfTokens, PairsBecomeTokensWithBlanksLoneBreaksStay) {
    EXPECT_EQ(InsertCrlfTokens(u"a\r\nb"), u"a CRLF b");
    EXPECT_EQ(InsertCrlfTokens(u"\r\n\r\n"), u" CRLF  CRLF ");
    EXPECT_EQ(InsertCrlfTokens(u"a\rb\nc"), u"a\rb\nc");
    EXPECT_EQ(InsertCrlfTokens(u""), u"");
}

TEST(InsertCrlfTokens, ExpandGivesBackTextWithoutBlanksAroundBreaks) {
    const std::vector<std::u16string> texts = {u"one\r\ntwo", u"\r\nstart", u"end\r\n",
                                               u"a\r\n\r\nb", u"no breaks", u"lone\rcr and\nlf"};
    for (const auto& text : texts) {
        SCOPED_TRACE(base::Utf16ToUtf8(text));
        EXPECT_EQ(ExpandCrlfTokens(InsertCrlfTokens(text)), text);
    }
}

TEST(CopyRange, CopiesInclusiveOneBasedRangeAsFarAsTextReaches) {
    struct TCase {
        std::ptrdiff_t From;
        std::ptrdiff_t To;
        std::u16string Expected;
    };
    const std::vector<TCase> cases = {
        {2, 4, u"ell"}, {1, 5, u"Hello"}, {2, 2, u"e"},  {3, 99, u"llo"}, {4, 3, u""},
        {6, 8, u""},    {0, 2, u"He"},    {-3, -1, u""}, {5, 5, u"o"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.From) + ".." + std::to_string(c.To));
        EXPECT_EQ(CopyRange(u"Hello", c.From, c.To), c.Expected);
    }
    EXPECT_EQ(CopyRange(u"", 1, 1), u"");
}

TEST(FirstAndLastCharStr, GiveOneCharacterOrEmpty) {
    EXPECT_EQ(FirstCharStr(u""), u"");
    EXPECT_EQ(LastCharStr(u""), u"");
    EXPECT_EQ(FirstCharStr(u"x"), u"x");
    EXPECT_EQ(LastCharStr(u"x"), u"x");
    EXPECT_EQ(FirstCharStr(u"abc"), u"a");
    EXPECT_EQ(LastCharStr(u"abc"), u"c");
}

TEST(LastIndexOfChar, GivesOneBasedPositionOfLastOccurrenceOrZero) {
    EXPECT_EQ(LastIndexOfChar(u'l', u"Hello"), 4u);
    EXPECT_EQ(LastIndexOfChar(u'H', u"Hello"), 1u);
    EXPECT_EQ(LastIndexOfChar(u'o', u"Hello"), 5u);
    EXPECT_EQ(LastIndexOfChar(u'z', u"Hello"), 0u);
    EXPECT_EQ(LastIndexOfChar(u'a', u""), 0u);
}

TEST(TrimControl, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
    const std::vector<std::pair<std::u16string, std::u16string>> cases = {
        {u" \t abc \r\n", u"abc"},
        {u"a b\tc", u"a b\tc"},
        {u"\x01\x1F x \x20", u"x"},
        {u"!", u"!"},
        {u"   ", u""},
        {u"", u""},
        {u"\u00A0x\u00A0", u"\u00A0x\u00A0"}, // no-break space has a code above 32
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(text));
        EXPECT_EQ(TrimControl(text), expected);
    }
}

} // namespace
} // namespace orvel
