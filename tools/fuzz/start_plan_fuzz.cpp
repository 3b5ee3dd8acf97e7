// Session and template starts for arbitrary names, hosts, pipe paths and passwords: the
// name comes back as one argument under both variants of the Windows command-line rules,
// the host follows as typed, and the password goes only the way this PuTTY takes it.
// (The fixed forms of the other starts and the folders are the unit table's.)
//
// Input: a flags byte (bit 0 a template start, 1 the template sets SSH, 2-3 the version:
// none, 0.0.0.0, 0.76, 0.77, 4 the code page holds the password), then, separated by line
// feeds, the name, the host, the pipe path and, if present, the password. Each byte of
// the texts is one character.
#include "fuzz/fuzz_check.h"
#include "sessions/start_plan.h"
#include "testkit/command_line_rules.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quarnel::PasswordRoute;
using Texts = std::vector<std::wstring>;

void CheckSplit(const std::wstring& parameters, const Texts& expected) {
    for (const auto rule : {test::DoubledQuote::EndsQuoting, test::DoubledQuote::KeepsQuoting}) {
        const bool same = test::SplitArguments(parameters, rule) == expected;
        if (!same) {
            std::fprintf(stderr, "[%ls] splits otherwise under rule %d\n", parameters.c_str(),
                         static_cast<int>(rule));
        }
        FUZZ_CHECK(same);
    }
}

// The text up to the next line feed, one character a byte; `input` moves past it and is
// left without data when no line feed followed.
std::wstring Field(std::string_view& input) {
    const size_t end = input.find('\n');
    std::wstring text;
    for (const char c : input.substr(0, end)) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t flags = data[0];
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    quarnel::StartRequest request;
    const bool withTemplate = (flags & 1) != 0;
    request.kind = withTemplate ? quarnel::StartKind::SshWithTemplate : quarnel::StartKind::Session;
    request.templateSetsSsh = (flags & 2) != 0;
    const int version = (flags >> 2) & 3;
    const quarnel::FileVersion versions[] = {{0, 0, 0, 0}, {0, 76, 0, 0}, {0, 77, 0, 0}};
    if (version > 0) {
        request.puttyVersion = versions[version - 1];
    }
    const std::wstring name = Field(input);
    request.session = request.templateName = name;
    request.host = Field(input);
    request.pipePath = Field(input);
    if (input.data() != nullptr) {
        request.password = std::string(input);
        if ((flags & 16) != 0) {
            request.passwordArgument = Field(input);
        }
    }
    for (const std::wstring& text : {name, request.host, request.pipePath}) {
        if (text.find(L'\0') != std::wstring::npos) {
            return 0; // no session name, typed host or pipe path holds one
        }
    }

    const quarnel::StartPlan plan = quarnel::PlanStart(request);
    if (withTemplate) {
        const std::wstring tail = L" " + request.host;
        FUZZ_CHECK(plan.route == PasswordRoute::None && plan.parameters.ends_with(tail));
        Texts expected = {L"-load", name};
        if (!request.templateSetsSsh) {
            expected.push_back(L"-ssh");
        }
        CheckSplit(plan.parameters.substr(0, plan.parameters.size() - tail.size()), expected);
        return 0;
    }
    bool sendable = request.password.has_value();
    for (const char c : request.password.value_or("")) {
        sendable = sendable && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    }
    PasswordRoute route = PasswordRoute::None;
    if (sendable && version == 2) { // 0.76
        route = request.passwordArgument ? PasswordRoute::CommandLine : PasswordRoute::None;
    } else if (sendable) {
        route = request.pipePath.empty() ? PasswordRoute::None : PasswordRoute::Pipe;
    }
    FUZZ_CHECK(plan.route == route);
    // The exact split also shows the password nowhere but after -pw.
    Texts expected;
    if (route == PasswordRoute::Pipe) {
        expected = {L"-pwfile", request.pipePath};
    } else if (route == PasswordRoute::CommandLine) {
        expected = {L"-pw", *request.passwordArgument};
    }
    expected.insert(expected.end(), {L"-load", name});
    CheckSplit(plan.parameters, expected);
    return 0;
}
