// The registry routines on the real registry, inside a test-only key that is removed afterwards.
#include "framework/core/OrvelCore.Win.Registry.h"
#include "platform/win32/Win32.Platform.h"
#include "platform/win32/Win32.Text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

using platform::TRegistryRoot;

bool RawKeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class Win32Registry : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(RawKeyExists(Base)) << "left over from an earlier run"; }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, Base.c_str());
        EXPECT_FALSE(RawKeyExists(Base));
    }

    const std::wstring Base = L"Software\\TarvinTest\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount64());
    platform::win32::TWin32Platform Platform;
    platform::IRegistry& Reg = Platform.Registry;
};

TEST_F(Win32Registry, WrittenStringIsStoredAsTextAndReadBack) {
    const std::wstring key = Base + L"\\Tarvin";
    const std::u16string value = u"\"C:\\Program Files\\Tarvin ✳\\Tarvin.exe\"";

    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(key),
                                    u"Install path", true, value));

    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(key),
                                 u"Install path", u"none"),
              value);
    // What other programs see: a REG_SZ with its terminator.
    wchar_t stored[256] = {};
    DWORD size = sizeof stored;
    DWORD type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"Install path", RRF_RT_ANY, &type, stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (value.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(platform::win32::FromWide(stored), value);
}

TEST_F(Win32Registry, LeadingBackslashAndFlushedWritesReachTheSameKey) {
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, u"\\" + platform::win32::FromWide(Base),
                                    u"A", false, u"1"));
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"A",
                                    true, u"2"));

    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, u"\\" + platform::win32::FromWide(Base),
                                 u"a", u"none"),
              u"2");
}

TEST_F(Win32Registry, ReadOfAMissingKeyGivesTheDefaultAndCreatesNothing) {
    const std::wstring missing = Base + L"\\Missing\\Deeper";

    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(missing), u"X",
                                 u"dflt"),
              u"dflt");
    EXPECT_FALSE(RawKeyExists(Base));
    EXPECT_FALSE(Reg.KeyExists(TRegistryRoot::CurrentUser, platform::win32::FromWide(Base)));
}

TEST_F(Win32Registry, MissingOrNonTextValueGivesTheDefault) {
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"Text",
                                    true, u"t"));
    const DWORD number = 42;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Base.c_str(), L"Number", REG_DWORD, &number, sizeof number),
              ERROR_SUCCESS);

    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"Missing",
                                 u"dflt"),
              u"dflt");
    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"Number",
                                 u"dflt"),
              u"dflt");
}

TEST_F(Win32Registry, TextStoredWithoutTerminatorOrWithAnOddByteIsReadWhole) {
    const wchar_t data[] = L"abc";
    // Six bytes: no terminator. Seven: a stray half unit at the end.
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Base.c_str(), L"Bare", REG_SZ, data, 6), ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Base.c_str(), L"Odd", REG_SZ, data, 7), ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Base.c_str(), L"Expand", REG_EXPAND_SZ, L"%TEMP%\\x",
                              sizeof L"%TEMP%\\x"),
              ERROR_SUCCESS);

    EXPECT_EQ(
        RegistryReadString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"Bare", u""),
        u"abc");
    EXPECT_EQ(
        RegistryReadString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"Odd", u""),
        u"abc");
    EXPECT_EQ(
        RegistryReadString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"Expand", u""),
        u"%TEMP%\\x");
}

TEST_F(Win32Registry, DeletedValueIsGoneAndDeletingAMissingOneIsNoFailure) {
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base),
                                    u"Tarvin", true, u"x"));
    {
        const auto key = Reg.OpenForWrite(TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), true);
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(key->DeleteValue(u"Tarvin").Ok);
        EXPECT_TRUE(key->DeleteValue(u"Tarvin").Ok);
        EXPECT_EQ(key->ReadString(u"Tarvin"), std::nullopt);
    }
    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"Tarvin",
                                 u"gone"),
              u"gone");
}

TEST_F(Win32Registry, KeyOpenedForReadingRefusesChanges) {
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, platform::win32::FromWide(Base), u"A",
                                    true, u"1"));
    const auto key = Reg.OpenForRead(TRegistryRoot::CurrentUser, platform::win32::FromWide(Base));
    ASSERT_NE(key, nullptr);

    const platform::TRegistryResult refused = key->WriteString(u"A", u"2");
    EXPECT_FALSE(refused.Ok);
    EXPECT_EQ(refused.Code, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(refused.Message.empty());
    EXPECT_EQ(key->ReadString(u"A"), u"1");
}

} // namespace
} // namespace orvel
