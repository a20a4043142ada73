#include "base/Base.Unicode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace base {
namespace {

struct TWellFormedCase {
    std::u16string Utf16;
    std::string Utf8;
};

// One case per UTF-8 sequence length, plus text mixing them.
const std::vector<TWellFormedCase> WellFormed = {
    {u"", ""},
    {u"Tarvin /effort high", "Tarvin /effort high"},
    {u"\u00E9", "\xC3\xA9"},
    {u"\u07FF", "\xDF\xBF"},
    {u"\u0800", "\xE0\xA0\x80"},
    {u"\u20AC", "\xE2\x82\xAC"},
    {u"\uFFFF", "\xEF\xBF\xBF"},
    {u"\U00010000", "\xF0\x90\x80\x80"},
    {u"\U0001D11E", "\xF0\x9D\x84\x9E"},
    {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
    {u"a\u00E9\u20AC\U0001F600z", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z"},
    {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
};

TEST(Unicode, WellFormedTextConvertsBothWays) {
    for (std::size_t i = 0; i < WellFormed.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(base::Utf16ToUtf8(WellFormed[i].Utf16), WellFormed[i].Utf8);
        EXPECT_EQ(base::Utf8ToUtf16(WellFormed[i].Utf8), WellFormed[i].Utf16);
    }
}

TEST(Unicode, LoneSurrogatesBecomeReplacementCharacterAndRestSurvives) {
    const std::vector<TWellFormedCase> cases = {
        {u"a\xD800"
         u"b",
         "a\xEF\xBF\xBD"
         "b"},
        {u"a\xDC00"
         u"b",
         "a\xEF\xBF\xBD"
         "b"},
        {u"end\xD83D", "end\xEF\xBF\xBD"},
        {u"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD"}, // reversed pair is two lone halves
        {u"\xD800\xD800\xDC00", "\xEF\xBF\xBD\xF0\x90\x80\x80"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(base::Utf16ToUtf8(cases[i].Utf16), cases[i].Utf8);
    }
}

TEST(Unicode, IllFormedUtf8BecomesReplacementCharacterAndRestSurvives) {
    const std::vector<std::pair<std::string, std::u16string>> cases = {
        {"a\x80"
         "b",
         u"a\uFFFDb"}, // continuation byte without a lead
        {"a\xFF"
         "b",
         u"a\uFFFDb"}, // byte never used in UTF-8
        {"\xE2\x82"
         "x",
         u"\uFFFDx"},                // truncated sequence, resumes at x
        {"end\xE2", u"end\uFFFD"},   // truncated at the end
        {"\xF0\x9F\x98", u"\uFFFD"}, // truncated four-byte sequence
        {"\xED\xA0\x80"
         "z",
         u"\uFFFDz"}, // encoded surrogate
        {"\xF4\x90\x80\x80"
         "z",
         u"\uFFFDz"}, // above U+10FFFF
        {"\xE0\x80\xAF"
         "z",
         u"\uFFFDz"}, // overlong encoding of '/'
        {"\xC3\xA9\x80\xC3\xA9", u"\u00E9\uFFFD\u00E9"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const std::u16string result = base::Utf8ToUtf16(cases[i].first);
        EXPECT_EQ(result, cases[i].second);
        EXPECT_FALSE(base::IsValidUtf8(cases[i].first));
    }
}

TEST(Unicode, WellFormedUtf8IsValidAndAnsiTextIsNot) {
    for (std::size_t i = 0; i < WellFormed.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_TRUE(base::IsValidUtf8(WellFormed[i].Utf8));
    }
    EXPECT_TRUE(base::IsValidUtf8("\xEF\xBF\xBD")); // U+FFFD written out is itself well-formed
    EXPECT_FALSE(base::IsValidUtf8("Caf\xE9"));     // Windows-1252 e acute
    EXPECT_FALSE(base::IsValidUtf8("\xC9"
                                   "cran;x"));      // Windows-1252 E acute before ASCII
    EXPECT_FALSE(base::IsValidUtf8("\xFF\xFE[S]")); // a UTF-16 mark read as bytes
}

// The ASCII fast paths go sixteen units a step with the last step overlapping the one before; a
// non-ASCII character, an ill-formed one or a pair at any place of texts around those sizes must
// come out as it does one character at a time.
TEST(Unicode, ConversionIsTheSameWhereverInALongTextTheOtherCharacterStands) {
    struct TOther {
        std::u16string Utf16;
        std::string Utf8;
        std::u16string Back; // what the UTF-8 reads back as
    };
    const std::vector<TOther> others = {
        {u"\u00E9", "\xC3\xA9", u"\u00E9"},
        {u"\U0001F600", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {u"\xD800", "\xEF\xBF\xBD", u"\uFFFD"}, // lone surrogate
        {u"\u007F", "\x7F", u"\u007F"},          // the last ASCII unit stays on the fast path
    };
    for (const TOther& other : others) {
        for (std::size_t length = 0; length <= 40; ++length) {
            for (std::size_t at = 0; at <= length; ++at) {
                SCOPED_TRACE("length " + std::to_string(length) + ", other at " + std::to_string(at));
                const std::u16string text = std::u16string(at, u'a') + other.Utf16 + std::u16string(length - at, u'z');
                const std::string utf8 = std::string(at, 'a') + other.Utf8 + std::string(length - at, 'z');
                EXPECT_EQ(base::Utf16ToUtf8(text), utf8);
                EXPECT_EQ(base::Utf8ToUtf16(utf8), std::u16string(at, u'a') + other.Back + std::u16string(length - at, u'z'));
            }
        }
    }
}

TEST(Unicode, ConversionIntoABufferWritesNoMoreThanItGives) {
    // Converting into the caller's buffer may touch only the bytes it reports, whatever the text's
    // length: a line's text is decoded straight into storage that the next line uses.
    for (std::size_t length = 0; length <= 40; ++length) {
        SCOPED_TRACE("length " + std::to_string(length));
        const std::u16string text(length, u'x');
        std::string out(base::MaxUtf8BytesPerUnit * length + 8, '#');
        const std::size_t bytes = base::Utf16ToUtf8(text, out.data());
        EXPECT_EQ(bytes, length);
        EXPECT_EQ(out.substr(bytes), std::string(out.size() - bytes, '#'));

        const std::string utf8(length, 'y');
        std::u16string back(length + 8, u'#');
        const std::size_t units = base::Utf8ToUtf16(utf8, back.data());
        EXPECT_EQ(units, length);
        EXPECT_EQ(back.substr(units), std::u16string(back.size() - units, u'#'));
    }
}

TEST(Unicode, AsciiToUtf16KeepsEveryCharacter) {
    EXPECT_EQ(base::AsciiToUtf16("Tarvin.ini 0123"), u"Tarvin.ini 0123");
    EXPECT_EQ(base::AsciiToUtf16(""), u"");
    EXPECT_EQ(base::AsciiToUtf16(std::string("\r\n\t", 3)), u"\r\n\t");
}

} // namespace
} // namespace base
