#include "framework/core/OrvelCore.IO.h"

#include "base/Base.Unicode.h"
#include "platform/sim/Sim.FileSystem.h"
#include "tests/Test.Support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace orvel {
namespace {

using ::testing::HasSubstr;

struct TPathCase {
    std::u16string Path;
    std::u16string Expected;
};

TEST(WithTrailingDelimiter, AddsOneBackslashUnlessPresentAndKeepsEmptyEmpty) {
    const std::vector<TPathCase> cases = {
        {u"", u""},
        {u"C:", u"C:\\"},
        {u"C:\\", u"C:\\"},
        {u"C:\\Data", u"C:\\Data\\"},
        {u"C:\\Data\\", u"C:\\Data\\"},
        {u"\\\\server\\share", u"\\\\server\\share\\"},
        {u"relative", u"relative\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Path));
        EXPECT_EQ(WithTrailingDelimiter(c.Path), c.Expected);
    }
}

TEST(IsValidPath, AcceptsWindowsPathsAndRefusesForbiddenCharacters) {
    const std::vector<std::pair<std::u16string, bool>> cases = {
        {u"", false},
        {u"C:\\Data\\app.ini", true},
        {u"relative\\path.txt", true},
        {u"\\\\server\\share\\x", true},
        {u"\\\\?\\C:\\very\\long", true},
        {u"C:\\Users\\J\u00F6rg \u20AC\\x", true},
        {u"C:\\a*b", false},
        {u"C:\\a?b", false},
        {u"C:\\x\\\\?\\y", false}, // the extended prefix counts only at the start
        {u"C:\\a\"b", false},
        {u"C:\\a<b", false},
        {u"C:\\a>b", false},
        {u"C:\\a|b", false},
        {u"C:\\a\tb", false},
        {u"C:\\a\x1F"
         u"b",
         false},
        {std::u16string(u"C:\\a\0b", 6), false},
    };
    for (const auto& [path, valid] : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(path));
        EXPECT_EQ(IsValidPath(path), valid);
    }
}

TEST(ExtractFolder, GivesEverythingUpToTheLastBackslash) {
    const std::vector<TPathCase> cases = {
        {u"C:\\Data\\app.ini", u"C:\\Data\\"},
        {u"C:\\app.ini", u"C:\\"},
        {u"app.ini", u""},
        {u"C:\\Data\\", u"C:\\Data\\"},
        {u"\\app.ini", u"\\"},
        {u"\\\\server\\share\\f.txt", u"\\\\server\\share\\"},
        {u"\\\\?\\C:\\x\\y.txt", u"\\\\?\\C:\\x\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Path));
        EXPECT_EQ(ExtractFolder(c.Path, false), c.Expected);
        EXPECT_EQ(ExtractFolder(c.Path, true), c.Expected);
    }
}

TEST(ExtractFolder, AcceptsPathsLongerThan260Characters) {
    const std::u16string folder = u"C:\\" + std::u16string(300, u'a') + u"\\";
    EXPECT_EQ(ExtractFolder(folder + u"file.txt", false), folder);
}

TEST(ExtractFolder, EmptyOrInvalidPathRaisesUnlessSilent) {
    for (const std::u16string path : {u"", u"C:\\a*b.txt", u"C:\\a|b\\c"}) {
        SCOPED_TRACE(base::Utf16ToUtf8(path));
        EXPECT_EQ(ExtractFolder(path, true), u"");
        EXPECT_THROW_MSG(ExtractFolder(path, false), EInvalidPath, u"The path is invalid!\r\n" + path);
    }
}

TEST(FileNameWithoutExt, DropsFolderAndLastExtension) {
    const std::vector<TPathCase> cases = {
        {u"C:\\Tools\\Tarvin.exe", u"Tarvin"},
        {u"archive.tar.gz", u"archive.tar"},
        {u"C:\\x\\.bashrc", u""},
        {u"C:\\my.dir\\file", u"file"},
        {u"C:file.txt", u"file"},
        {u"noext", u"noext"},
        {u"name.", u"name"},
        {u"C:\\dir\\", u""},
        {u"\\\\?\\C:\\x\\y.txt", u"y"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Path));
        EXPECT_EQ(FileNameWithoutExt(c.Path), c.Expected);
    }
}

TEST(DocumentsFolder, GivesShellFolderWithBackslashOrEmpty) {
    platform::sim::TSimFileSystem files;
    EXPECT_EQ(DocumentsFolder(files), u"C:\\Users\\dev\\Documents\\");
    files.SetDocumentsFolder(u"");
    EXPECT_EQ(DocumentsFolder(files), u"");
}

class FolderOnSim : public ::testing::Test {
protected:
    platform::sim::TSimFileSystem Files;
};

TEST_F(FolderOnSim, FolderExistsStrictRefusesNamesEndingInBlank) {
    const std::u16string docs = u"C:\\Users\\dev\\Documents";
    ASSERT_TRUE(Files.FolderExists(docs + u" ", true)); // Windows itself drops the blank
    const std::vector<std::pair<std::u16string, bool>> cases = {
        {docs, true},           {docs + u"\\", true},    {u"C:\\", true}, {docs + u" ", false},
        {docs + u" \\", false}, {u"C:\\Missing", false}, {u"", false},
    };
    for (const auto& [dir, exists] : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(dir));
        EXPECT_EQ(FolderExistsStrict(Files, dir), exists);
    }
}

