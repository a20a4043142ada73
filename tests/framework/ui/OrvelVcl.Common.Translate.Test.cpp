#include "framework/ui/OrvelVcl.Common.Translate.h"

#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IniStore.h"
#include "platform/sim/Sim.Platform.h"
#include "tests/Test.Support.h"
#include "toolkit/Toolkit.ActnList.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"
#include "toolkit/headless/Headless.Backend.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvel {
namespace {

using namespace toolkit;

const std::u16string LangFolder = u"C:\\Program Files\\Tarvin\\Lang\\";
const std::u16string English = LangFolder + u"English.ini";
const std::u16string German = LangFolder + u"German.ini";
const std::u16string IniPath = u"C:\\Users\\dev\\AppData\\Roaming\\Tarvin\\Tarvin.ini";
const std::string Bom = "\xEF\xBB\xBF";

// The texts of a small main window as its form file has them, in English.
class TSampleForm : public TForm {
public:
    explicit TSampleForm(TComponent* AOwner) : TForm(AOwner) {
        SetName(u"MainForm");
        SetCaption(u"Tarvin");
        SetHint(u"Main window");
        Info = Add<TLabel>(u"lblInfo");
        Info->SetCaption(u"&Info");
        Info->SetHint(u"About the hotkeys");
        Path = Add<TLabeledEdit>(u"edtPath");
        Path->EditLabel()->SetCaption(u"Folder");
        Path->SetTextHint(u"Type a folder");
        ExitAction = Add<TAction>(u"actExit");
        ExitAction->SetCaption(u"E&xit");
        ExitButton = Add<TButton>(u"btnExit");
        ExitButton->SetAction(ExitAction);
        Tray = Add<TPopupMenu>(u"mnuTray");
        Show = Add<TMenuItem>(u"mnuShow");
        Show->SetCaption(u"&Show");
        Separator = Add<TMenuItem>(u"mnuLine");
        Separator->SetCaption(u"-");
        Tray->Items()->Add(Show);
        Tray->Items()->Add(Separator);
    }

    template <class T> T* Add(const std::u16string& Name) {
        T* component = new T(this);
        component->SetName(Name);
        return component;
    }

    TLabel* Info;
    TLabeledEdit* Path;
    TAction* ExitAction;
    TButton* ExitButton;
    TPopupMenu* Tray;
    TMenuItem* Show;
    TMenuItem* Separator;
};

// A fresh process with the application data core; the translator is made by each test.
class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override {
        Translator.reset();
        Core.reset();
        Forget();
    }
    static void Forget() {
        TAppDataCore::ClearIdentity();
        TAppDataCore::ResetConstructionFlagForTests();
        AppDataCore = nullptr;
    }
    void StartCore() { Core = std::make_unique<TAppDataCore>(u"Tarvin", u"TarvinWndClass", false, Os); }
    TTranslator& Start() {
        if (!Core) {
            StartCore();
        }
        Translator = std::make_unique<TTranslator>(Core.get(), App);
        return *Translator;
    }
    TSampleForm* NewSample() { return NewForm<TSampleForm>(static_cast<TComponent*>(&App)); }
    void AddLanguage(const std::u16string& Path, const std::string& Text, bool WithBom = true) {
        Sim.Files.AddFile(Path, (WithBom ? Bom : std::string()) + Text);
    }
    std::optional<std::u16string> Stored(const std::u16string& Path, const std::u16string& Section,
                                         const std::u16string& Key) {
        const auto bytes = Sim.Files.Contents(Path);
        return bytes ? TIniStore::Parse(*bytes).Get(Section, Key) : std::nullopt;
    }

    platform::sim::TSimPlatform Sim;
    platform::TServices Os = Sim.Services();
    headless::THeadlessBackend Backend{Sim};
    TApplication App{Backend, Sim.MainThread};
    std::unique_ptr<TAppDataCore> Core;
    std::unique_ptr<TTranslator> Translator;
};

