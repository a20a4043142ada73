#include "framework/core/OrvelCore.LogRam.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IO.h"
#include "framework/core/OrvelCore.StreamBuff.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"
#if defined(_WIN32)
#include "platform/win32/Win32.Errors.h"

#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace orvel {
namespace {

const std::u16string DataFolder = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\";
const std::u16string OverflowFile = DataFolder + u"LargeLogSave.logbin";
const std::u16string PeriodicFile = DataFolder + u"PeriodicLogSave.logbin";

bool StartsWith(const std::u16string& Text, const std::u16string& Prefix) {
    return Text.compare(0, Prefix.size(), Prefix) == 0;
}

// Records each call and how many lines the log held at that moment.
class TRecordingObserver : public ILogObserver {
public:
    explicit TRecordingObserver(const TRamLog* Log = nullptr) : FLog(Log) {}
    void Populate() override {
        Calls.push_back("Populate");
        if (FLog != nullptr) {
            CountsSeen.push_back(FLog->Count(false, lvDebug));
        }
    }
    void PopUpWindow() override { Calls.push_back("PopUpWindow"); }

    std::vector<std::string> Calls;
    std::vector<int> CountsSeen;

private:
    const TRamLog* FLog;
};

// A log on the simulated desktop with the application "Tarvin" whose data folder exists.
class RamLog : public ::testing::Test {
protected:
    void SetUp() override {
        TAppDataCore::ClearIdentity();
        TAppDataCore::EstablishIdentity(u"Tarvin", Os);
        Sim.Files.AddFolder(DataFolder);
    }
    void TearDown() override { TAppDataCore::ClearIdentity(); }

    std::unique_ptr<TRamLog> MakeLog(bool MultiThreaded = false, ILogObserver* Observer = nullptr,
                                     bool ShowOnError = false) {
        return std::make_unique<TRamLog>(ShowOnError, Observer, MultiThreaded, Os);
    }
    // The messages of a log file, read through a fresh log.
    std::vector<std::u16string> MessagesInFile(const std::u16string& Path) {
        TRamLog reader(false, nullptr, false, Os);
        EXPECT_TRUE(reader.LoadFromFile(Path));
        std::vector<std::u16string> messages;
        reader.Lines().ForEachLocked([&](PLogLine Line) { messages.push_back(Line->Msg); });
        return messages;
    }
    std::vector<std::u16string> DebugLines() const { return Sim.Desktop.DebugLines(); }

    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
};

// --- preparing the text ---

TEST_F(RamLog, LineBreaksBecomeBlanks) {
    struct TCase {
        std::u16string In;
        std::u16string Stored;
    };
    const std::vector<TCase> cases = {
        {u"A\r\nB", u"A B"},  {u"A\rB", u"A B"},      {u"A\nB", u"A B"},    {u"A\r\rB", u"A  B"},
        {u"A\n\rB", u"A  B"}, {u"A\r\r\nB", u"A  B"}, {u"\r\nA\n", u" A "}, {u"plain", u"plain"},
    };
    auto log = MakeLog();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        log->AddInfo(cases[i].In);
        EXPECT_EQ(log->Lines().Items(static_cast<int>(i))->Msg, cases[i].Stored) << i;
    }
}

TEST_F(RamLog, OverlongMessageIsCutAndMarked) {
    const std::size_t max = TRamLog::MaxMsgLength;
    ASSERT_EQ(max, 4194304u);
    const std::u16string exact(max, u'a');
    EXPECT_EQ(TRamLog::SanitizeMsg(exact), exact);

    const std::u16string longer(max + 1, u'a');
    EXPECT_EQ(TRamLog::SanitizeMsg(longer), std::u16string(max, u'a') + u" [truncated]");

    // Character 4,194,304 opens a surrogate pair that the cut would split.
    std::u16string pair(max - 1, u'a');
    pair += u"\U0001F600";
    pair += u"bb";
    EXPECT_EQ(TRamLog::SanitizeMsg(pair), std::u16string(max - 1, u'a') + u" [truncated]");

    auto log = MakeLog();
    log->AddInfo(longer);
    EXPECT_EQ(log->Lines().Items(0)->Msg.size(), max + 12);
}

