#include "vault/password_lookup.h"

#include "registry/registry.h"
#include "sessions/catalogue.h"
#include "vault/cipher.h"

namespace quarnel {

std::optional<std::string> LookupSessionPassword(const std::string& keyName,
                                                 bool passwordFunctionOn,
                                                 const std::string& masterPassword) {
    if (!passwordFunctionOn) {
        return std::nullopt;
    }
    const std::string stored = RegistryRead(SessionsKey + keyName, PasswordValueName, ".");
    if (stored.empty()) {
        return std::nullopt;
    }
    return PasswordDecrypt(stored, masterPassword);
}

} // namespace quarnel
