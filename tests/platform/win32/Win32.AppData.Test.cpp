#include "framework/core/OrvelCore.AppData.h"
#include "platform/win32/Win32.Platform.h"
#include "platform/win32/Win32.Text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace orvel {
namespace {

// The identity is process-wide: each test establishes its own and forgets it at the end.
class Win32AppDataIdentity : public ::testing::Test {
protected:
    void TearDown() override { TAppDataCore::ClearIdentity(); }

    std::u16string ExeFolder() const {
        const std::u16string exe = Platform.Shell.ExecutablePath();
        return exe.substr(0, exe.rfind(u'\\') + 1);
    }
    std::u16string RoamingTarvin() const { return Platform.Shell.RoamingAppDataFolder() + u"\\Tarvin\\"; }

    platform::win32::TWin32Platform Platform;
    platform::TServices Services = Platform.Services();
};

// A "portable.marker" beside the executable for as long as the object lives.
class TPortableMarker {
public:
    TPortableMarker(platform::IFileSystem& files, std::u16string folder)
        : FFiles(files), FPath(std::move(folder) + u"portable.marker"),
          FMade(FFiles.WriteFileAtomic(FPath, "").Ok) {}
    ~TPortableMarker() {
        if (FMade)
            FFiles.RemoveFile(FPath);
    }
    TPortableMarker(const TPortableMarker&) = delete;
    TPortableMarker& operator=(const TPortableMarker&) = delete;

    bool Made() const { return FMade; }

private:
    platform::IFileSystem& FFiles;
    std::u16string FPath;
    bool FMade;
};

TEST_F(Win32AppDataIdentity, IniFileLiesInTheTarvinFolderOfTheRoamingAppData) {
    ASSERT_FALSE(Platform.Files.FileExists(ExeFolder() + u"portable.marker"));
    TAppDataCore::EstablishIdentity(u"Tarvin", Services);

    EXPECT_FALSE(TAppDataCore::Portable());
    EXPECT_EQ(TAppDataCore::AppFolder(), ExeFolder());
    EXPECT_EQ(TAppDataCore::AppDataFolder(false), RoamingTarvin());
    EXPECT_EQ(TAppDataCore::IniFile(), RoamingTarvin() + u"Tarvin.ini");
}

TEST_F(Win32AppDataIdentity, ForcedDataFolderIsCreatedOnTheRealDisk) {
    const std::u16string folder = RoamingTarvin();
    const bool existedBefore = Platform.Files.FolderExists(folder, true);
    TAppDataCore::EstablishIdentity(u"Tarvin", Services);

    EXPECT_EQ(TAppDataCore::AppDataFolder(true), folder);
    EXPECT_TRUE(Platform.Files.FolderExists(folder, true));

    if (!existedBefore)
        RemoveDirectoryW(platform::win32::AsWide(folder));
}

TEST_F(Win32AppDataIdentity, PortableMarkerBesideTheExecutableKeepsEverythingThere) {
    const bool roamingExisted = Platform.Files.FolderExists(RoamingTarvin(), true);
    const TPortableMarker marker(Platform.Files, ExeFolder());
    ASSERT_TRUE(marker.Made());
    TAppDataCore::EstablishIdentity(u"Tarvin", Services);

    EXPECT_TRUE(TAppDataCore::Portable());
    EXPECT_EQ(TAppDataCore::AppDataFolder(true), ExeFolder());
    EXPECT_EQ(TAppDataCore::IniFile(), ExeFolder() + u"Tarvin.ini");
    EXPECT_EQ(Platform.Files.FolderExists(RoamingTarvin(), true), roamingExisted);
}

} // namespace
} // namespace orvel
