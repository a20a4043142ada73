#include "framework/ui/OrvelVcl.Common.LogColors.h"
#include "framework/ui/OrvelVcl.Common.RtfWriter.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "tests/Test.Support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace orvel {
namespace {

TEST(LogColors, EachLevelHasItsColourInBothPalettes) {
    struct Case {
        TLogVerbLvl Level;
        toolkit::TColor Standard;
        toolkit::TColor Dark;
    };
    const Case cases[] = {
        {lvDebug, 0x909090, 0x909090},  {lvVerbose, 0x808080, 0xB0B0B0},   {lvHints, 0x707070, 0xC0C0C0},
        {lvInfos, 0x000000, 0xFFFFFF},  {lvImportant, 0x0099CC, 0x99CCFF}, {lvWarnings, 0x0078FF, 0x0078FF},
        {lvErrors, 0x0000FF, 0x0000FF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Verbosity2Color(c.Level, false), c.Standard) << int(c.Level);
        EXPECT_EQ(Verbosity2Color(c.Level, true), c.Dark) << int(c.Level);
    }
}

TEST(LogColors, ALevelOutsideTheSevenRaises) {
    EXPECT_THROW_MSG(Verbosity2Color(static_cast<TLogVerbLvl>(7), false), EOrvelException,
                     u"Verbosity2Color: Invalid log verbosity level");
}

TEST(LogColors, TheDarkPaletteStartsBelowLuma127) {
    EXPECT_FALSE(IsDarkBackground(0xFFFFFF));
    EXPECT_TRUE(IsDarkBackground(0x000000));
    EXPECT_TRUE(IsDarkBackground(0x202020));
    // Grey 127 has luma exactly 127: not below, so light.
    EXPECT_FALSE(IsDarkBackground(0x7F7F7F));
    EXPECT_TRUE(IsDarkBackground(0x7E7E7E));
    // Pure green (luma 149.7) is light, pure red (76.2) and pure blue (29.1) are dark.
    EXPECT_FALSE(IsDarkBackground(0x00FF00));
    EXPECT_TRUE(IsDarkBackground(0x0000FF));
    EXPECT_TRUE(IsDarkBackground(0xFF0000));
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

TEST(RtfWriter, OneParagraphPerLineInItsLevelColourAndWeight) {
    const std::string rtf = BuildLogRtf(
        {{u"plain info", lvInfos, false}, {u"bold warning", lvWarnings, true}, {u"error", lvErrors, false}},
        false);
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(Count(rtf, "\\par\n"), 3u);
    // Colour table entry n+1 is level n; warnings are red 0xFF, green 0x78, blue 0.
    EXPECT_NE(rtf.find("{\\colortbl ;\\red144\\green144\\blue144;"), std::string::npos);
    EXPECT_NE(rtf.find("\\red255\\green120\\blue0;"), std::string::npos);
    EXPECT_NE(rtf.find("\\cf4\\b0 plain info\\par"), std::string::npos);
    EXPECT_NE(rtf.find("\\cf6\\b bold warning\\par"), std::string::npos);
    EXPECT_NE(rtf.find("\\cf7\\b0 error\\par"), std::string::npos);
    EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '{'), std::count(rtf.begin(), rtf.end(), '}'));
}

TEST(RtfWriter, TextThatLooksLikeMarkupOrIsNotAsciiIsEscaped) {
    const std::string rtf =
        BuildLogRtf({{u"a\\b {c} \u00e9\u20ac\U0001F600\ttab\x01x", lvInfos, false}}, false);
    EXPECT_NE(rtf.find("a\\\\b \\{c\\} \\u233?\\u8364?\\u-10179?\\u-8704?\\tab tab x\\par"),
              std::string::npos)
        << rtf;
    EXPECT_TRUE(
        std::all_of(rtf.begin(), rtf.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }));
}

TEST(RtfWriter, TheDarkPaletteGoesIntoTheColourTable) {
    const std::string rtf = BuildLogRtf({{u"x", lvInfos, false}}, true);
    EXPECT_NE(rtf.find("\\red255\\green255\\blue255;"), std::string::npos); // infos in white
}

} // namespace
} // namespace orvel
