// The settings store against Wine's registry: the program key is removed before and
// after each test, so each one starts from a first run.
#include "app/settings.h"
#include "registry/registry.h"
#include "testkit/test_support.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::DeleteTree(ProgramKey);
        RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
        RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    }
    void TearDown() override { SetUp(); }
    void Store(const std::string& name, const std::string& text) {
        ASSERT_EQ(RegistryCreateKey(ProgramKey, "."), 1);
        ASSERT_EQ(RegistryWrite(ProgramKey, name, text, kRegSz, "."), 1);
    }
};

TEST_F(SettingsTest, NumbersFallBackToTheirDefault) {
    const struct {
        const char* stored; // nullptr: value missing
        int32_t expected;
    } cases[] = {
        {nullptr, 10}, {"", 10},    {"0", 10}, {"-5", -5},         {"12abc", 12},
        {"abc", 10},   {" 33", 33}, {"+4", 4}, {"4294967306", 10}, {"4294967295", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        test::DeleteTree(ProgramKey);
        if (c.stored) {
            Store("FensterpositionX", c.stored);
        }
        EXPECT_EQ(LoadSettingNumber("FensterpositionX", 10), c.expected);
    }
}

TEST_F(SettingsTest, TextsFallBackToTheirDefaultWhenEmpty) {
    EXPECT_EQ(LoadSettingString("SSHSessionVorlage", "Default Settings"), "Default Settings");
    Store("SSHSessionVorlage", "");
    EXPECT_EQ(LoadSettingString("SSHSessionVorlage", "Default Settings"), "Default Settings");
    Store("SSHSessionVorlage", "Web Server");
    EXPECT_EQ(LoadSettingString("SSHSessionVorlage", "Default Settings"), "Web Server");
}

TEST_F(SettingsTest, AFirstRunGetsEveryDefault) {
    const Settings s = LoadSettings("C:\\Tools");
    EXPECT_EQ(s.PuttyPfad, "C:\\Tools\\putty.exe");
    EXPECT_EQ(s.NachPuttyStartBeenden, 0);
    EXPECT_EQ(s.NachPuttyStartMinimieren, 0);
    EXPECT_EQ(s.Startminimized, 0);
    EXPECT_EQ(s.Passwortfunktionalitaet, 0);
    EXPECT_EQ(s.SSHSessionVorlage, "Default Settings");
    EXPECT_EQ(s.FensterpositionX, 10);
    EXPECT_EQ(s.FensterpositionY, 10);
    EXPECT_EQ(s.Fensterbreite, 500);
    EXPECT_EQ(s.Fensterhoehe, 60);
    EXPECT_FALSE(s.Autostart);
    EXPECT_EQ(LoadSettings("C:\\").PuttyPfad, "C:\\\\putty.exe"); // a drive root as it comes
}

TEST_F(SettingsTest, StoredValuesAreLoadedIntoTheirFields) {
    Store("PuttyPfad", "D:\\PuTTY\\putty.exe");
    Store("NachPuttyStartBeenden", "1");
    Store("NachPuttyStartMinimieren", "256");
    Store("Startminimized", "1");
    Store("Passwortfunktionalitaet", "1");
    Store("SSHSessionVorlage", "Vorlage");
    Store("FensterpositionX", "-1200");
    Store("FensterpositionY", "30");
    Store("Fensterbreite", "640");
    Store("Fensterhoehe", "80");
    ASSERT_EQ(RegistryWrite(UserRunKey, AutostartValueName, "", kRegSz, "."), 1);

    const Settings s = LoadSettings("C:\\Tools");
    EXPECT_EQ(s.PuttyPfad, "D:\\PuTTY\\putty.exe");
    EXPECT_EQ(s.NachPuttyStartBeenden, 1);
    EXPECT_EQ(s.NachPuttyStartMinimieren, 0);
    EXPECT_EQ(s.Startminimized, 1);
    EXPECT_EQ(s.Passwortfunktionalitaet, 1);
    EXPECT_EQ(s.SSHSessionVorlage, "Vorlage");
    EXPECT_EQ(s.FensterpositionX, -1200);
    EXPECT_EQ(s.FensterpositionY, 30);
    EXPECT_EQ(s.Fensterbreite, 640);
    EXPECT_EQ(s.Fensterhoehe, 80);
    EXPECT_TRUE(s.Autostart);
}

TEST_F(SettingsTest, AutostartIsFoundInEitherRunKey) {
    EXPECT_FALSE(ProbeAutostart());
    for (const std::string& runKey : {MachineRunKey, UserRunKey}) {
        ASSERT_EQ(RegistryWrite(runKey, AutostartValueName, "", kRegSz, "."), 1);
        EXPECT_TRUE(ProbeAutostart()) << runKey;
        RegistryDeleteValue(runKey, AutostartValueName, ".");
    }
}

} // namespace
} // namespace quarnel
