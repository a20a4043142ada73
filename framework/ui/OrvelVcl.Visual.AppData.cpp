#include "framework/ui/OrvelVcl.Visual.AppData.h"

#include "base/Base.Format.h"
#include "base/Base.Unicode.h"
#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.ExeVersion.h"
#include "framework/core/OrvelCore.IO.h"
#include "framework/core/OrvelCore.Win.Registry.h"
#include "framework/core/OrvelCore.WinVersion.h"
#include "framework/ui/OrvelVcl.Common.CenterControl.h"
#include "framework/ui/OrvelVcl.Common.LogViewer.h"
#include "framework/ui/OrvelVcl.Common.Translate.h"
#include "framework/ui/OrvelVcl.Visual.AppDataForm.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orvel {

TAppData* AppData = nullptr;

const std::u16string& TAppData::RequireFirstObject(const std::u16string& aAppName) {
    Assert(AppData == nullptr, u"AppData already created! Only one instance allowed (Singleton).");
    return aAppName;
}

TAppData::TAppData(const std::u16string& aAppName, const std::u16string& WindowClassName, bool MultiThreaded,
                   platform::TServices& Os, toolkit::TApplication& App)
    : TAppDataCore(RequireFirstObject(aAppName), WindowClassName, MultiThreaded, Os), FApplication(App) {
    AppDataCore = this;
    AppData = this;
    try {
        SetUpApplication(aAppName);
        LogVerb(u"Starting translator...");
        Translator = std::make_unique<TTranslator>(this, App);
        if (!RunningHome()) {
            Translator->LoadLastTranslation();
        }
        LogVerb(AppName() + GetVersionInfoV() + u" started.");
    } catch (...) {
        // No destructor runs for a half-built object: the references must not outlive it.
        AppData = nullptr;
        AppDataCore = nullptr;
        throw;
    }
}

void TAppData::SetUpApplication(const std::u16string& aAppName) {
    // The core loaded its settings before this class's overrides existed; they apply them to the
    // application now.
    SetHintType(HintType());
    SetHideHint(HideHint());
    FApplication.SetTitle(aAppName);
    FApplication.SetHintColor(AppHintColor);
    FApplication.SetHintShortPause(AppHintShortPause);
    FApplication.SetUpdateFormatSettings(false);
    FApplication.DefaultFont().SetName(DefaultFontName);
    FApplication.DefaultFont().SetSize(DefaultFontSize);
    FApplication.SetShowHint(true);
}

TAppData::~TAppData() {
    if (AppData == this) {
        SaveFormsBeforeExit();
    }
    FreeLogWindow();
    Translator.reset();
    FFontForm = nullptr;
    FInstanceMutex.reset();
    if (AppData == this) {
        AppData = nullptr;
    }
    if (AppDataCore == this) {
        AppDataCore = nullptr;
    }
}

void TAppData::SaveFormsBeforeExit() {
    const std::vector<toolkit::TForm*> forms = FApplication.Screen().Forms();
    for (auto form = forms.rbegin(); form != forms.rend(); ++form) {
        auto* orvelForm = dynamic_cast<TOrvelForm*>(*form);
        if (orvelForm == nullptr) {
            continue;
        }
        try {
            orvelForm->saveBeforeExit();
        } catch (const std::exception& Error) {
            LogError(u"TAppData.Destroy: saveBeforeExit failed for " + orvelForm->Name() + u" (" +
                     orvelForm->ClassName() + u"): " + base::ExceptionClassName(Error) + u" - " +
                     base::ExceptionMessage(Error));
        }
    }
}

// The log window's last act is to save its options; a refused write there must not escape a
// destructor, so it is reported the way every late failure is: to the debug output.
void TAppData::FreeLogWindow() {
    TfrmRamLog* window = std::exchange(FFormLog, nullptr);
    if (window == nullptr) {
        return;
    }
    try {
        window->Free();
    } catch (const std::exception& Error) {
        Os().Debug.WriteDebugString(u"TAppData: the log window's options were not saved: " +
                                    base::ExceptionMessage(Error));
    }
}

// --- settings applied to the application ---

void TAppData::SetHideHint(std::int32_t Value) {
    TAppDataCore::SetHideHint(Value);
    FApplication.SetHintHidePause(Value);
}

