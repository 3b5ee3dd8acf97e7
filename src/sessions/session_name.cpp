#include "sessions/session_name.h"

namespace quarnel {

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string OldShownForm(std::string_view keyName) {
    std::string out;
    for (size_t i = 0; i < keyName.size(); ++i) {
        if (keyName.substr(i, 3) == "%20") {
            out += ' ';
            i += 2;
        } else {
            out += keyName[i];
        }
    }
    return out;
}

} // namespace

std::string SessionDisplayName(std::string_view keyName) {
    std::string out;
    out.reserve(keyName.size());
    for (size_t i = 0; i < keyName.size(); ++i) {
        const bool escape = keyName[i] == '%' && i + 2 < keyName.size();
        const int high = escape ? HexDigitValue(keyName[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(keyName[i + 2]) : -1;
        if (low >= 0 && high * 16 + low != 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += keyName[i];
        }
    }
    return out;
}

std::string EscapeSessionName(std::string_view name) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte > '~' || c == '\\' || c == '*' || c == '?' || c == '%') {
            out += '%';
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

std::string TemplateSessionName(const std::string& stored, const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        if (SessionDisplayName(key) == stored) {
            return stored;
        }
    }
    for (const std::string& key : keys) {
        std::string shown = SessionDisplayName(key);
        if (shown != stored && OldShownForm(key) == stored) {
            return shown;
        }
    }
    return stored;
}

} // namespace quarnel