TEST_F(RamLog, AddMsgIntAppendsTheNumberToThePreparedText) {
    auto log = MakeLog();
    log->AddMsgInt(u"Count: ", 5);
    log->AddMsgInt(u"a\r\nb=", -12, true);
    EXPECT_EQ(log->Lines().Items(0)->Msg, u"Count: 5");
    EXPECT_EQ(log->Lines().Items(0)->Level, lvInfos);
    EXPECT_FALSE(log->Lines().Items(0)->Bold);
    EXPECT_EQ(log->Lines().Items(1)->Msg, u"a b=-12");
    EXPECT_TRUE(log->Lines().Items(1)->Bold);
}

TEST_F(RamLog, EachAddStoresItsLevelBoldFlagTimeAndNoIndent) {
    struct TCase {
        std::function<void(TRamLog&)> Add;
        TLogVerbLvl Level;
        bool Bold;
        std::u16string Msg;
    };
    const std::vector<TCase> cases = {
        {[](TRamLog& l) { l.AddDebug(u"d", true); }, lvDebug, true, u"d"},
        {[](TRamLog& l) { l.AddVerb(u"v"); }, lvVerbose, false, u"v"},
        {[](TRamLog& l) { l.AddHint(u"h"); }, lvHints, false, u"h"},
        {[](TRamLog& l) { l.AddInfo(u"i"); }, lvInfos, false, u"i"},
        {[](TRamLog& l) { l.AddMsg(u"m", true); }, lvInfos, true, u"m"},
        {[](TRamLog& l) { l.AddBold(u"b"); }, lvInfos, true, u"b"},
        {[](TRamLog& l) { l.AddEmptyRow(); }, lvInfos, false, u""},
        {[](TRamLog& l) { l.AddImpo(u"p"); }, lvImportant, false, u"p"},
        {[](TRamLog& l) { l.AddWarn(u"w"); }, lvWarnings, false, u"w"},
        {[](TRamLog& l) { l.AddError(u"e", true); }, lvErrors, true, u"e"},
    };
    auto log = MakeLog();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Sim.Desktop.AdvanceMs(1000);
        cases[i].Add(*log);
        const PLogLine line = log->Lines().Items(static_cast<int>(i));
        EXPECT_EQ(line->Msg, cases[i].Msg) << i;
        EXPECT_EQ(line->Level, cases[i].Level) << i;
        EXPECT_EQ(line->Bold, cases[i].Bold) << i;
        EXPECT_EQ(line->Indent, 0) << i;
        EXPECT_EQ(line->Time, Sim.Desktop.Now()) << i;
    }
    EXPECT_EQ(log->Count(false, lvDebug), 10);
    EXPECT_EQ(log->Count(true, lvWarnings), 2);
}

TEST_F(RamLog, ClearEmptiesTheLogAndRefreshesTheObserver) {
    TRecordingObserver observer;
    auto log = MakeLog(false, &observer);
    log->AddInfo(u"a");
    observer.Calls.clear();
    log->Clear();
    EXPECT_EQ(log->Count(false, lvDebug), 0);
    EXPECT_EQ(observer.Calls, std::vector<std::string>{"Populate"});
}

// --- limits and automatic saves ---

TEST_F(RamLog, NonPositiveLimitsFailAndKeepTheOldValue) {
    auto log = MakeLog();
    EXPECT_EQ(log->MaxEntries(), 1000000);
    EXPECT_EQ(log->SaveInterval(), 60);
    for (const std::int32_t bad : {0, -1}) {
        EXPECT_THROW_MSG(log->SetMaxEntries(bad), EAssertionFailed, u"TRamLog.MaxEntries must be > 0. A non-positive value would trigger an overflow save "
            u"on every Add.");
        EXPECT_THROW_MSG(log->SetSaveInterval(bad), EAssertionFailed, u"TRamLog.SaveInterval must be > 0 (seconds). A non-positive value would trigger a "
                        u"periodic save on every Add.");
    }
    EXPECT_EQ(log->MaxEntries(), 1000000);
    EXPECT_EQ(log->SaveInterval(), 60);
}

TEST_F(RamLog, PassingMaxEntriesMovesEveryLineToTheOverflowFile) {
    auto log = MakeLog();
    TRecordingObserver observer(log.get());
    log->RegisterLogObserver(&observer);
    log->SetMaxEntries(3);
    for (const char16_t* msg : {u"1", u"2", u"3"}) {
        log->AddInfo(msg);
    }
    EXPECT_FALSE(Sim.Files.FileExists(OverflowFile));
    observer.CountsSeen.clear();

    log->AddInfo(u"4");
    EXPECT_EQ(log->Count(false, lvDebug), 0);
    EXPECT_EQ(MessagesInFile(OverflowFile), (std::vector<std::u16string>{u"1", u"2", u"3", u"4"}));
    ASSERT_FALSE(observer.CountsSeen.empty());
    EXPECT_EQ(observer.CountsSeen.front(), 0);

    // Counting starts again; the next overflow replaces the file.
    for (const char16_t* msg : {u"5", u"6", u"7", u"8"}) {
        log->AddInfo(msg);
    }
    EXPECT_EQ(MessagesInFile(OverflowFile), (std::vector<std::u16string>{u"5", u"6", u"7", u"8"}));
}

