#pragma once
// When Tarvin meets an error nothing handled: a text report and a minidump in the application data
// folder, and a word to the user where they are. Nothing leaves the machine.
#include "platform/Platform.CrashTrap.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>

namespace tarvin {

// Every text below is built in the memory it is given: at crash time the trap's report memory, so
// that a broken program heap cannot stop the report.
struct TCrashFiles {
    std::pmr::u16string Report; // the text report
    std::pmr::u16string Dump;   // the minidump beside it
};

// "<folder>\<product>-crash-YYYYMMDD-HHMMSS-mmm.txt" and the same with ".dmp"; a folder given
// without its trailing backslash gets one. The milliseconds keep two crashes of one second apart.
[[nodiscard]] TCrashFiles
CrashFileNames(std::u16string_view Folder, std::u16string_view Product, const platform::TLocalTime& Time,
               std::pmr::memory_resource* Memory = std::pmr::get_default_resource());

// The OS name of an exception code ("EXCEPTION_ACCESS_VIOLATION"); empty for codes it does not know.
[[nodiscard]] std::u16string_view ExceptionCodeName(std::uint32_t Code);

// What the report says about the exception, on one line each: kind and code, message, address.
struct TExceptionLines {
    std::pmr::u16string Exception;
    std::pmr::u16string Message;
    std::pmr::u16string Address;
};
[[nodiscard]] TExceptionLines
DescribeCrash(const platform::TCrashFacts& Facts,
              std::pmr::memory_resource* Memory = std::pmr::get_default_resource());

// The report file's text (CRLF line ends, for Notepad): "Product", "Version", the exception, the
// time, process and thread, and the minidump's file name or that there is none.
[[nodiscard]] std::pmr::u16string
CrashReportText(std::u16string_view Product, std::u16string_view Version, const platform::TCrashFacts& Facts,
                std::u16string_view DumpPath, bool DumpWritten,
                std::pmr::memory_resource* Memory = std::pmr::get_default_resource());

// What the user is told: where the files are, or that they could not be written, and whether the
// program goes on.
[[nodiscard]] std::pmr::u16string
CrashNoticeText(std::u16string_view Product, const TCrashFiles& Files, bool ReportWritten, bool DumpWritten,
                bool Fatal, std::pmr::memory_resource* Memory = std::pmr::get_default_resource());

// Routes every exception nothing caught to a report while it lives, and hands the trap back when it
// is destroyed: a crash after that finds the trap's default, never a reporter that is gone.
class TCrashReporter {
public:
    TCrashReporter(platform::ICrashTrap& Trap, std::u16string Product, std::u16string Version,
                   std::u16string Folder);
    ~TCrashReporter();
    TCrashReporter(const TCrashReporter&) = delete;
    TCrashReporter& operator=(const TCrashReporter&) = delete;

    // Routes every exception nothing caught to Report; the process ends after it.
    void Install();
    // For an exception that escaped an event handler on the user-interface thread: reported, and
    // the program goes on, as it does without the reporter.
    void ReportException(const std::exception& Error);
    // Writes the dump and the report, then tells the user; everything through the trap, the texts
    // in its report memory. Never throws.
    void Report(const platform::TCrashFacts& Facts, bool Fatal) noexcept;

private:
    platform::ICrashTrap& FTrap;
    std::u16string FProduct;
    std::u16string FVersion;
    std::u16string FFolder;
    platform::ICrashTrap::TInstallation FInstallation = 0;
};

// Installs the reporter for the whole process. `Version` is the four-part file version text or
// "N/A"; `Folder` the application data folder. Make it before the application object, so that it
// outlives it, and let the trap outlive it; the application object's OnException hands escaped
// UI-thread exceptions to its ReportException.
[[nodiscard]] std::unique_ptr<TCrashReporter> InstallCrashReporter(platform::ICrashTrap& Trap,
                                                                   std::u16string Product,
                                                                   std::u16string Version,
                                                                   std::u16string Folder);

} // namespace tarvin
