#include "platform/win32/Win32.Handles.h"
#include "platform/win32/Win32.Platform.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace platform::win32 {
namespace {

using test::TScratchFolder;

// The names in the folder, to show that no temporary file stayed behind.
std::vector<std::wstring> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().wstring());
    return names;
}

bool IsSystemMessage(const std::u16string& message) {
    return !message.empty() && message.back() != u'\n' && message.back() != u'\r';
}

class Win32FileSystem : public ::testing::Test {
protected:
    TWin32FileSystem Files;
    TScratchFolder Scratch;
};

TEST_F(Win32FileSystem, AtomicWriteRoundTripsBytesUnderANonAsciiName) {
    const std::u16string path = Scratch / L"Ärger✳設定.ini";
    const char raw[] = "[Target]\r\nAcceptedClasses=\xE3\x82\xB3\0\xFF end";
    const std::string bytes(raw, sizeof raw - 1);

    const TFsResult written = Files.WriteFileAtomic(path, bytes);

    ASSERT_TRUE(written.Ok) << written.Code;
    EXPECT_EQ(Files.ReadFile(path), bytes);
    EXPECT_TRUE(Files.FileExists(path));
    EXPECT_EQ(NamesIn(Scratch.Path()), std::vector<std::wstring>{L"Ärger✳設定.ini"});
}

TEST_F(Win32FileSystem, AtomicWriteReplacesAnExistingFileWhole) {
    const std::u16string path = Scratch / L"settings.ini";
    ASSERT_TRUE(Files.WriteFileAtomic(path, std::string(10000, 'o')).Ok);

    ASSERT_TRUE(Files.WriteFileAtomic(path, "new").Ok);

    EXPECT_EQ(Files.ReadFile(path), "new");
    EXPECT_EQ(NamesIn(Scratch.Path()).size(), 1u);
}

TEST_F(Win32FileSystem, EmptyFileReadsAsEmptyBytesNotAsNothing) {
    const std::u16string path = Scratch / L"empty.ini";
    ASSERT_TRUE(Files.WriteFileAtomic(path, "").Ok);

    EXPECT_EQ(Files.ReadFile(path), std::string());
}

TEST_F(Win32FileSystem, AtomicWriteIntoAMissingFolderFailsAndLeavesNothing) {
    const std::u16string folder = Scratch / L"missing";
    const TFsResult result = Files.WriteFileAtomic(folder + u"\\file.ini", "bytes");

    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Code, static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(IsSystemMessage(result.Message));
    EXPECT_FALSE(Files.FolderExists(folder, true));
    EXPECT_TRUE(NamesIn(Scratch.Path()).empty());
}

TEST_F(Win32FileSystem, RefusedReplaceKeepsTheOldFileAndRemovesTheTemporary) {
    const std::u16string path = Scratch / L"locked.ini";
    ASSERT_TRUE(Files.WriteFileAtomic(path, "old contents").Ok);
    // Held open without FILE_SHARE_DELETE, the file cannot be replaced.
    const TKernelHandle holder(
        CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);

    const TFsResult result = Files.WriteFileAtomic(path, "new");

    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Code, 0u);
    EXPECT_TRUE(IsSystemMessage(result.Message));
    EXPECT_EQ(Files.ReadFile(path), "old contents");
    EXPECT_EQ(NamesIn(Scratch.Path()), std::vector<std::wstring>{L"locked.ini"});
}

TEST_F(Win32FileSystem, AtomicWriteOntoAFolderFailsAndLeavesTheFolder) {
    const std::u16string folder = Scratch / L"folder";
    ASSERT_TRUE(Files.CreateFolder(folder).Ok);

    const TFsResult result = Files.WriteFileAtomic(folder, "bytes");

    EXPECT_FALSE(result.Ok);
    EXPECT_TRUE(Files.FolderExists(folder, true));
    EXPECT_EQ(NamesIn(Scratch.Path()), std::vector<std::wstring>{L"folder"});
}

TEST_F(Win32FileSystem, CreateFolderCreatesOneFolderAndAcceptsAnExistingOne) {
    const std::u16string folder = Scratch / L"Daten✳";

    EXPECT_TRUE(Files.CreateFolder(folder).Ok);
    EXPECT_TRUE(Files.FolderExists(folder, false));
    const TFsResult again = Files.CreateFolder(folder);
    EXPECT_TRUE(again.Ok) << again.Code;
}

