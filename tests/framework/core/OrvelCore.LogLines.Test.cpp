#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.LogLinesM.h"
#include "framework/core/OrvelCore.LogLinesS.h"
#include "framework/core/OrvelCore.LogTypes.h"
#include "platform/sim/Sim.Desktop.h"
#include "tests/Test.Support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace orvel {
namespace {

using platform::sim::TSimDesktop;

TEST(LogTypes, VerbosityNamesFollowTheLevelOrder) {
    const std::array<std::u16string, 7> names = {u"Debug",     u"Verbose",  u"Hints", u"Info",
                                                 u"Important", u"Warnings", u"Errors"};
    for (int i = LogVerbLvlFirst; i <= LogVerbLvlLast; ++i) {
        EXPECT_EQ(VerbosityName(static_cast<TLogVerbLvl>(i)), names[static_cast<std::size_t>(i)]);
    }
}

TEST(LogTypes, VerbosityNameOfAnInvalidLevelFailsAnAssertion) {
    EXPECT_THROW(VerbosityName(static_cast<TLogVerbLvl>(7)), EAssertionFailed);
}

TEST(LogTypes, AFilterLetsThroughItsLevelAndAbove) {
    EXPECT_TRUE(PassesFilter(lvErrors, lvDebug));
    EXPECT_TRUE(PassesFilter(lvInfos, lvInfos));
    EXPECT_FALSE(PassesFilter(lvHints, lvInfos));
    EXPECT_FALSE(PassesFilter(lvWarnings, lvErrors));
}

TEST(LogTypes, ANewLineIsZeroFilled) {
    const RLogLine line;
    EXPECT_TRUE(line.Msg.empty());
    EXPECT_EQ(line.Level, lvDebug);
    EXPECT_EQ(line.Indent, 0);
    EXPECT_FALSE(line.Bold);
    EXPECT_EQ(line.Time, 0.0);
}

// --- both containers ---

template <typename T> struct ContainerTraits;
template <> struct ContainerTraits<TLogLinesSingleThreaded> {
    static constexpr const char16_t* AddNilMessage = u"TLogLinesSingleThreaded.Add: Value cannot be nil";
};
template <> struct ContainerTraits<TLogLinesMultiThreaded> {
    static constexpr const char16_t* AddNilMessage = u"TLogLinesMultiThreaded.Add: Value cannot be nil";
};

template <typename T> class LogLinesTest : public ::testing::Test {
protected:
    TSimDesktop Desktop;
    T Lines{Desktop};

    void AddLevels(std::initializer_list<TLogVerbLvl> levels) {
        int n = 0;
        for (TLogVerbLvl level : levels) {
            Lines.AddNewLine(u"line " + std::u16string(1, static_cast<char16_t>(u'0' + n++)), level, false,
                             0);
        }
    }
};

using ContainerTypes = ::testing::Types<TLogLinesSingleThreaded, TLogLinesMultiThreaded>;
TYPED_TEST_SUITE(LogLinesTest, ContainerTypes);

TYPED_TEST(LogLinesTest, AnEmptyListAnswersWithNothing) {
    std::array<PLogLine, 5> buffer{};
    EXPECT_EQ(this->Lines.Count(), 0);
    EXPECT_EQ(this->Lines.CountFiltered(lvDebug), 0);
    EXPECT_EQ(this->Lines.Row2FilteredRow(0, lvDebug), -1);
    EXPECT_EQ(this->Lines.GetFilteredSlice(lvDebug, 0, buffer), 0);
    int visits = 0;
    this->Lines.ForEachLocked([&visits](PLogLine) { ++visits; });
    EXPECT_EQ(visits, 0);
}

TYPED_TEST(LogLinesTest, DebugErrorsInfoFilteredAtInfo) {
    this->AddLevels({lvDebug, lvErrors, lvInfos});
    EXPECT_EQ(this->Lines.CountFiltered(lvInfos), 2);
    EXPECT_EQ(this->Lines.Row2FilteredRow(1, lvInfos), 2);
    std::array<PLogLine, 5> buffer{};
    ASSERT_EQ(this->Lines.GetFilteredSlice(lvInfos, 1, buffer), 1);
    EXPECT_EQ(buffer[0], this->Lines.Items(2));
    EXPECT_EQ(buffer[1], nullptr); // nothing written beyond the lines stored
}

TYPED_TEST(LogLinesTest, CountFilteredAtEveryLevel) {
    this->AddLevels({lvDebug, lvVerbose, lvHints, lvInfos, lvImportant, lvWarnings, lvErrors, lvInfos});
    const int expected[] = {8, 7, 6, 5, 3, 2, 1};
    for (int v = LogVerbLvlFirst; v <= LogVerbLvlLast; ++v) {
        EXPECT_EQ(this->Lines.CountFiltered(static_cast<TLogVerbLvl>(v)), expected[v]) << "filter " << v;
    }
}

TYPED_TEST(LogLinesTest, Row2FilteredRowMapsRowsToListIndices) {
    this->AddLevels({lvDebug, lvErrors, lvHints, lvInfos, lvDebug, lvWarnings});
    struct Case {
        int Row;
        TLogVerbLvl Filter;
        int Expected;
    };
    const Case cases[] = {
        {0, lvDebug, 0},   {5, lvDebug, 5},   {6, lvDebug, -1},    {0, lvInfos, 1},
        {1, lvInfos, 3},   {2, lvInfos, 5},   {3, lvInfos, -1},    {0, lvErrors, 1},
        {1, lvErrors, -1}, {-1, lvDebug, -1}, {-100, lvInfos, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(this->Lines.Row2FilteredRow(c.Row, c.Filter), c.Expected)
            << "row " << c.Row << " filter " << int(c.Filter);
    }
}

TYPED_TEST(LogLinesTest, GetFilteredSliceSkipsThenFillsTheBuffer) {
    this->AddLevels({lvInfos, lvDebug, lvWarnings, lvErrors, lvDebug, lvInfos});
    struct Case {
        int Skip;
        std::size_t BufferLen;
        std::vector<int> Expected; // list indices
    };
    const Case cases[] = {
        {0, 10, {0, 2, 3, 5}}, {0, 2, {0, 2}}, {1, 2, {2, 3}}, {3, 5, {5}}, {4, 5, {}}, {100, 5, {}},
    };
    for (const Case& c : cases) {
        std::vector<PLogLine> buffer(c.BufferLen, nullptr);
        const int stored = this->Lines.GetFilteredSlice(lvInfos, c.Skip, buffer);
        ASSERT_EQ(stored, static_cast<int>(c.Expected.size())) << "skip " << c.Skip;
        for (std::size_t i = 0; i < c.Expected.size(); ++i) {
            EXPECT_EQ(buffer[i], this->Lines.Items(c.Expected[i])) << "skip " << c.Skip << " slot " << i;
        }
        for (std::size_t i = c.Expected.size(); i < buffer.size(); ++i) {
            EXPECT_EQ(buffer[i], nullptr) << "skip " << c.Skip << " slot " << i;
        }
    }
}

TYPED_TEST(LogLinesTest, NegativeSkipCountFailsTheAssertion) {
    this->AddLevels({lvInfos});
    std::array<PLogLine, 2> buffer{};
    EXPECT_THROW_MSG(this->Lines.GetFilteredSlice(lvDebug, -1, buffer), EAssertionFailed, u"GetFilteredSlice: SkipCount must be non-negative");
}

TYPED_TEST(LogLinesTest, ForEachLockedVisitsOldestFirst) {
    this->AddLevels({lvInfos, lvErrors, lvDebug});
    std::vector<PLogLine> seen;
    this->Lines.ForEachLocked([&seen](PLogLine line) { seen.push_back(line); });
    ASSERT_EQ(seen.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], this->Lines.Items(i));
    }
}

