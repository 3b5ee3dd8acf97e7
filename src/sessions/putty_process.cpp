#include "sessions/putty_process.h"

#include "win/handles.h"
#include "win/files.h"

#include <windows.h>

#include <shellapi.h>

namespace quarnel {

std::optional<StartedProcess> StartPutty(const StartPlan& plan) {
    if (!IsReadableFile(plan.file)) {
        return std::nullopt;
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // The callers report a failed start themselves, so the shell must not show a box of
    // its own.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = plan.file.c_str();
    info.lpParameters = plan.parameters.c_str();
    info.lpDirectory = plan.folder.empty() ? nullptr : plan.folder.c_str();
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
