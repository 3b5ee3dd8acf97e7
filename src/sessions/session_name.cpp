#include "sessions/session_name.h"

#include "registry/value_text.h"

namespace quarnel {

namespace {

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

std::string TemplateSessionName(const std::string& stored, const std::vector<std::string>& keys) {
    std::string earlierForm; // of the first session the stored text names the earlier way
    for (const std::string& key : keys) {
        std::string shown = SessionDisplayName(key);
        if (shown == stored) {
            return stored;
        }
        if (earlierForm.empty() && OldShownForm(key) == stored) {
            earlierForm = std::move(shown);
        }
    }
    return earlierForm.empty() ? stored : earlierForm;
}

} // namespace quarnel
