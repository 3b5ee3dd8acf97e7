#include "sessions/start_plan.h"

namespace quarnel {

namespace {

// A double-quoted argument as the Windows command-line rules read it back: backslashes
// count only before a quote, so those and the trailing ones are doubled (the closing
// quote follows), and every embedded quote is escaped.
std::wstring Quoted(std::wstring_view text) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

// One argument: left as it is unless a blank, a tab or a quote would split or change it,
// or it is empty and would vanish.
std::wstring Argument(std::wstring_view text) {
    if (!text.empty() && text.find_first_of(L" \t\"") == std::wstring_view::npos) {
        return std::wstring(text);
    }
    return Quoted(text);
}

// The path up to and with its last backslash; empty when it holds none.
std::wstring PuttyFolder(const std::wstring& puttyPath) {
    const size_t last = puttyPath.rfind(L'\\');
    return last == std::wstring::npos ? std::wstring() : puttyPath.substr(0, last + 1);
}

PasswordRoute SessionRoute(const StartRequest& request) {
    if (!request.password || !IsPasswordSendable(*request.password)) {
        return PasswordRoute::None;
    }
    if (RouteFor(request.puttyVersion) == PasswordRoute::Pipe) {
        return request.pipePath.empty() ? PasswordRoute::None : PasswordRoute::Pipe;
    }
    return request.passwordArgument ? PasswordRoute::CommandLine : PasswordRoute::None;
}

} // namespace

bool IsPasswordSendable(std::string_view password) {
    for (const char c : password) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

PasswordRoute RouteFor(const std::optional<FileVersion>& version) {
    const bool oldRelease = version && version->major == 0 && version->minor > 0 &&
                            version->minor < 77 && version->build == 0 && version->revision == 0;
    return oldRelease ? PasswordRoute::CommandLine : PasswordRoute::Pipe;
}

StartPlan PlanStart(const StartRequest& request) {
    StartPlan plan{request.puttyPath, {}, PuttyFolder(request.puttyPath), PasswordRoute::None};
    switch (request.kind) {
    case StartKind::Session:
        plan.route = SessionRoute(request);
        if (plan.route == PasswordRoute::Pipe) {
            plan.parameters = L"-pwfile " + Argument(request.pipePath);
        } else if (plan.route == PasswordRoute::CommandLine) {
            plan.parameters = L"-pw " + Argument(*request.passwordArgument);
        }
        plan.parameters += L" -load  " + Quoted(request.session);
        plan.folder = request.startDirectory;
        break;
    case StartKind::Ssh:
        plan.parameters = L"-ssh " + request.host;
        break;
    case StartKind::SshWithTemplate:
        // -ssh after -load sets the port back to 22, dropping the template's own port: it
        // goes in only where it changes nothing the template set.
        plan.parameters = L"-load " + Quoted(request.templateName) +
                          (request.templateSetsSsh ? L" " : L" -ssh ") + request.host;
        break;
    case StartKind::Telnet:
        plan.parameters = L"-telnet " + request.host;
        break;
    case StartKind::PuttyAlone:
        plan.folder = L".";
        break;
    }
    return plan;
}

} // namespace quarnel
