#include "vault/master_check.h"

#include "registry/value_text.h"
#include "vault/cipher.h"
#include "vault/random.h"
#include "win/message_box.h"

#include <windows.h>

#include <bcrypt.h>

#include <utility>

namespace quarnel {

namespace {

std::string PassPhrase(const std::string& masterPassword) {
    return masterPassword + std::string(PassPhraseSuffix);
}

} // namespace

std::optional<std::vector<uint8_t>> Pbkdf2Sha256(std::string_view password, std::string_view salt,
                                                 uint32_t iterations, size_t length) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                    BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
        return std::nullopt;
    }
    std::vector<uint8_t> derived(length);
    const NTSTATUS status = BCryptDeriveKeyPBKDF2(
        algorithm, reinterpret_cast<PUCHAR>(const_cast<char*>(password.data())),
        static_cast<ULONG>(password.size()),
        reinterpret_cast<PUCHAR>(const_cast<char*>(salt.data())), static_cast<ULONG>(salt.size()),
        iterations, derived.data(), static_cast<ULONG>(derived.size()), 0);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!BCRYPT_SUCCESS(status)) {
        return std::nullopt;
    }
    return derived;
}

std::optional<std::string> MakeMasterCheck(const std::string& masterPassword) {
    const auto salt = RandomBytes(16);
    if (!salt) {
        return std::nullopt;
    }
    const std::string saltText(salt->begin(), salt->end());
    const auto derived =
        Pbkdf2Sha256(PassPhrase(masterPassword), saltText, kMasterCheckIterations, 32);
    if (!derived) {
        return std::nullopt;
    }
    return std::to_string(kMasterCheckIterations) + ":" + FormatHexBytes(*salt) + ":" +
           FormatHexBytes(*derived);
}

MasterCheck CheckMasterPassword(std::string_view stored, const std::string& masterPassword) {
    if (stored.empty()) {
        return MasterCheck::None;
    }
    const std::optional<MasterCheckParts> parts = ParseMasterCheck(stored);
    if (!parts) {
        return MasterCheck::Unreadable;
    }
    const std::string salt(parts->salt.begin(), parts->salt.end());
    const auto derived = Pbkdf2Sha256(PassPhrase(masterPassword), salt, parts->iterations, 32);
    if (!derived) {
        return MasterCheck::Differs; // cannot tell: nothing is deciphered on a guess
    }
    // Every byte compared, so the time tells nothing of where they differ.
    uint8_t difference = 0;
    for (size_t i = 0; i < derived->size(); ++i) {
        difference |= static_cast<uint8_t>((*derived)[i] ^ parts->derived[i]);
    }
    return difference == 0 ? MasterCheck::Matches : MasterCheck::Differs;
}

void ReportUnreadableCheck(MasterState& state) {
    if (std::exchange(state.damageReported, true)) {
        return;
    }
    ShowMessage("Fehler:",
                "Der gespeicherte Prüfwert des Masterpassworts (\"" + MasterCheckValueName +
                    "\") ist beschädigt. Gespeicherte Passwörter werden deshalb weder an PuTTY "
                    "übergeben noch angezeigt oder geändert.\r\rAbhilfe: in der Konfiguration "
                    "\"ALLE gesp. Passwörter löschen\" wählen und die Passwörter neu speichern.");
}

} // namespace quarnel
