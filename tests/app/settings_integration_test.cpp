// The settings store against Wine's registry, from a first run (no program key) on.
#include "config/settings.h"
#include "registry/registry.h"
#include "testkit/quarnel_setup.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quarnel {
namespace {

TEST(SettingsStore, LoadSettingsFillsEveryFieldFromItsValueOrItsDefault) {
    const auto fields = [](const Settings& s) {
        return std::tuple(s.PuttyPfad, s.NachPuttyStartBeenden, s.NachPuttyStartMinimieren,
                          s.Startminimized, s.Passwortfunktionalitaet, s.SSHSessionVorlage,
                          s.FensterpositionX, s.FensterpositionY, s.Fensterbreite, s.Fensterhoehe,
                          s.Autostart);
    };
    test::QuarnelSetup setup;
    // A value that reads as nothing or zero gives the default, as a missing one does.
    setup.Setting("SSHSessionVorlage", "").Setting("Fensterbreite", "0");
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
    RegistryCreateKey(UserRunKey, "."); // a new account has none
    ASSERT_EQ(RegistryWrite(UserRunKey, AutostartValueName, "", kRegSz, "."), 1);
    EXPECT_EQ(fields(LoadSettings(L"C:\\Tools")),
              fields({"D:\\putty.exe", 1, 0, 1, -1, "Vorlage", -1200, 30, 640, 80, true}));

    // The autostart value stands in the machine's or, where that is refused, the user's
    // Run key; any content counts, also one too long for the registry layer's buffer.
    RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
    ASSERT_EQ(RegistryWrite(MachineRunKey, AutostartValueName, std::string(300, 'x'), kRegSz, "."),
              1);
    EXPECT_TRUE(LoadSettings(L"C:\\Tools").Autostart);
}

} // namespace
} // namespace quarnel
