// The viewer and the logs it shows: own and foreign logs, lines from other threads, files.
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "tests/Test.Support.h"
#include "tests/framework/ui/OrvelVcl.Common.LogViewer.Scene.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

namespace orvel::testing {
namespace {

using ::testing::Each;
using ::testing::HasSubstr;

// An observer that only records that it was called.
struct TCountingObserver : ILogObserver {
    int Populates = 0;
    void Populate() override { ++Populates; }
    void PopUpWindow() override {}
};

// Foreign logs that outlive the viewer, as the application's log does.
struct TForeignLogScene : TViewerScene {
    std::vector<std::unique_ptr<TRamLog>> Logs;
    TRamLog& NewLog(ILogObserver* Observer = nullptr, bool MultiThreaded = false) {
        Logs.push_back(std::make_unique<TRamLog>(false, Observer, MultiThreaded, Os));
        return *Logs.back();
    }
    ~TForeignLogScene() {
        if (Viewer != nullptr) {
            Viewer->Free();
        }
    }
};

TEST(LogViewerExternalLog, AForeignLogReplacesAndFreesTheOwnOne) {
    TForeignLogScene scene;
    scene.AddLines(3);
    TRamLog& foreign = scene.NewLog();
    scene.AddLinesTo(foreign, 2);

    scene.Viewer->AssignExternalRamLog(&foreign);
    EXPECT_FALSE(scene.Viewer->OwnsRamLog());
    EXPECT_EQ(scene.Viewer->RamLog(), &foreign);
    // Populated at once from the new log, and its observer from now on.
    EXPECT_EQ(scene.RowMessages()[0], u"line 4");
    foreign.AddInfo(u"later");
    EXPECT_EQ(scene.RowMessages()[2], u"later");
}

TEST(LogViewerExternalLog, ASecondForeignLogOnlyDetachesTheFirst) {
    TForeignLogScene scene;
    TRamLog& first = scene.NewLog();
    TRamLog& second = scene.NewLog();
    scene.Viewer->AssignExternalRamLog(&first);
    scene.Viewer->AssignExternalRamLog(&second);

    first.AddInfo(u"to the first");
    EXPECT_EQ(scene.Viewer->Count(), 0);
    EXPECT_EQ(first.Lines().Count(), 1);
    // The first log is free for another observer: it no longer has this viewer.
    TCountingObserver other;
    EXPECT_NO_THROW(first.RegisterLogObserver(&other));
    first.AddInfo(u"again");
    EXPECT_EQ(other.Populates, 1);
}

TEST(LogViewerExternalLog, DestroyingTheViewerDetachesItFromAForeignLog) {
    TForeignLogScene scene;
    TRamLog& foreign = scene.NewLog();
    scene.Viewer->AssignExternalRamLog(&foreign);
    scene.Viewer->Free();
    scene.Viewer = nullptr;
    foreign.AddInfo(u"after the viewer"); // must not reach the freed viewer
    TCountingObserver other;
    EXPECT_NO_THROW(foreign.RegisterLogObserver(&other));
}

TEST(LogViewerExternalLog, AssigningTheSameLogAgainKeepsTheRegistration) {
    TForeignLogScene scene;
    TRamLog& foreign = scene.NewLog();
    scene.Viewer->AssignExternalRamLog(&foreign);
    scene.Viewer->AssignExternalRamLog(&foreign);
    foreign.AddInfo(u"still shown");
    EXPECT_EQ(scene.RowMessages()[0], u"still shown");
}

TEST(LogViewerExternalLog, ALogServingAnotherObserverIsRefusedAndTheOldOneKept) {
    TForeignLogScene scene;
    scene.AddLines(2);
    TCountingObserver other;
    TRamLog& taken = scene.NewLog(&other);
    EXPECT_THROW(scene.Viewer->AssignExternalRamLog(&taken), EAssertionFailed);
    EXPECT_TRUE(scene.Viewer->OwnsRamLog());
    scene.AddLines(1);
    EXPECT_EQ(scene.RowMessages()[2], u"line 3");
}

TEST(LogViewerFailures, EachFailureHasItsMessage) {
    TViewerScene scene(230);
    TRamLog* before = scene.Viewer->RamLog();
    EXPECT_THROW_MSG(scene.Viewer->AssignExternalRamLog(nullptr), EOrvelException, u"AssignExternalRamLog: ExternalLog parameter cannot be nil");
    EXPECT_EQ(scene.Viewer->RamLog(), before);
    EXPECT_TRUE(scene.Viewer->OwnsRamLog());

    EXPECT_THROW_MSG(scene.Viewer->SaveAsRtf(u""), EOrvelException, u"SaveAsRtf: FullPath parameter cannot be empty");
    EXPECT_THROW_MSG_THAT(scene.Viewer->SaveAsRtf(u"C:\\Missing\\log.rtf"), EOrvelException,
                          ::testing::StartsWith("Error writing to file C:\\Missing\\log.rtf: "));
}

TEST(LogViewerFiles, SaveAsRtfWritesEveryLineAsAParagraph) {
    TViewerScene scene(230);
    scene.Sim.Files.AddFolder(u"C:\\Logs");
    scene.Viewer->SetVerbosity(lvErrors); // the file is unfiltered
    scene.Log().AddDebug(u"debug one");
    scene.Log().AddBold(u"bold two");
    scene.Log().AddError(u"error three");
    scene.Viewer->SaveAsRtf(u"C:\\Logs\\log.rtf");
    scene.Log().AddInfo(u"four");
    scene.Viewer->SaveAsRtf(u"C:\\Logs\\log.rtf"); // replaces the file

    const std::optional<std::string> bytes = scene.Sim.Files.ReadFile(u"C:\\Logs\\log.rtf");
    ASSERT_TRUE(bytes.has_value());
    std::vector<std::string> paragraphs;
    for (std::size_t at = bytes->find("\\pard"); at != std::string::npos;
         at = bytes->find("\\pard", at + 1)) {
        paragraphs.push_back(bytes->substr(at, bytes->find("\\par\n", at) - at));
    }
    ASSERT_EQ(paragraphs.size(), 4u);
    EXPECT_THAT(paragraphs[0], ::testing::AllOf(HasSubstr("\\cf1\\b0 debug one")));
    EXPECT_THAT(paragraphs[1], HasSubstr("\\b bold two"));
    EXPECT_THAT(paragraphs[2], HasSubstr("\\cf7\\b0 error three"));
    EXPECT_THAT(paragraphs[3], HasSubstr("four"));
}

TEST(LogViewerFiles, ALogLongerThanTheFirstReservationIsSavedWhole) {
    TViewerScene scene(230);
    scene.Sim.Files.AddFolder(u"C:\\Logs");
    scene.AddLines(1000);
    scene.Viewer->SaveAsRtf(u"C:\\Logs\\big.rtf");
    const std::string bytes = scene.Sim.Files.ReadFile(u"C:\\Logs\\big.rtf").value_or("");
    std::size_t paragraphs = 0;
    for (std::size_t at = bytes.find("\\par\n"); at != std::string::npos;
         at = bytes.find("\\par\n", at + 1)) {
        ++paragraphs;
    }
    EXPECT_EQ(paragraphs, 1000u);
    EXPECT_THAT(bytes, HasSubstr("line 1000\\par"));
}

// --- other threads ---

struct TSharedLogScene : TForeignLogScene {
    TRamLog& Shared = NewLog(nullptr, true);
    TSharedLogScene() { Viewer->AssignExternalRamLog(&Shared); }
};

TEST(LogViewerThreads, LinesFromAWorkerArriveWithTheQueuedRefresh) {
    TSharedLogScene scene;
    std::thread([&] { scene.AddLinesTo(scene.Shared, 50); }).join();
    // Nothing reached the viewer yet: the refresh waits in the main thread's queue.
    EXPECT_THAT(scene.RowMessages(), Each(u""));
    EXPECT_GE(scene.Backend.Step(), 1u);
    EXPECT_EQ(scene.RowMessages(), TViewerScene::Lines(42, 50));
    EXPECT_EQ(scene.Viewer->ScrollBar().Max(), 41);
}

TEST(LogViewerThreads, AClearOnAWorkerIsNotPaintedBeforeItsRefresh) {
    TSharedLogScene scene;
    scene.AddLinesTo(scene.Shared, 20);
    ASSERT_EQ(scene.Paint().Texts.size(), 9u);

    // The worker frees the lines and adds new ones; the rows still point at the freed lines.
    std::thread([&] {
        scene.Shared.Clear();
        scene.Shared.AddInfo(u"fresh");
    }).join();
    TRecordingCanvas canvas = scene.Paint();
    EXPECT_TRUE(canvas.Texts.empty());
    scene.Viewer->CopyVisible();
    EXPECT_EQ(scene.Clipboard(), u"");

    scene.Backend.Step();
    canvas = scene.Paint();
    ASSERT_EQ(canvas.Texts.size(), 1u);
    EXPECT_EQ(canvas.Texts[0].Text, u"fresh");
}

} // namespace
} // namespace orvel::testing
