#include "framework/ui/FormAsyncMessage.h"

#include "tests/framework/ui/OrvelVcl.Visual.AppData.Scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

using namespace toolkit;

class MessageForm : public testing::ShellScene {
protected:
    MessageForm() { MakeApplication(); }
    std::vector<TfrmShowMsgAsync*> MessageForms() const {
        std::vector<TfrmShowMsgAsync*> forms;
        for (TForm* form : App.Screen().Forms()) {
            if (auto* message = dynamic_cast<TfrmShowMsgAsync*>(form)) {
                forms.push_back(message);
            }
        }
        return forms;
    }
    TfrmShowMsgAsync* Only() {
        const auto forms = MessageForms();
        EXPECT_EQ(forms.size(), 1u);
        return forms.empty() ? nullptr : forms.front();
    }
};

TEST_F(MessageForm, ShowsAtOnceOwnedByTheMainFormAndAboveIt) {
    TForm* mainForm = MakeMainForm();
    ShowMessageAsync(u"The hotkeys are free again.", u"Hotkeys");
    TfrmShowMsgAsync* form = Only();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->Visible()) << "shown, and the call has returned";
    EXPECT_FALSE(form->Modal());
    EXPECT_EQ(form->Caption(), u"Hotkeys");
    EXPECT_EQ(form->lblMessage->Caption(), u"The hotkeys are free again.");
    EXPECT_EQ(form->Owner(), mainForm);
    EXPECT_EQ(form->PopupParent(), mainForm);
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsDialog);
    EXPECT_EQ(form->FormStyle(), TFormStyle::fsStayOnTop);
    EXPECT_EQ(form->btnOK->Caption(), u"Ok");
    // Centred on the main form.
    EXPECT_EQ(form->Left() + form->Width() / 2, mainForm->Left() + mainForm->Width() / 2);
}

TEST_F(MessageForm, BeforeTheMainFormTheApplicationOwnsItAndAGivenParentIsKept) {
    ShowInfoAsync(u"Starting.");
    TfrmShowMsgAsync* form = Only();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Caption(), u"Info");
    EXPECT_EQ(form->Owner(), &App);
    EXPECT_EQ(form->PopupParent(), nullptr);
    form->Close();
    Backend.Step();

    MakeMainForm();
    TForm* other = NewForm<TForm>(static_cast<TComponent*>(&App));
    ShowMessageAsync(u"Text", u"Caption", other);
    EXPECT_EQ(Only()->PopupParent(), other);
}

