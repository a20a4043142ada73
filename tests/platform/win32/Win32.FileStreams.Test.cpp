// The real file handles under the binary streams, and the streams on real files.
#include "framework/core/OrvelCore.StreamBuff.h"
#include "framework/core/OrvelCore.StreamMem.h"
#include "platform/win32/Win32.FileStreams.h"
#include "tests/platform/win32/Win32.TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace platform::win32 {
namespace {

using test::TScratchFolder;

constexpr std::uint32_t SharingViolation = 32; // ERROR_SHARING_VIOLATION

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Win32FileStreams : public ::testing::Test {
protected:
    TWin32FileStreams Files;
    TScratchFolder Scratch;
};

TEST_F(Win32FileStreams, WritesAtPositionsAndReadsBack) {
    const std::u16string path = Scratch / L"Ärger✳.bin";
    {
        TFileOpenResult created = Files.CreateWrite(path);
        ASSERT_TRUE(created.Status.Ok) << created.Status.Code;
        IFileHandle& file = *created.Handle;
        EXPECT_TRUE(file.Write("abcdef", 6));
        EXPECT_TRUE(file.Seek(2));
        EXPECT_TRUE(file.Write("XY", 2));
        EXPECT_EQ(file.Position(), 4);
        EXPECT_EQ(file.Size(), 6);
        char buffer[8] = {};
        EXPECT_TRUE(file.Seek(0));
        EXPECT_EQ(file.Read(buffer, 8), 6u);
        EXPECT_EQ(std::string(buffer, 6), "abXYef");
    }
    TFileOpenResult opened = Files.OpenRead(path);
    ASSERT_TRUE(opened.Status.Ok) << opened.Status.Code;
    char buffer[8] = {};
    EXPECT_TRUE(opened.Handle->Seek(4));
    EXPECT_EQ(opened.Handle->Read(buffer, 8), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(opened.Handle->Read(buffer, 8), 0u);
    EXPECT_FALSE(opened.Handle->Write("z", 1));
}

TEST_F(Win32FileStreams, CreateWriteEmptiesAnExistingFile) {
    const std::u16string path = Scratch / L"old.bin";
    std::ofstream(Scratch.Path() / L"old.bin", std::ios::binary) << "old contents";
    ASSERT_TRUE(Files.CreateWrite(path).Status.Ok);
    EXPECT_EQ(FileBytes(Scratch.Path() / L"old.bin"), "");
}

TEST_F(Win32FileStreams, RefusalsCarryTheSystemCodeAndText) {
    const TFileOpenResult missing = Files.OpenRead(Scratch / L"none.bin");
    EXPECT_FALSE(missing.Status.Ok);
    EXPECT_EQ(missing.Handle, nullptr);
    EXPECT_EQ(missing.Status.Code, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(missing.Status.Message.empty());
    EXPECT_EQ(Files.CreateWrite(Scratch / L"no folder\\x.bin").Status.Code,
              static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Files.OpenRead(std::u16string(u"a\0b", 3)).Status.Code,
              static_cast<std::uint32_t>(ERROR_INVALID_NAME));
}

TEST_F(Win32FileStreams, ReadersShareWithReadersOnlyAndAWriterWithNobody) {
    const std::u16string path = Scratch / L"shared.bin";
    {
        auto writer = Files.CreateWrite(path);
        ASSERT_TRUE(writer.Status.Ok);
        EXPECT_EQ(Files.OpenRead(path).Status.Code, SharingViolation);
        EXPECT_EQ(Files.CreateWrite(path).Status.Code, SharingViolation);
    }
    auto reader = Files.OpenRead(path);
    ASSERT_TRUE(reader.Status.Ok);
    EXPECT_TRUE(Files.OpenRead(path).Status.Ok);
    EXPECT_EQ(Files.CreateWrite(path).Status.Code, SharingViolation);
}

TEST_F(Win32FileStreams, StreamsRoundTripTheLogFormatOnARealFile) {
    const std::u16string path = Scratch / L"PeriodicLogSave.logbin";
    auto out = orvel::TOrvelStream::CreateWrite(Files, path);
    out.WriteHeader("TRamLog", 5);
    for (int i = 0; i < 20000; ++i) { // more than one write buffer
        out.WriteString(u"line \u20AC");
    }
    out.WritePaddingValidation(64);
    out.Close();
    EXPECT_EQ(FileBytes(Scratch.Path() / L"PeriodicLogSave.logbin").size(), 17u + 20000u * 12u + 64u);

    auto in = orvel::TOrvelStream::CreateRead(Files, path);
    EXPECT_EQ(in.ReadHeader("TRamLog"), 5);
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(in.ReadString(100), u"line \u20AC") << i;
    }
    in.ReadPaddingValidation(64);
    EXPECT_EQ(in.Position(), in.Size());
    in.Close();

    orvel::TKestroMemStream memory;
    memory.LoadFromFile(Files, path);
    EXPECT_EQ(memory.Size(), in.Size());
    EXPECT_EQ(memory.ReadHeader("TRamLog"), 5);
    EXPECT_EQ(memory.ReadString(100), u"line \u20AC");
}

TEST_F(Win32FileStreams, OpeningAMissingFileForTheStreamRaisesTheOpenError) {
    EXPECT_THROW(orvel::TOrvelStream::CreateRead(Files, Scratch / L"none.bin"), orvel::EReadError);
    EXPECT_THROW(orvel::TOrvelStream::CreateWrite(Files, Scratch / L"no folder\\x.bin"),
                 orvel::EFCreateError);
}

} // namespace
} // namespace platform::win32
