#include "testkit/quarnel_setup.h"

#include "config/settings.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "testkit/fake_putty_log.h"
#include "registry/predefined_key.h"
#include "vault/cipher.h"
#include "vault/master_check.h"
#include "vault/stored_password.h"
#include "win/text.h"

#include <windows.h>

#include <stdexcept>

namespace quarnel::test {

namespace {
HKEY RootOf(RegistryRoot root) {
    if (HKEY key = PredefinedKey(root)) {
        return key;
    }
    throw std::invalid_argument("no registry root");
}
} // namespace

void DeleteTree(const std::string& path) {
    const RegistryPath split = SplitRegistryPath(path);
    if (split.subKey.empty()) {
        throw std::invalid_argument("refusing to delete a root key");
    }
    RegDeleteTreeW(RootOf(split.root), Widen(split.subKey).c_str());
    RegDeleteKeyW(RootOf(split.root), Widen(split.subKey).c_str());
}

ScratchKey::ScratchKey(const std::string& name)
    : path_("HKEY_CURRENT_USER\\Software\\QuarnelTests\\" + name + "-" +
            std::to_string(GetCurrentProcessId())) {
    DeleteTree(path_);
}

ScratchKey::~ScratchKey() {
    DeleteTree(path_);
}

std::wstring BuildDir() {
    std::wstring dir = L"Z:" + Widen(QUARNEL_BUILD_DIR);
    for (wchar_t& c : dir) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return dir;
}

void SeedPuttySession(const std::string& keyName, const std::string& menu) {
    const std::string key = SessionsKey + keyName;
    if (RegistryCreateKey(key, ".") != 1) {
        throw std::runtime_error("cannot create the PuTTY session " + key);
    }
    if (!menu.empty() && RegistryWrite(key, MenuValueName, menu, kRegSz, ".") != 1) {
        throw std::runtime_error("cannot store the menu of the PuTTY session " + key);
    }
}

void RemovePuttySessions() {
    DeleteTree(SessionsKey.substr(0, SessionsKey.size() - 1)); // without the trailing '\'
}

QuarnelSetup::QuarnelSetup() {
    Reset();
}
QuarnelSetup::~QuarnelSetup() {
    Reset();
}

void QuarnelSetup::Reset() {
    DeleteTree(ProgramKey);
    RemovePuttySessions();
    RegistryDeleteValue(MachineRunKey, AutostartValueName, ".");
    RegistryDeleteValue(UserRunKey, AutostartValueName, ".");
}

QuarnelSetup& QuarnelSetup::LaterRun() {
    if (!RegistryCreateKey(ProgramKey, ".")) {
        throw std::runtime_error("cannot create the program key");
    }
    return *this;
}

QuarnelSetup& QuarnelSetup::Setting(const std::string& valueName, const std::string& text) {
    LaterRun();
    RegistryWrite(ProgramKey, valueName, text, kRegSz, ".");
    return *this;
}

QuarnelSetup& QuarnelSetup::MasterCheckOf(const std::string& masterPassword) {
    return Setting(MasterCheckValueName, MakeMasterCheck(masterPassword).value());
}

QuarnelSetup& QuarnelSetup::WithFakePutty() {
    return Setting("PuttyPfad", Narrow(FakePuttyPath()));
}

QuarnelSetup& QuarnelSetup::Session(const std::string& keyName, const std::string& menu,
                                    const std::string& password,
                                    const std::string& masterPassword) {
    SeedPuttySession(keyName, menu);
    if (!password.empty()) {
        bool ok = false;
        const std::string cipher = PasswordEncrypt(password, masterPassword, &ok);
        if (!ok || !StoreCipherText(SessionsKey + keyName, cipher)) {
            throw std::runtime_error("password cannot be stored for the test: " + password);
        }
    }
    return *this;
}

} // namespace quarnel::test
