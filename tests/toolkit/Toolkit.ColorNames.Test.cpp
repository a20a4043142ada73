#include "toolkit/Toolkit.ColorNames.h"

#include <gtest/gtest.h>
#include <initializer_list>

#include <string>
#include <vector>

namespace toolkit {
namespace {

TEST(ColorNamesTest, NamedColoursUseTheirNameAndOthersEightHexDigits) {
    const std::vector<std::pair<TColor, std::u16string>> cases{
        {clBlack, u"clBlack"},
        {clRed, u"clRed"},
        {clWhite, u"clWhite"},
        {clBtnFace, u"clBtnFace"},
        {clWindowText, u"clWindowText"},
        {clNone, u"clNone"},
        {0x00336699, u"$00336699"},
        {0x0000ABCD, u"$0000ABCD"},
        {static_cast<TColor>(0xFF000019), u"$FF000019"}, // a system colour the table does not name
        {-1, u"$FFFFFFFF"},
    };
    for (const auto& [color, text] : cases) {
        EXPECT_EQ(ColorToString(color), text);
        EXPECT_EQ(StringToColor(text), color);
    }
}

TEST(ColorNamesTest, EveryWrittenTextReadsBackToTheSameColour) {
    for (std::uint32_t pattern : {0u, 0x80u, 0xC0C0C0u, 0xFF00000Fu, 0x1FFFFFFFu, 0x20000000u, 0x12345678u,
                                  0xFF00001Du, 0xFFFFFFFFu}) {
        const auto color = static_cast<TColor>(pattern);
        EXPECT_EQ(StringToColor(ColorToString(color)), color) << pattern;
    }
}

TEST(ColorNamesTest, ReadingAcceptsNamesInAnyCaseHtmlTextAndIntegers) {
    const std::vector<std::pair<std::u16string, TColor>> cases{
        {u"CLRED", clRed},
        {u"clbtnface", clBtnFace},
        {u"#F00", clRed},
        {u"#00f", clBlue},
        {u"#0000FF", clBlue},
        {u"#123456", 0x563412},
        {u"255", clRed},
        {u"-16777201", clBtnFace},
        {u"+16", 16},
        {u"$ff", clRed},
        {u"0x0000FF00", clLime},
        {u"2147483647", 0x7FFFFFFF},
        {u"-2147483648", static_cast<TColor>(0x80000000u)},
    };
    for (const auto& [text, color] : cases) {
        EXPECT_EQ(StringToColor(text), color) << std::string(text.begin(), text.end());
    }
}

TEST(ColorNamesTest, TextThatNamesNoColourRaisesTheConversionError) {
    for (const std::u16string& text : std::initializer_list<std::u16string>{
             u"", u"clReddish", u"#12", u"#1234", u"#GGG", u"$", u"$123456789", u"0x", u"12a", u"2147483648",
             u"-2147483649", u" 12", u"-", u"99999999999"}) {
        EXPECT_THROW(StringToColor(text), EConvertError) << std::string(text.begin(), text.end());
    }
}

} // namespace
} // namespace toolkit
