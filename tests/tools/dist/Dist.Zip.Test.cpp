// The release archive script, run as `make dist` runs it, on stand-in files.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct TCommandResult {
    int Status = -1;
    std::string Output;
};

TCommandResult RunShell(const std::string& command) {
    TCommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
        result.Output += buffer.data();
    }
    result.Status = pclose(pipe);
    return result;
}

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class DistArchive : public testing::Test {
protected:
    fs::path Root = fs::temp_directory_path() / ("tarvin-dist-" + std::to_string(::getpid()));
    fs::path Out = Root / "out";
    fs::path Exe = Root / "stand-in.exe";
    fs::path Ini = Root / "Tarvin.sample.ini";
    fs::path Readme = Root / "README.txt";
    fs::path Archive = Out / ("Tarvin-" TARVIN_VERSION ".zip");

    void SetUp() override {
        fs::remove_all(Root);
        fs::create_directories(Root);
        WriteFile(Exe, std::string("MZ\x90\0stand-in", 12));
        WriteFile(Ini, "[Hotkeys]\r\nlow=Ctrl+Alt+1\r\n");
        WriteFile(Readme, "Tarvin\n\nline two\n");
    }
    void TearDown() override { fs::remove_all(Root); }

    TCommandResult Pack(const fs::path& exe) const {
        return RunShell(std::string(CMAKE_COMMAND) + " -DTARVIN_EXE=" + Quote(exe) + " -DSAMPLE_INI=" + Quote(Ini) +
                   " -DREADME=" + Quote(Readme) + " -DSOURCE_DIR=" + Quote(TARVIN_SOURCE_DIR) +
                   " -DOUT_DIR=" + Quote(Out) + " -P " + Quote(fs::path(TARVIN_SOURCE_DIR) / "cmake/TarvinDist.cmake"));
    }
};

TEST_F(DistArchive, HoldsExactlyTheProgramTheSampleIniAndTheReadmeUnderTheProjectVersion) {
    const TCommandResult packed = Pack(Exe);
    ASSERT_EQ(packed.Status, 0) << packed.Output;
    ASSERT_TRUE(fs::exists(Archive)) << packed.Output;

    const TCommandResult listed = RunShell("cd " + Quote(Out) + " && " + CMAKE_COMMAND + " -E tar tf " + Quote(Archive));
    ASSERT_EQ(listed.Status, 0) << listed.Output;
    std::set<std::string> names;
    std::istringstream lines(listed.Output);
    for (std::string name; std::getline(lines, name);) {
        names.insert(name);
    }
    EXPECT_EQ(names, (std::set<std::string>{"Tarvin.exe", "Tarvin.sample.ini", "README.txt"}));
    // Nothing but the archive is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(Out), fs::directory_iterator()), 1);

    const fs::path unpacked = Root / "unpacked";
    fs::create_directories(unpacked);
    ASSERT_EQ(RunShell("cd " + Quote(unpacked) + " && " + CMAKE_COMMAND + " -E tar xf " + Quote(Archive)).Status, 0);
    EXPECT_EQ(ReadFile(unpacked / "Tarvin.exe"), ReadFile(Exe));
    EXPECT_EQ(ReadFile(unpacked / "Tarvin.sample.ini"), ReadFile(Ini));
    EXPECT_EQ(ReadFile(unpacked / "README.txt"), "Tarvin\r\n\r\nline two\r\n");
}

TEST_F(DistArchive, TakesPathsRelativeToTheCallersFolderAsMakePassesThem) {
    const TCommandResult packed =
        RunShell("cd " + Quote(Root) + " && " + CMAKE_COMMAND +
                 " -DTARVIN_EXE=stand-in.exe -DSAMPLE_INI=Tarvin.sample.ini -DREADME=README.txt -DSOURCE_DIR=" +
                 Quote(TARVIN_SOURCE_DIR) + " -DOUT_DIR=out -P " +
                 Quote(fs::path(TARVIN_SOURCE_DIR) / "cmake/TarvinDist.cmake"));
    ASSERT_EQ(packed.Status, 0) << packed.Output;
    EXPECT_EQ(ReadFile(Archive).substr(0, 2), "PK");
}

TEST_F(DistArchive, FailsWithoutAnArchiveWhenAPieceIsMissing) {
    const TCommandResult packed = Pack(Root / "no-such.exe");
    EXPECT_NE(packed.Status, 0);
    EXPECT_NE(packed.Output.find("TARVIN_EXE does not name a file"), std::string::npos) << packed.Output;
    EXPECT_FALSE(fs::exists(Archive));
}

TEST_F(DistArchive, ReplacesAnOlderArchiveOfTheSameVersion) {
    fs::create_directories(Out);
    WriteFile(Archive, "stale");
    ASSERT_EQ(Pack(Exe).Status, 0);
    EXPECT_NE(ReadFile(Archive), "stale");
    EXPECT_EQ(ReadFile(Archive).substr(0, 2), "PK");
}

} // namespace