TEST_F(FolderOnSim, FolderExistsStrictFollowsLinksByDefault) {
    Files.AddFolderLink(u"C:\\Live", u"C:\\Users\\dev\\Documents");
    Files.AddFolderLink(u"C:\\Dangling", u"C:\\Gone");
    EXPECT_TRUE(FolderExistsStrict(Files, u"C:\\Live"));
    EXPECT_FALSE(FolderExistsStrict(Files, u"C:\\Dangling"));
}

TEST_F(FolderOnSim, ForceFolderCreatesMissingParents) {
    EXPECT_TRUE(ForceFolder(Files, u"C:\\A\\B\\C"));
    EXPECT_TRUE(Files.FolderExists(u"C:\\A", true));
    EXPECT_TRUE(Files.FolderExists(u"C:\\A\\B", true));
    EXPECT_TRUE(Files.FolderExists(u"C:\\A\\B\\C", true));
    EXPECT_TRUE(ForceFolder(Files, u"C:\\A\\B\\C\\")); // already there
}

TEST_F(FolderOnSim, ForceFolderAnswersFalseWithoutRaising) {
    Files.DenyWritesUnder(u"C:\\Locked");
    const std::vector<std::u16string> dirs = {u"", u"C:\\Locked\\Sub", u"Q:\\NoDrive\\Sub", u"C:\\a|b"};
    for (const auto& dir : dirs) {
        SCOPED_TRACE(base::Utf16ToUtf8(dir));
        EXPECT_FALSE(ForceFolder(Files, dir));
    }
    EXPECT_FALSE(Files.FolderExists(u"C:\\Locked", true));
}

TEST_F(FolderOnSim, CreateFolderTreeCreatesMissingParentsIncludingLongPaths) {
    CreateFolderTree(Files, u"C:\\Data\\Logs\\2024");
    EXPECT_TRUE(Files.FolderExists(u"C:\\Data\\Logs\\2024", true));
    EXPECT_NO_THROW(CreateFolderTree(Files, u"C:\\Data\\Logs\\2024\\")); // already there

    const std::u16string deep = u"C:\\" + std::u16string(200, u'd') + u"\\" + std::u16string(200, u'e');
    CreateFolderTree(Files, deep);
    EXPECT_TRUE(Files.FolderExists(deep, true));
}