TYPED_TEST(LogLinesTest, ForEachLockedWithoutProcFailsTheAssertion) {
    EXPECT_THROW_MSG(this->Lines.ForEachLocked(TLogLineProc()), EAssertionFailed, u"ForEachLocked: Proc cannot be nil");
}

TYPED_TEST(LogLinesTest, AddNewLineFillsTheLineAndStampsTheClockTime) {
    this->Desktop.SetNow(45000.25);
    const PLogLine line = this->Lines.AddNewLine(u"Hello", lvWarnings, true, 3);
    ASSERT_EQ(this->Lines.Count(), 1);
    EXPECT_EQ(this->Lines.Items(0), line);
    EXPECT_EQ(line->Msg, u"Hello");
    EXPECT_EQ(line->Level, lvWarnings);
    EXPECT_TRUE(line->Bold);
    EXPECT_EQ(line->Indent, 3);
    EXPECT_EQ(line->Time, 45000.25);
}

TYPED_TEST(LogLinesTest, AddTakesTheLineAndGivesItsIndex) {
    this->AddLevels({lvInfos, lvInfos});
    auto line = std::make_unique<RLogLine>();
    const PLogLine raw = line.get();
    EXPECT_EQ(this->Lines.Add(std::move(line)), 2);
    EXPECT_EQ(this->Lines.Items(2), raw);
}

