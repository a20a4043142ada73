// Throughput and memory of the log containers, the RAM log and the log file form, each next to a
// baseline measured in the same run. `make bench`; the figures and the machine go to
// docs/PERFORMANCE.md by hand.
#include "bench/Bench.Posix.h"
#include "framework/core/OrvelCore.LogLinesM.h"
#include "framework/core/OrvelCore.LogLinesS.h"
#include "framework/core/OrvelCore.LogRam.h"
#include "framework/core/OrvelCore.StreamBuff.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "platform/sim/Sim.Desktop.h"
#include "platform/sim/Sim.FileSystem.h"
#include "platform/sim/Sim.MainThread.h"
#include "platform/sim/Sim.Platform.h"
#include "platform/sim/Sim.Registry.h"
#include "platform/sim/Sim.VersionInfo.h"
#include "platform/sim/Sim.WindowControl.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/headless/Headless.Backend.h"

#include <benchmark/benchmark.h>
#include <spdlog/logger.h>
#include <spdlog/sinks/ringbuffer_sink.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <unistd.h>
#include <vector>

using orvel::PLogLine;
using orvel::RLogLine;
using orvel::TLogVerbLvl;

namespace {

constexpr int LineCount = 1000000;
constexpr int Writers = 4;
constexpr int PageRows = 40;

// --- the workload ------------------------------------------------------------------------------

// Typical log lines of 40 to 120 characters, the same every run.
struct TWorkload {
    std::vector<std::u16string> Msgs;
    std::vector<std::string> Utf8; // the same texts for spdlog
    std::vector<TLogVerbLvl> Levels;
    std::size_t Utf16Bytes = 0;

