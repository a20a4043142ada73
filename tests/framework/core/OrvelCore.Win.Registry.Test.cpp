#include "framework/core/OrvelCore.Win.Registry.h"

#include "platform/sim/Sim.Registry.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

using platform::TRegistryRoot;

const std::u16string Key = u"Software\\Halvorn\\Tarvin";

class Registry : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(Reg.OpenKeyCount(), 0u) << "a key was left open"; }

    platform::sim::TSimRegistry Reg;
};

TEST_F(Registry, WrittenStringIsReadBackAndCreatesTheKeyWithItsParents) {
    ASSERT_FALSE(Reg.KeyExists(TRegistryRoot::CurrentUser, u"Software\\Halvorn"));

    EXPECT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"Install path", true,
                                    u"C:\\Program Files\\Tarvin\\"));

    EXPECT_TRUE(Reg.KeyExists(TRegistryRoot::CurrentUser, u"Software\\Halvorn"));
    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, Key, u"Install path", u"none"),
              u"C:\\Program Files\\Tarvin\\");
    // The value lives under the root it was written to only.
    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::LocalMachine, Key, u"Install path", u"none"), u"none");
}

TEST_F(Registry, SecondWriteReplacesTheValueAndEmptyTextIsAValue) {
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"DisplayName", true, u"Tarvin"));
    ASSERT_TRUE(
        RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"DisplayName", true, u"Tarvin ✳ 2"));
    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, Key, u"DisplayName", u"none"),
              u"Tarvin ✳ 2");

    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"DisplayName", true, u""));
    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, Key, u"DisplayName", u"none"), u"");
}

TEST_F(Registry, LeadingBackslashNamesTheSameKeyBelowTheRoot) {
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, u"\\" + Key, u"A", true, u"1"));

    EXPECT_EQ(Reg.Value(TRegistryRoot::CurrentUser, Key, u"A"), u"1");
    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, u"\\" + Key, u"A", u"none"), u"1");
}

TEST_F(Registry, ReadOfAMissingKeyOrValueGivesTheDefaultAndCreatesNothing) {
    const std::size_t keysBefore = Reg.KeyCount();

    EXPECT_EQ(
        RegistryReadString(Reg, TRegistryRoot::CurrentUser, u"Software\\Nobody\\Nothing", u"X", u"dflt"),
        u"dflt");
    EXPECT_FALSE(Reg.KeyExists(TRegistryRoot::CurrentUser, u"Software\\Nobody"));
    EXPECT_EQ(Reg.KeyCount(), keysBefore);

    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"A", true, u"1"));
    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, Key, u"Missing", u"dflt"), u"dflt");
}

TEST_F(Registry, ValueThatHoldsNoTextGivesTheDefault) {
    Reg.AddValueOfType(TRegistryRoot::CurrentUser, Key, u"Count", platform::sim::TSimRegistry::TypeDword);

    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, Key, u"Count", u"dflt"), u"dflt");
}

TEST_F(Registry, KeyThatCannotBeOpenedForWritingAnswersFalseAndStoresNothing) {
    Reg.DenyWrite(TRegistryRoot::CurrentUser, u"Software\\Locked");

    EXPECT_FALSE(
        RegistryWriteString(Reg, TRegistryRoot::CurrentUser, u"Software\\Locked\\Below", u"A", true, u"1"));
    EXPECT_FALSE(Reg.KeyExists(TRegistryRoot::CurrentUser, u"Software\\Locked\\Below"));
}

TEST_F(Registry, RefusedWriteRaisesTheRegistryErrorAndStillClosesTheKey) {
    Reg.FailValueWrites(5);
    try {
        RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"A", false, u"1");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryError& e) {
        EXPECT_EQ(e.Code(), 5u);
        EXPECT_EQ(e.Message(), u"RegistryWriteString: cannot write \"A\" in \"" + Key +
                                   u"\": The simulated registry refused the write.");
    }
    // TearDown checks that the key was closed; without lazy writing it was flushed on the way.
    EXPECT_EQ(Reg.FlushCount(), 1u);
    EXPECT_EQ(Reg.Value(TRegistryRoot::CurrentUser, Key, u"A"), std::nullopt);
}

TEST_F(Registry, OnlyAWriteWithoutLazyWritingFlushesTheKey) {
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"A", true, u"1"));
    EXPECT_EQ(Reg.FlushCount(), 0u);
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"A", false, u"2"));
    EXPECT_EQ(Reg.FlushCount(), 1u);
    // Reading never flushes.
    RegistryReadString(Reg, TRegistryRoot::CurrentUser, Key, u"A", u"");
    EXPECT_EQ(Reg.FlushCount(), 1u);
}

TEST_F(Registry, KeyAndValueNamesIgnoreCase) {
    ASSERT_TRUE(RegistryWriteString(Reg, TRegistryRoot::CurrentUser, Key, u"DisplayName", true, u"Tarvin"));

    EXPECT_EQ(RegistryReadString(Reg, TRegistryRoot::CurrentUser, u"SOFTWARE\\halvorn\\TARVIN",
                                 u"displayname", u"none"),
              u"Tarvin");
}

} // namespace
} // namespace orvel