TYPED_TEST(LogLinesTest, AddOfAMissingLineFailsAndLeavesTheListUnchanged) {
    this->AddLevels({lvInfos, lvErrors});
    const PLogLine first = this->Lines.Items(0);
    EXPECT_THROW_MSG(this->Lines.Add(nullptr), EAssertionFailed, ContainerTraits<TypeParam>::AddNilMessage);
    ASSERT_EQ(this->Lines.Count(), 2);
    EXPECT_EQ(this->Lines.Items(0), first);
}

TYPED_TEST(LogLinesTest, ItemsOutsideTheListRaise) {
    this->AddLevels({lvInfos, lvInfos});
    for (int index : {-1, 2, 1000}) {
        EXPECT_THROW(this->Lines.Items(index), EOrvelException) << index;
    }
    EXPECT_NO_THROW(this->Lines.Items(1));
}

TYPED_TEST(LogLinesTest, ClearEmptiesTheListWhichStaysUsable) {
    this->AddLevels({lvInfos, lvErrors, lvDebug});
    this->Lines.Clear();
    EXPECT_EQ(this->Lines.Count(), 0);
    EXPECT_EQ(this->Lines.CountFiltered(lvDebug), 0);
    this->Lines.AddNewLine(u"again", lvInfos, false, 0);
    ASSERT_EQ(this->Lines.Count(), 1);
    EXPECT_EQ(this->Lines.Items(0)->Msg, u"again");
}

TYPED_TEST(LogLinesTest, SnapshotOfAnEmptyContainerIsEmptyAndOfTheSameKind) {
    std::unique_ptr<TAbstractLogLines> snapshot = this->Lines.SnapshotAndClear();
    ASSERT_NE(snapshot, nullptr);
    EXPECT_NE(dynamic_cast<TypeParam*>(snapshot.get()), nullptr);
    EXPECT_EQ(snapshot->Count(), 0);
    this->Lines.AddNewLine(u"after", lvInfos, false, 0);
    EXPECT_EQ(this->Lines.Count(), 1);
}

// Under the sanitizer build a line freed twice, read after it was freed, or never freed fails the
// run; the pointer checks show that the very records moved.
TYPED_TEST(LogLinesTest, SnapshotTakesOverTheLinesThemselves) {
    std::unique_ptr<TSimDesktop> desktop = std::make_unique<TSimDesktop>();
    auto source = std::make_unique<TypeParam>(*desktop);
    std::vector<PLogLine> originals;
    for (int i = 0; i < 5; ++i) {
        originals.push_back(
            source->AddNewLine(u"m" + std::u16string(1, char16_t(u'0' + i)), lvInfos, false, i));
    }
    std::unique_ptr<TAbstractLogLines> snapshot = source->SnapshotAndClear();
    EXPECT_EQ(source->Count(), 0);
    EXPECT_NE(dynamic_cast<TypeParam*>(snapshot.get()), nullptr);

    // The emptied source stays usable, and destroying it frees none of the moved lines.
    source->AddNewLine(u"new", lvErrors, false, 0);
    EXPECT_EQ(source->Count(), 1);
    source.reset();

    ASSERT_EQ(snapshot->Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(snapshot->Items(i), originals[static_cast<std::size_t>(i)]);
        EXPECT_EQ(snapshot->Items(i)->Indent, i);
        EXPECT_EQ(snapshot->Items(i)->Msg, u"m" + std::u16string(1, char16_t(u'0' + i)));
    }
    // The snapshot stamps its own new lines from the same clock.
    desktop->SetNow(1.5);
    EXPECT_EQ(snapshot->AddNewLine(u"x", lvInfos, false, 0)->Time, 1.5);
    snapshot.reset();
}