// The log keeps per-level counts as lines arrive; an overflow and a clear must leave them where a
// count of the lines themselves would, at every level, in both kinds of log.
TEST_F(RamLog, FilteredCountsFollowOverflowsAndClearsAtEveryLevel) {
    for (const bool multiThreaded : {false, true}) {
        SCOPED_TRACE(multiThreaded ? "multi-threaded" : "single-threaded");
        auto log = MakeLog(multiThreaded);
        log->SetMaxEntries(10);
        const auto expectCounts = [&] {
            for (int f = LogVerbLvlFirst; f <= LogVerbLvlLast; ++f) {
                int passing = 0;
                log->Lines().ForEachLocked([&](PLogLine line) { passing += line->Level >= f ? 1 : 0; });
                EXPECT_EQ(log->Count(true, static_cast<TLogVerbLvl>(f)), passing) << "filter " << f;
            }
        };
        const std::vector<std::function<void(const std::u16string&)>> adds = {
            [&](const std::u16string& m) { log->AddDebug(m); }, [&](const std::u16string& m) { log->AddVerb(m); },
            [&](const std::u16string& m) { log->AddHint(m); },  [&](const std::u16string& m) { log->AddInfo(m); },
            [&](const std::u16string& m) { log->AddImpo(m); },  [&](const std::u16string& m) { log->AddWarn(m); },
            [&](const std::u16string& m) { log->AddError(m); },
        };
        for (int i = 0; i < 10; ++i) {
            adds[static_cast<std::size_t>(i % 7)](u"before");
        }
        expectCounts();
        adds[6](u"the eleventh line passes the limit");
        EXPECT_EQ(log->Count(false, lvDebug), 0);
        EXPECT_EQ(log->Count(true, lvErrors), 0);
        expectCounts();
        for (int i = 0; i < 5; ++i) {
            adds[static_cast<std::size_t>(6 - i)](u"after");
        }
        EXPECT_EQ(log->Count(true, lvImportant), 3);
        expectCounts();
        log->Clear();
        expectCounts();
        EXPECT_EQ(log->Count(true, lvDebug), 0);
        // The overflow file kept every level of the lines it took.
        TRamLog reader(false, nullptr, false, Os);
        ASSERT_TRUE(reader.LoadFromFile(OverflowFile));
        EXPECT_EQ(reader.Count(true, lvErrors), 2);
        EXPECT_EQ(reader.Count(true, lvDebug), 11);
    }
}

TEST_F(RamLog, TwoMillionLinesThroughAMillionLineCapAllSurvive) {
    constexpr int total = 2000000;
    auto log = MakeLog();
    ASSERT_EQ(log->MaxEntries(), 1000000);
    for (int i = 0; i < total; ++i) {
        log->AddInfo(base::AsciiToUtf16(std::to_string(i)));
    }
    const std::vector<std::u16string> saved = MessagesInFile(OverflowFile);
    ASSERT_EQ(saved.size(), 1000001u);
    ASSERT_EQ(log->Count(false, lvDebug), total - 1000001);
    int next = 0;
    for (const std::u16string& msg : saved) {
        ASSERT_EQ(msg, base::AsciiToUtf16(std::to_string(next++)));
    }
    log->Lines().ForEachLocked(
        [&](PLogLine Line) { ASSERT_EQ(Line->Msg, base::AsciiToUtf16(std::to_string(next++))); });
    EXPECT_EQ(next, total);
}

TEST_F(RamLog, FailedOverflowSaveIsReportedAndTheLogStaysUsable) {
    Sim.Files.DenyWritesUnder(DataFolder);
    auto log = MakeLog();
    log->SetMaxEntries(2);
    for (const char16_t* msg : {u"1", u"2", u"3"}) {
        log->AddInfo(msg);
    }
    EXPECT_EQ(log->Count(false, lvDebug), 0);
    ASSERT_EQ(DebugLines().size(), 1u);
    EXPECT_TRUE(
        StartsWith(DebugLines()[0], u"TRamLog: Overflow save (file create) failed: Cannot create file"))
        << base::Utf16ToUtf8(DebugLines()[0]);
    log->AddInfo(u"4");
    EXPECT_EQ(log->Count(false, lvDebug), 1);
}