const std::string GermanText = "[Authors]\r\nName=Kestro\r\n"
                               "[MainForm]\r\n"
                               "MainForm.Hint=Hauptfenster\r\n"
                               "lblInfo.Caption=\xC3\x9C"
                               "ber\r\n"
                               "lblInfo.Hint=Zwei CRLF Zeilen\r\n"
                               "edtPath.TextHint=Ordner eingeben\r\n"
                               "edtPath.SubLabel.Caption=Ordner\r\n"
                               "actExit.Caption=Beenden\r\n"
                               "btnExit.Caption=Nicht verwenden\r\n"
                               "mnuShow.Caption=\r\n";

TEST_F(TranslatorTest, CreateRefusesAMissingApplicationObject) {
    StartCore();
    EXPECT_THROW_MSG(TTranslator translator(nullptr, App), EOrvelException,
                     u"TTranslator.Create: aAppData parameter cannot be nil");
}

TEST_F(TranslatorTest, CreateTakesTheRememberedLanguageAndLoadsNothing) {
    Sim.Files.AddFile(IniPath, "[Translator]\r\nLast_Language=German.ini\r\n");
    AddLanguage(German, GermanText);
    TSampleForm* form = NewSample();
    TTranslator& translator = Start();
    EXPECT_EQ(translator.CurLanguage(), German);
    EXPECT_EQ(translator.CurLanguageName(), u"German.ini");
    EXPECT_EQ(translator.LastLanguage, u"");
    EXPECT_EQ(form->Info->Caption(), u"&Info");
    EXPECT_TRUE(translator.DontSaveEmpty);
    EXPECT_FALSE(translator.ParseCtrlsWithAction);
}

TEST_F(TranslatorTest, WithoutARememberedLanguageEnglishIsCurrentAndDestructionRemembersTheCurrentOne) {
    TTranslator& translator = Start();
    EXPECT_EQ(translator.CurLanguage(), English);
    EXPECT_EQ(TTranslator::GetLangFolder(), LangFolder);
    AddLanguage(German, GermanText);
    translator.SetCurLanguage(German);
    Translator.reset();
    EXPECT_EQ(Stored(IniPath, u"Translator", u"Last_Language"), u"German.ini");
}

TEST_F(TranslatorTest, LanguageFileIsReadWithOrWithoutByteOrderMark) {
    for (const bool withBom : {true, false}) {
        SCOPED_TRACE(withBom);
        AddLanguage(German, GermanText, withBom);
        TSampleForm* form = NewSample();
        TTranslator& translator = Start();
        translator.SetCurLanguage(German);
        EXPECT_EQ(form->Info->Caption(), u"\u00DCber");
        EXPECT_EQ(form->Hint(), u"Hauptfenster");
        EXPECT_EQ(form->Caption(), u"Tarvin") << "a form's own caption is never translated";
        EXPECT_EQ(form->Path->TextHint(), u"Ordner eingeben");
        EXPECT_EQ(form->Path->EditLabel()->Caption(), u"Ordner");
        EXPECT_EQ(translator.Authors, u"Kestro");
        form->Free();
    }
}

TEST_F(TranslatorTest, TheCrlfTokenBecomesALineBreakAndALineBreakIsSavedAsTheToken) {
    AddLanguage(German, GermanText);
    TSampleForm* form = NewSample();
    TTranslator& translator = Start();
    translator.SetCurLanguage(German);
    EXPECT_EQ(form->Info->Hint(), u"Zwei\r\nZeilen");

    form->Info->SetCaption(u"a\r\nb");
    translator.SaveTranslation(LangFolder + u"Saved.ini", true);
    EXPECT_EQ(Stored(LangFolder + u"Saved.ini", u"MainForm", u"lblInfo.Caption"), u"a CRLF b");
    EXPECT_EQ(Stored(LangFolder + u"Saved.ini", u"MainForm", u"lblInfo.Hint"), u"Zwei CRLF Zeilen");

    form->Info->SetCaption(u"x");
    translator.SetCurLanguage(LangFolder + u"Saved.ini");
    EXPECT_EQ(form->Info->Caption(), u"a\r\nb");
}

TEST_F(TranslatorTest, EmptyOrMissingValueLeavesTheEnglishText) {
    AddLanguage(German, GermanText);
    TSampleForm* form = NewSample();
    Start().SetCurLanguage(German);
    EXPECT_EQ(form->Show->Caption(), u"&Show") << "empty value";
    EXPECT_EQ(form->Show->Hint(), u"") << "missing key";
}