void TAppData::SetHintType(THintType Value) {
    TAppDataCore::SetHintType(Value);
    FApplication.SetShowHint(Value != htOff);
}

void TAppData::Minimize() {
    FApplication.Minimize();
    StartMinim = true;
}

// --- forms ---

void TAppData::BeginMainForm() {
    Assert(FApplication.MainForm() == nullptr, u"MainForm already exists!");
    Assert(FFont == nullptr, u"AppData.Font already assigned!");
    FormLog();
}

void TAppData::FinishMainForm(toolkit::TForm* Form, TAutoState AutoState) {
    auto* orvelForm = dynamic_cast<TOrvelForm*>(Form);
    if (orvelForm != nullptr) {
        orvelForm->SetAutoState(AutoState);
        if (AutoState != asNone) {
            orvelForm->LoadForm();
        }
    }
    ApplyAppearance(Form);
    if (StartMinim) {
        FApplication.Minimize();
    } else if (FApplication.ShowMainForm()) {
        Form->Show();
    }
    if (orvelForm != nullptr) {
        orvelForm->MainFormCaption(u"");
        orvelForm->SchedulePostInitialize();
    }
    if (RunningFirstTime()) {
        RegisterFirstRun();
    }
}

void TAppData::RequireMainForm() const {
    if (FApplication.MainForm() == nullptr) {
        throw EOrvelException(u"Probably you forgot to create the main form with AppData.CreateMainForm!");
    }
}

void TAppData::FinishForm(toolkit::TForm* Form, bool Show, TAutoState AutoState, toolkit::TComponent* Owner,
                          bool Parented) {
    if (Owner != nullptr && Parented) {
        auto* container = dynamic_cast<toolkit::TControl*>(Owner);
        Assert(container != nullptr, u"TAppData.CreateForm: a parented form needs a control as its owner");
        Form->SetParent(container);
        CenterChild(Form, container);
    }
    ApplyAppearance(Form);
    auto* orvelForm = dynamic_cast<TOrvelForm*>(Form);
    if (orvelForm != nullptr) {
        orvelForm->SetAutoState(AutoState);
        if (AutoState != asNone) {
            orvelForm->LoadForm();
        }
    }
    if (Show) {
        Form->Show();
    }
    if (orvelForm != nullptr) {
        orvelForm->FormPostInitialize();
    }
    if (Translator != nullptr) {
        Translator->LoadTranslation(Form);
    }
}

TfrmRamLog* TAppData::FormLog() {
    Assert(RamLog != nullptr, u"RamLog not created!");
    if (FFormLog != nullptr) {
        FFormLog->Show();
        return FFormLog;
    }
    FFormLog = CreateForm<TfrmRamLog>(false, asPosOnly, nullptr, false, FApplication.MainForm() == nullptr);
    Assert(FFormLog->Log != nullptr, u"Sanity check! The Log window has no log viewer!");
    Assert(FApplication.MainForm() != FFormLog, u"Sanity check! The Log should not be the MainForm!");
    FFormLog->Log->AssignExternalRamLog(RamLog.get());
    if (toolkit::TForm* mainForm = FApplication.MainForm()) {
        FFormLog->Font().Assign(mainForm->Font());
    }
    return FFormLog;
}

void TAppData::SetFont(toolkit::TFont* Value) {
    const bool hadFont = FFont != nullptr;
    FFont = Value;
    // The font lives in the main form; losing the form must not leave a dangling font.
    FFontForm = Value != nullptr ? FApplication.MainForm() : nullptr;
    if (!hadFont || Value == nullptr) {
        return;
    }
    for (toolkit::TForm* form : FApplication.Screen().Forms()) {
        if (&form->Font() != Value) {
            form->Font().Assign(*Value);
        }
    }
}

void TAppData::ApplyAppearance(toolkit::TForm* Form) {
    const bool isMainForm = FApplication.MainForm() == Form;
    if (auto* orvelForm = dynamic_cast<TOrvelForm*>(Form); orvelForm != nullptr && isMainForm) {
        orvelForm->MainFormCaption(u"Initializing form " + Form->Name());
    }
    Form->SetShowHint(HintType() != htOff);
    Form->SetParentFont(true);
    if (isMainForm) {
        SetFont(&Form->Font());
    } else if (FFont != nullptr) {
        Form->Font().Assign(*FFont);
    }
    if (IsWindows8Up(Os().Versions)) {
        Form->SetSnapBuffer(Windows8SnapBuffer);
    }
    // A hand-edited INI file may hold anything; the window gets a value it can show.
    const std::uint8_t opacity = ClampedOpacity(Opacity);
    Form->SetAlphaBlendValue(opacity);
    Form->SetAlphaBlend(opacity < 255);
}

