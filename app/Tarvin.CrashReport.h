#pragma once
// When Tarvin meets an error nothing handled: a text report and a minidump in the application data
// folder, and a word to the user where they are. Nothing leaves the machine.
#include "platform/Platform.CrashTrap.h"
#include "platform/Platform.FileSystem.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace tarvin {

struct TCrashFiles {
    std::u16string Report; // the text report
    std::u16string Dump;   // the minidump beside it
};

// "<folder>\<product>-crash-YYYYMMDD-HHMMSS-mmm.txt" and the same with ".dmp"; a folder given
// without its trailing backslash gets one. The milliseconds keep two crashes of one second apart.
[[nodiscard]] TCrashFiles CrashFileNames(std::u16string_view Folder, std::u16string_view Product,
                                         const platform::TLocalTime& Time);

// The OS name of an exception code ("EXCEPTION_ACCESS_VIOLATION"); empty for codes it does not know.
[[nodiscard]] std::u16string_view ExceptionCodeName(std::uint32_t Code);

// What the report says about the exception, on one line each: kind and code, message, address.
struct TExceptionLines {
    std::u16string Exception;
    std::u16string Message;
    std::u16string Address;
};
[[nodiscard]] TExceptionLines DescribeCrash(const platform::TCrashFacts& Facts);

// The report file's text (CRLF line ends, for Notepad): "Product", "Version", the exception, the
// time, process and thread, and the minidump's file name or that there is none.
[[nodiscard]] std::u16string CrashReportText(std::u16string_view Product, std::u16string_view Version,
                                             const platform::TCrashFacts& Facts, std::u16string_view DumpPath,
                                             bool DumpWritten);

// What the user is told: where the files are, or that they could not be written, and whether the
// program goes on.
[[nodiscard]] std::u16string CrashNoticeText(std::u16string_view Product, const TCrashFiles& Files,
                                             bool ReportWritten, bool DumpWritten, bool Fatal);

class TCrashReporter {
public:
    TCrashReporter(platform::ICrashTrap& Trap, platform::IFileSystem& Files, std::u16string Product,
                   std::u16string Version, std::u16string Folder);

    // Routes every exception nothing caught to Report; the process ends after it.
    void Install();
    // For an exception that escaped an event handler on the user-interface thread: reported, and
    // the program goes on, as it does without the reporter.
    void ReportException(const std::exception& Error);
    // Writes the dump and the report, then tells the user. Never throws.
    TCrashFiles Report(const platform::TCrashFacts& Facts, bool Fatal) noexcept;

private:
    platform::ICrashTrap& FTrap;
    platform::IFileSystem& FFiles;
    std::u16string FProduct;
    std::u16string FVersion;
    std::u16string FFolder;
};

// Installs the reporter for the whole process. `Version` is the four-part file version text or
// "N/A"; `Folder` the application data folder. The result must live as long as the process; the
// application object's OnException hands escaped UI-thread exceptions to its ReportException.
[[nodiscard]] std::unique_ptr<TCrashReporter> InstallCrashReporter(platform::ICrashTrap& Trap,
                                                                   platform::IFileSystem& Files,
                                                                   std::u16string Product,
                                                                   std::u16string Version, std::u16string Folder);

} // namespace tarvin
