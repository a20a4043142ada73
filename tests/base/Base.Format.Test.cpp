#include "base/Base.Format.h"

#include "base/Base.Exceptions.h"
#include "base/Base.Unicode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace base {
namespace {

struct TFormatCase {
    const char* What;
    std::u16string Got;
    std::u16string Expected;
};

TEST(Format, PutsEachKindOfArgumentInItsPlace) {
    const std::u16string owned = u"C:\\Data\\Tarvin.ini";
    const TFormatCase cases[] = {
        {"no placeholder", Format(u"Stream write error"), u"Stream write error"},
        {"int", Format(u"List index out of bounds ({0})", -1), u"List index out of bounds (-1)"},
        {"two in order", Format(u"Windows accepted only {0} of {1} keystrokes", 3, 12),
         u"Windows accepted only 3 of 12 keystrokes"},
        {"order is free", Format(u"{1} before {0}", u"first", u"second"), u"second before first"},
        {"used twice", Format(u"{0}-{0}", 7), u"7-7"},
        {"int8 is a number", Format(u"{0}", std::int8_t{-5}), u"-5"},
        {"uint8 is a number", Format(u"{0}", std::uint8_t{200}), u"200"},
        {"int64 min", Format(u"{0}", std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808"},
        {"int64 max", Format(u"{0}", std::numeric_limits<std::int64_t>::max()), u"9223372036854775807"},
        {"uint64 max", Format(u"{0}", std::numeric_limits<std::uint64_t>::max()), u"18446744073709551615"},
        {"uint32 above int32", Format(u"{0}", std::uint32_t{4000000000u}), u"4000000000"},
        {"zero", Format(u"{0}", 0), u"0"},
        {"size_t", Format(u"{0} bytes", std::size_t{65}), u"65 bytes"},
        {"double shortest", Format(u"{0}", 0.1), u"0.1"},
        {"double whole", Format(u"{0}", 100.0), u"100"},
        {"double large", Format(u"{0}", 1e22), u"1e+22"},
        {"float", Format(u"{0}", 1.5f), u"1.5"},
        {"text view", Format(u"[{0}]", std::u16string_view(u"ab")), u"[ab]"},
        {"text owned", Format(u"Unable to write to {0}", owned), u"Unable to write to C:\\Data\\Tarvin.ini"},
        {"text beyond ASCII", Format(u"{0}", u"\u00FCber \U0001F600"), u"\u00FCber \U0001F600"},
        {"empty text", Format(u"<{0}>", u""), u"<>"},
        {"mixed kinds", Format(u"{0} {1} {2} {3}", -2, 3u, 0.5, u"x"), u"-2 3 0.5 x"},
        {"double brace", Format(u"{{0} is {0}", 1), u"{0} is 1"},
        {"lone braces stay", Format(u"{ } {x} {0 {", 9), u"{ } {x} {0 {"},
        {"closing brace alone", Format(u"a}b {0}}", 2), u"a}b 2}"},
        {"brace at the end", Format(u"end {", 1), u"end {"},
        {"leading zeros", Format(u"{01}", 5, 6), u"6"},
        {"placeholder at the start", Format(u"{0}%", 50), u"50%"},
    };
    for (const TFormatCase& c : cases) {
        EXPECT_EQ(c.Got, c.Expected) << c.What << ": " << Utf16ToUtf8(c.Got);
    }
}

TEST(Format, APlaceholderWithoutItsArgumentFailsAnAssertion) {
    for (const char16_t* pattern : {u"{1}", u"{2} {0}", u"{99999999999999999999}"}) {
        EXPECT_THROW(Format(pattern, 1), EAssertionFailed) << Utf16ToUtf8(pattern);
    }
    EXPECT_THROW(Format(u"{0}"), EAssertionFailed);
}

} // namespace
} // namespace base
