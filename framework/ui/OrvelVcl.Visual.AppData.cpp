#include "framework/ui/OrvelVcl.Visual.AppData.h"

#include "framework/core/OrvelCore.Exceptions.h"
#include "framework/core/OrvelCore.ExeVersion.h"
#include "framework/ui/OrvelVcl.Common.Translate.h"

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
        LogVerb(u"Starting translator...");
        Translator = std::make_unique<TTranslator>(this, App);
        if (!RunningHome()) {
            Translator->LoadLastTranslation();
        }
    } catch (...) {
        // No destructor runs for a half-built object: the references must not outlive it.
        AppData = nullptr;
        AppDataCore = nullptr;
        throw;
    }
}

TAppData::~TAppData() {
    Translator.reset();
    if (AppData == this) {
        AppData = nullptr;
    }
    if (AppDataCore == this) {
        AppDataCore = nullptr;
    }
}

std::u16string TAppData::GetVersionInfoV() {
    return orvel::GetVersionInfoV(Services().Shell, Services().Versions);
}

} // namespace orvel
