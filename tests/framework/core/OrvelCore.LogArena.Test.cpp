// The arena the containers make their lines in, and the text a line carries.
#include "framework/core/OrvelCore.LogArena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orvel {
namespace {

TEST(LogText, ALineMadeOnItsOwnOwnsACopyThatMovesAndCopies) {
    std::u16string source = u"made on its own";
    TLogText text(source);
    source[0] = u'X';
    EXPECT_EQ(text, u"made on its own");
    const TLogText copy(text);
    const TLogText moved(std::move(text));
    EXPECT_EQ(copy, moved);
    EXPECT_NE(copy.data(), moved.data());
    EXPECT_TRUE(text.empty()); // what is left of a moved text
    EXPECT_TRUE(TLogText().empty());
}

TEST(LogText, ComparesWithEveryKindOfText) {
    const TLogText text(u"abc");
    const std::u16string same = u"abc";
    EXPECT_TRUE(text == u"abc");
    EXPECT_TRUE(text == same);
    EXPECT_TRUE(same == text);
    EXPECT_TRUE(text == std::u16string_view(same));
    EXPECT_TRUE(text == TLogText(u"abc"));
    EXPECT_TRUE(text != u"abd");
    EXPECT_TRUE(text != u"ab");
    const std::u16string back = text;
    EXPECT_EQ(back, u"abc");
}

TEST(LogArena, LinesKeepTheirTextsAndFieldsSideBySide) {
    TLogLineArena arena;
    std::vector<PLogLine> lines;
    std::vector<std::u16string> texts;
    // Enough lines to fill several blocks as they grow, with texts of every small length.
    for (int i = 0; i < 3000; ++i) {
        texts.push_back(std::u16string(static_cast<std::size_t>(i % 97), static_cast<char16_t>(u'a' + i % 26)));
        lines.push_back(arena.NewLine(texts.back(), static_cast<TLogVerbLvl>(i % 7), i % 2 == 0, i, i * 0.5));
    }
    EXPECT_GT(arena.BlockCount(), 1u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i]->Msg, texts[i]) << i;
        EXPECT_EQ(lines[i]->Level, static_cast<TLogVerbLvl>(i % 7));
        EXPECT_EQ(lines[i]->Bold, i % 2 == 0);
        EXPECT_EQ(lines[i]->Indent, static_cast<int>(i));
        EXPECT_EQ(lines[i]->Time, static_cast<double>(i) * 0.5);
    }
    EXPECT_LE(arena.UsedBytes(), arena.BlockBytes());
}

// The number of text units that makes a line take exactly Bytes in a block.
std::size_t UnitsFor(std::size_t Bytes) {
    const std::size_t units = (Bytes - TLogLineArena::LineBytes(0)) / sizeof(char16_t);
    EXPECT_EQ(TLogLineArena::LineBytes(units), Bytes);
    return units;
}

std::byte* At(PLogLine Line) {
    return reinterpret_cast<std::byte*>(Line);
}

