#include "win/text.h"

#include <windows.h>

namespace quarnel {

namespace {

UINT Number(CodePage page) {
    switch (page) {
    case CodePage::Program:
        return 1252;
    case CodePage::System:
        return CP_ACP;
    case CodePage::Utf8:
        return CP_UTF8;
    }
    return 1252;
}

// Best fit ("ł" as "l") would change a text behind the user's back; UTF-8 takes no flags.
DWORD NoBestFit(CodePage page) {
    return page == CodePage::Utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
}

} // namespace

std::wstring Widen(std::string_view text, CodePage from) {
    text = text.substr(0, text.find('\0'));
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const UINT page = Number(from);
    const int n = MultiByteToWideChar(page, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(page, 0, text.data(), size, result.data(), n);
    return result;
}

std::string Narrow(std::wstring_view text) {
    text = text.substr(0, text.find(L'\0'));
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0,
                                      "?", nullptr);
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), size, result.data(), n, "?",
                        nullptr);
    return result;
}

std::optional<std::string> NarrowExact(std::wstring_view text, CodePage to) {
    text = text.substr(0, text.find(L'\0'));
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    const UINT page = Number(to);
    const int n =
        WideCharToMultiByte(page, NoBestFit(to), text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return std::nullopt;
    }
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(page, NoBestFit(to), text.data(), size, result.data(), n, nullptr, nullptr);
    // What does not come back the same had no form there.
    if (Widen(result, to) != text) {
        return std::nullopt;
    }
    return result;
}

} // namespace quarnel
