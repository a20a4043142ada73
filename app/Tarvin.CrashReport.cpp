#include "app/Tarvin.CrashReport.h"

#include "base/Base.Unicode.h"

#include <array>
#include <cstdio>
#include <utility>

namespace tarvin {
namespace {

struct TCodeName {
    std::uint32_t Code;
    std::u16string_view Name;
};

constexpr std::array<TCodeName, 16> CodeNames = {{
    {0xC0000005, u"EXCEPTION_ACCESS_VIOLATION"},
    {0xC00000FD, u"EXCEPTION_STACK_OVERFLOW"},
    {0xC0000094, u"EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {0xC0000095, u"EXCEPTION_INT_OVERFLOW"},
    {0xC000008C, u"EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {0xC000008E, u"EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {0xC0000090, u"EXCEPTION_FLT_INVALID_OPERATION"},
    {0xC000001D, u"EXCEPTION_ILLEGAL_INSTRUCTION"},
    {0xC0000096, u"EXCEPTION_PRIV_INSTRUCTION"},
    {0xC0000006, u"EXCEPTION_IN_PAGE_ERROR"},
    {0xC0000025, u"EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {0xC0000026, u"EXCEPTION_INVALID_DISPOSITION"},
    {0x80000003, u"EXCEPTION_BREAKPOINT"},
    {0xC0000374, u"STATUS_HEAP_CORRUPTION"},
    {0xC0000409, u"STATUS_STACK_BUFFER_OVERRUN"},
    {0x20474343, u"GCC C++ exception"},
}};

std::u16string Hex(std::uint64_t value, int digits) {
    char text[24] = {};
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return base::AsciiToUtf16(text);
}

std::u16string Digits(unsigned value, int width) {
    char text[16] = {};
    std::snprintf(text, sizeof text, "%0*u", width, value);
    return base::AsciiToUtf16(text);
}

std::u16string_view AccessVerb(std::uint32_t kind) {
    switch (kind) {
    case 0:
        return u"read from";
    case 1:
        return u"write to";
    case 8:
        return u"execute code at";
    default:
        return u"access";
    }
}

std::u16string_view FileNameOf(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

TCrashFiles CrashFileNames(std::u16string_view Folder, std::u16string_view Product, const platform::TLocalTime& Time) {
    std::u16string base(Folder);
    if (!base.empty() && base.back() != u'\\' && base.back() != u'/') {
        base += u'\\';
    }
    base += Product;
    base += u"-crash-" + Digits(Time.Year, 4) + Digits(Time.Month, 2) + Digits(Time.Day, 2) + u"-" +
            Digits(Time.Hour, 2) + Digits(Time.Minute, 2) + Digits(Time.Second, 2) + u"-" +
            Digits(Time.Milliseconds, 3);
    return {base + u".txt", base + u".dmp"};
}

std::u16string_view ExceptionCodeName(std::uint32_t Code) {
    for (const TCodeName& entry : CodeNames) {
        if (entry.Code == Code) {
            return entry.Name;
        }
    }
    return {};
}

TExceptionLines DescribeCrash(const platform::TCrashFacts& Facts) {
    TExceptionLines lines;
    if (Facts.Kind == platform::TCrashKind::CppException) {
        lines.Exception = u"C++ exception " + (Facts.TypeName.empty() ? std::u16string(u"(class unknown)") : Facts.TypeName);
        lines.Message = Facts.Message.empty() ? std::u16string(u"(none)") : Facts.Message;
    } else {
        const std::u16string_view name = ExceptionCodeName(Facts.Code);
        lines.Exception = (name.empty() ? std::u16string(u"OS exception") : std::u16string(name)) + u" (" +
                          Hex(Facts.Code, 8) + u")";
        if (Facts.HasAccess) {
            lines.Message = u"The program tried to " + std::u16string(AccessVerb(Facts.AccessKind)) +
                            u" address " + Hex(Facts.AccessAddress, 16) + u".";
        } else {
            lines.Message = Facts.Message.empty() ? std::u16string(u"(none)") : Facts.Message;
        }
    }
    lines.Address = Facts.Address != 0 ? Hex(Facts.Address, 16) : std::u16string(u"unknown");
    return lines;
}

std::u16string CrashReportText(std::u16string_view Product, std::u16string_view Version,
                               const platform::TCrashFacts& Facts, std::u16string_view DumpPath, bool DumpWritten) {
    const TExceptionLines exception = DescribeCrash(Facts);
    const platform::TLocalTime& t = Facts.Time;
    std::u16string text;
    const auto line = [&text](std::u16string_view key, std::u16string_view value) {
        text.append(key).append(u": ").append(value).append(u"\r\n");
    };
    text += std::u16string(Product) + u" crash report\r\n\r\n";
    line(u"Product", Product);
    line(u"Version", Version);
    line(u"Time", Digits(t.Year, 4) + u"-" + Digits(t.Month, 2) + u"-" + Digits(t.Day, 2) + u" " + Digits(t.Hour, 2) +
                      u":" + Digits(t.Minute, 2) + u":" + Digits(t.Second, 2) + u"." + Digits(t.Milliseconds, 3));
    line(u"Process", Digits(Facts.ProcessId, 1) + u", thread " + Digits(Facts.ThreadId, 1));
    line(u"Exception", exception.Exception);
    line(u"Message", exception.Message);
    line(u"Address", exception.Address);
    line(u"Minidump", DumpWritten ? std::u16string(FileNameOf(DumpPath)) : std::u16string(u"none, it could not be written"));
    text += u"\r\nThis report stays on this computer; nothing was sent anywhere.\r\n";
    return text;
}

std::u16string CrashNoticeText(std::u16string_view Product, const TCrashFiles& Files, bool ReportWritten,
                               bool DumpWritten, bool Fatal) {
    std::u16string text = std::u16string(Product) + u" ran into an error it could not handle" +
                          (Fatal ? u" and has to close." : u".");
    if (ReportWritten || DumpWritten) {
        text += u"\n\nWhat happened was written to:";
        if (ReportWritten) {
            text += u"\n" + Files.Report;
        }
        if (DumpWritten) {
            text += u"\n" + Files.Dump;
        }
        text += u"\n\nNothing was sent anywhere. If you report the problem, attach these files.";
    } else {
        text += u"\n\nNo report could be written to " + Files.Report + u".";
    }
    if (!Fatal) {
        text += u"\n\n" + std::u16string(Product) + u" keeps running, but restarting it is the safer choice.";
    }
    return text;
}

TCrashReporter::TCrashReporter(platform::ICrashTrap& Trap, platform::IFileSystem& Files, std::u16string Product,
                               std::u16string Version, std::u16string Folder)
    : FTrap(Trap), FFiles(Files), FProduct(std::move(Product)), FVersion(std::move(Version)),
      FFolder(std::move(Folder)) {}

void TCrashReporter::Install() {
    FTrap.Install([this](const platform::TCrashFacts& Facts) { Report(Facts, true); });
}

void TCrashReporter::ReportException(const std::exception& Error) {
    Report(platform::WithException(FTrap.CurrentFacts(), Error), false);
}

TCrashFiles TCrashReporter::Report(const platform::TCrashFacts& Facts, bool Fatal) noexcept {
    TCrashFiles files;
    try {
        files = CrashFileNames(FFolder, FProduct, Facts.Time);
        // The folder may have been removed while the program ran.
        if (!FFiles.FolderExists(FFolder, true)) {
            (void)FFiles.CreateFolder(FFolder);
        }
        const bool dumpWritten = FTrap.WriteMiniDump(files.Dump);
        const std::string report =
            base::Utf16ToUtf8(CrashReportText(FProduct, FVersion, Facts, files.Dump, dumpWritten));
        const bool reportWritten = FFiles.WriteFileAtomic(files.Report, report).Ok;
        FTrap.Notify(FProduct, CrashNoticeText(FProduct, files, reportWritten, dumpWritten, Fatal));
    } catch (...) {
        // Reporting is the last thing the program does for this error; failing here must not
        // throw into the loop or a crashing thread.
    }
    return files;
}

std::unique_ptr<TCrashReporter> InstallCrashReporter(platform::ICrashTrap& Trap, platform::IFileSystem& Files,
                                                     std::u16string Product, std::u16string Version,
                                                     std::u16string Folder) {
    auto reporter = std::make_unique<TCrashReporter>(Trap, Files, std::move(Product), std::move(Version),
                                                     std::move(Folder));
    reporter->Install();
    return reporter;
}

} // namespace tarvin
