#include "sessions/launch_params.h"

#include "sessions/session_name.h"

namespace quarnel {

namespace {

// The body of a double-quoted argument as the Windows command-line rules read it back:
// backslashes count only before a quote, so those and the trailing ones are doubled
// (the closing quote follows), and every embedded quote is escaped.
void AppendQuotedBody(std::string& out, std::string_view text) {
    size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
}

// One command-line argument: left as it is unless a blank, a tab or a quote would
// split or change it (or it is empty and would vanish).
std::string Argument(std::string_view text) {
    if (!text.empty() && text.find_first_of(" \t\"") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    AppendQuotedBody(out, text);
    out += '"';
    return out;
}

std::string Quoted(std::string_view name) {
    std::string out = "\"";
    AppendQuotedBody(out, name);
    out += '"';
    return out;
}

} // namespace

bool IsPasswordUsable(std::string_view password) {
    for (const char c : password) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

std::string PasswordPart(std::string_view password) {
    return IsPasswordUsable(password) ? "-pw " + Argument(password) : std::string();
}

std::string PasswordFilePart(std::string_view file) {
    return "-pwfile " + Argument(file);
}

std::string SessionParameters(std::string_view keyName, std::string_view passwordPart) {
    return std::string(passwordPart) + " -load  " + Quoted(SessionDisplayName(keyName));
}

std::string SshParameters(std::string_view host) {
    return "-ssh " + std::string(host);
}

std::string TemplateSshParameters(std::string_view templateName, std::string_view host) {
    return "-load " + Quoted(templateName) + " -ssh " + std::string(host);
}

std::string TelnetParameters(std::string_view host) {
    return "-telnet " + std::string(host);
}

std::string PuttyFolder(std::string_view puttyPath) {
    const size_t last = puttyPath.rfind('\\');
    return last == std::string_view::npos ? std::string()
                                          : std::string(puttyPath.substr(0, last + 1));
}

} // namespace quarnel
