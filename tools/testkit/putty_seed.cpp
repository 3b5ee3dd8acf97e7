#include "testkit/putty_seed.h"

#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "testkit/test_support.h"

#include <stdexcept>

namespace quarnel::test {

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

} // namespace quarnel::test
