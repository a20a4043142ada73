#pragma once
// The version numbers of an executable's version resource, and the version texts shown in
// captions, the About box and the log.
#include "platform/Platform.Shell.h"
#include "platform/Platform.VersionInfo.h"

#include <cstdint>
#include <string>

namespace orvel {

struct TExeVersion {
    std::uint16_t Major = 0;
    std::uint16_t Minor = 0;
    std::uint16_t Release = 0;
    std::uint16_t Build = 0;
    friend bool operator==(const TExeVersion&, const TExeVersion&) = default;
};

// The four numbers packed in the two file-version words: major and minor in the high and low half
// of the most significant word, release and build in those of the least significant one.
TExeVersion VersionFromWords(const platform::TFileVersionWords& Words);

// Reads FileName's file version into Version; true when the file has one. Version is all zeros
// whenever the answer is false. An empty FileName raises EOrvelException.
bool GetVersionInfoFile(const platform::IVersionInfo& Versions, const std::u16string& FileName,
                        TExeVersion& Version);

// "major.minor.release", with ".build" when ShowBuildNo; "N/A" when the numbers were not found.
std::u16string VersionText(const TExeVersion& Version, bool Found, bool ShowBuildNo);

// VersionText of the running executable. An executable whose path the system cannot tell has no
// readable version either, so that gives "N/A" too rather than an error.
std::u16string GetVersionInfo(const platform::IShell& Shell, const platform::IVersionInfo& Versions,
                              bool ShowBuildNo);

// " v" followed by GetVersionInfo without the build number, as captions append it: " v1.4.0".
std::u16string GetVersionInfoV(const platform::IShell& Shell, const platform::IVersionInfo& Versions);

} // namespace orvel
