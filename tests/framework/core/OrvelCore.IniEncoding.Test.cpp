#include "framework/core/OrvelCore.IniEncoding.h"

#include "tests/framework/core/OrvelCore.IniTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

using namespace std::string_literals;

TEST(IniEncoding, MarkDecidesElseValidUtf8ElseAnsi) {
    struct TCase {
        const char* Name;
        std::string Bytes;
        TIniTextForm Form;
    };
    const std::vector<TCase> cases = {
        {"empty", "", {TIniEncoding::Utf8, false}},
        {"ASCII", "[S]\r\nk=v\r\n", {TIniEncoding::Utf8, false}},
        {"UTF-8 without mark", "k=\xC3\x89", {TIniEncoding::Utf8, false}},
        {"UTF-8 mark", "\xEF\xBB\xBFk=v", {TIniEncoding::Utf8, true}},
        {"UTF-8 mark over ill-formed bytes", "\xEF\xBB\xBFk=\xE9", {TIniEncoding::Utf8, true}},
        {"UTF-16 LE mark",
         "\xFF\xFE[\0"
         "S\0]\0"s,
         {TIniEncoding::Utf16LE, true}},
        {"UTF-16 BE mark", "\xFE\xFF\0["s, {TIniEncoding::Utf16BE, true}},
        {"a mark alone", "\xFF\xFE", {TIniEncoding::Utf16LE, true}},
        {"Windows-1252 text",
         "AcceptedClasses=\xC9"
         "cran",
         {TIniEncoding::Ansi, false}},
        {"one stray byte at the very end", "k=v\r\n\xA0", {TIniEncoding::Ansi, false}},
        {"half a UTF-8 mark", "\xEF\xBB", {TIniEncoding::Ansi, false}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(DetectIniTextForm(c.Bytes), c.Form);
    }
}

TEST(IniEncoding, EveryAnsiByteReadsBackAsItself) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::u16string text = DecodeIniText(all, TIniEncoding::Ansi);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(EncodeIniText(text, TIniEncoding::Ansi), all);
}

TEST(IniEncoding, AnsiIsWindows1252) {
    struct TCase {
        char Byte;
        char16_t Unit;
    };
    const std::vector<TCase> cases = {
        {'A', u'A'},         {'\x80', u'\u20AC'}, {'\x81', u'\u0081'}, {'\x8A', u'\u0160'},
        {'\x8D', u'\u008D'}, {'\x92', u'\u2019'}, {'\x9D', u'\u009D'}, {'\x9F', u'\u0178'},
        {'\xA0', u'\u00A0'}, {'\xC9', u'\u00C9'}, {'\xFF', u'\u00FF'},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.Byte)));
        EXPECT_EQ(DecodeIniText(std::string(1, c.Byte), TIniEncoding::Ansi), std::u16string(1, c.Unit));
        EXPECT_EQ(EncodeIniText(std::u16string(1, c.Unit), TIniEncoding::Ansi), std::string(1, c.Byte));
    }
    // Characters the code page lacks, including C1 controls whose bytes stand for other characters.
    for (const std::u16string text : {u"\u2733", u"\u7A97", u"\u0080", u"\u009F", u"ok\u0100"}) {
        EXPECT_EQ(EncodeIniText(text, TIniEncoding::Ansi), std::nullopt);
    }
}

TEST(IniEncoding, Utf16TakesUnitsInTheirByteOrder) {
    const std::u16string text = u"k=\u7A97\U0001F600\xD800";
    EXPECT_EQ(EncodeIniText(text, TIniEncoding::Utf16LE), test::Utf16LEBytes(text));
    EXPECT_EQ(EncodeIniText(text, TIniEncoding::Utf16BE), test::Utf16BEBytes(text));
    EXPECT_EQ(DecodeIniText(test::Utf16LEBytes(text), TIniEncoding::Utf16LE), text);
    EXPECT_EQ(DecodeIniText(test::Utf16BEBytes(text) + "\x41", TIniEncoding::Utf16BE), text);
    EXPECT_EQ(CodeUnitAt(test::Utf16BEBytes(u"a="), 2, TIniEncoding::Utf16BE), u'=');
    EXPECT_EQ(ByteOrderMarkOf(TIniEncoding::Utf16BE), "\xFE\xFF");
    EXPECT_EQ(ByteOrderMarkOf(TIniEncoding::Ansi), "");
}

} // namespace
} // namespace orvel