TEST_F(MessageForm, EnterEscapeOrTheButtonCloseAndFreeEachFormOnItsOwn) {
    MakeMainForm();
    const struct {
        const char* Case;
        char16_t Key; // 0: the button
    } cases[] = {{"Enter", u'\r'}, {"Escape", u'\x1B'}, {"Ok", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        ShowMessageAsync(u"first", u"One");
        ShowMessageAsync(u"second", u"Two");
        auto forms = MessageForms();
        ASSERT_EQ(forms.size(), 2u) << "side by side";
        if (c.Key != 0) {
            char16_t key = c.Key;
            forms[0]->KeyPress(key);
        } else {
            forms[0]->btnOK->Click();
        }
        Backend.Step();
        forms = MessageForms();
        ASSERT_EQ(forms.size(), 1u) << "the closed one is freed";
        EXPECT_EQ(forms[0]->Caption(), u"Two");
        char16_t other = u'x';
        forms[0]->KeyPress(other);
        Backend.Step();
        EXPECT_EQ(MessageForms().size(), 1u) << "other keys leave it open";
        forms[0]->Close();
        Backend.Step();
        EXPECT_TRUE(MessageForms().empty());
    }
}

TEST_F(MessageForm, HeightFollowsTheWrappedTextWithinTheLimits) {
    MakeMainForm();
    const auto heightFor = [this](const std::u16string& Text) {
        ShowMessageAsync(Text, u"Size");
        TfrmShowMsgAsync* form = Only();
        const int height = form->Height();
        const int labelBottom = form->lblMessage->Top() + form->lblMessage->Height();
        EXPECT_LE(labelBottom, form->Panel1->Top()) << "the text never runs under the button";
        EXPECT_EQ(form->Width() - form->ClientWidth() + TfrmShowMsgAsync::ClientWidthPx, form->Width());
        form->Close();
        Backend.Step();
        return height;
    };
    std::u16string paragraph;
    for (int i = 0; i < 12; ++i) {
        paragraph += u"a few words to wrap ";
    }
    const int shortHeight = heightFor(u"Done.");
    const int longHeight = heightFor(paragraph);
    std::u16string endless;
    for (int i = 0; i < 10; ++i) {
        endless += paragraph;
    }
    const int endlessHeight = heightFor(endless);
    EXPECT_EQ(shortHeight, 140) << "never below the lower limit";
    EXPECT_GT(longHeight, shortHeight);
    EXPECT_EQ(endlessHeight, 300) << "never above the upper limit";
}

TEST_F(MessageForm, NeedsTheApplicationObject) {
    Application.reset();
    EXPECT_THROW(ShowMessageAsync(u"x", u"y"), EAssertionFailed);
}

TEST_F(MessageForm, MessageBoxesCarryTheApplicationTitleAndTheirIcon) {
    const struct {
        const char* Case;
        int (*Show)(const std::u16string&, const std::u16string&);
        std::u16string Caption;
        std::u16string Title;
        std::uint32_t Flags;
    } cases[] = {
        {"info", [](const std::u16string& T, const std::u16string& C) { return ShowAppInfo(T, C); }, u"",
         u"Tarvin", 64},
        {"info with caption",
         [](const std::u16string& T, const std::u16string& C) { return ShowAppInfo(T, C); }, u"Hotkeys",
         u"Tarvin - Hotkeys", 64},
        {"warning", [](const std::u16string& T, const std::u16string& C) { return ShowAppWarning(T, C); },
         u"", u"Tarvin - Warning", 48},
        {"warning with caption",
         [](const std::u16string& T, const std::u16string& C) { return ShowAppWarning(T, C); }, u"Disk",
         u"Tarvin - Disk", 48},
        {"error", [](const std::u16string& T, const std::u16string& C) { return ShowAppError(T, C); }, u"",
         u"Tarvin - Error", 16},
        {"general, negative flags",
         [](const std::u16string& T, const std::u16string& C) { return ShowAppMessage(T, C, -1); }, u"",
         u"Tarvin", 64},
        {"general, own flags",
         [](const std::u16string& T, const std::u16string& C) { return ShowAppMessage(T, C, 0x21); }, u"Ask",
         u"Tarvin - Ask", 0x21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        Backend.ScriptMessageBoxAnswer(2);
        EXPECT_EQ(c.Show(u"Something happened.", c.Caption), 2) << "the button pressed";
        ASSERT_FALSE(Backend.MessageBoxes().empty());
        EXPECT_EQ(Backend.MessageBoxes().back().Caption, c.Title);
        EXPECT_EQ(Backend.MessageBoxes().back().Flags, c.Flags);
        EXPECT_EQ(Backend.MessageBoxes().back().Text, u"Something happened.");
    }
}

TEST_F(MessageForm, EmptyTextShowsNothingWhateverTheCaptionAndFlags) {
    EXPECT_EQ(ShowAppMessage(u"", u"Caption", 16), 0);
    EXPECT_EQ(ShowAppMessage(u"", u"", -1), 0);
    EXPECT_EQ(ShowAppError(u""), 0);
    EXPECT_TRUE(Backend.MessageBoxes().empty());
}

TEST_F(MessageForm, CrlfTokenBetweenSentencesBecomesALineBreakWithoutStrayBlanks) {
    EXPECT_EQ(ShowAppInfo(u"The file was saved. CRLF Tarvin goes on."), 1);
    EXPECT_EQ(Backend.MessageBoxes().back().Text, u"The file was saved.\r\nTarvin goes on.");
}

} // namespace
} // namespace orvel
