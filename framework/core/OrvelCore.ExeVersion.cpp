#include "framework/core/OrvelCore.ExeVersion.h"

#include "base/Base.Format.h"
#include "framework/core/OrvelCore.Exceptions.h"

namespace orvel {

TExeVersion VersionFromWords(const platform::TFileVersionWords& Words) {
    return TExeVersion{
        static_cast<std::uint16_t>(Words.Ms >> 16), static_cast<std::uint16_t>(Words.Ms & 0xFFFFu),
        static_cast<std::uint16_t>(Words.Ls >> 16), static_cast<std::uint16_t>(Words.Ls & 0xFFFFu)};
}

bool GetVersionInfoFile(const platform::IVersionInfo& Versions, const std::u16string& FileName,
                        TExeVersion& Version) {
    if (FileName.empty())
        throw EOrvelException(u"GetVersionInfoFile: FileName parameter cannot be empty");
    Version = {};
    const auto words = Versions.FileVersion(FileName);
    if (!words)
        return false;
    Version = VersionFromWords(*words);
    return true;
}

std::u16string VersionText(const TExeVersion& Version, bool Found, bool ShowBuildNo) {
    if (!Found)
        return u"N/A";
    if (ShowBuildNo)
        return base::Format(u"{0}.{1}.{2}.{3}", Version.Major, Version.Minor, Version.Release, Version.Build);
    return base::Format(u"{0}.{1}.{2}", Version.Major, Version.Minor, Version.Release);
}

std::u16string GetVersionInfo(const platform::IShell& Shell, const platform::IVersionInfo& Versions,
                              bool ShowBuildNo) {
    const std::u16string path = Shell.ExecutablePath();
    TExeVersion version;
    const bool found = !path.empty() && GetVersionInfoFile(Versions, path, version);
    return VersionText(version, found, ShowBuildNo);
}

std::u16string GetVersionInfoV(const platform::IShell& Shell, const platform::IVersionInfo& Versions) {
    return u" v" + GetVersionInfo(Shell, Versions, false);
}

} // namespace orvel