TEST_F(RamLog, PeriodicSaveWritesTheWholeLogOnceTheIntervalHasPassed) {
    auto log = MakeLog();
    log->AddInfo(u"a");
    Sim.Desktop.AdvanceMs(59999);
    log->AddInfo(u"b");
    EXPECT_FALSE(Sim.Files.FileExists(PeriodicFile));
    Sim.Desktop.AdvanceMs(1);
    log->AddInfo(u"c");
    EXPECT_EQ(MessagesInFile(PeriodicFile), (std::vector<std::u16string>{u"a", u"b", u"c"}));

    // The interval counts from the last successful save.
    log->AddInfo(u"d");
    Sim.Desktop.AdvanceMs(30000);
    log->AddInfo(u"e");
    EXPECT_EQ(MessagesInFile(PeriodicFile).size(), 3u);
    Sim.Desktop.AdvanceMs(30000);
    log->AddInfo(u"f");
    EXPECT_EQ(MessagesInFile(PeriodicFile).size(), 6u);
}

TEST_F(RamLog, FailedPeriodicSaveIsRetriedOnEveryAdd) {
    Sim.Files.RemoveFolder(DataFolder);
    auto log = MakeLog();
    Sim.Desktop.AdvanceMs(60000);
    log->AddInfo(u"a");
    log->AddInfo(u"b");
    ASSERT_EQ(DebugLines().size(), 2u);
    for (const auto& line : DebugLines()) {
        EXPECT_TRUE(StartsWith(line, u"TRamLog: Periodic save (file create) failed: Cannot create file"))
            << base::Utf16ToUtf8(line);
    }
    EXPECT_EQ(log->Count(false, lvDebug), 2);

    Sim.Files.AddFolder(DataFolder);
    log->AddInfo(u"c");
    EXPECT_EQ(MessagesInFile(PeriodicFile).size(), 3u);
    log->AddInfo(u"d");
    EXPECT_EQ(DebugLines().size(), 2u);
}

TEST_F(RamLog, PeriodicWriteErrorIsReportedAsWriteFailure) {
    Sim.FileStreams.LimitFileSize(100);
    auto log = MakeLog();
    Sim.Desktop.AdvanceMs(60000);
    log->AddInfo(u"a");
    ASSERT_EQ(DebugLines().size(), 1u);
    EXPECT_EQ(DebugLines()[0], u"TRamLog: Periodic save (write) failed: Stream write error");
}

TEST_F(RamLog, UnexpectedSaveErrorReachesTheCallerAfterTheLineIsAdded) {
    auto log = MakeLog();
    TAppDataCore::ClearIdentity(); // the data folder can no longer be named
    Sim.Desktop.AdvanceMs(60000);
    EXPECT_THROW(log->AddInfo(u"a"), EAssertionFailed);
    EXPECT_EQ(log->Count(false, lvDebug), 1);
    ASSERT_EQ(DebugLines().size(), 1u);
    EXPECT_EQ(DebugLines()[0],
              u"TRamLog: Periodic save (unexpected EAssertionFailed): AppName is empty! Ensure "
              u"TAppDataCore.Create was called.");
}

// File streams that raise an error for every file, as a backend that cannot do without the call
// would.
class TRaisingStreams final : public platform::IFileStreams {
public:
    explicit TRaisingStreams(std::function<void()> Raise) : FRaise(std::move(Raise)) {}
    platform::TFileOpenResult OpenRead(const std::u16string&) override { return Fail(); }
    platform::TFileOpenResult CreateWrite(const std::u16string&) override { return Fail(); }

private:
    platform::TFileOpenResult Fail() {
        FRaise();
        return {};
    }
    std::function<void()> FRaise;
};

