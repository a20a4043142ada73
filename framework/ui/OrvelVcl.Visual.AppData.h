#pragma once
// TAppData: the application object, the visual half on top of the application data core. It
// holds the toolkit application and the form translator.
#include "framework/core/OrvelCore.AppData.h"
#include "platform/Platform.Services.h"
#include "toolkit/Toolkit.Application.h"

#include <memory>
#include <string>

namespace orvel {

class TTranslator;

// One per process, reached through AppData (and, as the core, through AppDataCore).
class TAppData : public TAppDataCore {
public:
    // A second object fails an assertion before the core is touched. Runs the core's start-up,
    // publishes the object in AppData and AppDataCore, then creates the translator and, except on
    // the developer's machine, applies the remembered language. Os and App must outlive the object.
    TAppData(const std::u16string& aAppName, const std::u16string& WindowClassName, bool MultiThreaded,
             platform::TServices& Os, toolkit::TApplication& App);
    // Frees the translator (which remembers the language) before the core saves its settings, and
    // clears AppData and AppDataCore.
    ~TAppData() override;

    toolkit::TApplication& Application() const { return FApplication; }

    // " v" and the running executable's version, as captions show it: " v2.1.0".
    static std::u16string GetVersionInfoV();

    std::unique_ptr<TTranslator> Translator;

private:
    // Fails the one-object assertion; returns aAppName so that it can run before the core's
    // constructor.
    static const std::u16string& RequireFirstObject(const std::u16string& aAppName);

    toolkit::TApplication& FApplication;
};

// The application object; nullptr before it is created and after it is freed.
extern TAppData* AppData;

} // namespace orvel