TEST(LogArena, ALineThatFillsTheRestOfABlockStaysInItAndTheNextOneStartsANewBlock) {
    struct TCase {
        const char* What;
        std::size_t Over; // bytes the second line takes beyond the rest of the first block
        std::size_t BlocksAfterSecond;
    };
    const TCase cases[] = {
        {"exactly the rest", 0, 1},
        {"one step more than the rest", alignof(RLogLine), 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TLogLineArena arena;
        const PLogLine first = arena.NewLine(u"first", lvInfos, false, 0, 0);
        const std::size_t rest = TLogLineArena::FirstBlockSize - arena.UsedBytes();
        const std::u16string text(UnitsFor(rest + c.Over), u's');
        const PLogLine second = arena.NewLine(text, lvWarnings, true, 2, 3.0);
        EXPECT_EQ(arena.BlockCount(), c.BlocksAfterSecond);
        EXPECT_EQ(At(second) == At(first) + (TLogLineArena::FirstBlockSize - rest), c.Over == 0);
        const PLogLine third = arena.NewLine(u"third", lvErrors, false, 0, 0);
        // The third line never fits the first block: it is full, or was left for the second.
        EXPECT_EQ(arena.BlockCount(), 2u);
        if (c.Over != 0) {
            EXPECT_EQ(At(third), At(second) + TLogLineArena::LineBytes(text.size()));
        }
        EXPECT_EQ(first->Msg, u"first");
        EXPECT_EQ(second->Msg, text);
        EXPECT_EQ(second->Level, lvWarnings);
        EXPECT_EQ(third->Msg, u"third");
        EXPECT_EQ(arena.BlockBytes(), TLogLineArena::FirstBlockSize + 2 * TLogLineArena::FirstBlockSize);
    }
}

TEST(LogArena, BlocksDoubleUpToTheLargestSizeAndStayThere) {
    TLogLineArena arena;
    std::size_t expected = 0;
    std::size_t size = TLogLineArena::FirstBlockSize;
    for (std::size_t blocks = 1; blocks <= 7; ++blocks) {
        expected += size;
        while (arena.BlockCount() < blocks) {
            arena.NewLine(u"a line of a few dozen characters, like most", lvDebug, false, 0, 0);
        }
        EXPECT_EQ(arena.BlockBytes(), expected) << blocks << " blocks";
        size = std::min(size * 2, TLogLineArena::LargestBlockSize);
    }
}

TEST(LogArena, OnlyALineLargerThanAQuarterOfTheLargestBlockGetsABlockOfItsOwn) {
    struct TCase {
        std::size_t Bytes;
        bool OwnBlock;
    };
    const TCase cases[] = {
        {TLogLineArena::LargestBlockSize / 4, false},
        {TLogLineArena::LargestBlockSize / 4 + alignof(RLogLine), true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Bytes);
        TLogLineArena arena;
        const PLogLine small = arena.NewLine(u"small", lvInfos, false, 0, 0);
        const std::u16string text(UnitsFor(c.Bytes), u'q');
        const PLogLine big = arena.NewLine(text, lvInfos, false, 0, 0);
        EXPECT_EQ(big->Msg, text);
        EXPECT_EQ(arena.BlockCount(), 2u);
        // Either way the new block is exactly the line (it is larger than the next regular size).
        EXPECT_EQ(arena.BlockBytes(), TLogLineArena::FirstBlockSize + c.Bytes);
        // Only a line in a block of its own leaves the block being filled in use: the next small
        // line goes right behind the one before the large line.
        const PLogLine next = arena.NewLine(u"next", lvInfos, false, 0, 0);
        EXPECT_EQ(At(next) == At(small) + TLogLineArena::LineBytes(5), c.OwnBlock);
        EXPECT_EQ(arena.BlockCount(), c.OwnBlock ? 2u : 3u);
        EXPECT_EQ(next->Msg, u"next");
    }
}

TEST(LogArena, Utf8TextThatDoesNotFitTheRestOfABlockGoesToANewOneAndGivesBackItsTailThere) {
    // Three bytes of UTF-8 per character, one unit each: the reservation is far larger than the
    // line, so the tail given back must be given back in the block the line landed in.
    TLogLineArena arena;
    arena.NewLine(std::u16string(UnitsFor(TLogLineArena::FirstBlockSize - 64), u'f'), lvInfos, false, 0, 0);
    ASSERT_EQ(arena.UsedBytes(), TLogLineArena::FirstBlockSize - 64);
    std::string utf8;
    for (int i = 0; i < 40; ++i) {
        utf8 += "\xE2\x82\xAC"; // the euro sign
    }
    const PLogLine line = arena.NewLineFromUtf8(utf8, lvHints, false, 0, 0);
    EXPECT_EQ(line->Msg, std::u16string(40, u'\u20AC'));
    EXPECT_EQ(arena.BlockCount(), 2u);
    const PLogLine next = arena.NewLine(u"next", lvInfos, false, 0, 0);
    EXPECT_EQ(At(next), At(line) + TLogLineArena::LineBytes(40));
    EXPECT_EQ(arena.UsedBytes(), TLogLineArena::FirstBlockSize - 64 + TLogLineArena::LineBytes(40) +
                                     TLogLineArena::LineBytes(4));
}

TEST(LogArena, ClearFreesEveryBlockAndTheArenaServesAgain) {
    TLogLineArena arena;
    for (int i = 0; i < 2000; ++i) {
        arena.NewLine(u"a line that takes some room in its block", lvInfos, false, 0, 0);
    }
    ASSERT_GT(arena.BlockCount(), 1u);
    arena.Clear();
    EXPECT_EQ(arena.BlockCount(), 0u);
    EXPECT_EQ(arena.BlockBytes(), 0u);
    EXPECT_EQ(arena.UsedBytes(), 0u);
    // The first block after a clear is as small as the very first: a log emptied by an overflow
    // does not keep a large block for a few lines.
    const PLogLine line = arena.NewLine(u"after the clear", lvErrors, true, 7, 1.25);
    EXPECT_EQ(line->Msg, u"after the clear");
    EXPECT_EQ(line->Level, lvErrors);
    EXPECT_EQ(arena.BlockBytes(), TLogLineArena::FirstBlockSize);
}

TEST(LogArena, ALineTooLargeForABlockGetsItsOwnAndTheBlockBeingFilledGoesOn) {
    TLogLineArena arena;
    const PLogLine before = arena.NewLine(u"small", lvInfos, false, 0, 0);
    const std::size_t usedBefore = arena.UsedBytes();
    const std::u16string huge(TLogLineArena::LargestBlockSize, u'h');
    const PLogLine big = arena.NewLine(huge, lvInfos, false, 0, 0);
    const PLogLine after = arena.NewLine(u"small again", lvInfos, false, 0, 0);
    EXPECT_EQ(big->Msg, huge);
    EXPECT_EQ(before->Msg, u"small");
    EXPECT_EQ(after->Msg, u"small again");
    EXPECT_EQ(arena.BlockCount(), 2u);
    // The small line after the large one lies right behind the small line before it.
    EXPECT_EQ(reinterpret_cast<std::byte*>(after), reinterpret_cast<std::byte*>(before) + usedBefore);
}

TEST(LogArena, TextDecodedFromUtf8TakesOnlyTheRoomItNeeds) {
    struct TCase {
        std::string Utf8;
        std::u16string Text;
    };
    const TCase cases[] = {
        {"", u""},
        {"plain ASCII text longer than sixteen bytes", u"plain ASCII text longer than sixteen bytes"},
        {"\xE2\x82\xAC 3 \xF0\x9F\x98\x80", u"\u20AC 3 \U0001F600"},
        {"bad \xFF byte", u"bad \uFFFD byte"},
    };
    TLogLineArena arena;
    for (const TCase& c : cases) {
        const std::size_t used = arena.UsedBytes();
        const PLogLine line = arena.NewLineFromUtf8(c.Utf8, lvHints, true, -3, 2.5);
        EXPECT_EQ(line->Msg, c.Text);
        EXPECT_EQ(line->Level, lvHints);
        EXPECT_TRUE(line->Bold);
        EXPECT_EQ(line->Indent, -3);
        EXPECT_EQ(arena.UsedBytes() - used, TLogLineArena::LineBytes(c.Text.size())) << c.Utf8;
    }
}

TEST(LogArena, SwapHandsTheLinesOverWhole) {
    TLogLineArena first;
    TLogLineArena second;
    const PLogLine line = first.NewLine(u"moves with its block", lvInfos, false, 0, 0);
    first.Swap(second);
    EXPECT_EQ(first.BlockCount(), 0u);
    EXPECT_EQ(second.BlockCount(), 1u);
    first.Clear(); // frees nothing of the line's
    EXPECT_EQ(line->Msg, u"moves with its block");
}

} // namespace
} // namespace orvel