    TWorkload() {
        static const std::array<const char*, 24> words = {"Hotkey",
                                                          "pressed:",
                                                          "sending",
                                                          "/effort",
                                                          "high",
                                                          "to",
                                                          "ConsoleWindowClass",
                                                          "(pid",
                                                          "4242)",
                                                          "target",
                                                          "check",
                                                          "passed",
                                                          "refused",
                                                          "integrity",
                                                          "level",
                                                          "medium",
                                                          "burst",
                                                          "phase",
                                                          "clear",
                                                          "Ctrl+U",
                                                          "restored",
                                                          "prompt.",
                                                          "window",
                                                          "CASCADIA_HOSTING_WINDOW_CLASS"};
        std::mt19937 random(20260101);
        std::uniform_int_distribution<int> length(40, 120);
        std::uniform_int_distribution<std::size_t> word(0, words.size() - 1);
        // Mostly routine lines, a few warnings and errors.
        std::discrete_distribution<int> level({30, 10, 10, 45, 3, 1.5, 0.5});
        Msgs.reserve(LineCount);
        Utf8.reserve(LineCount);
        Levels.reserve(LineCount);
        for (int i = 0; i < LineCount; ++i) {
            const auto target = static_cast<std::size_t>(length(random));
            std::string text;
            while (text.size() < target) {
                text += words[word(random)];
                text += ' ';
            }
            text.resize(target);
            Utf8.push_back(text);
            Msgs.emplace_back(text.begin(), text.end());
            Utf16Bytes += target * sizeof(char16_t);
            Levels.push_back(static_cast<TLogVerbLvl>(level(random)));
        }
    }
};

const TWorkload& Work() {
    static const TWorkload work;
    return work;
}

bench::TPosixClock Clock;
bench::TPosixFileStreams FileStreams;
bench::TPosixFileSystem FileSystem;

// The RAM log's services: real clock, disk and files; the rest simulated and unused here.
struct TBenchOs {
    platform::sim::TSimDesktop Desktop;
    platform::sim::TSimFileSystem Shell;
    platform::sim::TSimMainThread MainThread;
    platform::sim::TSimRegistry Registry;
    platform::sim::TSimWindowControl WindowControl{Desktop};
    platform::sim::TSimVersionInfo Versions;
    platform::sim::TSimHotkeys Hotkeys;
    platform::sim::TSimTimeFormat TimeFormat;
    platform::TServices Services{Desktop,    Desktop,       Desktop, Desktop,     Shell,
                                 FileSystem, Desktop,       Clock,   FileStreams, MainThread,
                                 Registry,   WindowControl, Versions, Hotkeys,    TimeFormat};
};

std::unique_ptr<orvel::TRamLog> MakeRamLog(TBenchOs& os, bool multiThreaded) {
    auto log = std::make_unique<orvel::TRamLog>(false, nullptr, multiThreaded, os.Services);
    // Neither automatic save may fall inside a measurement.
    log->SetMaxEntries(4 * LineCount);
    log->SetSaveInterval(1000000000);
    return log;
}

std::shared_ptr<spdlog::logger> MakeSpdlog(bool multiThreaded) {
    spdlog::sink_ptr sink;
    if (multiThreaded) {
        sink = std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(LineCount);
    } else {
        sink = std::make_shared<spdlog::sinks::ringbuffer_sink_st>(LineCount);
    }
    auto logger = std::make_shared<spdlog::logger>("bench", sink);
    logger->set_level(spdlog::level::trace);
    return logger;
}

// Runs Body(first, last) on Writers threads, each on its quarter of the lines, all released at once.
template <typename TBody> void OnWriters(TBody&& Body) {
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < Writers; ++t) {
        threads.emplace_back([&, t] {
            ready.fetch_add(1);
            while (ready.load() < Writers) {
            }
            Body(t * (LineCount / Writers), (t + 1) * (LineCount / Writers));
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
}

// Lines per second over the whole run.
void CountLines(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * LineCount);
}

// --- (1) one thread appends 1,000,000 lines --------------------------------------------------------

void BM_Append_Vector(benchmark::State& state) {
    const auto& w = Work();
    for (auto _ : state) {
        std::vector<RLogLine> records;
        records.reserve(LineCount);
        for (int i = 0; i < LineCount; ++i) {
            records.push_back(RLogLine{w.Msgs[i], orvel::lvInfos, 0, false, Clock.Now()});
        }
        benchmark::DoNotOptimize(records.data());
        state.PauseTiming();
        records = {};
        state.ResumeTiming();
    }
    CountLines(state);
}

template <typename TContainer> void BM_Append_Lines(benchmark::State& state) {
    const auto& w = Work();
    for (auto _ : state) {
        auto lines = std::make_unique<TContainer>(Clock);
        for (int i = 0; i < LineCount; ++i) {
            lines->AddNewLine(w.Msgs[i], orvel::lvInfos, false, 0);
        }
        state.PauseTiming();
        lines.reset();
        state.ResumeTiming();
    }
    CountLines(state);
}

void BM_Append_RamLog(benchmark::State& state) {
    const auto& w = Work();
    TBenchOs os;
    for (auto _ : state) {
        auto log = MakeRamLog(os, false);
        for (int i = 0; i < LineCount; ++i) {
            log->AddInfo(w.Msgs[i]);
        }
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    CountLines(state);
}

void BM_Append_SpdlogRing(benchmark::State& state) {
    const auto& w = Work();
    for (auto _ : state) {
        auto logger = MakeSpdlog(false);
        for (int i = 0; i < LineCount; ++i) {
            logger->log(spdlog::level::info, spdlog::string_view_t(w.Utf8[i]));
        }
        state.PauseTiming();
        logger.reset();
        state.ResumeTiming();
    }
    CountLines(state);
}

// --- (2) four threads append 250,000 lines each ----------------------------------------------------

void BM_Append4_MutexVector(benchmark::State& state) {
    const auto& w = Work();
    for (auto _ : state) {
        std::vector<RLogLine> records;
        records.reserve(LineCount);
        std::mutex lock;
        OnWriters([&](int first, int last) {
            for (int i = first; i < last; ++i) {
                RLogLine line{w.Msgs[i], orvel::lvInfos, 0, false, Clock.Now()};
                const std::lock_guard guard(lock);
                records.push_back(std::move(line));
            }
        });
        state.PauseTiming();
        records = {};
        state.ResumeTiming();
    }
    CountLines(state);
}

void BM_Append4_LinesM(benchmark::State& state) {
    const auto& w = Work();
    for (auto _ : state) {
        auto lines = std::make_unique<orvel::TLogLinesMultiThreaded>(Clock);
        OnWriters([&](int first, int last) {
            for (int i = first; i < last; ++i) {
                lines->AddNewLine(w.Msgs[i], orvel::lvInfos, false, 0);
            }
        });
        state.PauseTiming();
        lines.reset();
        state.ResumeTiming();
    }
    CountLines(state);
}

void BM_Append4_RamLog(benchmark::State& state) {
    const auto& w = Work();
    TBenchOs os;
    for (auto _ : state) {
        auto log = MakeRamLog(os, true);
        OnWriters([&](int first, int last) {
            for (int i = first; i < last; ++i) {
                log->AddInfo(w.Msgs[i]);
            }
        });
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    CountLines(state);
}

void BM_Append4_SpdlogRing(benchmark::State& state) {
    const auto& w = Work();
    for (auto _ : state) {
        auto logger = MakeSpdlog(true);
        OnWriters([&](int first, int last) {
            for (int i = first; i < last; ++i) {
                logger->log(spdlog::level::info, spdlog::string_view_t(w.Utf8[i]));
            }
        });
        state.PauseTiming();
        logger.reset();
        state.ResumeTiming();
    }
    CountLines(state);
}

// --- (3) saving and loading 1,000,000 lines --------------------------------------------------------

const std::string& TempDir() {
    static const std::string dir = [] {
        const auto path =
            std::filesystem::temp_directory_path() / ("tarvin-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return dir;
}

std::u16string TempFile(const char* name) {
    const std::string path = TempDir() + "/" + name;
    return std::u16string(path.begin(), path.end());
}

// 1,000,000 lines with their levels, built once.
const orvel::TLogLinesSingleThreaded& Filled() {
    static const auto lines = [] {
        auto made = std::make_unique<orvel::TLogLinesSingleThreaded>(Clock);
        const auto& w = Work();
        for (int i = 0; i < LineCount; ++i) {
            made->AddNewLine(w.Msgs[i], w.Levels[i], false, 0);
        }
        return made;
    }();
    return *lines;
}

std::int64_t FileBytes(const std::u16string& path) {
    return FileStreams.OpenRead(path).Handle->Size();
}

void BM_Save_LinesStream(benchmark::State& state) {
    const auto& lines = Filled();
    const std::u16string path = TempFile("lines.logbin");
    for (auto _ : state) {
        auto stream = orvel::TOrvelStream::CreateWrite(FileStreams, path);
        lines.WriteToStream(stream);
        stream.Close();
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
    CountLines(state);
}

void BM_Load_LinesStream(benchmark::State& state) {
    const std::u16string path = TempFile("lines.logbin");
    {
        auto stream = orvel::TOrvelStream::CreateWrite(FileStreams, path);
        Filled().WriteToStream(stream);
        stream.Close();
    }
    for (auto _ : state) {
        auto lines = std::make_unique<orvel::TLogLinesSingleThreaded>(Clock);
        auto stream = orvel::TOrvelStream::CreateRead(FileStreams, path);
        lines->ReadFromStream(stream);
        stream.Close();
        if (lines->Count() != LineCount) {
            state.SkipWithError("the file did not read back whole");
        }
        state.PauseTiming();
        lines.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
    CountLines(state);
}

std::unique_ptr<orvel::TRamLog> FilledRamLog(TBenchOs& os) {
    auto log = MakeRamLog(os, false);
    for (const auto& msg : Work().Msgs) {
        log->AddInfo(msg);
    }
    return log;
}

void BM_Save_RamLog(benchmark::State& state) {
    TBenchOs os;
    const auto log = FilledRamLog(os);
    const std::u16string path = TempFile("ramlog.logbin");
    for (auto _ : state) {
        log->SaveToFile(path);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
    CountLines(state);
}

void BM_Load_RamLog(benchmark::State& state) {
    TBenchOs os;
    const std::u16string path = TempFile("ramlog.logbin");
    FilledRamLog(os)->SaveToFile(path);
    for (auto _ : state) {
        auto log = MakeRamLog(os, false);
        if (!log->LoadFromFile(path) || log->Count(false, orvel::lvDebug) != LineCount) {
            state.SkipWithError("the RAM log did not load back whole");
        }
        state.PauseTiming();
        log.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * FileBytes(path));
    CountLines(state);
}

// The same byte count as the lines' file, as one buffer written and read in 1 MiB calls.
std::string& RawBytes() {
    static std::string bytes = [] {
        const std::u16string path = TempFile("lines.logbin");
        auto stream = orvel::TOrvelStream::CreateWrite(FileStreams, path);
        Filled().WriteToStream(stream);
        stream.Close();
        return std::string(static_cast<std::size_t>(FileBytes(path)), 'x');
    }();
    return bytes;
}

void BM_Save_RawWrite(benchmark::State& state) {
    const std::string& bytes = RawBytes();
    const std::string path = TempDir() + "/raw.bin";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n =
                ::write(fd, bytes.data() + done, std::min<std::size_t>(1 << 20, bytes.size() - done));
            if (n <= 0) {
                state.SkipWithError("write failed");
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    CountLines(state);
}

void BM_Load_RawRead(benchmark::State& state) {
    const std::string& bytes = RawBytes();
    const std::string path = TempDir() + "/raw.bin";
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::close(fd);
    }
    for (auto _ : state) {
        std::string back(bytes.size(), '\0');
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::size_t done = 0;
        while (done < back.size()) {
            const ssize_t n =
                ::read(fd, back.data() + done, std::min<std::size_t>(1 << 20, back.size() - done));
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(back.data());
        if (done != bytes.size()) {
            state.SkipWithError("short read");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    CountLines(state);
}

// --- (4) one viewer refresh at 1,000,000 lines -----------------------------------------------------

void BM_Refresh(benchmark::State& state) {
    const auto& lines = Filled();
    const auto filter = static_cast<TLogVerbLvl>(state.range(0));
    std::array<PLogLine, PageRows> page{};
    for (auto _ : state) {
        const int passing = lines.CountFiltered(filter);
        const int got = lines.GetFilteredSlice(filter, std::max(0, passing - PageRows), page);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(page.data());
    }
}

// The log viewer's own refresh (Populate) of a 40-row page over a RAM log holding the same
// 1,000,000 lines, on the headless toolkit: counting, fetching the last page, noting where each of
// its lines lies, and filling the grid rows.
void BM_ViewerRefresh(benchmark::State& state) {
    struct TViewerScene {
        platform::sim::TSimPlatform Sim;
        toolkit::headless::THeadlessBackend Backend{Sim};
        toolkit::TApplication App{Backend, Sim.MainThread};
        platform::TServices Os = Sim.Services();
        orvel::TRamLog Log{false, nullptr, false, Os};
        toolkit::TForm* Form = toolkit::NewForm<toolkit::TForm>(&App);
        orvel::TLogViewer* Viewer = nullptr;
    };
    TViewerScene scene;
    const auto& w = Work();
    for (int i = 0; i < LineCount; ++i) {
        scene.Log.Lines().AddNewLine(w.Msgs[i], w.Levels[i], false, 0);
    }
    scene.Viewer = new orvel::TLogViewer(scene.Form, scene.Os);
    scene.Viewer->SetParent(scene.Form);
    scene.Viewer->SetBounds(0, 0, 600, (PageRows + 1) * orvel::TLogViewer::RowHeight);
    scene.Viewer->HandleNeeded();
    scene.Viewer->SetVerbosity(static_cast<TLogVerbLvl>(state.range(0)));
    scene.Viewer->AssignExternalRamLog(&scene.Log);
    for (auto _ : state) {
        scene.Viewer->Populate();
    }
    benchmark::DoNotOptimize(scene.Viewer->FilteredRowCount());
    scene.Viewer->Free(); // before the log it observes
}

// The floor: one walk over 1,000,000 line pointers reading each line's level.
void BM_Refresh_PlainPass(benchmark::State& state) {
    const auto& lines = Filled();
    std::vector<PLogLine> pointers;
    pointers.reserve(LineCount);
    for (int i = 0; i < LineCount; ++i) {
        pointers.push_back(lines.Items(i));
    }
    for (auto _ : state) {
        int passing = 0;
        for (const PLogLine line : pointers) {
            passing += line->Level >= orvel::lvWarnings ? 1 : 0;
        }
        benchmark::DoNotOptimize(passing);
    }
}

BENCHMARK(BM_Append_Vector)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Append_SpdlogRing)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Append_Lines<orvel::TLogLinesSingleThreaded>)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Append_Lines<orvel::TLogLinesMultiThreaded>)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Append_RamLog)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Append4_MutexVector)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Append4_SpdlogRing)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Append4_LinesM)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Append4_RamLog)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Save_RawWrite)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Save_LinesStream)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Save_RamLog)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Load_RawRead)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Load_LinesStream)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Load_RamLog)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Refresh_PlainPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Refresh)->Unit(benchmark::kMillisecond)->Arg(orvel::lvDebug)->Arg(orvel::lvWarnings);
BENCHMARK(BM_ViewerRefresh)->Unit(benchmark::kMillisecond)->Arg(orvel::lvDebug)->Arg(orvel::lvWarnings);