void TAppData::Run() {
    if (StartMinim) {
        Minimize();
    }
    FApplication.Run();
}

// --- single instance ---

void TAppData::SetSingleInstanceName(toolkit::TCreateParams& Params) const {
    Params.WinClassName = SingleInstClassName().substr(0, 255);
}

std::u16string TAppData::InstanceMutexName(const std::u16string& ClassName) {
    std::u16string name = ClassName + u".SingleInstance";
    std::replace(name.begin(), name.end(), u'\\', u'_');
    return name;
}

bool TAppData::InstanceRunning() {
    if (FInstanceMutex == nullptr) {
        platform::TMutexClaim claim = Os().Mutexes.Claim(InstanceMutexName(SingleInstClassName()));
        switch (claim.State) {
        case platform::TMutexClaimState::Acquired:
            FInstanceMutex = std::move(claim.Hold);
            break;
        case platform::TMutexClaimState::HeldElsewhere:
            return true;
        case platform::TMutexClaimState::Failed:
            // Without the mutex the window search below still finds a copy that is up.
            LogWarn(base::Format(u"The single-instance mutex could not be created (system error {0}).", claim.Code));
            break;
        }
    }
    return Os().WindowControl.FindTopLevelWindow(SingleInstClassName()) != 0;
}

// --- start-up entry ---

bool TAppData::RunFileAtStartUp(const std::u16string& FilePath, bool Active) {
    const std::u16string name = FileNameWithoutExt(FilePath);
    // An empty name would be the Run key's default value, which belongs to nobody.
    if (name.empty()) {
        return false;
    }
    try {
        std::unique_ptr<platform::IRegistryKey> key =
            Os().Registry.OpenForWrite(platform::TRegistryRoot::CurrentUser, RunKey, true);
        if (key == nullptr) {
            return false;
        }
        const platform::TRegistryResult result =
            Active ? key->WriteString(name, u"\"" + FilePath + u"\"") : key->DeleteValue(name);
        return result.Ok;
    } catch (const std::exception&) {
        return false;
    }
}

bool TAppData::RunSelfAtStartUp(bool Active) {
    return RunFileAtStartUp(Os().Shell.ExecutablePath(), Active);
}

// The uninstall entry names an uninstaller; this program is a single executable and ships none,
// so the entry is written only where one lies beside the executable. An entry whose uninstall
// cannot run would sit in Windows' list of apps and fail every time the user picks it.
void TAppData::RegisterFirstRun() {
    const auto root = platform::TRegistryRoot::CurrentUser;
    platform::IRegistry& registry = Os().Registry;
    const std::u16string appFolder = AppFolder();
    try {
        if (Os().Files.FileExists(appFolder + UninstallerName)) {
            const std::u16string uninstall = UninstallKey + AppName();
            static_cast<void>(
                RegistryWriteString(registry, root, uninstall, u"DisplayName", true, AppName()));
            static_cast<void>(RegistryWriteString(registry, root, uninstall, u"UninstallString", true,
                                                  appFolder + UninstallerName));
        }
        const std::u16string maker = MakerKey + AppName();
        static_cast<void>(
            RegistryWriteString(registry, root, maker, u"App data path", true, AppDataFolder(false)));
        static_cast<void>(RegistryWriteString(registry, root, maker, u"Install path", true, appFolder));
    } catch (const ERegistryError& Error) {
        // A refused registry write must not stop the first start of the program.
        LogWarn(u"First-run registration failed: " + Error.Message());
    }
}

// --- version texts ---

std::u16string TAppData::GetVersionInfo(bool ShowBuildNo) {
    return orvel::GetVersionInfo(Services().Shell, Services().Versions, ShowBuildNo);
}

std::u16string TAppData::GetVersionInfoV() {
    return orvel::GetVersionInfoV(Services().Shell, Services().Versions);
}

} // namespace orvel