TEST_F(FolderOnSim, CreateFolderTreeRaisesForInvalidPath) {
    for (const std::u16string dir : {u"", u"C:\\a<b"}) {
        SCOPED_TRACE(base::Utf16ToUtf8(dir));
        EXPECT_THROW_MSG(CreateFolderTree(Files, dir), EInvalidPath, u"The path is invalid!\r\n" + dir);
    }
}

TEST_F(FolderOnSim, CreateFolderTreeRaisesWithSystemMessageWhenRefused) {
    Files.DenyWritesUnder(u"C:\\Locked");
    Files.AddFile(u"C:\\Data\\plain.txt", "x");
    struct TCase {
        std::u16string Dir;
        std::string MessagePart;
    };
    const std::vector<TCase> cases = {
        {u"C:\\Locked\\Sub", "Access is denied."},
        {u"C:\\Locked\\Sub", "C:\\Locked"},
        {u"C:\\Data\\plain.txt\\Sub", "Cannot create a file when that file already exists."},
        {u"Q:\\NoDrive\\Sub", "Q:\\"},
        {u"\\\\server\\share\\Sub", "\\\\server\\share\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Dir));
        EXPECT_THROW_MSG_THAT(CreateFolderTree(Files, c.Dir), EFCreateError, HasSubstr(c.MessagePart));
    }
    EXPECT_FALSE(Files.FolderExists(u"Q:\\NoDrive", true));
}

// Records which folders are created, matching paths exactly, to show how each kind of root is
// split from the folders below it.
class TRecordingFiles final : public platform::IFileSystem {
public:
    explicit TRecordingFiles(std::set<std::u16string> existing) : FExisting(std::move(existing)) {}
    std::vector<std::u16string> Created;

    bool FileExists(const std::u16string&) const override { return false; }
    bool FolderExists(const std::u16string& path, bool) const override { return FExisting.contains(path); }
    platform::TFsResult CreateFolder(const std::u16string& path) override {
        Created.push_back(path);
        FExisting.insert(path);
        return platform::TFsResult::Success();
    }
    std::optional<std::string> ReadFile(const std::u16string&) const override { return std::nullopt; }
    platform::TFsResult WriteFileAtomic(const std::u16string&, std::string_view) override { return {}; }
    platform::TFsResult RemoveFile(const std::u16string&) override { return {}; }

private:
    std::set<std::u16string> FExisting;
};

TEST(CreateFolderTree, CreatesOnlyFoldersBelowTheRootOfEachPathKind) {
    struct TCase {
        std::u16string Dir;
        std::u16string Root;
        std::vector<std::u16string> Created;
    };
    const std::vector<TCase> cases = {
        {u"C:\\A\\B", u"C:\\", {u"C:\\A", u"C:\\A\\B"}},
        {u"C:\\A\\\\B\\", u"C:\\", {u"C:\\A", u"C:\\A\\B"}},
        {u"\\\\srv\\sh\\A\\B", u"\\\\srv\\sh\\", {u"\\\\srv\\sh\\A", u"\\\\srv\\sh\\A\\B"}},
        {u"\\\\?\\C:\\A\\B", u"\\\\?\\C:\\", {u"\\\\?\\C:\\A", u"\\\\?\\C:\\A\\B"}},
        {u"\\\\?\\UNC\\srv\\sh\\A", u"\\\\?\\UNC\\srv\\sh\\", {u"\\\\?\\UNC\\srv\\sh\\A"}},
        {u"C:\\", u"C:\\", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(base::Utf16ToUtf8(c.Dir));
        TRecordingFiles files({c.Root});
        CreateFolderTree(files, c.Dir);
        EXPECT_EQ(files.Created, c.Created);
    }
}

TEST(CreateFolderTree, SkipsFoldersThatExist) {
    TRecordingFiles files({u"C:\\", u"C:\\A"});
    CreateFolderTree(files, u"C:\\A\\B");
    EXPECT_EQ(files.Created, std::vector<std::u16string>{u"C:\\A\\B"});
}

} // namespace
} // namespace orvel
