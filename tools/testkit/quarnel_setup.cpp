#include "testkit/quarnel_setup.h"

#include "config/settings.h"
#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "testkit/fake_putty_log.h"
#include "testkit/putty_seed.h"
#include "testkit/test_support.h"
#include "vault/cipher.h"
#include "vault/master_check.h"
#include "vault/stored_password.h"
#include "win/text.h"

#include <stdexcept>

namespace quarnel::test {

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