// The viewer's three questions at every level and for every page, against a plain walk over Items.
void ExpectAnswersLikeAWalk(const TAbstractLogLines& Lines) {
    for (int f = LogVerbLvlFirst; f <= LogVerbLvlLast; ++f) {
        const auto filter = static_cast<TLogVerbLvl>(f);
        std::vector<PLogLine> passing;
        for (int i = 0; i < Lines.Count(); ++i) {
            if (Lines.Items(i)->Level >= filter) {
                passing.push_back(Lines.Items(i));
            }
        }
        ASSERT_EQ(Lines.CountFiltered(filter), static_cast<int>(passing.size())) << "filter " << f;
        for (std::size_t row = 0; row <= passing.size(); ++row) {
            const int index = Lines.Row2FilteredRow(static_cast<int>(row), filter);
            ASSERT_EQ(index < 0 ? nullptr : Lines.Items(index), row < passing.size() ? passing[row] : nullptr);
            std::array<PLogLine, 3> page{};
            const int got = Lines.GetFilteredSlice(filter, static_cast<int>(row), page);
            ASSERT_EQ(got, static_cast<int>(std::min<std::size_t>(3, passing.size() - row)));
            for (int k = 0; k < got; ++k) {
                ASSERT_EQ(page[static_cast<std::size_t>(k)], passing[row + static_cast<std::size_t>(k)]);
            }
        }
    }
}

// The counts and the index behind the filtered answers move with every change of the list:
// adds of both kinds, a clear, a snapshot, and lines added again afterwards.
TYPED_TEST(LogLinesTest, FilteredAnswersFollowEveryChangeOfTheList) {
    auto& lines = this->Lines;
    for (int i = 0; i < 700; ++i) { // several marks of the index
        lines.AddNewLine(u"x", static_cast<TLogVerbLvl>((i * 5) % 7), false, i);
    }
    auto own = std::make_unique<RLogLine>();
    own->Level = lvErrors;
    lines.Add(std::move(own));
    ExpectAnswersLikeAWalk(lines);

    lines.Clear();
    ExpectAnswersLikeAWalk(lines);
    for (int f = LogVerbLvlFirst; f <= LogVerbLvlLast; ++f) {
        EXPECT_EQ(lines.CountFiltered(static_cast<TLogVerbLvl>(f)), 0);
    }
    this->AddLevels({lvWarnings, lvDebug, lvErrors});
    ExpectAnswersLikeAWalk(lines);

    const std::unique_ptr<TAbstractLogLines> snapshot = lines.SnapshotAndClear();
    ExpectAnswersLikeAWalk(lines);
    ExpectAnswersLikeAWalk(*snapshot);
    EXPECT_EQ(snapshot->CountFiltered(lvWarnings), 2);
    EXPECT_EQ(lines.CountFiltered(lvDebug), 0);
}

