// Owners for the Win32 handles the program keeps, so that every handle is released
// exactly once on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace quarnel {

namespace detail {
struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};
struct MenuDestroyer {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct AcceleratorDestroyer {
    void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};
struct WindowDestroyer {
    void operator()(HWND window) const {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
    }
};
} // namespace detail

using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, detail::KeyCloser>;
using UniqueHandle = std::unique_ptr<void, detail::HandleCloser>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, detail::MenuDestroyer>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, detail::GdiDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, detail::IconDestroyer>;
using UniqueAccelerators =
    std::unique_ptr<std::remove_pointer_t<HACCEL>, detail::AcceleratorDestroyer>;
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, detail::WindowDestroyer>;

} // namespace quarnel
