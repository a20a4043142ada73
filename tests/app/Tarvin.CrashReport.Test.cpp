#include "app/Tarvin.CrashReport.h"

#include "base/Base.Exceptions.h"
#include "base/Base.Unicode.h"
#include "platform/sim/Sim.CrashTrap.h"
#include "platform/sim/Sim.FileSystem.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tarvin {
namespace {

using platform::TCrashFacts;
using platform::TCrashKind;
using platform::TLocalTime;

const std::u16string Folder = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin";
const TLocalTime CrashTime{2025, 12, 9, 7, 5, 3, 42};

std::string Utf8(std::u16string_view text) {
    return base::Utf16ToUtf8(text);
}

// A path as the simulated file system takes it.
std::u16string Path(std::u16string_view text) {
    return std::u16string(text);
}

TCrashFacts AccessViolation() {
    TCrashFacts facts;
    facts.Kind = TCrashKind::OsException;
    facts.Code = 0xC0000005;
    facts.Address = 0x7FF6'1234'5678;
    facts.HasAccess = true;
    facts.AccessKind = 1;
    facts.AccessAddress = 0;
    facts.ProcessId = 4242;
    facts.ThreadId = 17;
    facts.Time = CrashTime;
    return facts;
}

TEST(CrashFileNames, NameTheProductAndTheTimeDownToTheMillisecondInTheFolder) {
    struct TCase {
        std::u16string Folder;
        std::u16string Report;
    };
    const TCase cases[] = {
        {u"C:\\Data\\Tarvin", u"C:\\Data\\Tarvin\\Tarvin-crash-20251209-070503-042.txt"},
        {u"C:\\Data\\Tarvin\\", u"C:\\Data\\Tarvin\\Tarvin-crash-20251209-070503-042.txt"},
        {u"D:\\Portable Apps\\Tarvin\\", u"D:\\Portable Apps\\Tarvin\\Tarvin-crash-20251209-070503-042.txt"},
    };
    for (const TCase& c : cases) {
        const TCrashFiles files = CrashFileNames(c.Folder, u"Tarvin", CrashTime);
        EXPECT_EQ(Utf8(files.Report), Utf8(c.Report));
        EXPECT_EQ(Utf8(files.Dump), Utf8(c.Report.substr(0, c.Report.size() - 3) + u"dmp"));
    }
}

TEST(CrashReportText, NamesProductVersionTimeAndTheAccessViolation) {
    const std::string text = Utf8(
        CrashReportText(u"Tarvin", u"1.2.3.4", AccessViolation(), Folder + u"\\Tarvin-crash-x.dmp", true));
    for (const char* line : {
             "Product: Tarvin\r\n",
             "Version: 1.2.3.4\r\n",
             "Time: 2025-12-09 07:05:03.042\r\n",
             "Process: 4242, thread 17\r\n",
             "Exception: EXCEPTION_ACCESS_VIOLATION (0xC0000005)\r\n",
             "Message: The program tried to write to address 0x0000000000000000.\r\n",
             "Address: 0x00007FF612345678\r\n",
             "Minidump: Tarvin-crash-x.dmp\r\n",
             "nothing was sent anywhere",
         }) {
        EXPECT_NE(text.find(line), std::string::npos) << "missing " << line << " in\n" << text;
    }
}

TEST(CrashReportText, DescribesEachKindOfException) {
    struct TCase {
        const char* Name;
        TCrashFacts Facts;
        const char* Exception;
        const char* Message;
        const char* Address;
    };
    TCrashFacts read = AccessViolation();
    read.AccessKind = 0;
    read.AccessAddress = 0x10;
    TCrashFacts execute = AccessViolation();
    execute.AccessKind = 8;
    TCrashFacts unknownCode;
    unknownCode.Kind = TCrashKind::OsException;
    unknownCode.Code = 0xE0001234;
    unknownCode.Address = 0x401000;
    TCrashFacts overflow = unknownCode;
    overflow.Code = 0xC00000FD;
    TCrashFacts cpp;
    cpp.Kind = TCrashKind::CppException;
    cpp.TypeName = u"std::runtime_error";
    cpp.Message = u"handler failed";
    TCrashFacts anonymous;
    anonymous.Kind = TCrashKind::CppException;
    const TCase cases[] = {
        {"read", read, "EXCEPTION_ACCESS_VIOLATION (0xC0000005)",
         "The program tried to read from address 0x0000000000000010.", "0x00007FF612345678"},
        {"execute", execute, "EXCEPTION_ACCESS_VIOLATION (0xC0000005)",
         "The program tried to execute code at address 0x0000000000000000.", "0x00007FF612345678"},
        {"unknown code", unknownCode, "OS exception (0xE0001234)", "(none)", "0x0000000000401000"},
        {"stack overflow", overflow, "EXCEPTION_STACK_OVERFLOW (0xC00000FD)", "(none)", "0x0000000000401000"},
        {"C++", cpp, "C++ exception std::runtime_error", "handler failed", "unknown"},
        {"C++ without class", anonymous, "C++ exception (class unknown)", "(none)", "unknown"},
    };
    for (const TCase& c : cases) {
        const TExceptionLines lines = DescribeCrash(c.Facts);
        EXPECT_EQ(Utf8(lines.Exception), c.Exception) << c.Name;
        EXPECT_EQ(Utf8(lines.Message), c.Message) << c.Name;
        EXPECT_EQ(Utf8(lines.Address), c.Address) << c.Name;
    }
}

TEST(CrashFacts, TakeTheClassAndTheWholeUnicodeMessageOfAnException) {
    const TCrashFacts own =
        platform::WithException({}, base::EOrvelException(u"Pfad \u00FCber \u25D0 kaputt"));
    EXPECT_EQ(own.Kind, TCrashKind::CppException);
    EXPECT_EQ(Utf8(own.TypeName), "base::EOrvelException");
    EXPECT_EQ(own.Message, u"Pfad \u00FCber \u25D0 kaputt");

    const TCrashFacts std = platform::WithException({}, std::out_of_range("index 7"));
    EXPECT_EQ(Utf8(std.TypeName), "std::out_of_range");
    EXPECT_EQ(Utf8(std.Message), "index 7");
}

struct TReporterScene {
    platform::sim::TSimFileSystem Files;
    platform::sim::TSimCrashTrap Trap{Files};
    std::unique_ptr<TCrashReporter> Reporter;