// The viewer keeps the generation with the lines of its page: it must move whenever lines leave
// the container, and only then.
TYPED_TEST(LogLinesTest, TheGenerationMovesOnlyWhenLinesLeave) {
    auto& lines = this->Lines;
    struct TStep {
        const char* What;
        std::function<void()> Do;
        bool Moves;
    };
    const TStep steps[] = {
        {"AddNewLine", [&] { lines.AddNewLine(u"a", lvInfos, false, 0); }, false},
        {"Add", [&] { lines.Add(std::make_unique<RLogLine>()); }, false},
        {"the questions", [&] { ExpectAnswersLikeAWalk(lines); }, false},
        {"Clear", [&] { lines.Clear(); }, true},
        {"AddNewLine again", [&] { lines.AddNewLine(u"b", lvInfos, false, 0); }, false},
        {"SnapshotAndClear", [&] { lines.SnapshotAndClear(); }, true},
    };
    for (const TStep& step : steps) {
        const std::uint64_t before = lines.Generation();
        step.Do();
        EXPECT_EQ(lines.Generation() != before, step.Moves) << step.What;
    }
}

TYPED_TEST(LogLinesTest, ALineHandedInThroughAddMovesWithASnapshotAndIsFreedWithIt) {
    // Under the sanitizer build a line freed twice or never fails the run.
    auto own = std::make_unique<RLogLine>();
    const PLogLine raw = own.get();
    this->Lines.AddNewLine(u"made here", lvInfos, false, 0);
    this->Lines.Add(std::move(own));
    std::unique_ptr<TAbstractLogLines> snapshot = this->Lines.SnapshotAndClear();
    this->Lines.Clear();
    ASSERT_EQ(snapshot->Count(), 2);
    EXPECT_EQ(snapshot->Items(1), raw);
    EXPECT_EQ(snapshot->Items(0)->Msg, u"made here");
    snapshot.reset();
}

// --- lock brackets ---

// Counts the read-lock brackets every walk takes.
class TCountingLines : public TLogLinesSingleThreaded {
public:
    using TLogLinesSingleThreaded::TLogLinesSingleThreaded;
    void LockRead() const override { ++Locks; }
    void UnlockRead() const override { ++Unlocks; }
    mutable int Locks = 0;
    mutable int Unlocks = 0;
};

TEST(LogLinesBrackets, EveryWalkTakesTheReadLockOnce) {
    TSimDesktop desktop;
    TCountingLines lines(desktop);
    lines.AddNewLine(u"a", lvInfos, false, 0);
    lines.AddNewLine(u"b", lvDebug, false, 0);
    std::array<PLogLine, 4> buffer{};
    struct Walk {
        const char* Name;
        std::function<void()> Run;
    };
    const Walk walks[] = {
        {"CountFiltered", [&] { lines.CountFiltered(lvInfos); }},
        {"Row2FilteredRow found", [&] { lines.Row2FilteredRow(0, lvDebug); }},
        {"Row2FilteredRow not found", [&] { lines.Row2FilteredRow(9, lvDebug); }},
        {"GetFilteredSlice", [&] { lines.GetFilteredSlice(lvDebug, 0, buffer); }},
        {"GetFilteredSlice full early",
         [&] { lines.GetFilteredSlice(lvDebug, 0, std::span(buffer).first(1)); }},
        {"ForEachLocked", [&] { lines.ForEachLocked([](PLogLine) {}); }},
    };
    for (const Walk& w : walks) {
        lines.Locks = lines.Unlocks = 0;
        w.Run();
        EXPECT_EQ(lines.Locks, 1) << w.Name;
        EXPECT_EQ(lines.Unlocks, 1) << w.Name;
    }
}

TEST(LogLinesBrackets, AnswersGivenWithoutLookingAtTheListTakeNoLock) {
    TSimDesktop desktop;
    TCountingLines lines(desktop);
    lines.AddNewLine(u"a", lvInfos, false, 0);
    std::array<PLogLine, 1> buffer{};
    EXPECT_EQ(lines.GetFilteredSlice(lvDebug, 0, std::span(buffer).first(0)), 0);
    EXPECT_EQ(lines.Row2FilteredRow(-1, lvDebug), -1);
    EXPECT_THROW(lines.GetFilteredSlice(lvDebug, -1, buffer), EAssertionFailed);
    EXPECT_THROW(lines.ForEachLocked(TLogLineProc()), EAssertionFailed);
    EXPECT_EQ(lines.Locks, 0);
    EXPECT_EQ(lines.Unlocks, 0);
}

