#include "win/files.h"

#include "win/handles.h"
#include "win/text.h"

#include <windows.h>

namespace quarnel {

bool IsReadableFile(const std::wstring& path) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open.
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.get() != INVALID_HANDLE_VALUE && file.get() != nullptr;
}

std::wstring ProgramFileName() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

std::wstring CurrentDirectory() {
    wchar_t buffer[1000];
    const DWORD length = GetCurrentDirectoryW(1000, buffer);
    return length > 0 && length < 1000 ? std::wstring(buffer, length) : std::wstring();
}

} // namespace quarnel