TEST_F(Win32FileSystem, CreateFolderFailsWithTheSystemsReason) {
    const std::u16string file = Scratch / L"taken";
    ASSERT_TRUE(Files.WriteFileAtomic(file, "x").Ok);
    struct TCase {
        const char* What;
        std::u16string Path;
        DWORD Code;
    };
    const TCase cases[] = {
        {"parent missing", Scratch / L"no\\such", ERROR_PATH_NOT_FOUND},
        {"a file has the name", file, ERROR_ALREADY_EXISTS},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TFsResult result = Files.CreateFolder(c.Path);
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.Code, static_cast<std::uint32_t>(c.Code));
        EXPECT_TRUE(IsSystemMessage(result.Message));
    }
    EXPECT_TRUE(Files.FileExists(file));
}

TEST_F(Win32FileSystem, ExistenceTellsFilesFromFolders) {
    const std::u16string file = Scratch / L"a.txt";
    const std::u16string folder = Scratch / L"sub";
    ASSERT_TRUE(Files.WriteFileAtomic(file, "a").Ok);
    ASSERT_TRUE(Files.CreateFolder(folder).Ok);

    EXPECT_TRUE(Files.FileExists(file));
    EXPECT_FALSE(Files.FileExists(folder));
    EXPECT_FALSE(Files.FileExists(Scratch / L"none.txt"));
    for (const bool follow : {true, false}) {
        SCOPED_TRACE(follow);
        EXPECT_TRUE(Files.FolderExists(folder, follow));
        EXPECT_TRUE(Files.FolderExists(folder + u"\\", follow));
        EXPECT_FALSE(Files.FolderExists(file, follow));
        EXPECT_FALSE(Files.FolderExists(Scratch / L"none", follow));
    }
}

TEST_F(Win32FileSystem, LinkedFolderCountsOnlyWhenFollowedAndWhileItsTargetExists) {
    const std::u16string target = Scratch / L"target";
    const std::u16string link = Scratch / L"link";
    ASSERT_TRUE(Files.CreateFolder(target).Ok);
    if (!CreateSymbolicLinkW(AsWide(link), AsWide(target),
                             SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
        GTEST_SKIP() << "this system makes no folder links (error " << GetLastError() << ")";
    // Some systems answer success without making the link.
    const DWORD made = GetFileAttributesW(AsWide(link));
    if (made == INVALID_FILE_ATTRIBUTES || (made & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        GTEST_SKIP() << "this system answered success but made no folder link";

    EXPECT_TRUE(Files.FolderExists(link, true));
    EXPECT_FALSE(Files.FolderExists(link, false));

    ASSERT_TRUE(RemoveDirectoryW(AsWide(target)));
    EXPECT_FALSE(Files.FolderExists(link, true));
}

TEST_F(Win32FileSystem, ReadFileGivesNothingForWhatIsNoReadableFile) {
    const std::u16string folder = Scratch / L"sub";
    ASSERT_TRUE(Files.CreateFolder(folder).Ok);

    EXPECT_EQ(Files.ReadFile(Scratch / L"none.txt"), std::nullopt);
    EXPECT_EQ(Files.ReadFile(folder), std::nullopt);
}

TEST_F(Win32FileSystem, RemoveFileDeletesAndReportsAMissingFile) {
    const std::u16string path = Scratch / L"gone.txt";
    ASSERT_TRUE(Files.WriteFileAtomic(path, "x").Ok);

    EXPECT_TRUE(Files.RemoveFile(path).Ok);
    EXPECT_FALSE(Files.FileExists(path));

    const TFsResult again = Files.RemoveFile(path);
    EXPECT_FALSE(again.Ok);
    EXPECT_EQ(again.Code, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(IsSystemMessage(again.Message));
}

// Windows would read such a name only up to the NUL and act on a different file.
TEST_F(Win32FileSystem, PathWithAnEmbeddedNulIsRefusedNotCutShort) {
    const std::u16string real = Scratch / L"real.ini";
    ASSERT_TRUE(Files.WriteFileAtomic(real, "keep").Ok);
    const std::u16string cut = real + std::u16string(1, u'\0') + u"evil";

    EXPECT_FALSE(Files.FileExists(cut));
    EXPECT_FALSE(Files.FolderExists(Scratch.Self() + std::u16string(1, u'\0'), true));
    EXPECT_EQ(Files.ReadFile(cut), std::nullopt);
    for (const TFsResult& result :
         {Files.WriteFileAtomic(cut, "overwritten"), Files.RemoveFile(cut), Files.CreateFolder(cut)}) {
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.Code, static_cast<std::uint32_t>(ERROR_INVALID_NAME));
    }
    EXPECT_EQ(Files.ReadFile(real), "keep");
}

} // namespace
} // namespace platform::win32
