#include "vault/password_lookup.h"

#include "registry/registry.h"
#include "registry/putty_keys.h"
#include "vault/cipher.h"
#include "vault/stored_password.h"

namespace quarnel {

std::optional<std::string> LookupSessionPassword(const std::string& keyName,
                                                 bool passwordFunctionOn,
                                                 const std::string& masterPassword) {
    if (!passwordFunctionOn) {
        return std::nullopt;
    }
    const std::optional<std::string> stored = ReadCipherText(SessionsKey + keyName);
    if (!stored) {
        return std::nullopt;
    }
    return PasswordDecrypt(*stored, masterPassword);
}

} // namespace quarnel
