#include "framework/ui/OrvelVcl.Common.Translate.h"

#include "base/Base.Text.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.IO.h"
#include "framework/core/OrvelCore.h"
#include "framework/ui/OrvelVcl.Common.IniFile.h"
#include "toolkit/Toolkit.Menus.h"
#include "toolkit/Toolkit.StdCtrls.h"

#include <algorithm>
#include <vector>

namespace orvel {

namespace {

constexpr char16_t SettingsSection[] = u"Translator";
constexpr char16_t LastLanguageKey[] = u"Last_Language";
constexpr char16_t AuthorsSection[] = u"Authors";
constexpr char16_t AuthorsKey[] = u"Name";

std::u16string FileNamePart(const std::u16string& Path) {
    const std::size_t delimiter = Path.find_last_of(u"\\:");
    return delimiter == std::u16string::npos ? Path : Path.substr(delimiter + 1);
}

// One text of a form that the language file holds: which property of which component, and its key.
struct TTextSlot {
    toolkit::TComponent* Component;
    std::u16string Property;
    std::u16string Key;
};

bool HoldsAction(const toolkit::TComponent& Component) {
    return Component.HasActionProperty() && Component.Action() != nullptr;
}

void AddSlot(std::vector<TTextSlot>& Slots, toolkit::TComponent& Component, const std::u16string& Property,
             const std::u16string& Prefix) {
    if (Component.HasTextProperty(Property)) {
        const std::u16string key =
            (Prefix.empty() ? u"" : Prefix + u".") + Component.Name() + u"." + Property;
        Slots.push_back({&Component, Property, key});
    }
}

// The texts of the form itself and of the components it owns directly, in the form's order.
// Components without a name are left out: their keys would not tell them apart, and a value read
// for one would land on all of them.
std::vector<TTextSlot> TranslatableTexts(toolkit::TForm& Form, bool ParseCtrlsWithAction) {
    std::vector<TTextSlot> slots;
    std::vector<toolkit::TComponent*> components{&Form};
    components.insert(components.end(), Form.Components().begin(), Form.Components().end());
    for (toolkit::TComponent* component : components) {
        if (component->Tag() == TTranslator::DontTranslateTag || component->Name().empty() ||
            (HoldsAction(*component) && !ParseCtrlsWithAction)) {
            continue;
        }
        AddSlot(slots, *component, u"Hint", u"");
        AddSlot(slots, *component, u"TextHint", u"");
        if (!component->Is<toolkit::TForm>()) {
            AddSlot(slots, *component, u"Caption", u"");
        }
        if (auto* edit = dynamic_cast<toolkit::TCustomLabeledEdit*>(component); edit && edit->EditLabel()) {
            AddSlot(slots, *edit->EditLabel(), u"Caption", edit->Name());
        }
    }
    return slots;
}

bool IsMenuSeparator(const toolkit::TComponent& Component, const std::u16string& Text) {
    return Component.Is<toolkit::TMenuItem>() && TrimControl(Text) == u"-";
}

// The text as a language file stores it: on one line, and captions without accelerator marks.
std::u16string StoredText(std::u16string Text, const std::u16string& Property) {
    if (Text.find(CR) != std::u16string::npos) {
        Text = InsertCrlfTokens(Text);
    }
    Text = ReplaceLoneLF(ReplaceLoneCR(Text, u""), u"");
    if (Property == u"Caption") {
        std::erase(Text, u'&');
    }
    return Text;
}

} // namespace

TTranslator::TTranslator(TAppDataCore* aAppData, toolkit::TApplication& App) : FAppData(aAppData), FApp(App) {
    if (aAppData == nullptr) {
        throw EOrvelException(u"TTranslator.Create: aAppData parameter cannot be nil");
    }
    ReadLastLanguage();
}

TTranslator::~TTranslator() {
    try {
        WriteLastLanguage();
    } catch (const EOrvelException& e) {
        TAppDataCore::LogWarn(u"TTranslator: cannot remember the language: " + e.Message());
    }
}

platform::IFileSystem& TTranslator::Files() {
    return TAppDataCore::Services().Files;
}

void TTranslator::ReadLastLanguage() {
    TIniFileApp ini(TAppDataCore::AppName(), u"");
    FCurLanguage = GetLangFolder() + ini.ReadString(SettingsSection, LastLanguageKey, DefaultLang());
}

void TTranslator::WriteLastLanguage() {
    TIniFileApp ini(TAppDataCore::AppName(), u"");
    ini.WriteString(SettingsSection, LastLanguageKey, CurLanguageName());
}

std::u16string TTranslator::GetLangFolder() {
    return TAppDataCore::AppFolder() + u"Lang\\";
}

std::u16string TTranslator::CurLanguageName() const {
    return FileNamePart(FCurLanguage);
}

void TTranslator::SetCurLanguage(const std::u16string& Value) {
    Assert(Value.find(PathDelim) != std::u16string::npos, u"CurLanguage var must contain the full path!");
    const std::u16string english = GetLangFolder() + DefaultLang();
    // File names on Windows compare without regard to case; language file names are plain ASCII.
    if (!base::SameTextAscii(FileNamePart(Value), DefaultLang()) && Files().FileExists(english)) {
        FCurLanguage = english;
        LoadTranslation(true);
    }
    FCurLanguage = Value;
    LoadTranslation(true);
}

void TTranslator::LoadDefaultTranslation() {
    SetCurLanguage(GetLangFolder() + DefaultLang());
}

void TTranslator::LoadLastTranslation() {
    if (CurLanguageName() == NoLanguage) {
        return;
    }
    if (Files().FileExists(FCurLanguage)) {
        LoadTranslation(false);
    } else {
        LoadDefaultTranslation();
    }
}

void TTranslator::LoadTranslation(bool ForceLoad) {
    if (LastLanguage == CurLanguageName() && !ForceLoad) {
        return;
    }
    {
        const TMemIniFile ini(FCurLanguage, Files());
        Authors = ini.ReadString(AuthorsSection, AuthorsKey, DefaultAuthors);
    }
    // A copy: translating must not depend on the screen's list staying put meanwhile.
    const std::vector<toolkit::TForm*> forms = FApp.Screen().Forms();
    for (toolkit::TForm* form : forms) {
        LoadTranslation(form);
    }
    LastLanguage = CurLanguageName();
    if (OnTranslationLoaded) {
        OnTranslationLoaded(this);
    }
}

void TTranslator::LoadTranslation(toolkit::TForm* Form) {
    Assert(Form != nullptr, u"TTranslator.LoadTranslation: Form parameter cannot be nil");
    if (!Files().FileExists(FCurLanguage) || Form->Tag() == DontTranslateTag) {
        return;
    }
    const TMemIniFile ini(FCurLanguage, Files());
    for (const TTextSlot& slot : TranslatableTexts(*Form, ParseCtrlsWithAction)) {
        const std::u16string text = ExpandCrlfTokens(ini.ReadString(Form->Name(), slot.Key, u""));
        if (!text.empty()) {
            slot.Component->SetTextProperty(slot.Property, text);
        }
    }
}

void TTranslator::SaveTranslation(const std::u16string& FileName, bool Overwrite) {
    CreateFolderTree(Files(), GetLangFolder());
    TMemIniFile ini(FileName, Files());
    // Starting from nothing rather than deleting the file first: a refused write then keeps the
    // old translation instead of losing it.
    if (Overwrite) {
        ini.Clear();
    }
    ini.WriteString(AuthorsSection, AuthorsKey, Authors);
    const std::vector<toolkit::TForm*> forms = FApp.Screen().Forms();
    for (toolkit::TForm* form : forms) {
        saveFormTranslation(form, &ini);
    }
    ini.UpdateFile();
}

void TTranslator::saveFormTranslation(toolkit::TForm* Form, TMemIniFile* Ini) {
    Assert(Form != nullptr, u"TTranslator.saveFormTranslation: Form parameter cannot be nil");
    Assert(Ini != nullptr, u"TTranslator.saveFormTranslation: Ini parameter cannot be nil");
    if (Form->Tag() == DontTranslateTag) {
        return;
    }
    for (const TTextSlot& slot : TranslatableTexts(*Form, ParseCtrlsWithAction)) {
        const std::u16string text = slot.Component->GetTextProperty(slot.Property);
        if ((text.empty() && DontSaveEmpty) || IsMenuSeparator(*slot.Component, text) ||
            text.starts_with(u'@')) {
            continue;
        }
        Ini->WriteString(Form->Name(), slot.Key, StoredText(text, slot.Property));
    }
    Ini->UpdateFile();
}

} // namespace orvel
