#pragma once
// The application shell on the real system: the Win32 platform, the toolkit's Windows backend and
// one application, as a program's entry sets them up, and a main form whose window class is the
// single-instance name.
// First, so that no toolkit header is read while windows.h's A/W macros are defined.
#include "toolkit/win32/Win32Ui.Windows.h"

#include "framework/ui/OrvelVcl.Visual.AppData.h"
#include "framework/ui/OrvelVcl.Visual.AppDataForm.h"
#include "platform/win32/Win32.Platform.h"
#include "toolkit/Toolkit.Application.h"
#include "toolkit/win32/Win32Ui.Backend.h"

#include <string>

namespace orvel::win32test {

// The name the tests and their second process share, so that neither touches a real Tarvin's
// settings, registry entries or running copy.
inline constexpr char16_t TestAppName[] = u"TarvinShellTest";
inline constexpr char16_t TestWindowClass[] = u"TarvinShellTestWndClass";

struct TRealShell {
    platform::win32::TWin32Platform Platform; // on the user-interface thread
    platform::TServices Os = Platform.Services();
    toolkit::win32::TWin32Backend Backend;
    toolkit::TApplication App{Backend, Platform.MainThread};
};

// Registers its window under the single-instance class name, as the program's main window does.
class TShellMainForm : public TOrvelForm {
public:
    explicit TShellMainForm(toolkit::TComponent* AOwner) : TOrvelForm(AOwner) {
        SetName(u"MainForm");
        SetPosition(toolkit::TPosition::poDesigned);
        SetBounds(60, 60, 420, 300);
    }
    void CreateParams(toolkit::TCreateParams& Params) override {
        TOrvelForm::CreateParams(Params);
        AppData->SetSingleInstanceName(Params);
    }
};

} // namespace orvel::win32test
