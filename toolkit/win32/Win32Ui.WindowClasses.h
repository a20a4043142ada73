#pragma once
// The window classes of this backend, registered on first use and unregistered with the object.
// A form may ask for a class name of its own (a second copy of the program finds the first by it).
#include "toolkit/win32/Win32Ui.Windows.h"

#include <set>
#include <string>

namespace toolkit::win32 {

inline constexpr const wchar_t* FormClassName = L"TarvinToolkitForm";
inline constexpr const wchar_t* ControlClassName = L"TarvinToolkitControl";
inline constexpr const wchar_t* UtilityClassName = L"TarvinToolkitUtility";

class TWindowClasses {
public:
    TWindowClasses() = default;
    ~TWindowClasses();
    TWindowClasses(const TWindowClasses&) = delete;
    TWindowClasses& operator=(const TWindowClasses&) = delete;

    // Registers Name with ToolkitWindowProc unless done already; false when Windows refuses (the
    // name is taken by a class with another window procedure, or longer than 255 characters).
    bool Ensure(const std::wstring& Name);

private:
    std::set<std::wstring> FRegistered;
};

} // namespace toolkit::win32
