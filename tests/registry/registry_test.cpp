// The registry layer against Wine's real registry, each test under a key of its own.
#include "registry/registry.h"
#include "testkit/test_support.h"
#include "win/text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

class RegistryTest : public ::testing::Test {
  protected:
    test::ScratchKey scratch{"registry"};
    std::string key = scratch.Path() + "\\";

    void SetUp() override { ASSERT_EQ(RegistryCreateKey(key, "."), 1); }

    // Stores raw data of any type, bypassing the layer.
    void StoreRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
        HKEY k = nullptr;
        const std::wstring sub = Widen(scratch.Path().substr(strlen("HKEY_CURRENT_USER\\")));
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_ALL_ACCESS, &k), 0);
        ASSERT_EQ(
            RegSetValueExW(k, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), size),
            0);
        RegCloseKey(k);
    }
    std::vector<BYTE> LoadRaw(const std::string& name, DWORD& type) {
        std::vector<BYTE> data(4096);
        DWORD size = static_cast<DWORD>(data.size());
        const std::wstring sub = Widen(scratch.Path().substr(strlen("HKEY_CURRENT_USER\\")));
        if (RegGetValueW(HKEY_CURRENT_USER, sub.c_str(), Widen(name).c_str(),
                         RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size) != 0) {
            type = REG_NONE;
            return {};
        }
        data.resize(size);
        return data;
    }
};

TEST_F(RegistryTest, WrittenValuesReadBackInTheirTextForm) {
    const struct {
        int type;
        std::string written;
        std::string read;
        DWORD storedType;
    } cases[] = {
        {kRegSz, "Hallo Welt", "Hallo Welt", REG_SZ},
        {kRegSz, "", "", REG_SZ},
        {kRegSz, "Grüße, ÄÖÜ ß € ‰", "Grüße, ÄÖÜ ß € ‰", REG_SZ},
        {kRegExpandSz, "%PATH%\\x", "%PATH%\\x", REG_EXPAND_SZ},
        {kRegDword, "42", "42", REG_DWORD},
        {kRegDword, "-1", "-1", REG_DWORD},
        {kRegDword, "4294967295", "-1", REG_DWORD},
        {kRegDword, "12abc", "12", REG_DWORD},
        {kRegDword, "abc", "0", REG_DWORD},
        {kRegBinary, "000AFF", "000AFF", REG_BINARY},
        {kRegBinary, "00ff7a", "00FF7A", REG_BINARY},
        {kRegBinary, "ABC", "AB", REG_BINARY},
        {kRegBinary, "", "", REG_BINARY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written + " as type " + std::to_string(c.type));
        EXPECT_EQ(RegistryWrite(key, "v", c.written, c.type, "."), 1);
        EXPECT_EQ(RegistryRead(key, "v", "."), c.read);
        DWORD type = REG_NONE;
        LoadRaw("v", type);
        EXPECT_EQ(type, c.storedType);
        EXPECT_EQ(RegistryProbe(key, "v", "."), 1);
    }
}

