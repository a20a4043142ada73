#include "platform/sim/Sim.FileSystem.h"

#include <gtest/gtest.h>

namespace platform::sim {
namespace {

TEST(SimFileSystem, NamesFollowWindowsRules) {
    TSimFileSystem fs;
    fs.AddFile(u"C:\\Data\\App.ini", "x");
    struct Case {
        std::u16string Path;
        bool File;
        bool Folder;
    };
    const Case cases[] = {
        {u"C:\\Data\\App.ini", true, false},
        {u"c:\\DATA\\app.INI", true, false},
        {u"C:/Data/App.ini", true, false},
        {u"C:\\Data", false, true},
        {u"C:\\Data\\", false, true},
        {u"C:\\Data ", false, true}, // the parser drops trailing blanks; callers that care must check
        {u"C:\\", false, true},
        {u"D:\\", false, false},
        {u"C:\\Dat", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Path.begin(), c.Path.end()));
        EXPECT_EQ(fs.FileExists(c.Path), c.File);
        EXPECT_EQ(fs.FolderExists(c.Path, true), c.Folder);
    }
}

TEST(SimFileSystem, CreateFolderNeedsItsParentAndRespectsDeniedFolders) {
    TSimFileSystem fs;
    EXPECT_TRUE(fs.CreateFolder(u"C:\\New").Ok);
    EXPECT_TRUE(fs.CreateFolder(u"C:\\New").Ok) << "an existing folder is success";

    const auto orphan = fs.CreateFolder(u"C:\\Missing\\Child");
    EXPECT_FALSE(orphan.Ok);
    EXPECT_EQ(orphan.Code, 3u);
    EXPECT_FALSE(orphan.Message.empty());

    EXPECT_EQ(fs.CreateFolder(u"Q:\\Nowhere").Code, 3u) << "a drive that does not exist";

    fs.DenyWritesUnder(u"C:\\Locked");
    fs.AddFolder(u"C:\\Locked");
    EXPECT_EQ(fs.CreateFolder(u"C:\\Locked\\Sub").Code, 5u);

    fs.AddFile(u"C:\\New\\Taken", "");
    EXPECT_EQ(fs.CreateFolder(u"C:\\New\\Taken").Code, 183u);
}

TEST(SimFileSystem, WritesReplaceWholeFilesAndRefusedOnesChangeNothing) {
    TSimFileSystem fs;
    fs.AddFolder(u"C:\\Cfg");
    ASSERT_TRUE(fs.WriteFileAtomic(u"C:\\Cfg\\a.ini", "first version, long").Ok);
    ASSERT_TRUE(fs.WriteFileAtomic(u"C:\\Cfg\\a.ini", "second").Ok);
    EXPECT_EQ(fs.Contents(u"C:\\Cfg\\a.ini"), "second");
    EXPECT_EQ(fs.WriteCount(), 2u);

    fs.DenyWritesUnder(u"C:\\Cfg");
    const auto refused = fs.WriteFileAtomic(u"C:\\Cfg\\a.ini", "third");
    EXPECT_FALSE(refused.Ok);
    EXPECT_EQ(refused.Code, 5u);
    EXPECT_EQ(fs.Contents(u"C:\\Cfg\\a.ini"), "second");

    EXPECT_EQ(fs.WriteFileAtomic(u"C:\\NoSuch\\b.ini", "x").Code, 3u);
    EXPECT_FALSE(fs.FileExists(u"C:\\NoSuch\\b.ini"));
}

TEST(SimFileSystem, SymbolicLinksCountAsFoldersOnlyWhenAskedNotToFollowOrWhenTheTargetExists) {
    TSimFileSystem fs;
    fs.AddFolder(u"C:\\Target");
    fs.AddFolderLink(u"C:\\Good", u"C:\\Target");
    fs.AddFolderLink(u"C:\\Broken", u"C:\\Gone");
    EXPECT_TRUE(fs.FolderExists(u"C:\\Good", true));
    EXPECT_TRUE(fs.FolderExists(u"C:\\Good", false));
    EXPECT_FALSE(fs.FolderExists(u"C:\\Broken", true));
    EXPECT_TRUE(fs.FolderExists(u"C:\\Broken", false));
}

TEST(SimFileSystem, RemovingAFolderTakesItsContents) {
    TSimFileSystem fs;
    fs.AddFile(u"C:\\Tree\\Sub\\f.txt", "x");
    fs.RemoveFolder(u"C:\\Tree");
    EXPECT_FALSE(fs.FolderExists(u"C:\\Tree\\Sub", true));
    EXPECT_FALSE(fs.FileExists(u"C:\\Tree\\Sub\\f.txt"));
    EXPECT_TRUE(fs.FolderExists(u"C:\\", true));
}

TEST(SimFileSystem, StartsWithTheShellFoldersInPlace) {
    TSimFileSystem fs;
    EXPECT_TRUE(fs.FileExists(fs.ExecutablePath()));
    EXPECT_TRUE(fs.FolderExists(fs.RoamingAppDataFolder(), true));
    EXPECT_TRUE(fs.FolderExists(fs.DocumentsFolder(), true));
}

} // namespace
} // namespace platform::sim
