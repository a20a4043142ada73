#pragma once
// TTranslator: puts the captions, hints and text hints of the application's forms into another
// language, from one INI-format language file per language, and writes such a file from the
// texts of the open forms to start a new translation.
#include "framework/core/OrvelCore.AppData.h"
#include "framework/core/OrvelCore.MemIniFile.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/Toolkit.Form.h"

#include <functional>
#include <string>

namespace orvel {

class TTranslator;

using TTranslationLoadedEvent = std::function<void(TTranslator* Sender)>;

// Language file: section "Authors" key "Name" holds the credits; each form has a section named
// after it, whose keys are "{component}.{property}" ("{edit}.{label}.Caption" for the built-in
// label of a labeled edit). The word CRLF in a value stands for a line break. A form or component
// with Tag 128 is left alone; so is everything on such a form.
class TTranslator {
public:
    static constexpr std::intptr_t DontTranslateTag = 128;
    static constexpr char16_t NoLanguage[] = u"No_Language";
    static constexpr char16_t DefaultAuthors[] = u"Halvorn";

    // Reads the remembered language from the application's INI file (English when none is
    // remembered) and loads nothing yet. A null aAppData raises EOrvelException. App's screen
    // lists the forms to translate; it must outlive the translator. Files are reached through the
    // application's identity.
    TTranslator(TAppDataCore* aAppData, toolkit::TApplication& App);
    // Remembers the current language in the application's INI file. A refused write is reported
    // to the log instead of raised: the translator goes away while the application shuts down,
    // where nothing could handle the error.
    ~TTranslator();
    TTranslator(const TTranslator&) = delete;
    TTranslator& operator=(const TTranslator&) = delete;

    // The application folder's "Lang\" subfolder.
    static std::u16string GetLangFolder();
    static std::u16string DefaultLang() { return u"English.ini"; }

    // Full path of the current language file.
    const std::u16string& CurLanguage() const { return FCurLanguage; }
    // Switches to the language file Value (a full path) and re-translates every open form; the
    // English file is applied first, so that texts the new language lacks do not stay in the
    // previous one. A Value without a folder fails an assertion.
    void SetCurLanguage(const std::u16string& Value);
    // The file-name part of CurLanguage.
    std::u16string CurLanguageName() const;

    void LoadDefaultTranslation();
    // Applies the remembered language, or English when its file is gone; with "No_Language"
    // nothing happens.
    void LoadLastTranslation();
    // Applies the current language to every form on the screen, unless it was the last one
    // applied and ForceLoad is false.
    void LoadTranslation(bool ForceLoad);
    // Applies the current language to one form; a missing language file changes nothing.
    void LoadTranslation(toolkit::TForm* Form);

    // Writes the texts of every open form into FileName (merged into what the file holds unless
    // Overwrite), creating the language folder first.
    void SaveTranslation(const std::u16string& FileName, bool Overwrite);
    // Writes one form's texts into Ini and writes Ini to disk.
    void saveFormTranslation(toolkit::TForm* Form, TMemIniFile* Ini);

    // File name of the language last applied to all forms; empty until then.
    std::u16string LastLanguage;
    TTranslationLoadedEvent OnTranslationLoaded;
    std::u16string Authors;
    // Empty texts are left out of a saved language file.
    bool DontSaveEmpty = true;
    // Components driven by an action take their texts from it, so by default only the action is
    // translated.
    bool ParseCtrlsWithAction = false;

private:
    void ReadLastLanguage();
    void WriteLastLanguage();
    static platform::IFileSystem& Files();

    std::u16string FCurLanguage;
    TAppDataCore* FAppData;
    toolkit::TApplication& FApp;
};

} // namespace orvel
