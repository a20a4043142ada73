#include "framework/core/OrvelCore.StrBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orvel {
namespace {

TEST(StrBuilder, ANewBuilderIsEmptyAndHoldsNoStorage) {
    TCStringBuilder b(10000);
    EXPECT_EQ(b.AsText(), u"");
    EXPECT_EQ(b.AllocatedLen(), 0);
}

TEST(StrBuilder, GrowthFollowsTheStepForCharsAndDoublingForStrings) {
    struct Step {
        std::function<void(TCStringBuilder&)> Add;
        std::int32_t Allocated; // capacity after the step
    };
    struct Case {
        const char* Name;
        std::int32_t Growth;
        std::vector<Step> Steps;
        std::u16string Text;
    };
    const auto chr = [](char16_t c) { return [c](TCStringBuilder& b) { b.AddChar(c); }; };
    const auto enter = [](TCStringBuilder& b) { b.AddEnter(); };
    const auto str = [](std::u16string s) { return [s](TCStringBuilder& b) { b.AddString(s); }; };
    const Case cases[] = {
        {"a short string takes the whole step", 10000, {{str(u"abc"), 10000}}, u"abc"},
        {"enter on an empty builder with step 1", 1, {{enter, 2}}, u"\r\n"},
        {"chars grow by the step",
         3,
         {{chr(u'a'), 3}, {chr(u'b'), 3}, {chr(u'c'), 3}, {chr(u'd'), 6}},
         u"abcd"},
        {"enter across the end grows by the step",
         3,
         {{chr(u'a'), 3}, {chr(u'b'), 3}, {enter, 6}},
         u"ab\r\n"},
        {"enter needing more than the step", 1, {{chr(u'a'), 1}, {enter, 3}}, u"a\r\n"},
        {"strings at least double",
         4,
         {{str(u"abcd"), 4}, {str(u"e"), 8}, {str(u"fgh"), 8}, {str(u"i"), 16}},
         u"abcdefghi"},
        {"a long string takes its own length",
         4,
         {{str(u"ab"), 4}, {str(u"cdefghijklmn"), 14}},
         u"abcdefghijklmn"},
        {"an empty string changes nothing", 5, {{str(u""), 0}, {chr(u'x'), 5}, {str(u""), 5}}, u"x"},
        {"exact fit does not grow", 4, {{str(u"ab"), 4}, {str(u"cd"), 4}}, u"abcd"},
        {"a step of 0 still makes room", 0, {{chr(u'a'), 1}, {enter, 3}, {chr(u'b'), 4}}, u"a\r\nb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TCStringBuilder b(c.Growth);
        for (std::size_t i = 0; i < c.Steps.size(); ++i) {
            c.Steps[i].Add(b);
            EXPECT_EQ(b.AllocatedLen(), c.Steps[i].Allocated) << "after step " << i;
        }
        EXPECT_EQ(b.AsText(), c.Text);
    }
}

TEST(StrBuilder, ClearDropsContentAndStorage) {
    TCStringBuilder b(8);
    b.AddString(u"hello");
    b.AddEnter();
    b.Clear();
    EXPECT_EQ(b.AsText(), u"");
    EXPECT_EQ(b.AllocatedLen(), 0);
    b.AddChar(u'z');
    EXPECT_EQ(b.AsText(), u"z");
    EXPECT_EQ(b.AllocatedLen(), 8);
}

TEST(StrBuilder, JoinsManyLinesIntact) {
    TCStringBuilder b(16);
    std::u16string expected;
    for (int i = 0; i < 2000; ++i) {
        const std::u16string line =
            u"line \u00e9\U0001F600 " + std::u16string(static_cast<std::size_t>(i % 7), u'x');
        if (i > 0) {
            b.AddEnter();
            expected += u"\r\n";
        }
        b.AddString(line);
        expected += line;
    }
    EXPECT_EQ(b.AsText(), expected);
    EXPECT_GE(b.AllocatedLen(), static_cast<std::int32_t>(expected.size()));
}

} // namespace
} // namespace orvel