    TReporterScene() {
        Files.AddFolder(Folder);
        Trap.Now.Time = CrashTime;
        Reporter = InstallCrashReporter(Trap, u"Tarvin", u"0.1.0.0", Folder);
    }
    std::string Notice() const { return Trap.Notices.empty() ? "" : Utf8(Trap.Notices.back().Text); }
};

TEST(CrashReporter, AnUnhandledOsExceptionLeavesReportAndDumpAndTellsTheUserWhere) {
    TReporterScene scene;
    ASSERT_TRUE(scene.Trap.Installed());
    scene.Trap.Crash(AccessViolation());

    const TCrashFiles files = CrashFileNames(Folder, u"Tarvin", CrashTime);
    const auto report = scene.Files.Contents(Path(files.Report));
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->find("Version: 0.1.0.0"), std::string::npos);
    EXPECT_NE(report->find("EXCEPTION_ACCESS_VIOLATION"), std::string::npos);
    EXPECT_EQ(scene.Files.Contents(Path(files.Dump)).value_or(""), "MDMP");

    ASSERT_EQ(scene.Trap.Notices.size(), 1u);
    EXPECT_EQ(Utf8(scene.Trap.Notices[0].Title), "Tarvin");
    const std::string notice = scene.Notice();
    EXPECT_NE(notice.find("has to close"), std::string::npos);
    EXPECT_NE(notice.find(Utf8(files.Report)), std::string::npos);
    EXPECT_NE(notice.find(Utf8(files.Dump)), std::string::npos);
    EXPECT_NE(notice.find("Nothing was sent anywhere"), std::string::npos);

    // The texts were built in the trap's report memory, not on the heap that may have broken, and
    // all of it was given back.
    EXPECT_GE(scene.Trap.ReportBytesPeak(), report->size());
    EXPECT_EQ(scene.Trap.ReportBytesHeld(), 0u);
}

