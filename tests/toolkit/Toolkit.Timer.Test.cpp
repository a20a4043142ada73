#include "tests/toolkit/Toolkit.Scene.h"
#include "toolkit/Toolkit.Form.h"
#include "toolkit/Toolkit.Timer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace toolkit::testing {
namespace {

using ::testing::ElementsAre;

// A timer on a form that notes the clock at every tick.
struct TTimerScene : TScene {
    TForm* Form = App.CreateForm<TForm>();
    std::uint64_t Start = Backend.NowMs();
    std::vector<std::uint64_t> Ticks;

    TTimer* AddTimer(std::uint32_t Interval) {
        auto* timer = new TTimer(Form);
        timer->SetInterval(Interval);
        timer->OnTimer = [this](TComponent*) { Ticks.push_back(Backend.NowMs() - Start); };
        return timer;
    }
};

TEST(Timer, FiresEveryIntervalFromItsStart) {
    TTimerScene scene;
    auto* timer = new TTimer(scene.Form);
    EXPECT_EQ(timer->Interval(), 1000u);
    EXPECT_TRUE(timer->Enabled());
    timer->OnTimer = [&scene](TComponent*) { scene.Ticks.push_back(scene.Backend.NowMs() - scene.Start); };

    scene.Backend.AdvanceTime(3500);

    EXPECT_THAT(scene.Ticks, ElementsAre(1000u, 2000u, 3000u));
    EXPECT_EQ(scene.Backend.NowMs() - scene.Start, 3500u);
}

TEST(Timer, IntervalAndEnabledRules) {
    struct TCase {
        const char* Name;
        // Runs at 700 ms into a 1000 ms timer.
        void (*Change)(TTimer&);
        std::vector<std::uint64_t> Expected; // ticks within 3000 ms
    };
    const TCase cases[] = {
        {"nothing changes", [](TTimer&) {}, {1000, 2000, 3000}},
        {"a new interval restarts the countdown",
         [](TTimer& t) { t.SetInterval(500); },
         {1200, 1700, 2200, 2700}},
        {"the same interval changes nothing", [](TTimer& t) { t.SetInterval(1000); }, {1000, 2000, 3000}},
        {"disabled never fires", [](TTimer& t) { t.SetEnabled(false); }, {}},
        {"enabling again starts afresh",
         [](TTimer& t) {
             t.SetEnabled(false);
             t.SetEnabled(true);
         },
         {1700, 2700}},
        {"enabling an enabled timer changes nothing",
         [](TTimer& t) { t.SetEnabled(true); },
         {1000, 2000, 3000}},
        {"interval 0 never fires", [](TTimer& t) { t.SetInterval(0); }, {}},
        {"interval 0 and back counts from then",
         [](TTimer& t) {
             t.SetInterval(0);
             t.SetInterval(1000);
         },
         {1700, 2700}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTimerScene scene;
        TTimer* timer = scene.AddTimer(1000);
        scene.Backend.AdvanceTime(700);
        c.Change(*timer);
        scene.Backend.AdvanceTime(2300);
        EXPECT_EQ(scene.Ticks, c.Expected);
    }
}

TEST(Timer, DueOrderAcrossTimersAndTiesInArmingOrder) {
    TTimerScene scene;
    std::string order;
    auto* a = new TTimer(scene.Form);
    a->SetInterval(300);
    a->OnTimer = [&order](TComponent*) { order += 'A'; };
    auto* b = new TTimer(scene.Form);
    b->SetInterval(200);
    b->OnTimer = [&order](TComponent*) { order += 'B'; };

    scene.Backend.AdvanceTime(600);

    // B 200, A 300, B 400, then at 600 A (re-armed at 300) before B (re-armed at 400).
    EXPECT_EQ(order, "BABAB");
}

TEST(Timer, HandlersThatStopOrChangeTimersAreRespected) {
    TTimerScene scene;
    std::string order;
    auto* once = new TTimer(scene.Form);
    once->SetInterval(100);
    auto* slow = new TTimer(scene.Form);
    slow->SetInterval(250);
    slow->OnTimer = [&order](TComponent*) { order += 'S'; };
    once->OnTimer = [&order, slow](TComponent* Sender) {
        order += 'O';
        static_cast<TTimer*>(Sender)->SetEnabled(false);
        slow->SetInterval(1000); // now due at 1100
    };

    scene.Backend.AdvanceTime(1099);
    EXPECT_EQ(order, "O");
    scene.Backend.AdvanceTime(1);
    EXPECT_EQ(order, "OS");
}

TEST(Timer, QueuedWorkOfAHandlerRunsBeforeTheNextTick) {
    TTimerScene scene;
    std::string order;
    auto* timer = new TTimer(scene.Form);
    timer->SetInterval(10);
    timer->OnTimer = [&](TComponent*) {
        order += 'T';
        scene.App.Queue([&order] { order += 'q'; });
    };
    scene.Backend.AdvanceTime(30);
    EXPECT_EQ(order, "TqTqTq");
}

TEST(Timer, AFreedTimerIsDisarmed) {
    TTimerScene scene;
    TTimer* timer = scene.AddTimer(100);
    EXPECT_TRUE(scene.Backend.TimerArmed(*timer));
    timer->Free();
    scene.Backend.AdvanceTime(1000);
    EXPECT_TRUE(scene.Ticks.empty());
    EXPECT_FALSE(scene.Backend.NextTimerDue().has_value());

    // Freeing the form frees its timers.
    TTimer* onForm = scene.AddTimer(100);
    (void)onForm;
    scene.Form->Free();
    EXPECT_FALSE(scene.Backend.NextTimerDue().has_value());
}

TEST(Timer, TheRunningLoopJumpsFromTickToTick) {
    TTimerScene scene;
    auto* timer = scene.AddTimer(250);
    timer->OnTimer = [&scene](TComponent*) {
        scene.Ticks.push_back(scene.Backend.NowMs() - scene.Start);
        if (scene.Ticks.size() == 4) {
            scene.App.Terminate();
        }
    };
    scene.App.SetShowMainForm(false);

    scene.App.Run();

    EXPECT_THAT(scene.Ticks, ElementsAre(250u, 500u, 750u, 1000u));
    EXPECT_EQ(scene.Backend.NowMs() - scene.Start, 1000u);
}

} // namespace
} // namespace toolkit::testing
