// The log engine next to its baselines: appends from one and from four threads, saving and loading
// a million lines, a viewer refresh, and the heap a line takes. `make bench`; docs/PERFORMANCE.md
// says which line of the output each of its figures comes from.
#include "bench/Bench.Harness.h"
#include "bench/Bench.Posix.h"
#include "bench/Bench.Workload.h"
#include "framework/core/OrvelCore.LogLinesM.h"
#include "framework/core/OrvelCore.LogLinesS.h"
#include "framework/core/OrvelCore.LogRam.h"
#include "framework/core/OrvelCore.StreamBuff.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "platform/sim/Sim.Desktop.h"
#include "platform/sim/Sim.DpiAwareness.h"
#include "platform/sim/Sim.FileSystem.h"
#include "platform/sim/Sim.MainThread.h"
#include "platform/sim/Sim.NamedMutexes.h"
#include "platform/sim/Sim.Platform.h"
#include "platform/sim/Sim.Registry.h"
#include "platform/sim/Sim.ShellOpen.h"
#include "platform/sim/Sim.VersionInfo.h"
#include "platform/sim/Sim.WindowControl.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/headless/Headless.Backend.h"

#include <spdlog/logger.h>
#include <spdlog/sinks/ringbuffer_sink.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <latch>
#include <malloc.h>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

using bench::LineCount;
using bench::TwoPasses;
using bench::Work;
using orvel::PLogLine;
using orvel::TLogVerbLvl;