TEST_F(TranslatorTest, ActionDrivenControlIsSkippedAndTheActionTranslatedUnderItsOwnKey) {
    AddLanguage(German, GermanText);
    TSampleForm* form = NewSample();
    TTranslator& translator = Start();
    translator.SetCurLanguage(German);
    EXPECT_EQ(form->ExitAction->Caption(), u"Beenden");
    EXPECT_EQ(form->ExitButton->Caption(), u"Beenden") << "the button follows its action";

    translator.ParseCtrlsWithAction = true;
    translator.LoadTranslation(form);
    EXPECT_EQ(form->ExitButton->Caption(), u"Nicht verwenden");
}

TEST_F(TranslatorTest, ActionDrivenControlIsNotSavedUnlessAsked) {
    NewSample();
    TTranslator& translator = Start();
    translator.SaveTranslation(German, true);
    EXPECT_EQ(Stored(German, u"MainForm", u"actExit.Caption"), u"Exit");
    EXPECT_EQ(Stored(German, u"MainForm", u"btnExit.Caption"), std::nullopt);

    translator.ParseCtrlsWithAction = true;
    translator.SaveTranslation(German, true);
    EXPECT_EQ(Stored(German, u"MainForm", u"btnExit.Caption"), u"Exit");
}

TEST_F(TranslatorTest, FormTaggedNotToTranslateKeepsItsTextsAndGetsNoSection) {
    AddLanguage(German, GermanText);
    TSampleForm* form = NewSample();
    form->SetTag(TTranslator::DontTranslateTag);
    TTranslator& translator = Start();
    translator.SetCurLanguage(German);
    EXPECT_EQ(form->Info->Caption(), u"&Info");
    EXPECT_EQ(form->Hint(), u"Main window");

    translator.SaveTranslation(LangFolder + u"New.ini", true);
    const auto bytes = Sim.Files.Contents(LangFolder + u"New.ini");
    ASSERT_TRUE(bytes);
    EXPECT_FALSE(TIniStore::Parse(*bytes).SectionExists(u"MainForm"));
}

TEST_F(TranslatorTest, ComponentTaggedNotToTranslateIsNeitherLoadedNorSaved) {
    AddLanguage(German, GermanText);
    TSampleForm* form = NewSample();
    form->Info->SetTag(TTranslator::DontTranslateTag);
    TTranslator& translator = Start();
    translator.SetCurLanguage(German);
    EXPECT_EQ(form->Info->Caption(), u"&Info");
    EXPECT_EQ(form->Path->TextHint(), u"Ordner eingeben");
    translator.SaveTranslation(LangFolder + u"New.ini", true);
    EXPECT_EQ(Stored(LangFolder + u"New.ini", u"MainForm", u"lblInfo.Caption"), std::nullopt);
}

TEST_F(TranslatorTest, SavedFileHoldsEachTextInItsStoredForm) {
    TSampleForm* form = NewSample();
    form->Info->SetCaption(u"&Save && go");
    form->Info->SetHint(u"Keep & mark");
    form->Path->SetHint(u"@runtime");
    form->ExitAction->SetHint(u"one\rtwo\nthree");
    TTranslator& translator = Start();
    translator.Authors = u"Kestro";
    translator.SaveTranslation(German, true);

    const auto bytes = Sim.Files.Contents(German);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->starts_with(Bom));
    const TIniStore file = TIniStore::Parse(*bytes);
    EXPECT_EQ(file.Get(u"Authors", u"Name"), u"Kestro");
    const std::vector<std::u16string> expectedKeys = {u"MainForm.Hint",
                                                      u"lblInfo.Hint",
                                                      u"lblInfo.Caption",
                                                      u"edtPath.TextHint",
                                                      u"edtPath.SubLabel.Caption",
                                                      u"actExit.Hint",
                                                      u"actExit.Caption",
                                                      u"mnuShow.Caption"};
    EXPECT_EQ(file.Keys(u"MainForm"), expectedKeys) << "no form caption, separator, \"@\" text or empty text";
    EXPECT_EQ(file.Get(u"MainForm", u"lblInfo.Caption"), u"Save  go");
    EXPECT_EQ(file.Get(u"MainForm", u"lblInfo.Hint"), u"Keep & mark");
    EXPECT_EQ(file.Get(u"MainForm", u"actExit.Hint"), u"onetwothree");
    EXPECT_EQ(file.Get(u"MainForm", u"mnuShow.Caption"), u"Show");
    EXPECT_EQ(file.Get(u"MainForm", u"edtPath.SubLabel.Caption"), u"Folder");
}