TEST_F(RegistryTest, TextsAndBinariesAreStoredExactly) {
    DWORD type = REG_NONE;
    RegistryWrite(key, "bin", "ABC", kRegBinary, ".");
    EXPECT_EQ(LoadRaw("bin", type), (std::vector<BYTE>{171}));

    RegistryWrite(key, "sz", "ab", kRegSz, ".");
    EXPECT_EQ(LoadRaw("sz", type), (std::vector<BYTE>{'a', 0, 'b', 0, 0, 0})); // with its zero

    const DWORD number = 0xFFFFFFFF;
    StoreRaw("dw", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(RegistryRead(key, "dw", "."), "-1");
}

TEST_F(RegistryTest, EveryByteFrom1To255RoundTrips) {
    for (int start : {1, 128}) {
        std::string text;
        for (int b = start; b < start + 127 && b < 256; ++b) {
            text.push_back(static_cast<char>(b));
        }
        if (start == 128) {
            text.push_back(static_cast<char>(255));
        }
        RegistryWrite(key, "bytes", text, kRegSz, ".");
        EXPECT_EQ(RegistryRead(key, "bytes", "."), text) << "from byte " << start;
    }
}

TEST_F(RegistryTest, ReadBufferLimits) {
    const struct {
        const char* what;
        DWORD type;
        size_t size; // characters for texts (without the zero), bytes otherwise
        bool readable;
    } cases[] = {
        {"text of 254 characters", REG_SZ, 254, true},
        {"text of 255 characters", REG_SZ, 255, false},
        {"text of 300 characters", REG_SZ, 300, false},
        {"binary of 255 bytes", REG_BINARY, 255, true},
        {"binary of 256 bytes", REG_BINARY, 256, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.type == REG_SZ) {
            RegistryWrite(key, "v", std::string(c.size, 'x'), kRegSz, ".");
        } else {
            std::vector<BYTE> data(c.size, 0x5A);
            StoreRaw("v", REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
        }
        const std::string expected =
            !c.readable
                ? ""
                : (c.type == REG_SZ ? std::string(c.size, 'x') : std::string(c.size * 2, ' '));
        const std::string read = RegistryRead(key, "v", ".");
        if (c.type == REG_SZ || !c.readable) {
            EXPECT_EQ(read, expected);
        } else {
            EXPECT_EQ(read.size(), c.size * 2);
            EXPECT_EQ(read.substr(0, 4), "5A5A");
        }
        EXPECT_EQ(RegistryProbe(key, "v", "."), c.readable ? 1 : 0);
    }
}

TEST_F(RegistryTest, UnusualStoredForms) {
    // The character after the stored ones must not be zero, or the system counts it in.
    const wchar_t noZero[] = {L'a', L'b', L'c', L'x'};
    StoreRaw("nozero", REG_SZ, noZero, 3 * sizeof(wchar_t));
    EXPECT_EQ(RegistryRead(key, "nozero", "."), "ab");

    const wchar_t early[] = {L'a', 0, L'b', 0};
    StoreRaw("early", REG_SZ, early, sizeof early);
    EXPECT_EQ(RegistryRead(key, "early", "."), "a");

    const wchar_t multi[] = L"one\0two\0";
    StoreRaw("multi", REG_MULTI_SZ, multi, sizeof multi);
    EXPECT_EQ(RegistryRead(key, "multi", "."), "");
    EXPECT_EQ(RegistryProbe(key, "multi", "."), 1);

    const BYTE qword[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    StoreRaw("qword", REG_QWORD, qword, sizeof qword);
    EXPECT_EQ(RegistryRead(key, "qword", "."), "");
}

TEST_F(RegistryTest, UnknownTypeNumberStoresNothingYetReportsTheOpenedKey) {
    EXPECT_EQ(RegistryWrite(key, "v", "text", 7, "."), 1);
    EXPECT_EQ(RegistryProbe(key, "v", "."), 0);
}

TEST_F(RegistryTest, RootNamesAndPathForms) {
    RegistryWrite(key, "v", "x", kRegSz, ".");
    const std::string tail = key.substr(strlen("HKEY_CURRENT_USER"));
    EXPECT_EQ(RegistryRead("hkey_current_user" + tail, "v", "."), "x");
    EXPECT_EQ(RegistryRead("HKEY_CURRENT_USER\\" + tail, "v", "."), "x"); // doubled separator
    EXPECT_EQ(RegistryRead(scratch.Path(), "v", "."), "x");               // no trailing backslash

    const std::string abbreviated = "HKCU" + tail;
    EXPECT_EQ(RegistryRead(abbreviated, "v", "."), "");
    EXPECT_EQ(RegistryWrite(abbreviated, "v", "y", kRegSz, "."), 0);
    EXPECT_EQ(RegistryProbe(abbreviated, "v", "."), 0);
    EXPECT_EQ(RegistryKeyExists(abbreviated, "."), 0);
    EXPECT_EQ(RegistryCreateKey(abbreviated + "new", "."), 0);
    EXPECT_EQ(RegistryDeleteValue(abbreviated, "v", "."), 0);
    EXPECT_EQ(RegistryDeleteKey(abbreviated, "."), 0);
    EXPECT_EQ(RegistryListSubKey(abbreviated, 0, "."), "");
    EXPECT_EQ(RegistryRead(key, "v", "."), "x");
}

TEST_F(RegistryTest, MissingKeysAndValues) {
    const std::string missing = key + "missing\\";
    EXPECT_EQ(RegistryRead(missing, "v", "."), "");
    EXPECT_EQ(RegistryRead(key, "missing", "."), "");
    EXPECT_EQ(RegistryProbe(key, "missing", "."), 0);
    EXPECT_EQ(RegistryKeyExists(missing, "."), 0);
    EXPECT_EQ(RegistryDeleteValue(key, "missing", "."), 0);
    EXPECT_EQ(RegistryDeleteKey(missing, "."), 0);
    EXPECT_EQ(RegistryListSubKey(missing, 0, "."), "");
    // Writing never creates the key.
    EXPECT_EQ(RegistryWrite(missing, "v", "x", kRegSz, "."), 0);
    EXPECT_EQ(RegistryKeyExists(missing, "."), 0);
}

TEST_F(RegistryTest, KeysAreCreatedListedAndDeleted) {
    RegistryWrite(key, "keep", "1", kRegSz, ".");
    EXPECT_EQ(RegistryCreateKey(key, "."), 1); // existing key keeps its values
    EXPECT_EQ(RegistryRead(key, "keep", "."), "1");

    EXPECT_EQ(RegistryCreateKey(key + "a\\deep\\", "."), 1); // missing keys along the path
    EXPECT_EQ(RegistryCreateKey(key + "b", "."), 1);
    EXPECT_EQ(RegistryKeyExists(key + "a\\deep", "."), 1);

    std::vector<std::string> names;
    for (int i = 0;; ++i) {
        std::string name = RegistryListSubKey(key, i, ".");
        if (name.empty()) {
            EXPECT_EQ(i, 2);
            break;
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(RegistryListSubKey(key, -1, "."), "");

    EXPECT_EQ(RegistryDeleteKey(key + "a", "."), 0); // it still has a subkey
    EXPECT_EQ(RegistryKeyExists(key + "a", "."), 1);
    EXPECT_EQ(RegistryDeleteKey(key + "a\\deep\\", "."), 1);
    EXPECT_EQ(RegistryDeleteKey(key + "a", "."), 1);
    EXPECT_EQ(RegistryKeyExists(key + "a", "."), 0);

    EXPECT_EQ(RegistryDeleteValue(key, "keep", "."), 1);
    EXPECT_EQ(RegistryProbe(key, "keep", "."), 0);
    EXPECT_EQ(RegistryDeleteKey("HKEY_CURRENT_USER\\", "."), 0);
}

TEST_F(RegistryTest, SubkeyNamesUpTo254CharactersAreListed) {
    for (size_t length : {254u, 255u}) {
        const std::string name(length, 'k');
        ASSERT_EQ(RegistryCreateKey(key + name, "."), 1);
        EXPECT_EQ(RegistryListSubKey(key, 0, "."), length == 254 ? name : "");
        RegistryDeleteKey(key + name, ".");
    }
}

TEST_F(RegistryTest, AnotherComputerThatCannotBeReachedFailsQuietly) {
    RegistryWrite(key, "v", "x", kRegSz, ".");
    EXPECT_EQ(RegistryRead(key, "v", "no-such-host"), "");
    EXPECT_EQ(RegistryWrite(key, "v", "y", kRegSz, "no-such-host"), 0);
    EXPECT_EQ(RegistryKeyExists(key, "no-such-host"), 0);
    EXPECT_EQ(RegistryRead(key, "v", "."), "x");
}

TEST_F(RegistryTest, EveryOperationIsCounted) {
    const uint64_t before = RegistryOperationCount();
    RegistryRead(key, "v", ".");
    RegistryListSubKey(key, 0, ".");
    RegistryRead("HKCU\\x", "v", ".");
    EXPECT_EQ(RegistryOperationCount() - before, 3u);
}

} // namespace
} // namespace quarnel
