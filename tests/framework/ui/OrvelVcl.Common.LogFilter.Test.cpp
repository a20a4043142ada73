#include "framework/ui/OrvelVcl.Common.LogFilter.h"

#include "tests/framework/ui/OrvelVcl.Common.LogViewer.Scene.h"

#include <gtest/gtest.h>

namespace orvel::testing {
namespace {

struct TFilterScene : TViewerScene {
    TLogVerbFilter* Filter = nullptr;
    TFilterScene() { Filter = new TLogVerbFilter(Form); }
    // Puts the panel on the form, which has its window already: the panel gets its own.
    void Open() { Filter->SetParent(Form); }
};

TEST(LogVerbFilter, TheFirstWindowSetsThePanelUp) {
    TFilterScene scene;
    EXPECT_FALSE(scene.Filter->Initialized());
    scene.Open();
    TLogVerbFilter& filter = *scene.Filter;
    EXPECT_TRUE(filter.Initialized());
    EXPECT_EQ(filter.Width(), 260);
    EXPECT_EQ(filter.Height(), 27);
    EXPECT_FALSE(filter.ShowCaption());
    EXPECT_EQ(filter.BevelOuter(), toolkit::TBevelCut::bvNone);
    EXPECT_TRUE(filter.AlignWithMargins());
    EXPECT_EQ(filter.VerboLabel().Align(), toolkit::TAlign::alLeft);
    EXPECT_EQ(filter.VerboLabel().Hint(), u"Log verbosity\r\n(Hide all messages below this level.)");
    EXPECT_EQ(filter.VerboLabel().Caption(), u"Verbosity: Info");
    toolkit::TTrackBar& bar = filter.TrackBar();
    EXPECT_EQ(bar.Name(), u"VerbosityTrackbar");
    EXPECT_EQ(bar.Align(), toolkit::TAlign::alRight);
    EXPECT_EQ(bar.Width(), 120);
    EXPECT_EQ(bar.Min(), 1);
    EXPECT_EQ(bar.Max(), 6);
    EXPECT_EQ(bar.Position(), 3);
    EXPECT_EQ(bar.Hint(), u"Hide all messages below this level");
    EXPECT_EQ(filter.FindComponent(u"VerbosityTrackbar"), &bar);
}

TEST(LogVerbFilter, ShowDebugMsgDecidesTheLowestPosition) {
    TFilterScene scene;
    scene.Filter->SetShowDebugMsg(true);
    scene.Open();
    EXPECT_EQ(scene.Filter->TrackBar().Min(), 0);
    scene.Filter->SetShowDebugMsg(false);
    EXPECT_EQ(scene.Filter->TrackBar().Min(), 1);
    scene.Filter->SetShowDebugMsg(true);
    EXPECT_EQ(scene.Filter->TrackBar().Min(), 0);
}

TEST(LogVerbFilter, MovingTheBarSetsTheViewerAndTheCaption) {
    TFilterScene scene;
    scene.Open();
    scene.Filter->SetLog(scene.Viewer);
    scene.AddLines(5, lvInfos);
    scene.AddLines(2, lvWarnings);

    scene.Filter->TrackBar().SetPosition(lvWarnings);
    EXPECT_EQ(scene.Viewer->Verbosity(), lvWarnings);
    EXPECT_EQ(scene.Filter->VerboLabel().Caption(), u"Verbosity: Warnings");
    EXPECT_EQ(scene.RowMessages()[0], u"line 6");
    EXPECT_EQ(scene.RowMessages()[2], u"");
}

TEST(LogVerbFilter, TheViewerMovesItsRegisteredBar) {
    TFilterScene scene;
    scene.Open();
    scene.Filter->SetLog(scene.Viewer);
    int changes = 0;
    scene.Viewer->OnVerbChanged = [&](toolkit::TComponent*) { ++changes; };
    scene.Viewer->SetVerbosity(lvErrors);
    EXPECT_EQ(scene.Filter->Verbosity(), lvErrors);
    EXPECT_EQ(scene.Filter->VerboLabel().Caption(), u"Verbosity: Errors");
    // The bar's handler calls back into the viewer, which then has nothing to change.
    EXPECT_EQ(changes, 1);
}

TEST(LogVerbFilter, LinkingMovesTheBarToTheViewersLevel) {
    TFilterScene scene;
    scene.Open();
    scene.Viewer->SetVerbosity(lvImportant);
    scene.Filter->SetLog(scene.Viewer);
    EXPECT_EQ(scene.Filter->Verbosity(), lvImportant);
    EXPECT_EQ(scene.Viewer->Verbosity(), lvImportant);
}

TEST(LogVerbFilter, ALinkBeforeTheFirstWindowKeepsTheViewersLevel) {
    TFilterScene scene;
    scene.Viewer->SetVerbosity(lvWarnings);
    scene.Filter->SetLog(scene.Viewer);
    scene.Open();
    EXPECT_EQ(scene.Viewer->Verbosity(), lvWarnings);
    EXPECT_EQ(scene.Filter->Verbosity(), lvWarnings);
    EXPECT_EQ(scene.Filter->VerboLabel().Caption(), u"Verbosity: Warnings");
}

TEST(LogVerbFilter, WithoutAViewerTheBarChangesNothingElse) {
    TFilterScene scene;
    scene.Open();
    scene.Filter->TrackBar().SetPosition(lvErrors);
    EXPECT_EQ(scene.Filter->VerboLabel().Caption(), u"Verbosity: Info");
    EXPECT_EQ(scene.Viewer->Verbosity(), lvVerbose);
}

TEST(LogVerbFilter, FreeingEitherSideLeavesTheOtherUsable) {
    {
        TFilterScene scene;
        scene.Open();
        scene.Filter->SetLog(scene.Viewer);
        scene.Filter->Free();
        EXPECT_NO_THROW(scene.Viewer->SetVerbosity(lvErrors));
    }
    {
        TFilterScene scene;
        scene.Open();
        scene.Filter->SetLog(scene.Viewer);
        scene.Viewer->Free();
        scene.Viewer = nullptr;
        EXPECT_EQ(scene.Filter->Log(), nullptr);
        EXPECT_NO_THROW(scene.Filter->TrackBar().SetPosition(lvErrors));
    }
}

} // namespace
} // namespace orvel::testing
