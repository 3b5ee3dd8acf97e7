// A check of the master password, so that a mistyped one is caught before its deciphered
// garbage reaches a server. Kept in the program key as a salted, slow PBKDF2-HMAC-SHA256
// of the pass phrase: never a cipher of a known text, which under RC4 without an
// initialisation vector would give away the key stream of every stored password.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

inline const std::string MasterCheckValueName = "MasterpasswortPruefwert";
inline constexpr uint32_t kMasterCheckIterations = 100'000;

// PBKDF2-HMAC-SHA256 through the system's BCrypt; nothing when it fails.
std::optional<std::vector<uint8_t>> Pbkdf2Sha256(std::string_view password, std::string_view salt,
                                                 uint32_t iterations, size_t length);

// "<iterations>:<salt, 32 hex digits>:<derived key, 64 hex digits>" for the master
// password; nothing when the system cannot make one.
std::optional<std::string> MakeMasterCheck(const std::string& masterPassword);

// None: no check is stored (an earlier installation has none). Unreadable: a value is
// stored but is no check of that form: it counts as a mismatch and is never replaced
// without the user's doing.
enum class MasterCheck { None, Matches, Differs, Unreadable };
MasterCheck CheckMasterPassword(std::string_view stored, const std::string& masterPassword);

// What the run knows of the master password.
struct MasterState {
    std::string password;   // typed at start-up
    bool confirmed = false; // accepted by the start-up prompt
    // No stored password goes to PuTTY in this run (the prompt was closed although a check
    // is stored, or the check cannot be read): PuTTY asks, the server never sees a wrong one.
    bool withheld = false;
    bool damageReported = false;
};

// Tells the user, once in a run, that the stored check cannot be read and what to do.
void ReportUnreadableCheck(MasterState& state);

// The parts of a stored check. Window-free.
struct MasterCheckParts {
    uint32_t iterations = 0;
    std::vector<uint8_t> salt;    // 16 bytes
    std::vector<uint8_t> derived; // 32 bytes
};
std::optional<MasterCheckParts> ParseMasterCheck(std::string_view stored);

} // namespace quarnel