TEST(LogLinesBrackets, AProcThatRaisesStillReleasesTheReadLock) {
    TSimDesktop desktop;
    TCountingLines lines(desktop);
    lines.AddNewLine(u"a", lvInfos, false, 0);
    lines.AddNewLine(u"b", lvInfos, false, 0);
    int visits = 0;
    EXPECT_THROW(lines.ForEachLocked([&visits](PLogLine) {
        ++visits;
        throw EOrvelException(u"stop");
    }),
                 EOrvelException);
    EXPECT_EQ(visits, 1);
    EXPECT_EQ(lines.Locks, 1);
    EXPECT_EQ(lines.Unlocks, 1);
}

TEST(LogLinesBrackets, AWalkVisitsOnlyTheLinesPresentWhenItStarted) {
    TSimDesktop desktop;
    TLogLinesSingleThreaded lines(desktop);
    lines.AddNewLine(u"a", lvInfos, false, 0);
    lines.AddNewLine(u"b", lvInfos, false, 0);
    int visits = 0;
    lines.ForEachLocked([&](PLogLine) {
        ++visits;
        lines.AddNewLine(u"added during the walk", lvInfos, false, 0);
    });
    EXPECT_EQ(visits, 2);
    EXPECT_EQ(lines.Count(), 4);
}

TEST(LogLinesBrackets, AWalkWhoseProcEmptiesTheListStopsAtItsEnd) {
    TSimDesktop desktop;
    TLogLinesSingleThreaded lines(desktop);
    for (int i = 0; i < 3; ++i) {
        lines.AddNewLine(u"x", lvInfos, false, 0);
    }
    int visits = 0;
    lines.ForEachLocked([&](PLogLine) {
        ++visits;
        lines.Clear();
    });
    EXPECT_EQ(visits, 1);
    EXPECT_EQ(lines.Count(), 0);
}

// --- the multi-threaded container under load ---

TEST(LogLinesMultiThreaded, AWalkThatTriesToAddFailsInsteadOfWaitingForItself) {
    TSimDesktop desktop;
    TLogLinesMultiThreaded lines(desktop);
    lines.AddNewLine(u"a", lvInfos, false, 0);
    EXPECT_THROW(lines.ForEachLocked([&](PLogLine) { lines.AddNewLine(u"b", lvInfos, false, 0); }),
                 EAssertionFailed);
    // The read lock was released on the way out: a write goes through.
    lines.AddNewLine(u"c", lvInfos, false, 0);
    EXPECT_EQ(lines.Count(), 2);
}

TEST(LogLinesMultiThreaded, FourWritersLoseNoLineWhileTheMainThreadReads) {
    constexpr int Writers = 4;
    constexpr int PerWriter = 250000;
    constexpr int Total = Writers * PerWriter;
    TSimDesktop desktop;
    TLogLinesMultiThreaded lines(desktop);

    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < Writers; ++w) {
        threads.emplace_back([&lines, &finished, w] {
            // Writer w's lines carry the numbers w * PerWriter onward in Indent; even ones are
            // errors, odd ones debug lines.
            for (int i = 0; i < PerWriter; ++i) {
                lines.AddNewLine(std::u16string(), i % 2 == 0 ? lvErrors : lvDebug, false, w * PerWriter + i);
            }
            finished.fetch_add(1);
        });
    }

    int lastCount = 0;
    int reads = 0;
    std::array<PLogLine, 50> buffer{};
    bool consistent = true;
    while (finished.load() < Writers) {
        const int count = lines.Count();
        consistent = consistent && count >= lastCount;
        lastCount = count;
        const int errors = lines.CountFiltered(lvErrors);
        consistent = consistent && errors >= 0 && errors <= lines.Count();
        const int stored = lines.GetFilteredSlice(lvErrors, errors / 2, buffer);
        for (int i = 0; i < stored; ++i) {
            consistent = consistent && buffer[static_cast<std::size_t>(i)] != nullptr &&
                         buffer[static_cast<std::size_t>(i)]->Level == lvErrors;
        }
        ++reads;
    }
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_TRUE(consistent);
    EXPECT_GT(reads, 0);

    ASSERT_EQ(lines.Count(), Total);
    EXPECT_EQ(lines.CountFiltered(lvErrors), Total / 2);
    // Every number exactly once, and each writer's lines in the order it added them.
    std::vector<bool> seen(Total, false);
    std::array<int, Writers> lastOfWriter;
    lastOfWriter.fill(-1);
    bool allUniqueAndOrdered = true;
    lines.ForEachLocked([&](PLogLine line) {
        const int n = line->Indent;
        if (n < 0 || n >= Total || seen[static_cast<std::size_t>(n)]) {
            allUniqueAndOrdered = false;
            return;
        }
        seen[static_cast<std::size_t>(n)] = true;
        const std::size_t w = static_cast<std::size_t>(n / PerWriter);
        allUniqueAndOrdered = allUniqueAndOrdered && n > lastOfWriter[w];
        lastOfWriter[w] = n;
    });
    EXPECT_TRUE(allUniqueAndOrdered);
}