TEST(CrashReporter, AnExceptionEscapingAHandlerIsReportedAndTheProgramGoesOn) {
    TReporterScene scene;
    scene.Reporter->ReportException(std::runtime_error("click failed"));

    const TCrashFiles files = CrashFileNames(Folder, u"Tarvin", CrashTime);
    const auto report = scene.Files.Contents(Path(files.Report));
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->find("Exception: C++ exception std::runtime_error\r\n"), std::string::npos);
    EXPECT_NE(report->find("Message: click failed\r\n"), std::string::npos);
    EXPECT_NE(scene.Notice().find("keeps running"), std::string::npos);
    EXPECT_EQ(scene.Notice().find("has to close"), std::string::npos);
}

TEST(CrashReporter, SaysWhatCouldNotBeWritten) {
    {
        TReporterScene scene;
        scene.Trap.RefuseDumps = true;
        scene.Trap.Crash(AccessViolation());
        const TCrashFiles files = CrashFileNames(Folder, u"Tarvin", CrashTime);
        EXPECT_NE(scene.Files.Contents(Path(files.Report))
                      .value_or("")
                      .find("Minidump: none, it could not be written"),
                  std::string::npos);
        EXPECT_EQ(scene.Notice().find(Utf8(files.Dump)), std::string::npos) << "no dump, so no dump path";
        EXPECT_NE(scene.Notice().find(Utf8(files.Report)), std::string::npos);
    }
    {
        TReporterScene scene;
        scene.Trap.RefuseDumps = true;
        scene.Files.DenyWritesUnder(Folder);
        scene.Trap.Crash(AccessViolation());
        EXPECT_NE(scene.Notice().find("No report could be written"), std::string::npos) << scene.Notice();
        EXPECT_EQ(scene.Notice().find("attach these files"), std::string::npos);
    }
}

TEST(CrashReporter, MakesTheFolderAgainWhenItWasRemovedWhileTheProgramRan) {
    TReporterScene scene;
    scene.Files.RemoveFolder(Folder);
    scene.Trap.Crash(AccessViolation());
    EXPECT_TRUE(scene.Files.FileExists(Path(CrashFileNames(Folder, u"Tarvin", CrashTime).Report)));
}

// The entry frees the reporter before the trap: a failure after that (while statics are torn down,
// or on a thread that outlives the windows) must find the trap's own default, not a reporter that
// is gone. Under the sanitizers a call into the freed reporter is a use after free.
TEST(CrashReporter, OnceDestroyedItLeavesTheTrapToItsDefault) {
    platform::sim::TSimFileSystem files;
    files.AddFolder(Folder);
    platform::sim::TSimCrashTrap trap{files};
    trap.Now.Time = CrashTime;
    {
        const auto reporter = InstallCrashReporter(trap, u"Tarvin", u"0.1.0.0", Folder);
        ASSERT_TRUE(trap.Installed());
    }
    EXPECT_FALSE(trap.Installed());

    trap.Crash(AccessViolation());
    EXPECT_EQ(trap.DefaultEnds, 1);
    EXPECT_TRUE(trap.Notices.empty());
    EXPECT_TRUE(trap.Dumps.empty());
    EXPECT_FALSE(files.FileExists(Path(CrashFileNames(Folder, u"Tarvin", CrashTime).Report)));
}

// A reporter hands back its own installation only: one that a later reporter replaced stays with
// the later one when the earlier is destroyed.
TEST(CrashReporter, HandsBackOnlyItsOwnInstallation) {
    TReporterScene scene;
    const auto later = InstallCrashReporter(scene.Trap, u"Tarvin", u"0.2.0.0", Folder);
    scene.Reporter.reset();
    ASSERT_TRUE(scene.Trap.Installed());

    scene.Trap.Crash(AccessViolation());
    EXPECT_EQ(scene.Trap.DefaultEnds, 0);
    const auto report = scene.Files.Contents(Path(CrashFileNames(Folder, u"Tarvin", CrashTime).Report));
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->find("Version: 0.2.0.0\r\n"), std::string::npos) << *report;
}

} // namespace
} // namespace tarvin