// --- the summary -----------------------------------------------------------------------------------

// Keeps every run's real time per iteration, by name, while printing as usual.
class TCollector final : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Seconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                Seconds[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void Compare(const TCollector& c, const char* what, const std::string& name, const std::string& baseline) {
    const auto a = c.Seconds.find(name);
    const auto b = c.Seconds.find(baseline);
    if (a == c.Seconds.end() || b == c.Seconds.end()) {
        return; // filtered out
    }
    std::printf("%-44s %10.2f ms  vs %-34s %10.2f ms  ratio %6.2f\n", what, a->second * 1e3, baseline.c_str(),
                b->second * 1e3, a->second / b->second);
}

// Heap bytes in use, from the allocator itself.
std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

template <typename TFill> void MemoryPerLine(const char* what, TFill&& Fill) {
    const std::size_t before = HeapInUse();
    auto keep = Fill();
    const std::size_t after = HeapInUse();
    const double perLine = static_cast<double>(after - before) / LineCount;
    const double own = static_cast<double>(Work().Utf16Bytes) / LineCount;
    std::printf("%-44s %8.1f bytes/line  vs message's UTF-16 %6.1f bytes  ratio %5.2f\n", what, perLine, own,
                perLine / own);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::printf("Workload: %d lines of 40-120 characters, %.1f MB of UTF-16 text\n", LineCount,
                static_cast<double>(Work().Utf16Bytes) / 1e6);
    TCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf("\n== Each figure next to its baseline from this run (ratio = figure / baseline) ==\n");
    const auto& c = collector;
    Compare(c, "(1) TLogLinesSingleThreaded::AddNewLine",
            "BM_Append_Lines<orvel::TLogLinesSingleThreaded>/iterations:5",
            "BM_Append_SpdlogRing/iterations:5");
    Compare(c, "(1) TLogLinesMultiThreaded::AddNewLine",
            "BM_Append_Lines<orvel::TLogLinesMultiThreaded>/iterations:5",
            "BM_Append_SpdlogRing/iterations:5");
    Compare(c, "(1) TRamLog::AddInfo", "BM_Append_RamLog/iterations:5", "BM_Append_SpdlogRing/iterations:5");
    Compare(c, "(1) TRamLog::AddInfo", "BM_Append_RamLog/iterations:5", "BM_Append_Vector/iterations:5");
    Compare(c, "(1) TLogLinesSingleThreaded::AddNewLine",
            "BM_Append_Lines<orvel::TLogLinesSingleThreaded>/iterations:5", "BM_Append_Vector/iterations:5");
    Compare(c, "(2) 4 writers TLogLinesMultiThreaded", "BM_Append4_LinesM/iterations:5/real_time",
            "BM_Append4_SpdlogRing/iterations:5/real_time");
    Compare(c, "(2) 4 writers TRamLog::AddInfo", "BM_Append4_RamLog/iterations:5/real_time",
            "BM_Append4_SpdlogRing/iterations:5/real_time");
    Compare(c, "(2) 4 writers TLogLinesMultiThreaded", "BM_Append4_LinesM/iterations:5/real_time",
            "BM_Append4_MutexVector/iterations:5/real_time");
    Compare(c, "(3) save: list-of-lines stream", "BM_Save_LinesStream/iterations:5/real_time",
            "BM_Save_RawWrite/iterations:5/real_time");
    Compare(c, "(3) save: TRamLog::SaveToFile", "BM_Save_RamLog/iterations:5/real_time",
            "BM_Save_RawWrite/iterations:5/real_time");
    Compare(c, "(3) load: list-of-lines stream", "BM_Load_LinesStream/iterations:5/real_time",
            "BM_Load_RawRead/iterations:5/real_time");
    Compare(c, "(3) load: TRamLog::LoadFromFile", "BM_Load_RamLog/iterations:5/real_time",
            "BM_Load_RawRead/iterations:5/real_time");
    std::printf("(3) the lines' file: %zu bytes\n", RawBytes().size());
    Compare(c, "(4) refresh at lvDebug", "BM_Refresh/0", "BM_Refresh_PlainPass");
    Compare(c, "(4) refresh at lvWarnings", "BM_Refresh/5", "BM_Refresh_PlainPass");
    Compare(c, "(4) TLogViewer::Populate at lvDebug", "BM_ViewerRefresh/0", "BM_Refresh_PlainPass");
    Compare(c, "(4) TLogViewer::Populate at lvWarnings", "BM_ViewerRefresh/5", "BM_Refresh_PlainPass");

    MemoryPerLine("(5) TLogLinesSingleThreaded, 1,000,000 lines", [] {
        auto lines = std::make_unique<orvel::TLogLinesSingleThreaded>(Clock);
        for (const auto& msg : Work().Msgs) {
            lines->AddNewLine(msg, orvel::lvInfos, false, 0);
        }
        return lines;
    });
    MemoryPerLine("(5) TLogLinesMultiThreaded, 1,000,000 lines", [] {
        auto lines = std::make_unique<orvel::TLogLinesMultiThreaded>(Clock);
        for (const auto& msg : Work().Msgs) {
            lines->AddNewLine(msg, orvel::lvInfos, false, 0);
        }
        return lines;
    });
    {
        TBenchOs os;
        MemoryPerLine("(5) TRamLog, 1,000,000 AddInfo", [&] { return FilledRamLog(os); });
    }
    std::filesystem::remove_all(TempDir());
    benchmark::Shutdown();
    return 0;
}
