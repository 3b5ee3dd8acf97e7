#include "testkit/quarnel_setup.h"

#include "config/settings.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "testkit/fake_putty_log.h"
#include "vault/cipher.h"
#include "vault/master_check.h"
#include "vault/stored_password.h"
#include "win/text.h"

#include <windows.h>

#include <stdexcept>

namespace quarnel::test {

void DeleteTree(const std::string& path) {
    if (!RegistryDeleteTree(path, ".")) {
        throw std::runtime_error("cannot delete " + path);
    }
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
    const std::string key = SessionsKey + keyName;
    bool ok = RegistryCreateKey(key, ".") == 1 &&
              (menu.empty() || RegistryWrite(key, MenuValueName, menu, kRegSz, ".") == 1);
    if (ok && !password.empty()) {
        const std::string cipher = PasswordEncrypt(password, masterPassword, &ok);
        ok = ok && StoreCipherText(key, cipher);
    }
    if (!ok) {
        throw std::runtime_error("cannot store the PuTTY session " + key);
    }
    return *this;
}

} // namespace quarnel::test
