#include "app/info_window.h"

#include "app/controls.h"
#include "app/events.h"
#include "app/program.h"
#include "version.h"

namespace quarnel {

namespace {

constexpr wchar_t kClassName[] = L"QuarnelInfoWindow";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU;

struct InfoWindow {
    HWND window = nullptr;
};
InfoWindow infoWindow;

const GadgetSpec kGadgets[] = {
    {kInfoNameLabel, GadgetKind::CentredLabel, 30, 15, 275, 40, "Ulvas Quarnel", 2},
    {kInfoVersionLabel, GadgetKind::CentredLabel, 0, 60, 345, 30,
     "Version: V. " QUARNEL_VERSION_TEXT " vom " QUARNEL_VERSION_DATE, 3},
    {kInfoCreditLabel, GadgetKind::CentredLabel, 0, 90, 345, 30,
     "PuTTY-Sitzungen mit einem Klick starten"},
    {kInfoOkButton, GadgetKind::Button, 135, 165, 60, 30, "OK"},
};

LRESULT CALLBACK InfoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ForwardWindowEvent(kInfoWindow, message, wParam, lParam)) {
        return 0;
    }
    switch (message) {
    case WM_DPICHANGED:
        FollowDpiChange(window, wParam, lParam, kGadgets);
        return 0;
    case WM_DESTROY:
        if (window == infoWindow.window) {
            infoWindow.window = nullptr;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

HWND InformationWindowHandle() {
    return infoWindow.window;
}

void CloseInformationWindow() {
    if (infoWindow.window != nullptr) {
        DestroyWindow(infoWindow.window);
    }
}

void OpenInformationWindow() {
    CloseInformationWindow();
    RegisterWindowClass(kClassName, InfoWindowProc);

    const UINT dpi = WindowDpi(nullptr);
    const SIZE outer = OuterSizeForClient(kStyle, 0, 347, 224, dpi);
    const POINT corner = CentredOnScreen(outer);
    infoWindow.window = CreateWindowExW(0, kClassName, L"Quarnel - Information",
                                        kStyle | WS_VISIBLE, corner.x, corner.y, outer.cx, outer.cy,
                                        nullptr, nullptr, TheProgram().instance, nullptr);
    if (infoWindow.window == nullptr) {
        return;
    }
    SetWindowLongPtrW(infoWindow.window, GWLP_USERDATA, kInfoWindow);
    for (const GadgetSpec& layout : kGadgets) {
        CreateGadget(infoWindow.window, layout);
    }
}

} // namespace quarnel