TEST_F(RamLog, AnUnexpectedErrorInASaveIsReportedUnderItsOwnClassAndPassedOn) {
    struct TCase {
        std::function<void()> Raise;
        std::u16string ClassName;
        std::u16string Report;
    };
    std::vector<TCase> cases = {
        {[] { throw std::bad_alloc(); }, u"bad_alloc",
         u"TRamLog: Periodic save (unexpected bad_alloc): std::bad_alloc"},
        {[] { throw std::runtime_error("disk gone"); }, u"runtime_error",
         u"TRamLog: Periodic save (unexpected runtime_error): disk gone"},
        {[] { throw EInvalidPath(u"The path is invalid!"); }, u"EInvalidPath",
         u"TRamLog: Periodic save (unexpected EInvalidPath): The path is invalid!"},
    };
#if defined(_WIN32)
    // The Win32 backend's own error, whose text comes from the system.
    cases.push_back({[] { throw platform::win32::EOSError(u"CreateFileW", ERROR_ACCESS_DENIED); },
                     u"EOSError",
                     u"TRamLog: Periodic save (unexpected EOSError): " +
                         platform::win32::EOSError(u"CreateFileW", ERROR_ACCESS_DENIED).Message()});
#endif
    for (const TCase& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Report));
        TRaisingStreams streams(c.Raise);
        platform::TServices os{Os.Windows,  Os.Integrity,     Os.Input,    Os.Sound,   Os.Shell,
                               Os.Files,    Os.Debug,         Os.Clock,    streams,    Os.MainThread,
                               Os.Registry, Os.WindowControl, Os.Versions, Os.Hotkeys, Os.TimeFormat,
                               Os.Mutexes,  Os.ShellOpen,     Os.Dpi,      Os.Screens, Os.Foreground};
        const std::size_t before = DebugLines().size();
        TRamLog log(false, nullptr, false, os);
        Sim.Desktop.AdvanceMs(60000); // the periodic save is due with the next line
        std::u16string passedOn = u"nothing";
        try {
            log.AddInfo(u"a");
        } catch (const std::exception& e) {
            passedOn = base::ExceptionClassName(e);
        }
        EXPECT_EQ(passedOn, c.ClassName);
        EXPECT_EQ(log.Count(false, lvDebug), 1);
        ASSERT_EQ(DebugLines().size(), before + 1);
        EXPECT_EQ(DebugLines().back(), c.Report);
    }
}

// --- observer ---

TEST_F(RamLog, RegisteringAnObserverFollowsItsRules) {
    auto log = MakeLog();
    TRecordingObserver first;
    TRecordingObserver second;
    EXPECT_THROW_MSG(log->RegisterLogObserver(nullptr), EAssertionFailed, u"RegisterLogObserver: Observer cannot be nil. Call UnregisterLogObserver to detach.");
    log->RegisterLogObserver(&first);
    EXPECT_NO_THROW(log->RegisterLogObserver(&first));
    EXPECT_THROW_MSG(log->RegisterLogObserver(&second), EAssertionFailed, u"RegisterLogObserver: an observer is already registered. Call UnregisterLogObserver on the "
        u"previous one first.");
    log->AddInfo(u"a");
    EXPECT_EQ(first.Calls.size(), 1u);
    EXPECT_TRUE(second.Calls.empty());

    log->UnregisterLogObserver();
    EXPECT_NO_THROW(log->UnregisterLogObserver());
    log->RegisterLogObserver(&second);
    log->AddInfo(u"b");
    EXPECT_EQ(first.Calls.size(), 1u);
    EXPECT_EQ(second.Calls.size(), 1u);
}

TEST_F(RamLog, ConstructorRegistersTheObserverItIsGiven) {
    TRecordingObserver observer;
    auto log = MakeLog(false, &observer);
    log->AddVerb(u"a");
    EXPECT_EQ(observer.Calls, std::vector<std::string>{"Populate"});
}