namespace {

constexpr int Writers = 4;
constexpr int PageRows = 40;

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
    platform::sim::TSimNamedMutexes Mutexes;
    platform::sim::TSimShellOpen ShellOpen;
    platform::sim::TSimDpiAwareness Dpi;
    platform::TServices Services{Desktop,    Desktop,       Desktop,  Desktop,     Shell,
                                 FileSystem, Desktop,       Clock,    FileStreams, MainThread,
                                 Registry,   WindowControl, Versions, Hotkeys,     TimeFormat,
                                 Mutexes,    ShellOpen,     Dpi,           Desktop,       Desktop};
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
    std::latch start(Writers);
    std::vector<std::thread> threads;
    for (int t = 0; t < Writers; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            Body(t * (LineCount / Writers), (t + 1) * (LineCount / Writers));
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
}

// The record of the vector baselines: the line's fields beside a string of its own.
struct TPlainRecord {
    std::u16string Msg;
    TLogVerbLvl Level = orvel::lvDebug;
    std::int32_t Indent = 0;
    bool Bold = false;
    double Time = 0;
};

// --- (1) one thread appends 1,000,000 lines --------------------------------------------------------

double AppendVector() {
    const auto& w = Work();
    return TwoPasses(
        [] {
            std::vector<TPlainRecord> records;
            records.reserve(LineCount);
            return records;
        },
        [&](std::vector<TPlainRecord>& records) {
            for (int i = 0; i < LineCount; ++i) {
                records.push_back(TPlainRecord{w.Msgs[i], orvel::lvInfos, 0, false, Clock.Now()});
            }
        },
        [](std::vector<TPlainRecord>& records) { records = {}; });
}

template <typename TContainer> double AppendLines() {
    const auto& w = Work();
    return TwoPasses([] { return std::make_unique<TContainer>(Clock); },
                     [&](std::unique_ptr<TContainer>& lines) {
                         for (int i = 0; i < LineCount; ++i) {
                             lines->AddNewLine(w.Msgs[i], orvel::lvInfos, false, 0);
                         }
                     },
                     [](std::unique_ptr<TContainer>& lines) { lines.reset(); });
}

double AppendRamLog() {
    const auto& w = Work();
    TBenchOs os;
    return TwoPasses([&] { return MakeRamLog(os, false); },
                     [&](std::unique_ptr<orvel::TRamLog>& log) {
                         for (int i = 0; i < LineCount; ++i) {
                             log->AddInfo(w.Msgs[i]);
                         }
                     },
                     [](std::unique_ptr<orvel::TRamLog>& log) { log.reset(); });
}

double AppendSpdlog() {
    const auto& w = Work();
    return TwoPasses([] { return MakeSpdlog(false); },
                     [&](std::shared_ptr<spdlog::logger>& logger) {
                         for (int i = 0; i < LineCount; ++i) {
                             logger->log(spdlog::level::info, spdlog::string_view_t(w.Utf8[i]));
                         }
                     },
                     [](std::shared_ptr<spdlog::logger>& logger) { logger.reset(); });
}

// --- (2) four threads append 250,000 lines each ----------------------------------------------------

double Append4MutexVector() {
    const auto& w = Work();
    struct TState {
        std::vector<TPlainRecord> Records;
        std::mutex Lock;
    };
    return TwoPasses(
        [] {
            auto state = std::make_unique<TState>();
            state->Records.reserve(LineCount);
            return state;
        },
        [&](std::unique_ptr<TState>& state) {
            OnWriters([&](int first, int last) {
                for (int i = first; i < last; ++i) {
                    TPlainRecord line{w.Msgs[i], orvel::lvInfos, 0, false, Clock.Now()};
                    const std::lock_guard guard(state->Lock);
                    state->Records.push_back(std::move(line));
                }
            });
        },
        [](std::unique_ptr<TState>& state) { state.reset(); });
}

double Append4LinesM() {
    const auto& w = Work();
    return TwoPasses([] { return std::make_unique<orvel::TLogLinesMultiThreaded>(Clock); },
                     [&](std::unique_ptr<orvel::TLogLinesMultiThreaded>& lines) {
                         OnWriters([&](int first, int last) {
                             for (int i = first; i < last; ++i) {
                                 lines->AddNewLine(w.Msgs[i], orvel::lvInfos, false, 0);
                             }
                         });
                     },
                     [](std::unique_ptr<orvel::TLogLinesMultiThreaded>& lines) { lines.reset(); });
}

double Append4RamLog() {
    const auto& w = Work();
    TBenchOs os;
    return TwoPasses([&] { return MakeRamLog(os, true); },
                     [&](std::unique_ptr<orvel::TRamLog>& log) {
                         OnWriters([&](int first, int last) {
                             for (int i = first; i < last; ++i) {
                                 log->AddInfo(w.Msgs[i]);
                             }
                         });
                     },
                     [](std::unique_ptr<orvel::TRamLog>& log) { log.reset(); });
}

double Append4Spdlog() {
    const auto& w = Work();
    return TwoPasses([] { return MakeSpdlog(true); },
                     [&](std::shared_ptr<spdlog::logger>& logger) {
                         OnWriters([&](int first, int last) {
                             for (int i = first; i < last; ++i) {
                                 logger->log(spdlog::level::info, spdlog::string_view_t(w.Utf8[i]));
                             }
                         });
                     },
                     [](std::shared_ptr<spdlog::logger>& logger) { logger.reset(); });
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

// A file name no earlier pass has written, removed by Teardown: truncating the file an earlier
// pass wrote could wait, inside the timed part, for the system to finish writing it to disk.
struct TFreshFile {
    std::string Path;
    TFreshFile() {
        static int next = 0;
        Path = TempDir() + "/out-" + std::to_string(getpid()) + "-" + std::to_string(next++) + ".bin";
    }
    std::u16string Wide() const { return std::u16string(Path.begin(), Path.end()); }
    static void Teardown(TFreshFile& File) { ::unlink(File.Path.c_str()); }
};

std::u16string TempFile(const char* name) {
    const std::string path = TempDir() + "/" + name;
    return std::u16string(path.begin(), path.end());
}

// The workload with its levels in a container.
std::unique_ptr<orvel::TLogLinesSingleThreaded> FilledLines(int Count = LineCount) {
    auto lines = std::make_unique<orvel::TLogLinesSingleThreaded>(Clock);
    const auto& w = Work();
    for (int i = 0; i < Count; ++i) {
        lines->AddNewLine(w.Msgs[static_cast<std::size_t>(i)], w.Levels[static_cast<std::size_t>(i)], false, 0);
    }
    return lines;
}

std::unique_ptr<orvel::TRamLog> FilledRamLog(TBenchOs& os) {
    auto log = MakeRamLog(os, false);
    for (const auto& msg : Work().Msgs) {
        log->AddInfo(msg);
    }
    return log;
}

std::int64_t FileBytes(const std::u16string& path) {
    return FileStreams.OpenRead(path).Handle->Size();
}

// The files the loads read and the raw baselines' bytes, made once before any measurement.
struct TFiles {
    std::u16string Lines = TempFile("lines.logbin");
    std::u16string RamLog = TempFile("ramlog.logbin");
    std::string Raw = TempDir() + "/raw.bin";
    std::string RawBytes; // as many bytes as the lines' file
};

TFiles& Files() {
    static TFiles files;
    return files;
}

void PrepareFiles() {
    TFiles& f = Files();
    {
        auto lines = FilledLines();
        auto stream = orvel::TOrvelStream::CreateWrite(FileStreams, f.Lines);
        lines->WriteToStream(stream);
        stream.Close();
    }
    {
        TBenchOs os;
        FilledRamLog(os)->SaveToFile(f.RamLog);
    }
    f.RawBytes.assign(static_cast<std::size_t>(FileBytes(f.Lines)), 'x');
    const int fd = ::open(f.Raw.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::write(fd, f.RawBytes.data(), f.RawBytes.size()) ==
                                         static_cast<ssize_t>(f.RawBytes.size());
    if (fd >= 0) {
        ::close(fd);
    }
    if (!written) {
        throw std::runtime_error("cannot write " + f.Raw);
    }
}

double SaveRawWrite() {
    const std::string& bytes = Files().RawBytes;
    return TwoPasses([] { return TFreshFile(); },
                     [&](TFreshFile& file) {
                         const int fd = ::open(file.Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
                         for (std::size_t done = 0; done < bytes.size();) {
                             const ssize_t n = ::write(fd, bytes.data() + done,
                                                       std::min<std::size_t>(1 << 20, bytes.size() - done));
                             if (n <= 0) {
                                 throw std::runtime_error("write failed");
                             }
                             done += static_cast<std::size_t>(n);
                         }
                         ::close(fd);
                     },
                     TFreshFile::Teardown);
}

double SaveLinesStream() {
    const auto lines = FilledLines();
    return TwoPasses([] { return TFreshFile(); },
                     [&](TFreshFile& file) {
                         auto stream = orvel::TOrvelStream::CreateWrite(FileStreams, file.Wide());
                         lines->WriteToStream(stream);
                         stream.Close();
                     },
                     TFreshFile::Teardown);
}

double SaveRamLog() {
    TBenchOs os;
    const auto log = FilledRamLog(os);
    return TwoPasses([] { return TFreshFile(); }, [&](TFreshFile& file) { log->SaveToFile(file.Wide()); },
                     TFreshFile::Teardown);
}

// The file's bytes into Into, 1 MiB a call.
void ReadRaw(std::string& Into) {
    const int fd = ::open(Files().Raw.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t done = 0;
    while (done < Into.size()) {
        const ssize_t n = ::read(fd, Into.data() + done, std::min<std::size_t>(1 << 20, Into.size() - done));
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (done != Into.size()) {
        throw std::runtime_error("short read");
    }
}

// A program reading a file into memory: the buffer made (zero-filled) and read into, as a load
// makes and fills its lines.
double LoadRawRead() {
    const std::size_t size = Files().RawBytes.size();
    return TwoPasses([] { return std::string(); },
                     [&](std::string& back) {
                         back.assign(size, '\0');
                         ReadRaw(back);
                     },
                     [](std::string& back) { back = {}; });
}

// The read alone: the buffer is made before the clock starts.
double LoadRawReadOnly() {
    const std::size_t size = Files().RawBytes.size();
    return TwoPasses([&] { return std::string(size, '\0'); }, [&](std::string& back) { ReadRaw(back); },
                     [](std::string& back) { back = {}; });
}

double LoadLinesStream() {
    const TFiles& f = Files();
    return TwoPasses([] { return std::make_unique<orvel::TLogLinesSingleThreaded>(Clock); },
                     [&](std::unique_ptr<orvel::TLogLinesSingleThreaded>& lines) {
                         auto stream = orvel::TOrvelStream::CreateRead(FileStreams, f.Lines);
                         lines->ReadFromStream(stream);
                         stream.Close();
                     },
                     [](std::unique_ptr<orvel::TLogLinesSingleThreaded>& lines) {
                         if (lines->Count() != LineCount) {
                             throw std::runtime_error("the file did not read back whole");
                         }
                         lines.reset();
                     });
}

double LoadRamLog() {
    const TFiles& f = Files();
    TBenchOs os;
    return TwoPasses([&] { return MakeRamLog(os, false); },
                     [&](std::unique_ptr<orvel::TRamLog>& log) {
                         if (!log->LoadFromFile(f.RamLog)) {
                             throw std::runtime_error("the RAM log did not load");
                         }
                     },
                     [](std::unique_ptr<orvel::TRamLog>& log) {
                         if (log->Count(false, orvel::lvDebug) != LineCount) {
                             throw std::runtime_error("the RAM log did not load back whole");
                         }
                         log.reset();
                     });
}

// --- (4) one refresh at 1,000,000 lines ------------------------------------------------------------

// Seconds per call of Call: one call to warm up, then as many as fill about a third of a second.
template <typename TCall> double PerCall(TCall&& Call) {
    Call();
    const double once = std::max(bench::TimeIt(Call), 1e-7);
    const int calls = static_cast<int>(std::clamp(0.3 / once, 5.0, 200000.0));
    return bench::TimeIt([&] {
               for (int i = 0; i < calls; ++i) {
                   Call();
               }
           }) /
           calls;
}

// The floor of a walk: one pass over 1,000,000 line pointers reading each line's level.
double PlainPass() {
    const auto lines = FilledLines();
    std::vector<PLogLine> pointers;
    pointers.reserve(LineCount);
    for (int i = 0; i < LineCount; ++i) {
        pointers.push_back(lines->Items(i));
    }
    int passing = 0;
    const double s = PerCall([&] {
        for (const PLogLine line : pointers) {
            passing += line->Level >= orvel::lvWarnings ? 1 : 0;
        }
        asm volatile("" : : "r"(passing) : "memory");
    });
    return s;
}

// The engine's part of a refresh: count the passing lines, then fetch the last page.
double EngineRefresh(TLogVerbLvl filter) {
    const auto lines = FilledLines();
    std::array<PLogLine, PageRows> page{};
    return PerCall([&] {
        const int passing = lines->CountFiltered(filter);
        const int got = lines->GetFilteredSlice(filter, std::max(0, passing - PageRows), page);
        asm volatile("" : : "r"(got), "r"(page.data()) : "memory");
    });
}

// The log viewer's own refresh (Populate) of a 40-row page, on the headless toolkit, over a RAM log
// of Lines lines, auto-scroll on and the page already at the end.
double ViewerRefresh(TLogVerbLvl filter, int Lines) {
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
    for (int i = 0; i < Lines; ++i) {
        scene.Log.Lines().AddNewLine(w.Msgs[static_cast<std::size_t>(i)], w.Levels[static_cast<std::size_t>(i)],
                                     false, 0);
    }
    scene.Viewer = new orvel::TLogViewer(scene.Form, scene.Os);
    scene.Viewer->SetParent(scene.Form);
    scene.Viewer->SetBounds(0, 0, 600, (PageRows + 1) * orvel::TLogViewer::RowHeight);
    scene.Viewer->HandleNeeded();
    scene.Viewer->SetVerbosity(filter);
    scene.Viewer->AssignExternalRamLog(&scene.Log);
    const double s = PerCall([&] { scene.Viewer->Populate(); });
    scene.Viewer->Free(); // before the log it observes
    return s;
}

// --- (5) heap per line -----------------------------------------------------------------------------

// Heap bytes in use, from the allocator itself: its arenas and the blocks it mapped on its own.
std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap bytes per line that Fill's result holds, less the message's own UTF-16.
template <typename TFill> double BytesAboveText(TFill&& Fill) {
    const std::size_t before = HeapInUse();
    auto keep = Fill();
    const std::size_t after = HeapInUse();
    const double perLine = static_cast<double>(after - before) / LineCount;
    return perLine - static_cast<double>(Work().Utf16Bytes) / LineCount;
}

// The same for a bare container filled with the workload's lines.
template <typename TLines> double ContainerBytesAboveText() {
    return BytesAboveText([] {
        auto lines = std::make_unique<TLines>(Clock);
        for (const auto& msg : Work().Msgs) {
            lines->AddNewLine(msg, orvel::lvInfos, false, 0);
        }
        return lines;
    });
}

void PrintMemory() {
    std::printf("\n== (5) heap per line above the message's own UTF-16 (%.1f bytes on average) ==\n",
                static_cast<double>(Work().Utf16Bytes) / LineCount);
    struct TRow {
        const char* Name;
        bench::TMeasure Measure;
    };
    const TRow rows[] = {
        {"TLogLinesSingleThreaded, 1,000,000 AddNewLine", ContainerBytesAboveText<orvel::TLogLinesSingleThreaded>},
        {"TLogLinesMultiThreaded, 1,000,000 AddNewLine", ContainerBytesAboveText<orvel::TLogLinesMultiThreaded>},
        {"TRamLog, 1,000,000 AddInfo",
         [] {
             TBenchOs os;
             return BytesAboveText([&] { return FilledRamLog(os); });
         }},
        {"TRamLog, 1,000,000 lines loaded from its file",
         [] {
             TBenchOs os;
             return BytesAboveText([&] {
                 auto log = MakeRamLog(os, false);
                 log->LoadFromFile(Files().RamLog);
                 return log;
             });
         }},
    };
    for (const TRow& row : rows) {
        std::printf("  %-52s %8.1f bytes\n", row.Name, bench::InChild(row.Measure));
    }
}

void AddGroups(bench::TRunner& runner) {
    using bench::TGroup;
    using bench::TMember;
    runner.Add(TGroup{"(1) one thread appends 1,000,000 lines, against spdlog",
                      TMember{"spdlog-st", "spdlog ringbuffer_sink_st, logger->log(info, text)", AppendSpdlog},
                      {TMember{"lines-s", "TLogLinesSingleThreaded::AddNewLine", AppendLines<orvel::TLogLinesSingleThreaded>},
                       TMember{"lines-m", "TLogLinesMultiThreaded::AddNewLine (one thread)",
                               AppendLines<orvel::TLogLinesMultiThreaded>},
                       TMember{"ramlog-st", "TRamLog::AddInfo (single-threaded log)", AppendRamLog}}});
    runner.Add(TGroup{"(1) one thread appends 1,000,000 lines, against a vector",
                      TMember{"vector", "std::vector of records, reserved, push_back of a copy", AppendVector},
                      {TMember{"ramlog-st", "TRamLog::AddInfo (single-threaded log)", AppendRamLog}}});
    runner.Add(TGroup{"(2) four writer threads append 250,000 lines each, against spdlog",
                      TMember{"spdlog-mt", "spdlog ringbuffer_sink_mt, logger->log(info, text)", Append4Spdlog},
                      {TMember{"lines-m4", "TLogLinesMultiThreaded::AddNewLine", Append4LinesM},
                       TMember{"ramlog-mt4", "TRamLog::AddInfo (multi-threaded log)", Append4RamLog}}});
    runner.Add(TGroup{"(2) four writer threads append 250,000 lines each, against a vector",
                      TMember{"mutex-vector", "std::mutex + reserved vector of records", Append4MutexVector},
                      {TMember{"lines-m4", "TLogLinesMultiThreaded::AddNewLine", Append4LinesM}}});
    runner.Add(TGroup{"(3) save 1,000,000 lines",
                      TMember{"raw-write", "one buffered write of the same bytes (1 MiB writes)", SaveRawWrite},
                      {TMember{"save-lines", "list-of-lines stream (WriteToStream)", SaveLinesStream},
                       TMember{"save-ramlog", "TRamLog::SaveToFile", SaveRamLog}}});
    runner.Add(TGroup{"(3) load 1,000,000 lines",
                      TMember{"raw-read", "one buffered read of the same bytes into a new buffer", LoadRawRead},
                      {TMember{"load-lines", "list-of-lines stream (ReadFromStream)", LoadLinesStream},
                       TMember{"load-ramlog", "TRamLog::LoadFromFile", LoadRamLog}}});
    runner.Add(TGroup{"(3) load 1,000,000 lines, against the read alone",
                      TMember{"raw-read-only", "the same read into a buffer made before the clock starts",
                              LoadRawReadOnly},
                      {TMember{"load-ramlog", "TRamLog::LoadFromFile", LoadRamLog}}});
    runner.Add(TGroup{"(4) one refresh at 1,000,000 lines (and at 10,000), last page of 40 rows",
                      TMember{"plain-pass", "one plain pass over 1,000,000 line pointers", PlainPass},
                      {TMember{"engine-debug", "CountFiltered + GetFilteredSlice at lvDebug",
                               [] { return EngineRefresh(orvel::lvDebug); }},
                       TMember{"engine-warnings", "CountFiltered + GetFilteredSlice at lvWarnings",
                               [] { return EngineRefresh(orvel::lvWarnings); }},
                       TMember{"viewer-debug", "TLogViewer::Populate at lvDebug",
                               [] { return ViewerRefresh(orvel::lvDebug, LineCount); }},
                       TMember{"viewer-warnings", "TLogViewer::Populate at lvWarnings",
                               [] { return ViewerRefresh(orvel::lvWarnings, LineCount); }},
                       TMember{"viewer-debug-10k", "TLogViewer::Populate at lvDebug, 10,000 lines",
                               [] { return ViewerRefresh(orvel::lvDebug, 10000); }},
                       TMember{"viewer-warnings-10k", "TLogViewer::Populate at lvWarnings, 10,000 lines",
                               [] { return ViewerRefresh(orvel::lvWarnings, 10000); }}}});
}

} // namespace

int main(int argc, char** argv) {
    bench::TOptions options;
    if (!bench::ParseOptions(argc, argv, options)) {
        return 2;
    }
    // Freed memory stays with the process and even large blocks come from the heap, so the
    // untimed first pass of a measurement leaves the timed one memory that has served the same
    // work, whichever contender or baseline it is. (On a virtual machine a page's first use costs
    // several microseconds: a read into 109 MB of fresh pages here takes 16 times as long as into
    // pages used before.)
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_MAX, 0);

    bench::TRunner runner(options);
    AddGroups(runner);
    if (!options.List) {
        std::printf("Workload: %d lines of 40-120 characters, %.1f MB of UTF-16 text\n", LineCount,
                    static_cast<double>(Work().Utf16Bytes) / 1e6);
        PrepareFiles();
        std::printf("The lines' file: %zu bytes\n", Files().RawBytes.size());
    }
    const int result = runner.Run();
    if (!options.List && options.Profile.empty() && std::string("(5) memory").find(options.Filter) != std::string::npos) {
        PrintMemory();
    }
    std::error_code ignored;
    std::filesystem::remove_all(TempDir(), ignored);
    return result;
}