TEST(LogLinesMultiThreaded, SnapshotsTakenWhileWritersAddLoseNoLine) {
    constexpr int Writers = 3;
    constexpr int PerWriter = 20000;
    TSimDesktop desktop;
    TLogLinesMultiThreaded lines(desktop);
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < Writers; ++w) {
        threads.emplace_back([&lines, &finished] {
            for (int i = 0; i < PerWriter; ++i) {
                lines.AddNewLine(u"x", lvInfos, false, 0);
            }
            finished.fetch_add(1);
        });
    }
    long long collected = 0;
    while (finished.load() < Writers) {
        collected += lines.SnapshotAndClear()->Count();
    }
    for (std::thread& t : threads) {
        t.join();
    }
    collected += lines.SnapshotAndClear()->Count();
    EXPECT_EQ(collected, static_cast<long long>(Writers) * PerWriter);
    EXPECT_EQ(lines.Count(), 0);
}

// Another thread adds lines and clears the list again and again while this one asks the viewer's
// questions under the read lock: every answer must fit the list as it stands within that lock,
// and the generation must tell when the lines of an earlier page have gone.
TEST(LogLinesMultiThreaded, TheIndexFitsTheListAcrossClearsMadeByAnotherThread) {
    TSimDesktop desktop;
    TLogLinesMultiThreaded lines(desktop);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; round < 200; ++round) {
            for (int i = 0; i < 300; ++i) {
                lines.AddNewLine(u"w", static_cast<TLogVerbLvl>(i % 7), false, round);
            }
            lines.Clear();
        }
        done = true;
    });
    bool consistent = true;
    std::uint64_t lastGeneration = 0;
    int lastIndent = -1;
    std::array<PLogLine, 20> page{};
    while (!done) {
        lines.LockRead();
        const int count = lines.Count();
        const int warnings = lines.CountFiltered(lvWarnings);
        const int got = lines.GetFilteredSlice(lvWarnings, warnings > 20 ? warnings - 20 : 0, page);
        consistent = consistent && warnings <= count && got == std::min(20, warnings);
        for (int k = 0; k < got; ++k) {
            consistent = consistent && page[static_cast<std::size_t>(k)]->Level >= lvWarnings;
        }
        const std::uint64_t generation = lines.Generation();
        if (got > 0) {
            // Lines of one round carry its number; a later round's page means lines were cleared.
            const int indent = page[0]->Indent;
            if (indent != lastIndent && lastIndent >= 0) {
                consistent = consistent && generation != lastGeneration;
            }
            lastIndent = indent;
            lastGeneration = generation;
        }
        lines.UnlockRead();
    }
    worker.join();
    EXPECT_TRUE(consistent);
    EXPECT_EQ(lines.Count(), 0);
    EXPECT_EQ(lines.CountFiltered(lvDebug), 0);
}

} // namespace
} // namespace orvel