TEST_F(TranslatorTest, EmptyTextsAreSavedWhenAsked) {
    NewSample();
    TTranslator& translator = Start();
    translator.DontSaveEmpty = false;
    translator.SaveTranslation(German, true);
    EXPECT_EQ(Stored(German, u"MainForm", u"mnuShow.Hint"), u"");
    EXPECT_EQ(Stored(German, u"MainForm", u"mnuLine.Caption"), std::nullopt) << "a separator stays out";
}

TEST_F(TranslatorTest, ComponentWithoutNameIsLeftOut) {
    TSampleForm* form = NewSample();
    auto* unnamed = new TLabel(form);
    unnamed->SetCaption(u"Anonymous");
    Start().SaveTranslation(German, true);
    EXPECT_EQ(Stored(German, u"MainForm", u".Caption"), std::nullopt);
}

TEST_F(TranslatorTest, SavingMergesIntoTheFileUnlessOverwriting) {
    NewSample();
    TTranslator& translator = Start();
    AddLanguage(German, "[MainForm]\r\nold.Caption=Alt\r\nlblInfo.Caption=Alt\r\n", false);
    translator.SaveTranslation(German, false);
    EXPECT_EQ(Stored(German, u"MainForm", u"old.Caption"), u"Alt");
    EXPECT_EQ(Stored(German, u"MainForm", u"lblInfo.Caption"), u"Info");
    EXPECT_TRUE(Sim.Files.Contents(German)->starts_with(Bom)) << "written with a mark even if read without";

    translator.SaveTranslation(German, true);
    EXPECT_EQ(Stored(German, u"MainForm", u"old.Caption"), std::nullopt);
    EXPECT_EQ(Stored(German, u"MainForm", u"lblInfo.Caption"), u"Info");
}

TEST_F(TranslatorTest, RefusedWriteKeepsTheOldFileAndRaises) {
    NewSample();
    TTranslator& translator = Start();
    AddLanguage(German, "[MainForm]\r\nold.Caption=Alt\r\n");
    Sim.Files.DenyWritesUnder(LangFolder);
    EXPECT_THROW(translator.SaveTranslation(German, true), EIniFileException);
    EXPECT_EQ(Stored(German, u"MainForm", u"old.Caption"), u"Alt");
}

TEST_F(TranslatorTest, LastTranslationNamedNoLanguageDoesNothing) {
    Sim.Files.AddFile(IniPath, "[Translator]\r\nLast_Language=No_Language\r\n");
    AddLanguage(English, "[MainForm]\r\nlblInfo.Caption=English file\r\n");
    TSampleForm* form = NewSample();
    TTranslator& translator = Start();
    int loaded = 0;
    translator.OnTranslationLoaded = [&](TTranslator*) { ++loaded; };
    translator.LoadLastTranslation();
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(translator.CurLanguageName(), u"No_Language");
    EXPECT_EQ(translator.LastLanguage, u"");
    EXPECT_EQ(form->Info->Caption(), u"&Info");
}

TEST_F(TranslatorTest, LastTranslationWhoseFileIsGoneFallsBackToEnglish) {
    Sim.Files.AddFile(IniPath, "[Translator]\r\nLast_Language=Klingon.ini\r\n");
    AddLanguage(English, "[MainForm]\r\nlblInfo.Caption=English file\r\n");
    TSampleForm* form = NewSample();
    TTranslator& translator = Start();
    translator.LoadLastTranslation();
    EXPECT_EQ(translator.CurLanguage(), English);
    EXPECT_EQ(translator.LastLanguage, u"English.ini");
    EXPECT_EQ(form->Info->Caption(), u"English file");
}

