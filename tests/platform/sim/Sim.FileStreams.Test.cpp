#include "platform/sim/Sim.FileStreams.h"

#include <gtest/gtest.h>

namespace platform::sim {
namespace {

class SimFileStreams : public ::testing::Test {
protected:
    TSimFileSystem Fs;
    TSimFileStreams Files{Fs};
};

TEST_F(SimFileStreams, OpenReadRefusalsCarryTheWindowsCode) {
    Fs.AddFolder(u"C:\\data");
    EXPECT_EQ(Files.OpenRead(u"C:\\data\\none.bin").Status.Code, 2u);
    EXPECT_EQ(Files.OpenRead(u"C:\\data").Status.Code, 5u);
    const TFileOpenResult refused = Files.OpenRead(u"C:\\data\\none.bin");
    EXPECT_FALSE(refused.Status.Ok);
    EXPECT_EQ(refused.Handle, nullptr);
    EXPECT_EQ(refused.Status.Message, u"The system cannot find the file specified.");
}

TEST_F(SimFileStreams, CreateWriteRefusalsFollowTheFileSystemRules) {
    Fs.AddFolder(u"C:\\locked");
    Fs.DenyWritesUnder(u"C:\\locked");
    EXPECT_EQ(Files.CreateWrite(u"C:\\nowhere\\x.bin").Status.Code, 3u);
    EXPECT_EQ(Files.CreateWrite(u"C:\\locked\\x.bin").Status.Code, 5u);
    EXPECT_EQ(Files.CreateWrite(u"C:\\locked").Status.Code, 5u);
    EXPECT_FALSE(Fs.FileExists(u"C:\\locked\\x.bin"));
}

TEST_F(SimFileStreams, WrittenBytesLandInTheFileAtThePosition) {
    Fs.AddFile(u"C:\\f.bin", "old");
    auto handle = Files.CreateWrite(u"c:/F.BIN").Handle;
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(Fs.Contents(u"C:\\f.bin"), "");
    EXPECT_TRUE(handle->Write("abcdef", 6));
    EXPECT_TRUE(handle->Seek(2));
    EXPECT_TRUE(handle->Write("XY", 2));
    EXPECT_TRUE(handle->Seek(8));
    EXPECT_TRUE(handle->Write("!", 1));
    EXPECT_EQ(handle->Position(), 9);
    EXPECT_EQ(handle->Size(), 9);
    EXPECT_EQ(Fs.Contents(u"C:\\f.bin"), std::string("abXYef\0\0!", 9));
}

TEST_F(SimFileStreams, ReadsStopAtTheEnd) {
    Fs.AddFile(u"C:\\f.bin", "hello");
    auto handle = Files.OpenRead(u"C:\\f.bin").Handle;
    char buffer[8] = {};
    EXPECT_TRUE(handle->Seek(3));
    EXPECT_EQ(handle->Read(buffer, 8), 2u);
    EXPECT_EQ(std::string(buffer, 2), "lo");
    EXPECT_EQ(handle->Read(buffer, 8), 0u);
    EXPECT_FALSE(handle->Seek(-1));
    EXPECT_FALSE(handle->Write("x", 1)); // opened for reading
    EXPECT_EQ(Fs.Contents(u"C:\\f.bin"), "hello");
}

TEST_F(SimFileStreams, SharingFollowsTheOpenModes) {
    Fs.AddFile(u"C:\\f.bin", "x");
    {
        auto reader = Files.OpenRead(u"C:\\f.bin").Handle;
        EXPECT_NE(Files.OpenRead(u"C:\\F.bin").Handle, nullptr);
        EXPECT_EQ(Files.CreateWrite(u"C:\\f.bin").Status.Code, 32u);
    }
    {
        auto writer = Files.CreateWrite(u"C:\\f.bin").Handle;
        EXPECT_EQ(Files.OpenRead(u"C:\\f.bin").Status.Code, 32u);
        EXPECT_EQ(Files.CreateWrite(u"C:\\f.bin").Status.Code, 32u);
        EXPECT_EQ(Files.OpenHandles(), 1u);
    }
    EXPECT_EQ(Files.OpenHandles(), 0u);
    EXPECT_NE(Files.CreateWrite(u"C:\\f.bin").Handle, nullptr);
}

TEST_F(SimFileStreams, AFullDiskRefusesTheWriteThatWouldPassTheLimit) {
    Files.LimitFileSize(4);
    auto handle = Files.CreateWrite(u"C:\\f.bin").Handle;
    EXPECT_TRUE(handle->Write("abc", 3));
    EXPECT_FALSE(handle->Write("de", 2));
    EXPECT_EQ(Fs.Contents(u"C:\\f.bin"), "abc");
}

} // namespace
} // namespace platform::sim
