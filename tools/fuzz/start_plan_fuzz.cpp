// Session starts for arbitrary names, pipe paths and passwords: the name comes back as
// one argument under both variants of the Windows command-line rules, and the password
// goes only the way this PuTTY takes it. (The other starts are the unit table's; they
// quote a template's name as a session's.)
//
// Input: a flags byte (bits 2-3 the version: none, 0.0.0.0, 0.76, 0.77, bit 4 the code
// page holds the password, the others unused), then, separated by line feeds, the name,
// a host (unused), the pipe path and, if present, the password. Each byte of the texts
// is one character.
#include "fuzz/fuzz_check.h"
#include "sessions/start_plan.h"
#include "testkit/command_line_rules.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quarnel::PasswordRoute;
using Texts = std::vector<std::wstring>;

void CheckSplit(const std::wstring& parameters, const Texts& expected) {
    for (const auto rule : {test::DoubledQuote::EndsQuoting, test::DoubledQuote::KeepsQuoting}) {
        FUZZ_CHECK(test::SplitArguments(parameters, rule) == expected);
    }
}

// The text up to the next line feed, one character a byte; `input` moves past it and is
// left without data when no line feed followed.
std::wstring Field(std::string_view& input) {
    const size_t end = input.find('\n');
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    const std::wstring text(bytes, bytes + std::min(end, input.size()));
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
    const std::wstring name = Field(input), host = Field(input), pipe = Field(input);
    if ((name + pipe).find(L'\0') != std::wstring::npos) {
        return 0; // no session name or pipe path holds one
    }
    quarnel::StartRequest request;
    request.kind = quarnel::StartKind::Session;
    const int version = (flags >> 2) & 3;
    const quarnel::FileVersion versions[] = {{0, 0, 0, 0}, {0, 76, 0, 0}, {0, 77, 0, 0}};
    if (version > 0) {
        request.puttyVersion = versions[version - 1];
    }
    request.session = name;
    request.pipePath = pipe;
    if (input.data() != nullptr) {
        request.password = std::string(input);
        if ((flags & 16) != 0) {
            request.passwordArgument = Field(input);
        }
    }

    const quarnel::StartPlan plan = quarnel::PlanStart(request);
    bool sendable = request.password.has_value();
    for (const char c : request.password.value_or("")) {
        sendable = sendable && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    }
    PasswordRoute route = PasswordRoute::None;
    if (sendable && version == 2) { // 0.76
        route = request.passwordArgument ? PasswordRoute::CommandLine : PasswordRoute::None;
    } else if (sendable) {
        route = pipe.empty() ? PasswordRoute::None : PasswordRoute::Pipe;
    }
    FUZZ_CHECK(plan.route == route);
    // The exact split also shows the password nowhere but after -pw.
    Texts expected;
    if (route == PasswordRoute::Pipe) {
        expected = {L"-pwfile", pipe};
    } else if (route == PasswordRoute::CommandLine) {
        expected = {L"-pw", *request.passwordArgument};
    }
    expected.insert(expected.end(), {L"-load", name});
    CheckSplit(plan.parameters, expected);
    return 0;
}
