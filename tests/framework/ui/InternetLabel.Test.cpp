#include "framework/ui/InternetLabel.h"

#include "platform/sim/Sim.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/headless/Headless.Backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

using namespace toolkit;

class HyperlinkLabel : public ::testing::Test {
protected:
    platform::sim::TSimPlatform Sim;
    headless::THeadlessBackend Backend{Sim};
    TApplication App{Backend, Sim.MainThread};
    TForm* Form = NewForm<TForm>(&App);
    TInternetLabel* Label = MakeLabel();

    TInternetLabel* MakeLabel() {
        auto* label = new TInternetLabel(Form, Sim.ShellOpen);
        label->SetParent(Form);
        label->SetCaption(u"Home page");
        return label;
    }
};

TEST_F(HyperlinkLabel, StartsAsAPlainBlueLinkWithTheHandCursor) {
    Form->Font().SetStyle(fsBold | fsUnderline);
    TInternetLabel* label = MakeLabel();
    EXPECT_EQ(label->Font().Color(), clBlue);
    EXPECT_EQ(label->Font().Style(), 0);
    EXPECT_EQ(label->Cursor(), TCursor::crHandPoint);
    EXPECT_EQ(label->VisitedColor(), 0x800080);
    EXPECT_EQ(label->NotVisitedColor(), 0xFF0000);
    EXPECT_EQ(label->OverColor(), 0x0000FF);
    EXPECT_FALSE(label->Visited());
    EXPECT_FALSE(label->LinkHint());
    EXPECT_TRUE(label->Link().empty());
}

TEST_F(HyperlinkLabel, LinkBecomesTheHintOnlyWhileLinkHintIsOn) {
    Label->SetLink(u"https://example.org/a");
    Label->SetLinkHint(true);
    EXPECT_EQ(Label->Hint(), u"") << "turning it on later copies nothing";
    Label->SetLink(u"https://example.org/b");
    EXPECT_EQ(Label->Hint(), u"https://example.org/b");
}

TEST_F(HyperlinkLabel, MouseOverShowsTheOverColourAndAnUnderlineThatLeavingTakesAway) {
    Label->Font().SetStyle(fsBold | fsUnderline); // as a form file may give it
    std::vector<std::string> events;
    Label->OnMouseEnter = [&](TComponent*) {
        events.push_back("enter, colour " + std::to_string(Label->Font().Color()));
    };
    Label->OnMouseLeave = [&](TComponent*) { events.push_back("leave"); };

    Label->MouseEnter();
    EXPECT_TRUE(Label->MouseOver());
    EXPECT_EQ(Label->Font().Color(), clRed);
    EXPECT_EQ(Label->Font().Style(), fsBold | fsUnderline);
    Label->MouseLeave();
    EXPECT_FALSE(Label->MouseOver());
    EXPECT_EQ(Label->Font().Color(), clBlue);
    EXPECT_EQ(Label->Font().Style(), fsBold) << "the form file's underline goes too, bold stays";
    EXPECT_EQ(events, (std::vector<std::string>{"enter, colour " + std::to_string(clRed), "leave"}))
        << "the events come after the label has reacted";
}

TEST_F(HyperlinkLabel, ColourChangesShowOnlyInTheStateTheyBelongTo) {
    Label->SetVisited(true);
    Label->MouseEnter();
    Label->SetVisitedColor(clGreen);
    EXPECT_EQ(Label->Font().Color(), clRed) << "the over colour stays on screen";
    Label->SetOverColor(clMaroon);
    EXPECT_EQ(Label->Font().Color(), clMaroon);
    Label->MouseLeave();
    EXPECT_EQ(Label->Font().Color(), clGreen);
    Label->SetNotVisitedColor(clTeal);
    EXPECT_EQ(Label->Font().Color(), clGreen) << "visited: the not-visited colour waits";
    Label->SetVisited(false);
    EXPECT_EQ(Label->Font().Color(), clTeal);
}

TEST_F(HyperlinkLabel, ClickRunsOnClickThenOpensTheLinkAndTheShellsAnswerDecidesVisited) {
    const struct {
        const char* Case;
        std::intptr_t ShellAnswer;
        bool WasVisited;
        bool Visited;
        TColor Colour;
    } cases[] = {{"accepted", 42, false, true, clPurple},
                 {"refused", 2, false, false, clBlue},
                 {"refused on a visited label", 31, true, false, clBlue},
                 {"accepted again", 33, true, true, clPurple}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        Label->SetLink(u"https://example.org/");
        Label->SetVisited(c.WasVisited);
        Sim.ShellOpen.SetAnswer(c.ShellAnswer);
        Label->MouseEnter();
        Label->Click();
        EXPECT_EQ(Label->Visited(), c.Visited);
        EXPECT_EQ(Label->Font().Color(), c.Colour) << "shown at once, though the mouse is over it";
        Label->MouseLeave();
        EXPECT_EQ(Label->Font().Color(), c.Colour);
    }
    EXPECT_EQ(Sim.ShellOpen.Opened().size(), 4u);
}

TEST_F(HyperlinkLabel, OnLinkActivatingCanBlockEveryClickAfterOnClickRan) {
    std::vector<std::string> order;
    Label->SetLink(u"https://example.org/");
    Label->OnClick = [&](TComponent*) { order.push_back("OnClick"); };
    Label->OnLinkActivating = [&](TComponent* Sender, bool& CanActivate) {
        EXPECT_EQ(Sender, Label);
        EXPECT_TRUE(CanActivate) << "a non-empty link may be opened";
        order.push_back("asked");
        CanActivate = false;
    };
    Label->Click();
    Label->Click();
    EXPECT_EQ(order, (std::vector<std::string>{"OnClick", "asked", "OnClick", "asked"}));
    EXPECT_TRUE(Sim.ShellOpen.Opened().empty());
    EXPECT_FALSE(Label->Visited());
}

TEST_F(HyperlinkLabel, EmptyLinkOpensNothingUnlessTheOwnerInsists) {
    Label->Click();
    EXPECT_TRUE(Sim.ShellOpen.Opened().empty());

    Label->OnLinkActivating = [](TComponent*, bool& CanActivate) {
        EXPECT_FALSE(CanActivate);
        CanActivate = true;
    };
    Sim.ShellOpen.SetAnswer(2);
    Label->Click();
    EXPECT_EQ(Sim.ShellOpen.Opened(), std::vector<std::u16string>{u""});
    EXPECT_FALSE(Label->Visited());
}

} // namespace
} // namespace orvel
