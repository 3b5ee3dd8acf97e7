// The settings store against Wine's registry, from a first run (no program key) on.
#include "config/settings.h"
#include "registry/registry.h"
#include "testkit/quarnel_setup.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quarnel {
namespace {

TEST(SettingsStore, AValueThatReadsAsNothingOrZeroGivesTheDefault) {
    const struct {
        const char* stored; // nullptr: missing
        int32_t number;     // LoadSettingNumber(..., 7)
        const char* text;   // LoadSettingString(..., "Vorgabe")
    } cases[] = {{nullptr, 7, "Vorgabe"},
                 {"", 7, "Vorgabe"},
                 {"0", 7, "0"},
                 {"abc", 7, "abc"},
                 {"-5", -5, "-5"},
                 {"12abc", 12, "12abc"},
                 {"4294967306", 10, "4294967306"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        test::QuarnelSetup setup;
        if (c.stored) {
            setup.Setting("Fensterbreite", c.stored);
        }
        EXPECT_EQ(LoadSettingNumber("Fensterbreite", 7), c.number);
        EXPECT_EQ(LoadSettingString("Fensterbreite", "Vorgabe"), c.text);
    }
}

TEST(SettingsStore, LoadSettingsFillsEveryFieldFromItsValue) {
    const auto fields = [](const Settings& s) {
        return std::tuple(s.PuttyPfad, s.NachPuttyStartBeenden, s.NachPuttyStartMinimieren,
                          s.Startminimized, s.Passwortfunktionalitaet, s.SSHSessionVorlage,
                          s.FensterpositionX, s.FensterpositionY, s.Fensterbreite, s.Fensterhoehe,
                          s.Autostart);
    };
    test::QuarnelSetup setup;
    EXPECT_EQ(
        fields(LoadSettings(L"C:\\Tools")),
        fields({"C:\\Tools\\putty.exe", 0, 0, 0, 0, "Default Settings", 10, 10, 500, 60, false}));
    EXPECT_EQ(LoadSettings(L"C:\\").PuttyPfad, "C:\\\\putty.exe");     // a drive root as it comes
    EXPECT_EQ(LoadSettings(L"C:\\\u0141\u00f3d\u017a").PuttyPfad, ""); // not another folder's

    setup.Setting("PuttyPfad", "D:\\putty.exe").Setting("NachPuttyStartBeenden", "1");
    setup.Setting("NachPuttyStartMinimieren", "256").Setting("Startminimized", "257");
    setup.Setting("Passwortfunktionalitaet", "-1").Setting("SSHSessionVorlage", "Vorlage");
    setup.Setting("FensterpositionX", "-1200").Setting("FensterpositionY", "30");
    setup.Setting("Fensterbreite", "640").Setting("Fensterhoehe", "80");
    ASSERT_EQ(RegistryWrite(UserRunKey, AutostartValueName, "", kRegSz, "."), 1);
    EXPECT_EQ(fields(LoadSettings(L"C:\\Tools")),
              fields({"D:\\putty.exe", 1, 0, 1, -1, "Vorlage", -1200, 30, 640, 80, true}));

    // The autostart value stands in the machine's or, where that is refused, the user's
    // Run key.
    RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    ASSERT_EQ(RegistryWrite(MachineRunKey, AutostartValueName, "", kRegSz, "."), 1);
    EXPECT_TRUE(LoadSettings(L"C:\\Tools").Autostart);
}

} // namespace
} // namespace quarnel