TEST_F(RamLog, WarningsAndErrorsAlsoPopUpTheWindowWhenShowOnErrorIsSet) {
    struct TCase {
        bool ShowOnError;
        std::function<void(TRamLog&)> Add;
        std::vector<std::string> Calls;
    };
    const std::vector<TCase> cases = {
        {true, [](TRamLog& l) { l.AddError(u"e"); }, {"Populate", "PopUpWindow"}},
        {true, [](TRamLog& l) { l.AddWarn(u"w"); }, {"Populate", "PopUpWindow"}},
        {true, [](TRamLog& l) { l.AddImpo(u"i"); }, {"Populate"}},
        {false, [](TRamLog& l) { l.AddError(u"e"); }, {"Populate"}},
        {false, [](TRamLog& l) { l.AddWarn(u"w"); }, {"Populate"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        TRecordingObserver observer;
        auto log = MakeLog(false, &observer, cases[i].ShowOnError);
        cases[i].Add(*log);
        EXPECT_EQ(observer.Calls, cases[i].Calls) << i;
        EXPECT_EQ(Sim.MainThread.PendingCount(), 0u) << i;
    }
}

TEST_F(RamLog, WorkerThreadQueuesOneRefreshForManyLines) {
    auto log = MakeLog(true);
    TRecordingObserver observer(log.get());
    log->RegisterLogObserver(&observer);
    std::thread([&] {
        for (int i = 0; i < 200; ++i) {
            log->AddInfo(u"line");
        }
    }).join();
    EXPECT_TRUE(observer.Calls.empty());
    EXPECT_EQ(Sim.MainThread.PendingCount(), 1u);
    EXPECT_EQ(Sim.MainThread.Drain(), 1u);
    EXPECT_EQ(observer.CountsSeen, std::vector<int>{200});

    // Once the queued refresh has started, the next line queues another.
    std::thread([&] { log->AddInfo(u"more"); }).join();
    EXPECT_EQ(Sim.MainThread.PendingCount(), 1u);
    Sim.MainThread.Drain();
    EXPECT_EQ(observer.CountsSeen, (std::vector<int>{200, 201}));
}

TEST_F(RamLog, RefreshQueuedWhileAnotherRunsIsNotLost) {
    auto log = MakeLog(true);
    struct TAddingObserver : TRecordingObserver {
        using TRecordingObserver::TRecordingObserver;
        std::function<void()> OnFirstPopulate;
        void Populate() override {
            TRecordingObserver::Populate();
            if (OnFirstPopulate) {
                std::exchange(OnFirstPopulate, nullptr)();
            }
        }
    } observer(log.get());
    observer.OnFirstPopulate = [&] { std::thread([&] { log->AddInfo(u"during"); }).join(); };
    log->RegisterLogObserver(&observer);
    std::thread([&] { log->AddInfo(u"first"); }).join();
    EXPECT_EQ(Sim.MainThread.Drain(), 2u);
    EXPECT_EQ(observer.CountsSeen, (std::vector<int>{1, 2}));
}

TEST_F(RamLog, WorkerThreadPopUpsAndOverflowRefreshesAreAlwaysQueued) {
    auto log = MakeLog(true, nullptr, true);
    TRecordingObserver observer(log.get());
    log->RegisterLogObserver(&observer);
    log->SetMaxEntries(2);
    std::thread([&] {
        log->AddError(u"1"); // refresh + pop-up
        log->AddError(u"2"); // pop-up (refresh coalesced)
        log->AddInfo(u"3");  // overflow refresh, plain refresh coalesced
    }).join();
    EXPECT_EQ(Sim.MainThread.PendingCount(), 4u);
    Sim.MainThread.Drain();
    EXPECT_EQ(observer.Calls,
              (std::vector<std::string>{"Populate", "PopUpWindow", "PopUpWindow", "Populate"}));
    EXPECT_EQ(MessagesInFile(OverflowFile), (std::vector<std::u16string>{u"1", u"2", u"3"}));

    // Nothing is left pending, so a worker's next line queues a refresh again.
    std::thread([&] { log->AddInfo(u"4"); }).join();
    EXPECT_EQ(Sim.MainThread.PendingCount(), 1u);
}

TEST_F(RamLog, QueuedCallsNeverReachAnUnregisteredAndDestroyedObserver) {
    auto log = MakeLog(true, nullptr, true);
    std::vector<std::string> calls;
    struct TSharedRecorder : ILogObserver {
        explicit TSharedRecorder(std::vector<std::string>& Calls) : FCalls(Calls) {}
        void Populate() override { FCalls.push_back("Populate"); }
        void PopUpWindow() override { FCalls.push_back("PopUpWindow"); }
        std::vector<std::string>& FCalls;
    };
    auto doomed = std::make_unique<TSharedRecorder>(calls);
    log->RegisterLogObserver(doomed.get());
    std::thread([&] { log->AddError(u"e"); }).join();
    ASSERT_EQ(Sim.MainThread.PendingCount(), 2u);

    log->UnregisterLogObserver();
    doomed.reset();
    Sim.MainThread.Drain();
    EXPECT_TRUE(calls.empty());

    // The dropped refresh does not leave the coalescing flag taken.
    TSharedRecorder next(calls);
    log->RegisterLogObserver(&next);
    std::thread([&] { log->AddInfo(u"i"); }).join();
    Sim.MainThread.Drain();
    EXPECT_EQ(calls, std::vector<std::string>{"Populate"});
    log->UnregisterLogObserver();
}

// A queue whose RemoveQueued comes too late for every entry, as when a call was already taken off
// the queue when the observer unregistered.
class TLateRemovalQueue : public platform::IMainThread {
public:
    explicit TLateRemovalQueue(platform::sim::TSimMainThread& Queue) : FQueue(Queue) {}
    bool IsMainThread() const override { return FQueue.IsMainThread(); }
    void Queue(std::function<void()> Call, const void* Owner) override {
        FQueue.Queue(std::move(Call), Owner);
    }
    void RemoveQueued(const void*) override {}

private:
    platform::sim::TSimMainThread& FQueue;
};

TEST_F(RamLog, CallQueuedForAnEarlierRegistrationDoesNothingEvenAtTheSameAddress) {
    TLateRemovalQueue lateQueue(Sim.MainThread);
    platform::TServices os{Sim.Desktop,  Sim.Desktop,       Sim.Desktop, Sim.Desktop,     Sim.Files,
                           Sim.Files,    Sim.Desktop,       Sim.Desktop, Sim.FileStreams, lateQueue,
                           Sim.Registry, Sim.WindowControl, Sim.Versions,    Sim.Hotkeys,
                           Sim.TimeFormat, Sim.Mutexes, Sim.ShellOpen, Sim.Dpi, Sim.Desktop, Sim.Desktop};
    TRamLog log(true, nullptr, true, os);
    TRecordingObserver observer;
    log.RegisterLogObserver(&observer);
    std::thread([&] { log.AddWarn(u"w"); }).join();
    ASSERT_EQ(Sim.MainThread.PendingCount(), 2u);

    log.UnregisterLogObserver();
    log.RegisterLogObserver(&observer); // a new registration, perhaps a new object at the old address
    Sim.MainThread.Drain();
    EXPECT_TRUE(observer.Calls.empty());

    std::thread([&] { log.AddInfo(u"i"); }).join();
    Sim.MainThread.Drain();
    EXPECT_EQ(observer.Calls, std::vector<std::string>{"Populate"});
}

TEST_F(RamLog, DestroyingTheLogDropsItsQueuedCalls) {
    TRecordingObserver observer;
    auto log = MakeLog(true, &observer, true);
    std::thread([&] { log->AddError(u"e"); }).join();
    ASSERT_EQ(Sim.MainThread.PendingCount(), 2u);
    log.reset();
    EXPECT_EQ(Sim.MainThread.PendingCount(), 0u);
    EXPECT_TRUE(observer.Calls.empty());
}

TEST(NotifyCoalesceFlag, AcquiresOnlyWhenIdle) {
    TNotifyCoalesceFlag flag;
    EXPECT_EQ(flag.State(), 0);
    EXPECT_TRUE(flag.TryAcquire());
    EXPECT_EQ(flag.State(), 1);
    EXPECT_FALSE(flag.TryAcquire());
    flag.Release();
    EXPECT_EQ(flag.State(), 0);
    EXPECT_TRUE(flag.TryAcquire());
}

// --- text export ---

TEST_F(RamLog, GetAsTextJoinsMessagesWithLineBreaks) {
    auto log = MakeLog();
    EXPECT_EQ(log->GetAsText(), u"");
    log->AddInfo(u"a");
    EXPECT_EQ(log->GetAsText(), u"a");
    log->AddError(u"b");
    EXPECT_EQ(log->GetAsText(), u"a\r\nb");
}

TEST_F(RamLog, SaveAsTextWritesAByteOrderMarkOnlyForNonAsciiText) {
    auto log = MakeLog();
    log->AddInfo(u"a");
    log->AddInfo(u"b");
    const std::u16string path = u"C:\\Out\\Logs\\log.txt"; // folders missing
    log->SaveAsText(path);
    EXPECT_EQ(Sim.Files.Contents(path), std::optional<std::string>("a\r\nb"));

    log->AddInfo(u"caf\u00e9");
    log->SaveAsText(path);
    EXPECT_EQ(Sim.Files.Contents(path), std::optional<std::string>("\xEF\xBB\xBF"
                                                                   "a\r\nb\r\ncaf\xC3\xA9"));
}

TEST_F(RamLog, SaveAsTextFailureNamesThePath) {
    Sim.Files.DenyWritesUnder(u"C:\\Locked");
    auto log = MakeLog();
    log->AddInfo(u"a");
    EXPECT_THROW_MSG_THAT(log->SaveAsText(u"C:\\Locked\\log.txt"), EOrvelException,
                          ::testing::StartsWith("Error writing to file C:\\Locked\\log.txt: "));
}

// --- binary log format ---

TEST_F(RamLog, EmptyLogFileIs168BytesAndLoadsBackEmpty) {
    auto log = MakeLog();
    const std::u16string path = DataFolder + u"empty.logbin";
    log->SaveToFile(path);
    EXPECT_EQ(Sim.Files.Contents(path)->size(), 168u);

    auto other = MakeLog();
    other->AddInfo(u"old");
    EXPECT_TRUE(other->LoadFromFile(path));
    EXPECT_EQ(other->Count(false, lvDebug), 0);
}

TEST_F(RamLog, SavedLinesLoadBackWithLevelsBoldFlagsAndTimes) {
    auto log = MakeLog();
    log->AddWarn(u"abc");
    Sim.Desktop.AdvanceMs(1500);
    log->AddBold(u"\u00e9t\u00e9");
    const std::u16string path = DataFolder + u"two.logbin";
    log->SaveToFile(path);
    EXPECT_EQ(Sim.Files.Contents(path)->size(), 168u + (29 + 3) + (29 + 5));

    TRecordingObserver observer;
    auto loaded = MakeLog(false, &observer);
    ASSERT_TRUE(loaded->LoadFromFile(path));
    ASSERT_EQ(loaded->Count(false, lvDebug), 2);
    for (int i = 0; i < 2; ++i) {
        const PLogLine a = log->Lines().Items(i);
        const PLogLine b = loaded->Lines().Items(i);
        EXPECT_EQ(b->Msg, a->Msg);
        EXPECT_EQ(b->Level, a->Level);
        EXPECT_EQ(b->Bold, a->Bold);
        EXPECT_EQ(b->Time, a->Time);
    }
    EXPECT_EQ(observer.Calls, std::vector<std::string>{"Populate"});
}

TEST_F(RamLog, LoadFromFileOfMissingFileIsFalse) {
    auto log = MakeLog();
    log->AddInfo(u"kept");
    EXPECT_FALSE(log->LoadFromFile(DataFolder + u"none.logbin"));
    EXPECT_EQ(log->Count(false, lvDebug), 1);
}

TEST_F(RamLog, OtherVersionIsRefusedAndLeavesTheLogUnchanged) {
    const std::u16string path = DataFolder + u"v4.logbin";
    {
        TOrvelStream out = TOrvelStream::CreateWrite(Sim.FileStreams, path);
        out.WriteHeader("TRamLog", 4);
        out.WritePaddingValidation(64);
        out.Close();
    }
    TRecordingObserver observer;
    auto log = MakeLog(false, &observer);
    log->AddInfo(u"kept");
    observer.Calls.clear();
    EXPECT_FALSE(log->LoadFromFile(path));
    ASSERT_EQ(log->Count(false, lvDebug), 1);
    EXPECT_EQ(log->Lines().Items(0)->Msg, u"kept");
    EXPECT_TRUE(observer.Calls.empty());
    EXPECT_EQ(Sim.FileStreams.OpenHandles(), 0u);
}

TEST_F(RamLog, StreamRoundTripDoesNotTellTheObserver) {
    auto log = MakeLog();
    log->AddInfo(u"x");
    TKestroMemStream stream;
    log->SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 168 + 30);

    TRecordingObserver observer;
    auto loaded = MakeLog(false, &observer);
    stream.SetPosition(0);
    EXPECT_TRUE(loaded->LoadFromStream(stream));
    EXPECT_EQ(loaded->GetAsText(), u"x");
    EXPECT_TRUE(observer.Calls.empty());
}

TEST_F(RamLog, DamagedClosingPatternRaisesAfterClearing) {
    auto log = MakeLog();
    log->AddInfo(u"x");
    TKestroMemStream stream;
    log->SaveToStream(stream);
    std::string bytes = stream.AsString();
    bytes[bytes.size() - 1] ^= 0x20;
    TKestroMemStream damaged;
    damaged.WriteChars(std::string_view(bytes));
    damaged.SetPosition(0);
    EXPECT_THROW(log->LoadFromStream(damaged), EOrvelException);
}

TEST_F(RamLog, SnapshotMustExist) {
    auto log = MakeLog();
    EXPECT_THROW_MSG(log->SaveSnapshotToFile(nullptr, DataFolder + u"s.logbin"), EAssertionFailed, u"SaveSnapshotToFile: Snapshot cannot be nil");
}

} // namespace
} // namespace orvel
