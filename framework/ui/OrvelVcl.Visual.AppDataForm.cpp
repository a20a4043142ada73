#include "framework/ui/OrvelVcl.Visual.AppDataForm.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/ui/OrvelVcl.Common.CenterControl.h"
#include "framework/ui/OrvelVcl.Common.Translate.h"
#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "framework/ui/OrvelVcl.Visual.INIFile.h"
#include "toolkit/Toolkit.Application.h"

namespace orvel {

TOrvelForm::TOrvelForm(toolkit::TComponent* AOwner, TAutoState AutoSaveForm)
    : toolkit::TForm(AOwner), FAutoSaveForm(AutoSaveForm) {
    SetScreenSnap(true);
    SetPosition(toolkit::TPosition::poDesigned);
    SetShowHint(true);
}

void TOrvelForm::Loaded() {
    toolkit::TForm::Loaded();
    // The main form is being built before the application has one, so it never gets here.
    const toolkit::TForm* mainForm = Application().MainForm();
    if (mainForm != nullptr && mainForm != this) {
        CenterFormOnMainFormMonitor(this);
    }
}

void TOrvelForm::SchedulePostInitialize() {
    Application().Queue([this] { RunPostInitialize(); }, this);
}

void TOrvelForm::RunPostInitialize() {
    if (FPostInitDone) {
        return;
    }
    FPostInitDone = true;
    if (Application().MainForm() == this) {
        TAppDataCore::EndInitialization();
    }
    FormPostInitialize();
    if (AppData != nullptr && AppData->Translator != nullptr) {
        AppData->Translator->LoadTranslation(this);
    }
}

void TOrvelForm::saveBeforeExit() {
    if (FFormSaved || FSavingInProgress || TAppDataCore::Initializing()) {
        return;
    }
    FSavingInProgress = true;
    try {
        FormPreRelease();
        if (FAutoSaveForm > asNone) {
            SaveForm();
        }
    } catch (...) {
        FFormSaved = true;
        throw;
    }
    FFormSaved = true;
}

void TOrvelForm::SaveForm() {
    TIniFileVCL ini(Name(), u"");
    try {
        ini.SaveForm(this, FAutoSaveForm);
    } catch (const EIniFileException&) {
        if (AppData != nullptr) {
            TAppDataCore::LogWarn(u"Cannot save INI file: " + ini.FileName());
        }
    }
}

void TOrvelForm::LoadForm() {
    {
        TIniFileVCL ini(Name(), u"");
        try {
            ini.LoadForm(this, FAutoSaveForm);
        } catch (const EIniFileException&) {
            if (AppData != nullptr) {
                TAppDataCore::LogWarn(u"Cannot load INI file: " + ini.FileName());
            }
        }
    }
    CorrectFormPositionDesktop(this);
}

void TOrvelForm::MainFormCaption(const std::u16string& Caption) {
    toolkit::TForm* mainForm = Application().MainForm();
    Assert(mainForm != nullptr, u"MainFormCaption called before the main form exists!");
    std::u16string text = TAppDataCore::AppName() + u" " + TAppData::GetVersionInfoV();
    if (!Caption.empty()) {
        text += u" - " + Caption;
    }
    mainForm->SetCaption(text);
}

bool TOrvelForm::CloseQuery() {
    if (!toolkit::TForm::CloseQuery()) {
        return false;
    }
    saveBeforeExit();
    return true;
}

void TOrvelForm::DoClose(toolkit::TCloseAction& Action) {
    toolkit::TForm::DoClose(Action);
    if (Action == toolkit::TCloseAction::caFree) {
        saveBeforeExit();
    }
}

void TOrvelForm::DoDestroy() {
    Application().RemoveQueued(this);
    saveBeforeExit();
    toolkit::TForm::DoDestroy();
}

void TOrvelForm::Dispatch(toolkit::TMessage& Msg) {
    if (Msg.Msg == WM_POST_INITIALIZE) {
        RunPostInitialize();
        return;
    }
    if (Msg.Msg == toolkit::msgEndSession && Msg.WParam != 0) {
        saveBeforeExit();
    }
    toolkit::TForm::Dispatch(Msg);
}

} // namespace orvel
