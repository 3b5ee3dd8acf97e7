// The yardstick of the start-up benchmark: a program that only opens one window.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"TrivialWindow";
    RegisterClassW(&wc);
    CreateWindowW(L"TrivialWindow", L"Trivial", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 500, 100,
                  nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
