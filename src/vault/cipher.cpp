#include "vault/cipher.h"

#include "win/message_box.h"
#include "win/text.h"

#include <windows.h>

#include <wincrypt.h>

namespace quarnel {

namespace {

// Each owner frees its handle only when one was obtained. Declared context, hash, key,
// they are freed in the order key, hash, context.
struct CryptContext {
    HCRYPTPROV handle = 0;
    ~CryptContext() {
        if (handle != 0) {
            CryptReleaseContext(handle, 0);
        }
    }
};
struct CryptHash {
    HCRYPTHASH handle = 0;
    ~CryptHash() {
        if (handle != 0) {
            CryptDestroyHash(handle);
        }
    }
};
struct CryptKey {
    HCRYPTKEY handle = 0;
    ~CryptKey() {
        if (handle != 0) {
            CryptDestroyKey(handle);
        }
    }
};

// The whole MD5 digest is the RC4 key; without an explicit length a provider may cut
// it to its default length, and stored values would then depend on the provider.
constexpr DWORD kRc4KeyFlags = CRYPT_EXPORTABLE | (128u << 16);

void ReportCipherError(const std::string& message) {
    const DWORD error = GetLastError();
    std::string text = message;
    if (error != 0) {
        wchar_t description[1024] = {};
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, description, 1024, nullptr);
        std::wstring_view trimmed(description, length);
        while (!trimmed.empty() && (trimmed.back() == L'\r' || trimmed.back() == L'\n')) {
            trimmed.remove_suffix(1);
        }
        text += '\n';
        if (trimmed.empty()) {
            // No system text for the code (several CryptoAPI codes have none under
            // Wine): the number at least tells what went wrong.
            char number[16];
            wsprintfA(number, "0x%08lX", error);
            text += number;
        } else {
            text += Narrow(trimmed);
        }
    }
    ShowMessage("Error", text);
}

std::string Fail(const std::string& text, const std::string& message, bool* succeeded) {
    ReportCipherError(message);
    if (succeeded != nullptr) {
        *succeeded = false;
    }
    return text;
}

} // namespace

std::string PasswordCipher(const std::string& text, const std::string& passPhrase,
                           bool* succeeded) {
    std::string work = text;

    CryptContext context;
    if (!CryptAcquireContextW(&context.handle, nullptr, nullptr, PROV_RSA_FULL, 0)) {
        context.handle = 0;
        if (!CryptAcquireContextW(&context.handle, nullptr, nullptr, PROV_RSA_FULL,
                                  CRYPT_NEWKEYSET)) {
            context.handle = 0;
        }
    }
    if (context.handle == 0) {
        return Fail(text, "CryptAcquireContext_() failed", succeeded);
    }

    CryptHash hash;
    if (!CryptCreateHash(context.handle, CALG_MD5, 0, 0, &hash.handle)) {
        hash.handle = 0;
        return Fail(text, "CryptCreateHash_() failed", succeeded);
    }
    CryptHashData(hash.handle, reinterpret_cast<const BYTE*>(passPhrase.data()),
                  static_cast<DWORD>(passPhrase.size()), 0);

    CryptKey key;
    if (!CryptDeriveKey(context.handle, CALG_RC4, hash.handle, kRc4KeyFlags, &key.handle)) {
        key.handle = 0;
        return Fail(text, "CryptDeriveKey_() failed", succeeded);
    }

    DWORD length = static_cast<DWORD>(work.size());
    if (!CryptEncrypt(key.handle, 0, TRUE, 0, reinterpret_cast<BYTE*>(work.data()), &length,
                      length)) {
        return Fail(text, "CryptEncrypt_() failed", succeeded);
    }
    if (succeeded != nullptr) {
        *succeeded = true;
    }
    return work;
}

std::string PasswordEncrypt(const std::string& text, const std::string& masterPassword,
                            bool* succeeded) {
    return PasswordCipher(text, masterPassword + std::string(PassPhraseSuffix), succeeded);
}

std::string PasswordDecrypt(const std::string& text, const std::string& masterPassword,
                            bool* succeeded) {
    return PasswordEncrypt(text, masterPassword, succeeded);
}

} // namespace quarnel
