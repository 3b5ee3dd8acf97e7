#include "win/text.h"

#include <windows.h>

namespace quarnel {

namespace {
constexpr UINT kCodePage = 1252;
}

std::wstring Widen(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(kCodePage, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(kCodePage, 0, text.data(), size, result.data(), n);
    return result;
}

std::string Narrow(std::wstring_view text) {
    text = text.substr(0, text.find(L'\0'));
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n =
        WideCharToMultiByte(kCodePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, 0, text.data(), size, result.data(), n, nullptr, nullptr);
    return result;
}

std::optional<std::string> NarrowExact(std::wstring_view text) {
    text = text.substr(0, text.find(L'\0'));
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    BOOL replaced = FALSE;
    // No best fit: "ł" must not quietly become "l".
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                      0, nullptr, &replaced);
    if (n <= 0 || replaced) {
        return std::nullopt;
    }
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, result.data(), n,
                        nullptr, &replaced);
    if (replaced || Widen(result) != text) {
        return std::nullopt;
    }
    return result;
}

} // namespace quarnel
