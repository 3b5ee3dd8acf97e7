// The registry layer against Wine's real registry, each test under a key of its own.
#include "registry/registry.h"
#include "testkit/quarnel_setup.h"
#include "win/handles.h"
#include "win/text.h"

#include <windows.h>

#include <aclapi.h>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

class RegistryTest : public ::testing::Test {
  protected:
    test::ScratchKey scratch{"registry"};
    std::string key = scratch.path + "\\";
    std::wstring subKey = Widen(scratch.path.substr(strlen("HKEY_CURRENT_USER\\")));

    void SetUp() override { ASSERT_EQ(RegistryCreateKey(key, "."), 1); }

    // Stores raw data of any type, bypassing the layer.
    void StoreRaw(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, subKey.c_str(), Widen(name).c_str(), type,
                                  data, size),
                  0);
    }
};

TEST_F(RegistryTest, WrittenValuesReadBackInTheirTextForm) {
    const struct {
        int type;
        std::string written, read;
    } cases[] = {
        {kRegExpandSz, "%PATH%\\x", "%PATH%\\x"},
        {kRegDword, "-1", "-1"},
        {kRegBinary, "00ff7a", "00FF7A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written + " as type " + std::to_string(c.type));
        EXPECT_EQ(RegistryWrite(key, "v", c.written, c.type, "."), 1);
        const RegistryValue read = RegistryReadValue(key, "v", ".");
        EXPECT_EQ(read.type, c.type);
        EXPECT_EQ(read.text, c.read);
        EXPECT_EQ(RegistryProbe(key, "v", "."), 1);
    }
    // A number no type stands for stores nothing, yet reports the opened key.
    EXPECT_EQ(RegistryWrite(key, "w", "text", 7, "."), 1);
    EXPECT_EQ(RegistryProbe(key, "w", "."), 0);
}

TEST_F(RegistryTest, EveryByteFrom1To255RoundTripsInTwoHalves) {
    for (int start : {1, 128}) {
        std::string text;
        for (int b = start; b < start + 128 && b < 256; ++b) {
            text.push_back(static_cast<char>(b));
        }
        RegistryWrite(key, "bytes", text, kRegSz, ".");
        EXPECT_EQ(RegistryRead(key, "bytes", "."), text) << "from byte " << start;
    }
}

TEST_F(RegistryTest, ValuesOverTheReadBufferReadEmptyAndProbeAsMissing) {
    for (size_t length : {254u, 255u}) {
        RegistryWrite(key, "sz", std::string(length, 'x'), kRegSz, ".");
        EXPECT_EQ(RegistryRead(key, "sz", ".").size(), length == 254 ? 254u : 0u);
        EXPECT_EQ(RegistryProbe(key, "sz", "."), length == 254 ? 1 : 0);
    }
    for (DWORD size : {255u, 256u}) {
        const std::vector<BYTE> data(size, 0x5A);
        StoreRaw("bin", REG_BINARY, data.data(), size);
        EXPECT_EQ(RegistryRead(key, "bin", ".").size(), size == 255 ? 510u : 0u);
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
    // Its size limit is in characters, as a text's: 206 of them are no more than can be read.
    const std::wstring multi = std::wstring(200, L'm') + std::wstring(L"\0two\0", 6);
    StoreRaw("multi", REG_MULTI_SZ, multi.c_str(), DWORD(multi.size() * sizeof(wchar_t)));
    EXPECT_EQ(RegistryRead(key, "multi", "."), "");
    EXPECT_EQ(RegistryProbe(key, "multi", "."), 1);
}

TEST_F(RegistryTest, PathFormsAndUnknownRoots) {
    RegistryWrite(key, "v", "x", kRegSz, ".");
    const std::string tail = key.substr(strlen("HKEY_CURRENT_USER"));
    EXPECT_EQ(RegistryRead("hkey_current_user" + tail, "v", "."), "x");
    EXPECT_EQ(RegistryRead("HKEY_CURRENT_USER\\" + tail, "v", "."), "x"); // doubled separator

    for (const std::string& path : {"HKCU" + tail, key + "missing\\"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(RegistryRead(path, "v", "."), "");
        EXPECT_EQ(RegistryWrite(path, "v", "y", kRegSz, "."), 0); // never creates the key
        EXPECT_EQ(RegistryProbe(path, "v", "."), 0);
        EXPECT_EQ(RegistryKeyExists(path, "."), 0);
        EXPECT_EQ(RegistryDeleteValue(path, "v", "."), 0);
    }
    EXPECT_EQ(RegistryDeleteTree("HKCU" + tail, "."), 0);
    EXPECT_EQ(RegistryDeleteTree("HKEY_CURRENT_USER\\", "."), 0); // never a whole root
    // Only this computer's registry is there.
    EXPECT_EQ(RegistryRead(key, "v", "other"), "");
    EXPECT_EQ(RegistryWrite(key, "v", "y", kRegSz, "other"), 0);
    EXPECT_EQ(RegistryRead(key, "v", "."), "x");
}

TEST_F(RegistryTest, KeysAreCreatedListedAndDeleted) {
    EXPECT_EQ(RegistryCreateKey(key + "a\\deep\\", "."), 1);
    // The longest name the registry allows is listed, and the names after it too.
    const std::string longest(255, 'l');
    for (const std::string& name : {longest, std::string("m"), std::string("n")}) {
        ASSERT_EQ(RegistryCreateKey(key + name, "."), 1);
    }
    RegistryWrite(key + "m", "menu", "Server", kRegSz, ".");
    RegistryWrite(key + "n", "menu", std::string(255, 'x'), kRegSz, "."); // reads as nothing
    // The value is read only of the subkeys asked for, and not of one that may not be read.
    HKEY shut = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (subKey + L"\\shut").c_str(), 0, nullptr, 0,
                              WRITE_DAC, nullptr, &shut, nullptr),
              0);
    const UniqueKey shutKey(shut);
    ACL none{};
    InitializeAcl(&none, sizeof none, ACL_REVISION);
    const auto guard = [shut](ACL* acl, DWORD protection) {
        return SetSecurityInfo(shut, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | protection,
                               nullptr, nullptr, acl, nullptr);
    };
    ASSERT_EQ(guard(&none, PROTECTED_DACL_SECURITY_INFORMATION), 0u);
    const auto allButA = [](const std::string& name, uint64_t) {
        return name == "a" ? RegistrySubKeyStep::List : RegistrySubKeyStep::ReadValue;
    };
    const RegistryListing listing = RegistryListSubKeys(key, "menu", allButA, ".");
    EXPECT_EQ(RegistryDeleteTree(key + "shut", "."), 0);   // what may not go is reported
    guard(nullptr, UNPROTECTED_DACL_SECURITY_INFORMATION); // to be deleted
    std::vector<std::string> listed;
    for (const RegistrySubKey& sub : listing.subKeys) {
        listed.push_back(sub.name + (sub.value ? "=" + *sub.value : ""));
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"a", longest + "=", "m=Server", "n=", "shut"}));
    EXPECT_TRUE(listing.whole);
    // A subkey made while listing makes the listing unsure.
    const auto making = [&](const std::string&, uint64_t) {
        RegistryCreateKey(key + "late", ".");
        return RegistrySubKeyStep::List;
    };
    EXPECT_FALSE(RegistryListSubKeys(key, "menu", making, ".").whole);

    EXPECT_EQ(RegistryDeleteTree(key + "a", "."), 1);
    EXPECT_EQ(RegistryKeyExists(key + "a\\deep\\", "."), 0);
    EXPECT_EQ(RegistryDeleteValue(key + "m", "menu", "."), 1);
    EXPECT_EQ(RegistryDeleteValue(key + "m", "menu", "."), 0);
}

// What RegistryRead cannot read back can still be verified.
TEST_F(RegistryTest, AWholeTextOfAnyLengthReadsForVerifying) {
    RegistryWrite(key, "long", std::string(300, 'x'), kRegSz, ".");
    RegistryWrite(key, "number", "7", kRegDword, ".");
    EXPECT_EQ(RegistryReadWholeText(key, "long", "."), std::string(300, 'x'));
    EXPECT_EQ(RegistryReadWholeText(key, "number", "."), std::nullopt);
    EXPECT_EQ(RegistryReadWholeText(key, "missing", "."), std::nullopt);
}

} // namespace
} // namespace quarnel
