#include "sessions/putty_process.h"

#include "win/handles.h"
#include "win/text.h"

#include <windows.h>

#include <shellapi.h>

namespace quarnel {

std::optional<StartedProcess> StartPuttyProcess(const std::string& puttyPath,
                                                const std::string& parameters,
                                                const std::string& workingFolder) {
    const std::wstring file = Widen(puttyPath);
    const std::wstring arguments = Widen(parameters);
    const std::wstring folder = Widen(workingFolder);

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // The callers report a failed start themselves (or deliberately not at all), so
    // the shell must not show a box of its own.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = arguments.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = SW_SHOWNORMAL;

    const bool started = ShellExecuteExW(&info) != FALSE;
    UniqueHandle process(info.hProcess);
    if (!started) {
        return std::nullopt;
    }
    const DWORD id = process ? GetProcessId(process.get()) : 0;
    return StartedProcess{std::move(process), id};
}

} // namespace quarnel
