#include "app/Tarvin.CrashReport.h"

#include "base/Base.Unicode.h"

#include <array>
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

using TText = std::pmr::u16string;

// Appended digit by digit: no temporary string, so nothing is taken from any heap but the text's.
void AppendHex(TText& Text, std::uint64_t Value, int Digits) {
    char units[16] = {};
    int count = 0;
    do {
        units[count++] = "0123456789ABCDEF"[Value & 0xF];
        Value >>= 4;
    } while (Value != 0);
    Text.append(u"0x");
    Text.append(static_cast<std::size_t>(Digits > count ? Digits - count : 0), u'0');
    while (count > 0) {
        Text.push_back(static_cast<char16_t>(units[--count]));
    }
}

void AppendDigits(TText& Text, unsigned Value, int Width) {
    char units[10] = {};
    int count = 0;
    do {
        units[count++] = static_cast<char>('0' + Value % 10);
        Value /= 10;
    } while (Value != 0);
    Text.append(static_cast<std::size_t>(Width > count ? Width - count : 0), u'0');
    while (count > 0) {
        Text.push_back(static_cast<char16_t>(units[--count]));
    }
}

std::u16string_view AccessVerb(std::uint32_t Kind) {
    switch (Kind) {
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

std::u16string_view FileNameOf(std::u16string_view Path) {
    const std::size_t slash = Path.find_last_of(u"\\/");
    return slash == std::u16string_view::npos ? Path : Path.substr(slash + 1);
}

std::u16string_view OrNone(std::u16string_view Text) {
    return Text.empty() ? std::u16string_view(u"(none)") : Text;
}

} // namespace

TCrashFiles CrashFileNames(std::u16string_view Folder, std::u16string_view Product,
                           const platform::TLocalTime& Time, std::pmr::memory_resource* Memory) {
    TText base(Folder, Memory);
    if (!base.empty() && base.back() != u'\\' && base.back() != u'/') {
        base += u'\\';
    }
    base.append(Product).append(u"-crash-");
    AppendDigits(base, Time.Year, 4);
    AppendDigits(base, Time.Month, 2);
    AppendDigits(base, Time.Day, 2);
    base += u'-';
    AppendDigits(base, Time.Hour, 2);
    AppendDigits(base, Time.Minute, 2);
    AppendDigits(base, Time.Second, 2);
    base += u'-';
    AppendDigits(base, Time.Milliseconds, 3);
    TCrashFiles files{TText(base, Memory), std::move(base)};
    files.Report.append(u".txt");
    files.Dump.append(u".dmp");
    return files;
}

std::u16string_view ExceptionCodeName(std::uint32_t Code) {
    for (const TCodeName& entry : CodeNames) {
        if (entry.Code == Code) {
            return entry.Name;
        }
    }
    return {};
}

TExceptionLines DescribeCrash(const platform::TCrashFacts& Facts, std::pmr::memory_resource* Memory) {
    TExceptionLines lines{TText(Memory), TText(Memory), TText(Memory)};
    if (Facts.Kind == platform::TCrashKind::CppException) {
        lines.Exception.append(u"C++ exception ")
            .append(Facts.TypeName.empty() ? std::u16string_view(u"(class unknown)")
                                           : std::u16string_view(Facts.TypeName));
        lines.Message.append(OrNone(Facts.Message));
    } else {
        const std::u16string_view name = ExceptionCodeName(Facts.Code);
        lines.Exception.append(name.empty() ? std::u16string_view(u"OS exception") : name).append(u" (");
        AppendHex(lines.Exception, Facts.Code, 8);
        lines.Exception.append(u")");
        if (Facts.HasAccess) {
            lines.Message.append(u"The program tried to ")
                .append(AccessVerb(Facts.AccessKind))
                .append(u" address ");
            AppendHex(lines.Message, Facts.AccessAddress, 16);
            lines.Message.append(u".");
        } else {
            lines.Message.append(OrNone(Facts.Message));
        }
    }
    if (Facts.Address != 0) {
        AppendHex(lines.Address, Facts.Address, 16);
    } else {
        lines.Address.append(u"unknown");
    }
    return lines;
}

std::pmr::u16string CrashReportText(std::u16string_view Product, std::u16string_view Version,
                                    const platform::TCrashFacts& Facts, std::u16string_view DumpPath,
                                    bool DumpWritten, std::pmr::memory_resource* Memory) {
    const TExceptionLines exception = DescribeCrash(Facts, Memory);
    const platform::TLocalTime& t = Facts.Time;
    TText text(Memory);
    text.reserve(400 + Product.size() * 2 + Version.size() + exception.Exception.size() +
                 exception.Message.size() + DumpPath.size());
    const auto key = [&text](std::u16string_view name) { text.append(name).append(u": "); };
    const auto line = [&text, &key](std::u16string_view name, std::u16string_view value) {
        key(name);
        text.append(value).append(u"\r\n");
    };
    text.append(Product).append(u" crash report\r\n\r\n");
    line(u"Product", Product);
    line(u"Version", Version);
    key(u"Time");
    AppendDigits(text, t.Year, 4);
    text += u'-';
    AppendDigits(text, t.Month, 2);
    text += u'-';
    AppendDigits(text, t.Day, 2);
    text += u' ';
    AppendDigits(text, t.Hour, 2);
    text += u':';
    AppendDigits(text, t.Minute, 2);
    text += u':';
    AppendDigits(text, t.Second, 2);
    text += u'.';
    AppendDigits(text, t.Milliseconds, 3);
    text.append(u"\r\n");
    key(u"Process");
    AppendDigits(text, Facts.ProcessId, 1);
    text.append(u", thread ");
    AppendDigits(text, Facts.ThreadId, 1);
    text.append(u"\r\n");
    line(u"Exception", exception.Exception);
    line(u"Message", exception.Message);
    line(u"Address", exception.Address);
    line(u"Minidump",
         DumpWritten ? FileNameOf(DumpPath) : std::u16string_view(u"none, it could not be written"));
    text.append(u"\r\nThis report stays on this computer; nothing was sent anywhere.\r\n");
    return text;
}

std::pmr::u16string CrashNoticeText(std::u16string_view Product, const TCrashFiles& Files, bool ReportWritten,
                                    bool DumpWritten, bool Fatal, std::pmr::memory_resource* Memory) {
    TText text(Memory);
    text.reserve(300 + Product.size() * 2 + Files.Report.size() + Files.Dump.size());
    text.append(Product)
        .append(u" ran into an error it could not handle")
        .append(Fatal ? std::u16string_view(u" and has to close.") : std::u16string_view(u"."));
    if (ReportWritten || DumpWritten) {
        text.append(u"\n\nWhat happened was written to:");
        if (ReportWritten) {
            text.append(u"\n").append(Files.Report);
        }
        if (DumpWritten) {
            text.append(u"\n").append(Files.Dump);
        }
        text.append(u"\n\nNothing was sent anywhere. If you report the problem, attach these files.");
    } else {
        text.append(u"\n\nNo report could be written to ").append(Files.Report).append(u".");
    }
    if (!Fatal) {
        text.append(u"\n\n").append(Product).append(
            u" keeps running, but restarting it is the safer choice.");
    }
    return text;
}

TCrashReporter::TCrashReporter(platform::ICrashTrap& Trap, std::u16string Product, std::u16string Version,
                               std::u16string Folder)
    : FTrap(Trap), FProduct(std::move(Product)), FVersion(std::move(Version)), FFolder(std::move(Folder)) {}

TCrashReporter::~TCrashReporter() {
    FTrap.Uninstall(FInstallation);
}

void TCrashReporter::Install() {
    FInstallation = FTrap.Install([this](const platform::TCrashFacts& Facts) { Report(Facts, true); });
}

void TCrashReporter::ReportException(const std::exception& Error) {
    Report(platform::WithException(FTrap.CurrentFacts(), Error), false);
}

void TCrashReporter::Report(const platform::TCrashFacts& Facts, bool Fatal) noexcept {
    try {
        std::pmr::memory_resource* memory = &FTrap.ReportMemory();
        const TCrashFiles files = CrashFileNames(FFolder, FProduct, Facts.Time, memory);
        // The folder may have been removed while the program ran.
        (void)FTrap.MakeFolder(FFolder);
        const bool dumpWritten = FTrap.WriteMiniDump(files.Dump);
        const TText text = CrashReportText(FProduct, FVersion, Facts, files.Dump, dumpWritten, memory);
        std::pmr::string report(text.size() * base::MaxUtf8BytesPerUnit, '\0', memory);
        report.resize(base::Utf16ToUtf8(text, report.data()));
        const bool reportWritten = FTrap.WriteFile(files.Report, report);
        FTrap.Notify(FProduct, CrashNoticeText(FProduct, files, reportWritten, dumpWritten, Fatal, memory));
    } catch (...) {
        // Reporting is the last thing the program does for this error; failing here must not
        // throw into the loop or a crashing thread.
    }
}

std::unique_ptr<TCrashReporter> InstallCrashReporter(platform::ICrashTrap& Trap, std::u16string Product,
                                                     std::u16string Version, std::u16string Folder) {
    auto reporter =
        std::make_unique<TCrashReporter>(Trap, std::move(Product), std::move(Version), std::move(Folder));
    reporter->Install();
    return reporter;
}

} // namespace tarvin