TEST_F(TranslatorTest, LastTranslationLoadsOnlyWhatWasNotAppliedYet) {
    Sim.Files.AddFile(IniPath, "[Translator]\r\nLast_Language=German.ini\r\n");
    AddLanguage(German, GermanText);
    TTranslator& translator = Start();
    int loaded = 0;
    translator.OnTranslationLoaded = [&](TTranslator* Sender) {
        EXPECT_EQ(Sender, &translator);
        ++loaded;
    };
    translator.LoadLastTranslation();
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(translator.LastLanguage, u"German.ini");
    EXPECT_EQ(translator.Authors, u"Kestro");

    translator.LoadLastTranslation();
    translator.LoadTranslation(false);
    EXPECT_EQ(loaded, 1) << "the language was applied already";
    translator.LoadTranslation(true);
    EXPECT_EQ(loaded, 2);
}

TEST_F(TranslatorTest, LanguageFileWithoutAuthorsCreditsTheMaker) {
    AddLanguage(German, "[MainForm]\r\n");
    TTranslator& translator = Start();
    translator.SetCurLanguage(German);
    EXPECT_EQ(translator.Authors, u"Halvorn");
}

TEST_F(TranslatorTest, SwitchingLanguageGoesThroughEnglishFirst) {
    AddLanguage(English, "[MainForm]\r\nlblInfo.Caption=Info\r\nlblInfo.Hint=English hint\r\n");
    AddLanguage(German, GermanText);
    AddLanguage(LangFolder + u"Swedish.ini", "[MainForm]\r\nlblInfo.Caption=Om\r\n");
    TSampleForm* form = NewSample();
    TTranslator& translator = Start();
    int loaded = 0;
    translator.OnTranslationLoaded = [&](TTranslator*) { ++loaded; };

    translator.SetCurLanguage(German);
    EXPECT_EQ(loaded, 2);
    translator.SetCurLanguage(LangFolder + u"Swedish.ini");
    EXPECT_EQ(form->Info->Caption(), u"Om");
    EXPECT_EQ(form->Info->Hint(), u"English hint") << "the German hint must not stay";
    EXPECT_EQ(translator.CurLanguageName(), u"Swedish.ini");
    EXPECT_EQ(translator.LastLanguage, u"Swedish.ini");
}

TEST_F(TranslatorTest, SwitchingToEnglishLoadsItOnce) {
    AddLanguage(English, "[MainForm]\r\nlblInfo.Caption=Info\r\n");
    TTranslator& translator = Start();
    int loaded = 0;
    translator.OnTranslationLoaded = [&](TTranslator*) { ++loaded; };
    translator.SetCurLanguage(LangFolder + u"ENGLISH.INI");
    EXPECT_EQ(loaded, 1);
    translator.LoadDefaultTranslation();
    EXPECT_EQ(loaded, 2);
}

TEST_F(TranslatorTest, MissingLanguageFileChangesNoForm) {
    TSampleForm* form = NewSample();
    TTranslator& translator = Start();
    translator.SetCurLanguage(German);
    EXPECT_EQ(form->Info->Caption(), u"&Info");
    EXPECT_EQ(translator.CurLanguage(), German);
}

TEST_F(TranslatorTest, ProgrammingErrorsFailTheirAssertions) {
    TTranslator& translator = Start();
    TMemIniFile ini(German, Sim.Files);
    TSampleForm* form = NewSample();
    EXPECT_THROW_MSG(translator.SetCurLanguage(u"German.ini"), EAssertionFailed, u"CurLanguage var must contain the full path!");
    EXPECT_THROW_MSG(translator.LoadTranslation(nullptr), EAssertionFailed, u"TTranslator.LoadTranslation: Form parameter cannot be nil");
    EXPECT_THROW_MSG(translator.saveFormTranslation(nullptr, &ini), EAssertionFailed, u"TTranslator.saveFormTranslation: Form parameter cannot be nil");
    EXPECT_THROW_MSG(translator.saveFormTranslation(form, nullptr), EAssertionFailed, u"TTranslator.saveFormTranslation: Ini parameter cannot be nil");
}

} // namespace
} // namespace orvel
